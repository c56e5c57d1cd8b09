// kelvane-cli.exe on demo ICQ installations under Wine: what lands on disk, what it reports.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "app/cli.h"
#include "engine/tweak_run.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

std::string Target(const std::string& folder, int id) {
  for (const TargetFile& t : kTargetFiles) {
    if (t.template_id == id)
      return folder + std::string(t.path);
  }
  return {};
}

struct SizeCase {
  const char* name;
  std::map<std::string, std::string> keys;
  std::map<int, size_t> sizes;
};

const std::map<std::string, std::string> kAllOff = {{"Option1", "0"},
                                                    {"Option2", "0"},
                                                    {"Option5", "0"},
                                                    {"Option6", "0"},
                                                    {"Option7", "0"}};

std::map<std::string, std::string> AllOffAnd(std::map<std::string, std::string> on) {
  auto keys = kAllOff;
  for (auto& [k, v] : on)
    keys[k] = v;
  return keys;
}

const SizeCase kSizeCases[] = {
    {"standard",
     {{"Standard", "1"}, {"Option3", "1"}, {"Option9", "1"}, {"Option10", "1"}, {"Option11", "1"}},
     {{101, 12336},
      {102, 41084},
      {103, 51045},
      {104, 8271},
      {105, 5120},
      {106, 8347},
      {107, 10635},
      {108, 9993},
      {109, 5781},
      {110, 8284},
      {111, 18994},
      {112, 1421}}},
    {"custom, all off",
     kAllOff,
     {{101, 12336},
      {102, 41084},
      {103, 51045},
      {104, 8271},
      {105, 5120},
      {106, 8347},
      {107, 10635},
      {110, 8284},
      {111, 18994}}},
    {"custom, everything on",
     {{"Option1", "1"},
      {"Option2", "1"},
      {"Option3", "1"},
      {"Option4", "1"},
      {"Option5", "1"},
      {"Option6", "1"},
      {"Option7", "0"},
      {"Option8", "1"},
      {"Option9", "1"},
      {"Option10", "1"},
      {"Option11", "1"}},
     {{101, 12409},
      {102, 41129},
      {103, 51049},
      {104, 8307},
      {105, 5150},
      {106, 8341},
      {107, 10635},
      {108, 9993},
      {109, 5781},
      {110, 8284},
      {111, 19008},
      {112, 1421}}},
    {"minimum size only", AllOffAnd({{"Option9", "1"}}), {{103, 51047}, {111, 19008}}},
    {"collapsed chat banner", AllOffAnd({{"Option5", "1"}, {"Option6", "1"}}), {{103, 51047}}},
};

TEST(CliApply, GeneratedSizesOnDisk) {
  for (const SizeCase& c : kSizeCases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    MakeDemo(dir.path());
    const ProgramResult r = Apply(dir.path(), {"--settings", Settings(dir, c.keys), "-english"});
    EXPECT_EQ(r.exit_code, kExitSuccess);
    EXPECT_EQ(r.output, "Changes successful!\r\n");
    for (const auto& [id, size] : c.sizes) {
      EXPECT_EQ(ReadBytes(Target(dir.path(), id)).size(), size) << id;
    }
  }
}

TEST(CliApply, SameOptionsTwiceGiveTheSameBytes) {
  TempFolder dir;
  MakeDemo(dir.path());
  const std::string settings = Settings(dir, {{"Option10", "1"}, {"Option4", "1"}});
  Apply(dir.path(), {"--settings", settings});
  std::map<int, std::string> first;
  for (const TargetFile& t : kTargetFiles)
    first[t.template_id] = ReadBytes(Target(dir.path(), t.template_id));
  Apply(dir.path(), {"--settings", settings});
  for (const TargetFile& t : kTargetFiles) {
    EXPECT_EQ(ReadBytes(Target(dir.path(), t.template_id)), first[t.template_id]) << t.template_id;
  }
  EXPECT_NE(first[106].find(R"(key="S" alt="true")"), std::string::npos);
}

TEST(CliApply, WithoutGermanPackageNothingGermanIsMade) {
  TempFolder dir;
  demo::DemoIcqOptions options;
  options.german = false;
  MakeDemo(dir.path(), options);
  EXPECT_EQ(Apply(dir.path(), {"--standard"}).exit_code, kExitSuccess);
  win32::Win32FileSystem fs;
  EXPECT_FALSE(fs.FolderExists(dir.path() + "packages\\german"));
  EXPECT_EQ(ReadBytes(Target(dir.path(), 108)).size(), 9993u);
}

// A target that another program holds open cannot be swapped; written in place, it must hold
// exactly the new, shorter file, not the new file followed by the old one's tail.
TEST(CliApply, HeldLongerTargetHoldsExactlyTheNewBytes) {
  TempFolder dir;
  MakeDemo(dir.path());
  const std::string chat_style = Target(dir.path(), 103);
  EXPECT_EQ(
      Apply(dir.path(), {"--custom", "--settings",
                         Settings(dir, {{"Option5", "1"}, {"Option6", "1"}, {"Option9", "1"}})})
          .exit_code,
      kExitSuccess);
  EXPECT_EQ(ReadBytes(chat_style).size(), 51049u);
  {
    HeldFile held(chat_style);
    EXPECT_FALSE(DeleteFileW(win32::Widen(chat_style).c_str())) << "the hold must block deletion";
    EXPECT_EQ(Apply(dir.path(), {"--standard"}).exit_code, kExitSuccess);
  }
  const std::string written = ReadBytes(chat_style);
  EXPECT_EQ(written.size(), 51045u);
  EXPECT_TRUE(written.ends_with("</library>  "));
}

TEST(CliApply, ReadOnlyTargetIsRewrittenAndLeftWritable) {
  TempFolder dir;
  MakeDemo(dir.path());
  const std::string main_dlg = Target(dir.path(), 104);
  SetFileAttributesW(win32::Widen(main_dlg).c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Apply(dir.path(), {"--custom"}).exit_code, kExitSuccess);
  EXPECT_EQ(GetFileAttributesW(win32::Widen(main_dlg).c_str()) &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            0u);
  EXPECT_EQ(ReadBytes(main_dlg).size(), 8271u);
}

TEST(CliApply, MissingTargetFolderIsReportedAsWriteFailure) {
  TempFolder dir;
  MakeDemo(dir.path());
  const std::string theme = dir.path() + "imApp\\theme\\MUICore";
  for (int id : {110, 111, 112})
    DeleteFileW(win32::Widen(Target(dir.path(), id)).c_str());
  ASSERT_TRUE(RemoveDirectoryW(win32::Widen(theme).c_str()));
  const ProgramResult r = Apply(dir.path(), {"-german"});
  EXPECT_EQ(r.exit_code, kExitRunFailed);
  EXPECT_EQ(r.output, "Fehler beim Schreiben der Daten!\r\n");
  EXPECT_EQ(ReadBytes(Target(dir.path(), 104)).size(), 8271u) << "the other files are written";
}

TEST(CliApply, RefusesWhatIsNoIcqFolderAndBadUsage) {
  TempFolder dir;
  EXPECT_EQ(Apply(dir.path()).exit_code, kExitNotIcq);
  EXPECT_EQ(RunProgram("kelvane-cli.exe", {"apply", "--nonsense"}).exit_code, kExitUsage);
  // Held without sharing, a file that says Standard would read as a Custom run's defaults.
  MakeDemo(dir.path());
  const std::string settings = Settings(dir, {{"Standard", "1"}});
  HeldFile held(settings, Sharing::Nothing);
  const ProgramResult r = Apply(dir.path(), {"--settings", settings});
  EXPECT_EQ(r.exit_code, kExitUsage);
  EXPECT_EQ(r.output, "settings file cannot be read: " + settings + "\r\n");
  EXPECT_FALSE(win32::Win32FileSystem().FolderExists(dir.path() + "kelvane-backup")) << "no run";
}

const std::string kUninstall =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "{88EB38EF-4D2C-436D-ABD3-56B232674062}";
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe";

std::string ShortPath(const std::string& path) {
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetShortPathNameW(win32::Widen(path).c_str(), buffer, MAX_PATH);
  return win32::Narrow(std::wstring(buffer, n));
}

// What the installation search finds from the records an installer leaves in the registry.
TEST(CliFind, FindsTheRecordedInstallation) {
  TempFolder dir;
  const std::string icq = dir.path() + "ICQ Messenger 7.1\\";
  const std::string shown = icq.substr(0, icq.size() - 1);
  MakeDemo(icq);
  MakeDemo(dir.path() + "lower\\");
  // Wine does not rename by case alone: the file is made anew under the lower-case name.
  const std::string program = ReadBytes(dir.path() + "lower\\ICQ.exe");
  DeleteFileW(win32::Widen(dir.path() + "lower\\ICQ.exe").c_str());
  WriteBytes(dir.path() + "lower\\icq.exe", program);
  const struct {
    const char* name;
    std::optional<std::string> install_location;
    bool terminated;
    std::optional<std::string> path;
    std::string found;
  } rows[] = {
      {"with backslash", icq, true, std::nullopt, shown},
      {"without NUL", icq, false, dir.path() + "lower", shown},
      {"short names", ShortPath(icq), true, std::nullopt, shown},
      {"no backslash, no Path", shown, true, std::nullopt, shown},
      {"no backslash, other Path", shown, true, dir.path() + "lower", ""},
      {"Path only", std::nullopt, true, ShortPath(icq), shown},
      {"lower-case icq.exe", dir.path() + "lower\\", true, std::nullopt, ""},
      {"nothing recorded", std::nullopt, true, std::nullopt, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ScopedRegistryText location(kUninstall, "InstallLocation", r.install_location, r.terminated);
    ScopedRegistryText path(kAppPaths, "Path", r.path);
    const ProgramResult result = RunProgram("kelvane-cli.exe", {"find"});
    EXPECT_EQ(result.exit_code, r.found.empty() ? kExitNothingFound : kExitSuccess);
    EXPECT_EQ(result.output, r.found.empty() ? "" : r.found + "\r\n");
  }
}

TEST(CliFind, ApplyWithoutFolderRunsOnTheRegisteredDemo) {
  ScopedRegistryText location(kUninstall, "InstallLocation", std::nullopt);
  ScopedRegistryText path(kAppPaths, "Path", std::nullopt);
  TempFolder dir;
  const std::string icq = dir.path() + "ICQ7.1\\";
  ASSERT_EQ(RunProgram("demo-icq.exe", {icq, "--register"}).exit_code, 0);
  EXPECT_EQ(RunProgram("kelvane-cli.exe", {"find"}).output, icq.substr(0, icq.size() - 1) + "\r\n");
  const ProgramResult r = RunProgram("kelvane-cli.exe", {"apply", "--standard", "-english"});
  EXPECT_EQ(r.exit_code, kExitSuccess);
  EXPECT_EQ(r.output, "ICQ installation directory: " + icq.substr(0, icq.size() - 1) +
                          "\r\nChanges successful!\r\n");
  EXPECT_EQ(ReadBytes(Target(icq, 103)).size(), 51045u);
}

TEST(CliVersion, ReportsTheRealVersionResources) {
  TempFolder dir;
  demo::DemoIcqOptions options;
  options.icq_version = {7, 40000, 65535, 1};
  options.mcore_version = {7, 1, 0, 2096};
  MakeDemo(dir.path() + "odd\\", options);
  MakeDemo(dir.path() + "right\\");
  const struct {
    std::string folder;
    int exit_code;
    std::string output;
  } rows[] = {
      {dir.path() + "right", kExitSuccess, "ICQ.exe 7.1.0.2096\r\nMCore.dll 7.1.0.2096\r\n"},
      {dir.path() + "odd\\", kExitNotIcq, "ICQ.exe 7.40000.65535.1\r\nMCore.dll 7.1.0.2096\r\n"},
      {dir.path(), kExitNotIcq, "ICQ.exe -\r\nMCore.dll -\r\n"},
  };
  for (const auto& r : rows) {
    const ProgramResult result = RunProgram("kelvane-cli.exe", {"version", r.folder});
    EXPECT_EQ(result.exit_code, r.exit_code) << r.folder;
    EXPECT_EQ(result.output, r.output) << r.folder;
  }
}

TEST(CliRestore, PutsBackTheFilesTheInstallationCameWith) {
  TempFolder dir;
  MakeDemo(dir.path());
  std::map<int, std::string> original;
  for (const TargetFile& t : kTargetFiles)
    original[t.template_id] = ReadBytes(Target(dir.path(), t.template_id));
  Apply(dir.path(), {"--custom"});
  Apply(dir.path(), {"--standard"});
  EXPECT_NE(ReadBytes(Target(dir.path(), 101)), original[101]);
  const ProgramResult r = RunProgram("kelvane-cli.exe", {"restore", dir.path()});
  EXPECT_EQ(r.exit_code, kExitSuccess);
  EXPECT_NE(r.output.find("restored imApp\\content\\MUICore\\MainDlgPanelOwner.box"),
            std::string::npos);
  for (const TargetFile& t : kTargetFiles) {
    EXPECT_EQ(ReadBytes(Target(dir.path(), t.template_id)), original[t.template_id])
        << t.template_id;
  }
}

// A copy of each file is kept before Kelvane first changes it, whenever that is: a file that
// another program held unreadable during the first run, and the German file of a package
// installed after it.
TEST(CliRestore, EachFileGetsItsCopyBeforeItsFirstChange) {
  TempFolder dir;
  MakeDemo(dir.path(), {.german = false});
  const std::string chat = Target(dir.path(), 103), german = Target(dir.path(), 107);
  const std::string users_chat = ReadBytes(chat);
  {
    HeldFile held(chat, Sharing::Nothing);
    EXPECT_EQ(Apply(dir.path(), {"--custom", "-english"}).output,
              "Error! The banner ads couldn't be removed!\r\nData access failed!\r\n");
  }
  EXPECT_EQ(ReadBytes(chat), users_chat);
  win32::Win32FileSystem fs;
  win32::Win32Resources templates;
  TweakOptions standard;
  standard.mode = TweakMode::Standard;
  const std::string users_german = demo::IcqFile(templates, 107, standard);
  MakeParentFolders(fs, german);
  WriteBytes(german, users_german);
  EXPECT_EQ(Apply(dir.path(), {"--custom", "-english"}).exit_code, kExitSuccess);
  EXPECT_NE(ReadBytes(chat), users_chat);
  EXPECT_EQ(RunProgram("kelvane-cli.exe", {"restore", dir.path()}).exit_code, kExitSuccess);
  EXPECT_EQ(ReadBytes(chat), users_chat);
  EXPECT_EQ(ReadBytes(german), users_german);
}

}  // namespace
}  // namespace kelvane::testing
