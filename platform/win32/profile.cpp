#include "platform/win32/win32_platform.h"

#include <windows.h>

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

void Win32Profile::Write(const std::string& file,
                         const std::string& section,
                         const std::string& key,
                         const std::string& value) {
  WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                             FullPath(file).c_str());
}

}  // namespace kelvane::win32
