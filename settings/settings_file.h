// The settings file "kvn.ini" beside the program: the ICQ folder, the mode, the eleven options.
#pragma once

#include <functional>
#include <string>

#include "engine/tweak_options.h"
#include "install/installation_search.h"
#include "platform/profile.h"

namespace kelvane {

// The file's name beside the program, where the window keeps it.
inline constexpr char kSettingsFileName[] = "kvn.ini";
// The section and the keys beside the eleven option keys of kOptionFlags.
inline constexpr char kSettingsSection[] = "Kelvane 7.1.0.2096";
inline constexpr char kIcqPathKey[] = "ICQPath";
inline constexpr char kStandardKey[] = "Standard";  // "1" for Standard mode
inline constexpr char kLanguageKey[] = "Language";  // read only: the user writes it by hand
inline constexpr char kAltSInfoKey[] = "AltSInfo";  // "1" once the Alt+S hint was shown

// Whether the flag's box is ticked by the key's value: a box ticked by default stays ticked
// unless the key reads "0"; the others are ticked only when it reads "1", so a missing or odd
// value gives the window's default.
inline bool Ticked(const OptionFlag& flag, const std::string& value) {
  return flag.ticked_by_default ? value != "0" : value == "1";
}

// One key of the settings section; empty when the file or key is missing.
std::string ReadIniString(Profile& profile, const std::string& file, const std::string& key);
// Creates the file and the key as needed; a file that cannot be written keeps its contents.
void WriteIniString(Profile& profile,
                    const std::string& file,
                    const std::string& key,
                    const std::string& value);

// The options as the file holds them; missing keys give the window's defaults. The folder
// is the "ICQPath" text unchanged.
TweakOptions ReadOptions(Profile& profile, const std::string& file);

// What start-up puts into the window.
struct StartupSettings {
  TweakOptions options;
  std::string language_key;  // "Language", for the language rules
};

// The options and the language key as the file holds them; writes nothing.
StartupSettings ReadSettings(Profile& profile, const std::string& file);

// Reads the file for start-up, with the folder the window shows: the stored one when it holds
// ICQ, else what the installation search finds, else empty. Writes nothing.
StartupSettings LoadSettings(Profile& profile, const std::string& file, SearchPlatform& search);

// Writes the folder (only when it is not empty), the mode and the eleven flags, every key on
// every save. "Language" and "AltSInfo" are never touched.
void SaveSettings(Profile& profile, const std::string& file, const TweakOptions& options);

// After a tick of Check9: shows the Alt+S hint unless the file marks it as shown, then marks
// it at once.
void ShowAltSHintOnce(Profile& profile,
                      const std::string& file,
                      const std::function<void()>& show_hint);

}  // namespace kelvane
