#include <thread>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_file_system.h"
#include "tests/contract/file_system_contract.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

class Win32Harness : public FileSystemHarness {
 public:
  ~Win32Harness() override {
    for (HANDLE h : held_)
      CloseHandle(h);
  }
  FileSystem& fs() override { return fs_; }
  std::string root() override { return folder_.path(); }
  void MakeReadOnly(const std::string& path) override {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  void MakeHidden(const std::string& path) override {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void HoldWithoutDeleteSharing(const std::string& path) override {
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    held_.push_back(h);
  }

 private:
  TempFolder folder_;
  win32::Win32FileSystem fs_;
  std::vector<HANDLE> held_;
};

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values([] {
                           return std::unique_ptr<FileSystemHarness>(new Win32Harness);
                         }));

// Copies the old bytes, then "!".
class AppendingEdit : public FileEdit {
 public:
  void Take(std::string_view piece, ByteSink& out) override { out.Write(piece); }
  bool Finish(ByteSink& out) override {
    out.Write("!");
    return true;
  }
};

// A program that lets go of the file within the second does not make the rewrite fail.
TEST(Win32FileSystem, RewriteWaitsForAProgramThatLetsGoSoon) {
  TempFolder dir;
  const std::string path = dir.path() + "hosts";
  WriteBytes(path, "old");
  HANDLE held = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([held] {
    Sleep(300);
    CloseHandle(held);
  });
  AppendingEdit edit;
  const Rewrite result = win32::Win32FileSystem().RewriteFile(path, edit);
  release.join();
  EXPECT_EQ(result, Rewrite::Replaced);
  EXPECT_EQ(ReadBytes(path), "old!");
  WIN32_FIND_DATAW data;
  win32::FindHandle find(Widen(dir.path() + "*"), &data);
  int entries = 0;
  for (bool more = find.valid(); more; more = find.Next(&data))
    ++entries;
  EXPECT_EQ(entries, 3) << "\".\", \"..\" and the file, nothing left beside it";
}

// Wine cannot make a junction, but a Linux symbolic link to a folder shows to Windows programs
// as one. Runs a Linux tool on the Linux names of the paths and waits until the link shows.
void RunLinuxTool(const wchar_t* tool,
                  const wchar_t* options,
                  const std::vector<std::string>& paths,
                  bool link_shows) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  ASSERT_NE(unix_name, nullptr);
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
  const std::wstring link = Widen(paths.back());
  for (int tries = 0; tries < 100; ++tries) {
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if ((attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) ==
        link_shows)
      return;
    Sleep(50);
  }
  FAIL() << "the link " << paths.back() << (link_shows ? " never showed" : " never went");
}

// No deletion reaches through a link into the folder it points to, nor does clearing
// attributes. The file there is read-only only for the attribute row: a read-only file would
// survive the deletions anyway.
TEST(Win32FileSystem, NothingReachesThroughALink) {
  struct Row {
    const char* what;
    bool (*operation)(FileSystem&, const std::string& tree);
    DWORD attributes;  // of the file behind the link
  };
  const Row rows[] = {
      {"delete the folder",
       [](FileSystem& fs, const std::string& tree) { return fs.DeleteFolder(tree); },
       FILE_ATTRIBUTE_NORMAL},
      {"delete the link",
       [](FileSystem& fs, const std::string& tree) { return fs.DeleteFolder(tree + "link"); },
       FILE_ATTRIBUTE_NORMAL},
      {"delete the link named with a backslash",
       [](FileSystem& fs, const std::string& tree) { return fs.DeleteFolder(tree + "link\\"); },
       FILE_ATTRIBUTE_NORMAL},
      {"delete by pattern",
       [](FileSystem& fs, const std::string& tree) {
         return fs.DeleteMatching(tree + "link\\*.*");
       },
       FILE_ATTRIBUTE_NORMAL},
      {"clear attributes by pattern",
       [](FileSystem& fs, const std::string& tree) {
         return fs.SetNormalAttributesMatching(tree + "link\\*.*");
       },
       FILE_ATTRIBUTE_READONLY},
  };
  for (const Row& r : rows) {
    TempFolder dir;
    const std::string outside = dir.path() + "outside\\", tree = dir.path() + "tree\\";
    const std::wstring precious = Widen(outside + "precious.txt");
    CreateDirectoryW(Widen(outside).c_str(), nullptr);
    WriteBytes(outside + "precious.txt", "the user's own");
    SetFileAttributesW(precious.c_str(), r.attributes);
    CreateDirectoryW(Widen(tree).c_str(), nullptr);
    WriteBytes(tree + "ours.txt", "ours");
    RunLinuxTool(L"Z:\\bin\\ln", L"-s", {outside, tree + "link"}, true);

    win32::Win32FileSystem fs;
    r.operation(fs, tree);

    EXPECT_EQ(ReadBytes(outside + "precious.txt"), "the user's own") << r.what;
    EXPECT_EQ(GetFileAttributesW(precious.c_str()) & FILE_ATTRIBUTE_READONLY,
              r.attributes & FILE_ATTRIBUTE_READONLY)
        << r.what;
    RunLinuxTool(L"Z:\\bin\\rm", L"-f", {tree + "link"}, false);  // Wine cannot remove it
    SetFileAttributesW(precious.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace kelvane::testing
