// The main window's controls as the settings file loads and saves them, apart from any
// window system, and the handling that a change of a control runs.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "engine/tweak_options.h"

namespace kelvane {

enum class CheckState { Unticked, Ticked, Greyed };

struct WindowState {
  std::string text1;     // the ICQ folder field, as typed
  bool option1 = true;   // Custom mode selected
  bool option2 = false;  // Standard mode selected
  // Check0 to Check10, in the order of the option flags; the window opens with the ad
  // removal boxes ticked.
  std::array<CheckState, 11> checks = {
      CheckState::Ticked,   CheckState::Ticked,   CheckState::Unticked, CheckState::Unticked,
      CheckState::Ticked,   CheckState::Ticked,   CheckState::Ticked,   CheckState::Unticked,
      CheckState::Unticked, CheckState::Unticked, CheckState::Unticked};

  // Only a fully ticked box counts; a greyed one does not.
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

}  // namespace kelvane
