#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/win32/process.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "protect/hosts_block.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

std::wstring Quoted(const std::string& arg) {
  std::wstring quoted = L"\"";
  for (wchar_t c : Widen(arg))
    quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
  return quoted + (quoted.back() == L'\\' ? L"\\\"" : L"\"");
}

// Runs a Linux tool on the Linux names of the paths. Wine cannot wait for such a process, so
// this waits until done() holds.
void RunLinux(const wchar_t* tool,
              const std::vector<std::string>& paths,
              const std::function<bool()>& done) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name =
      win32::SystemFunction<UnixName>(L"kernel32.dll", "wine_get_unix_file_name");
  ASSERT_TRUE(unix_name) << "not running under Wine";
  std::wstring command = tool;
  for (const std::string& path : paths) {
    char* name = unix_name(Widen(path).c_str());
    command += L" " + Widen(name);
    HeapFree(GetProcessHeap(), 0, name);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (int tries = 0; tries < 100 && !done(); ++tries)
    Sleep(50);
  EXPECT_TRUE(done()) << win32::Narrow(command);
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs of kelvane-cli.exe change the prefix's hosts file and keep a copy beside it.
class HostsFileKept : public ::testing::Environment {
 public:
  void SetUp() override {
    for (const std::string& path : {HostsPath(), HostsPath() + kHostsBackupSuffix})
      saved_.emplace_back(path, fs_.ReadFile(path));
  }
  void TearDown() override {
    for (const auto& [path, bytes] : saved_) {
      fs_.SetNormalAttributes(path);
      if (bytes) {
        fs_.WriteFile(path, *bytes);
      } else {
        fs_.DeleteFileAt(path);
      }
    }
  }

 private:
  win32::Win32FileSystem fs_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

[[maybe_unused]] ::testing::Environment* const kHostsFileKept =
    ::testing::AddGlobalTestEnvironment(new HostsFileKept);

}  // namespace

TempFolder::TempFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = win32::Narrow(temp) + "kelvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryW(Widen(path_).c_str(), nullptr);
}

TempFolder::~TempFolder() {
  RemoveWithLinux(path_.substr(0, path_.size() - 1));
}

void MakeLinuxLink(const std::string& path, const std::string& target) {
  RunLinux(L"Z:\\bin\\ln -s", {target, path},
           [&] { return win32::Win32FileSystem().IsLink(path); });
}

void RemoveWithLinux(const std::string& path) {
  if (Exists(path))
    RunLinux(L"Z:\\bin\\rm -rf", {path}, [&] { return !Exists(path); });
}

HANDLE Hold(const std::string& path, DWORD sharing) {
  HANDLE held = CreateFileW(Widen(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(held, INVALID_HANDLE_VALUE) << path;
  return held;
}

std::string ReadBytes(const std::string& path) {
  return win32::Win32FileSystem().ReadFile(path).value_or("<missing>");
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(win32::Win32FileSystem().WriteFile(path, bytes)) << path;
}

void MakeDemo(const std::string& folder, const demo::DemoIcqOptions& options) {
  win32::Win32FileSystem fs;
  win32::Win32Resources templates;
  ASSERT_TRUE(demo::MakeDemoIcq(fs, templates, folder, win32::ProgramFolder(), options));
}

std::string HostsPath() {
  win32::Win32SystemInfo system;
  return HostsFilePath(system);
}

ProgramResult Cli(const std::vector<std::string>& args) {
  // Through the command processor, which takes the outer quotes off.
  std::wstring command = L"\"" + Quoted(win32::ProgramFolder() + "kelvane-cli.exe");
  for (const std::string& a : args)
    command += L" " + Quoted(a);
  FILE* pipe = _wpopen((command + L" 2>&1\"").c_str(), L"rb");
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
    output.append(buffer, n);
  return {_pclose(pipe), output};
}

std::string Settings(const TempFolder& dir, const Keys& keys) {
  std::string text = "[Kelvane 7.1.0.2096]\r\n";
  for (const auto& [key, value] : keys)
    text += key + "=" + value + "\r\n";
  WriteBytes(dir.path() + "kvn.ini", text);
  return dir.path() + "kvn.ini";
}

ProgramResult Apply(const std::string& folder, const std::string& settings) {
  return Cli({"apply", "--folder", folder, "--settings", settings, "-english"});
}

}  // namespace kelvane::testing
