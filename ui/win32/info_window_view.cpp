#include "ui/win32/info_window_view.h"

#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "ui/product.h"
#include "ui/win32/dpi.h"
#include "ui/win32/open_address.h"

namespace kelvane::ui::view {
namespace {

using kelvane::win32::Widen;
using I = InfoControlId;

constexpr wchar_t kWindowClass[] = L"KelvaneInfo";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace

InfoWindowView::InfoWindowView(HINSTANCE instance, HWND main_window)
    : instance_(instance), main_(main_window), program_folder_(kelvane::win32::ProgramFolder()) {
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
  HWND frame = nullptr;
  for (const InfoControlDesign& d : kInfoControls) {
    HWND child =
        CreateControl(instance_, d.kind, d.in_frame ? frame : window_, ChildId(d.id),
                      {Widen(std::string(d.text)), d.rect, true, true, d.id == I::Label4}, dpi_);
    if (d.id == I::Frame1)
      frame = child;
  }
  // The home-page button stands on the frame.
  SetWindowPos(Child(I::Command4), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UseDpi(dpi_);
  PlaceWindow(window_, kStyle, kInfoClient, dpi_);
}

InfoWindowView::~InfoWindowView() {
  if (window_)
    DestroyWindow(window_);
}

HWND InfoWindowView::Child(InfoControlId id) const {
  const InfoControlDesign& d = kInfoControls[static_cast<int>(id)];
  return GetDlgItem(d.in_frame ? Child(I::Frame1) : window_, ChildId(id));
}

void InfoWindowView::UseDpi(UINT dpi) {
  dpi_ = dpi;
  fonts_.Create(dpi_);
  for (const InfoControlDesign& d : kInfoControls) {
    HWND child = Child(d.id);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.text()), TRUE);
    PlaceControl(child, d.rect, dpi_);
  }
}

void InfoWindowView::ShowModal() {
  if (!window_)
    return;
  // Over the main window, wherever it stands now and at its monitor's DPI, as a dialog box opens.
  if (DpiOf(main_) != dpi_)
    UseDpi(DpiOf(main_));
  PlaceWindow(window_, kStyle, kInfoClient, dpi_);
  EnableWindow(main_, FALSE);
  ShowWindow(window_, SW_SHOW);
  SetFocus(Child(I::Command1));
  MSG message{};
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
    case WM_CLOSE:
      Hide();
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(window_, message, wparam, lparam);
      window_ = nullptr;  // gone with the main window, maybe while ShowModal's loop runs
      return result;
    }
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

void InfoWindowView::OnCommand(int id) {
  if (id == ChildId(I::Command4)) {
    OpenAddress(window_, kHomePage, program_folder_);
  } else if (id == ChildId(I::Command1) || id == IDCANCEL) {
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
  UseDpi(dpi);
  // Where the system moved it, on the monitor of the new DPI.
  PlaceWindow(window_, kStyle, kInfoClient, dpi_, POINT{suggested.left, suggested.top});
}

}  // namespace kelvane::ui::view
