// Locks on ICQ's update and ad configuration folders, so that ICQ's updater cannot put its
// own files back, and the ad-server block in the hosts file that goes with them.
#pragma once

#include <string>

#include "engine/run_context.h"

namespace kelvane {

// Custom mode: locks the update folders and, with DisableMessageFieldAds, the ad
// configuration folders, and blocks or unblocks the ad servers.
void ApplyResetProtection(RunContext& run, const std::string& folder, bool german_package_present);

// Standard mode: removes the locks and the ad-server block.
void RemoveResetProtection(RunContext& run, const std::string& folder, bool german_package_present);

}  // namespace kelvane
