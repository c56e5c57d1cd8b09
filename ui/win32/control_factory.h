// What the main window and the info window share: creating and placing their controls by kind,
// in twips, at a window's DPI; their window procedure, colours and place on the screen; opening
// an address.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/controls.h"

namespace kelvane::ui::view {

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

// Child window ids: the main window's controls from 100 in ControlId order, the info window's
// from 200 in InfoControlId order, clear of IDOK and IDCANCEL, which the dialog manager sends for
// Enter and Esc.
inline constexpr int kMainChildIds = 100;
inline constexpr int kInfoChildIds = 200;

inline int ChildId(ControlId id) {
  return kMainChildIds + static_cast<int>(id);
}

inline int ChildId(InfoControlId id) {
  return kInfoChildIds + static_cast<int>(id);
}

// WM_DPICHANGED, which the Windows 7 headers lack.
inline constexpr UINT kDpiChanged = 0x02E0;

// The dialog background behind a control's text.
LRESULT ControlColour(HDC dc);

// Gives the control that had the focus back when the window is active again or restored, as in
// a dialog; the first of the keyboard order when there is none or it cannot take it now.
class FocusKeeper {
 public:
  void OnActivate(HWND window, bool active);

 private:
  HWND last_ = nullptr;  // the control that had the focus when the window last went inactive
};

// The window procedure of a view object, with its window_ set from the first message on: the
// controls' colours alike for every view, a change of DPI to its OnDpiChanged(), activation,
// minimising and restoring to its focus_, every other message to its Handle().
template <typename View>
LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    view->window_ = window;
  }
  auto* view = reinterpret_cast<View*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view)
    return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColour(reinterpret_cast<HDC>(wparam));
    case kDpiChanged:
      view->OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE:
      // Activated while minimised, the window itself takes the keys until it is restored.
      if (LOWORD(wparam) != WA_INACTIVE && HIWORD(wparam))
        return DefWindowProcW(window, message, wparam, lparam);
      view->focus_.OnActivate(window, LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_SIZE:
      // Minimised, the control with the focus is kept; restored, it gets the keys back.
      if (wparam == SIZE_MINIMIZED || GetFocus() == window)
        view->focus_.OnActivate(window, wparam != SIZE_MINIMIZED);
      return view->Handle(message, wparam, lparam);
    default:
      return view->Handle(message, wparam, lparam);
  }
}

// Gives the window the outer size for its client area (twips) at the DPI, with its top left
// corner at corner, or centred on the work area of its owner's monitor (else its own) without one.
void PlaceWindow(HWND window,
                 DWORD style,
                 const Rect& client,
                 UINT dpi,
                 std::optional<POINT> corner = std::nullopt);

// Registers the plain container class once; its children's notifications reach its parent.
void RegisterContainerClass(HINSTANCE instance);

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

}  // namespace kelvane::ui::view
