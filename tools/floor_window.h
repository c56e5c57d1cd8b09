// What the two start-up floors share: a window procedure that only ends the program when the
// window goes, and the plain message loop. Inline, so the bare window stays a bare program.
#pragma once

#include <windows.h>

namespace kelvane::floor {

inline LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

inline int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace kelvane::floor
