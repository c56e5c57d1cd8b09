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
const std::string kMainDlg = kFolder + std::string(Target(104).path);

// An ICQ 7.1 build 2096 installation, a hosts file and an empty settings file.
struct Machine {
  Machine() {
    AddIcq(fs, kFolder);
    fs.AddFile("C:\\windows\\system32\\drivers\\etc\\hosts", "127.0.0.1 localhost\r\n");
    fs.AddFile(kIni);
    fs.AddFile("C:\\Half\\ICQ.exe");
    SetVersions({7, 1, 0, 2096}, {7, 1, 0, 2096});
  }
  void SetVersions(const FileVersion& icq, const FileVersion& mcore) {
    versions.versions[kFolder + "ICQ.exe"] = icq;
    versions.versions[kFolder + "MCore.dll"] = mcore;
  }
  void Set(const std::string& key, const std::string& value) {
    profile.Write(kIni, kSettingsSection, key, value);
  }
  CliResult Cli(std::vector<std::string> args) {
    AppPlatform platform{fs,       resources, system,   profile,
                         registry, paths,     versions, "C:\\Kelvane\\"};
    return RunCli(args, platform);
  }
  std::string Content(const std::string& path) {
    auto* node = fs.Find(path);
    return node ? node->content : "<missing>";
  }

  FakeFileSystem fs;
  TemplateDirResources resources{KELVANE_TEMPLATE_DIR};
  FakeSystemInfo system;
  FakeProfile profile;
  FakeRegistry registry;
  FakePathNames paths;
  FakeFileVersions versions;
};

std::string Expected(const TweakOptions& o) {
  return FillTemplate(Target(104).generator->table(), TemplateText(104), o);
}

TEST(Cli, UsageErrorsGoToStandardError) {
  Machine m;
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
    const CliResult result = m.Cli(args);
    EXPECT_EQ(result.exit_code, kExitUsage) << args.size();
    EXPECT_EQ(result.output, "") << args.size();
    EXPECT_NE(result.errors, "") << args.size();
  }
  EXPECT_TRUE(m.Content(kMainDlg) == IcqFile(104));
  for (const char* help : {"--help", "/?"}) {
    const CliResult result = m.Cli({help});
    EXPECT_EQ(result.exit_code, kExitSuccess);
    EXPECT_EQ(result.output, m.Cli({}).errors);
  }
}

// The folder a run works on is shown unless the user named it; a stored folder that no longer
// holds ICQ never makes way for another installation. Every row starts from the same machine,
// with the settings keys given; an empty main_dlg means the file stays ICQ's own.
TEST(Cli, Apply) {
  using Settings = std::map<std::string, std::string>;
  const std::string found = "ICQ installation directory: C:\\ICQ7.1\r\n";
  const FileVersion right = {7, 1, 0, 2096}, old = {7, 0, 0, 1234}, previous = {7, 1, 0, 2095};
  const struct {
    Settings settings;
    std::vector<std::string> args;
    int exit_code;
    std::string output, errors, main_dlg;
    FileVersion icq = {7, 1, 0, 2096}, mcore = {7, 1, 0, 2096};
  } rows[] = {
      {{},
       {"apply", "--folder", "C:\\ICQ7.1"},
       kExitSuccess,
       "Changes successful!\r\n",
       "",
       Expected(TweakOptions())},
      {{{"Option11", "1"}, {"Standard", "1"}, {"ICQPath", "C:\\ICQ7.1"}, {"Language", "German"}},
       {"apply", "--settings", kIni},
       kExitSuccess,
       "ICQ-Installationsverzeichnis: C:\\ICQ7.1\r\nÄnderungen erfolgreich durchgeführt!\r\n",
       "",
       Expected(Standard())},
      {{{"Option11", "1"}, {"Standard", "1"}},
       {"apply", "--settings", kIni, "--folder", kFolder, "--custom"},
       kExitSuccess,
       "Changes successful!\r\n",
       "",
       Expected(Custom({&TweakOptions::hide_from_taskbar}))},
      {{},
       {"apply", "--settings", kIni},
       kExitSuccess,
       found + "Changes successful!\r\n",
       "",
       Expected(TweakOptions())},
      {{{"ICQPath", "C:\\Half"}},
       {"apply", "--settings", kIni},
       kExitNotIcq,
       "",
       "the ICQPath of " + kIni + " is no ICQ folder: C:\\Half\r\n",
       ""},
      {{},
       {"apply", "--folder", "C:\\Half", "-german"},
       kExitNotIcq,
       "Kein ICQ-Verzeichnis gefunden!\r\n",
       "",
       ""},
      {{},
       {"apply", "--folder", kFolder, "-english"},
       kExitNotIcq,
       "Wrong version of ICQ! (7.0 Build #1234)\r\n",
       "",
       "",
       old,
       old},
      {{},
       {"apply", "--folder", kFolder, "-german"},
       kExitNotIcq,
       "Falsche Version von ICQ!\r\n",
       "",
       "",
       right,
       previous},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.output + r.errors);
    Machine m;
    m.registry.Set(RegistryRoot::LocalMachine, kSearchTable[0].key, "InstallLocation", kFolder);
    for (const auto& [key, value] : r.settings)
      m.Set(key, value);
    m.SetVersions(r.icq, r.mcore);
    const CliResult result = m.Cli(r.args);
    EXPECT_EQ(result.exit_code, r.exit_code);
    EXPECT_EQ(result.output, r.output);
    EXPECT_EQ(result.errors, r.errors);
    EXPECT_TRUE(m.Content(kMainDlg) == (r.main_dlg.empty() ? IcqFile(104) : r.main_dlg));
    EXPECT_EQ(m.fs.FolderExists(kFolder + "kelvane-backup"), r.exit_code == kExitSuccess);
    EXPECT_FALSE(m.fs.FolderExists("C:\\Half\\imApp"));
    EXPECT_EQ(m.profile.values.size(), r.settings.size()) << "the settings file is never written";
  }
  Machine m;
  EXPECT_EQ(m.Cli({"apply"}).output, "No ICQ folder found!\r\n") << "no folder at all";
  m.fs.Find(kMainDlg)->undeletable = m.fs.Find(kMainDlg)->unwritable = true;
  const CliResult held = m.Cli({"apply", "--folder", kFolder, "-english"});
  EXPECT_EQ(held.exit_code, kExitRunFailed);
  EXPECT_EQ(held.output, "Error! Couldn't write data!\r\n");
  EXPECT_TRUE(m.Content(kMainDlg) == IcqFile(104));
}

// What Kelvane kept is put back, what it made is taken away, what it never changed is named.
TEST(Cli, Restore) {
  const std::string lifestream = std::string(Target(112).path);
  Machine m;
  const struct {
    const char* folder;
    int exit_code;
    std::string errors;
  } refused[] = {
      {"C:\\Half", kExitNotIcq, "no ICQ folder: C:\\Half\r\n"},
      {"C:\\ICQ7.1", kExitRunFailed,
       "nothing to restore: no copies kept in C:\\ICQ7.1\\kelvane-backup\\\r\n"},
  };
  for (const auto& r : refused) {
    const CliResult result = m.Cli({"restore", r.folder});
    EXPECT_EQ(result.exit_code, r.exit_code);
    EXPECT_EQ(result.errors, r.errors);
  }
  m.fs.DeleteFileAt(kFolder + "imApp\\content\\MUICore\\MainDlgPanelOwner.box");
  m.fs.AddFile(kFolder + lifestream, "not ICQ's");
  m.Cli({"apply", "--folder", kFolder});
  const CliResult result = m.Cli({"restore", "C:\\ICQ7.1"});
  EXPECT_EQ(result.exit_code, kExitSuccess);
  for (const std::string& line : std::vector<std::string>{
           "restored imApp\\content\\MUICore\\MainDlg.box\r\n",
           "removed imApp\\content\\MUICore\\MainDlgPanelOwner.box, which the installation did not "
           "have\r\n",
           "left " + lifestream + " as it is: Kelvane never changed it\r\n"}) {
    EXPECT_NE(result.output.find(line), std::string::npos) << line;
  }
  EXPECT_TRUE(m.Content(kMainDlg) == IcqFile(104));
  EXPECT_FALSE(m.fs.FileExists(kFolder + "imApp\\content\\MUICore\\MainDlgPanelOwner.box"));
  EXPECT_EQ(m.Content(kFolder + lifestream), "not ICQ's");
}

// Whether python's own reader takes the text as JSON.
bool ParsesAsJson(const std::string& text) {
  FILE* python = popen("python3 -c 'import json,sys; json.load(sys.stdin)'", "w");
  fwrite(text.data(), 1, text.size(), python);
  return python && pclose(python) == 0;
}

// Status changes nothing and tells what the last run left: the values at the spots, the options
// they show, the locks and the hosts entries.
TEST(Cli, StatusTellsWhatTheLastRunLeft) {
  Machine m;
  m.fs.AddFolder(kFolder + "packages\\ICQ\\ConfigFiles");
  const struct {
    const char* mode;
    std::vector<std::string> lines, json;
  } rows[] = {
      {"--custom",
       {"  NoTaskBar: \"\"\r\n", "  Banner1: \" hidden=\\\"true\\\" s:maxHeight=\\\"1\\\"\"\r\n",
        "  RemoveContactListBanner: on\r\n", "  HideFromTaskbar: off\r\n",
        "update folder lock: on\r\n", "ad configuration lock: on\r\n",
        "ad configuration lock of ConfigFiles: no such folder\r\n",
        "hosts entry adtech.de: active\r\n"},
       {R"("RemoveContactListBanner": "on")", R"("copy": "kept")"}},
      {"--standard",
       {"  Banner1: \"\"\r\n", "  RemoveContactListBanner: off\r\n",
        "  CollapseContactListBanner: unknown\r\n", "update folder lock: off\r\n",
        "ad configuration lock: off\r\n", "hosts entry adtech.de: not active\r\n"},
       {R"("RemoveContactListBanner": "off")", R"("CollapseContactListBanner": "unknown")"}},
  };
  for (const auto& r : rows) {
    m.Cli({"apply", "--folder", kFolder, r.mode});
    const std::string before = m.Content(kFolder + std::string(Target(101).path));
    const CliResult status = m.Cli({"status", kFolder});
    EXPECT_EQ(status.exit_code, kExitSuccess);
    for (const std::string& line : r.lines)
      EXPECT_NE(status.output.find(line), std::string::npos) << line << status.output;
    const std::string json = m.Cli({"status", kFolder, "--json"}).output;
    EXPECT_TRUE(ParsesAsJson(json));
    std::vector<std::string> members = r.json;
    members.insert(
        members.end(),
        {R"("options": {"RemoveContactListBanner": )", R"("root_ad_configuration_lock": null)",
         R"("hosts_entries": {"ar.atwola.com": )", R"("spots": {"ButtonsBar": )"});
    for (const std::string& member : members)
      EXPECT_NE(json.find(member), std::string::npos) << member;
    EXPECT_TRUE(m.Content(kFolder + std::string(Target(101).path)) == before) << "status wrote";
  }
  m.fs.AddFile(kFolder + std::string(Target(105).path), "not ICQ's");
  EXPECT_EQ(m.Cli({"status", kFolder}).exit_code, kExitRunFailed);
  EXPECT_EQ(m.Cli({"status", "C:\\Other"}).exit_code, kExitNotIcq);
}

}  // namespace
}  // namespace kelvane
