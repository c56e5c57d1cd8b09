// Running the real programs under Wine and looking at what they left on disk.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/demo_icq/demo_icq.h"

namespace kelvane::testing {

// A new empty folder below the temporary folder, ending in a backslash; removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The folder of the running test program, where the tools and kelvane-cli.exe are built.
std::string BuildFolder();

struct ProgramResult {
  int exit_code;
  std::string output;
};

// Runs a program of the build folder with the given arguments and waits for it.
ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args);

void MakeDemo(const std::string& folder, const demo::DemoIcqOptions& options = {});

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Another process holds the file open without delete sharing while the object lives.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();

 private:
  PROCESS_INFORMATION process_{};
};

// Sets a text value below HKEY_LOCAL_MACHINE in one registry view (or removes it, for
// nullopt) while the object lives, then puts back what was there; a key it had to create goes
// too. An unterminated text is stored without its NUL, as some installers do.
class ScopedRegistryText {
 public:
  ScopedRegistryText(const std::string& key,
                     const std::string& name,
                     const std::optional<std::string>& text,
                     bool terminated = true,
                     REGSAM view = KEY_WOW64_32KEY);
  ScopedRegistryText(const ScopedRegistryText&) = delete;
  ScopedRegistryText& operator=(const ScopedRegistryText&) = delete;
  ~ScopedRegistryText();

 private:
  std::wstring key_path_;
  std::wstring name_;
  REGSAM view_;
  HKEY key_ = nullptr;
  bool created_key_ = false;
  std::optional<std::vector<BYTE>> old_data_;
  DWORD old_type_ = REG_NONE;
};

}  // namespace kelvane::testing
