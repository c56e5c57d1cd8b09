// What only Windows shows of what the installation search and the version check read: texts
// that installers stored without their NUL, the registry view of 32-bit programs, long names
// past the classic path length, version resources of real programs.
#include <gtest/gtest.h>

#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "tools/demo_icq/demo_icq.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

const std::string kKey = "SOFTWARE\\Kelvane platform test";

void RemoveKeys() {
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Widen(kKey).c_str(), view, 0);
}

// Stores "Value" below the test's key in one registry view, without its NUL or with an odd byte
// count when asked, as some installers do.
void PutText(REGSAM view, const std::string& text, bool terminated, bool odd) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Widen(kKey).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  // Wine adds the NUL itself when the character after the data is one, so an unterminated text
  // is written from a buffer that goes on.
  const std::wstring value = Widen(text) + (terminated ? L"" : L"X");
  const size_t characters = Widen(text).size() + (terminated ? 1 : 0);
  EXPECT_EQ(RegSetValueExW(key, L"Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(characters * sizeof(wchar_t) + (odd ? 1 : 0))),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

// ICQ is a 32-bit program: its records live in the 32-bit view, which a 64-bit program has to
// ask for.
TEST(InstallPlatform, RegistryTextsComeBackWholeFromThe32BitView) {
  const struct {
    REGSAM view;
    std::string text;
    bool terminated;
    bool odd = false;  // half a character more
  } rows[] = {
      {KEY_WOW64_64KEY, "C:\\ICQ7.1\\", true},
      {KEY_WOW64_32KEY, "C:\\ICQ7.1\\", true},
      {KEY_WOW64_32KEY, "C:\\ICQ7.1\\", false},
      {KEY_WOW64_32KEY, "C:\\ICQ7.1", false},
      {KEY_WOW64_32KEY, "C:\\ICQ7.1\\", false, true},
      {KEY_WOW64_32KEY, "", true},
      {KEY_WOW64_32KEY, "\"C:\\Programme\\ICQ 7.1 für alle\\ICQ.exe\"", true},
  };
  win32::Win32Registry registry;
  for (const auto& r : rows) {
    RemoveKeys();
    PutText(r.view, r.text, r.terminated, r.odd);
    EXPECT_EQ(registry.ReadString(RegistryRoot::LocalMachine, kKey, "value"),
              r.view == KEY_WOW64_32KEY ? std::optional(r.text) : std::nullopt)
        << r.text << (r.terminated ? "" : " (no NUL)");
  }
  EXPECT_FALSE(registry.ReadString(RegistryRoot::LocalMachine, kKey, "Absent"));
  EXPECT_FALSE(registry.ReadString(RegistryRoot::LocalMachine, kKey + "\\Absent", "Value"));
  EXPECT_FALSE(registry.ReadString(RegistryRoot::CurrentUser, kKey, "Value"));
  RemoveKeys();
}

TEST(InstallPlatform, ShortPathsAreMadeLong) {
  TempFolder root;
  // Deep enough that the long form does not fit the classic path length.
  std::string deep = root.path();
  for (int i = 0; deep.size() <= 300; ++i)
    deep += "ICQ folder with a long name " + std::to_string(i) + "\\";
  win32::Win32PathNames paths;
  for (const std::string& folder : {root.path() + "Program Files\\ICQ7.1", deep}) {
    for (size_t sep = folder.find('\\', root.path().size()); sep != std::string::npos;
         sep = folder.find('\\', sep + 1)) {
      CreateDirectoryW(Widen(folder.substr(0, sep)).c_str(), nullptr);
    }
    const std::wstring wide = Widen(folder);
    CreateDirectoryW(wide.c_str(), nullptr);
    std::wstring short_path(GetShortPathNameW(wide.c_str(), nullptr, 0), L'\0');
    short_path.resize(GetShortPathNameW(wide.c_str(), short_path.data(), short_path.size()));
    EXPECT_NE(win32::Narrow(short_path), folder);
    EXPECT_EQ(paths.LongPath(win32::Narrow(short_path)), folder) << win32::Narrow(short_path);
  }
  for (const std::string& unchanged : {root.path() + "Missing~1\\ICQ.exe", std::string()})
    EXPECT_EQ(paths.LongPath(unchanged), unchanged);
}

TEST(InstallPlatform, VersionsOfRealPrograms) {
  TempFolder root;
  win32::Win32FileVersions versions;
  for (const FileVersion& version : {FileVersion{7, 1, 0, 2096}, {65535, 40000, 32768, 1}}) {
    std::string program = ReadBytes(win32::ProgramFolder() + "icq-stub.exe");
    // The product version, which a build may set apart from it, is not the one that counts.
    ASSERT_TRUE(demo::SetFileVersion(program, version, demo::Version{2313, 2313, 2313, 2313}));
    WriteBytes(root.path() + "ICQ.exe", program);
    EXPECT_EQ(versions.Read(root.path() + "ICQ.exe"), version) << version[0];
  }
  WriteBytes(root.path() + "MCore.dll", "not a program");
  EXPECT_FALSE(versions.Read(root.path() + "MCore.dll")) << "no version resource";
  EXPECT_FALSE(versions.Read(root.path() + "missing.exe"));
}

}  // namespace
}  // namespace kelvane::testing
