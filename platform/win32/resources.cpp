#include "platform/win32/win32_platform.h"

#include <windows.h>

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

}  // namespace kelvane::win32
