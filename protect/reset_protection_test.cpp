#include "protect/reset_protection.h"

#include <gtest/gtest.h>

#include <sstream>

#include "protect/hosts_block.h"

#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using T = TweakOptions;

const std::string kFolder = "C:\\ICQ\\";

const std::string kHosts = "127.0.0.1 localhost\r\n";

class ResetProtectionTest : public ::testing::Test {
 protected:
  ResetProtectionTest() { LayOut(); }
  // ICQ's update and ad configuration folders as an installation has them.
  void LayOut() {
    fs_ = FakeFileSystem();
    fs_.AddFile(HostsFilePath(system_), kHosts);
    for (const char* file :
         {"updates\\manifest", "updates\\imApp.xml", "packages\\german\\updates\\manifest",
          "packages\\german\\package.xml", "packages\\ICQ\\ConfigFiles\\adconfig.xml",
          "packages\\ICQ\\ConfigFiles\\AdRules.xml", "packages\\ICQ\\ConfigFiles\\settings.xml",
          "packages\\ICQ\\ConfigFiles\\updates\\adconfig.xml", "ConfigFiles\\adconfig.xml",
          "ConfigFiles\\features.xml", "ConfigFiles\\updates\\adconfig.xml"}) {
      fs_.AddFile(kFolder + file, "<icq/>");
    }
  }
  // What stands at a place: '-' nothing, 'f' an empty file, 'F' a file, 'd' a folder.
  char KindOf(const std::string& relative) {
    if (fs_.FileExists(kFolder + relative))
      return fs_.Find(kFolder + relative)->content.empty() ? 'f' : 'F';
    return fs_.FolderExists(kFolder + relative) ? 'd' : '-';
  }
  Failure Apply(const TweakOptions& options, bool german = true) {
    RunStatus status;
    RunContext run{fs_, resources_, system_, options, status};
    if (options.custom()) {
      ApplyResetProtection(run, kFolder, german);
    } else {
      RemoveResetProtection(run, kFolder, german);
    }
    return status.failure;
  }
  FakeFileSystem::Node* At(const std::string& relative) { return fs_.Find(kFolder + relative); }
  bool IsFolder(const std::string& relative) { return fs_.FolderExists(kFolder + relative); }

  FakeFileSystem fs_;
  TemplateDirResources resources_{""};
  FakeSystemInfo system_;
};

// What each mode leaves in ICQ's folders and in the hosts file, after one run or two.
TEST_F(ResetProtectionTest, WhatEachModeLeaves) {
  const std::string places =
      "updates updates\\manifest updates\\imApp.xml packages\\german\\updates "
      "packages\\german\\updates\\manifest packages\\german\\package.xml "
      "packages\\ICQ\\ConfigFiles\\adconfig.xml packages\\ICQ\\ConfigFiles\\AdRules.xml "
      "packages\\ICQ\\ConfigFiles\\settings.xml packages\\ICQ\\ConfigFiles\\updates "
      "ConfigFiles\\adconfig.xml ConfigFiles\\features.xml ConfigFiles\\updates";
  const TweakOptions ads_off_alt_s = Custom({&T::disable_message_field_ads, &T::send_with_alt_s}),
                     ads_off = Custom({&T::disable_message_field_ads}),
                     alt_s = Custom({&T::send_with_alt_s}), neither = Custom(),
                     standard = Standard();
  const struct {
    const char* name;
    std::vector<TweakOptions> runs;
    bool blocked;
    std::string kinds;  // of the places in turn: updates, German package, ad configurations
  } rows[] = {
      {"no message-field ads, Alt+S", {ads_off_alt_s}, true, "dd- ddF --Ff -Ff"},
      {"no message-field ads", {ads_off}, true, "dd- dFF --Ff -Ff"},
      {"Alt+S", {alt_s}, false, "dd- ddF FFFd FFd"},
      {"without ads off after with", {ads_off_alt_s, neither}, false, "dd- ddF --F- -F-"},
      {"standard", {standard}, false, "--- --F FFFd FFd"},
      {"standard after custom", {ads_off_alt_s, standard}, false, "--- --F --F- -F-"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    LayOut();
    for (const TweakOptions& options : r.runs)
      EXPECT_EQ(Apply(options), Failure::None);
    std::string kinds, expected = r.kinds;
    std::istringstream in(places);
    for (std::string place; in >> place;)
      kinds += KindOf(place);
    std::erase(expected, ' ');
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(fs_.Find(HostsFilePath(system_))->content,
              r.blocked ? BlockAdHostsText(kHosts) : kHosts);
  }
}

TEST_F(ResetProtectionTest, ReadOnlyUpdateFilesAreDeletedToo) {
  At("updates\\imApp.xml")->read_only = true;
  fs_.AddFile(kFolder + "packages\\german\\updates\\de.xml").read_only = true;
  EXPECT_EQ(Apply(Custom({&T::send_with_alt_s})), Failure::None);
  EXPECT_FALSE(At("updates\\imApp.xml"));
  EXPECT_FALSE(At("packages\\german\\updates\\de.xml"));
  EXPECT_TRUE(IsFolder("updates\\manifest"));
  EXPECT_TRUE(IsFolder("packages\\german\\updates\\manifest"));
}

TEST_F(ResetProtectionTest, AFileNamedUpdatesMakesWayForTheFolder) {
  for (const std::string updates : {"updates", "packages\\german\\updates"}) {
    for (const bool read_only : {false, true}) {
      fs_.DeleteFolder(kFolder + updates);
      fs_.AddFile(kFolder + updates, "not a folder").read_only = read_only;
      EXPECT_EQ(Apply(Custom({&T::send_with_alt_s})), Failure::None);
      EXPECT_TRUE(IsFolder(updates + "\\manifest")) << updates << " read-only " << read_only;
    }
  }
}

// Only the update folder lock of ICQ itself reports; the German and ad locks stay silent.
TEST_F(ResetProtectionTest, OnlyAManifestThatCannotBeMadeIsReported) {
  At("packages\\german\\updates\\manifest")->undeletable = true;
  fs_.DeleteFolder(kFolder + "packages\\ICQ");
  EXPECT_EQ(Apply(Custom({&T::send_with_alt_s, &T::disable_message_field_ads})), Failure::None);
  EXPECT_FALSE(IsFolder("packages\\ICQ")) << "never created";

  fs_.DeleteFolder(kFolder + "updates\\manifest");
  fs_.AddFile(kFolder + "updates\\manifest", "<manifest/>").undeletable = true;
  EXPECT_EQ(Apply(Custom()), Failure::ResetProtectionFailed);
  EXPECT_EQ(At("updates\\manifest")->content, "<manifest/>");
}

}  // namespace
}  // namespace kelvane
