// Reading the registry values where an ICQ installation may be recorded.
#pragma once

#include <optional>
#include <string>

namespace kelvane {

enum class RegistryRoot { LocalMachine, CurrentUser };

class Registry {
 public:
  virtual ~Registry() = default;
  // The whole data of the value, trailing NULs removed, in the registry view that 32-bit
  // programs see; its type is not looked at. Nullopt when the key or value is missing or
  // refused.
  virtual std::optional<std::string> ReadString(RegistryRoot root,
                                                const std::string& key,
                                                const std::string& value_name) = 0;
};

}  // namespace kelvane
