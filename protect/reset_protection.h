// Locks on ICQ's update and ad configuration folders, so that ICQ's updater cannot put its
// own files back, and the ad-server block in the hosts file that goes with them.
#pragma once

#include <optional>
#include <string>

#include "engine/run_context.h"

namespace kelvane {

// Which locks stand in an ICQ folder.
struct ResetLocks {
  bool update;                  // "updates\manifest" is a folder
  bool german_update;           // "packages\german\updates\manifest" is a folder
  bool ad;                      // "packages\ICQ\ConfigFiles\updates" is a file
  std::optional<bool> root_ad;  // the same for "ConfigFiles", when there is one
};

// Reads the locks; changes nothing.
ResetLocks ReadResetLocks(FileSystem& fs, const std::string& folder);

// Custom mode: locks the update folders and, with DisableMessageFieldAds, the ad
// configuration folders, and blocks or unblocks the ad servers.
void ApplyResetProtection(RunContext& run, const std::string& folder, bool german_package_present);

// Standard mode: removes the locks and the ad-server block.
void RemoveResetProtection(RunContext& run, const std::string& folder, bool german_package_present);

}  // namespace kelvane
