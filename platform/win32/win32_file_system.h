// FileSystem over plain Win32 calls (UTF-16 paths).
#pragma once

#include "platform/file_system.h"

namespace kelvane::win32 {

class Win32FileSystem : public FileSystem {
 public:
  bool SetNormalAttributes(const std::string& path) override;
  bool SetNormalAttributesMatching(const std::string& pattern) override;
  bool DeleteFileAt(const std::string& path) override;
  bool DeleteMatching(const std::string& pattern) override;
  bool MakeDirectory(const std::string& path) override;
  bool DeleteFolder(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, std::string_view bytes) override;
  bool WriteNewFile(const std::string& path, std::string_view bytes) override;
  Rewrite RewriteFile(const std::string& path, FileEdit& edit) override;
  std::optional<DirEntry> Lookup(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool IsLink(const std::string& path) override;
};

}  // namespace kelvane::win32
