// controls_window.exe: Kelvane's window as its controls alone, made by the same factory with
// the same manifest, places and captions, but without the settings, the installation search
// and the window model; the second floor that Kelvane's start-up is measured against, telling
// what the controls themselves cost from what Kelvane adds.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "platform/win32/text.h"
#include "tools/floor_window.h"
#include "ui/win32/control_factory.h"
#include "ui/win32/dpi.h"

using namespace kelvane::ui;
using namespace kelvane::ui::view;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  InitCommonControls();
  RegisterContainerClass(instance);
  RegisterWindowClass(instance, L"ControlsWindow", kelvane::floor::QuitOnDestroy);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const Rect& client = Design(ControlId::Form1).rect;
  const SIZE frame =
      FrameSize(TwipsToPixels(client.width, 96), TwipsToPixels(client.height, 96), kStyle, 96);
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"ControlsWindow", L"Controls window", kStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr,
                                instance, nullptr);
  if (!window)
    return 1;
  Fonts fonts;
  fonts.Create(96);
  // Containers stand before their controls in the table.
  std::array<HWND, kControlCount> made{};
  for (const ControlDesign& d : kControls) {
    if (d.id == ControlId::Form1) {
      made[0] = window;
      continue;
    }
    const std::string caption(CaptionOf(d.id, kelvane::UiLanguage::English));
    HWND control =
        CreateControl(instance, d.kind, made[static_cast<int>(d.container)], static_cast<int>(d.id),
                      {kelvane::win32::Widen(caption), d.rect, d.visible, true, false}, 96);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.For(d.kind)), FALSE);
    made[static_cast<int>(d.id)] = control;
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  return kelvane::floor::RunMessageLoop();
}
