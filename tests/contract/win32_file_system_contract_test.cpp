#include <list>

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
  FileSystem& fs() override { return fs_; }
  std::string root() override { return folder_.path(); }
  void MakeReadOnly(const std::string& path) override {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  void MakeHidden(const std::string& path) override {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void Hold(const std::string& path, bool share_write) override {
    held_.emplace_back(testing::Hold(path, FILE_SHARE_READ | (share_write ? FILE_SHARE_WRITE : 0)));
  }
  void MakeLink(const std::string& path, const std::string& target) override {
    MakeLinuxLink(path, target);
  }

 private:
  TempFolder folder_;
  win32::Win32FileSystem fs_;
  std::list<win32::Handle> held_;
};

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values([] {
                           return std::unique_ptr<FileSystemHarness>(new Win32Harness);
                         }));

// No deletion reaches through a link into the folder it points to, nor does clearing
// attributes: the plain file there would be deleted, the read-only one made writable.
TEST(Win32FileSystem, NothingReachesThroughALink) {
  using Operation = bool (*)(FileSystem&, const std::string& tree);
  const Operation operations[] = {
      [](FileSystem& fs, const std::string& tree) { return fs.DeleteFolder(tree); },
      [](FileSystem& fs, const std::string& tree) { return fs.DeleteFolder(tree + "link"); },
      [](FileSystem& fs, const std::string& tree) { return fs.DeleteFolder(tree + "link\\"); },
      [](FileSystem& fs, const std::string& tree) { return fs.DeleteMatching(tree + "link\\*.*"); },
      [](FileSystem& fs, const std::string& tree) {
        return fs.SetNormalAttributesMatching(tree + "link\\*.*");
      },
  };
  for (Operation operation : operations) {
    TempFolder outside, dir;
    WriteBytes(outside.path() + "plain.txt", "the user's own");
    WriteBytes(outside.path() + "read-only.txt", "the user's own");
    SetFileAttributesW(Widen(outside.path() + "read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string tree = dir.path() + "tree\\";
    CreateDirectoryW(Widen(tree).c_str(), nullptr);
    MakeLinuxLink(tree + "link", outside.path());
    win32::Win32FileSystem fs;
    operation(fs, tree);
    EXPECT_EQ(ReadBytes(outside.path() + "plain.txt"), "the user's own");
    EXPECT_TRUE(fs.Lookup(outside.path() + "read-only.txt")->read_only);
  }
}

}  // namespace
}  // namespace kelvane::testing
