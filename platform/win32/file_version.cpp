#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"

namespace kelvane::win32 {
namespace {

struct VersionDll {
  bool loaded() const { return size && info && query; }

  decltype(&GetFileVersionInfoSizeW) size =
      SystemFunction<decltype(&GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
  decltype(&GetFileVersionInfoW) info =
      SystemFunction<decltype(&GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
  decltype(&VerQueryValueW) query =
      SystemFunction<decltype(&VerQueryValueW)>(L"version.dll", "VerQueryValueW");
};

}  // namespace

std::optional<FileVersion> Win32FileVersions::Read(const std::string& path) {
  static const VersionDll dll;
  if (!dll.loaded())
    return std::nullopt;
  const std::wstring wide = FullPath(path);
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
