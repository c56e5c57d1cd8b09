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

std::optional<RunResult> RunAlone(AppPlatform& p, const TweakOptions& options) {
  HeldRunLock lock(p.run_lock);
  if (!lock.held())
    return std::nullopt;
  return CheckVersionAndRun(options, p.versions, p.fs, p.resources, p.system);
}

// A run kept from writing by another one reports that it could not write.
RunResult WindowRun::CheckVersionAndRun(const TweakOptions& options) {
  if (std::optional<RunResult> run = RunAlone(p_, options))
    return *run;
  RunResult kept_out;
  kept_out.status.failure = Failure::WriteFailed;
  return kept_out;
}

}  // namespace kelvane
