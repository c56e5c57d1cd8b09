#include "engine/templates.h"

namespace kelvane {

bool ExtractTemplate(RunContext& run,
                     uint16_t id,
                     const std::string& type,
                     const std::string& path) {
  auto bytes = run.resources.Load(type, id);
  if (!bytes || !run.fs.WriteFile(path, *bytes)) {
    run.status.Raise(Failure::DataAccessFailed);
    return false;
  }
  return true;
}

std::string ReadTextFile(RunContext& run, const std::string& path) {
  auto bytes = run.fs.ReadFile(path);
  if (!bytes || bytes->empty()) {
    run.status.Raise(Failure::DataAccessFailed);
    return {};
  }
  return *bytes;
}

std::string GetSystemFolder(SystemInfo& system) {
  return WithBackslash(system.SystemDirectory());
}

}  // namespace kelvane
