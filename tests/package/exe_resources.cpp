// exe-resources.exe FILE: what Windows itself reads from a program's resources. Prints
// "Fixed=a.b.c.d" for the fixed file version, each version string as "Name=text", an empty line,
// then the manifest. Exit 1 when the file has no version resource, no manifest or no icon (the one
// Explorer, the taskbar and the UAC prompt show).
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"

int wmain(int argc, wchar_t** argv) {
  using kelvane::win32::PrintText;
  if (argc != 2)
    return 64;
  const auto fixed = kelvane::win32::Win32FileVersions().Read(kelvane::win32::Narrow(argv[1]));
  std::vector<BYTE> block(GetFileVersionInfoSizeW(argv[1], nullptr));
  HMODULE module = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC manifest = module ? FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
  if (!fixed || !manifest || !FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON) ||
      !GetFileVersionInfoW(argv[1], 0, block.size(), block.data()))
    return 1;
  std::string text = "Fixed=";
  for (const uint16_t& part : *fixed)
    text += std::to_string(part) + (&part == &fixed->back() ? "\n" : ".");
  for (const wchar_t* name :
       {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
        L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
    wchar_t* value;
    UINT size;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size))
      text += kelvane::win32::Narrow(std::wstring(name) + L"=" + value) + "\n";
  }
  PrintText(text + "\n" +
            std::string(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                        SizeofResource(module, manifest)));
  return 0;
}
