#include "app/cli.h"

#include <gtest/gtest.h>

#include "engine/tweak_run.h"
#include "install/installation_search.h"
#include "settings/settings_file.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

const std::string kFolder = "C:\\ICQ7.1\\";
const std::string kIni = "C:\\Kelvane\\kvn.ini";

class CliTest : public ::testing::Test {
 protected:
  CliTest() : resources_(KELVANE_TEMPLATE_DIR) {
    AddIcq(fs_, kFolder);
    fs_.AddFile("C:\\windows\\system32\\drivers\\etc\\hosts", "127.0.0.1 localhost\r\n");
    fs_.AddFile(kIni);
    SetVersions({7, 1, 0, 2096}, {7, 1, 0, 2096});
  }
  void SetVersions(const FileVersion& icq, const FileVersion& mcore) {
    versions_.versions[kFolder + "ICQ.exe"] = icq;
    versions_.versions[kFolder + "MCore.dll"] = mcore;
  }
  void Register(const std::string& install_location) {
    registry_.Set(RegistryRoot::LocalMachine, kSearchTable[0].key, "InstallLocation",
                  install_location);
  }
  CliResult Cli(std::vector<std::string> args) {
    AppPlatform platform{fs_,       resources_, system_,   profile_,
                         registry_, paths_,     versions_, "C:\\Kelvane\\"};
    return RunCli(args, platform);
  }
  std::string MainDlg() { return fs_.Find(kFolder + std::string(Target(104).path))->content; }
  std::string Expected(const TweakOptions& o) {
    return FillTemplate(Target(104).generator->table(), resources_.Load(kTemplateType, 104).value(),
                        o);
  }

  FakeFileSystem fs_;
  TemplateDirResources resources_;
  FakeSystemInfo system_;
  FakeProfile profile_;
  FakeRegistry registry_;
  FakePathNames paths_;
  FakeFileVersions versions_;
};

TEST_F(CliTest, UsageErrorsGoToStandardError) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"apply", "--bogus"},
           {"apply", "--folder"},
           {"restore"},
           {"unknown"},
           {"apply", "--settings"},
           {"apply", "--settings", "C:\\no.ini"},
           {"apply", "--folder", kFolder, "--standard", "--custom"},
           {"apply", "--folder", "C:\\Other", "--folder", kFolder}}) {
    const CliResult result = Cli(args);
    EXPECT_EQ(result.exit_code, kExitUsage) << args.size();
    EXPECT_EQ(result.output, "") << args.size();
    EXPECT_NE(result.errors, "") << args.size();
  }
  EXPECT_EQ(MainDlg(), IcqFile(104));
  for (const char* help : {"--help", "/?"}) {
    const CliResult result = Cli({help});
    EXPECT_EQ(result.exit_code, kExitSuccess);
    EXPECT_EQ(result.output, Cli({}).errors);
  }
}

TEST_F(CliTest, FolderWithoutIcqIsRefusedAndUntouched) {
  fs_.AddFile("C:\\Other\\ICQ.exe");
  EXPECT_EQ(Cli({"apply", "--folder", "C:\\Other"}).exit_code, kExitNotIcq);
  EXPECT_EQ(Cli({"apply", "--folder", "C:\\Other", "-german"}).output,
            "Kein ICQ-Verzeichnis gefunden!\r\n");
  EXPECT_EQ(Cli({"apply"}).exit_code, kExitNotIcq) << "no folder at all";
  EXPECT_FALSE(fs_.FolderExists("C:\\Other\\imApp"));
}

TEST_F(CliTest, ApplyWritesFilesAndReportsSuccess) {
  const CliResult result = Cli({"apply", "--folder", "C:\\ICQ7.1"});
  EXPECT_EQ(result.exit_code, kExitSuccess);
  EXPECT_EQ(result.output, "Changes successful!\r\n");
  EXPECT_EQ(MainDlg(), Expected(TweakOptions{}));
}

TEST_F(CliTest, OptionsComeFromTheSettingsFileAndTheModeSwitch) {
  profile_.Write(kIni, kSettingsSection, "Option11", "1");
  profile_.Write(kIni, kSettingsSection, "Standard", "1");
  profile_.Write(kIni, kSettingsSection, "ICQPath", "C:\\ICQ7.1");
  profile_.Write(kIni, kSettingsSection, "Language", "German");
  EXPECT_EQ(Cli({"apply", "--settings", kIni}).output,
            "ICQ-Installationsverzeichnis: C:\\ICQ7.1\r\nÄnderungen erfolgreich durchgeführt!\r\n");
  EXPECT_EQ(MainDlg(), Expected(Standard()));
  Cli({"apply", "--settings", kIni, "--custom"});
  EXPECT_EQ(MainDlg(), Expected(Custom({&TweakOptions::hide_from_taskbar})));
  const auto before = profile_.values;
  Cli({"apply", "--settings", kIni, "--standard", "-english"});
  EXPECT_EQ(profile_.values, before) << "the settings file is never written";
}

TEST_F(CliTest, RunFailureExitsWithOne) {
  auto& held = *fs_.Find(kFolder + std::string(Target(104).path));
  held.undeletable = held.unwritable = true;
  const CliResult result = Cli({"apply", "--folder", kFolder, "-english"});
  EXPECT_EQ(result.exit_code, kExitRunFailed);
  EXPECT_EQ(result.output, "Error! Couldn't write data!\r\n");
}

TEST_F(CliTest, WrongVersionChangesNothing) {
  SetVersions({7, 0, 0, 1234}, {7, 0, 0, 1234});
  CliResult result = Cli({"apply", "--folder", kFolder, "-english"});
  EXPECT_EQ(result.exit_code, kExitNotIcq);
  EXPECT_EQ(result.output, "Wrong version of ICQ! (7.0 Build #1234)\r\n");
  EXPECT_EQ(MainDlg(), IcqFile(104));
  SetVersions({7, 1, 0, 2096}, {7, 1, 0, 2095});
  EXPECT_EQ(Cli({"apply", "--folder", kFolder, "-german"}).output, "Falsche Version von ICQ!\r\n");
  EXPECT_FALSE(fs_.FolderExists(kFolder + "kelvane-backup"));
}

// The folder a run works on is shown unless the user named it; a stored folder that no longer
// holds ICQ never makes way for another installation.
TEST_F(CliTest, WithoutFolderTheStoredOneOrTheSearchIsUsedAndShown) {
  fs_.AddFile("C:\\Half\\ICQ.exe");
  Register("C:\\ICQ7.1\\");
  const struct {
    const char* stored;
    int exit_code;
    std::string output, errors;
  } rows[] = {
      {"", kExitSuccess, "ICQ installation directory: C:\\ICQ7.1\r\nChanges successful!\r\n", ""},
      {"C:\\Half", kExitNotIcq, "", "the ICQPath of " + kIni + " is no ICQ folder: C:\\Half\r\n"},
  };
  for (const auto& r : rows) {
    profile_.Write(kIni, kSettingsSection, "ICQPath", r.stored);
    const CliResult result = Cli({"apply", "--settings", kIni});
    EXPECT_EQ(result.exit_code, r.exit_code) << r.stored;
    EXPECT_EQ(result.output, r.output) << r.stored;
    EXPECT_EQ(result.errors, r.errors) << r.stored;
  }
  EXPECT_FALSE(fs_.FolderExists("C:\\Half\\imApp"));
}

TEST_F(CliTest, RestorePutsBackWhatTheFirstRunKept) {
  fs_.AddFile("C:\\Other\\ICQ.exe");
  const struct {
    const char* folder;
    int exit_code;
    std::string errors;
  } refused[] = {
      {"C:\\Other", kExitNotIcq, "no ICQ folder: C:\\Other\r\n"},
      {"C:\\ICQ7.1", kExitRunFailed,
       "nothing to restore: no copies kept in C:\\ICQ7.1\\kelvane-backup\\\r\n"},
  };
  for (const auto& r : refused) {
    const CliResult result = Cli({"restore", r.folder});
    EXPECT_EQ(result.exit_code, r.exit_code);
    EXPECT_EQ(result.errors, r.errors);
  }
  Cli({"apply", "--folder", kFolder});
  const CliResult result = Cli({"restore", "C:\\ICQ7.1"});
  EXPECT_EQ(result.exit_code, kExitSuccess);
  EXPECT_NE(result.output.find("restored imApp\\content\\MUICore\\MainDlg.box\r\n"),
            std::string::npos);
  EXPECT_EQ(MainDlg(), IcqFile(104));
}

// What Kelvane made is taken away again; what it never changed is named and left.
TEST_F(CliTest, RestoreTakesAwayWhatKelvaneMadeAndLeavesTheRest) {
  const std::string main_dlg = std::string(Target(104).path);
  const std::string lifestream = std::string(Target(112).path);
  fs_.DeleteFileAt(kFolder + main_dlg);
  fs_.AddFile(kFolder + lifestream, "not ICQ's");
  Cli({"apply", "--folder", kFolder});
  const CliResult result = Cli({"restore", kFolder});
  EXPECT_EQ(result.exit_code, kExitSuccess);
  EXPECT_NE(result.output.find("removed " + main_dlg + ", which the installation did not have\r\n"),
            std::string::npos);
  EXPECT_NE(result.output.find("left " + lifestream + " as it is: Kelvane never changed it\r\n"),
            std::string::npos);
  EXPECT_FALSE(fs_.FileExists(kFolder + main_dlg));
  EXPECT_EQ(fs_.Find(kFolder + lifestream)->content, "not ICQ's");
}

// Whether python's own reader takes the text as JSON.
bool ParsesAsJson(const std::string& text) {
  FILE* python = popen("python3 -c 'import json,sys; json.load(sys.stdin)'", "w");
  fwrite(text.data(), 1, text.size(), python);
  return python && pclose(python) == 0;
}

// Status changes nothing and tells what the last run left: the values at the spots, the options
// they show, the locks and the hosts entries.
TEST_F(CliTest, StatusTellsWhatTheLastRunLeft) {
  fs_.AddFolder(kFolder + "packages\\ICQ\\ConfigFiles");
  const struct {
    std::vector<std::string> run;
    std::vector<std::string> lines;
  } rows[] = {
      {{"--custom"},
       {"  NoTaskBar: \"\"\r\n", "  Banner1: \" hidden=\\\"true\\\" s:maxHeight=\\\"1\\\"\"\r\n",
        "  RemoveContactListBanner: on\r\n", "  HideFromTaskbar: off\r\n",
        "update folder lock: on\r\n", "ad configuration lock: on\r\n",
        "hosts entry adtech.de: active\r\n"}},
      {{"--standard"},
       {"  Banner1: \"\"\r\n", "  RemoveContactListBanner: off\r\n",
        "  CollapseContactListBanner: unknown\r\n", "update folder lock: off\r\n",
        "ad configuration lock: off\r\n", "hosts entry adtech.de: not active\r\n"}},
  };
  for (const auto& r : rows) {
    std::vector<std::string> apply = {"apply", "--folder", kFolder};
    apply.insert(apply.end(), r.run.begin(), r.run.end());
    Cli(apply);
    const auto before = fs_.Find(kFolder + std::string(Target(101).path))->content;
    const CliResult status = Cli({"status", kFolder});
    EXPECT_EQ(status.exit_code, kExitSuccess);
    for (const std::string& line : r.lines)
      EXPECT_NE(status.output.find(line), std::string::npos) << line << status.output;
    EXPECT_TRUE(ParsesAsJson(Cli({"status", kFolder, "--json"}).output));
    EXPECT_EQ(fs_.Find(kFolder + std::string(Target(101).path))->content, before);
  }
  fs_.AddFile(kFolder + std::string(Target(105).path), "not ICQ's");
  EXPECT_EQ(Cli({"status", kFolder}).exit_code, kExitRunFailed);
  EXPECT_EQ(Cli({"status", "C:\\Other"}).exit_code, kExitNotIcq);
}

}  // namespace
}  // namespace kelvane
