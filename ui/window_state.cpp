#include "ui/window_state.h"

namespace kelvane {

WindowState::WindowState() {
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    checks[i] = TickedIf(kOptionFlags[i].ticked_by_default);
}

void SetText1(WindowState& window, WindowHooks& hooks, const std::string& text) {
  if (window.text1 == text)
    return;
  window.text1 = text;
  hooks.Text1Changed();
}

void SelectMode(WindowState& window, WindowHooks& hooks, TweakMode mode) {
  if (window.mode == mode)
    return;
  window.mode = mode;
  hooks.ModeClicked();
}

void SetCheck(WindowState& window, WindowHooks& hooks, size_t index, CheckState state) {
  if (window.checks[index] == state)
    return;
  window.checks[index] = state;
  hooks.CheckClicked(index);
}

void ApplySettings(WindowState& window, WindowHooks& hooks, const TweakOptions& settings) {
  SetText1(window, hooks, settings.icq_folder);
  SelectMode(window, hooks, settings.mode);
  for (size_t i = 0; i < kOptionFlags.size(); ++i)
    SetCheck(window, hooks, i, TickedIf(settings.*kOptionFlags[i].flag));
  hooks.ApplyOptionRules();
}

}  // namespace kelvane
