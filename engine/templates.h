// The templates embedded in the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/resources.h"

namespace kelvane {

// Resource type under which the twelve templates are embedded.
inline constexpr char kTemplateType[] = "Custom";

// The embedded template's bytes; nullopt when it cannot be loaded.
std::optional<std::string> ExtractTemplate(Resources& resources, uint16_t id);

}  // namespace kelvane
