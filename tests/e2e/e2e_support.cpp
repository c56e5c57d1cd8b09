#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>

#include "platform/win32/process.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "protect/hosts_block.h"

namespace kelvane::testing {
namespace {

using win32::Narrow;
using win32::Widen;

std::wstring QuoteArgument(const std::string& arg) {
  std::wstring quoted = L"\"";
  for (wchar_t c : Widen(arg)) {
    if (c == L'"')
      quoted += L'\\';
    quoted += c;
  }
  if (quoted.back() == L'\\')
    quoted += L'\\';
  return quoted + L"\"";
}

struct Launched {
  PROCESS_INFORMATION process;
  HANDLE output;  // read end of the child's standard output
};

Launched Launch(const std::string& exe, const std::vector<std::string>& args) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  std::wstring command = QuoteArgument(BuildFolder() + exe);
  for (const std::string& a : args)
    command += L" " + QuoteArgument(a);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = write;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << exe;
  }
  CloseHandle(write);
  return {process, read};
}

std::string ReadUntilClosed(HANDLE pipe) {
  std::string output;
  char buffer[4096];
  DWORD n;
  while (ReadFile(pipe, buffer, sizeof(buffer), &n, nullptr) && n > 0)
    output.append(buffer, n);
  return output;
}

// Runs a Linux tool on the Linux names of the paths and waits until the link at the last path
// shows or goes.
void RunLinuxTool(const wchar_t* tool,
                  const wchar_t* options,
                  const std::vector<std::string>& paths,
                  bool link_shows) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name =
      win32::SystemFunction<UnixName>(L"kernel32.dll", "wine_get_unix_file_name");
  if (!unix_name) {
    ADD_FAILURE() << "not running under Wine";
    return;
  }
  std::wstring command = std::wstring(tool) + L" " + options;
  for (const std::string& path : paths) {
    char* name = unix_name(Widen(path).c_str());
    command += L" " + Widen(name);
    HeapFree(GetProcessHeap(), 0, name);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(tool, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (int tries = 0; tries < 100; ++tries) {
    if (win32::Win32FileSystem().IsLink(paths.back()) == link_shows)
      return;
    Sleep(50);
  }
  ADD_FAILURE() << "the link " << paths.back() << (link_shows ? " never showed" : " never went");
}

// Unlike a folder deletion, clears read-only files and folders on the way. A link is removed as
// such, by Linux's own tool where Wine cannot.
void RemoveEverything(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (!RemoveDirectoryW(path.c_str()) && !DeleteFileW(path.c_str()))
      RemoveLinuxLink(Narrow(path));
    return;
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..")
        continue;
      const std::wstring child = path + L"\\" + name;
      if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveEverything(child);
      } else {
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = Narrow(temp) + "kelvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryW(Widen(path_).c_str(), nullptr);
}

TempFolder::~TempFolder() {
  RemoveEverything(Widen(path_.substr(0, path_.size() - 1)));
}

void MakeLinuxLink(const std::string& path, const std::string& target) {
  RunLinuxTool(L"Z:\\bin\\ln", L"-s", {target, path}, true);
}

void RemoveLinuxLink(const std::string& path) {
  RunLinuxTool(L"Z:\\bin\\rm", L"-f", {path}, false);
}

std::string BuildFolder() {
  return win32::ProgramFolder();
}

ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args) {
  Launched child = Launch(exe, args);
  std::string output = ReadUntilClosed(child.output);
  CloseHandle(child.output);
  WaitForSingleObject(child.process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(child.process.hProcess, &code);
  CloseHandle(child.process.hProcess);
  CloseHandle(child.process.hThread);
  return {static_cast<int>(code), output};
}

void MakeDemo(const std::string& folder, const demo::DemoIcqOptions& options) {
  win32::Win32FileSystem fs;
  win32::Win32Resources templates;
  ASSERT_TRUE(demo::MakeDemoIcq(fs, templates, folder, BuildFolder(), options));
}

std::string ReadBytes(const std::string& path) {
  return win32::Win32FileSystem().ReadFile(path).value_or("<missing>");
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(win32::Win32FileSystem().WriteFile(path, bytes)) << path;
}

std::string Settings(const TempFolder& dir, const std::map<std::string, std::string>& keys) {
  std::string text = "[Kelvane 7.1.0.2096]\r\n";
  for (const auto& [key, value] : keys)
    text += key + "=" + value + "\r\n";
  const std::string path = dir.path() + "kvn.ini";
  WriteBytes(path, text);
  return path;
}

ProgramResult Apply(const std::string& folder, std::vector<std::string> more) {
  std::vector<std::string> args = {"apply", "--folder", folder};
  args.insert(args.end(), more.begin(), more.end());
  return RunProgram("kelvane-cli.exe", args);
}

HeldFile::HeldFile(const std::string& path, Sharing sharing) {
  std::vector<std::string> args = {path};
  if (sharing != Sharing::ReadWrite)
    args.push_back(sharing == Sharing::Read ? "--no-write-sharing" : "--exclusive");
  Launched child = Launch("hold-file.exe", args);
  char ready[5] = {};
  DWORD n = 0;
  ReadFile(child.output, ready, sizeof(ready), &n, nullptr);
  CloseHandle(child.output);
  EXPECT_EQ(std::string(ready, n), "held\n") << "hold-file could not open " << path;
  process_ = child.process;
}

HeldFile::~HeldFile() {
  TerminateProcess(process_.hProcess, 0);
  WaitForSingleObject(process_.hProcess, 10000);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

ScopedRegistryText::ScopedRegistryText(const std::string& key,
                                       const std::string& name,
                                       const std::optional<std::string>& text,
                                       bool terminated,
                                       REGSAM view)
    : key_path_(Widen(key)), name_(Widen(name)), view_(view) {
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_path_.c_str(), 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, &key_,
                      &disposition) != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot open " << key;
    return;
  }
  created_key_ = disposition == REG_CREATED_NEW_KEY;
  DWORD size = 0;
  if (RegQueryValueExW(key_, name_.c_str(), nullptr, &old_type_, nullptr, &size) == ERROR_SUCCESS) {
    old_data_.emplace(size);
    RegQueryValueExW(key_, name_.c_str(), nullptr, nullptr, old_data_->data(), &size);
  }
  if (!text) {
    RegDeleteValueW(key_, name_.c_str());
    return;
  }
  const std::wstring value = Widen(*text);
  // Wine adds the NUL itself when the character after the data is one, so an unterminated
  // text is written from a buffer that goes on.
  const std::wstring buffer = value + (terminated ? L"" : L"X");
  const DWORD bytes = static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
  EXPECT_EQ(RegSetValueExW(key_, name_.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(buffer.c_str()), bytes),
            ERROR_SUCCESS);
}

ScopedRegistryText::~ScopedRegistryText() {
  if (!key_)
    return;
  if (old_data_) {
    RegSetValueExW(key_, name_.c_str(), 0, old_type_, old_data_->data(),
                   static_cast<DWORD>(old_data_->size()));
  } else {
    RegDeleteValueW(key_, name_.c_str());
  }
  RegCloseKey(key_);
  if (created_key_)
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key_path_.c_str(), view_, 0);
}

SavedHostsFile::SavedHostsFile() {
  win32::Win32SystemInfo system;
  path_ = HostsFilePath(system);
  backup_ = path_ + kHostsBackupSuffix;
  win32::Win32FileSystem fs;
  hosts_bytes_ = fs.ReadFile(path_);
  backup_bytes_ = fs.ReadFile(backup_);
}

SavedHostsFile::~SavedHostsFile() {
  win32::Win32FileSystem fs;
  auto put_back = [&fs](const std::string& path, const std::optional<std::string>& bytes) {
    fs.SetNormalAttributes(path);
    if (bytes) {
      fs.WriteFile(path, *bytes);
    } else {
      fs.DeleteFileAt(path);
    }
  };
  put_back(path_, hosts_bytes_);
  put_back(backup_, backup_bytes_);
}

namespace {

// Runs of kelvane-cli.exe change the prefix's hosts file; the test program gives it back.
class HostsFileEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { saved_.emplace(); }
  void TearDown() override { saved_.reset(); }

 private:
  std::optional<SavedHostsFile> saved_;
};

[[maybe_unused]] ::testing::Environment* const kHostsFileKept =
    ::testing::AddGlobalTestEnvironment(new HostsFileEnvironment);

}  // namespace

}  // namespace kelvane::testing
