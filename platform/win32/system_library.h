// Functions of the system's DLLs, found at run time: those that older Windows lacks, and those
// of DLLs that Windows would look for beside the elevated program first if it imported them.
#pragma once

#include <windows.h>

namespace kelvane::win32 {

// Loads DLLs from System32 only, so nothing planted beside the elevated program is picked up.
// Does nothing on systems without SetDefaultDllDirectories.
void RestrictDllSearchToSystem32();

// The address of the function that the system folder's DLL exports under the name (or the
// ordinal, given as MAKEINTRESOURCEA), the DLL staying loaded; nullptr when either is missing.
// The DLL is loaded by its full path, so that no search is involved: that works on every
// Windows 7, with or without the update that taught LoadLibraryEx to search System32.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemProcedure(dll, name)));
}

}  // namespace kelvane::win32
