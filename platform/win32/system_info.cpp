#include "platform/win32/win32_platform.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace kelvane::win32 {

std::string Win32SystemInfo::SystemDirectory() {
  wchar_t buffer[MAX_PATH];
  UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return {};
  return Narrow(std::wstring(buffer, n));
}

std::string Win32SystemInfo::NativeLanguageName() {
  LCID locale = GetSystemDefaultLCID();
  int n = GetLocaleInfoW(locale, LOCALE_SNATIVELANGNAME, nullptr, 0);
  if (n <= 0)
    return {};
  std::wstring name(n, L'\0');
  n = GetLocaleInfoW(locale, LOCALE_SNATIVELANGNAME, name.data(), n);
  if (n <= 0)
    return {};
  name.resize(n - 1);
  return Narrow(name);
}

}  // namespace kelvane::win32
