#include "ui/win32/main_window_view.h"

#include <algorithm>
#include <vector>

#include "platform/win32/text.h"
#include "ui/win32/dpi.h"
#include "ui/win32/file_chooser.h"
#include "ui/win32/info_window_view.h"
#include "ui/win32/marks.h"
#include "ui/win32/open_address.h"

namespace kelvane::ui::view {
namespace {

using kelvane::win32::Narrow;
using kelvane::win32::Widen;
using C = ControlId;

constexpr wchar_t kWindowClass[] = L"KelvaneMain";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT_PTR kReportTimer = 1;

// Children of one container in keyboard order: the dialog manager tabs in creation order.
std::vector<C> ChildrenOf(C container) {
  std::vector<C> children;
  for (const ControlDesign& d : kControls) {
    if (d.id != C::Form1 && d.container == container)
      children.push_back(d.id);
  }
  std::stable_sort(children.begin(), children.end(), [](C a, C b) {
    auto order = [](C id) { return Design(id).tab_index < 0 ? 1000 : Design(id).tab_index; };
    return order(a) < order(b);
  });
  return children;
}

// The labels that act when clicked; Label2 is only underlined.
constexpr C kLinks[] = {C::Label3, C::Label4};

WPARAM ButtonCheck(CheckState check) {
  switch (check) {
    case CheckState::Ticked:
      return BST_CHECKED;
    case CheckState::Greyed:
      return BST_INDETERMINATE;
    case CheckState::Unticked:
      break;
  }
  return BST_UNCHECKED;
}

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

MainWindowView::MainWindowView(HINSTANCE instance) : instance_(instance) {}

MainWindowView::~MainWindowView() = default;

bool MainWindowView::CreateFrame() {
  RegisterContainerClass(instance_);
  RegisterWindowClass(instance_, kWindowClass, ViewProc<MainWindowView>,
                      LoadIconW(instance_, MAKEINTRESOURCEW(1)));
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"", kStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, this);
  if (!window_)
    return false;
  dpi_ = DpiOf(window_);
  MakeFonts();
  return true;
}

void MainWindowView::Build(MainWindow& model) {
  model_ = &model;
  model.MeasureLabels();
  std::vector<std::pair<C, HWND>> pending = {{C::Form1, window_}};
  children_[static_cast<int>(C::Form1)] = window_;
  while (!pending.empty()) {
    auto [container, parent] = pending.front();
    pending.erase(pending.begin());
    ControlKind previous = ControlKind::Window;
    for (C id : ChildrenOf(container)) {
      const ControlDesign& d = Design(id);
      const ControlState state = model.state(id);
      const bool joins_group = d.kind == ControlKind::Radio && previous == ControlKind::Radio;
      previous = d.kind;
      HWND child = CreateControl(instance_, d.kind, parent, ChildId(id),
                                 {Widen(state.text), state.rect, state.visible, state.enabled,
                                  id == C::Label2, joins_group},
                                 dpi_);
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.For(d.kind)), FALSE);
      if (d.kind == ControlKind::CheckBox || d.kind == ControlKind::Radio)
        SendMessageW(child, BM_SETCHECK, ButtonCheck(state.check), 0);
      children_[static_cast<int>(id)] = child;
      shown_[static_cast<int>(id)] = state;
      if (d.kind == ControlKind::Frame || d.kind == ControlKind::Container) {
        pending.push_back({id, child});
      }
    }
  }
  // The links lie above their neighbours: the help link shares the status line's second line and
  // takes the clicks on all its text.
  for (C link : kLinks) {
    SetWindowPos(Child(link), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The controls show the model already; only the window's own caption is left to set.
  SetWindowTextW(window_, Widen(model.state(C::Form1).text).c_str());
  shown_[static_cast<int>(C::Form1)] = model.state(C::Form1);
  shown_valid_ = true;
  Sync();
}

// Every caption of both languages must fit its control.
void MainWindowView::MakeFonts() {
  fonts_.Create(dpi_, [this](HFONT font) {
    for (const ControlDesign& d : kControls) {
      if (d.kind == ControlKind::Label || d.kind == ControlKind::Link ||
          d.kind == ControlKind::Window) {
        continue;
      }
      for (UiLanguage language : {UiLanguage::German, UiLanguage::English}) {
        const std::string text(CaptionOf(d.id, language));
        const int width = d.id == C::Check10 && language == UiLanguage::English
                              ? kLayoutChanges.english_check10_width
                              : d.rect.width;
        if (!text.empty() &&
            !CaptionFits(font, d.kind, Widen(text), TwipsToPixels(width, dpi_), dpi_)) {
          return false;
        }
      }
    }
    return true;
  });
}

void MainWindowView::Show(int show_command) {
  PlaceWindow(window_, kStyle, model_->state(C::Form1).rect, dpi_);
  ShowWindow(window_, show_command);  // its activation gives the focus to the first control
  // A message box of the start-up leaves the window active before it shows, so that showing it
  // activates nothing.
  if (GetActiveWindow() == window_ && !IsChild(window_, GetFocus()))
    focus_.OnActivate(window_, true);
  UpdateWindow(window_);
}

int MainWindowView::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND dialog = GetAncestor(message.hwnd, GA_ROOT);
    if (dialog && IsDialogMessageW(dialog, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// Brings every control in line with the model, touching only what changed.
void MainWindowView::Sync() {
  if (!model_)
    return;
  for (const ControlDesign& d : kControls) {
    const int i = static_cast<int>(d.id);
    const ControlState want = model_->state(d.id);
    ControlState& have = shown_[i];
    HWND hwnd = children_[i];
    if (!hwnd)
      continue;
    const bool all = !shown_valid_;
    // Placed before its text is set: a label repaints its new text at once, in its old size
    // when it has not moved yet, and a wider label would then show a gap.
    if (d.id != C::Form1 && (all || want.rect != have.rect))
      PlaceControl(hwnd, want.rect, dpi_);
    // The folder field may already show the text (the user typed it); setting it again would
    // move the caret.
    if ((all || want.text != have.text) && WindowText(hwnd) != Widen(want.text)) {
      SetWindowTextW(hwnd, Widen(want.text).c_str());
    }
    // The window itself is disabled only while a window of ours over it is open.
    if (d.id != C::Form1 && (all || want.enabled != have.enabled))
      EnableWindow(hwnd, want.enabled);
    if (d.id != C::Form1 && (all || want.visible != have.visible)) {
      ShowWindow(hwnd, want.visible ? SW_SHOWNA : SW_HIDE);
    }
    if ((d.kind == ControlKind::CheckBox || d.kind == ControlKind::Radio) &&
        (all || want.check != have.check)) {
      SendMessageW(hwnd, BM_SETCHECK, ButtonCheck(want.check), 0);
    }
    if (d.kind == ControlKind::Mark && (all || want.rect != have.rect)) {
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    have = want;
  }
  shown_valid_ = true;
  if (!model_->timer_running()) {
    KillTimer(window_, kReportTimer);
  } else if (model_->timer_starts() != timer_starts_seen_) {
    SetTimer(window_, kReportTimer, model_->timer_interval(), nullptr);
  }
  timer_starts_seen_ = model_->timer_starts();
  if (auto focus = model_->TakeFocusRequest())
    SetFocus(Child(*focus));
}

LRESULT MainWindowView::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (!run_thread_)  // a run goes on: nothing pressed reaches the model, not even by a tool
        OnCommand(wparam, lparam);
      return 0;
    case WM_TIMER:
      OnTimer();
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wparam)))
        return TRUE;
      return DefWindowProcW(window_, message, wparam, lparam);
    case WM_CLOSE:
      if (!run_thread_)  // the taskbar closes even a disabled window; a run is not cut off
        Exit();
      return 0;
    // Windows ends the session, and the program with it, once every window agrees: during a run
    // the window says no, and why; when the end comes all the same, the run ends first.
    case WM_QUERYENDSESSION:
      if (!run_thread_)
        return TRUE;
      ShutdownBlockReasonCreate(window_, Widen(model_->state(C::Label1).text).c_str());
      return FALSE;
    case WM_ENDSESSION:
      if (run_thread_ && wparam)
        WaitForSingleObject(run_thread_, INFINITE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

void MainWindowView::OnCommand(WPARAM wparam, LPARAM lparam) {
  if (LOWORD(wparam) == IDOK) {
    PressFocusedButton(window_);
    return;
  }
  const int index = LOWORD(wparam) - kMainChildIds;
  if (!model_ || lparam == 0 || index < 0 || index >= kControlCount)
    return;
  const C id = static_cast<C>(index);
  const WORD code = HIWORD(wparam);
  if (id == C::Text1 && code == EN_CHANGE) {
    model_->ChangeFolderText(Narrow(WindowText(Child(id))));
  } else if (code == BN_CLICKED || code == STN_CLICKED) {
    model_->Click(id);
  } else {
    return;
  }
  Sync();
}

void MainWindowView::OnTimer() {
  model_->TimerTick();
  Sync();
}

void MainWindowView::OnDrawItem(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const int index = static_cast<int>(item.CtlID) - kMainChildIds;
  if (index == static_cast<int>(C::Image1))
    DrawTick(item.hDC, item.rcItem, dpi_);
  if (index == static_cast<int>(C::Image2))
    DrawCross(item.hDC, item.rcItem, dpi_);
}

// The hand over a link, which tells it can be clicked.
bool MainWindowView::OnSetCursor(HWND control) {
  for (C link : kLinks) {
    if (control == Child(link)) {
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return true;
    }
  }
  return false;
}

void MainWindowView::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  MakeFonts();
  if (!model_)
    return;  // not built yet: the controls are made at this DPI
  for (const ControlDesign& d : kControls) {
    if (HWND child = Child(d.id); child && d.id != C::Form1) {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.For(d.kind)), FALSE);
    }
  }
  model_->MeasureLabels();
  shown_valid_ = false;
  Sync();
  PlaceWindow(window_, kStyle, model_->state(C::Form1).rect, dpi_,
              POINT{suggested.left, suggested.top});
}

void MainWindowView::ShowMessage(const std::string& title, const std::string& text) {
  // Before the window shows, a box it owned would have no taskbar button and nothing to bring
  // it back from behind other programs' windows.
  const bool shown = IsWindowVisible(window_);
  MessageBoxW(shown ? window_ : nullptr, Widen(text).c_str(), Widen(title).c_str(),
              MB_OK | MB_ICONINFORMATION | (shown ? 0 : MB_SETFOREGROUND));
}

void MainWindowView::OpenAddress(const std::string& address, const std::string& working_folder) {
  view::OpenAddress(window_, address, working_folder);
}

std::string MainWindowView::BrowseForFile(const std::string& initial_folder,
                                          const std::string& filter,
                                          const std::string& title) {
  return view::BrowseForFile(window_, initial_folder, filter, title);
}

Rect MainWindowView::MeasureText(C label, const std::string& text) {
  return view::MeasureText(fonts_.For(Design(label).kind), Widen(text), dpi_);
}

void MainWindowView::ShowInfoWindow() {
  if (!info_)
    info_ = std::make_unique<InfoWindowView>(instance_, window_);
  info_->ShowModal();
}

// The info window goes with it; its object stays, as its modal loop may be the one running.
void MainWindowView::Exit() {
  DestroyWindow(window_);
}

// Windows marks a window that takes no messages for five seconds "Not Responding" and offers to
// end the program, which would cut the run off half-way: the step runs on a thread of its own
// while this one keeps taking messages.
void MainWindowView::KeepAnsweringDuring(const std::function<void()>& step) {
  const auto run = [](void* step) -> DWORD {
    (*static_cast<const std::function<void()>*>(step))();
    return 0;
  };
  // Disabled before the step begins: it may look at the window.
  EnableWindow(window_, FALSE);
  // As Windows does when it disables a window around the focus (Wine keeps it on Start).
  SetFocus(nullptr);
  run_thread_ =
      CreateThread(nullptr, 0, run, const_cast<std::function<void()>*>(&step), 0, nullptr);
  MSG message{};
  if (run_thread_) {
    while (message.message != WM_QUIT &&
           MsgWaitForMultipleObjectsEx(1, &run_thread_, INFINITE, QS_ALLINPUT,
                                       MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
      while (message.message != WM_QUIT && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    WaitForSingleObject(run_thread_, INFINITE);
    CloseHandle(run_thread_);
    run_thread_ = nullptr;
  } else {
    step();
  }
  ShutdownBlockReasonDestroy(window_);
  EnableWindow(window_, TRUE);
  if (message.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(message.wParam));
}

void MainWindowView::Repaint() {
  Sync();
  UpdateWindow(window_);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace kelvane::ui::view
