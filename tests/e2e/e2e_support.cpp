#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

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

}  // namespace

TempFolder::TempFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  // A name beyond any ANSI code page, as ICQ's folder may have one.
  path_ = win32::Narrow(temp) + "kelvane-test-ä☃-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryW(Widen(path_).c_str(), nullptr);
}

// Linux removes what Wine cannot: a link to a folder.
TempFolder::~TempFolder() {
  const std::string folder = path_.substr(0, path_.size() - 1);
  RunLinux(L"Z:\\bin\\rm -rf", {folder},
           [&] { return GetFileAttributesW(Widen(folder).c_str()) == INVALID_FILE_ATTRIBUTES; });
}

void MakeLinuxLink(const std::string& path, const std::string& target) {
  RunLinux(L"Z:\\bin\\ln -s", {target, path},
           [&] { return win32::Win32FileSystem().IsLink(path); });
}

HANDLE Hold(const std::string& path, DWORD sharing) {
  HANDLE held = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(held, INVALID_HANDLE_VALUE) << path;
  return held;
}

std::string ReadBytes(const std::string& path) {
  return win32::Win32FileSystem().ReadFile(path).value_or("<missing>");
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(win32::Win32FileSystem().WriteFile(path, bytes)) << path;
}

}  // namespace kelvane::testing
