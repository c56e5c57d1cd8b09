#include "app/window_run.h"

#include "install/icq_folder.h"
#include "install/installation_search.h"
#include "install/version_check.h"
#include "settings/settings_file.h"

namespace kelvane {

WindowRun::WindowRun(AppPlatform& platform)
    : p_(platform), settings_file_(platform.program_folder + "kvn.ini") {}

bool WindowRun::StartAllowed(const std::string& folder_text) {
  return ValidateFolderField(p_.fs, folder_text);
}

std::string WindowRun::SettingsValue(const std::string& key) {
  return ReadIniString(p_.profile, settings_file_, key);
}

void WindowRun::LoadSettings(WindowState& window, WindowHooks& hooks) {
  SearchPlatform search{p_.fs, p_.registry, p_.paths, p_.program_folder};
  kelvane::LoadSettings(p_.profile, settings_file_, search, window, hooks);
}

void WindowRun::SaveSettings(const WindowState& window) {
  kelvane::SaveSettings(p_.profile, settings_file_, window);
}

void WindowRun::ShowAltSHintOnce(const std::function<void()>& show) {
  kelvane::ShowAltSHintOnce(p_.profile, settings_file_, show);
}

void WindowRun::CheckVersionAndRun(const TweakOptions& options,
                                   RunStatus& status,
                                   std::string& version_text) {
  RunContext run{p_.fs, p_.resources, p_.system, options, status};
  kelvane::CheckVersionAndRun(options.icq_folder, p_.versions, run, version_text);
}

}  // namespace kelvane
