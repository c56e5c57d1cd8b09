#include "install/installation_search.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_machine.h"

namespace kelvane {
namespace {

// Where the uninstall record and the application path record say ICQ is, as written there.
std::optional<std::string> Search(const char* install_location, const char* path) {
  FakeMachine m;
  for (const char* folder :
       {"C:\\Program Files\\ICQ7.1\\", "C:\\Other\\ICQ7.1\\", "C:\\ICQ7\\", "C:\\"}) {
    m.fs.AddFile(std::string(folder) + "ICQ.exe");
    m.fs.AddFile(std::string(folder) + "MCore.dll");
  }
  m.fs.AddFile("C:\\Half\\ICQ.exe");
  m.paths.long_paths["C:\\PROGRA~1\\ICQ7~1.1\\"] = "C:\\Program Files\\ICQ7.1\\";
  m.paths.long_paths["C:\\PROGRA~1\\ICQ7.1"] = "C:\\Program Files\\ICQ7.1";
  if (install_location)
    m.Record(install_location);
  if (path) {
    m.registry.Set(RegistryRoot::LocalMachine,
                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe", "Path",
                   path);
  }
  SearchPlatform platform{m.fs, m.registry, m.paths};
  return GetICQ7Path(platform);
}

TEST(InstallationSearch, CleansTheRecordedTexts) {
  const struct {
    const char* install_location;
    const char* path;
    std::optional<std::string> found;
  } rows[] = {
      {"C:\\Program Files\\ICQ7.1\\", "C:\\Other\\ICQ7.1", "C:\\Program Files\\ICQ7.1"},
      {"\"C:\\Program Files\\ICQ7.1\\ICQ.exe\"", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\PROGRA~1\\ICQ7~1.1\\", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\ICQ7", "C:\\Half", "C:\\ICQ7"},
      // Without its backslash the last folder name is cut; the missing "Path" leaves the same
      // text to the application path record, which names a folder.
      {"C:\\Program Files\\ICQ7.1", nullptr, "C:\\Program Files\\ICQ7.1"},
      {"C:\\Program Files\\ICQ7.1", "C:\\Half", std::nullopt},
      {nullptr, "C:\\PROGRA~1\\ICQ7.1", "C:\\Program Files\\ICQ7.1"},
      {"C:\\", "C:", std::nullopt},
      {nullptr, nullptr, std::nullopt},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Search(r.install_location, r.path), r.found)
        << (r.install_location ? r.install_location : "-") << " | " << (r.path ? r.path : "-");
  }
}

}  // namespace
}  // namespace kelvane
