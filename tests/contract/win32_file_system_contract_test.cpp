#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
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
  void Hold(const std::string& path, bool share_write) override {
    const DWORD sharing = FILE_SHARE_READ | (share_write ? FILE_SHARE_WRITE : 0);
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    held_.push_back(h);
  }
  void MakeLink(const std::string& path, const std::string& target) override {
    MakeLinuxLink(path, target);
  }

 private:
  TempFolder folder_;
  win32::Win32FileSystem fs_;
  std::vector<HANDLE> held_;
};

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values([] {
                           return std::unique_ptr<FileSystemHarness>(new Win32Harness);
                         }));

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
    MakeLinuxLink(tree + "link", outside);

    win32::Win32FileSystem fs;
    r.operation(fs, tree);

    EXPECT_EQ(ReadBytes(outside + "precious.txt"), "the user's own") << r.what;
    EXPECT_EQ(GetFileAttributesW(precious.c_str()) & FILE_ATTRIBUTE_READONLY,
              r.attributes & FILE_ATTRIBUTE_READONLY)
        << r.what;
    SetFileAttributesW(precious.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace kelvane::testing
