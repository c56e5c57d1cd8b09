#include "platform/win32/win32_platform.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace kelvane::win32 {

std::string Win32PathNames::LongPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  // Asks for the length first: a long name may not fit the classic path length.
  DWORD needed = GetLongPathNameW(wide.c_str(), nullptr, 0);
  if (needed == 0)
    return path;
  std::wstring buffer(needed, L'\0');
  DWORD n = GetLongPathNameW(wide.c_str(), buffer.data(), needed);
  if (n == 0 || n >= needed)
    return path;
  buffer.resize(n);
  return Narrow(buffer);
}

std::string Win32PathNames::FullPath(const std::string& path) {
  return Narrow(win32::FullPath(path));
}

}  // namespace kelvane::win32
