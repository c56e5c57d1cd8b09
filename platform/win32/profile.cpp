#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/win32/text.h"

namespace kelvane::win32 {

std::string Win32Profile::Read(const std::string& file,
                               const std::string& section,
                               const std::string& key) {
  std::vector<wchar_t> buffer(9999);
  const DWORD n =
      GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer.data(),
                               static_cast<DWORD>(buffer.size()), FullPath(file).c_str());
  return Narrow(std::wstring(buffer.data(), n));
}

bool Win32Profile::HasSection(const std::string& file, const std::string& section) {
  // The names, each ended by a zero; a list that fills the buffer may have been cut short.
  std::vector<wchar_t> names(4096);
  DWORD n;
  while ((n = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()),
                                             FullPath(file).c_str())) >= names.size() - 2)
    names.resize(names.size() * 2);
  const std::wstring wanted = Widen(section);
  for (size_t i = 0; i < n; i += wcslen(&names[i]) + 1) {
    if (CompareStringOrdinal(&names[i], -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

void Win32Profile::Write(const std::string& file,
                         const std::string& section,
                         const std::string& key,
                         const std::string& value) {
  WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                             FullPath(file).c_str());
}

}  // namespace kelvane::win32
