/* Stands in for ICQ's core library in a demo installation: it only carries a version. */
#include <windows.h>

BOOL WINAPI StubEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
