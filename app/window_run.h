// The window's link to the settings file, the ICQ folder checks and the tweak run; the run under
// the run lock is kelvane-cli's too.
#pragma once

#include <optional>

#include "app/app_platform.h"
#include "ui/main_window.h"

namespace kelvane {

// The version check and the run, one at a time in every session. Nothing, and nothing written,
// when another run still holds the lock after the wait.
std::optional<RunResult> RunAlone(AppPlatform& p, const TweakOptions& options);

class WindowRun : public ui::RunServices {
 public:
  explicit WindowRun(AppPlatform& platform);

  bool StartAllowed(const std::string& folder_text) override;
  std::string ProgramFolder() override { return p_.program_folder; }
  StartupSettings LoadSettings() override;
  void SaveSettings(const TweakOptions& options) override;
  void ShowAltSHintOnce(const std::function<void()>& show) override;
  RunResult CheckVersionAndRun(const TweakOptions& options) override;

 private:
  AppPlatform& p_;
  const std::string settings_file_;  // "kvn.ini" beside the program
};

}  // namespace kelvane
