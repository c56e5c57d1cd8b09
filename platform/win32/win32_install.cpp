#include "platform/win32/win32_install.h"

#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/win32/process.h"
#include "platform/win32/text.h"

namespace kelvane::win32 {
namespace {

class RegistryKey {
 public:
  RegistryKey(HKEY root, const std::wstring& path) {
    constexpr REGSAM kAccess =
        KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_WOW64_32KEY;
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

template <typename Function>
Function Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

struct VersionDll {
  VersionDll() = default;
  VersionDll(const VersionDll&) = delete;
  VersionDll& operator=(const VersionDll&) = delete;
  ~VersionDll() {
    if (module)
      FreeLibrary(module);
  }
  bool loaded() const { return size && info && query; }

  HMODULE module = LoadSystemLibrary(L"version.dll");
  decltype(&GetFileVersionInfoSizeW) size =
      Proc<decltype(&GetFileVersionInfoSizeW)>(module, "GetFileVersionInfoSizeW");
  decltype(&GetFileVersionInfoW) info =
      Proc<decltype(&GetFileVersionInfoW)>(module, "GetFileVersionInfoW");
  decltype(&VerQueryValueW) query = Proc<decltype(&VerQueryValueW)>(module, "VerQueryValueW");
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

std::optional<FileVersion> Win32FileVersions::Read(const std::string& path) {
  static VersionDll dll;
  if (!dll.loaded())
    return std::nullopt;
  const std::wstring wide = Widen(path);
  DWORD size = dll.size(wide.c_str(), nullptr);
  if (size == 0)
    return std::nullopt;
  std::vector<BYTE> block(size);
  if (!dll.info(wide.c_str(), 0, size, block.data()))
    return std::nullopt;
  void* fixed = nullptr;
  UINT length = 0;
  // Only the signature, the structure version and the two file version words are used.
  if (!dll.query(block.data(), L"\\", &fixed, &length) ||
      length < offsetof(VS_FIXEDFILEINFO, dwProductVersionMS)) {
    return std::nullopt;
  }
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                     HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

}  // namespace kelvane::win32
