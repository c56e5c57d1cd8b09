// One machine for the native tests of a run and of the programs: every platform service faked,
// Kelvane in C:\Kelvane\ with its settings file beside it.
#pragma once

#include <functional>
#include <string>

#include "app/app_platform.h"
#include "engine/tweak_run.h"
#include "settings/settings_file.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"

namespace kelvane {

struct FakeMachine {
  static constexpr char kIni[] = "C:\\Kelvane\\kvn.ini";

  void Set(const std::string& key, const std::string& value) {
    profile.Write(kIni, kSettingsSection, key, value);
  }
  std::string Get(const std::string& key) { return profile.Read(kIni, kSettingsSection, key); }
  // Where ICQ's uninstall record says it is installed, the first place the search looks.
  void Record(const std::string& folder) {
    registry.Set(RegistryRoot::LocalMachine,
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "{88EB38EF-4D2C-436D-ABD3-56B232674062}",
                 "InstallLocation", folder);
  }
  // One step of a run on this machine, as the tweak run calls it.
  RunStatus Run(const std::function<void(RunContext&)>& step,
                const TweakOptions& options = TweakOptions()) {
    RunStatus status;
    RunContext run{fs, resources, system, options, status};
    step(run);
    return status;
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
  FakeRunLock run_lock;
  AppPlatform platform{fs,    resources, system,   profile,        registry,
                       paths, versions,  run_lock, "C:\\Kelvane\\"};
};

}  // namespace kelvane
