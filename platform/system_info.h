// Facts about the running system and program.
#pragma once

#include <string>

namespace kelvane {

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The Windows system folder as Windows reports it; empty on failure.
  virtual std::string SystemDirectory() = 0;
  // The native name of the system default locale's language ("Deutsch"); empty on failure.
  virtual std::string NativeLanguageName() = 0;
};

}  // namespace kelvane
