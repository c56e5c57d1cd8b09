// The templates embedded in the program, and the system folder the hosts-file code needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/resources.h"
#include "platform/system_info.h"

namespace kelvane {

// Resource type under which the twelve templates are embedded.
inline constexpr char kTemplateType[] = "Custom";

// The embedded template's bytes; nullopt when it cannot be loaded.
std::optional<std::string> ExtractTemplate(Resources& resources, uint16_t id);

// The Windows system folder ending in a backslash.
std::string GetSystemFolder(SystemInfo& system);

}  // namespace kelvane
