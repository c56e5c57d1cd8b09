#include <list>

#include "platform/win32/handle.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tests/contract/file_system_contract.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {

class Win32Harness : public FileSystemHarness {
 public:
  FileSystem& fs() override { return fs_; }
  std::string root() override { return folder_.path(); }
  void MakeReadOnly(const std::string& path) override {
    SetFileAttributesW(win32::Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  void MakeHidden(const std::string& path) override {
    SetFileAttributesW(win32::Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void Hold(const std::string& path, Sharing sharing) override {
    const DWORD shared[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_READ, 0};
    held_.emplace_back(testing::Hold(path, shared[static_cast<int>(sharing)]));
  }
  void MakeLink(const std::string& path, const std::string& target) override {
    MakeLinuxLink(path, target);
  }
  void MakeHardLink(const std::string& path, const std::string& target) override {
    ASSERT_TRUE(CreateHardLinkW(win32::Widen(path).c_str(), win32::Widen(target).c_str(), nullptr));
  }

 private:
  TempFolder folder_;
  win32::Win32FileSystem fs_;
  std::list<win32::Handle> held_;
};

std::unique_ptr<FileSystemHarness> MakeFileSystemHarness() {
  return std::make_unique<Win32Harness>();
}

}  // namespace kelvane::testing
