#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "settings/language.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using T = TweakOptions;

const std::string kFile = "C:\\Kelvane\\kvn.ini";

TEST(SettingsFile, MissingFileGivesTheWindowDefaults) {
  FakeProfile profile;
  const TweakOptions o = ReadOptions(profile, kFile);
  EXPECT_TRUE(o.custom());
  EXPECT_EQ(o.icq_folder, "");
  for (const OptionFlag& f : kOptionFlags) {
    const bool ticked = f.flag == &T::remove_contact_list_banner ||
                        f.flag == &T::collapse_contact_list_banner ||
                        f.flag == &T::remove_chat_banner || f.flag == &T::collapse_chat_banner ||
                        f.flag == &T::disable_message_field_ads;
    EXPECT_EQ(o.*f.flag, ticked);
  }
}

TEST(SettingsFile, ReadRules) {
  struct Row {
    const char* key;
    const char* value;
    Flag flag;
    bool ticked;
  };
  const Row rows[] = {
      {"Option1", "0", &T::remove_contact_list_banner, false},
      {"Option1", "no", &T::remove_contact_list_banner, true},
      {"Option1", "1", &T::remove_contact_list_banner, true},
      {"Option2", "false", &T::collapse_contact_list_banner, true},
      {"Option3", "yes", &T::remove_search_bar, false},
      {"Option3", "1", &T::remove_search_bar, true},
      {"Option4", "true", &T::remove_buttons_bar, false},
      {"Option5", "0", &T::remove_chat_banner, false},
      {"Option6", " 0", &T::collapse_chat_banner, true},
      {"Option7", "0", &T::disable_message_field_ads, false},
      {"Option8", "1", &T::remove_sms_tab, true},
      {"Option9", "01", &T::enable_minimum_size, false},
      {"Option10", "1", &T::send_with_alt_s, true},
      {"Option11", "1", &T::hide_from_taskbar, true},
      {"Option11", "2", &T::hide_from_taskbar, false},
  };
  for (const Row& r : rows) {
    FakeProfile profile;
    profile.Write(kFile, kSettingsSection, r.key, r.value);
    EXPECT_EQ(ReadOptions(profile, kFile).*r.flag, r.ticked) << r.key << "=" << r.value;
  }
}

TEST(SettingsFile, ModeAndFolder) {
  const std::vector<std::pair<const char*, TweakMode>> rows = {{"1", TweakMode::Standard},
                                                               {"0", TweakMode::Custom},
                                                               {"true", TweakMode::Custom},
                                                               {"", TweakMode::Custom}};
  for (const auto& [value, mode] : rows) {
    FakeProfile profile;
    profile.Write(kFile, kSettingsSection, "Standard", value);
    profile.Write(kFile, kSettingsSection, "ICQPath", "C:\\ICQ7.1");
    profile.Write(kFile, "Other section", "Standard", "1");
    const TweakOptions o = ReadOptions(profile, kFile);
    EXPECT_EQ(o.mode, mode) << value;
    EXPECT_EQ(o.icq_folder, "C:\\ICQ7.1");
  }
}

constexpr auto U = CheckState::Unticked;
constexpr auto K = CheckState::Ticked;
constexpr auto G = CheckState::Greyed;

// The window's side: records every handling in order; Check9 runs the Alt+S hint.
class RecordingWindow : public WindowHooks {
 public:
  explicit RecordingWindow(Profile& profile) : profile_(&profile) {}
  void Text1Changed() override { log += "Text1 "; }
  void ModeClicked() override { log += "Mode "; }
  void CheckClicked(size_t index) override {
    log += "Check" + std::to_string(index) + " ";
    if (index == 9 && state.ticked(9))
      ShowAltSHintOnce(*profile_, kFile, [&] { ++hints; });
  }
  void ApplyOptionRules() override { log += "Rules"; }

  WindowState state;
  std::string log;
  int hints = 0;

 private:
  Profile* profile_;
};

class LoadSettingsTest : public ::testing::Test {
 protected:
  LoadSettingsTest() {
    fs_.AddFile("C:\\ICQ7.1\\ICQ.exe");
    fs_.AddFile("C:\\ICQ7.1\\MCore.dll");
    fs_.AddFile("C:\\ICQ.exe");
    fs_.AddFile("C:\\MCore.dll");
    fs_.AddFile("C:\\Found\\ICQ.exe");
    fs_.AddFile("C:\\Found\\MCore.dll");
    fs_.AddFile("C:\\Half\\ICQ.exe");
  }
  void Set(const char* key, const char* value) {
    profile_.Write(kFile, kSettingsSection, key, value);
  }
  RecordingWindow& Load() {
    SearchPlatform search{fs_, registry_, paths_, "C:\\Kelvane\\"};
    LoadSettings(profile_, kFile, search, window_.state, window_);
    return window_;
  }

  FakeFileSystem fs_;
  FakeRegistry registry_;
  FakePathNames paths_;
  FakeProfile profile_;
  RecordingWindow window_{profile_};
};

TEST_F(LoadSettingsTest, MissingFileChangesNothingTheUserSees) {
  const WindowState opened;
  const RecordingWindow& w = Load();
  EXPECT_EQ(w.state.text1, "");
  EXPECT_TRUE(w.state.option1 && !w.state.option2);
  EXPECT_EQ(w.state.checks, (std::array{K, K, U, U, K, K, K, U, U, U, U}));
  EXPECT_EQ(w.state.checks, opened.checks);
  EXPECT_EQ(w.log, "Rules") << "no control changed";
  EXPECT_TRUE(profile_.values.empty()) << "loading writes nothing";
}

TEST_F(LoadSettingsTest, StoredFolderOrTheSearch) {
  const struct {
    const char* stored;
    const char* shown;
  } rows[] = {
      {"C:\\ICQ7.1", "C:\\ICQ7.1"}, {"C:\\ICQ7.1\\", "C:\\ICQ7.1\\"},
      {"C:\\Half", "C:\\Found"},    {"C:\\", "C:\\Found"},
      {"C:", "C:\\Found"},          {"", "C:\\Found"},
  };
  registry_.Set(RegistryRoot::LocalMachine, kSearchTable[0].key, "InstallLocation", "C:\\Found\\");
  for (const auto& r : rows) {
    window_ = RecordingWindow(profile_);
    Set("ICQPath", r.stored);
    EXPECT_EQ(Load().state.text1, r.shown) << r.stored;
    EXPECT_EQ(window_.log, "Text1 Rules");
    EXPECT_EQ(profile_.Read(kFile, kSettingsSection, "ICQPath"), r.stored);
  }
}

TEST_F(LoadSettingsTest, OddValuesAndTheHandlingTheyRun) {
  Set("Standard", "true");
  Set("Option1", "no");
  Set("Option2", "0");
  Set("Option3", "yes");
  Set("Option10", "1");
  Set("Option11", "1");
  const RecordingWindow& w = Load();
  EXPECT_TRUE(w.state.option1);
  EXPECT_EQ(w.state.checks, (std::array{K, U, U, U, K, K, K, U, U, K, K}));
  EXPECT_EQ(w.log, "Check1 Check9 Check10 Rules");
  EXPECT_EQ(w.hints, 1) << "the loader's tick of Check9 shows the Alt+S hint";
  EXPECT_EQ(profile_.Read(kFile, kSettingsSection, "AltSInfo"), "1");

  window_ = RecordingWindow(profile_);
  Set("Standard", "1");
  EXPECT_TRUE(Load().state.option2);
  EXPECT_EQ(window_.log, "Mode Check1 Check9 Check10 Rules");
  EXPECT_EQ(window_.hints, 0) << "shown once only";
}

TEST_F(LoadSettingsTest, AltSHintOnlyOnTheFirstTick) {
  for (CheckState s : {K, U, K})
    SetCheck(window_.state, window_, 9, s);
  EXPECT_EQ(window_.hints, 1);
}

TEST(SaveSettings, WritesEveryKeyButLanguageAndAltSInfo) {
  FakeProfile profile;
  for (const char* key : {"Language", "AltSInfo", "ICQPath"}) {
    profile.Write(kFile, kSettingsSection, key, "kept");
  }
  WindowState window;
  window.option1 = false;
  window.option2 = true;
  window.checks = {G, K, U, K, U, U, U, U, U, U, K};
  SaveSettings(profile, kFile, window);
  const std::map<std::string, std::string> expected = {
      {"AltSInfo", "kept"}, {"ICQPath", "kept"}, {"Language", "kept"}, {"Standard", "1"},
      {"Option1", "0"},     {"Option2", "1"},    {"Option3", "0"},     {"Option4", "1"},
      {"Option5", "0"},     {"Option6", "0"},    {"Option7", "0"},     {"Option8", "0"},
      {"Option9", "0"},     {"Option10", "0"},   {"Option11", "1"}};
  EXPECT_EQ(profile.values.size(), expected.size());
  for (const auto& [key, value] : expected) {
    EXPECT_EQ(profile.Read(kFile, kSettingsSection, key), value) << key;
  }
  window.text1 = "C:\\ICQ7.1";
  SaveSettings(profile, kFile, window);
  EXPECT_EQ(profile.Read(kFile, kSettingsSection, "ICQPath"), "C:\\ICQ7.1");
}

TEST(Language, LastMatchingRuleWins) {
  struct Row {
    const char* native;
    const char* command_line;
    const char* key;
    UiLanguage expected;
  };
  const Row rows[] = {
      {"Deutsch", "", "", UiLanguage::German},
      {"English", "", "", UiLanguage::English},
      {"", "", "", UiLanguage::English},
      {"English", "-german", "", UiLanguage::German},
      {"Deutsch", "-english", "", UiLanguage::English},
      {"English", "-german -english", "", UiLanguage::English},
      {"English", "-english -german", "", UiLanguage::English},
      {"English", "-English", "", UiLanguage::English},
      {"Deutsch", "-GERMAN", "", UiLanguage::German},
      {"Deutsch", "x-englishy", "", UiLanguage::English},
      {"English", "-english", "German", UiLanguage::German},
      {"Deutsch", "-german", "English", UiLanguage::English},
      {"Deutsch", "", "english", UiLanguage::German},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ChooseLanguage(r.native, r.command_line, r.key), r.expected)
        << r.native << "|" << r.command_line << "|" << r.key;
  }
}

}  // namespace
}  // namespace kelvane
