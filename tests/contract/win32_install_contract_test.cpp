#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tests/contract/install_platform_contract.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

constexpr char kKey[] = "SOFTWARE\\Kelvane contract test";

// Stores a text below the test's key in one registry view, without its NUL when asked, as some
// installers do.
void PutText(REGSAM view, const std::string& name, const std::string& text, bool terminated) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Widen(kKey).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  // Wine adds the NUL itself when the character after the data is one, so an unterminated text
  // is written from a buffer that goes on.
  const std::wstring value = Widen(text) + (terminated ? L"" : L"X");
  const size_t characters = Widen(text).size() + (terminated ? 1 : 0);
  EXPECT_EQ(RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(characters * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void RemoveKey(REGSAM view) {
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Widen(kKey).c_str(), view, 0);
}

class Win32InstallHarness : public InstallPlatformHarness {
 public:
  ~Win32InstallHarness() override { RemoveKey(KEY_WOW64_32KEY); }
  Registry& registry() override { return registry_; }
  PathNames& paths() override { return paths_; }
  FileVersions& versions() override { return versions_; }
  std::string key() override { return kKey; }
  void PutText(const std::string& name, const std::string& text, bool terminated) override {
    testing::PutText(KEY_WOW64_32KEY, name, text, terminated);
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
    return win32::Narrow(short_path);
  }
  void MakeProgramFile(const std::string& path, const FileVersion& version) override {
    std::string program = ReadBytes(win32::ProgramFolder() + "icq-stub.exe");
    ASSERT_TRUE(demo::SetFileVersion(program, version));
    WriteBytes(path, program);
  }
  void MakeTextFile(const std::string& path) override { WriteBytes(path, "not a program"); }

 private:
  TempFolder folder_;
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
  PutText(KEY_WOW64_64KEY, "InstallLocation", "C:\\ICQ7.1\\", true);
  EXPECT_FALSE(registry.ReadString(RegistryRoot::LocalMachine, kKey, "InstallLocation"));
  PutText(KEY_WOW64_32KEY, "InstallLocation", "C:\\ICQ7.1\\", true);
  EXPECT_EQ(registry.ReadString(RegistryRoot::LocalMachine, kKey, "InstallLocation"),
            "C:\\ICQ7.1\\");
  RemoveKey(KEY_WOW64_64KEY);
  RemoveKey(KEY_WOW64_32KEY);
}

}  // namespace
}  // namespace kelvane::testing
