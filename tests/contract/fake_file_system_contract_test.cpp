#include "tests/contract/file_system_contract.h"
#include "tests/fakes/fake_file_system.h"

namespace kelvane::testing {
namespace {

class FakeHarness : public FileSystemHarness {
 public:
  FakeHarness() { fs_.AddFolder("C:\\root"); }
  FileSystem& fs() override { return fs_; }
  std::string root() override { return "C:\\root\\"; }
  void MakeReadOnly(const std::string& path) override { fs_.Find(path)->read_only = true; }
  void MakeHidden(const std::string& path) override { fs_.Find(path)->hidden = true; }
  void Hold(const std::string& path, bool share_write) override {
    fs_.Find(path)->undeletable = true;
    fs_.Find(path)->unwritable = !share_write;
  }
  void MakeLink(const std::string& path, const std::string&) override {
    fs_.AddFolder(path).link = true;
  }

 private:
  FakeFileSystem fs_;
};

INSTANTIATE_TEST_SUITE_P(Fake, FileSystemContract, ::testing::Values([] {
                           return std::unique_ptr<FileSystemHarness>(new FakeHarness);
                         }));

}  // namespace
}  // namespace kelvane::testing
