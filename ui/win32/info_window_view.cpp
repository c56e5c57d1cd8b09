#include "ui/win32/info_window_view.h"

#include <shellapi.h>

#include "platform/win32/text.h"
#include "ui/product.h"
#include "ui/win32/dpi.h"

namespace kelvane::ui::win32 {
namespace {

using kelvane::win32::Widen;

constexpr wchar_t kWindowClass[] = L"KelvaneInfo";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr Rect kClient = {0, 0, 3120, 1635};

enum InfoControl { kFrame1 = 200, kLabel4, kLabel5, kCommand4, kCommand1 };

struct InfoDesign {
  int id;
  ControlKind kind;
  bool in_frame;
  Rect rect;
  const char* text;
};

// Creation order is keyboard order: OK first, so it holds the focus when the window opens.
const InfoDesign kInfoControls[] = {
    {kCommand1, ControlKind::Button, false, {900, 1200, 1335, 375}, "OK"},
    {kFrame1, ControlKind::Frame, false, {125, 120, 2895, 975}, "Kelvane v.1.0"},
    {kLabel4, ControlKind::Label, true, {300, 285, 2265, 195}, kLegalNotice},
    {kLabel5, ControlKind::Label, true, {240, 615, 825, 195}, "Homepage:"},
    {kCommand4, ControlKind::Button, false, {1300, 720, 1455, 255}, kHomePageCaption},
};

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH];
  std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  folder.resize(folder.find_last_of(L'\\') + 1);
  if (folder.empty() || folder.back() != L'\\')
    folder += L'\\';
  return folder;
}

}  // namespace

InfoWindowView::InfoWindowView(HINSTANCE instance, HWND main_window)
    : instance_(instance), main_(main_window), program_folder_(OwnFolder()) {
  RegisterWindowClass(instance_, kWindowClass, ViewProc<InfoWindowView>);
  // Owned by the main window, which it disables: so it stays above it, and the main window's
  // taskbar button brings both back.
  window_ =
      CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, kWindowClass, L"Kelvane - Info",
                      kStyle, 0, 0, 100, 100, main_, nullptr, instance_, this);
  if (!window_)
    return;
  // The main window's icon, so both windows show the same.
  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(main_, GCLP_HICON));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  dpi_ = DpiOf(window_);
  fonts_.Create(dpi_);
  HWND frame = nullptr;
  for (const InfoDesign& d : kInfoControls) {
    HWND child = CreateControl(instance_, d.kind, d.in_frame ? frame : window_, d.id,
                               {Widen(d.text), d.rect, true, true, d.id == kLabel4}, dpi_);
    if (d.id == kFrame1)
      frame = child;
  }
  // The home-page button stands on the frame.
  SetWindowPos(GetDlgItem(window_, kCommand4), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const SIZE size = Layout();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - size.cx) / 2,
               work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

InfoWindowView::~InfoWindowView() {
  if (window_)
    DestroyWindow(window_);
}

SIZE InfoWindowView::Layout() {
  HWND frame = GetDlgItem(window_, kFrame1);
  for (const InfoDesign& d : kInfoControls) {
    HWND child = GetDlgItem(d.in_frame ? frame : window_, d.id);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.text()), TRUE);
    PlaceControl(child, d.rect, dpi_);
  }
  return FrameSize(TwipsToPixels(kClient.width, dpi_), TwipsToPixels(kClient.height, dpi_), kStyle,
                   dpi_);
}

void InfoWindowView::ShowModal() {
  if (!window_)
    return;
  EnableWindow(main_, FALSE);
  ShowWindow(window_, SW_SHOW);
  SetFocus(GetDlgItem(window_, kCommand1));
  MSG message;
  while (IsWindowVisible(window_) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window_, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  EnableWindow(main_, TRUE);
  SetActiveWindow(main_);
  if (message.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(message.wParam));
}

LRESULT InfoWindowView::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED)
        OnCommand(LOWORD(wparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case 0x02E0:  // WM_DPICHANGED
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CLOSE:
      Hide();
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

void InfoWindowView::OnCommand(int id) {
  if (id == kCommand4) {
    ShellExecuteW(window_, L"Open", Widen(kHomePage).c_str(), L"", program_folder_.c_str(),
                  SW_SHOWNORMAL);
  } else if (id == kCommand1 || id == IDCANCEL) {
    Hide();
  } else if (id == IDOK) {
    PressFocusedButton(window_);
  }
}

// The main window takes input again before this one goes, so that it is the one the system
// activates next rather than another program's window.
void InfoWindowView::Hide() {
  EnableWindow(main_, TRUE);
  ShowWindow(window_, SW_HIDE);
}

void InfoWindowView::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  fonts_.Create(dpi_);
  const SIZE size = Layout();
  // Where the system moved it, on the monitor of the new DPI.
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kelvane::ui::win32
