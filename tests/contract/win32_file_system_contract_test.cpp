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

}  // namespace
}  // namespace kelvane::testing
