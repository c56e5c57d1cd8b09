#include "protect/reset_protection.h"

#include "protect/hosts_block.h"

namespace kelvane {
namespace {

constexpr char kUpdates[] = "updates";
constexpr char kGermanUpdates[] = "packages\\german\\updates";
constexpr char kPackageConfigFiles[] = "packages\\ICQ\\ConfigFiles";
constexpr char kConfigFiles[] = "ConfigFiles";

// An update folder is locked by a folder in its manifest's place, an ad configuration folder by
// a file in its update folder's place.
std::string ManifestOf(const std::string& updates) {
  return updates + "\\manifest";
}

std::string AdLockOf(const std::string& config) {
  return config + "\\updates";
}

// Makes path a folder unless it is one, deleting a file of that name in the way, read-only too.
bool MakeFolderOverFile(FileSystem& fs, const std::string& path) {
  if (fs.FileExists(path)) {
    fs.SetNormalAttributes(path);
    fs.DeleteFileAt(path);
  }
  return fs.FolderExists(path) || fs.MakeDirectory(path);
}

// Empties an update folder and makes its manifest a folder, so ICQ's updater has nowhere to
// put its manifest. True when the manifest is a folder afterwards.
bool LockUpdateFolder(FileSystem& fs, const std::string& updates) {
  const std::string manifest = ManifestOf(updates);
  // One by one, so that read-only files are deleted along with the others.
  fs.SetNormalAttributesMatching(updates + "\\*.*");
  fs.SetNormalAttributes(manifest);
  fs.DeleteMatching(updates + "\\*.*");
  MakeFolderOverFile(fs, updates);
  return MakeFolderOverFile(fs, manifest);
}

// Deletes the ad configuration files and puts an empty file where their update folder was. True
// when that file stands, or there is no ad configuration to lock.
bool LockAdConfigFolder(FileSystem& fs, const std::string& config) {
  const std::string updates = AdLockOf(config);
  // Read-only files would stay, and with them the ads and the folder ICQ's updater refills.
  fs.SetNormalAttributesMatching(config + "\\ad*");
  fs.SetNormalAttributesMatching(updates + "\\*.*");
  fs.DeleteMatching(config + "\\ad*");
  fs.DeleteFolder(updates);
  fs.WriteFile(updates, "");
  // A file there already (read-only, made by hand) is as good a lock.
  return fs.FileExists(updates) || !fs.FolderExists(config);
}

// Takes the update folder away with its manifest lock and all that ICQ's updater left in it, or
// a file in its place. A read-only file stays, and the folders it stands in.
void DeleteUpdateFolder(FileSystem& fs, const std::string& updates) {
  fs.DeleteFileAt(updates);
  fs.DeleteFolder(updates);
}

}  // namespace

void ApplyResetProtection(RunContext& run, const std::string& folder, bool german_package_present) {
  FileSystem& fs = run.fs;
  // A lock that could not be made (a file in the way held by ICQ or its updater) is reported,
  // so that the user can close ICQ and run again.
  const auto lock = [&](bool (*make)(FileSystem&, const std::string&), const std::string& path) {
    if (!make(fs, path))
      run.status.Raise(Failure::ResetProtectionFailed, path);
  };
  lock(LockUpdateFolder, folder + kUpdates);
  // Alt+S is the only option that changes the German package's file.
  if (run.options.send_with_alt_s && german_package_present) {
    lock(LockUpdateFolder, folder + kGermanUpdates);
  }

  const bool no_ads = run.options.disable_message_field_ads;
  if (no_ads) {
    lock(LockAdConfigFolder, folder + kPackageConfigFiles);
    BlockAdHosts(run);
  } else {
    UnblockAdHosts(run);
    fs.DeleteFileAt(AdLockOf(folder + kPackageConfigFiles));
  }
  if (fs.FolderExists(folder + kConfigFiles)) {
    if (no_ads) {
      lock(LockAdConfigFolder, folder + kConfigFiles);
    } else {
      fs.DeleteFileAt(AdLockOf(folder + kConfigFiles));
    }
  }
}

void RemoveResetProtection(RunContext& run,
                           const std::string& folder,
                           bool german_package_present) {
  FileSystem& fs = run.fs;
  fs.DeleteFileAt(AdLockOf(folder + kConfigFiles));
  fs.DeleteFileAt(AdLockOf(folder + kPackageConfigFiles));
  DeleteUpdateFolder(fs, folder + kUpdates);
  if (german_package_present)
    DeleteUpdateFolder(fs, folder + kGermanUpdates);
  UnblockAdHosts(run);
}

ResetLocks ReadResetLocks(FileSystem& fs, const std::string& folder) {
  ResetLocks locks{fs.FolderExists(ManifestOf(folder + kUpdates)),
                   fs.FolderExists(ManifestOf(folder + kGermanUpdates)),
                   fs.FileExists(AdLockOf(folder + kPackageConfigFiles)), std::nullopt};
  if (fs.FolderExists(folder + kConfigFiles))
    locks.root_ad = fs.FileExists(AdLockOf(folder + kConfigFiles));
  return locks;
}

}  // namespace kelvane
