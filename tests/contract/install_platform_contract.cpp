#include "tests/contract/install_platform_contract.h"

namespace kelvane::testing {
namespace {

constexpr auto kMachine = RegistryRoot::LocalMachine;

TEST_P(InstallPlatformContract, RegistryTextComesBackWhole) {
  const struct {
    const char* text;
    bool terminated;
  } rows[] = {
      {"C:\\ICQ7.1\\", true},
      {"C:\\ICQ7.1\\", false},
      {"C:\\ICQ7.1", false},
      {"\"C:\\Programme\\ICQ 7.1 für alle\\ICQ.exe\"", true},
      {"", true},
  };
  for (const auto& r : rows) {
    h().PutText("Value", r.text, r.terminated);
    EXPECT_EQ(h().registry().ReadString(kMachine, h().key(), "value"), r.text)
        << r.text << (r.terminated ? "" : " (no NUL)");
  }
}

TEST_P(InstallPlatformContract, MissingRegistryValueOrKeyReadsNothing) {
  h().PutText("Present", "x", true);
  EXPECT_FALSE(h().registry().ReadString(kMachine, h().key(), "Absent"));
  EXPECT_FALSE(h().registry().ReadString(kMachine, h().key() + "\\Absent", "Present"));
  EXPECT_FALSE(h().registry().ReadString(RegistryRoot::CurrentUser, h().key(), "Present"));
}

TEST_P(InstallPlatformContract, ShortNamesAreMadeLong) {
  // Deep enough that the long form does not fit the classic path length.
  std::string deep = h().root();
  for (int i = 0; deep.size() <= 300; ++i)
    deep += "ICQ folder with a long name " + std::to_string(i) + "\\";
  for (const std::string& folder : {h().root() + "Program Files\\ICQ7.1", deep}) {
    const std::string short_path = h().MakeFolderWithShortPath(folder);
    EXPECT_NE(short_path, folder);
    EXPECT_EQ(h().paths().LongPath(short_path), folder) << short_path;
  }
  for (const std::string& unchanged : {h().root() + "Missing~1\\ICQ.exe", std::string()}) {
    EXPECT_EQ(h().paths().LongPath(unchanged), unchanged);
  }
}

TEST_P(InstallPlatformContract, FileVersionsOfRealResources) {
  const FileVersion rows[] = {{7, 1, 0, 2096}, {65535, 40000, 32768, 1}};
  for (const FileVersion& v : rows) {
    h().MakeProgramFile(h().root() + "ICQ.exe", v);
    EXPECT_EQ(h().versions().Read(h().root() + "ICQ.exe"), v) << v[0] << "." << v[1];
  }
  h().MakeTextFile(h().root() + "MCore.dll");
  EXPECT_FALSE(h().versions().Read(h().root() + "MCore.dll")) << "no version resource";
  EXPECT_FALSE(h().versions().Read(h().root() + "missing.exe"));
}

}  // namespace
}  // namespace kelvane::testing
