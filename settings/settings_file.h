// The settings file "kvn.ini" beside the program: the ICQ folder, the mode, the eleven options.
#pragma once

#include <array>
#include <string>

#include "engine/tweak_options.h"
#include "platform/profile.h"

namespace kelvane {

inline constexpr char kSettingsSection[] = "Kelvane 7.1.0.2096";

struct OptionKey {
  const char* key;
  bool TweakOptions::*flag;
  // A box ticked by default stays ticked unless the key reads "0"; the others are ticked
  // only when it reads "1", so a missing or odd value gives the window's default.
  bool ticked_by_default;

  bool Ticked(const std::string& value) const {
    return ticked_by_default ? value != "0" : value == "1";
  }
};

extern const std::array<OptionKey, 11> kOptionKeys;

// The options as the file holds them; missing keys give the window's defaults. The folder
// is the "ICQPath" text unchanged.
TweakOptions ReadOptions(Profile& profile, const std::string& file);

}  // namespace kelvane
