#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <vector>

#include "platform/win32/text.h"

namespace kelvane::win32 {

std::optional<std::string> Win32Resources::Load(const std::string& type, uint16_t id) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), Widen(type).c_str());
  if (!info)
    return std::nullopt;
  HGLOBAL loaded = LoadResource(nullptr, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes)
    return std::nullopt;
  return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, info));
}

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

std::string Win32Profile::Read(const std::string& file,
                               const std::string& section,
                               const std::string& key) {
  std::vector<char> buffer(9999);
  DWORD n =
      GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), "", buffer.data(),
                               static_cast<DWORD>(buffer.size()), ToAnsi(file).c_str());
  return FromAnsi(std::string(buffer.data(), n));
}

void Win32Profile::Write(const std::string& file,
                         const std::string& section,
                         const std::string& key,
                         const std::string& value) {
  WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(value).c_str(),
                             ToAnsi(file).c_str());
}

}  // namespace kelvane::win32
