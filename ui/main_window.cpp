#include "ui/main_window.h"

#include "settings/settings_file.h"
#include "ui/product.h"
#include "ui/report.h"

namespace kelvane::ui {
namespace {

using C = ControlId;

constexpr C kOptionBoxes[] = {C::Check0, C::Check1, C::Check2, C::Check3, C::Check4, C::Check5,
                              C::Check6, C::Check7, C::Check8, C::Check9, C::Check10};

constexpr int kStatusTop = 3290;
constexpr int kStatusTopTwoLines = 3190;
constexpr int kMarkGap = 130;

bool IsLabel(C id) {
  const ControlKind kind = Design(id).kind;
  return kind == ControlKind::Label || kind == ControlKind::Link;
}

}  // namespace

MainWindow::MainWindow(WindowServices& window, RunServices& run) : window_(window), run_(run) {
  for (const ControlDesign& d : kControls) {
    ControlState& s = at(d.id);
    s.text = d.german;
    s.rect = d.rect;
    s.visible = d.visible;
  }
}

const ControlState& MainWindow::state(C id) const {
  ControlState& s = controls_[static_cast<int>(id)];
  const int box = static_cast<int>(id) - static_cast<int>(C::Check0);
  if (id == C::Text1) {
    s.text = window_state_.text1;
  } else if (id == C::Option1 || id == C::Option2) {
    s.value = id == C::Option1 ? window_state_.option1 : window_state_.option2;
  } else if (box >= 0 && box < 11) {
    s.value = static_cast<int>(window_state_.checks[box]);
  }
  return s;
}

bool MainWindow::Ticked(C id) const {
  return window_state_.ticked(static_cast<int>(id) - static_cast<int>(C::Check0));
}

std::optional<ControlId> MainWindow::TakeFocusRequest() {
  auto request = focus_request_;
  focus_request_.reset();
  return request;
}

const char* MainWindow::Pick(const char* german, const char* english) const {
  return language_ == UiLanguage::German ? german : english;
}

void MainWindow::SetText(C id, const std::string& text) {
  ControlState& s = at(id);
  s.text = text;
  if (IsLabel(id)) {
    // Labels size themselves to their text, keeping their left and top.
    const Rect size = window_.MeasureText(id, text);
    s.rect.width = size.width;
    s.rect.height = size.height;
  }
}

void MainWindow::MeasureLabels() {
  for (const ControlDesign& d : kControls) {
    if (IsLabel(d.id))
      SetText(d.id, state(d.id).text);
  }
  // A report's mark keeps its gap to the status line, whose width may have changed.
  for (C mark : {C::Image1, C::Image2}) {
    if (state(mark).visible)
      PlaceMarkBesideStatus(mark);
  }
}

void MainWindow::PlaceMarkBesideStatus(C mark) {
  const Rect& line = state(C::Label1).rect;
  at(mark).rect.left = line.left + line.width + kMarkGap;
}

void MainWindow::SetVisible(C id, bool visible) {
  at(id).visible = visible;
}

void MainWindow::SetEnabled(C id, bool enabled) {
  at(id).enabled = enabled;
}

void MainWindow::Load(const std::string& command_line_text,
                      const std::string& native_language_name) {
  if (ChooseLanguage(native_language_name, command_line_text, run_.SettingsValue("Language")) ==
      UiLanguage::English) {
    ApplyEnglishTexts();
  } else {
    ApplyGermanTexts();
  }
  SetEnabled(C::Command3, false);
  run_.LoadSettings(window_state_, *this);
}

void MainWindow::ApplyEnglishTexts() {
  language_ = UiLanguage::English;
  for (const ControlDesign& d : kControls) {
    if (!d.english.empty())
      SetText(d.id, std::string(d.english));
  }
  at(C::Check10).rect.width = 2500;
  at(C::Label4).rect.left = 3080;
}

void MainWindow::ApplyGermanTexts() {
  language_ = UiLanguage::German;
}

void MainWindow::Click(C id) {
  switch (Design(id).kind) {
    case ControlKind::CheckBox:
      SetValue(id, Ticked(id) ? kUnchecked : kChecked);
      return;
    case ControlKind::Radio:
      SetValue(id, 1);
      return;
    default:
      break;
  }
  switch (id) {
    case C::Label4:
      ShowWindows7Hint();
      break;
    case C::Label3:
      window_.OpenAddress(kHelpPage, run_.ProgramFolder());
      break;
    case C::Command1:
      window_.ShowInfoWindow();
      break;
    case C::Command2:
      window_.Exit();
      break;
    case C::Command3:
      Start();
      break;
    case C::Command4:
      ChangeFolder();
      break;
    default:
      break;
  }
}

void MainWindow::SetValue(C id, int value) {
  if (Design(id).kind == ControlKind::Radio) {
    if (value == 1)
      SelectMode(window_state_, *this, id == C::Option1 ? TweakMode::Custom : TweakMode::Standard);
    return;
  }
  SetCheck(window_state_, *this, static_cast<int>(id) - static_cast<int>(C::Check0),
           static_cast<CheckState>(value));
}

void MainWindow::ModeClicked() {
  ApplyOptionRules();
}

void MainWindow::CheckClicked(size_t index) {
  switch (CheckBox(static_cast<int>(index))) {
    case C::Check0:
      SetEnabled(C::Check1, Ticked(C::Check0));
      break;
    case C::Check4:
      SetEnabled(C::Check5, Ticked(C::Check4));
      break;
    case C::Check10:
      SetVisible(C::Label4, Ticked(C::Check10));
      break;
    case C::Check9:
      ShowAltSHint();
      break;
    default:
      break;
  }
}

void MainWindow::ChangeFolderText(const std::string& text) {
  SetText1(window_state_, *this, text);
}

void MainWindow::Text1Changed() {
  ValidateFolder();
}

void MainWindow::ValidateFolder() {
  SetEnabled(C::Command3, run_.StartAllowed(window_state_.text1));
  ResetStatusArea();
}

void MainWindow::ApplyOptionRules() {
  EndReport();
  if (window_state_.option1) {
    for (C id : kOptionBoxes) {
      if (id != C::Check5)
        SetEnabled(id, true);
    }
    SetEnabled(C::Check5, Ticked(C::Check4));
    SetEnabled(C::Check1, Ticked(C::Check0));
    SetVisible(C::Label4, Ticked(C::Check10));
  } else if (window_state_.option2) {
    for (C id : kOptionBoxes)
      SetEnabled(id, false);
    SetVisible(C::Label4, false);
  }
  ValidateFolder();
}

// The marks, the help link and the timer of a report go.
void MainWindow::EndReport() {
  timer_running_ = false;
  SetVisible(C::Image1, false);
  SetVisible(C::Image2, false);
  SetVisible(C::Label3, false);
}

void MainWindow::ResetStatusArea() {
  EndReport();
  SetText(C::Label1, Pick("Einstellungen wählen und starten.", "Choose settings and click Start"));
  at(C::Label1).rect.top = kStatusTop;
}

void MainWindow::TimerTick() {
  ResetStatusArea();
}

void MainWindow::ShowAltSHint() {
  if (!Ticked(C::Check9))
    return;
  run_.ShowAltSHintOnce([this] {
    window_.ShowMessage(
        Pick("Wichtig", "Important"),
        Pick("Damit das Senden von Nachrichten mit Alt+S funktioniert muss in den Einstellungen "
             "von ICQ das Senden mit Strg+Eingabe gewählt werden.",
             "To send messages with Alt+S you have to choose sending messages with Ctrl+Return "
             "in the settings of ICQ."));
  });
}

void MainWindow::ShowWindows7Hint() {
  window_.ShowMessage(
      Pick("Hinweis", "Hint"),
      Pick("Diese Option kann unter Windows 7 Probleme bereiten. Entweder diese Option abwählen "
           "oder ICQ 7 im Vista-Kompatibilitätsmodus ausführen.",
           "This option could cause trouble under Windows 7. Either deactivate this option or run "
           "ICQ 7 with Vista compatibility."));
}

TweakOptions MainWindow::Options() const {
  TweakOptions o;
  o.icq_folder = window_state_.text1;
  o.mode = window_state_.option1 ? TweakMode::Custom : TweakMode::Standard;
  // Option1 ... Option11 are Check0 ... Check10.
  for (int i = 0; i < 11; ++i)
    o.*kOptionFlags[i].flag = Ticked(CheckBox(i));
  return o;
}

void MainWindow::Start() {
  EndReport();
  SetText(C::Label1, Pick("Bitte warten...", "Please wait..."));
  window_.Repaint();
  RunStatus status;
  std::string version_text;
  run_.SaveSettings(window_state_);
  run_.CheckVersionAndRun(Options(), status, version_text);
  ShowRunResult(status, version_text);
}

void MainWindow::ShowRunResult(const RunStatus& status, const std::string& version_text) {
  EndReport();
  timer_interval_ = 3000;
  const Report report = ChooseReport(status, version_text, language_);
  SetText(C::Label1, report.text);
  const C mark = report.success ? C::Image1 : C::Image2;
  if (!report.success) {
    at(C::Label1).rect.top = report.lines == 2 ? kStatusTopTwoLines : kStatusTop;
    at(C::Image2).rect.top = report.lines == 2 ? 3210 : 3180;
    if (report.help_link) {
      at(C::Label3).rect.left = language_ == UiLanguage::English ? 1840 : 2160;
      SetVisible(C::Label3, true);
    }
  }
  PlaceMarkBesideStatus(mark);
  SetVisible(mark, true);
  timer_interval_ = report.interval_ms;
  timer_running_ = true;
  ++timer_starts_;
  focus_request_ = C::Command3;
}

void MainWindow::ChangeFolder() {
  const std::string chosen = window_.BrowseForFile(state(C::Text1).text, "ICQ (ICQ.exe)|ICQ.exe",
                                                   Pick("Bitte ICQ wählen", "Please choose ICQ"));
  if (chosen.size() <= 3)
    return;
  const size_t cut = chosen.find("\\ICQ.exe");
  if (cut != std::string::npos)
    ChangeFolderText(chosen.substr(0, cut));
}

}  // namespace kelvane::ui
