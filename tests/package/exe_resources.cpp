// exe-resources.exe FILE: what Windows itself reads from a program's resources. Prints each
// version string as "Name=text", "Fixed=a.b.c.d" for the fixed file version, an empty line, then
// the manifest. Exit 1 when the file has no version resource or no manifest.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/process.h"
#include "platform/win32/text.h"

namespace {

using kelvane::win32::Narrow;
using kelvane::win32::PrintText;

bool PrintVersion(const wchar_t* file) {
  std::vector<BYTE> block(GetFileVersionInfoSizeW(file, nullptr));
  VS_FIXEDFILEINFO* fixed;
  UINT size;
  if (block.empty() || !GetFileVersionInfoW(file, 0, block.size(), block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size)) {
    return false;
  }
  PrintText("Fixed=" + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
            std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
            std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
            std::to_string(LOWORD(fixed->dwFileVersionLS)) + "\n");
  for (const wchar_t* name :
       {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
        L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
    wchar_t* text;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &size))
      PrintText(Narrow(name) + "=" + Narrow(text) + "\n");
  }
  return true;
}

bool PrintManifest(const wchar_t* file) {
  HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (loaded) {
    PrintText(
        std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found)));
  }
  if (module)
    FreeLibrary(module);
  return loaded != nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2)
    return 64;
  if (!PrintVersion(argv[1]))
    return 1;
  PrintText("\n");
  return PrintManifest(argv[1]) ? 0 : 1;
}
