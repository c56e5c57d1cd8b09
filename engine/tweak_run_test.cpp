#include "engine/tweak_run.h"

#include <gtest/gtest.h>

#include "engine/backup.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using T = TweakOptions;

const std::string kFolder = "C:\\ICQ\\";

class TweakRunTest : public ::testing::Test {
 protected:
  TweakRunTest() : resources_(KELVANE_TEMPLATE_DIR) {}

  // An ICQ installation whose twelve files hold their original text.
  void MakeIcq(bool german = true) {
    fs_.AddFile(kFolder + "ICQ.exe");
    fs_.AddFile(kFolder + "MCore.dll");
    for (const TargetFile& t : kTargetFiles) {
      if (german || !t.german_only)
        fs_.AddFile(Path(t), Original(t));
    }
  }
  static std::string Path(const TargetFile& t) { return kFolder + std::string(t.path); }
  static std::string Original(const TargetFile& t) {
    return "original " + std::to_string(t.template_id);
  }
  std::string Expected(const TargetFile& t, const TweakOptions& o) {
    return FillTemplate(t.generator->table(), resources_.Load(kTemplateType, t.template_id).value(),
                        o);
  }
  RunStatus Run(const TweakOptions& options) {
    RunStatus status;
    RunContext run{fs_, resources_, system_, options, status};
    ApplyTweaks(kFolder, run);
    return status;
  }
  std::string Content(const std::string& path) {
    auto node = fs_.Find(path);
    return node ? node->content : "<missing>";
  }

  FakeFileSystem fs_;
  TemplateDirResources resources_;
  FakeSystemInfo system_;
};

TEST_F(TweakRunTest, EveryTargetHoldsExactlyItsGeneratedBytes) {
  const TweakOptions states[] = {
      Standard(), Custom(),
      Custom({&T::remove_contact_list_banner, &T::collapse_contact_list_banner,
              &T::remove_search_bar, &T::remove_buttons_bar, &T::remove_chat_banner,
              &T::collapse_chat_banner, &T::remove_sms_tab, &T::enable_minimum_size,
              &T::send_with_alt_s, &T::hide_from_taskbar})};
  MakeIcq();
  for (const TweakOptions& o : states) {
    EXPECT_EQ(Run(o).failure, Failure::None);
    for (const TargetFile& t : kTargetFiles)
      EXPECT_EQ(Content(Path(t)), Expected(t, o));
  }
}

TEST_F(TweakRunTest, WithoutGermanPackageElevenFilesAndNothingGerman) {
  MakeIcq(/*german=*/false);
  EXPECT_EQ(Run(Standard()).failure, Failure::None);
  EXPECT_FALSE(fs_.FolderExists(kFolder + "packages\\german"));
  for (const TargetFile& t : kTargetFiles) {
    if (!t.german_only) {
      EXPECT_EQ(Content(Path(t)), Expected(t, Standard()));
    }
  }
}

TEST_F(TweakRunTest, ProtectedTargetsAreMadeNormalAndRewritten) {
  MakeIcq();
  const TargetFile& main_dlg = Target(104);
  auto& node = *fs_.Find(Path(main_dlg));
  node.read_only = node.hidden = node.system = true;
  EXPECT_EQ(Run(Custom()).failure, Failure::None);
  const auto entry = fs_.Lookup(Path(main_dlg));
  EXPECT_FALSE(entry->read_only || entry->hidden || entry->system);
  EXPECT_EQ(Content(Path(main_dlg)), Expected(main_dlg, Custom()));
}

// A longer file that another program holds open cannot be deleted; it must still end up
// holding exactly the new bytes, with no tail of the old file.
TEST_F(TweakRunTest, UndeletableLongerTargetHoldsNoOldTail) {
  MakeIcq();
  const TargetFile& chat = Target(103);
  auto& node = *fs_.Find(Path(chat));
  node.content = std::string(80000, 'o');
  node.undeletable = true;
  EXPECT_EQ(Run(Custom()).failure, Failure::None);
  EXPECT_EQ(Content(Path(chat)), Expected(chat, Custom()));
}

TEST_F(TweakRunTest, MissingFolderFailsItsFileOnlyAndTheLastFailureIsReported) {
  fs_.AddFile(kFolder + "ICQ.exe");
  for (const TargetFile& t : kTargetFiles) {
    if (t.template_id != 110 && t.template_id != 111 && t.template_id != 112) {
      fs_.AddFile(Path(t), Original(t));
    }
  }
  // imApp\theme\MUICore is missing: its three files cannot be made.
  EXPECT_EQ(Run(Custom()).failure, Failure::WriteFailed);
  for (const TargetFile& t : kTargetFiles) {
    if (t.template_id < 110) {
      EXPECT_EQ(Content(Path(t)), Expected(t, Custom()));
    }
  }
  EXPECT_FALSE(fs_.FileExists(Path(Target(110))));
}

TEST_F(TweakRunTest, TargetThatCannotBeWrittenKeepsItsContentAndFailsTheRun) {
  MakeIcq();
  auto& node = *fs_.Find(Path(Target(102)));
  node.undeletable = node.unwritable = true;
  EXPECT_EQ(Run(Custom()).failure, Failure::WriteFailed);
  EXPECT_EQ(Content(Path(Target(102))), Original(Target(102)));
}

TEST_F(TweakRunTest, FirstRunKeepsTheUsersFilesOnceAndRestorePutsThemBack) {
  MakeIcq();
  Run(Custom({&T::send_with_alt_s}));
  Run(Standard());
  std::vector<std::string_view> relatives;
  for (const TargetFile& t : kTargetFiles) {
    EXPECT_EQ(Content(kFolder + kBackupFolder + std::string(t.path)), Original(t));
    relatives.push_back(t.path);
  }
  const auto restored = RestoreBackups(fs_, kFolder, relatives);
  EXPECT_EQ(restored.size(), kTargetFiles.size());
  for (const RestoreResult& r : restored)
    EXPECT_EQ(r.restored, Restored::Yes) << r.relative;
  for (const TargetFile& t : kTargetFiles)
    EXPECT_EQ(Content(Path(t)), Original(t));
}

// A file the first run did not find is Kelvane's own afterwards, never a copy of the user's.
TEST_F(TweakRunTest, LaterRunsKeepNoCopies) {
  MakeIcq();
  const std::string missing = std::string(Target(112).path);
  fs_.DeleteFileAt(kFolder + missing);
  Run(Custom());
  Run(Standard());
  EXPECT_EQ(Content(kFolder + kBackupFolder + missing), "<missing>");
  EXPECT_EQ(Content(kFolder + kBackupFolder + std::string(Target(101).path)),
            Original(Target(101)));
  // The restore cannot give back a file the user never had, and says so.
  const auto restored = RestoreBackups(fs_, kFolder, {Target(101).path, missing});
  ASSERT_EQ(restored.size(), 2u);
  EXPECT_EQ(restored[0].restored, Restored::Yes);
  EXPECT_EQ(restored[1].restored, Restored::NoCopy);
}

TEST_F(TweakRunTest, FailingBackupDoesNotStopTheRun) {
  MakeIcq();
  fs_.AddFile(kFolder + "kelvane-backup", "a file where the backup folder should go");
  EXPECT_EQ(Run(Custom()).failure, Failure::None);
  for (const TargetFile& t : kTargetFiles)
    EXPECT_EQ(Content(Path(t)), Expected(t, Custom()));
}

// Kelvane runs elevated: a junction or link that a user planted below the ICQ folder must not
// lead any step to what it points to. Below a link the fake stands for the place it points to.
TEST_F(TweakRunTest, NothingIsReachedThroughALinkBelowTheFolder) {
  const struct {
    const char* link;
    std::vector<std::string> outside;  // files below the link, which must stay as they are
  } rows[] = {
      {"updates", {"updates\\manifest", "updates\\a.xml"}},
      {"packages\\ICQ\\ConfigFiles",
       {"packages\\ICQ\\ConfigFiles\\adconfig.xml", "packages\\ICQ\\ConfigFiles\\updates\\b.xml"}},
      {"imApp\\content", {"imApp\\content\\MUICore\\MainDlg.box"}},
      {"kelvane-backup", {"kelvane-backup\\c.txt"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.link);
    fs_ = FakeFileSystem();
    MakeIcq();
    fs_.AddFolder(kFolder + r.link).link = true;
    for (const std::string& file : r.outside)
      fs_.AddFile(kFolder + file, "outside");
    Run(Custom({&T::disable_message_field_ads, &T::send_with_alt_s}));
    Run(Standard());
    for (const std::string& file : r.outside)
      EXPECT_EQ(Content(kFolder + file), "outside") << file;
    EXPECT_FALSE(fs_.Find(kFolder + "kelvane-backup\\imApp") &&
                 fs_.IsLink(kFolder + "kelvane-backup"))
        << "copies written through the link";
    EXPECT_TRUE(fs_.IsLink(kFolder + r.link));
  }
}

}  // namespace
}  // namespace kelvane
