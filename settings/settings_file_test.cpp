#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "settings/language.h"
#include "tests/fakes/fake_platform.h"

namespace kelvane {
namespace {

using T = TweakOptions;

const std::string kFile = "C:\\Kelvane\\kvn.ini";

TEST(SettingsFile, ReadRules) {
  FakeProfile empty;
  const TweakOptions defaults = ReadOptions(empty, kFile);
  const bool ticked[] = {true, true, false, false, true, true, true, false, false, false, false};
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    EXPECT_EQ(defaults.*kOptionFlags[i].flag, ticked[i]) << "the window's default of Check" << i;
  const struct {
    const char* key;
    const char* value;
    bool T::*flag;
    bool ticked;
  } rows[] = {
      {"Option1", "0", &T::remove_contact_list_banner, false},
      {"Option2", "false", &T::collapse_contact_list_banner, true},
      {"Option4", "true", &T::remove_buttons_bar, false},
      {"Option6", " 0", &T::collapse_chat_banner, true},
      {"Option8", "1", &T::remove_sms_tab, true},
      {"Option9", "01", &T::enable_minimum_size, false},
  };
  for (const auto& r : rows) {
    FakeProfile profile;
    profile.Write(kFile, kSettingsSection, r.key, r.value);
    EXPECT_EQ(ReadOptions(profile, kFile).*r.flag, r.ticked) << r.key << "=" << r.value;
  }
  for (const auto& [value, mode] :
       {std::pair{"1", TweakMode::Standard}, {"true", TweakMode::Custom}}) {
    FakeProfile profile;
    profile.Write(kFile, kSettingsSection, "Standard", value);
    profile.Write(kFile, kSettingsSection, "ICQPath", "C:\\ICQ7.1");
    profile.Write(kFile, "Other section", "Standard", "1");
    EXPECT_EQ(ReadOptions(profile, kFile).mode, mode) << value;
    EXPECT_EQ(ReadOptions(profile, kFile).icq_folder, "C:\\ICQ7.1");
  }
}

TEST(SettingsFile, SaveWritesEveryKeyButLanguageAndAltSInfo) {
  FakeProfile profile;
  for (const char* key : {"Language", "AltSInfo", "ICQPath"})
    profile.Write(kFile, kSettingsSection, key, "kept");
  TweakOptions options(TweakMode::Standard);
  for (const OptionFlag& f : kOptionFlags)
    options.*f.flag = f.key == "Option2" || f.key == "Option4" || f.key == "Option11";
  SaveSettings(profile, kFile, options);
  const std::map<std::string, std::string> expected = {
      {"AltSInfo", "kept"}, {"ICQPath", "kept"}, {"Language", "kept"}, {"Standard", "1"},
      {"Option1", "0"},     {"Option2", "1"},    {"Option3", "0"},     {"Option4", "1"},
      {"Option5", "0"},     {"Option6", "0"},    {"Option7", "0"},     {"Option8", "0"},
      {"Option9", "0"},     {"Option10", "0"},   {"Option11", "1"}};
  EXPECT_EQ(profile.values.size(), expected.size());
  for (const auto& [key, value] : expected)
    EXPECT_EQ(profile.Read(kFile, kSettingsSection, key), value) << key;
  options.icq_folder = "C:\\ICQ7.1";
  options.mode = TweakMode::Custom;
  SaveSettings(profile, kFile, options);
  EXPECT_EQ(profile.Read(kFile, kSettingsSection, "ICQPath"), "C:\\ICQ7.1");
  EXPECT_EQ(profile.Read(kFile, kSettingsSection, "Standard"), "0");
}

TEST(Language, LastMatchingRuleWins) {
  const struct {
    const char* native;
    const char* command_line;
    const char* key;
    UiLanguage expected;
  } rows[] = {
      {"English", "-english -german", "", UiLanguage::English},
      {"English", "-GERMAN", "", UiLanguage::English},
      {"Deutsch", "x-englishy", "", UiLanguage::English},
      {"English", "-english", "German", UiLanguage::German},
      {"Deutsch", "-german", "English", UiLanguage::English},
      {"Deutsch", "", "english", UiLanguage::German},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ChooseLanguage(r.native, r.command_line, r.key), r.expected)
        << r.native << "|" << r.command_line << "|" << r.key;
  }
}

}  // namespace
}  // namespace kelvane
