#include "platform/win32/system_library.h"

#include <string>

namespace kelvane::win32 {
namespace {

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return nullptr;
  const std::wstring path = std::wstring(folder) + L"\\" + name;
  // Its own imports come from the system folder too.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void RestrictDllSearchToSystem32() {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  if (auto set = SystemFunction<SetDirectories>(L"kernel32.dll", "SetDefaultDllDirectories"))
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC SystemProcedure(const wchar_t* dll, const char* name) {
  HMODULE module = LoadSystemLibrary(dll);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace kelvane::win32
