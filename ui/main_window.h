// The main window as a model, free of Windows calls: every control's caption, place, enabled,
// visible and checked state, and the handlers that change them. The Win32 view shows it and
// feeds it the user's input.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "engine/run_status.h"
#include "engine/tweak_options.h"
#include "install/version_check.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "ui/controls.h"
#include "ui/window_state.h"

namespace kelvane::ui {

struct ControlState {
  std::string text;
  Rect rect;
  bool enabled = true;
  bool visible = true;
  CheckState check = CheckState::Unticked;  // check boxes and radio buttons
};

// What the window needs from the world around it.
class WindowServices {
 public:
  virtual ~WindowServices() = default;
  // Modal, information icon, one OK button.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
  virtual void OpenAddress(const std::string& address, const std::string& working_folder) = 0;
  // The chosen file's full path, or empty when cancelled.
  virtual std::string BrowseForFile(const std::string& initial_folder,
                                    const std::string& filter,
                                    const std::string& title) = 0;
  // Width of the longest line and the height of all lines of a label's text, in twips.
  virtual Rect MeasureText(ControlId label, const std::string& text) = 0;
  virtual void ShowInfoWindow() = 0;
  virtual void Exit() = 0;
  // Shows the window as the model stands now, before a long synchronous step.
  virtual void Repaint() = 0;
  // Does a step that may wait long (for another run, for files other programs hold); meanwhile
  // the window paints and answers, but takes no input.
  virtual void KeepAnsweringDuring(const std::function<void()>& step) = 0;
};

// The window's part of a run: the settings file, the folder checks, the check and the run.
class RunServices {
 public:
  virtual ~RunServices() = default;
  // The folder validation of the folder field's text.
  virtual bool StartAllowed(const std::string& folder_text) = 0;
  virtual std::string ProgramFolder() = 0;
  // What start-up puts into the window, read from the settings file and the installation search.
  virtual StartupSettings LoadSettings() = 0;
  virtual void SaveSettings(const TweakOptions& options) = 0;
  // Shows the Alt+S hint through show unless the settings file marks it as shown.
  virtual void ShowAltSHintOnce(const std::function<void()>& show) = 0;
  // The version check and, on the right version, the tweak run.
  virtual RunResult CheckVersionAndRun(const TweakOptions& options) = 0;
};

class MainWindow : private WindowHooks {
 public:
  MainWindow(WindowServices& window, RunServices& run);

  // The control as the window shows it now.
  ControlState state(ControlId id) const;
  UiLanguage language() const { return language_; }
  bool timer_running() const { return timer_running_; }
  int timer_interval() const { return timer_interval_; }
  // Counts every start of the timer, so a restart while it runs is seen.
  int timer_starts() const { return timer_starts_; }
  // Set when the report gives the focus back to Start; the view takes it.
  std::optional<ControlId> TakeFocusRequest();

  // Start-up, before the window is shown: language, captions, Start disabled, settings.
  void Load(const std::string& command_line_text, const std::string& native_language_name);

  // What the user does.
  void Click(ControlId id);
  void ChangeFolderText(const std::string& text);
  void TimerTick();

  // The program's own change of a box or radio button, which runs the same handling as a click
  // when the state changes.
  void SetValue(ControlId id, CheckState value);

  // Labels measure their text again, after the view's fonts changed; a report's mark follows.
  void MeasureLabels();
  void ShowRunResult(const RunStatus& status, const std::string& version_text);

 private:
  ControlState& at(ControlId id) { return controls_[static_cast<int>(id)]; }
  bool Ticked(ControlId id) const;
  void PlaceMarkBesideStatus(ControlId mark);
  void EndReport();
  void ApplyEnglishTexts();
  void ApplyGermanTexts();

  // What a change of a control runs, whoever makes it.
  void Text1Changed() override;
  void ModeClicked() override;
  void CheckClicked(size_t index) override;
  void ApplyOptionRules() override;
  void ApplyBoxRules();
  void SetText(ControlId id, const std::string& text);
  void SetVisible(ControlId id, bool visible);
  void SetEnabled(ControlId id, bool enabled);
  void ValidateFolder();
  void ResetStatusArea();
  void ShowAltSHint();
  void ShowWindows7Hint();
  void Start();
  void ChangeFolder();
  TweakOptions Options() const;
  const char* Pick(const char* german, const char* english) const;

  WindowServices& window_;
  RunServices& run_;
  // The folder field, the mode and the boxes' states live here; controls_ holds the rest.
  WindowState window_state_;
  std::array<ControlState, kControlCount> controls_;
  UiLanguage language_ = UiLanguage::German;
  bool timer_running_ = false;
  int timer_interval_ = 3000;
  int timer_starts_ = 0;
  std::optional<ControlId> focus_request_;
};

}  // namespace kelvane::ui
