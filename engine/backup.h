// Copies of the user's own ICQ files, kept once under the ICQ folder before the first run
// replaces them, and put back on request.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kelvane {

inline constexpr char kBackupFolder[] = "kelvane-backup\\";

// Keeps a copy of folder+relative under the backup folder unless one is there already. A file
// that is missing or unreadable is not copied; failures are silent.
void KeepBackup(FileSystem& fs, const std::string& folder, std::string_view relative);

struct RestoreResult {
  std::string relative;
  bool restored;
};

// Writes every kept copy of the given files back over the file; files without a copy are
// left out of the result.
std::vector<RestoreResult> RestoreBackups(FileSystem& fs,
                                          const std::string& folder,
                                          const std::vector<std::string_view>& relatives);

}  // namespace kelvane
