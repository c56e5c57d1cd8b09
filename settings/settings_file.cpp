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

StartupSettings ReadSettings(Profile& profile, const std::string& file) {
  return {ReadOptions(profile, file), ReadIniString(profile, file, kLanguageKey)};
}

StartupSettings LoadSettings(Profile& profile, const std::string& file, SearchPlatform& search) {
  StartupSettings read = ReadSettings(profile, file);
  read.options.icq_folder = ChooseIcqFolder(search, read.options.icq_folder).value_or("");
  return read;
}

void SaveSettings(Profile& profile, const std::string& file, const TweakOptions& options) {
  if (!options.icq_folder.empty())
    WriteIniString(profile, file, kIcqPathKey, options.icq_folder);
  WriteIniString(profile, file, kStandardKey, options.custom() ? "0" : "1");
  for (const OptionFlag& f : kOptionFlags)
    WriteIniString(profile, file, std::string(f.key), options.*f.flag ? "1" : "0");
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
