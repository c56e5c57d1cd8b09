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

enum class Restored { Yes, Failed, NoCopy };

struct RestoreResult {
  std::string relative;
  Restored restored;
};

// Writes every kept copy of the given files back over the file. A file that is there without
// a copy (the first run could not keep it, or found no file of the user's) cannot be put back
// as the user had it and says so; a file that is not there and has no copy is left out. Empty
// when no run ever kept copies.
std::vector<RestoreResult> RestoreBackups(FileSystem& fs,
                                          const std::string& folder,
                                          const std::vector<std::string_view>& relatives);

}  // namespace kelvane
