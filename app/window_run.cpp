#include "app/window_run.h"

#include "install/icq_folder.h"

namespace kelvane {

WindowRun::WindowRun(AppPlatform& platform)
    : p_(platform), settings_file_(platform.program_folder + kSettingsFileName) {}

bool WindowRun::StartAllowed(const std::string& folder_text) {
  return ValidateFolderField(p_.fs, folder_text);
}

StartupSettings WindowRun::LoadSettings() {
  SearchPlatform search = p_.Search();
  return kelvane::LoadSettings(p_.profile, settings_file_, search);
}

void WindowRun::SaveSettings(const TweakOptions& options) {
  kelvane::SaveSettings(p_.profile, settings_file_, options);
}

void WindowRun::ShowAltSHintOnce(const std::function<void()>& show) {
  kelvane::ShowAltSHintOnce(p_.profile, settings_file_, show);
}

RunResult WindowRun::CheckVersionAndRun(const TweakOptions& options) {
  HeldRunLock held(p_.run_lock);
  return kelvane::CheckVersionAndRun(options, p_.versions, p_.fs, p_.resources, p_.system);
}

}  // namespace kelvane
