#include "tests/contract/file_system_contract.h"
#include "tests/fakes/fake_file_system.h"

namespace kelvane::testing {

class FakeHarness : public FileSystemHarness {
 public:
  FakeHarness() { fs_.AddFolder("C:\\root"); }
  FileSystem& fs() override { return fs_; }
  std::string root() override { return "C:\\root\\"; }
  void MakeReadOnly(const std::string& path) override { fs_.Find(path)->read_only = true; }
  void MakeHidden(const std::string& path) override { fs_.Find(path)->hidden = true; }
  void Hold(const std::string& path, Sharing sharing) override {
    FakeFileSystem::Node& node = *fs_.Find(path);
    node.undeletable = true;
    node.unwritable = sharing != Sharing::kReadWrite;
    node.unreadable = sharing == Sharing::kNone;
  }
  void MakeLink(const std::string& path, const std::string& target) override {
    const FakeFileSystem::Node* file = fs_.Find(target);
    (file && !file->directory ? fs_.AddFile(path, file->content) : fs_.AddFolder(path)).link = true;
  }
  void MakeHardLink(const std::string& path, const std::string& target) override {
    MakeLink(path, target);
  }

 private:
  FakeFileSystem fs_;
};

std::unique_ptr<FileSystemHarness> MakeFileSystemHarness() {
  return std::make_unique<FakeHarness>();
}

}  // namespace kelvane::testing
