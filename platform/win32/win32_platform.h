// The Windows implementations of platform/'s interfaces, each in the file named after its
// interface: platform/win32/file_system.cpp for platform/file_system.h, and so on.
#pragma once

#include "platform/file_system.h"
#include "platform/file_version.h"
#include "platform/path_names.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/run_lock.h"
#include "platform/system_info.h"

namespace kelvane::win32 {

// Over plain Win32 calls (UTF-16 paths).
class Win32FileSystem : public FileSystem {
 public:
  bool SetNormalAttributes(const std::string& path) override;
  bool SetNormalAttributesMatching(const std::string& pattern) override;
  bool DeleteFileAt(const std::string& path) override;
  bool DeleteMatching(const std::string& pattern) override;
  bool MakeDirectory(const std::string& path) override;
  bool DeleteFolder(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReadInPieces(const std::string& path,
                    const std::function<void(std::string_view)>& take) override;
  bool WriteFile(const std::string& path, std::string_view bytes) override;
  bool WriteNewFile(const std::string& path, std::string_view bytes) override;
  Rewrite RewriteFile(const std::string& path, FileEdit& edit) override;
  std::optional<DirEntry> Lookup(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool IsLink(const std::string& path) override;
};

// Over version.dll, loaded on first use from System32 only, so no copy planted beside the
// elevated program is ever loaded. Nullopt for every file when it cannot be loaded.
class Win32FileVersions : public FileVersions {
 public:
  std::optional<FileVersion> Read(const std::string& path) override;
};

class Win32PathNames : public PathNames {
 public:
  std::string LongPath(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
};

// Over the private-profile calls. The file is in the ANSI code page, as the calls write a new
// one, until a value needs a letter that code page lacks: then it becomes UTF-16, which the calls
// keep letter for letter. Its name may hold any characters.
class Win32Profile : public Profile {
 public:
  std::string Read(const std::string& file,
                   const std::string& section,
                   const std::string& key) override;
  bool HasSection(const std::string& file, const std::string& section) override;
  void Write(const std::string& file,
             const std::string& section,
             const std::string& key,
             const std::string& value) override;
};

// Opens keys only to read their values, in the 32-bit view, whatever the word size of this
// program.
class Win32Registry : public Registry {
 public:
  std::optional<std::string> ReadString(RegistryRoot root,
                                        const std::string& key,
                                        const std::string& value_name) override;
};

class Win32Resources : public Resources {
 public:
  std::optional<std::string> Load(const std::string& type, uint16_t id) override;
};

// Every session's runs, a deployment tool's under the system account included, share one name.
inline constexpr wchar_t kRunLockName[] = L"Global\\Kelvane-run";

// A named mutex.
class Win32RunLock : public RunLock {
 public:
  Win32RunLock();
  Win32RunLock(const Win32RunLock&) = delete;
  Win32RunLock& operator=(const Win32RunLock&) = delete;
  ~Win32RunLock() override;
  bool Acquire() override;
  void Release() override;

 private:
  void* mutex_;
};

// Ctrl+C, Ctrl+Break and a closed console stop the console program only between runs: a run
// under way ends first (a closing console allows it five seconds; a run takes well under one
// unless ICQ holds its files).
void StopOnlyBetweenRuns();

class Win32SystemInfo : public SystemInfo {
 public:
  std::string SystemDirectory() override;
  std::string NativeLanguageName() override;
};

}  // namespace kelvane::win32
