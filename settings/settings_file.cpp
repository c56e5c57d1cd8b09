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

TweakOptions ReadOptions(Profile& profile, const std::string& file) {
  auto read = [&](const char* key) { return profile.Read(file, kSettingsSection, key); };
  TweakOptions options;
  options.icq_folder = read("ICQPath");
  options.mode = read("Standard") == "1" ? TweakMode::Standard : TweakMode::Custom;
  for (const OptionKey& k : kOptionKeys) {
    options.*k.flag = k.Ticked(read(k.key));
  }
  return options;
}

}  // namespace kelvane
