// inspector.exe TITLE [--wait MS]: prints the visible top-level window of that exact title and
// every control below it, so GUI tests assert on real window state rather than on pixels.
//
// One tab-separated line per window, texts escaped (\\ \t \r \n):
//   window  TITLE  CLIENT_WIDTH  CLIENT_HEIGHT  DPI  CLIENT_SCREEN_LEFT  CLIENT_SCREEN_TOP
//           ENABLED  FOCUS  POINTER  OWNER
//   control NAME CLASS TEXT LEFT TOP WIDTH HEIGHT SCREEN_LEFT SCREEN_TOP ENABLED VISIBLE CHECKED
//           PARENT
// FOCUS is the name of the control holding the keyboard focus, "-" for none. POINTER tells
// the mouse pointer shown now apart from others (a handle of the window's process). OWNER is
// the title of the window that owns it, "-" for none: only an unowned window has a taskbar
// button. Control rectangles are in pixels relative to the parent's client area; VISIBLE is the
// control's own flag; CHECKED is BM_GETCHECK for buttons, "-" for the others. What is printed is
// a reading taken twice alike. Exit 1 when no such window is shown (within MS milliseconds).
#include <windows.h>

#include <string>
#include <utility>

#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "ui/controls.h"
#include "ui/win32/control_factory.h"
#include "ui/win32/dpi.h"

namespace {

using kelvane::win32::Narrow;
using kelvane::win32::Widen;
using namespace kelvane::ui;
using namespace kelvane::ui::view;

std::string NameOf(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id >= kMainChildIds && id < kMainChildIds + kControlCount)
    return std::string(kControls[id - kMainChildIds].name);
  if (id >= kInfoChildIds && id < kInfoChildIds + kInfoControlCount)
    return std::string(kInfoControls[id - kInfoChildIds].name);
  return "id" + std::to_string(id);
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// WM_GETTEXT rather than GetWindowText, which leaves another process's edit fields empty.
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return Escape(Narrow(text));
}

std::string ClassOf(HWND window) {
  wchar_t name[256];
  return Narrow(std::wstring(name, GetClassNameW(window, name, 256)));
}

std::string Join(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& f : fields)
    line += (line.empty() ? "" : "\t") + f;
  return line + "\n";
}

std::string N(long value) {
  return std::to_string(value);
}

// One reading of the window: its lines so far, and whose controls they are.
struct Reading {
  HWND window;
  std::string lines;
};

BOOL CALLBACK ReadControl(HWND control, LPARAM to) {
  Reading& reading = *reinterpret_cast<Reading*>(to);
  HWND parent = GetParent(control);
  RECT r;
  GetWindowRect(control, &r);
  POINT top_left = {r.left, r.top};
  ScreenToClient(parent, &top_left);
  std::string checked = "-";
  if (ClassOf(control) == "Button")
    checked = N(SendMessageW(control, BM_GETCHECK, 0, 0));
  const bool visible = GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE;
  reading.lines +=
      Join({"control", NameOf(control), ClassOf(control), TextOf(control), N(top_left.x),
            N(top_left.y), N(r.right - r.left), N(r.bottom - r.top), N(r.left), N(r.top),
            N(IsWindowEnabled(control) ? 1 : 0), N(visible ? 1 : 0), checked,
            parent == reading.window ? "window" : NameOf(parent)});
  return TRUE;
}

// The screen's DPI, which is every window's on one monitor (Wine answers GetDpiForWindow only
// for the caller's own windows).
UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

std::string FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) {
    return "-";
  }
  return info.hwndFocus == window ? "window" : NameOf(info.hwndFocus);
}

std::string OwnerOf(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  return owner ? TextOf(owner) : "-";
}

std::string PointerShown() {
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetCursorInfo(&info))
    return "-";
  return N(static_cast<long>(reinterpret_cast<INT_PTR>(info.hCursor)));
}

std::string Read(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  Reading reading{
      window, Join({"window", TextOf(window), N(client.right), N(client.bottom), N(ScreenDpi()),
                    N(origin.x), N(origin.y), N(IsWindowEnabled(window) ? 1 : 0), FocusOf(window),
                    PointerShown(), OwnerOf(window)})};
  EnumChildWindows(window, ReadControl, reinterpret_cast<LPARAM>(&reading));
  return reading.lines;
}

HWND FindTopLevel(const std::wstring& title, int wait_ms) {
  for (int waited = 0;; waited += 50) {
    HWND found = FindWindowW(nullptr, title.c_str());
    if (found && IsWindowVisible(found))
      return found;
    if (waited >= wait_ms)
      return nullptr;
    Sleep(50);
  }
}

}  // namespace

int wmain() {
  // Aware like the window it reads, so Windows hands over unscaled pixels.
  DeclarePerMonitorDpiAware();
  const auto args = kelvane::win32::CommandLineArguments();
  if (args.empty()) {
    kelvane::win32::PrintText("usage: inspector TITLE [--wait MS]\n");
    return 64;
  }
  const int wait_ms = args.size() == 3 && args[1] == "--wait" ? std::stoi(args[2]) : 0;
  HWND window = FindTopLevel(Widen(args[0]), wait_ms);
  if (!window)
    return 1;
  // The window goes on answering while it is read, one message at a time: only two readings
  // alike show no change half-way through.
  std::string last, now = Read(window);
  for (int tries = 0; now != last && tries < 20; ++tries)
    last = std::exchange(now, Read(window));
  kelvane::win32::PrintText(now);
  return 0;
}
