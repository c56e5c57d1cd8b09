#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/window_run.h"
#include "settings/settings_file.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"

namespace kelvane::ui {
namespace {

using C = ControlId;

// Labels measure 60 twips a character on their longest line and 195 a line.
class FakeWindow : public WindowServices {
 public:
  std::vector<std::pair<std::string, std::string>> messages;
  std::vector<std::string> opened;
  std::string browse_result;
  std::vector<std::string> browse_calls;
  int info_shown = 0, exits = 0, repaints = 0;
  int char_width = 60;  // in twips; a new font at another DPI changes it

  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.emplace_back(title, text);
  }
  void OpenAddress(const std::string& address, const std::string& folder) override {
    opened.push_back(address + " in " + folder);
  }
  std::string BrowseForFile(const std::string& initial,
                            const std::string& filter,
                            const std::string& title) override {
    browse_calls.push_back(initial + "|" + filter + "|" + title);
    return browse_result;
  }
  Rect MeasureText(C, const std::string& text) override {
    int lines = 1, longest = 0, current = 0;
    for (char c : text) {
      if (c == '\n') {
        ++lines;
        current = 0;
      } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        longest = std::max(longest, ++current);
      }
    }
    return {0, 0, char_width * longest, 195 * lines};
  }
  void ShowInfoWindow() override { ++info_shown; }
  void Exit() override { ++exits; }
  void Repaint() override { ++repaints; }
};

// The real link to settings and folder checks, over fakes; only the run itself is staged.
struct FakePlatform {
  FakePlatform() {
    for (const char* file : {"C:\\ICQ7.1\\ICQ.exe", "C:\\ICQ7.1\\MCore.dll", "C:\\ICQ.exe",
                             "C:\\MCore.dll", "C:\\Half\\ICQ.exe"}) {
      fs.AddFile(file);
    }
    fs.AddFolder("C:\\Old");
  }
  FakeFileSystem fs;
  TemplateDirResources resources{""};
  FakeSystemInfo system;
  FakeProfile profile;
  FakeRegistry registry;
  FakePathNames paths;
  FakeFileVersions versions;
  AppPlatform platform{fs, resources, system, profile, registry, paths, versions, "C:\\Kelvane\\"};
};

class FakeRun : public FakePlatform, public WindowRun {
 public:
  FakeRun() : WindowRun(platform) {}
  RunStatus outcome;
  std::string version_found;
  std::vector<TweakOptions> runs;

  void Set(const std::string& key, const std::string& value) {
    profile.Write(kIni, kSettingsSection, key, value);
  }
  std::string Get(const std::string& key) { return profile.Read(kIni, kSettingsSection, key); }
  bool Has(const std::string& key) { return profile.values.count({kIni, kSettingsSection, key}); }
  // Where the installation search finds ICQ.
  void Register(const std::string& folder) {
    registry.Set(RegistryRoot::LocalMachine,
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "{88EB38EF-4D2C-436D-ABD3-56B232674062}",
                 "InstallLocation", folder);
  }
  RunResult CheckVersionAndRun(const TweakOptions& o) override {
    runs.push_back(o);
    return {outcome, version_found};
  }

 private:
  static constexpr char kIni[] = "C:\\Kelvane\\kvn.ini";
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : model_(window_, run_) {}
  void Load(const std::string& command_line = "", const std::string& native = "English") {
    model_.Load(command_line, native);
  }
  ControlState S(C id) { return model_.state(id); }

  FakeWindow window_;
  FakeRun run_;
  MainWindow model_;
};

TEST_F(MainWindowTest, StartUpWithoutSettings) {
  Load("", "Deutsch");
  EXPECT_EQ(model_.language(), UiLanguage::German);
  EXPECT_EQ(S(C::Option1).check, CheckState::Ticked);
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    EXPECT_EQ(S(CheckBox(i)).check, TickedIf(kOptionFlags[i].ticked_by_default)) << i;
  EXPECT_FALSE(S(C::Command3).enabled) << "no folder found";
  EXPECT_EQ(S(C::Label1).text, "Einstellungen wählen und starten.");
  EXPECT_TRUE(window_.messages.empty());
}

TEST_F(MainWindowTest, StoredFolderOrTheSearchFillsTheField) {
  struct Row {
    std::string stored;
    std::optional<std::string> found;
    std::string field;
    bool start;
  };
  const Row rows[] = {
      {"C:\\ICQ7.1", std::nullopt, "C:\\ICQ7.1", true},
      {"C:\\ICQ7.1\\", std::nullopt, "C:\\ICQ7.1\\", true},
      {"C:\\Old", "C:\\ICQ7.1", "C:\\ICQ7.1", true},
      {"C:\\Half", "C:\\ICQ7.1", "C:\\ICQ7.1", true},  // no MCore.dll
      {"C:\\", "C:\\ICQ7.1", "C:\\ICQ7.1", true},      // a drive root is never taken
      {"C:", "C:\\ICQ7.1", "C:\\ICQ7.1", true},
      {"", "C:\\ICQ7.1", "C:\\ICQ7.1", true},
      {"", std::nullopt, "", false},
  };
  for (const Row& r : rows) {
    FakeWindow window;
    FakeRun run;
    run.Set("ICQPath", r.stored);
    if (r.found)
      run.Register(*r.found + "\\");
    MainWindow model(window, run);
    model.Load("", "English");
    EXPECT_EQ(model.state(C::Text1).text, r.field) << r.stored;
    EXPECT_EQ(model.state(C::Command3).enabled, r.start) << r.stored;
    EXPECT_EQ(run.profile.values.size(), 1u) << "loading writes nothing";
  }
}

TEST_F(MainWindowTest, EnglishTextsAndTheirTwoLayoutChanges) {
  Load("-english", "Deutsch");
  EXPECT_EQ(S(C::Check8).text, "Activate minimum size of chat window");
  EXPECT_EQ(S(C::Command2).text, "Exit");
  EXPECT_EQ(S(C::Command3).text, "Start");
  EXPECT_EQ(S(C::Check10).rect.width, 2500);
  EXPECT_EQ(S(C::Label4).rect.left, 3080);
  EXPECT_EQ(S(C::Label1).text, "Choose settings and click Start");
  MainWindow german(window_, run_);
  german.Load("", "Deutsch");
  EXPECT_EQ(german.state(C::Check10).rect.width, 2895);
  EXPECT_EQ(german.state(C::Label4).rect.left, 3480);
  EXPECT_EQ(german.state(C::Check8).text, "Minimalgröße für Haupt- && Chatfenster aktivieren");
  run_.Set("Language", "English");
  MainWindow by_file(window_, run_);
  by_file.Load("", "Deutsch");
  EXPECT_EQ(by_file.language(), UiLanguage::English) << "the settings file's Language key";
}

TEST_F(MainWindowTest, OptionRules) {
  run_.Set("ICQPath", "C:\\ICQ7.1");
  Load();
  model_.Click(C::Check10);
  EXPECT_TRUE(S(C::Label4).visible);
  model_.Click(C::Option2);
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    EXPECT_FALSE(S(CheckBox(i)).enabled) << i;
  EXPECT_FALSE(S(C::Label4).visible);
  EXPECT_EQ(S(C::Check0).check, CheckState::Ticked) << "ticks survive Standard";
  EXPECT_TRUE(S(C::Command3).enabled);
  model_.Click(C::Option1);
  EXPECT_TRUE(S(C::Check1).enabled);
  EXPECT_TRUE(S(C::Label4).visible);
  model_.Click(C::Check0);
  EXPECT_FALSE(S(C::Check1).enabled);
  EXPECT_EQ(S(C::Check1).check, CheckState::Ticked) << "the tick stays";
  model_.Click(C::Check4);
  model_.Click(C::Option2);
  model_.Click(C::Option1);
  EXPECT_FALSE(S(C::Check1).enabled);
  EXPECT_FALSE(S(C::Check5).enabled);
  EXPECT_TRUE(S(C::Check2).enabled);
}

TEST_F(MainWindowTest, AltSHintOnceAndFromTheLoaderToo) {
  Load();
  model_.Click(C::Check9);
  ASSERT_EQ(window_.messages.size(), 1u);
  EXPECT_EQ(window_.messages[0].first, "Important");
  EXPECT_EQ(run_.Get("AltSInfo"), "1");
  model_.Click(C::Check9);
  model_.Click(C::Check9);
  EXPECT_EQ(window_.messages.size(), 1u);

  FakeWindow window;
  FakeRun run;
  run.Set("Option10", "1");
  MainWindow loaded(window, run);
  loaded.Load("", "Deutsch");
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].first, "Wichtig");
  EXPECT_EQ(run.Get("AltSInfo"), "1");
}

TEST_F(MainWindowTest, Windows7HintAndHelpLink) {
  Load("", "Deutsch");
  model_.Click(C::Label4);
  ASSERT_EQ(window_.messages.size(), 1u);
  EXPECT_EQ(window_.messages[0].first, "Hinweis");
  model_.Click(C::Label3);
  ASSERT_EQ(window_.opened.size(), 1u);
  EXPECT_TRUE(window_.opened[0].ends_with("/forum/viewtopic.php?t=2236 in C:\\Kelvane\\"));
}

TEST_F(MainWindowTest, ReportPlacementAndTimer) {
  struct Row {
    Failure failure;
    bool wrong_version;
    UiLanguage language;
    int status_top;
    C mark;
    int mark_top;
    bool help;
    int help_left;
    int interval;
  };
  const Row rows[] = {
      {Failure::None, false, UiLanguage::English, 3290, C::Image1, 3210, false, 0, 3000},
      {Failure::WriteFailed, false, UiLanguage::English, 3290, C::Image2, 3180, false, 0, 3000},
      {Failure::DataAccessFailed, false, UiLanguage::German, 3190, C::Image2, 3210, false, 0, 3000},
      {Failure::ResetProtectionFailed, false, UiLanguage::English, 3190, C::Image2, 3210, true,
       1840, 5000},
      {Failure::ResetProtectionFailed, false, UiLanguage::German, 3190, C::Image2, 3210, true, 2160,
       5000},
      {Failure::None, true, UiLanguage::English, 3290, C::Image2, 3180, false, 0, 3000},
  };
  for (const Row& r : rows) {
    FakeWindow window;
    FakeRun run;
    run.Set("ICQPath", "C:\\ICQ7.1");
    run.outcome.failure = r.failure;
    run.outcome.wrong_version = r.wrong_version;
    run.version_found = "7.0 Build #1234";
    MainWindow model(window, run);
    model.Load("", r.language == UiLanguage::German ? "Deutsch" : "English");
    model.Click(C::Command3);
    auto line_end = [&] {
      return model.state(C::Label1).rect.left + model.state(C::Label1).rect.width;
    };
    EXPECT_EQ(model.state(C::Label1).rect.top, r.status_top);
    EXPECT_TRUE(model.state(r.mark).visible);
    EXPECT_FALSE(model.state(r.mark == C::Image1 ? C::Image2 : C::Image1).visible);
    EXPECT_EQ(model.state(r.mark).rect.left, line_end() + 130);
    EXPECT_EQ(model.state(r.mark).rect.top, r.mark_top);
    EXPECT_EQ(model.state(C::Label3).visible, r.help);
    if (r.help) {
      EXPECT_EQ(model.state(C::Label3).rect.left, r.help_left);
    }
    EXPECT_TRUE(model.timer_running());
    EXPECT_EQ(model.timer_interval(), r.interval);
    EXPECT_EQ(model.TakeFocusRequest(), C::Command3);
    window.char_width = 75;
    model.MeasureLabels();
    EXPECT_EQ(model.state(r.mark).rect.left, line_end() + 130) << "after the fonts changed";
    model.TimerTick();
    EXPECT_FALSE(model.timer_running());
    EXPECT_FALSE(model.state(r.mark).visible);
    EXPECT_EQ(model.state(C::Label1).rect.top, 3290);
  }
}

TEST_F(MainWindowTest, StartSavesTheOptionsAndRunsWithThem) {
  run_.Set("ICQPath", "C:\\ICQ7.1");
  Load();
  model_.Click(C::Check2);
  model_.SetValue(C::Check4, CheckState::Greyed);
  model_.Click(C::Option2);
  model_.Click(C::Command3);
  ASSERT_EQ(run_.runs.size(), 1u);
  EXPECT_EQ(run_.runs[0].mode, TweakMode::Standard);
  EXPECT_TRUE(run_.runs[0].remove_search_bar);
  EXPECT_FALSE(run_.runs[0].remove_chat_banner) << "a greyed box is not ticked";
  EXPECT_EQ(run_.runs[0].icq_folder, "C:\\ICQ7.1");
  EXPECT_EQ(run_.Get("Standard"), "1");
  EXPECT_EQ(run_.Get("Option3"), "1");
  EXPECT_EQ(run_.Get("Option1"), "1");
  EXPECT_EQ(run_.Get("Option10"), "0");
  EXPECT_EQ(run_.Get("Option5"), "0");
  EXPECT_EQ(S(C::Label1).text, "Changes successful!");
  EXPECT_EQ(window_.repaints, 1) << "Please wait... is shown before the run";
}

TEST_F(MainWindowTest, EditingTheFolderOrTheModeEndsTheReport) {
  run_.Set("ICQPath", "C:\\ICQ7.1");
  run_.outcome.failure = Failure::ResetProtectionFailed;
  Load();
  for (auto change : {+[](MainWindow& m) { m.ChangeFolderText("C:\\ICQ7.1\\"); },
                      +[](MainWindow& m) { m.Click(C::Option2); }}) {
    model_.Click(C::Command3);
    ASSERT_TRUE(S(C::Image2).visible);
    change(model_);
    EXPECT_FALSE(S(C::Image2).visible);
    EXPECT_FALSE(S(C::Label3).visible);
    EXPECT_FALSE(model_.timer_running());
    EXPECT_EQ(S(C::Label1).text, "Choose settings and click Start");
    EXPECT_EQ(S(C::Label1).rect.top, 3290);
  }
}

TEST_F(MainWindowTest, ChangeButtonTakesTheFolderOfTheChosenIcqExe) {
  struct Row {
    std::string chosen;
    std::string field;
  };
  const Row rows[] = {
      {"", "C:\\Start"},  // cancelled
      {"C:\\ICQ7.1\\ICQ.exe", "C:\\ICQ7.1"},
      {"C:\\ICQ7.1\\icq.exe", "C:\\Start"},     // the cut is case-sensitive
      {"C:\\a\\ICQ.exe\\b\\ICQ.exe", "C:\\a"},  // first occurrence
      {"C:\\ICQ7.1\\Other.exe", "C:\\Start"},
  };
  for (const Row& r : rows) {
    FakeWindow window;
    FakeRun run;
    MainWindow model(window, run);
    model.Load("", "English");
    model.ChangeFolderText("C:\\Start");
    window.browse_result = r.chosen;
    model.Click(C::Command4);
    EXPECT_EQ(model.state(C::Text1).text, r.field) << r.chosen;
    EXPECT_EQ(window.browse_calls.back(), "C:\\Start|ICQ (ICQ.exe)|ICQ.exe|Please choose ICQ");
  }
}

TEST_F(MainWindowTest, ExitAndInfoDoNotSave) {
  Load();
  model_.Click(C::Check3);
  model_.Click(C::Command1);
  model_.Click(C::Command2);
  EXPECT_EQ(window_.info_shown, 1);
  EXPECT_EQ(window_.exits, 1);
  EXPECT_FALSE(run_.Has("Option4"));
}

constexpr auto U = CheckState::Unticked;
constexpr auto K = CheckState::Ticked;

// The window's side of start-up: records every handling in order; Check9 runs the Alt+S hint.
class RecordingHooks : public WindowHooks {
 public:
  explicit RecordingHooks(RunServices& run) : run_(&run) {}
  void Text1Changed() override { log += "Text1 "; }
  void ModeClicked() override { log += "Mode "; }
  void CheckClicked(size_t index) override {
    log += "Check" + std::to_string(index) + " ";
    if (index == 9 && state.ticked(9))
      run_->ShowAltSHintOnce([&] { ++hints; });
  }
  void ApplyOptionRules() override { log += "Rules"; }

  WindowState state;
  std::string log;
  int hints = 0;

 private:
  RunServices* run_;
};

// What start-up read reaches the controls through their setters: a control whose state does
// not change runs no handling. The rows add to one settings file in turn.
TEST(ApplySettings, OnlyAChangedControlRunsItsHandling) {
  const auto opened = WindowState().checks;
  const std::array odd = {K, U, U, U, K, K, K, U, U, K, K};
  const struct {
    std::map<std::string, std::string> keys;
    std::string log;
    TweakMode mode;
    std::array<CheckState, kOptionFlags.size()> checks;
    int hints;
  } rows[] = {
      {{}, "Rules", TweakMode::Custom, opened, 0},
      {{{"ICQPath", "C:\\ICQ7.1"}}, "Text1 Rules", TweakMode::Custom, opened, 0},
      {{{"ICQPath", ""},
        {"Standard", "true"},
        {"Option1", "no"},
        {"Option2", "0"},
        {"Option3", "yes"},
        {"Option10", "1"},
        {"Option11", "1"}},
       "Check1 Check9 Check10 Rules",
       TweakMode::Custom,
       odd,
       1},
      // The Alt+S hint of the row before is not shown again.
      {{{"Standard", "1"}}, "Mode Check1 Check9 Check10 Rules", TweakMode::Standard, odd, 0},
  };
  FakeRun run;
  for (const auto& r : rows) {
    for (const auto& [key, value] : r.keys)
      run.Set(key, value);
    RecordingHooks w(run);
    ApplySettings(w.state, w, run.LoadSettings().options);
    EXPECT_EQ(w.log, r.log);
    EXPECT_EQ(w.state.mode, r.mode) << r.log;
    EXPECT_EQ(w.state.checks, r.checks) << r.log;
    EXPECT_EQ(w.hints, r.hints) << r.log;
  }
  EXPECT_EQ(run.Get("AltSInfo"), "1");
}

}  // namespace
}  // namespace kelvane::ui
