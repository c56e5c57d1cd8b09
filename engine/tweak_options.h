// The user's choices, as the window holds them and the settings file stores them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kelvane {

enum class TweakMode { Custom, Standard };

struct TweakOptions {
  // Each flag as kOptionFlags gives it, so that a fresh snapshot is the window as it opens.
  TweakOptions();

  std::string icq_folder;  // Text1, as typed: with or without a trailing backslash
  TweakMode mode = TweakMode::Custom;
  bool remove_contact_list_banner;    // Check0
  bool collapse_contact_list_banner;  // Check1
  bool remove_search_bar;             // Check2
  bool remove_buttons_bar;            // Check3
  bool remove_chat_banner;            // Check4
  bool collapse_chat_banner;          // Check5
  bool disable_message_field_ads;     // Check6
  bool remove_sms_tab;                // Check7
  bool enable_minimum_size;           // Check8
  bool send_with_alt_s;               // Check9
  bool hide_from_taskbar;             // Check10

  bool custom() const { return mode == TweakMode::Custom; }
};

// One option flag: its name, its key in the settings file, where TweakOptions holds it, and
// whether the window opens with its box ticked.
struct OptionFlag {
  std::string_view name;
  std::string_view key;
  bool TweakOptions::*flag;
  bool ticked_by_default;
};

// In the order of Check0 to Check10.
inline constexpr std::array<OptionFlag, 11> kOptionFlags = {{
    {"RemoveContactListBanner", "Option1", &TweakOptions::remove_contact_list_banner, true},
    {"CollapseContactListBanner", "Option2", &TweakOptions::collapse_contact_list_banner, true},
    {"RemoveSearchBar", "Option3", &TweakOptions::remove_search_bar, false},
    {"RemoveButtonsBar", "Option4", &TweakOptions::remove_buttons_bar, false},
    {"RemoveChatBanner", "Option5", &TweakOptions::remove_chat_banner, true},
    {"CollapseChatBanner", "Option6", &TweakOptions::collapse_chat_banner, true},
    {"DisableMessageFieldAds", "Option7", &TweakOptions::disable_message_field_ads, true},
    {"RemoveSmsTab", "Option8", &TweakOptions::remove_sms_tab, false},
    {"EnableMinimumSize", "Option9", &TweakOptions::enable_minimum_size, false},
    {"SendWithAltS", "Option10", &TweakOptions::send_with_alt_s, false},
    {"HideFromTaskbar", "Option11", &TweakOptions::hide_from_taskbar, false},
}};

inline TweakOptions::TweakOptions() {
  for (const OptionFlag& f : kOptionFlags)
    this->*f.flag = f.ticked_by_default;
}

}  // namespace kelvane
