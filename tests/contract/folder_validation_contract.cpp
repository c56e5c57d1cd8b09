// The folder field's check on the fake and on real files. Windows opens names without regard
// to case and reads "C:\\ICQ.exe" as "C:\ICQ.exe", so only the stored names and the length
// rule decide.
#include "install/icq_folder.h"
#include "tests/contract/file_system_contract.h"

namespace kelvane::testing {
namespace {

// Program files in the root of drive C: for the life of the object.
class FilesInDriveRoot {
 public:
  explicit FilesInDriveRoot(FileSystem& fs) : fs_(fs) {
    for (const char* path : kPaths)
      EXPECT_TRUE(fs_.WriteFile(path, "x")) << path;
  }
  ~FilesInDriveRoot() {
    for (const char* path : kPaths)
      fs_.DeleteFileAt(path);
  }

 private:
  static constexpr const char* kPaths[] = {"C:\\ICQ.exe", "C:\\MCore.dll"};
  FileSystem& fs_;
};

TEST_P(FileSystemContract, FolderFieldEnablesStartOnlyForAnIcqFolder) {
  for (const char* folder : {"ICQ7.1", "half", "lower", "hidden"}) {
    ASSERT_TRUE(fs().MakeDirectory(At(folder)));
  }
  for (const char* file :
       {"ICQ7.1\\ICQ.exe", "ICQ7.1\\MCore.dll", "half\\ICQ.exe", "lower\\icq.exe",
        "lower\\MCore.dll", "hidden\\ICQ.exe", "hidden\\MCore.dll"}) {
    Put(file, "x");
  }
  harness_->MakeHidden(At("hidden\\MCore.dll"));
  FilesInDriveRoot root(fs());
  const struct {
    std::string text;
    bool enabled;
  } rows[] = {
      {At("ICQ7.1"), true},
      {At("ICQ7.1\\"), true},
      {At("icq7.1"), true},
      {At("ICQ7."), false},
      {At("ICQ7.1\\ICQ.exe"), false},
      {At("half"), false},
      {At("lower\\"), false},
      {At("hidden"), false},
      // Windows reads these as wildcards, but no name holds them.
      {At("ICQ7.1\\<"), false},
      {At("ICQ7.1\\>"), false},
      {At("ICQ7.1\\\""), false},
      {At("ICQ7<"), false},
      {"C:\\", false},
      {"C:", false},
      {"", false},
  };
  for (const auto& r : rows)
    EXPECT_EQ(ValidateFolderField(fs(), r.text), r.enabled) << r.text;
}

}  // namespace
}  // namespace kelvane::testing
