#include "ui/win32/control_factory.h"

#include <commctrl.h>

#include "platform/win32/text.h"
#include "ui/win32/dpi.h"

namespace kelvane::ui::view {
namespace {

constexpr wchar_t kContainerClass[] = L"KelvanePanel";

bool Passes(UINT message) {
  return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM ||
         message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT;
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (Passes(message))
    return SendMessageW(GetParent(window), message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK
GroupBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (Passes(message))
    return SendMessageW(GetParent(window), message, wparam, lparam);
  // A group box leaves its inside to its parent, which clips it away; paint it here.
  if (message == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(window, &r);
    FillRect(reinterpret_cast<HDC>(wparam), &r, GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

int DesignHeight(UINT dpi) {
  return MulDiv(825, static_cast<int>(dpi), 7200);
}

HFONT MakeFont(const wchar_t* face, int height, bool underline) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = FW_NORMAL;
  font.lfUnderline = underline;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

// One memory DC for every measurement: fetching a screen DC per caption is what made start-up
// slow.
HDC MeasuringDc() {
  static const HDC dc = CreateCompatibleDC(nullptr);
  return dc;
}

bool HasFace(HFONT font, const wchar_t* face) {
  HDC dc = MeasuringDc();
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t got[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, got);
  SelectObject(dc, old);
  return lstrcmpiW(got, face) == 0;
}

// 8.25 point, the window's design size: Windows' TrueType "Microsoft Sans Serif", which stays
// sharp when scaled, else the design's own "MS Sans Serif", a raster face with a size for 96 and
// for 144 DPI.
HFONT MakeFont(int height, bool underline) {
  constexpr const wchar_t* kFaces[] = {L"Microsoft Sans Serif", L"MS Sans Serif"};
  for (const wchar_t* face : kFaces) {
    HFONT font = MakeFont(face, height, underline);
    if (HasFace(font, face))
      return font;
    DeleteObject(font);
  }
  return MakeFont(kFaces[1], height, underline);
}

// Whether a capital umlaut keeps its dots: on a row of their own above the letter, inside the
// font's cell. A raster face is drawn for each of its sizes and always does; an outline face whose
// glyphs cannot be measured is taken not to.
bool DrawsUmlautsWhole(HFONT font) {
  HDC dc = MeasuringDc();
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const bool outline = metrics.tmPitchAndFamily & TMPF_VECTOR;
  const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS letter{}, umlaut{};
  const bool measured =
      outline &&
      GetGlyphOutlineW(dc, L'A', GGO_METRICS, &letter, 0, nullptr, &identity) != GDI_ERROR &&
      GetGlyphOutlineW(dc, L'\u00c4', GGO_METRICS, &umlaut, 0, nullptr, &identity) != GDI_ERROR;
  SelectObject(dc, old);
  if (!measured)
    return !outline;
  return umlaut.gmptGlyphOrigin.y >= letter.gmptGlyphOrigin.y + 2 &&
         umlaut.gmptGlyphOrigin.y <= metrics.tmAscent;
}

}  // namespace

void Fonts::Create(UINT dpi, const std::function<bool(HFONT)>& fits) {
  Release();
  const int design = DesignHeight(dpi);
  int height = design;
  text_ = MakeFont(height, false);
  while (fits && !fits(text_) && height > design * 3 / 4) {
    HFONT smaller = MakeFont(height - 1, false);
    if (!DrawsUmlautsWhole(smaller)) {
      DeleteObject(smaller);
      break;
    }
    DeleteObject(text_);
    text_ = smaller;
    --height;
  }
  link_ = MakeFont(height, true);
}

// The text as the control draws it, on one line, without the spare character a label gets.
bool CaptionFits(HFONT font, ControlKind kind, const std::wstring& caption, int width, UINT dpi) {
  HDC dc = MeasuringDc();
  HGDIOBJ old = SelectObject(dc, font);
  RECT text = {0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  auto scaled = [dpi](int pixels_at_96) { return MulDiv(pixels_at_96, static_cast<int>(dpi), 96); };
  int needed = text.right;
  if (kind == ControlKind::CheckBox || kind == ControlKind::Radio)
    needed += scaled(13) + metrics.tmAveCharWidth / 2;
  if (kind == ControlKind::Button)
    needed += scaled(8);
  if (kind == ControlKind::Frame)
    needed += scaled(16);
  return needed <= width;
}

void Fonts::Release() {
  if (text_)
    DeleteObject(text_);
  if (link_)
    DeleteObject(link_);
  text_ = link_ = nullptr;
}

LRESULT ControlColour(HDC dc) {
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void PlaceWindow(HWND window,
                 DWORD style,
                 const Rect& client,
                 UINT dpi,
                 std::optional<POINT> corner) {
  const SIZE size =
      FrameSize(TwipsToPixels(client.width, dpi), TwipsToPixels(client.height, dpi), style, dpi);
  if (!corner) {
    // On the monitor of the window's owner: the info window opens over the main window.
    HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    corner = POINT{work.left + (work.right - work.left - size.cx) / 2,
                   work.top + (work.bottom - work.top - size.cy) / 2};
  }
  SetWindowPos(window, nullptr, corner->x, corner->y, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void RegisterContainerClass(HINSTANCE instance) {
  RegisterWindowClass(instance, kContainerClass, ContainerProc);
}

namespace {

// The system class of each kind of control and the styles it takes beside the common ones.
struct KindClass {
  const wchar_t* window_class;
  DWORD style, ex_style;
};

KindClass ClassOf(ControlKind kind, bool centred) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Link:
      return {L"STATIC", static_cast<DWORD>(SS_NOTIFY | (centred ? SS_CENTER : SS_LEFT)), 0};
    case ControlKind::Mark:
      return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::Frame:
      return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Container:
      return {kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Edit:
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
      return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0};
    case ControlKind::Radio:
      // Automatic, so that the arrow keys select as they move, by a click.
      return {L"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::Window:
      break;
  }
  return {nullptr, 0, 0};
}

}  // namespace

HWND CreateControl(HINSTANCE instance,
                   ControlKind kind,
                   HWND parent,
                   int id,
                   const ControlLook& look,
                   UINT dpi) {
  const KindClass c = ClassOf(kind, look.centred);
  if (!c.window_class)
    return nullptr;
  const DWORD style = c.style | WS_CHILD | WS_CLIPSIBLINGS | (look.visible ? WS_VISIBLE : 0) |
                      (look.enabled ? 0 : WS_DISABLED) | (look.joins_group ? 0 : WS_GROUP);
  const Rect& r = look.rect;
  HWND control = CreateWindowExW(
      c.ex_style, c.window_class, look.text.c_str(), style, TwipsToPixels(r.left, dpi),
      TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi), TwipsToPixels(r.height, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  // A group box passes its children's notifications on to its parent too.
  if (kind == ControlKind::Frame)
    SetWindowSubclass(control, GroupBoxProc, 1, 0);
  return control;
}

void PlaceControl(HWND control, const Rect& r, UINT dpi) {
  MoveWindow(control, TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
             TwipsToPixels(r.width, dpi), TwipsToPixels(r.height, dpi), TRUE);
}

void FocusKeeper::OnActivate(HWND window, bool active) {
  if (!active) {
    // Going inactive while minimised, the window itself holds the focus: the control stays kept.
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus))
      last_ = focus;
    return;
  }
  HWND focus = last_;
  if (!focus || !IsWindowEnabled(focus) || !IsWindowVisible(focus))
    focus = GetNextDlgTabItem(window, nullptr, FALSE);
  if (focus)
    SetFocus(focus);
}

void PressFocusedButton(HWND window) {
  HWND focus = GetFocus();
  if (focus && IsChild(window, focus) &&
      (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

Rect MeasureText(HFONT font, const std::wstring& text, UINT dpi) {
  HDC dc = MeasuringDc();
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  // Room for one more character: the label control wraps the last word to a line of its own
  // when it misses even a pixel, and rendering can run a little wider than the extent.
  const int width = text.empty() ? 0 : r.right + metrics.tmAveCharWidth;
  return {0, 0, PixelsToTwips(width, dpi), PixelsToTwips(r.bottom, dpi)};
}

}  // namespace kelvane::ui::view
