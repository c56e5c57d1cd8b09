// The small Win32 services beside the file system: resources, system facts, INI files.
#pragma once

#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/system_info.h"

namespace kelvane::win32 {

class Win32Resources : public Resources {
 public:
  std::optional<std::string> Load(const std::string& type, uint16_t id) override;
};

class Win32SystemInfo : public SystemInfo {
 public:
  std::string SystemDirectory() override;
  std::string NativeLanguageName() override;
};

// Over the private-profile calls. The file is in the ANSI code page, as the calls write a new
// one; its name may hold any characters.
class Win32Profile : public Profile {
 public:
  std::string Read(const std::string& file,
                   const std::string& section,
                   const std::string& key) override;
  void Write(const std::string& file,
             const std::string& section,
             const std::string& key,
             const std::string& value) override;
};

}  // namespace kelvane::win32
