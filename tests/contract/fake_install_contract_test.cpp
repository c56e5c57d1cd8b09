#include "tests/contract/install_platform_contract.h"
#include "tests/fakes/fake_install.h"

namespace kelvane::testing {
namespace {

class FakeInstallHarness : public InstallPlatformHarness {
 public:
  Registry& registry() override { return registry_; }
  PathNames& paths() override { return paths_; }
  FileVersions& versions() override { return versions_; }
  std::string key() override { return "SOFTWARE\\Kelvane contract test"; }
  void PutText(const std::string& name, const std::string& text, bool) override {
    registry_.Set(RegistryRoot::LocalMachine, key(), name, text);
  }
  std::string root() override { return "C:\\root\\"; }
  std::string MakeFolderWithShortPath(const std::string& path) override {
    const std::string short_path = root() + "LONG~" + std::to_string(paths_.long_paths.size() + 1) +
                                   (path.back() == '\\' ? "\\" : "");
    paths_.long_paths[short_path] = path;
    return short_path;
  }
  void MakeProgramFile(const std::string& path, const FileVersion& version) override {
    versions_.versions[path] = version;
  }
  void MakeTextFile(const std::string& path) override { versions_.versions.erase(path); }

 private:
  FakeRegistry registry_;
  FakePathNames paths_;
  FakeFileVersions versions_;
};

INSTANTIATE_TEST_SUITE_P(Fake, InstallPlatformContract, ::testing::Values([] {
                           return std::unique_ptr<InstallPlatformHarness>(new FakeInstallHarness);
                         }));

}  // namespace
}  // namespace kelvane::testing
