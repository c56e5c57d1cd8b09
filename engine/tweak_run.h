// The one operation that changes the user's ICQ installation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

// Whether the target is handled: the German file only while the German language package has
// the file's folder. A package uninstalled may leave "packages\german" behind, with Kelvane's
// own update lock in it.
bool Handled(FileSystem& fs, const std::string& folder, const TargetFile& t);

// Whether the bytes are the file Kelvane makes for the target where the installation has none,
// filled in some state.
bool IsOwnMade(Resources& resources, const TargetFile& t, std::string_view bytes);

// Makes each of the twelve files' template from the file the installation holds, applies or
// removes the protections, and writes every recognised file once, filled from the options. The
// folder ends in a backslash. Failures are left in the run's status; the caller reports them.
void ApplyTweaks(const std::string& folder, RunContext& run);

}  // namespace kelvane
