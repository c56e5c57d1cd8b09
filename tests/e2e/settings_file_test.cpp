// The settings file through the real private-profile calls: what lands on disk.
#include <gtest/gtest.h>

#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_file.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

// "Option1" to "Option11" as a first save writes the window's opening boxes.
std::vector<std::string> DefaultOptions() {
  std::vector<std::string> lines;
  for (const OptionFlag& f : kOptionFlags)
    lines.push_back(std::string(f.key) + (f.ticked_by_default ? "=1" : "=0"));
  return lines;
}

TEST(SettingsFileOnDisk, FirstSaveWritesTheKeysInOrder) {
  TempFolder dir;
  win32::Win32Profile profile;
  TweakOptions options;
  options.icq_folder = "C:\\Program Files\\ICQ7.1";
  SaveSettings(profile, dir.path() + "kvn.ini", options);
  std::vector<std::string> expected = {"[Kelvane 7.1.0.2096]", "ICQPath=C:\\Program Files\\ICQ7.1",
                                       "Standard=0"};
  for (const std::string& line : DefaultOptions())
    expected.push_back(line);
  EXPECT_EQ(ReadBytes(dir.path() + "kvn.ini"), Lines(expected));
}

TEST(SettingsFileOnDisk, ExistingKeysAreReplacedInPlace) {
  TempFolder dir;
  const std::string file = dir.path() + "kvn.ini";
  WriteBytes(file, Lines({"[Kelvane 7.1.0.2096]", "Language=German", "Option3=1", "AltSInfo=1",
                          "ICQPath=C:\\Old"}));
  win32::Win32Profile profile;
  SaveSettings(profile, file, TweakOptions{});
  std::vector<std::string> expected = {"[Kelvane 7.1.0.2096]", "Language=German", "Option3=0",
                                       "AltSInfo=1",           "ICQPath=C:\\Old", "Standard=0"};
  for (const std::string& line : DefaultOptions()) {
    if (line != "Option3=0")
      expected.push_back(line);
  }
  EXPECT_EQ(ReadBytes(file), Lines(expected));
}

TEST(SettingsFileOnDisk, UnwritableFileKeepsItsContents) {
  TempFolder dir;
  const std::string file = dir.path() + "kvn.ini";
  const std::string old = Lines({"[Kelvane 7.1.0.2096]", "Standard=1"});
  WriteBytes(file, old);
  win32::Win32Profile profile;
  TweakOptions options;
  options.icq_folder = "C:\\ICQ7.1";
  {
    // Another program holds it open without sharing.
    HANDLE held = CreateFileW(win32::Widen(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SaveSettings(profile, file, options);
    CloseHandle(held);
  }
  EXPECT_EQ(ReadBytes(file), old);
  SaveSettings(profile, dir.path() + "missing\\kvn.ini", options);
  EXPECT_EQ(ReadBytes(dir.path() + "missing\\kvn.ini"), "<missing>");
}

// The file stays in the ANSI code page; its name may hold any characters, and a bare name
// means the current folder, not the Windows folder.
TEST(SettingsFileOnDisk, AnyFileNameAndTheCurrentFolder) {
  TempFolder dir;
  win32::Win32Profile profile;
  TweakOptions options;
  options.icq_folder = "C:\\Programme\\ICQ \xc3\x84";  // "Ä" in UTF-8
  const std::string expected = "ICQPath=C:\\Programme\\ICQ \xc4\r\n";
  const std::string folder = dir.path() + "\xc5\x81ukasz \xe2\x98\x83\\";  // "Łukasz ☃"
  CreateDirectoryW(win32::Widen(folder).c_str(), nullptr);
  SetCurrentDirectoryW(win32::Widen(dir.path()).c_str());
  struct Case {
    std::string given, lands;
  };
  for (const Case& c :
       {Case{folder + "kvn.ini", folder + "kvn.ini"}, Case{"kvn.ini", dir.path() + "kvn.ini"}}) {
    SaveSettings(profile, c.given, options);
    EXPECT_NE(ReadBytes(c.lands).find(expected), std::string::npos) << c.given;
    EXPECT_EQ(ReadIniString(profile, c.given, "ICQPath"), options.icq_folder) << c.given;
  }
  SetCurrentDirectoryW(win32::Widen(BuildFolder()).c_str());
}

}  // namespace
}  // namespace kelvane::testing
