#include "app/window_run.h"

#include "engine/tweak_run.h"
#include "install/icq_folder.h"
#include "settings/settings_file.h"

namespace kelvane {

WindowRun::WindowRun(FileSystem& fs,
                     Resources& resources,
                     SystemInfo& system,
                     Profile& profile,
                     std::string program_folder)
    : fs_(fs),
      resources_(resources),
      system_(system),
      profile_(profile),
      program_folder_(std::move(program_folder)),
      settings_file_(program_folder_ + "kvn.ini") {}

bool WindowRun::StartAllowed(const std::string& folder_text) {
  const std::string folder = folder_text.ends_with('\\') ? folder_text : folder_text + '\\';
  return folder_text.size() >= 4 && kelvane::IsIcqFolder(fs_, folder);
}

bool WindowRun::IsIcqFolder(const std::string& folder_with_backslash) {
  return kelvane::IsIcqFolder(fs_, folder_with_backslash);
}

std::optional<std::string> WindowRun::FindIcqFolder() {
  return std::nullopt;
}

std::string WindowRun::SettingsValue(const std::string& key) {
  return profile_.Read(settings_file_, kSettingsSection, key);
}

void WindowRun::SaveSetting(const std::string& key, const std::string& value) {
  profile_.Write(settings_file_, kSettingsSection, key, value);
}

void WindowRun::CheckVersionAndRun(const TweakOptions& options, RunStatus& status, std::string&) {
  std::string folder = options.icq_folder;
  if (folder.empty() || folder.back() != '\\')
    folder += '\\';
  RunContext run{fs_, resources_, system_, options, status};
  ApplyTweaks(folder, run);
}

}  // namespace kelvane
