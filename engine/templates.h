// The embedded templates and the small file helpers the run, the generators and the
// hosts-file code share.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_context.h"

namespace kelvane {

// Resource type under which the twelve templates are embedded.
inline constexpr char kTemplateType[] = "Custom";

// Writes the template's bytes to the target so that it holds exactly them. Raises
// DataAccessFailed and returns false when the template cannot be loaded or written.
bool ExtractTemplate(RunContext& run,
                     uint16_t id,
                     const std::string& type,
                     const std::string& path);

// The file's whole content; empty when it cannot be read. Raises DataAccessFailed when the
// file is missing, empty or unreadable.
std::string ReadTextFile(RunContext& run, const std::string& path);

// The Windows system folder ending in a backslash.
std::string GetSystemFolder(SystemInfo& system);

}  // namespace kelvane
