// What Kelvane finds in an ICQ installation, changing nothing: which of its files it recognises
// and which values stand at their spots, what it kept of them, the locks and the hosts entries.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/backup.h"
#include "engine/tweak_run.h"
#include "protect/hosts_block.h"
#include "protect/reset_protection.h"

namespace kelvane {

struct FileStatus {
  const TargetFile* target;
  bool present;
  bool recognised;
  Kept::Kind kept;
  std::vector<std::pair<std::string_view, std::string>> values;  // at the spots, as found
};

// Whether an option is in effect, as the files that show it tell.
enum class InEffect { On, Off, Mixed, Unknown };

struct InstallationStatus {
  std::vector<FileStatus> files;  // the twelve, in their order
  // The options the files show, in the order of the flags.
  std::vector<std::pair<const OptionFlag*, InEffect>> options;
  ResetLocks locks;
  // Nullopt when the hosts file is missing, unreadable or UTF-16 text.
  std::optional<AdHostMarks> hosts_entries;

  bool AllRecognised() const;
};

// The folder ends in a backslash.
InstallationStatus ReadInstallationStatus(FileSystem& fs,
                                          SystemInfo& system,
                                          const std::string& folder);

}  // namespace kelvane
