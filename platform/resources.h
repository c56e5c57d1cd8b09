// The program's embedded resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

class Resources {
 public:
  virtual ~Resources() = default;
  // Raw bytes of the resource of this named type (matched without regard to case) and id.
  // Nullopt when there is none.
  virtual std::optional<std::string> Load(const std::string& type, uint16_t id) = 0;
};

}  // namespace kelvane
