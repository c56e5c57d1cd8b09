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

// Labels measure char_width twips a character on their longest line and 195 a line.
class FakeWindow : public WindowServices {
 public:
  std::vector<std::string> messages;  // titles
  std::vector<std::string> calls;     // addresses opened, browse requests, info, exit
  std::string browse_result;
  int repaints = 0;
  int char_width = 60;  // a new font at another DPI changes it

  void ShowMessage(const std::string& title, const std::string&) override {
    messages.push_back(title);
  }
  void OpenAddress(const std::string& address, const std::string& folder) override {
    calls.push_back(address + " in " + folder);
  }
  std::string BrowseForFile(const std::string& initial,
                            const std::string& filter,
                            const std::string& title) override {
    calls.push_back(initial + "|" + filter + "|" + title);
    return browse_result;
  }
  Rect MeasureText(C, const std::string& text) override {
    int lines = 1, longest = 0, current = 0;
    for (char c : text) {
      if (c == '\n')
        ++lines, current = 0;
      else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80)
        longest = std::max(longest, ++current);
    }
    return {0, 0, char_width * longest, 195 * lines};
  }
  void ShowInfoWindow() override { calls.push_back("info"); }
  void Exit() override { calls.push_back("exit"); }
  void Repaint() override { ++repaints; }
};

// The real link to the settings file and the folder checks, over fakes; only the run itself is
// staged.
struct FakePlatform {
  FakePlatform() {
    for (const char* file :
         {"C:\\ICQ7.1\\ICQ.exe", "C:\\ICQ7.1\\MCore.dll", "C:\\ICQ.exe", "C:\\MCore.dll",
          "C:\\Half\\ICQ.exe", "C:\\A\\ICQ.exe", "C:\\A\\MCore.dll"}) {
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
  std::vector<TweakOptions> runs;

  void Set(const std::string& key, const std::string& value) {
    profile.Write(kIni, kSettingsSection, key, value);
  }
  std::string Get(const std::string& key) { return profile.Read(kIni, kSettingsSection, key); }
  RunResult CheckVersionAndRun(const TweakOptions& o) override {
    runs.push_back(o);
    return {outcome, "7.0 Build #1234"};
  }

 private:
  static constexpr char kIni[] = "C:\\Kelvane\\kvn.ini";
};

// One window over its own fakes, loaded from the settings given.
struct Window {
  explicit Window(std::map<std::string, std::string> settings = {{"ICQPath", "C:\\ICQ7.1"}},
                  const std::string& command_line = "",
                  const std::string& native = "English") {
    for (const auto& [key, value] : settings)
      run.Set(key, value);
    model.Load(command_line, native);
  }
  ControlState S(C id) { return model.state(id); }

  FakeWindow window;
  FakeRun run;
  MainWindow model{window, run};
};

TEST(MainWindow, StoredFolderOrTheSearchFillsTheField) {
  const struct {
    std::string stored;
    const char* found;  // where the installation search finds ICQ
    std::string field;
  } rows[] = {
      {"C:\\ICQ7.1", nullptr, "C:\\ICQ7.1"},
      {"C:\\ICQ7.1\\", nullptr, "C:\\ICQ7.1\\"},
      {"C:\\A", "C:\\ICQ7.1\\", "C:\\A"},  // the shortest folder name below a drive
      {"C:\\Old", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},
      {"C:\\Half", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},  // no MCore.dll
      {"C:\\", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},      // a drive root is never taken
      {"C:", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},
      {"", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},
      {"", nullptr, ""},
  };
  for (const auto& r : rows) {
    FakeWindow window;
    FakeRun run;
    run.Set("ICQPath", r.stored);
    if (r.found) {
      run.registry.Set(RegistryRoot::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                       "{88EB38EF-4D2C-436D-ABD3-56B232674062}",
                       "InstallLocation", r.found);
    }
    MainWindow model(window, run);
    model.Load("", "Deutsch");
    EXPECT_EQ(model.state(C::Text1).text, r.field) << r.stored;
    EXPECT_EQ(model.state(C::Command3).enabled, !r.field.empty()) << r.stored;
    EXPECT_EQ(run.profile.values.size(), 1u) << "loading writes nothing";
    EXPECT_EQ(model.state(C::Label1).text, "Einstellungen wählen und starten.");
  }
}

// Labels take their text's size; every other control keeps its own.
TEST(MainWindow, LanguageTextsAndLayout) {
  Window english({}, "-english", "Deutsch");
  EXPECT_EQ(english.model.language(), UiLanguage::English);
  EXPECT_EQ(english.S(C::Check8).text, "Activate minimum size of chat window");
  EXPECT_EQ(english.S(C::Check8).rect, Design(C::Check8).rect);
  EXPECT_EQ(english.S(C::Command2).text, "Exit");
  EXPECT_EQ(english.S(C::Command2).rect, Design(C::Command2).rect);
  EXPECT_EQ(english.S(C::Label1).text, "Choose settings and click Start");
  EXPECT_EQ(english.S(C::Label1).rect, (Rect{240, 3290, 60 * 31, 195}));
  EXPECT_EQ(english.S(C::Check10).rect.width, 2500);
  EXPECT_EQ(english.S(C::Label4).rect, (Rect{3080, 2900, 60 * 4, 195}));
  Window german({}, "", "Deutsch");
  EXPECT_EQ(german.model.language(), UiLanguage::German);
  EXPECT_EQ(german.S(C::Check10).rect.width, 2895);
  EXPECT_EQ(german.S(C::Label4).rect.left, 3480);
  EXPECT_EQ(german.S(C::Check8).text, "Minimalgröße für Haupt- && Chatfenster aktivieren");
  Window by_file({{"Language", "English"}}, "", "Deutsch");
  EXPECT_EQ(by_file.model.language(), UiLanguage::English);
}

TEST(MainWindow, OptionRules) {
  Window w;
  w.model.Click(C::Check10);
  EXPECT_TRUE(w.S(C::Label4).visible);
  w.model.Click(C::Option2);
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    EXPECT_FALSE(w.S(CheckBox(i)).enabled) << i;
  EXPECT_FALSE(w.S(C::Label4).visible);
  EXPECT_EQ(w.S(C::Check0).check, CheckState::Ticked) << "ticks survive Standard";
  EXPECT_TRUE(w.S(C::Command3).enabled);
  w.model.Click(C::Option1);
  EXPECT_TRUE(w.S(C::Check1).enabled);
  EXPECT_TRUE(w.S(C::Label4).visible);
  w.model.Click(C::Check0);
  EXPECT_FALSE(w.S(C::Check1).enabled);
  EXPECT_EQ(w.S(C::Check1).check, CheckState::Ticked) << "the tick stays";
  w.model.Click(C::Check4);
  w.model.Click(C::Option2);
  w.model.Click(C::Option1);
  EXPECT_FALSE(w.S(C::Check1).enabled);
  EXPECT_FALSE(w.S(C::Check5).enabled);
  EXPECT_TRUE(w.S(C::Check2).enabled);
}

TEST(MainWindow, AltSHintOnceWhetherClickedOrLoaded) {
  Window clicked;
  for (int i = 0; i < 3; ++i)
    clicked.model.Click(C::Check9);
  EXPECT_EQ(clicked.window.messages, std::vector<std::string>{"Important"});
  EXPECT_EQ(clicked.run.Get("AltSInfo"), "1");
  Window loaded({{"Option10", "1"}}, "", "Deutsch");
  EXPECT_EQ(loaded.window.messages, std::vector<std::string>{"Wichtig"});
  EXPECT_EQ(loaded.run.Get("AltSInfo"), "1");
}

TEST(MainWindow, HintHelpInfoAndExitSaveNothing) {
  Window w({}, "", "Deutsch");
  w.model.Click(C::Check3);
  for (C id : {C::Label4, C::Label3, C::Command1, C::Command2})
    w.model.Click(id);
  EXPECT_EQ(w.window.messages, std::vector<std::string>{"Hinweis"});
  ASSERT_EQ(w.window.calls.size(), 3u);
  EXPECT_TRUE(w.window.calls[0].ends_with("/forum/viewtopic.php?t=2236 in C:\\Kelvane\\"));
  EXPECT_EQ(w.window.calls[1], "info");
  EXPECT_EQ(w.window.calls[2], "exit");
  EXPECT_EQ(w.run.Get("Option4"), "");
}

TEST(MainWindow, ReportPlacementAndTimer) {
  const struct {
    Failure failure;
    bool wrong_version;
    const char* native;
    int status_top;
    C mark;
    int mark_top;
    int help_left;  // 0: no help link
    int interval;
  } rows[] = {
      {Failure::None, false, "English", 3290, C::Image1, 3210, 0, 3000},
      {Failure::WriteFailed, false, "English", 3290, C::Image2, 3180, 0, 3000},
      {Failure::DataAccessFailed, false, "Deutsch", 3190, C::Image2, 3210, 0, 3000},
      {Failure::ResetProtectionFailed, false, "English", 3190, C::Image2, 3210, 1840, 5000},
      {Failure::ResetProtectionFailed, false, "Deutsch", 3190, C::Image2, 3210, 2160, 5000},
      {Failure::None, true, "English", 3290, C::Image2, 3180, 0, 3000},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.mark_top + r.help_left);
    Window w({{"ICQPath", "C:\\ICQ7.1"}}, "", r.native);
    w.run.outcome.failure = r.failure;
    w.run.outcome.wrong_version = r.wrong_version;
    w.model.Click(C::Command3);
    const auto line_end = [&] { return w.S(C::Label1).rect.left + w.S(C::Label1).rect.width; };
    EXPECT_EQ(w.S(C::Label1).rect.top, r.status_top);
    EXPECT_TRUE(w.S(r.mark).visible);
    EXPECT_FALSE(w.S(r.mark == C::Image1 ? C::Image2 : C::Image1).visible);
    EXPECT_EQ(w.S(r.mark).rect.left, line_end() + 130);
    EXPECT_EQ(w.S(r.mark).rect.top, r.mark_top);
    EXPECT_EQ(w.S(C::Label3).visible, r.help_left != 0);
    if (r.help_left) {
      EXPECT_EQ(w.S(C::Label3).rect.left, r.help_left);
    }
    EXPECT_TRUE(w.model.timer_running());
    EXPECT_EQ(w.model.timer_interval(), r.interval);
    EXPECT_EQ(w.model.TakeFocusRequest(), C::Command3);
    w.window.char_width = 75;
    w.model.MeasureLabels();
    EXPECT_EQ(w.S(r.mark).rect.left, line_end() + 130) << "after the fonts changed";
    w.model.TimerTick();
    EXPECT_FALSE(w.model.timer_running());
    EXPECT_FALSE(w.S(r.mark).visible);
    EXPECT_EQ(w.S(C::Label1).rect.top, 3290);
  }
}

TEST(MainWindow, StartSavesTheOptionsAndRunsWithThem) {
  Window w;
  w.model.Click(C::Check0);
  w.model.Click(C::Check2);
  w.model.SetValue(C::Check4, CheckState::Greyed);
  w.model.Click(C::Option2);
  w.model.Click(C::Command3);
  ASSERT_EQ(w.run.runs.size(), 1u);
  const TweakOptions& o = w.run.runs[0];
  EXPECT_EQ(o.mode, TweakMode::Standard);
  EXPECT_FALSE(o.remove_contact_list_banner);
  EXPECT_TRUE(o.collapse_contact_list_banner);
  EXPECT_TRUE(o.remove_search_bar);
  EXPECT_FALSE(o.remove_chat_banner) << "a greyed box is not ticked";
  EXPECT_EQ(o.icq_folder, "C:\\ICQ7.1");
  const std::map<std::string, std::string> saved = {{"Standard", "1"}, {"Option1", "0"},
                                                    {"Option2", "1"},  {"Option3", "1"},
                                                    {"Option5", "0"},  {"Option10", "0"}};
  for (const auto& [key, value] : saved)
    EXPECT_EQ(w.run.Get(key), value) << key;
  EXPECT_EQ(w.S(C::Label1).text, "Changes successful!");
  EXPECT_EQ(w.window.repaints, 1) << "Please wait... is shown before the run";
}

TEST(MainWindow, EditingTheFolderOrTheModeEndsTheReport) {
  Window w;
  w.run.outcome.failure = Failure::ResetProtectionFailed;
  for (auto change : {+[](MainWindow& m) { m.ChangeFolderText("C:\\ICQ7.1\\"); },
                      +[](MainWindow& m) { m.Click(C::Option2); }}) {
    w.model.Click(C::Command3);
    ASSERT_TRUE(w.S(C::Image2).visible);
    change(w.model);
    EXPECT_FALSE(w.S(C::Image2).visible);
    EXPECT_FALSE(w.S(C::Label3).visible);
    EXPECT_FALSE(w.model.timer_running());
    EXPECT_EQ(w.S(C::Label1).text, "Choose settings and click Start");
    EXPECT_EQ(w.S(C::Label1).rect.top, 3290);
  }
}

TEST(MainWindow, ChangeButtonTakesTheFolderOfTheChosenIcqExe) {
  const std::pair<std::string, std::string> rows[] = {
      {"", "C:\\Start"},  // cancelled
      {"C:\\ICQ7.1\\ICQ.exe", "C:\\ICQ7.1"},
      {"C:\\ICQ7.1\\icq.exe", "C:\\Start"},     // the cut is case-sensitive
      {"C:\\a\\ICQ.exe\\b\\ICQ.exe", "C:\\a"},  // first occurrence
      {"C:\\ICQ7.1\\Other.exe", "C:\\Start"},
  };
  for (const auto& [chosen, field] : rows) {
    Window w({}, "", "English");
    w.model.ChangeFolderText("C:\\Start");
    w.window.browse_result = chosen;
    w.model.Click(C::Command4);
    EXPECT_EQ(w.S(C::Text1).text, field) << chosen;
    EXPECT_EQ(w.window.calls.back(), "C:\\Start|ICQ (ICQ.exe)|ICQ.exe|Please choose ICQ");
  }
}

constexpr auto U = CheckState::Unticked;
constexpr auto K = CheckState::Ticked;

// The window's side of start-up: records every handling in order.
class RecordingHooks : public WindowHooks {
 public:
  void Text1Changed() override { log += "Text1 "; }
  void ModeClicked() override { log += "Mode "; }
  void CheckClicked(size_t index) override { log += "Check" + std::to_string(index) + " "; }
  void ApplyOptionRules() override { log += "Rules"; }

  WindowState state;
  std::string log;
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
  } rows[] = {
      {{}, "Rules", TweakMode::Custom, opened},
      {{{"ICQPath", "C:\\ICQ7.1"}}, "Text1 Rules", TweakMode::Custom, opened},
      {{{"ICQPath", ""},
        {"Standard", "true"},
        {"Option1", "no"},
        {"Option2", "0"},
        {"Option3", "yes"},
        {"Option10", "1"},
        {"Option11", "1"}},
       "Check1 Check9 Check10 Rules",
       TweakMode::Custom,
       odd},
      {{{"Standard", "1"}}, "Mode Check1 Check9 Check10 Rules", TweakMode::Standard, odd},
  };
  FakeRun run;
  for (const auto& r : rows) {
    for (const auto& [key, value] : r.keys)
      run.Set(key, value);
    RecordingHooks w;
    ApplySettings(w.state, w, run.LoadSettings().options);
    EXPECT_EQ(w.log, r.log);
    EXPECT_EQ(w.state.mode, r.mode) << r.log;
    EXPECT_EQ(w.state.checks, r.checks) << r.log;
  }
}

}  // namespace
}  // namespace kelvane::ui
