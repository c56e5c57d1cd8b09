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
  for (std::string_view relative : relatives) {
    auto bytes = fs.ReadFile(folder + kBackupFolder + std::string(relative));
    if (!bytes)
      continue;
    const std::string target = folder + std::string(relative);
    fs.SetNormalAttributes(target);
    results.push_back({std::string(relative), fs.WriteFile(target, *bytes)});
  }
  return results;
}

}  // namespace kelvane
