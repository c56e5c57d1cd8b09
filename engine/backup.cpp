#include "engine/backup.h"

namespace kelvane {

void KeepBackup(FileSystem& fs, const std::string& folder, std::string_view relative) {
  const std::string copy = folder + kBackupFolder + std::string(relative);
  if (fs.FileExists(copy))
    return;
  auto bytes = fs.ReadFile(folder + std::string(relative));
  if (!bytes)
    return;
  MakeParentFolders(fs, copy);
  fs.WriteNewFile(copy, *bytes);
}

std::vector<RestoreResult> RestoreBackups(FileSystem& fs,
                                          const std::string& folder,
                                          const std::vector<std::string_view>& relatives) {
  std::vector<RestoreResult> results;
  if (!fs.FolderExists(folder + kBackupFolder))
    return results;
  for (std::string_view relative : relatives) {
    const std::string target = folder + std::string(relative);
    auto bytes = fs.ReadFile(folder + kBackupFolder + std::string(relative));
    if (!bytes) {
      if (fs.FileExists(target))
        results.push_back({std::string(relative), Restored::NoCopy});
      continue;
    }
    fs.SetNormalAttributes(target);
    const bool written = fs.WriteFile(target, *bytes);
    results.push_back({std::string(relative), written ? Restored::Yes : Restored::Failed});
  }
  return results;
}

}  // namespace kelvane
