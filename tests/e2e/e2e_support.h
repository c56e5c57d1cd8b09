// Running the real programs under Wine and looking at what they left on disk.
#pragma once

#include <windows.h>

#include <map>
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

// Wine cannot make a junction, but a Linux symbolic link shows to Windows programs as one. Its
// target is a Windows path; a TempFolder removes such links inside it.
void MakeLinuxLink(const std::string& path, const std::string& target);
void RemoveLinuxLink(const std::string& path);

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

// A settings file with the given keys in dir, for kelvane-cli.exe apply --settings.
std::string Settings(const TempFolder& dir, const std::map<std::string, std::string>& keys);

// kelvane-cli.exe apply --folder folder, followed by more arguments.
ProgramResult Apply(const std::string& folder, std::vector<std::string> more = {});

// What another program that holds a file open lets others do with it; never delete it.
enum class Sharing { ReadWrite, Read, Nothing };

// Another process holds the file open while the object lives.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path, Sharing sharing = Sharing::ReadWrite);
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

// The Wine prefix's hosts file and Kelvane's copy of it beside it, as they were when the object
// was made, put back when it goes. Every test program that runs Kelvane keeps one for its
// whole run.
class SavedHostsFile {
 public:
  SavedHostsFile();
  ~SavedHostsFile();
  const std::string& path() const { return path_; }
  const std::string& backup() const { return backup_; }

 private:
  std::string path_, backup_;
  std::optional<std::string> hosts_bytes_, backup_bytes_;
};

}  // namespace kelvane::testing
