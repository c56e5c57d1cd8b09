// The one operation that changes the user's ICQ installation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/backup.h"
#include "engine/generators.h"
#include "engine/run_context.h"

namespace kelvane {

struct TargetFile {
  uint16_t template_id;
  std::string_view path;  // below the ICQ folder
  const Generator* generator;
  bool german_only;  // handled only when ICQ's German language package is there
};

// The twelve files, always handled in this order.
extern const std::array<TargetFile, 12> kTargetFiles;

// Makes each of the twelve files' template from the file the installation holds, applies or
// removes the protections, and writes every recognised file once, filled from the options. The
// folder ends in a backslash. Failures are left in the run's status; the caller reports them.
void ApplyTweaks(const std::string& folder, RunContext& run);

// Puts back what the runs kept of the files they handle (see RestoreBackups): Kelvane's own file
// goes only while it is still the one Kelvane made. The folder ends in a backslash.
std::vector<RestoreResult> RestoreTweaks(const std::string& folder,
                                         FileSystem& fs,
                                         Resources& resources);

}  // namespace kelvane
