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

  void MakeIcq(bool german = true) { AddIcq(fs_, kFolder, german); }
  static std::string Path(const TargetFile& t) { return kFolder + std::string(t.path); }
  static std::string Original(const TargetFile& t) { return IcqFile(t.template_id); }
  static std::string Expected(const TargetFile& t, const TweakOptions& o) {
    return FillTemplate(t.generator->table(), TemplateText(t.template_id), o);
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
  std::vector<RestoreResult> Restore() {
    std::vector<std::string_view> relatives;
    for (const TargetFile& t : kTargetFiles)
      relatives.push_back(t.path);
    return RestoreBackups(fs_, kFolder, relatives);
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

// A file Kelvane does not recognise as ICQ's is left exactly as it is, attributes and all;
// every other file is written, and the report tells that not everything could be done.
TEST_F(TweakRunTest, UnrecognisedFileIsLeftAsItIs) {
  const auto replace = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  const struct {
    const char* what;
    int id;
    std::string text;
  } rows[] = {
      {"a spot missing", 101, replace(IcqFile(101), R"(id="feedXtraBox")", R"(id="feedBox")")},
      {"a spot twice", 102,
       replace(IcqFile(102), "</library>", "<box:hbox id=\"msgWinImTabsBox\"/>\r\n</library>")},
      {"an unknown value", 103, replace(IcqFile(103), R"(minWidth="525")", R"(minWidth="530")")},
      {"the value's entity only by a longer name", 107,
       replace(IcqFile(107), "Text_tlp \"", "Text_tlp_old \"")},
      {"a marker standing twice with two values", 112,
       replace(IcqFile(112), R"(minWidth="209")", R"(minWidth="173")")},
      {"no line for a marker whose Standard value is not empty", 101,
       replace(IcqFile(101),
               R"(<box:aolTabPanels id="idMainPanels" style="imgTabBackground"/>)"
               "\r\n\t",
               "")},
      {"empty", 105, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    fs_ = FakeFileSystem();
    MakeIcq();
    fs_.AddFile(Path(Target(r.id)), r.text).read_only = true;
    EXPECT_EQ(Run(Custom({&T::send_with_alt_s})).failure, Failure::DataAccessFailed);
    EXPECT_TRUE(Content(Path(Target(r.id))) == r.text);
    EXPECT_TRUE(fs_.Find(Path(Target(r.id)))->read_only);
    EXPECT_FALSE(fs_.FileExists(kFolder + kBackupFolder + std::string(Target(r.id).path)));
    for (const TargetFile& t : kTargetFiles) {
      if (t.template_id != r.id)
        EXPECT_TRUE(Content(Path(t)) == Expected(t, Custom({&T::send_with_alt_s}))) << t.path;
    }
  }
}

TEST_F(TweakRunTest, MissingFolderFailsItsFileOnlyAndTheLastFailureIsReported) {
  MakeIcq();
  for (int id : {110, 111, 112})
    fs_.DeleteFileAt(Path(Target(id)));
  fs_.DeleteFolder(kFolder + "imApp\\theme\\MUICore");
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

// Each file gets its copy before Kelvane first changes it; a file the installation did not
// have is Kelvane's own, and restore takes it away again.
TEST_F(TweakRunTest, CopiesOfTheUsersFilesAndRestore) {
  MakeIcq();
  const TargetFile& missing = Target(112);
  fs_.DeleteFileAt(Path(missing));
  Run(Custom({&T::send_with_alt_s}));
  Run(Standard());
  for (const TargetFile& t : kTargetFiles) {
    EXPECT_EQ(Content(kFolder + kBackupFolder + std::string(t.path)),
              &t == &missing ? "<missing>" : Original(t));
  }
  for (const RestoreResult& r : Restore()) {
    EXPECT_EQ(r.restored, r.relative == missing.path ? Restored::Removed : Restored::Yes)
        << r.relative;
  }
  for (const TargetFile& t : kTargetFiles)
    EXPECT_EQ(Content(Path(t)), &t == &missing ? "<missing>" : Original(t));
}

// A file whose copy cannot be kept is not changed.
TEST_F(TweakRunTest, FileWhoseCopyCannotBeKeptIsLeftAsItIs) {
  MakeIcq();
  fs_.AddFile(kFolder + "kelvane-backup", "a file where the copies should go");
  EXPECT_EQ(Run(Custom()).failure, Failure::DataAccessFailed);
  for (const TargetFile& t : kTargetFiles)
    EXPECT_EQ(Content(Path(t)), Original(t));
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
