#include "settings/settings_file.h"

namespace kelvane {

std::string ReadIniString(Profile& profile, const std::string& file, const std::string& key) {
  return profile.Read(file, kSettingsSection, key);
}

void WriteIniString(Profile& profile,
                    const std::string& file,
                    const std::string& key,
                    const std::string& value) {
  profile.Write(file, kSettingsSection, key, value);
}

TweakOptions ReadOptions(Profile& profile, const std::string& file) {
  TweakOptions options;
  options.icq_folder = ReadIniString(profile, file, kIcqPathKey);
  options.mode =
      ReadIniString(profile, file, kStandardKey) == "1" ? TweakMode::Standard : TweakMode::Custom;
  for (const OptionFlag& f : kOptionFlags)
    options.*f.flag = Ticked(f, ReadIniString(profile, file, std::string(f.key)));
  return options;
}

void LoadSettings(Profile& profile,
                  const std::string& file,
                  SearchPlatform& search,
                  WindowState& window,
                  WindowHooks& hooks) {
  if (auto folder = ChooseIcqFolder(search, ReadIniString(profile, file, kIcqPathKey))) {
    SetText1(window, hooks, *folder);
  }
  SelectMode(
      window, hooks,
      ReadIniString(profile, file, kStandardKey) == "1" ? TweakMode::Standard : TweakMode::Custom);
  for (size_t i = 0; i < kOptionFlags.size(); ++i) {
    const OptionFlag& f = kOptionFlags[i];
    const bool ticked = Ticked(f, ReadIniString(profile, file, std::string(f.key)));
    SetCheck(window, hooks, i, ticked ? CheckState::Ticked : CheckState::Unticked);
  }
  hooks.ApplyOptionRules();
}

void SaveSettings(Profile& profile, const std::string& file, const WindowState& window) {
  if (!window.text1.empty())
    WriteIniString(profile, file, kIcqPathKey, window.text1);
  WriteIniString(profile, file, kStandardKey, window.option2 ? "1" : "0");
  for (size_t i = 0; i < kOptionFlags.size(); ++i) {
    WriteIniString(profile, file, std::string(kOptionFlags[i].key), window.ticked(i) ? "1" : "0");
  }
}

void ShowAltSHintOnce(Profile& profile,
                      const std::string& file,
                      const std::function<void()>& show_hint) {
  if (ReadIniString(profile, file, kAltSInfoKey) == "1")
    return;
  show_hint();
  WriteIniString(profile, file, kAltSInfoKey, "1");
}

}  // namespace kelvane
