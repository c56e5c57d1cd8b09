// kelvane-cli.exe under Wine on demo installations, for what only real files show: files that
// other programs hold, links below the ICQ folder, the prefix's own hosts file; and the settings
// file through the real profile calls.
#include <gtest/gtest.h>

#include "app/cli.h"
#include "engine/tweak_run.h"
#include "platform/win32/handle.h"
#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "protect/hosts_block.h"
#include "settings/settings_file.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

const std::string kHosts = "# the user's own\r\n127.0.0.1 localhost\r\n";
const std::string kSuccess = "Changes successful!\r\n";
const std::string kDataAccess =
    "Error! The banner ads couldn't be removed!\r\nData access failed!\r\n";
const Keys kAdsOffAltS = {{"Option7", "1"}, {"Option10", "1"}};
const Keys kAdsOff = {{"Option7", "1"}, {"Option10", "0"}};
const Keys kStandard = {{"Standard", "1"}, {"Option7", "1"}, {"Option10", "1"}};

std::string Target(const std::string& folder, int id) {
  for (const TargetFile& t : kTargetFiles) {
    if (t.template_id == id)
      return folder + std::string(t.path);
  }
  return {};
}

// A file that another program holds open: the run tells the truth and loses nothing.
TEST(HeldFiles, ReportedTruthfullyAndNothingLost) {
  const struct {
    const char* file;  // below the demo folder; nullptr for the hosts file
    DWORD sharing;
    Keys keys;
    std::string output;
    bool hosts_blocked;
  } rows[] = {
      {nullptr, FILE_SHARE_READ | FILE_SHARE_WRITE, kAdsOff, kSuccess, true},
      {nullptr, FILE_SHARE_READ, kAdsOff, "Access error! Got administrator rights?\r\n", false},
      {nullptr, 0, kStandard, kDataAccess, false},
      {"updates\\manifest", FILE_SHARE_READ | FILE_SHARE_WRITE, kAdsOff,
       "Couldn't create reset protection!\r\nPlease do it manually.\r\n", true},
      // Read as if it had no keys, a file that says Standard would give a Custom run.
      {"kvn.ini", 0, {{"Standard", "1"}}, "settings file cannot be read: ", false},
  };
  for (const auto& r : rows) {
    TempFolder dir;
    MakeDemo(dir.path());
    WriteBytes(HostsPath(), kHosts);
    const std::string settings = Settings(dir, r.keys);
    const std::string held = r.file ? dir.path() + r.file : HostsPath();
    SCOPED_TRACE(held);
    const std::string before = ReadBytes(held);
    win32::Handle holder(Hold(held, r.sharing));
    const std::string output = Apply(dir.path(), settings).output;
    holder.Close();
    EXPECT_TRUE(output.starts_with(r.output)) << output;
    EXPECT_EQ(ReadBytes(held), r.hosts_blocked && !r.file ? BlockAdHostsText(before) : before);
    EXPECT_EQ(ReadBytes(HostsPath()), r.hosts_blocked ? BlockAdHostsText(kHosts) : kHosts);
  }
}

// A copy of each file is kept before Kelvane first changes it, whenever that is: a file that
// another program held unreadable during the first run, and the German file of a package
// installed after it.
TEST(HeldFiles, EachFileGetsItsCopyBeforeItsFirstChange) {
  TempFolder dir;
  MakeDemo(dir.path(), {.german = false});
  const std::string chat = Target(dir.path(), 103), german = Target(dir.path(), 107);
  const std::string users_chat = ReadBytes(chat);
  const std::string settings = Settings(dir, {});
  {
    win32::Handle holder(Hold(chat, 0));
    EXPECT_EQ(Apply(dir.path(), settings).output, kDataAccess);
  }
  EXPECT_EQ(ReadBytes(chat), users_chat);
  win32::Win32FileSystem fs;
  win32::Win32Resources templates;
  const std::string users_german = demo::IcqFile(templates, 107, TweakOptions(TweakMode::Standard));
  MakeParentFolders(fs, german);
  WriteBytes(german, users_german);
  EXPECT_EQ(Apply(dir.path(), settings).output, kSuccess);
  EXPECT_NE(ReadBytes(chat), users_chat);
  EXPECT_EQ(Cli({"restore", dir.path()}).exit_code, kExitSuccess);
  EXPECT_EQ(ReadBytes(chat), users_chat);
  EXPECT_EQ(ReadBytes(german), users_german);
}

// Kelvane runs elevated: a link that a user planted below the ICQ folder never leads a run to
// what it points to. A hosts file that is a link stays one; the file it points to is edited.
TEST(Links, LeadNowhereBelowTheFolderAndTheHostsFileStaysOne) {
  const struct {
    const char* link;
    Keys keys;
  } rows[] = {{"updates", kStandard},
              {"updates", kAdsOffAltS},
              {"updates\\sub", kStandard},
              {"packages\\ICQ\\ConfigFiles", kAdsOffAltS}};
  const char* const precious[] = {"manifest", "adconfig.xml", "updates\\keep.xml"};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.link);
    TempFolder icq, outside;
    MakeDemo(icq.path());
    RemoveWithLinux(icq.path() + r.link);
    CreateDirectoryW(Widen(outside.path() + "updates").c_str(), nullptr);
    for (const char* file : precious)
      WriteBytes(outside.path() + file, "precious");
    MakeLinuxLink(icq.path() + r.link, outside.path());
    Apply(icq.path(), Settings(icq, r.keys));
    for (const char* file : precious)
      EXPECT_EQ(ReadBytes(outside.path() + file), "precious") << file;
  }
  TempFolder dir, elsewhere;
  MakeDemo(dir.path());
  WriteBytes(elsewhere.path() + "hosts", kHosts);
  RemoveWithLinux(HostsPath());
  MakeLinuxLink(HostsPath(), elsewhere.path() + "hosts");
  for (const Keys& keys : {kAdsOff, kStandard}) {
    EXPECT_EQ(Apply(dir.path(), Settings(dir, keys)).output, kSuccess);
    EXPECT_EQ(ReadBytes(elsewhere.path() + "hosts"),
              keys == kAdsOff ? BlockAdHostsText(kHosts) : kHosts);
  }
  EXPECT_TRUE(win32::Win32FileSystem().IsLink(HostsPath()));
  RemoveWithLinux(HostsPath());
}

// The settings file through the real profile calls: a first save writes the keys in order, one
// already there keeps its place, and a file held open keeps its bytes. It stays in the ANSI
// code page while its name may hold any characters; a bare name is the current folder's file.
TEST(ProfileCalls, WhatASaveLeavesOnDisk) {
  TempFolder dir;
  win32::Win32Profile profile;
  TweakOptions options;
  options.icq_folder = "C:\\Programme\\ICQ \xc3\x84";  // "Ä" in UTF-8
  std::string keys = "ICQPath=C:\\Programme\\ICQ \xc4\r\nStandard=0\r\n";
  for (const OptionFlag& f : kOptionFlags)
    keys += std::string(f.key) + (f.ticked_by_default ? "=1\r\n" : "=0\r\n");
  const std::string section = "[Kelvane 7.1.0.2096]\r\n";
  const std::string folder = dir.path() + "\xc5\x81ukasz \xe2\x98\x83\\";  // "Łukasz ☃"
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  SetCurrentDirectoryW(Widen(dir.path()).c_str());
  for (const auto& [given, lands] : {std::pair{folder + "kvn.ini", folder + "kvn.ini"},
                                     std::pair{std::string("kvn.ini"), dir.path() + "kvn.ini"}}) {
    SaveSettings(profile, given, options);
    EXPECT_EQ(ReadBytes(lands), section + keys) << given;
    EXPECT_EQ(ReadIniString(profile, given, "ICQPath"), options.icq_folder) << given;
  }
  SetCurrentDirectoryW(Widen(win32::ProgramFolder()).c_str());
  const std::string file = dir.path() + "kvn.ini";
  WriteBytes(file, section + "Language=German\r\nOption3=1\r\n");
  SaveSettings(profile, file, options);
  keys.erase(keys.find("Option3=0\r\n"), 11);
  EXPECT_EQ(ReadBytes(file), section + "Language=German\r\nOption3=0\r\n" + keys);
  win32::Handle holder(Hold(file, 0));
  SaveSettings(profile, file, TweakOptions(TweakMode::Standard));
  holder.Close();
  EXPECT_EQ(ReadBytes(file), section + "Language=German\r\nOption3=0\r\n" + keys);
  SaveSettings(profile, dir.path() + "missing\\kvn.ini", options);
  EXPECT_EQ(ReadBytes(dir.path() + "missing\\kvn.ini"), "<missing>");
}

}  // namespace
}  // namespace kelvane::testing
