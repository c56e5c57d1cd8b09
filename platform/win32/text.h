// Text conversion at the Win32 edge: UTF-8 inside, UTF-16 or the ANSI code page outside.
#pragma once

#include <string>

namespace kelvane::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// Through the system ANSI code page, for the private-profile calls.
std::string ToAnsi(const std::string& utf8);
std::string FromAnsi(const std::string& ansi);

}  // namespace kelvane::win32
