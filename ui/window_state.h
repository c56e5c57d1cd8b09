// The main window's controls that hold the user's choices, apart from any window system, and
// the handling that a change of one runs.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "engine/tweak_options.h"

namespace kelvane {

// A box's state, also a radio button's (Ticked when selected). Only a fully ticked box counts;
// a greyed one does not.
enum class CheckState { Unticked, Ticked, Greyed };

inline CheckState TickedIf(bool ticked) {
  return ticked ? CheckState::Ticked : CheckState::Unticked;
}

struct WindowState {
  WindowState();  // the boxes as the window opens, from kOptionFlags

  std::string text1;                                   // the ICQ folder field, as typed
  TweakMode mode = TweakMode::Custom;                  // Option1 or Option2 selected
  std::array<CheckState, kOptionFlags.size()> checks;  // Check0 to Check10

  bool ticked(size_t check) const { return checks[check] == CheckState::Ticked; }
};

// What the window does when a control changes, whoever changes it: the user or the program.
class WindowHooks {
 public:
  virtual ~WindowHooks() = default;
  // Text1 change: the folder validation.
  virtual void Text1Changed() = 0;
  // Option1 or Option2 became selected.
  virtual void ModeClicked() = 0;
  // The state of Check<index> changed; for Check9 this runs the Alt+S hint.
  virtual void CheckClicked(size_t index) = 0;
  virtual void ApplyOptionRules() = 0;
};

// Each setter changes one control and runs its handling only when its state changes.
void SetText1(WindowState& window, WindowHooks& hooks, const std::string& text);
void SelectMode(WindowState& window, WindowHooks& hooks, TweakMode mode);
void SetCheck(WindowState& window, WindowHooks& hooks, size_t index, CheckState state);

// What start-up read, put into the controls through the setters in the settings file's order:
// the folder, the mode, Check0 to Check10; then the option rules.
void ApplySettings(WindowState& window, WindowHooks& hooks, const TweakOptions& settings);

}  // namespace kelvane
