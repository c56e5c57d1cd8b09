// kelvane-cli.exe apply under Wine: the prefix's hosts file and the update and ad configuration
// folders of demo installations, in every option state and with the faults a user meets.
#include <gtest/gtest.h>

#include <memory>

#include "app/cli.h"
#include "platform/win32/handle.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "protect/hosts_block.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

const std::string kHosts = "# the user's own\r\n127.0.0.1 localhost\r\n";
const std::string kSuccess = "Changes successful!\r\n";
const std::string kDenied = "Access error! Got administrator rights?\r\n";

std::string KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return "missing";
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return ReadBytes(path).empty() ? "empty file" : "file";
  WIN32_FIND_DATAW data;
  win32::FindHandle find(Widen(path) + L"\\*", &data);
  int entries = 0;
  for (bool more = find.valid(); more; more = find.Next(&data))
    ++entries;
  return entries > 2 ? "folder" : "empty folder";  // "." and ".." are always there
}

bool AnyMatch(const std::string& pattern) {
  WIN32_FIND_DATAW data;
  return win32::FindHandle(Widen(pattern), &data).valid();
}

class ProtectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs_.DeleteFileAt(hosts_.backup());
    WriteBytes(hosts_.path(), kHosts);
  }
  ProgramResult Run(const std::map<std::string, std::string>& keys) {
    return Apply(dir_.path(), {"--settings", Settings(dir_, keys), "-english"});
  }
  std::string Kind(const std::string& relative) { return KindOf(dir_.path() + relative); }
  std::string Hosts() { return ReadBytes(hosts_.path()); }

  SavedHostsFile hosts_;
  TempFolder dir_;
  win32::Win32FileSystem fs_;
};

using Keys = std::map<std::string, std::string>;
const Keys kAdsOffAltS = {{"Option7", "1"}, {"Option10", "1"}};
const Keys kAdsOff = {{"Option7", "1"}, {"Option10", "0"}};
const Keys kAltS = {{"Option7", "0"}, {"Option10", "1"}};
const Keys kNeither = {{"Option7", "0"}, {"Option10", "0"}};
const Keys kStandard = {{"Standard", "1"}, {"Option7", "1"}, {"Option10", "1"}};

struct StateCase {
  const char* name;
  std::vector<Keys> runs;
  bool blocked;
  std::vector<std::pair<const char*, const char*>> kinds;
};

const StateCase kStateCases[] = {
    {"custom, no message-field ads, Alt+S",
     {kAdsOffAltS},
     true,
     {{"updates\\manifest", "empty folder"},
      {"updates\\imApp-7.1.0.2097.xml", "missing"},
      {"packages\\german\\updates\\manifest", "empty folder"},
      {"packages\\german\\package.xml", "file"},
      {"packages\\ICQ\\ConfigFiles\\adconfig.xml", "missing"},
      {"packages\\ICQ\\ConfigFiles\\AdRules.xml", "missing"},
      {"packages\\ICQ\\ConfigFiles\\settings.xml", "file"},
      {"packages\\ICQ\\ConfigFiles\\updates", "empty file"},
      {"ConfigFiles\\adconfig.xml", "missing"},
      {"ConfigFiles\\features.xml", "file"},
      {"ConfigFiles\\updates", "empty file"}}},
    {"custom, no message-field ads, no Alt+S",
     {kAdsOff},
     true,
     {{"updates\\manifest", "empty folder"},
      {"packages\\german\\updates\\manifest", "file"},
      {"packages\\ICQ\\ConfigFiles\\updates", "empty file"},
      {"ConfigFiles\\updates", "empty file"}}},
    {"custom, message-field ads kept, Alt+S",
     {kAltS},
     false,
     {{"updates\\manifest", "empty folder"},
      {"packages\\german\\updates\\manifest", "empty folder"},
      {"packages\\ICQ\\ConfigFiles\\adconfig.xml", "file"},
      {"packages\\ICQ\\ConfigFiles\\updates", "folder"},
      {"ConfigFiles\\adconfig.xml", "file"},
      {"ConfigFiles\\updates", "folder"}}},
    {"custom with message-field ads kept, after a run without them",
     {kAdsOffAltS, kNeither},
     false,
     {{"updates\\manifest", "empty folder"},
      {"packages\\german\\updates\\manifest", "empty folder"},
      {"packages\\ICQ\\ConfigFiles\\updates", "missing"},
      {"ConfigFiles\\updates", "missing"}}},
    {"standard",
     {kStandard},
     false,
     {{"updates", "missing"},
      {"packages\\german\\updates", "missing"},
      {"packages\\german\\package.xml", "file"},
      {"packages\\ICQ\\ConfigFiles\\adconfig.xml", "file"},
      {"packages\\ICQ\\ConfigFiles\\updates", "folder"},
      {"ConfigFiles\\updates", "folder"}}},
    {"standard after custom",
     {kAdsOffAltS, kStandard},
     false,
     {{"updates", "missing"},
      {"packages\\german\\updates", "missing"},
      {"packages\\ICQ\\ConfigFiles\\updates", "missing"},
      {"ConfigFiles\\updates", "missing"}}},
};

TEST_F(ProtectTest, FolderStatesAndHostsAfterEachMode) {
  for (const StateCase& c : kStateCases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    MakeDemo(dir.path());
    WriteBytes(hosts_.path(), kHosts);
    for (const Keys& keys : c.runs) {
      EXPECT_EQ(Apply(dir.path(), {"--settings", Settings(dir, keys), "-english"}).output,
                kSuccess);
    }
    for (const auto& [relative, kind] : c.kinds) {
      EXPECT_EQ(KindOf(dir.path() + relative), kind) << relative;
    }
    EXPECT_EQ(Hosts(), c.blocked ? BlockAdHostsText(kHosts) : kHosts);
  }
}

TEST_F(ProtectTest, MissingPackagesAreNeverCreated) {
  demo::DemoIcqOptions options;
  options.german = false;
  options.config_files = false;
  MakeDemo(dir_.path(), options);
  EXPECT_EQ(Run(kAdsOffAltS).output, kSuccess);
  EXPECT_EQ(Kind("packages\\german"), "missing");
  EXPECT_EQ(Kind("ConfigFiles"), "missing");
  EXPECT_EQ(Kind("updates\\manifest"), "empty folder");
}

struct ManifestCase {
  const char* name;
  std::unique_ptr<HeldFile> (*prepare)(const std::string& manifest);
  const char* output;
  const char* kind;  // of "updates\manifest" afterwards
};

const ManifestCase kManifestCases[] = {
    {"a file", [](const std::string&) { return std::unique_ptr<HeldFile>(); },
     "Changes successful!\r\n", "empty folder"},
    {"a folder with something in it",
     [](const std::string& manifest) {
       DeleteFileW(Widen(manifest).c_str());
       CreateDirectoryW(Widen(manifest).c_str(), nullptr);
       WriteBytes(manifest + "\\kept.xml", "kept");
       return std::unique_ptr<HeldFile>();
     },
     "Changes successful!\r\n", "folder"},
    {"a file that another program holds",
     [](const std::string& manifest) { return std::make_unique<HeldFile>(manifest); },
     "Couldn't create reset protection!\r\nPlease do it manually.\r\n", "file"},
};

TEST_F(ProtectTest, UpdateManifestBecomesAFolderOrTheFailureIsReported) {
  for (const ManifestCase& c : kManifestCases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    MakeDemo(dir.path());
    const std::string manifest = dir.path() + "updates\\manifest";
    const std::string before = ReadBytes(manifest);
    {
      auto held = c.prepare(manifest);
      EXPECT_EQ(Apply(dir.path(), {"--settings", Settings(dir, kAdsOff), "-english"}).output,
                c.output);
    }
    EXPECT_EQ(KindOf(manifest), c.kind);
    if (std::string(c.kind) == "file") {
      EXPECT_EQ(ReadBytes(manifest), before) << "the held manifest keeps its content";
    }
  }
}

enum class Spoil { Missing, ReadOnly, Held, HeldWithoutWriteSharing, Unreadable, Empty };

struct HostsFault {
  const char* name;
  Spoil spoil;
  Keys keys;
  std::string output;
  std::string hosts_after;  // "<missing>" when there is none
};

const HostsFault kHostsFaults[] = {
    {"missing, blocking", Spoil::Missing, kAdsOff, kDenied, "<missing>"},
    {"missing, unblocking", Spoil::Missing, kStandard, kSuccess, "<missing>"},
    {"read-only", Spoil::ReadOnly, kAdsOff, kSuccess, BlockAdHostsText(kHosts)},
    {"held by a program that shares writing", Spoil::Held, kAdsOff, kSuccess,
     BlockAdHostsText(kHosts)},
    {"held by a program that shares no writing", Spoil::HeldWithoutWriteSharing, kAdsOff, kDenied,
     kHosts},
    {"unreadable, blocking", Spoil::Unreadable, kAdsOff, kDenied, kHosts},
    {"unreadable, unblocking", Spoil::Unreadable, kStandard,
     "Error! The banner ads couldn't be removed!\r\nData access failed!\r\n", kHosts},
    {"empty", Spoil::Empty, kAdsOff, kSuccess, BlockAdHostsText("")},
};

TEST_F(ProtectTest, HostsFaultsAreReportedTruthfullyAndLoseNothing) {
  MakeDemo(dir_.path());
  for (const HostsFault& c : kHostsFaults) {
    SCOPED_TRACE(c.name);
    WriteBytes(hosts_.path(), c.spoil == Spoil::Empty ? "" : kHosts);
    std::unique_ptr<HeldFile> held;
    switch (c.spoil) {
      case Spoil::Missing:
        ASSERT_TRUE(fs_.DeleteFileAt(hosts_.path()));
        break;
      case Spoil::ReadOnly:
        SetFileAttributesW(Widen(hosts_.path()).c_str(), FILE_ATTRIBUTE_READONLY);
        break;
      case Spoil::Held:
        held = std::make_unique<HeldFile>(hosts_.path());
        break;
      case Spoil::HeldWithoutWriteSharing:
        held = std::make_unique<HeldFile>(hosts_.path(), Sharing::Read);
        break;
      case Spoil::Unreadable:
        held = std::make_unique<HeldFile>(hosts_.path(), Sharing::Nothing);
        break;
      case Spoil::Empty:
        break;
    }
    const ProgramResult result = Run(c.keys);
    held.reset();
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(result.exit_code, c.output == kSuccess ? kExitSuccess : kExitRunFailed);
    EXPECT_EQ(Hosts(), c.hosts_after);
    const auto entry = fs_.Lookup(hosts_.path());
    EXPECT_FALSE(entry && entry->read_only) << "made writable and left so";
    const std::string etc = hosts_.path().substr(0, hosts_.path().find_last_of('\\') + 1);
    EXPECT_FALSE(AnyMatch(etc + "*.kelvane-part"));
    EXPECT_FALSE(AnyMatch(etc + "rf*.tmp"));
  }
}

TEST_F(ProtectTest, FirstChangeKeepsOneCopyOfTheHostsFile) {
  MakeDemo(dir_.path());
  EXPECT_EQ(Run(kAdsOff).output, kSuccess);
  EXPECT_EQ(ReadBytes(hosts_.backup()), kHosts);
  WriteBytes(hosts_.path(), "# changed by hand\r\n" + BlockAdHostsText(kHosts));
  EXPECT_EQ(Run(kStandard).output, kSuccess);
  EXPECT_EQ(Hosts(), "# changed by hand\r\n" + kHosts);
  EXPECT_EQ(ReadBytes(hosts_.backup()), kHosts) << "never overwritten";
  EXPECT_EQ(RunProgram("kelvane-cli.exe", {"restore", dir_.path()}).exit_code, kExitSuccess);
  EXPECT_EQ(Hosts(), "# changed by hand\r\n" + kHosts) << "restore leaves the hosts file alone";
}

// Kelvane runs elevated: a link that a user planted below the ICQ folder never leads a run to
// what it points to, whatever the run reports.
TEST_F(ProtectTest, LinksBelowTheFolderLeadNowhere) {
  const struct {
    const char* link;
    Keys keys;
  } rows[] = {{"updates", kStandard},
              {"updates", kAdsOffAltS},
              {"packages\\ICQ\\ConfigFiles", kAdsOffAltS}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.link);
    TempFolder icq, outside;
    MakeDemo(icq.path());
    ASSERT_TRUE(fs_.DeleteFolder(icq.path() + r.link));
    for (const char* file : {"manifest", "adconfig.xml", "updates\\keep.xml"}) {
      fs_.MakeDirectory(outside.path() + "updates");
      WriteBytes(outside.path() + file, "precious");
    }
    MakeLinuxLink(icq.path() + r.link, outside.path());
    Apply(icq.path(), {"--settings", Settings(dir_, r.keys), "-english"});
    for (const char* file : {"manifest", "adconfig.xml", "updates\\keep.xml"})
      EXPECT_EQ(ReadBytes(outside.path() + file), "precious") << file;
  }
}

// A hosts file that is a link stays one; the file it points to is edited in place.
TEST_F(ProtectTest, LinkedHostsFileIsEditedWhereItPoints) {
  MakeDemo(dir_.path());
  TempFolder elsewhere;
  const std::string target = elsewhere.path() + "hosts";
  WriteBytes(target, kHosts);
  ASSERT_TRUE(fs_.DeleteFileAt(hosts_.path()));
  MakeLinuxLink(hosts_.path(), target);
  EXPECT_EQ(Run(kAdsOff).output, kSuccess);
  EXPECT_EQ(ReadBytes(target), BlockAdHostsText(kHosts));
  EXPECT_EQ(Run(kStandard).output, kSuccess);
  EXPECT_EQ(ReadBytes(target), kHosts);
  EXPECT_TRUE(fs_.IsLink(hosts_.path()));
  RemoveLinuxLink(hosts_.path());
}

}  // namespace
}  // namespace kelvane::testing
