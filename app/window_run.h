// The window's link to the settings file, the ICQ folder checks and the tweak run.
#pragma once

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/system_info.h"
#include "ui/main_window.h"

namespace kelvane {

class WindowRun : public ui::RunServices {
 public:
  WindowRun(FileSystem& fs,
            Resources& resources,
            SystemInfo& system,
            Profile& profile,
            std::string program_folder);

  bool StartAllowed(const std::string& folder_text) override;
  bool IsIcqFolder(const std::string& folder_with_backslash) override;
  std::optional<std::string> FindIcqFolder() override;
  std::string ProgramFolder() override { return program_folder_; }
  std::string SettingsValue(const std::string& key) override;
  void SaveSetting(const std::string& key, const std::string& value) override;
  void CheckVersionAndRun(const TweakOptions& options,
                          RunStatus& status,
                          std::string& version_text) override;

 private:
  FileSystem& fs_;
  Resources& resources_;
  SystemInfo& system_;
  Profile& profile_;
  std::string program_folder_;
  std::string settings_file_;
};

}  // namespace kelvane
