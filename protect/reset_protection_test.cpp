#include "protect/reset_protection.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using T = TweakOptions;

const std::string kFolder = "C:\\ICQ\\";

class ResetProtectionTest : public ::testing::Test {
 protected:
  ResetProtectionTest() {
    fs_.AddFile("C:\\windows\\system32\\drivers\\etc\\hosts", "127.0.0.1 localhost\r\n");
    fs_.AddFile(kFolder + "updates\\manifest", "<manifest/>");
    fs_.AddFile(kFolder + "updates\\imApp.xml", "<update/>");
    fs_.AddFile(kFolder + "packages\\german\\updates\\manifest", "<manifest/>");
    fs_.AddFile(kFolder + "packages\\ICQ\\ConfigFiles\\adconfig.xml", "<ad/>");
    fs_.AddFile(kFolder + "packages\\ICQ\\ConfigFiles\\updates\\adconfig.xml", "<ad/>");
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
