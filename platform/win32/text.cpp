#include "platform/win32/text.h"

#include <windows.h>

namespace kelvane::win32 {
namespace {

std::wstring ToWide(const std::string& text, UINT code_page) {
  if (text.empty())
    return {};
  int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string FromWide(const std::wstring& text, UINT code_page) {
  if (text.empty())
    return {};
  int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
  return ToWide(utf8, CP_UTF8);
}
std::string Narrow(const std::wstring& utf16) {
  return FromWide(utf16, CP_UTF8);
}
std::string ToAnsi(const std::string& utf8) {
  return FromWide(Widen(utf8), CP_ACP);
}
std::string FromAnsi(const std::string& ansi) {
  return Narrow(ToWide(ansi, CP_ACP));
}

}  // namespace kelvane::win32
