// The Win32 services that the installation search and the version check read.
#pragma once

#include "platform/file_version.h"
#include "platform/path_names.h"
#include "platform/registry.h"

namespace kelvane::win32 {

// Opens keys with query, enumerate and notify rights in the 32-bit view, whatever the word
// size of this program.
class Win32Registry : public Registry {
 public:
  std::optional<std::string> ReadString(RegistryRoot root,
                                        const std::string& key,
                                        const std::string& value_name) override;
};

class Win32PathNames : public PathNames {
 public:
  std::string LongPath(const std::string& path) override;
};

// Over version.dll, loaded on first use from System32 only, so no copy planted beside the
// elevated program is ever loaded. Nullopt for every file when it cannot be loaded.
class Win32FileVersions : public FileVersions {
 public:
  std::optional<FileVersion> Read(const std::string& path) override;
};

}  // namespace kelvane::win32
