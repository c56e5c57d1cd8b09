// kelvane-cli status: what Kelvane finds in an installation, as text for people and as JSON
// for deployment and compliance tools.
#pragma once

#include <string>

#include "engine/installation_status.h"

namespace kelvane {

// Lines ended by CR LF.
std::string StatusText(const std::string& folder, const InstallationStatus& status);
// One JSON object, ended by CR LF.
std::string StatusJson(const std::string& folder, const InstallationStatus& status);

}  // namespace kelvane
