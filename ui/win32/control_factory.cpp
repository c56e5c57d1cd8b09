#include "ui/win32/control_factory.h"

#include <commctrl.h>

#include "ui/win32/dpi.h"

namespace kelvane::ui::win32 {
namespace {

constexpr wchar_t kContainerClass[] = L"KelvanePanel";

bool Passes(UINT message) {
  return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM ||
         message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT;
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (Passes(message)) return SendMessageW(GetParent(window), message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                              DWORD_PTR) {
  if (Passes(message)) return SendMessageW(GetParent(window), message, wparam, lparam);
  // A group box leaves its inside to its parent, which clips it away; paint it here.
  if (message == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(window, &r);
    FillRect(reinterpret_cast<HDC>(wparam), &r, GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

HFONT MakeFont(UINT dpi, bool underline) {
  // 8.25 point, the window's design size; a TrueType face so it stays sharp when scaled.
  LOGFONTW font{};
  font.lfHeight = -MulDiv(825, static_cast<int>(dpi), 7200);
  font.lfWeight = FW_NORMAL;
  font.lfUnderline = underline;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpyW(font.lfFaceName, L"Microsoft Sans Serif");
  return CreateFontIndirectW(&font);
}

}  // namespace

void Fonts::Create(UINT dpi) {
  Release();
  text_ = MakeFont(dpi, false);
  link_ = MakeFont(dpi, true);
}

void Fonts::Release() {
  if (text_) DeleteObject(text_);
  if (link_) DeleteObject(link_);
  text_ = link_ = nullptr;
}

void RegisterContainerClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ContainerProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
}

void ForwardNotifications(HWND group_box) {
  SetWindowSubclass(group_box, GroupBoxProc, 1, 0);
}

HWND CreateControl(HINSTANCE instance, ControlKind kind, HWND parent, int id,
                   const std::wstring& text, bool centred) {
  const wchar_t* window_class = L"STATIC";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Link:
      style |= SS_NOTIFY | (centred ? SS_CENTER : SS_LEFT);
      break;
    case ControlKind::Mark:
      style |= SS_OWNERDRAW;
      break;
    case ControlKind::Frame:
      window_class = L"BUTTON";
      style |= BS_GROUPBOX | WS_CLIPCHILDREN;
      ex_style = WS_EX_CONTROLPARENT;
      break;
    case ControlKind::Container:
      window_class = kContainerClass;
      style |= WS_CLIPCHILDREN;
      ex_style = WS_EX_CONTROLPARENT;
      break;
    case ControlKind::Edit:
      window_class = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Button:
      window_class = L"BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      window_class = L"BUTTON";
      style |= WS_TABSTOP | BS_CHECKBOX;
      break;
    case ControlKind::Radio:
      window_class = L"BUTTON";
      style |= WS_TABSTOP | BS_RADIOBUTTON;
      break;
    case ControlKind::Window:
      return nullptr;
  }
  HWND control = CreateWindowExW(ex_style, window_class, text.c_str(), style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                 nullptr);
  if (kind == ControlKind::Frame) ForwardNotifications(control);
  return control;
}

void PlaceControl(HWND control, const Rect& r, UINT dpi) {
  MoveWindow(control, TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
             TwipsToPixels(r.width, dpi), TwipsToPixels(r.height, dpi), TRUE);
}

Rect MeasureText(HFONT font, const std::wstring& text, UINT dpi) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // One pixel more: a static control exactly as wide as its text leaves out a last glyph
  // that reaches its right edge (the "!" of a report).
  return {0, 0, PixelsToTwips(text.empty() ? 0 : r.right + 1, dpi), PixelsToTwips(r.bottom, dpi)};
}

}  // namespace kelvane::ui::win32
