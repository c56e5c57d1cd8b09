// The user's choices, as the window holds them and the settings file stores them.
#pragma once

#include <string>

namespace kelvane {

enum class TweakMode { Custom, Standard };

struct TweakOptions {
  std::string icq_folder;  // Text1, as typed: with or without a trailing backslash
  TweakMode mode = TweakMode::Custom;
  bool remove_contact_list_banner = true;    // Check0
  bool collapse_contact_list_banner = true;  // Check1
  bool remove_search_bar = false;            // Check2
  bool remove_buttons_bar = false;           // Check3
  bool remove_chat_banner = true;            // Check4
  bool collapse_chat_banner = true;          // Check5
  bool disable_message_field_ads = true;     // Check6
  bool remove_sms_tab = false;               // Check7
  bool enable_minimum_size = false;          // Check8
  bool send_with_alt_s = false;              // Check9
  bool hide_from_taskbar = false;            // Check10

  bool custom() const { return mode == TweakMode::Custom; }
};

}  // namespace kelvane
