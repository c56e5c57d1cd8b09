#include "engine/templates.h"

namespace kelvane {

std::optional<std::string> ExtractTemplate(Resources& resources, uint16_t id) {
  return resources.Load(kTemplateType, id);
}

}  // namespace kelvane
