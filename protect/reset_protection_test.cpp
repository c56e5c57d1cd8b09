#include "protect/reset_protection.h"

#include <gtest/gtest.h>

#include <sstream>

#include "protect/hosts_block.h"

#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using T = TweakOptions;

const std::string kFolder = "C:\\ICQ\\";
const std::string kHosts = "127.0.0.1 localhost\r\n";

using Spoil = void (*)(FakeFileSystem&);
using Runs = std::vector<TweakOptions>;

void AsLaidOut(FakeFileSystem&) {}

// Read-only files in ICQ's update folder and among the ad configurations, the German update
// folder a read-only file of that name.
void ReadOnlyFiles(FakeFileSystem& fs) {
  for (const char* file : {"updates\\imApp.xml", "packages\\ICQ\\ConfigFiles\\adconfig.xml",
                           "ConfigFiles\\updates\\adconfig.xml"})
    fs.Find(kFolder + file)->read_only = true;
  fs.DeleteFolder(kFolder + "packages\\german\\updates");
  fs.AddFile(kFolder + "packages\\german\\updates", "not a folder").read_only = true;
}

void GermanManifestHeldNoAdPackage(FakeFileSystem& fs) {
  fs.Find(kFolder + "packages\\german\\updates\\manifest")->undeletable = true;
  fs.DeleteFolder(kFolder + "packages\\ICQ");
}

void AdConfigurationHeld(FakeFileSystem& fs) {
  fs.Find(kFolder + "ConfigFiles\\updates\\adconfig.xml")->undeletable = true;
}

void AdLockMadeByHand(FakeFileSystem& fs) {
  fs.DeleteFolder(kFolder + "ConfigFiles\\updates");
  fs.AddFile(kFolder + "ConfigFiles\\updates", "").read_only = true;
}

// A lock made by hand: a file where ICQ's update folder was.
void UpdatesAFile(FakeFileSystem& fs) {
  fs.DeleteFolder(kFolder + "updates");
  fs.AddFile(kFolder + "updates", "");
}

void ManifestHeld(FakeFileSystem& fs) {
  fs.DeleteFolder(kFolder + "updates\\manifest");
  fs.AddFile(kFolder + "updates\\manifest", "<manifest/>").undeletable = true;
}

// What each mode leaves in ICQ's folders and in the hosts file, after one run or two, and which
// lock that cannot be made is reported.
TEST(ResetProtection, WhatEachModeLeaves) {
  const std::string places =
      "updates updates\\manifest updates\\imApp.xml packages\\german\\updates "
      "packages\\german\\updates\\manifest packages\\german\\package.xml packages\\ICQ "
      "packages\\ICQ\\ConfigFiles\\adconfig.xml packages\\ICQ\\ConfigFiles\\AdRules.xml "
      "packages\\ICQ\\ConfigFiles\\settings.xml packages\\ICQ\\ConfigFiles\\updates "
      "ConfigFiles\\adconfig.xml ConfigFiles\\features.xml ConfigFiles\\updates";
  const TweakOptions ads_off_alt_s = Custom({&T::disable_message_field_ads, &T::send_with_alt_s}),
                     ads_off = Custom({&T::disable_message_field_ads});
  const struct {
    const char* name;
    Spoil spoil;
    Runs runs;
    Failure failure;  // of the last run; those before it report none
    bool blocked;
    std::string kinds;  // of the places in turn: '-' nothing, 'f' an empty file, 'F' a file,
                        // 'd' a folder; updates, German package, ad configurations
  } rows[] = {
      {"no message-field ads, Alt+S", AsLaidOut, Runs{ads_off_alt_s}, Failure::None, true,
       "dd- ddF d--Ff -Ff"},
      {"no message-field ads", AsLaidOut, Runs{ads_off}, Failure::None, true, "dd- dFF d--Ff -Ff"},
      {"without ads off after with", AsLaidOut, Runs{ads_off_alt_s, Custom()}, Failure::None, false,
       "dd- ddF d--F- -F-"},
      {"standard after custom", AsLaidOut, Runs{ads_off_alt_s, Standard()}, Failure::None, false,
       "--- --F d--F- -F-"},
      {"read-only files in the way", ReadOnlyFiles, Runs{ads_off_alt_s}, Failure::None, true,
       "dd- ddF d--Ff -Ff"},
      {"German manifest held, no ad package", GermanManifestHeldNoAdPackage, Runs{ads_off_alt_s},
       Failure::ResetProtectionFailed, true, "dd- dFF ----- -Ff"},
      {"an ad lock made by hand, read-only", AdLockMadeByHand, Runs{ads_off}, Failure::None, true,
       "dd- dFF d--Ff -Ff"},
      {"an ad configuration held", AdConfigurationHeld, Runs{ads_off},
       Failure::ResetProtectionFailed, true, "dd- dFF d--Ff -Fd"},
      {"standard over an update folder locked by hand", UpdatesAFile, Runs{Standard()},
       Failure::None, false, "--- --F dFFFd FFd"},
      {"ICQ's manifest held", ManifestHeld, Runs{Custom()}, Failure::ResetProtectionFailed, false,
       "dF- dFF dFFFd FFd"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FakeMachine m;
    FakeFileSystem& fs = m.fs;
    fs.AddFile(HostsFilePath(m.system), kHosts);
    // ICQ's update and ad configuration folders as an installation has them.
    for (const char* file :
         {"updates\\manifest", "updates\\imApp.xml", "packages\\german\\updates\\manifest",
          "packages\\german\\package.xml", "packages\\ICQ\\ConfigFiles\\adconfig.xml",
          "packages\\ICQ\\ConfigFiles\\AdRules.xml", "packages\\ICQ\\ConfigFiles\\settings.xml",
          "packages\\ICQ\\ConfigFiles\\updates\\adconfig.xml", "ConfigFiles\\adconfig.xml",
          "ConfigFiles\\features.xml", "ConfigFiles\\updates\\adconfig.xml"})
      fs.AddFile(kFolder + file, "<icq/>");
    r.spoil(fs);
    for (size_t i = 0; i < r.runs.size(); ++i) {
      const RunStatus status = m.Run(
          r.runs[i].custom() ? [](RunContext& run) { ApplyResetProtection(run, kFolder, true); }
                             : [](RunContext& run) { RemoveResetProtection(run, kFolder, true); },
          r.runs[i]);
      EXPECT_EQ(status.failure, i + 1 < r.runs.size() ? Failure::None : r.failure);
    }
    std::string kinds, expected = r.kinds;
    std::istringstream in(places);
    for (std::string place; in >> place;) {
      const FakeFileSystem::Node* node = fs.Find(kFolder + place);
      kinds += !node ? '-' : node->directory ? 'd' : node->content.empty() ? 'f' : 'F';
    }
    std::erase(expected, ' ');
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(m.Content(HostsFilePath(m.system)), r.blocked ? BlockAdHostsText(kHosts) : kHosts);
  }
}

}  // namespace
}  // namespace kelvane
