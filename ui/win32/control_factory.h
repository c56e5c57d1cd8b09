// Creating and placing the window's controls by kind, in twips, at a window's DPI. Shared by
// the main window and the info window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/controls.h"

namespace kelvane::ui::win32 {

// The two fonts of the window at one DPI: the text font and its underlined twin for links.
class Fonts {
 public:
  Fonts() = default;
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;
  ~Fonts() { Release(); }
  // The design size, made smaller step by step until fits accepts the text font (so every
  // caption fits its control on systems whose face runs wider), but never below the size that
  // still draws every glyph whole: a caption that does not fit then is the caption check's to
  // find.
  void Create(UINT dpi, const std::function<bool(HFONT)>& fits = {});
  HFONT text() const { return text_; }
  HFONT link() const { return link_; }
  HFONT For(ControlKind kind) const { return kind == ControlKind::Link ? link_ : text_; }

 private:
  void Release();
  HFONT text_ = nullptr;
  HFONT link_ = nullptr;
};

// Registers a window class with the dialog background and the arrow cursor.
void RegisterWindowClass(HINSTANCE instance,
                         const wchar_t* name,
                         WNDPROC procedure,
                         HICON icon = nullptr);

// The window procedure of a view object: the object handed to CreateWindowEx gets every
// message through its Handle(), with its window_ set from the first message on.
template <typename View>
LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    view->window_ = window;
  }
  auto* view = reinterpret_cast<View*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return view ? view->Handle(message, wparam, lparam)
              : DefWindowProcW(window, message, wparam, lparam);
}

// Registers the plain container class once; its children's notifications reach its parent.
void RegisterContainerClass(HINSTANCE instance);

// Makes group boxes pass their children's notifications on to their parent too.
void ForwardNotifications(HWND group_box);

// How a control first shows.
struct ControlLook {
  std::wstring text;
  Rect rect;  // in twips
  bool visible = true;
  bool enabled = true;
  bool centred = false;  // labels only
  // A radio button right after another: the two are one group, which the arrow keys move in.
  // Every other control starts a group of its own.
  bool joins_group = false;
};

// Makes a control as it first shows in one call, rather than setting its text, place and
// states one by one afterwards: each of those is a round trip that start-up waits for.
HWND CreateControl(HINSTANCE instance,
                   ControlKind kind,
                   HWND parent,
                   int id,
                   const ControlLook& look,
                   UINT dpi);

void PlaceControl(HWND control, const Rect& twips, UINT dpi);

// Enter, which the dialog manager sends as IDOK in a window without a default button, presses
// the push button that has the focus, as a click does.
void PressFocusedButton(HWND window);

// Whether a control's caption, drawn in font, fits the control's width in pixels (with the
// box of a check box or radio button in front of it).
bool CaptionFits(HFONT font, ControlKind kind, const std::wstring& caption, int width, UINT dpi);

// Width of the longest line and height of all lines of text in the font, in twips.
Rect MeasureText(HFONT font, const std::wstring& text, UINT dpi);

}  // namespace kelvane::ui::win32
