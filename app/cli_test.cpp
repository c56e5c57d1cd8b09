#include "app/cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "app/window_run.h"
#include "tests/fakes/fake_machine.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

const std::string kFolder = "C:\\ICQ7.1\\";
const std::string kIni = FakeMachine::kIni;
const std::string kMainDlg = kFolder + std::string(Target(104).path);

// The text split at its spaces: no path here has one.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

// An ICQ 7.1 build 2096 installation, a hosts file and a settings file.
struct Machine : FakeMachine {
  Machine() {
    AddIcq(fs, kFolder);
    fs.AddFile("C:\\windows\\system32\\drivers\\etc\\hosts", "127.0.0.1 localhost\r\n");
    fs.AddFile(kIni, "[Kelvane 7.1.0.2096]\r\n");
    profile.sections.insert({kIni, kSettingsSection});
    fs.AddFile("C:\\Half\\ICQ.exe");
    SetVersions({7, 1, 0, 2096});
  }
  void SetVersions(const FileVersion& version) {
    versions.versions[kFolder + "ICQ.exe"] = versions.versions[kFolder + "MCore.dll"] = version;
  }
  CliResult Cli(const std::string& command_line) { return RunCli(Words(command_line), platform); }
};

// A command's exit code and both its texts, to compare at once.
std::tuple<int, std::string, std::string> Outcome(const CliResult& result) {
  return {result.exit_code, result.output, result.errors};
}

std::string Expected(const TweakOptions& o) {
  return FillTemplate(Target(104).generator->table(), TemplateText(104), o);
}

TEST(Cli, UsageErrorsGoToStandardError) {
  Machine m;
  m.fs.AddFile("C:\\held.ini", "[Kelvane 7.1.0.2096]\r\nStandard=1\r\n").unreadable = true;
  m.profile.sections.insert({"C:\\held.ini", kSettingsSection});
  m.fs.AddFile("C:\\misnamed.ini", "[Kelvane]\r\nStandard=1\r\n");  // no section Windows finds
  m.profile.sections.erase({kIni, kSettingsSection});  // the kvn.ini beside the program too
  for (const char* command_line :
       {"", "apply --folder C:\\ICQ7.1", "apply --bogus", "apply --folder", "restore", "unknown",
        "apply --settings", "apply --settings C:\\no.ini", "apply --settings C:\\held.ini",
        "apply --settings C:\\misnamed.ini", "apply --folder C:\\ICQ7.1 --standard --custom",
        "apply --folder C:\\Other --folder C:\\ICQ7.1"}) {
    const CliResult result = m.Cli(command_line);
    EXPECT_EQ(result.exit_code, kExitUsage) << command_line;
    EXPECT_EQ(result.output, "") << command_line;
    EXPECT_NE(result.errors, "") << command_line;
    // A settings file that cannot serve says so, not only its name.
    if (std::string_view(command_line).starts_with("apply --settings C:")) {
      EXPECT_TRUE(result.errors.starts_with("settings file ")) << result.errors;
    }
  }
  EXPECT_TRUE(m.Content(kMainDlg) == IcqFile(104));
  for (const char* help : {"--help", "/?"})
    EXPECT_EQ(Outcome(m.Cli(help)), Outcome({kExitSuccess, m.Cli("").errors}));
}

// The folder a run works on is shown unless the user named it; a stored folder that no longer
// holds ICQ never makes way for another installation. Every row starts from the same machine,
// with the settings keys given; an empty main_dlg means the file stays ICQ's own.
TEST(Cli, Apply) {
  const std::string done = "Changes successful!\r\n", german = "ICQ-Installationsverzeichnis: ";
  const FileVersion right = {7, 1, 0, 2096}, old = {7, 0, 0, 1234};
  const struct {
    std::string settings;  // key=value ...
    std::string command_line;
    int exit_code;
    std::string output, errors, main_dlg;
    FileVersion version;
  } rows[] = {
      {"", "apply --folder ICQ7.1", kExitSuccess, done, "", Expected(TweakOptions()), right},
      {"Option11=1 Standard=1 ICQPath=C:\\ICQ7.1 Language=German", "apply", kExitSuccess,
       german + "C:\\ICQ7.1\r\nÄnderungen erfolgreich durchgeführt!\r\n", "", Expected(Standard()),
       right},
      {"Option11=1 Standard=1", "apply --settings " + kIni + " --folder C:\\ICQ7.1\\ --custom",
       kExitSuccess, done, "", Expected(Custom({&TweakOptions::hide_from_taskbar})), right},
      {"", "apply --settings " + kIni, kExitSuccess,
       "ICQ installation directory: C:\\ICQ7.1\r\n" + done, "", Expected(TweakOptions()), right},
      {"ICQPath=C:\\Half", "apply --settings " + kIni, kExitNotIcq, "",
       "the ICQPath of " + kIni + " is no ICQ folder: C:\\Half\r\n", "", right},
      {"ICQPath=C:\\Half", "apply", kExitSuccess,
       "ICQ installation directory: C:\\ICQ7.1\r\n" + done, "", Expected(TweakOptions()), right},
      {"", "apply --folder C:\\Half -german", kExitNotIcq, "Kein ICQ-Verzeichnis gefunden!\r\n", "",
       "", right},
      {"", "apply --folder C:\\ICQ7.1 -english", kExitNotIcq,
       "Wrong version of ICQ! (7.0 Build #1234)\r\n", "", "", old},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.command_line);
    Machine m;
    m.Record(kFolder);
    for (const std::string& setting : Words(r.settings))
      m.Set(setting.substr(0, setting.find('=')), setting.substr(setting.find('=') + 1));
    m.SetVersions(r.version);
    EXPECT_EQ(Outcome(m.Cli(r.command_line)), Outcome({r.exit_code, r.output, r.errors}));
    EXPECT_TRUE(m.Content(kMainDlg) == (r.main_dlg.empty() ? IcqFile(104) : r.main_dlg));
    EXPECT_EQ(m.fs.FolderExists(kFolder + "kelvane-backup"), r.exit_code == kExitSuccess);
    EXPECT_FALSE(m.fs.FolderExists("C:\\Half\\imApp"));
    EXPECT_EQ(m.profile.values.size(), Words(r.settings).size())
        << "the settings file is never written";
  }
  Machine m;
  m.fs.DeleteFileAt(kIni);
  EXPECT_EQ(m.Cli("apply").output, "No ICQ folder found!\r\n") << "no folder, no kvn.ini";
  const std::string held = kFolder + std::string(Target(101).path);
  m.fs.Find(held)->undeletable = m.fs.Find(held)->unwritable = true;
  EXPECT_EQ(Outcome(m.Cli("apply --folder C:\\ICQ7.1 -english")),
            Outcome({kExitRunFailed, "Error! Couldn't write data!\r\n",
                     "could not change " + held + "\r\n"}));
  EXPECT_TRUE(m.Content(held) == IcqFile(101));
  // Another run that does not let go keeps every run from writing, the window's too.
  Machine busy;
  busy.run_lock.held_elsewhere = true;
  for (const char* command_line : {"apply --folder C:\\ICQ7.1", "restore C:\\ICQ7.1"}) {
    EXPECT_EQ(Outcome(busy.Cli(command_line)),
              Outcome({kExitRunFailed, "",
                       "another run of Kelvane holds the run lock: nothing was changed\r\n"}));
  }
  TweakOptions options;
  options.icq_folder = kFolder;
  EXPECT_EQ(WindowRun(busy.platform).CheckVersionAndRun(options).status.failure,
            Failure::WriteFailed);
  EXPECT_FALSE(busy.fs.FolderExists(kFolder + "kelvane-backup"));
}

// find tells where the search finds ICQ; version names both files' versions and tells by its
// exit code whether they are the build Kelvane changes.
TEST(Cli, FindAndVersion) {
  Machine m;
  EXPECT_EQ(Outcome(m.Cli("find")), Outcome({kExitNothingFound, ""}));
  m.Record(kFolder);
  EXPECT_EQ(Outcome(m.Cli("find")), Outcome({kExitSuccess, "C:\\ICQ7.1\r\n"}));
  EXPECT_EQ(Outcome(m.Cli("version C:\\ICQ7.1")),
            Outcome({kExitSuccess, "ICQ.exe 7.1.0.2096\r\nMCore.dll 7.1.0.2096\r\n"}));
  m.versions.versions.erase(kFolder + "MCore.dll");
  EXPECT_EQ(Outcome(m.Cli("version C:\\ICQ7.1\\")),
            Outcome({kExitNotIcq, "ICQ.exe 7.1.0.2096\r\nMCore.dll -\r\n"}));
}

// What Kelvane kept is put back, a file deleted since the run too, what it made is taken away,
// what it never changed is named; a file it cannot put back is named too, and fails the restore.
TEST(Cli, Restore) {
  const std::string lifestream = std::string(Target(112).path);
  const std::string main_dlg = std::string(Target(104).path);
  const std::string panel = "imApp\\content\\MUICore\\MainDlgPanelOwner.box";
  Machine m;
  EXPECT_EQ(Outcome(m.Cli("restore C:\\Half")),
            Outcome({kExitNotIcq, "", "no ICQ folder: C:\\Half\r\n"}));
  EXPECT_EQ(Outcome(m.Cli("restore C:\\ICQ7.1")),
            Outcome({kExitRunFailed, "",
                     "nothing to restore: no copies kept in C:\\ICQ7.1\\kelvane-backup\\\r\n"}));
  const std::string repaired = std::string(Target(106).path);
  m.fs.DeleteFileAt(kFolder + panel);
  m.fs.DeleteFileAt(kFolder + repaired);
  m.fs.AddFile(kFolder + lifestream, "not ICQ's").read_only = true;
  m.Cli("apply --folder " + kFolder);
  m.fs.DeleteFileAt(kFolder + std::string(Target(105).path));  // gone since: its copy comes back
  m.fs.WriteFile(kFolder + repaired, IcqFile(106));            // ICQ's repair: the file stays
  m.fs.WriteFile(kMainDlg, "changed since");
  m.fs.Find(kFolder + panel)->read_only = true;  // made by Kelvane, read-only since
  FakeFileSystem::Node& held = *m.fs.Find(kMainDlg);
  held.undeletable = held.unwritable = true;  // by a program that shares nothing
  const std::pair<int, std::vector<std::string>> restores[] = {
      {kExitRunFailed,
       {"could not restore " + main_dlg + "\r\n",
        "removed " + panel + ", which the installation did not have\r\n",
        "left " + repaired + " as it is: Kelvane never changed it\r\n"}},
      {kExitSuccess,
       {"restored " + main_dlg + "\r\n",
        "left " + lifestream + " as it is: Kelvane never changed it\r\n"}},
  };
  for (const auto& [exit_code, lines] : restores) {
    const CliResult result = m.Cli("restore C:\\ICQ7.1");
    EXPECT_EQ(result.exit_code, exit_code);
    for (const std::string& line : lines)
      EXPECT_NE(result.output.find(line), std::string::npos) << line << result.output;
    held.undeletable = held.unwritable = false;
    held.read_only = true;  // as another program may have left it
  }
  for (const TargetFile& t : kTargetFiles) {
    const std::string expected = t.path == panel        ? "<missing>"
                                 : t.path == lifestream ? "not ICQ's"
                                                        : IcqFile(t.template_id);
    EXPECT_TRUE(m.Content(kFolder + std::string(t.path)) == expected) << t.path;
  }
  EXPECT_TRUE(m.fs.Find(kFolder + lifestream)->read_only) << "a file left as it is";
  EXPECT_FALSE(m.fs.FileExists(kFolder + "kelvane-backup\\" + repaired + ".absent"))
      << "status would still call ICQ's repaired file Kelvane's";
  m.fs.DeleteFolder(kFolder + "packages\\german\\language");  // uninstalled since
  held.undeletable = held.unwritable = true;
  EXPECT_EQ(m.Cli("restore C:\\ICQ7.1").exit_code, kExitSuccess) << "restored twice, one held";
  held.undeletable = held.unwritable = held.read_only = false;
  m.fs.WriteFile(kMainDlg, "ICQ 7.2's own");
  m.versions.versions[kFolder + "MCore.dll"] = {7, 2, 0, 1000};  // updated since
  EXPECT_EQ(Outcome(m.Cli("restore C:\\ICQ7.1")),
            Outcome({kExitNotIcq, "",
                     "Wrong version of ICQ! Nothing was restored.\r\nICQ.exe 7.1.0.2096\r\n"
                     "MCore.dll 7.2.0.1000\r\n"}));
  EXPECT_EQ(m.Content(kMainDlg), "ICQ 7.2's own");
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
  m.fs.DeleteFileAt(kFolder + std::string(Target(112).path));  // the first run makes it
  m.Set("Option11", "1");  // HideFromTaskbar, the one flag that MainDlg.box shows
  const struct {
    const char* mode;
    std::vector<std::string> lines, json;
  } rows[] = {
      {nullptr,  // ICQ's own files, before any run
       {"ICQ folder: C:\\ICQ7.1\\\r\n",
        "imApp\\content\\MUICore\\MainDlgPanelOwner.box: recognised, copy none\r\n",
        "  MainPanel2: \"\"\r\n", "options:\r\n  RemoveContactListBanner: off\r\n",
        "German update folder lock: off\r\n",
        "ad configuration lock of ConfigFiles: no such folder\r\n"},
       {R"("copy": "none")", R"("root_ad_configuration_lock": null)"}},
      {"--custom",
       {"imApp\\content\\MUICore\\MainDlg.box: recognised, copy kept\r\n",
        "imApp\\theme\\MUICore\\LifestreamTab.style.box: recognised, copy absent\r\n",
        "  NoTaskBar: \" floating=\\\"true\\\" minimizable=\\\"false\\\"\"\r\n",
        "  Banner1: \" hidden=\\\"true\\\" s:maxHeight=\\\"1\\\"\"\r\n",
        "  RemoveContactListBanner: on\r\n", "  HideFromTaskbar: on\r\n",
        "update folder lock: on\r\n", "ad configuration lock: on\r\n",
        "ad configuration lock of ConfigFiles: on\r\n", "hosts entry ar.atwola.com: active\r\n"},
       {R"("all_recognised": true)", R"("RemoveContactListBanner": "on")", R"("copy": "kept")",
        R"("options": {"RemoveContactListBanner": )", R"("update_folder_lock": true)",
        R"("root_ad_configuration_lock": true)", R"("hosts_entries": {"ar.atwola.com": )",
        R"("spots": {"ButtonsBar": )"}},
      {"--standard",
       {"  Banner1: \"\"\r\n", "  RemoveContactListBanner: off\r\n",
        "  CollapseContactListBanner: unknown\r\n", "update folder lock: off\r\n",
        "ad configuration lock: off\r\n", "hosts entry advertising.com: not active\r\n"},
       {R"("RemoveContactListBanner": "off")", R"("CollapseContactListBanner": "unknown")"}},
  };
  for (const auto& r : rows) {
    if (r.mode)
      m.Cli(std::string("apply --folder C:\\ICQ7.1 ") + r.mode);
    const std::string before = m.Content(kFolder + std::string(Target(101).path));
    const CliResult status = m.Cli("status ICQ7.1");  // from C:\, the working folder
    EXPECT_EQ(status.exit_code, kExitSuccess);
    for (const std::string& line : r.lines)
      EXPECT_NE(status.output.find(line), std::string::npos) << line << status.output;
    const std::string json = m.Cli("status " + kFolder + " --json").output;
    EXPECT_TRUE(ParsesAsJson(json));
    for (const std::string& member : r.json)
      EXPECT_NE(json.find(member), std::string::npos) << member;
    EXPECT_EQ(json.find("DisableMessageFieldAds"), std::string::npos) << "no file shows it";
    EXPECT_TRUE(m.Content(kFolder + std::string(Target(101).path)) == before) << "status wrote";
    m.fs.AddFolder(kFolder + "ConfigFiles");  // the older place of the ad configuration
  }
  // A file that is not ICQ's, then one that cannot be read, is no file as Kelvane left it.
  const std::string search_bar(Target(105).path);
  for (auto spoil : {+[](FakeFileSystem::Node& file) { file.content = "not ICQ's"; },
                     +[](FakeFileSystem::Node& file) { file.unreadable = true; }}) {
    spoil(*m.fs.Find(kFolder + search_bar));
    const CliResult status = m.Cli("status " + kFolder);
    EXPECT_EQ(status.exit_code, kExitRunFailed);
    EXPECT_NE(status.output.find(search_bar + ": not recognised, copy kept\r\n"),
              std::string::npos);
  }
  m.fs.Find("C:\\windows\\system32\\drivers\\etc\\hosts")->unreadable = true;
  EXPECT_NE(m.Cli("status " + kFolder).output.find("hosts file: cannot be read\r\n"),
            std::string::npos);
  EXPECT_EQ(m.Cli("status C:\\Other").exit_code, kExitNotIcq);
}

}  // namespace
}  // namespace kelvane
