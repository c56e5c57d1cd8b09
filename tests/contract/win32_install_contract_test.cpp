#include <map>

#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tests/contract/install_platform_contract.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr char kKey[] = "SOFTWARE\\Kelvane contract test";

class Win32InstallHarness : public InstallPlatformHarness {
 public:
  Registry& registry() override { return registry_; }
  PathNames& paths() override { return paths_; }
  FileVersions& versions() override { return versions_; }
  std::string key() override { return kKey; }
  void PutText(const std::string& name, const std::string& text, bool terminated) override {
    values_[name].reset();
    values_[name] = std::make_unique<ScopedRegistryText>(kKey, name, text, terminated);
  }
  std::string root() override { return folder_.path(); }
  std::string MakeFolderWithShortPath(const std::string& path) override {
    for (size_t sep = path.find('\\', root().size()); sep != std::string::npos;
         sep = path.find('\\', sep + 1)) {
      CreateDirectoryW(Widen(path.substr(0, sep)).c_str(), nullptr);
    }
    CreateDirectoryW(Widen(path).c_str(), nullptr);
    std::wstring short_path(GetShortPathNameW(Widen(path).c_str(), nullptr, 0), L'\0');
    short_path.resize(GetShortPathNameW(Widen(path).c_str(), short_path.data(),
                                        static_cast<DWORD>(short_path.size())));
    return Narrow(short_path);
  }
  void MakeProgramFile(const std::string& path, const FileVersion& version) override {
    std::string program = ReadBytes(BuildFolder() + "icq-stub.exe");
    ASSERT_TRUE(demo::SetFileVersion(program, version));
    WriteBytes(path, program);
  }
  void MakeTextFile(const std::string& path) override { WriteBytes(path, "not a program"); }

 private:
  TempFolder folder_;
  std::map<std::string, std::unique_ptr<ScopedRegistryText>> values_;
  win32::Win32Registry registry_;
  win32::Win32PathNames paths_;
  win32::Win32FileVersions versions_;
};

INSTANTIATE_TEST_SUITE_P(Win32, InstallPlatformContract, ::testing::Values([] {
                           return std::unique_ptr<InstallPlatformHarness>(new Win32InstallHarness);
                         }));

// ICQ is a 32-bit program: its records live in the 32-bit view, which a 64-bit program has to
// ask for.
TEST(Win32Registry, ReadsTheViewOf32BitPrograms) {
  win32::Win32Registry registry;
  {
    ScopedRegistryText native(kKey, "InstallLocation", "C:\\ICQ7.1\\", true, KEY_WOW64_64KEY);
    EXPECT_FALSE(registry.ReadString(RegistryRoot::LocalMachine, kKey, "InstallLocation"));
  }
  ScopedRegistryText wow(kKey, "InstallLocation", "C:\\ICQ7.1\\");
  EXPECT_EQ(registry.ReadString(RegistryRoot::LocalMachine, kKey, "InstallLocation"),
            "C:\\ICQ7.1\\");
}

}  // namespace
}  // namespace kelvane::testing
