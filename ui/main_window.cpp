#include "ui/main_window.h"

#include "ui/product.h"
#include "ui/report.h"

namespace kelvane::ui {
namespace {

using C = ControlId;

// Check0 ... Check10 by their place among the option flags.
size_t BoxIndex(C id) {
  return static_cast<size_t>(id) - static_cast<size_t>(C::Check0);
}

bool IsLabel(C id) {
  const ControlKind kind = Design(id).kind;
  return kind == ControlKind::Label || kind == ControlKind::Link;
}

}  // namespace

MainWindow::MainWindow(WindowServices& window, RunServices& run) : window_(window), run_(run) {
  for (const ControlDesign& d : kControls) {
    ControlState& s = at(d.id);
    s.text = CaptionOf(d.id, UiLanguage::German);
    s.rect = d.rect;
    s.visible = d.visible;
  }
}

ControlState MainWindow::state(C id) const {
  ControlState s = controls_[static_cast<int>(id)];
  if (id == C::Text1) {
    s.text = window_state_.text1;
  } else if (Design(id).kind == ControlKind::Radio) {
    s.check = TickedIf((window_state_.mode == TweakMode::Custom) == (id == C::Option1));
  } else if (Design(id).kind == ControlKind::CheckBox) {
    s.check = window_state_.checks[BoxIndex(id)];
  }
  return s;
}

bool MainWindow::Ticked(C id) const {
  return window_state_.ticked(BoxIndex(id));
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
  const Rect& line = at(C::Label1).rect;
  at(mark).rect.left = line.left + line.width + kLayoutChanges.mark_gap;
}

void MainWindow::SetVisible(C id, bool visible) {
  at(id).visible = visible;
}

void MainWindow::SetEnabled(C id, bool enabled) {
  at(id).enabled = enabled;
}

void MainWindow::Load(const std::string& command_line_text,
                      const std::string& native_language_name) {
  const StartupSettings settings = run_.LoadSettings();
  if (ChooseLanguage(native_language_name, command_line_text, settings.language_key) ==
      UiLanguage::English) {
    ApplyEnglishTexts();
  } else {
    ApplyGermanTexts();
  }
  ApplySettings(window_state_, *this, settings.options);
}

void MainWindow::ApplyEnglishTexts() {
  language_ = UiLanguage::English;
  for (const Caption& c : kCaptions) {
    if (!c.english.empty())
      SetText(c.id, std::string(c.english));
  }
  at(C::Check10).rect.width = kLayoutChanges.english_check10_width;
  at(C::Label4).rect.left = kLayoutChanges.english_label4_left;
}

void MainWindow::ApplyGermanTexts() {
  language_ = UiLanguage::German;
}

void MainWindow::Click(C id) {
  switch (Design(id).kind) {
    case ControlKind::CheckBox:
      SetValue(id, TickedIf(!Ticked(id)));
      return;
    case ControlKind::Radio:
      SetValue(id, CheckState::Ticked);
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

void MainWindow::SetValue(C id, CheckState value) {
  if (Design(id).kind == ControlKind::Radio) {
    if (value == CheckState::Ticked)
      SelectMode(window_state_, *this, id == C::Option1 ? TweakMode::Custom : TweakMode::Standard);
    return;
  }
  SetCheck(window_state_, *this, BoxIndex(id), value);
}

void MainWindow::ModeClicked() {
  ApplyOptionRules();
}

void MainWindow::CheckClicked(size_t index) {
  if (CheckBox(index) == C::Check9)
    ShowAltSHint();
  ApplyBoxRules();
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
  ApplyBoxRules();
  ValidateFolder();
}

// Every box only in Custom mode; the second of a pair only under its ticked first; the hint of
// the taskbar option while it is ticked.
void MainWindow::ApplyBoxRules() {
  const bool custom = window_state_.mode == TweakMode::Custom;
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    SetEnabled(CheckBox(i), custom);
  if (custom) {
    SetEnabled(C::Check5, Ticked(C::Check4));
    SetEnabled(C::Check1, Ticked(C::Check0));
  }
  SetVisible(C::Label4, custom && Ticked(C::Check10));
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
  at(C::Label1).rect.top = Design(C::Label1).rect.top;
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
  o.mode = window_state_.mode;
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    o.*kOptionFlags[i].flag = window_state_.ticked(i);
  return o;
}

void MainWindow::Start() {
  EndReport();
  SetText(C::Label1, Pick("Bitte warten...", "Please wait..."));
  window_.Repaint();
  const TweakOptions options = Options();
  run_.SaveSettings(options);
  RunResult result;
  window_.KeepAnsweringDuring([&] { result = run_.CheckVersionAndRun(options); });
  ShowRunResult(result.status, result.version_text);
}

void MainWindow::ShowRunResult(const RunStatus& status, const std::string& version_text) {
  EndReport();
  const Report report = ChooseReport(status, version_text, language_);
  SetText(C::Label1, report.text);
  const C mark = report.success ? C::Image1 : C::Image2;
  if (!report.success) {
    const bool two_lines = report.two_lines();
    at(C::Label1).rect.top =
        two_lines ? kLayoutChanges.two_line_label1_top : Design(C::Label1).rect.top;
    at(C::Image2).rect.top =
        two_lines ? kLayoutChanges.two_line_image2_top : Design(C::Image2).rect.top;
    if (report.help_link) {
      at(C::Label3).rect.left = language_ == UiLanguage::English
                                    ? kLayoutChanges.english_label3_left
                                    : Design(C::Label3).rect.left;
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
  const std::string chosen = window_.BrowseForFile(window_state_.text1, "ICQ (ICQ.exe)|ICQ.exe",
                                                   Pick("Bitte ICQ wählen", "Please choose ICQ"));
  // A cancelled dialog gives an empty path, which leaves the field as it was, as does any other
  // path without "\ICQ.exe".
  const size_t cut = chosen.find("\\ICQ.exe");
  if (cut != std::string::npos)
    ChangeFolderText(chosen.substr(0, cut));
}

}  // namespace kelvane::ui
