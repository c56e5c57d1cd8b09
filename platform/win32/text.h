// Text conversion at the Win32 edge: UTF-8 inside, UTF-16 outside.
#pragma once

#include <string>

namespace kelvane::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace kelvane::win32
