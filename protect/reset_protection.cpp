#include "protect/reset_protection.h"

namespace kelvane {

void ApplyResetProtection(RunContext&, const std::string&, bool) {}

void RemoveResetProtection(RunContext&, const std::string&, bool) {}

}  // namespace kelvane
