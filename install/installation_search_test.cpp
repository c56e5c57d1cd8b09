#include "install/installation_search.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"

namespace kelvane {
namespace {

constexpr char kUninstall[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "{88EB38EF-4D2C-436D-ABD3-56B232674062}";
constexpr char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe";

class InstallationTest : public ::testing::Test {
 protected:
  InstallationTest() {
    for (const char* folder :
         {"C:\\Program Files\\ICQ7.1\\", "C:\\Other\\ICQ7.1\\", "C:\\ICQ7\\", "C:\\"}) {
      fs_.AddFile(std::string(folder) + "ICQ.exe");
      fs_.AddFile(std::string(folder) + "MCore.dll");
    }
    fs_.AddFile("C:\\Half\\ICQ.exe");
    fs_.AddFile("C:\\Lower\\icq.exe");
    fs_.AddFile("C:\\Lower\\MCore.dll");
    fs_.AddFile("C:\\Hidden\\ICQ.exe").hidden = true;
    fs_.AddFile("C:\\Hidden\\MCore.dll");
    paths_.long_paths["C:\\PROGRA~1\\ICQ7~1.1\\"] = "C:\\Program Files\\ICQ7.1\\";
    paths_.long_paths["C:\\PROGRA~1\\ICQ7.1"] = "C:\\Program Files\\ICQ7.1";
  }
  std::optional<std::string> Search(const char* install_location, const char* path) {
    FakeRegistry registry;
    if (install_location) {
      registry.Set(RegistryRoot::LocalMachine, kUninstall, "InstallLocation", install_location);
    }
    if (path)
      registry.Set(RegistryRoot::LocalMachine, kAppPaths, "Path", path);
    SearchPlatform platform{fs_, registry, paths_};
    return GetICQ7Path(platform);
  }

  FakeFileSystem fs_;
  FakePathNames paths_;
};

TEST_F(InstallationTest, SearchCleansTheRecordedTexts) {
  const struct {
    const char* install_location;
    const char* path;
    std::optional<std::string> found;
  } rows[] = {
      {"C:\\Program Files\\ICQ7.1\\", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\Program Files\\ICQ7.1\\", "C:\\Other\\ICQ7.1", "C:\\Program Files\\ICQ7.1"},
      {"\"C:\\Program Files\\ICQ7.1\\ICQ.exe\"", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"\"C:\\Program Files\\ICQ7.1\\\"", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\PROGRA~1\\ICQ7~1.1\\", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\ICQ7", "C:\\Half", "C:\\ICQ7"},
      // Without its backslash the last folder name is cut; the missing "Path" leaves the same
      // text to the application path record, which names a folder.
      {"C:\\Program Files\\ICQ7.1", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\Program Files\\ICQ7.1", "C:\\Half", std::nullopt},
      {nullptr, "C:\\PROGRA~1\\ICQ7.1", "C:\\Program Files\\ICQ7.1"},
      {nullptr, "\"C:\\Other\\ICQ7.1\\\"", "C:\\Other\\ICQ7.1"},
      {"C:\\Lower\\", nullptr, std::nullopt},
      {"C:\\Hidden\\", nullptr, std::nullopt},
      {"C:\\", "C:", std::nullopt},
      {"", nullptr, std::nullopt},
      {nullptr, nullptr, std::nullopt},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Search(r.install_location, r.path), r.found)
        << (r.install_location ? r.install_location : "-") << " | " << (r.path ? r.path : "-");
  }
}

}  // namespace
}  // namespace kelvane
