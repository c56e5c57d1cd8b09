#include "platform/win32/win32_platform.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace kelvane::win32 {
namespace {

class RegistryKey {
 public:
  RegistryKey(HKEY root, const std::wstring& path) {
    constexpr REGSAM kAccess = KEY_QUERY_VALUE | KEY_WOW64_32KEY;
    if (RegOpenKeyExW(root, path.c_str(), 0, kAccess, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_)
      RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::string> Win32Registry::ReadString(RegistryRoot root,
                                                     const std::string& key,
                                                     const std::string& value_name) {
  RegistryKey opened(root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                     Widen(key));
  if (!opened.get())
    return std::nullopt;
  const std::wstring name = Widen(value_name);
  DWORD size = 0;
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The whole data, also its last character when an installer stored it without a NUL; one
  // character more so that an odd byte count fits.
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size / sizeof(wchar_t));
  while (!data.empty() && data.back() == L'\0')
    data.pop_back();
  return Narrow(data);
}

}  // namespace kelvane::win32
