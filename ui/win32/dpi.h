// Twips to pixels at a window's DPI, with the per-monitor calls looked up at run time so the
// program still starts on Windows 7.
#pragma once

#include <windows.h>

namespace kelvane::ui::view {

// The window's DPI; the system DPI where Windows cannot tell per window.
UINT DpiOf(HWND window);

inline int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

inline int PixelsToTwips(int pixels, UINT dpi) {
  return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

// The outer size of a window whose client area is width x height pixels.
SIZE FrameSize(int width, int height, DWORD style, UINT dpi);

// Asks for per-monitor DPI awareness (v2) where the manifest is not honoured.
void DeclarePerMonitorDpiAware();

}  // namespace kelvane::ui::view
