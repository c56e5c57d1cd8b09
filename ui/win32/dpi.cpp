#include "ui/win32/dpi.h"

#include "platform/win32/system_library.h"

namespace kelvane::ui::view {
namespace {

// Found at run time: Windows 7 lacks the DPI functions of later versions.
template <typename F>
F User32(const char* name) {
  return kelvane::win32::SystemFunction<F>(L"user32.dll", name);
}

}  // namespace

UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi && window) {
    if (UINT dpi = get_dpi(window))
      return dpi;
  }
  HDC screen = GetDC(nullptr);
  const UINT dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi ? dpi : 96;
}

SIZE FrameSize(int width, int height, DWORD style, UINT dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32<AdjustFn>("AdjustWindowRectExForDpi");
  RECT r = {0, 0, width, height};
  if (!adjust || !adjust(&r, style, FALSE, 0, dpi))
    AdjustWindowRectEx(&r, style, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

void DeclarePerMonitorDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  static const auto set_context = User32<SetContextFn>("SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (set_context)
    set_context(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)));
}

}  // namespace kelvane::ui::view
