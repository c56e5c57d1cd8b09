#include "engine/templates.h"

#include "platform/file_system.h"

namespace kelvane {

std::optional<std::string> ExtractTemplate(Resources& resources, uint16_t id) {
  return resources.Load(kTemplateType, id);
}

std::string GetSystemFolder(SystemInfo& system) {
  return WithBackslash(system.SystemDirectory());
}

}  // namespace kelvane
