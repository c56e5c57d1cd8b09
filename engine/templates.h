// The templates embedded in the program, and the system folder the hosts-file code needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/run_context.h"

namespace kelvane {

// Resource type under which the twelve templates are embedded.
inline constexpr char kTemplateType[] = "Custom";

// The embedded template's bytes. Raises DataAccessFailed and returns nullopt when it cannot be
// loaded.
std::optional<std::string> ExtractTemplate(RunContext& run, uint16_t id);

// The Windows system folder ending in a backslash.
std::string GetSystemFolder(SystemInfo& system);

}  // namespace kelvane
