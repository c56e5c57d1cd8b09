#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/window_run.h"
#include "tests/fakes/fake_machine.h"
#include "ui/report.h"

namespace kelvane::ui {
namespace {

using C = ControlId;

// One window on a faked machine: the real settings file and folder checks, only the version
// check and the run staged. Labels measure char_width twips a byte and one line high.
class Window : public FakeMachine, public WindowServices, public WindowRun {
 public:
  explicit Window(std::map<std::string, std::string> settings = {{"ICQPath", "C:\\ICQ7.1"}},
                  const std::string& native = "English",
                  const std::string& command_line = "",
                  const std::string& recorded = "")
      : WindowRun(platform) {
    for (const char* file : {"C:\\ICQ7.1\\ICQ.exe", "C:\\ICQ7.1\\MCore.dll", "C:\\ICQ.exe",
                             "C:\\MCore.dll", "C:\\A\\ICQ.exe", "C:\\A\\MCore.dll"}) {
      fs.AddFile(file);
    }
    fs.AddFolder("C:\\Old");
    if (!recorded.empty())
      Record(recorded);
    for (const auto& [key, value] : settings)
      Set(key, value);
    model.Load(command_line, native);
  }
  ControlState S(C id) { return model.state(id); }

  void ShowMessage(const std::string& title, const std::string&) override {
    shown.push_back(title);
  }
  void OpenAddress(const std::string& address, const std::string& folder) override {
    shown.push_back(address + " in " + folder);
  }
  std::string BrowseForFile(const std::string& initial,
                            const std::string& filter,
                            const std::string& title) override {
    shown.push_back(initial + "|" + filter + "|" + title);
    return browse_result;
  }
  Rect MeasureText(C, const std::string& text) override {
    return {0, 0, char_width * static_cast<int>(text.size()), 195};
  }
  void ShowInfoWindow() override { shown.push_back("info"); }
  void Exit() override { shown.push_back("exit"); }
  void Repaint() override {
    const bool report = S(C::Image1).visible || S(C::Image2).visible || S(C::Label3).visible ||
                        model.timer_running();
    shown.push_back(S(C::Label1).text + (report ? " beside a report" : ""));
  }
  void KeepAnsweringDuring(const std::function<void()>& step) override { step(); }
  RunResult CheckVersionAndRun(const TweakOptions& options) override {
    runs.push_back(options);
    return result;
  }

  // Message titles, addresses opened, browse requests, info, exit, the status line repainted.
  std::vector<std::string> shown;
  std::string browse_result;
  int char_width = 60;  // a new font at another DPI changes it
  RunResult result;
  std::vector<TweakOptions> runs;
  MainWindow model{*this, *this};
};

TEST(MainWindow, StoredFolderOrTheSearchFillsTheField) {
  const struct {
    std::string stored, recorded, field;
  } rows[] = {
      {"C:\\ICQ7.1", "", "C:\\ICQ7.1"},
      {"C:\\ICQ7.1\\", "", "C:\\ICQ7.1\\"},
      {"C:\\A", "C:\\ICQ7.1\\", "C:\\A"},  // the shortest folder name below a drive
      {"C:\\Old", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},
      {"C:\\", "C:\\ICQ7.1\\", "C:\\ICQ7.1"},  // a drive root is never taken
      {"", "", ""},
  };
  for (const auto& r : rows) {
    Window w({{"ICQPath", r.stored}}, "Deutsch", "", r.recorded);
    EXPECT_EQ(w.S(C::Text1).text, r.field) << r.stored;
    EXPECT_EQ(w.S(C::Command3).enabled, !r.field.empty()) << r.stored;
    EXPECT_EQ(w.profile.values.size(), 1u) << "loading writes nothing";
    EXPECT_EQ(w.S(C::Label1).text, "Einstellungen wählen und starten.");
  }
}

// Labels take their text's size; every other control keeps its own.
TEST(MainWindow, LanguageTextsAndLayout) {
  Window english({}, "Deutsch", "-english");
  EXPECT_EQ(english.model.language(), UiLanguage::English);
  EXPECT_EQ(english.S(C::Check8).text, "Activate minimum size of chat window");
  EXPECT_EQ(english.S(C::Check8).rect, Design(C::Check8).rect);
  EXPECT_EQ(english.S(C::Label1).text, "Choose settings and click Start");
  EXPECT_EQ(english.S(C::Label1).rect, (Rect{240, 3290, 60 * 31, 195}));
  EXPECT_EQ(english.S(C::Check10).rect.width, 2500);
  EXPECT_EQ(english.S(C::Label4).rect, (Rect{3080, 2900, 60 * 4, 195}));
  Window german({}, "Deutsch");
  EXPECT_EQ(german.model.language(), UiLanguage::German);
  EXPECT_EQ(german.S(C::Check10).rect.width, 2895);
  EXPECT_EQ(german.S(C::Label4).rect.left, 3480);
  EXPECT_EQ(german.S(C::Check8).text, "Minimalgröße für Haupt- && Chatfenster aktivieren");
  Window by_file({{"Language", "English"}}, "Deutsch");
  EXPECT_EQ(by_file.model.language(), UiLanguage::English);
}

TEST(MainWindow, OptionRules) {
  Window w;
  w.model.Click(C::Check10);
  EXPECT_TRUE(w.S(C::Label4).visible);
  w.model.Click(C::Option2);
  EXPECT_EQ(w.S(C::Option2).check, CheckState::Ticked);
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
  EXPECT_FALSE(w.S(C::Check5).enabled);
  w.model.Click(C::Option2);
  w.model.Click(C::Option1);
  EXPECT_FALSE(w.S(C::Check1).enabled);
  EXPECT_FALSE(w.S(C::Check5).enabled);
  EXPECT_TRUE(w.S(C::Check2).enabled);
}

// The Alt+S hint comes once ever, whether the box is clicked or loaded ticked; none of the
// hints, the help link, the info window and Exit saves the settings.
TEST(MainWindow, HintsHelpInfoAndExit) {
  Window clicked;
  for (int i = 0; i < 3; ++i)
    clicked.model.Click(C::Check9);
  EXPECT_EQ(clicked.shown, std::vector<std::string>{"Important"});
  EXPECT_EQ(clicked.Get("AltSInfo"), "1");
  Window loaded({{"Option10", "1"}}, "Deutsch");
  loaded.model.Click(C::Check3);
  for (C id : {C::Label4, C::Label3, C::Command1, C::Command2})
    loaded.model.Click(id);
  EXPECT_EQ(loaded.shown, (std::vector<std::string>{
                              "Wichtig", "Hinweis",
                              "www.kelvane.example/forum/viewtopic.php?t=2236 in C:\\Kelvane\\",
                              "info", "exit"}));
  EXPECT_EQ(loaded.Get("AltSInfo"), "1");
  EXPECT_EQ(loaded.Get("Option4"), "");
}

// Every report in both languages: its text, where it and its mark stand, the help link, how
// long it stays. The mark follows the status line when the fonts change; the tick ends it, and
// so does the next Start, lest the tick fall in the next run and show the idle text during it.
TEST(MainWindow, Reports) {
  const struct {
    Failure failure;
    bool wrong_version;
    std::string version;  // as the version check read it
    std::string english, german;
    int status_top;
    C mark;
    int mark_top, interval;
    bool help;
  } rows[] = {
      {Failure::DataAccessFailed, true, "7.0 Build #1",
       "Error! The banner ads couldn't be removed!\r\nData access failed!",
       "Fehler beim Entfernen der Banner!\r\nDatenzugriff fehlgeschlagen!", 3190, C::Image2, 3210,
       3000, false},
      {Failure::WriteFailed, false, "", "Error! Couldn't write data!",
       "Fehler beim Schreiben der Daten!", 3290, C::Image2, 3180, 3000, false},
      {Failure::HostsAccessDenied, false, "", "Access error! Got administrator rights?",
       "Zugriffsfehler! Administratorrechte vorhanden?", 3290, C::Image2, 3180, 3000, false},
      {Failure::ResetProtectionFailed, false, "",
       "Couldn't create reset protection!\r\nPlease do it manually.",
       "Reset-Schutz konnte nicht erstellt werden!\r\nBitte manuell durchführen.", 3190, C::Image2,
       3210, 5000, true},
      {Failure::None, true, "7.0 Build #1234", "Wrong version of ICQ! (7.0 Build #1234)",
       "Falsche Version von ICQ! (7.0 Build #1234)", 3290, C::Image2, 3180, 3000, false},
      {Failure::None, true, "", "Wrong version of ICQ!", "Falsche Version von ICQ!", 3290,
       C::Image2, 3180, 3000, false},
      {Failure::None, false, "7.1.0.2096", "Changes successful!",
       "Änderungen erfolgreich durchgeführt!", 3290, C::Image1, 3210, 3000, false},
  };
  for (const auto& r : rows) {
    for (const std::string native : {"English", "Deutsch"}) {
      SCOPED_TRACE(r.english + " in " + native);
      Window w({{"ICQPath", "C:\\ICQ7.1"}}, native);
      w.result = {{r.failure, r.wrong_version, {}}, r.version};
      w.model.Click(C::Command3);
      w.model.Click(C::Command3);  // again, while the report stands
      const auto line_end = [&] { return w.S(C::Label1).rect.left + w.S(C::Label1).rect.width; };
      EXPECT_EQ(w.shown, std::vector<std::string>(
                             2, native == "English" ? "Please wait..." : "Bitte warten..."))
          << "shown before each run, the report gone";
      EXPECT_EQ(w.S(C::Label1).text, native == "English" ? r.english : r.german);
      EXPECT_EQ(w.S(C::Label1).rect.top, r.status_top);
      EXPECT_TRUE(w.S(r.mark).visible);
      EXPECT_FALSE(w.S(r.mark == C::Image1 ? C::Image2 : C::Image1).visible);
      EXPECT_EQ(w.S(r.mark).rect.left, line_end() + 130);
      EXPECT_EQ(w.S(r.mark).rect.top, r.mark_top);
      EXPECT_EQ(w.S(C::Label3).visible, r.help);
      if (r.help) {
        EXPECT_EQ(w.S(C::Label3).rect.left, native == "English" ? 1840 : 2160);
      }
      EXPECT_TRUE(w.model.timer_running());
      EXPECT_EQ(w.model.timer_interval(), r.interval);
      EXPECT_EQ(w.model.TakeFocusRequest(), C::Command3);
      EXPECT_EQ(w.model.TakeFocusRequest(), std::nullopt) << "Start would keep taking the focus";
      w.char_width = 75;
      w.model.MeasureLabels();
      EXPECT_EQ(w.S(C::Label1).rect.width, 75 * static_cast<int>(w.S(C::Label1).text.size()));
      EXPECT_EQ(w.S(r.mark).rect.left, line_end() + 130) << "after the fonts changed";
      w.model.TimerTick();
      EXPECT_FALSE(w.model.timer_running());
      EXPECT_FALSE(w.S(r.mark).visible);
      EXPECT_EQ(w.S(C::Label1).rect.top, 3290);
    }
  }
  RunStatus status;  // a failure raised later in a run replaces an earlier one
  status.Raise(Failure::ResetProtectionFailed, "");
  status.Raise(Failure::WriteFailed, "");
  EXPECT_EQ(ChooseReport(status, "", UiLanguage::English).text, "Error! Couldn't write data!");
}

TEST(MainWindow, StartSavesTheOptionsAndRunsWithThem) {
  Window w;
  w.model.Click(C::Check0);
  w.model.Click(C::Check2);
  w.model.SetValue(C::Check4, CheckState::Greyed);
  w.model.Click(C::Option2);
  w.model.Click(C::Command3);
  ASSERT_EQ(w.runs.size(), 1u);
  const TweakOptions& o = w.runs[0];
  EXPECT_EQ(o.mode, TweakMode::Standard);
  EXPECT_FALSE(o.remove_contact_list_banner);
  EXPECT_TRUE(o.collapse_contact_list_banner);
  EXPECT_TRUE(o.remove_search_bar);
  EXPECT_FALSE(o.remove_chat_banner) << "a greyed box is not ticked";
  EXPECT_EQ(o.icq_folder, "C:\\ICQ7.1");
  EXPECT_EQ(w.Get("Option1"), "0") << "saved";
}

TEST(MainWindow, EditingTheFolderOrTheModeEndsTheReport) {
  Window w;
  w.result.status.failure = Failure::ResetProtectionFailed;
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
    Window w({}, "English");
    w.model.ChangeFolderText("C:\\Start");
    w.browse_result = chosen;
    w.model.Click(C::Command4);
    EXPECT_EQ(w.S(C::Text1).text, field) << chosen;
    EXPECT_EQ(w.shown.back(), "C:\\Start|ICQ (ICQ.exe)|ICQ.exe|Please choose ICQ");
  }
  Window german({}, "Deutsch");
  german.model.Click(C::Command4);
  EXPECT_EQ(german.shown.back(), "|ICQ (ICQ.exe)|ICQ.exe|Bitte ICQ wählen");
}

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
// not change runs no handling.
TEST(ApplySettings, OnlyAChangedControlRunsItsHandling) {
  TweakOptions changed;
  changed.icq_folder = "C:\\ICQ7.1";
  changed.mode = TweakMode::Standard;
  changed.remove_contact_list_banner = changed.collapse_contact_list_banner = false;
  changed.send_with_alt_s = changed.hide_from_taskbar = true;
  const std::pair<TweakOptions, std::string> rows[] = {
      {TweakOptions(), "Rules"}, {changed, "Text1 Mode Check0 Check1 Check9 Check10 Rules"}};
  for (const auto& [options, log] : rows) {
    RecordingHooks hooks;
    ApplySettings(hooks.state, hooks, options);
    EXPECT_EQ(hooks.log, log);
    EXPECT_EQ(hooks.state.text1, options.icq_folder);
    EXPECT_EQ(hooks.state.mode, options.mode) << log;
    for (size_t i = 0; i < kOptionFlags.size(); ++i)
      EXPECT_EQ(hooks.state.ticked(i), options.*kOptionFlags[i].flag) << log << i;
  }
}

}  // namespace
}  // namespace kelvane::ui
