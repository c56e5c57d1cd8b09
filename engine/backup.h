// Copies of the user's own ICQ files, kept under the ICQ folder before Kelvane first changes
// each one, and put back on request.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kelvane {

inline constexpr char kBackupFolder[] = "kelvane-backup\\";

// What Kelvane kept of one file before it first changed or made it.
struct Kept {
  enum Kind {
    Copy,        // the user's own file, in copy
    Absent,      // a note that the installation had no such file, which Kelvane then made
    Nothing,     // nothing yet
    Unreadable,  // a copy stands there but cannot be read
  } kind;
  std::string copy;
};

Kept ReadKept(FileSystem& fs, const std::string& folder, std::string_view relative);

// Keeps the user's file, or a note that there was none, written once. True when it is kept.
bool KeepCopy(FileSystem& fs,
              const std::string& folder,
              std::string_view relative,
              const std::optional<std::string>& bytes);

// Takes back the note that the installation had no such file.
void ForgetAbsent(FileSystem& fs, const std::string& folder, std::string_view relative);

enum class Restored {
  Yes,      // the user's own file is back
  Removed,  // the file Kelvane made where the installation had none is gone
  Failed,
  NoCopy,  // nothing was kept: Kelvane never changed the file
};

struct RestoreResult {
  std::string relative;
  Restored restored;
};

// Whether the bytes at a file's place are still the file Kelvane made there.
using MadeByKelvane = std::function<bool(std::string_view relative, std::string_view bytes)>;

// Puts back what was kept of the given files: the user's own file over Kelvane's, and no file
// where the installation had none, unless the installation has got its own since (an ICQ
// repair): that file stays, and the note goes. A file is kept before Kelvane first changes it,
// so one that is there with nothing kept is the user's as it was; one that is not there with
// nothing kept is left out. Empty when nothing was ever kept.
std::vector<RestoreResult> RestoreBackups(FileSystem& fs,
                                          const std::string& folder,
                                          const std::vector<std::string_view>& relatives,
                                          const MadeByKelvane& made_by_kelvane);

}  // namespace kelvane
