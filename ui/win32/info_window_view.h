// The info window: program name and version, the home-page button, OK. Made once, hidden on
// OK and shown again over the main window.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/control_factory.h"

namespace kelvane::ui::view {

class InfoWindowView {
 public:
  InfoWindowView(HINSTANCE instance, HWND main_window);
  ~InfoWindowView();
  // Shows the window and returns when OK (or the close box) has hidden it; the main window
  // takes no input meanwhile.
  void ShowModal();
  HWND window() const { return window_; }

 private:
  template <typename View>
  friend LRESULT CALLBACK ViewProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Hide();
  HWND Child(InfoControlId id) const;
  // Makes the fonts for the DPI and sets the controls' fonts and places at it.
  void UseDpi(UINT dpi);

  HINSTANCE instance_;
  HWND main_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;
  Fonts fonts_;
  FocusKeeper focus_;
  const std::string program_folder_;
};

}  // namespace kelvane::ui::view
