#include "settings/settings_file.h"

namespace kelvane {

const std::array<OptionKey, 11> kOptionKeys = {{
    {"Option1", &TweakOptions::remove_contact_list_banner, true},
    {"Option2", &TweakOptions::collapse_contact_list_banner, true},
    {"Option3", &TweakOptions::remove_search_bar, false},
    {"Option4", &TweakOptions::remove_buttons_bar, false},
    {"Option5", &TweakOptions::remove_chat_banner, true},
    {"Option6", &TweakOptions::collapse_chat_banner, true},
    {"Option7", &TweakOptions::disable_message_field_ads, true},
    {"Option8", &TweakOptions::remove_sms_tab, false},
    {"Option9", &TweakOptions::enable_minimum_size, false},
    {"Option10", &TweakOptions::send_with_alt_s, false},
    {"Option11", &TweakOptions::hide_from_taskbar, false},
}};

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
  options.icq_folder = ReadIniString(profile, file, "ICQPath");
  options.mode =
      ReadIniString(profile, file, "Standard") == "1" ? TweakMode::Standard : TweakMode::Custom;
  for (const OptionKey& k : kOptionKeys) {
    options.*k.flag = k.Ticked(ReadIniString(profile, file, k.key));
  }
  return options;
}

void LoadSettings(Profile& profile,
                  const std::string& file,
                  SearchPlatform& search,
                  WindowState& window,
                  WindowHooks& hooks) {
  if (auto folder = ChooseIcqFolder(search, ReadIniString(profile, file, "ICQPath"))) {
    SetText1(window, hooks, *folder);
  }
  SelectMode(
      window, hooks,
      ReadIniString(profile, file, "Standard") == "1" ? TweakMode::Standard : TweakMode::Custom);
  for (size_t i = 0; i < kOptionKeys.size(); ++i) {
    const bool ticked = kOptionKeys[i].Ticked(ReadIniString(profile, file, kOptionKeys[i].key));
    SetCheck(window, hooks, i, ticked ? CheckState::Ticked : CheckState::Unticked);
  }
  hooks.ApplyOptionRules();
}

void SaveSettings(Profile& profile, const std::string& file, const WindowState& window) {
  if (!window.text1.empty())
    WriteIniString(profile, file, "ICQPath", window.text1);
  WriteIniString(profile, file, "Standard", window.option2 ? "1" : "0");
  for (size_t i = 0; i < kOptionKeys.size(); ++i) {
    WriteIniString(profile, file, kOptionKeys[i].key, window.ticked(i) ? "1" : "0");
  }
}

void ShowAltSHintOnce(Profile& profile,
                      const std::string& file,
                      const std::function<void()>& show_hint) {
  if (ReadIniString(profile, file, "AltSInfo") == "1")
    return;
  show_hint();
  WriteIniString(profile, file, "AltSInfo", "1");
}

}  // namespace kelvane
