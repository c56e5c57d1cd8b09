#include "ui/window_state.h"

namespace kelvane {

void SetText1(WindowState& window, WindowHooks& hooks, const std::string& text) {
  if (window.text1 == text)
    return;
  window.text1 = text;
  hooks.Text1Changed();
}

void SelectMode(WindowState& window, WindowHooks& hooks, TweakMode mode) {
  const bool standard = mode == TweakMode::Standard;
  if (window.option2 == standard && window.option1 == !standard)
    return;
  window.option1 = !standard;
  window.option2 = standard;
  hooks.ModeClicked();
}

void SetCheck(WindowState& window, WindowHooks& hooks, size_t index, CheckState state) {
  if (window.checks[index] == state)
    return;
  window.checks[index] = state;
  hooks.CheckClicked(index);
}

}  // namespace kelvane
