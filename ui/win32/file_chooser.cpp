#include "ui/win32/file_chooser.h"

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"

namespace kelvane::ui::view {
namespace {

using kelvane::win32::Narrow;
using kelvane::win32::Widen;

// The shell's GetFileNameFromBrowse, exported only by ordinal.
using BrowseFn = BOOL(WINAPI*)(HWND, LPWSTR, UINT, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);

BrowseFn ShellBrowse() {
  return kelvane::win32::SystemFunction<BrowseFn>(L"shell32.dll", MAKEINTRESOURCEA(63));
}

std::string Trim(std::string text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string BrowseForFile(HWND owner,
                          const std::string& initial_folder,
                          const std::string& filter,
                          const std::string& title) {
  static const BrowseFn browse = ShellBrowse();
  if (!browse)
    return {};
  std::wstring filters = Widen(filter);
  for (wchar_t& c : filters) {
    if (c == L'|')
      c = L'\0';
  }
  filters.push_back(L'\0');
  std::wstring path(MAX_PATH, L'\0');
  const std::wstring folder = Widen(initial_folder);
  const std::wstring caption = Widen(title);
  // A cancelled dialog leaves the buffer empty.
  browse(owner, path.data(), MAX_PATH, folder.empty() ? nullptr : folder.c_str(), nullptr,
         filters.c_str(), caption.c_str());
  path.resize(wcslen(path.c_str()));
  return Trim(Narrow(path));
}

}  // namespace kelvane::ui::view
