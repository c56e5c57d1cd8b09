#include "engine/templates.h"

namespace kelvane {

std::optional<std::string> ExtractTemplate(RunContext& run, uint16_t id) {
  std::optional<std::string> bytes = run.resources.Load(kTemplateType, id);
  if (!bytes)
    run.status.Raise(Failure::DataAccessFailed);
  return bytes;
}

std::string GetSystemFolder(SystemInfo& system) {
  return WithBackslash(system.SystemDirectory());
}

}  // namespace kelvane
