// The main window on screen: real controls made from the window model, kept in step with it
// after every event, laid out in twips at the window's DPI.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "ui/main_window.h"
#include "ui/win32/control_factory.h"

namespace kelvane::ui::view {

class InfoWindowView;

class MainWindowView : public WindowServices {
 public:
  explicit MainWindowView(HINSTANCE instance);
  ~MainWindowView() override;

  // The window itself, hidden, so that its DPI and fonts are known before the model is loaded.
  bool CreateFrame();
  // The controls, from the model as it stands.
  void Build(MainWindow& model);
  void Show(int show_command);
  int RunMessageLoop();
  HWND window() const { return window_; }

  void ShowMessage(const std::string& title, const std::string& text) override;
  void OpenAddress(const std::string& address, const std::string& working_folder) override;
  std::string BrowseForFile(const std::string& initial_folder,
                            const std::string& filter,
                            const std::string& title) override;
  Rect MeasureText(ControlId label, const std::string& text) override;
  void ShowInfoWindow() override;
  void Exit() override;
  void Repaint() override;
  void KeepAnsweringDuring(const std::function<void()>& step) override;

 private:
  template <typename View>
  friend LRESULT CALLBACK ViewProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(WPARAM wparam, LPARAM lparam);
  void OnTimer();
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  bool OnSetCursor(HWND control);
  void Sync();
  void MakeFonts();
  HWND Child(ControlId id) const { return children_[static_cast<int>(id)]; }

  HINSTANCE instance_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;
  Fonts fonts_;
  MainWindow* model_ = nullptr;
  std::array<HWND, kControlCount> children_{};
  std::array<ControlState, kControlCount> shown_{};  // what the controls show now
  bool shown_valid_ = false;
  int timer_starts_seen_ = 0;
  HANDLE run_thread_ = nullptr;  // the step that KeepAnsweringDuring runs beside the window
  FocusKeeper focus_;
  std::unique_ptr<InfoWindowView> info_;
};

}  // namespace kelvane::ui::view
