// Process-wide Win32 set-up and the program's own facts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvane::win32 {

// Loads DLLs from System32 only, so nothing planted beside the elevated program is picked up.
// Looked up at run time; does nothing on systems without it.
void RestrictDllSearchToSystem32();

// Loads a DLL of the system folder by its full path, so that no search is involved. Works on
// every Windows 7, with or without the update that taught LoadLibraryEx to search System32.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The command-line arguments after the program's name, as UTF-8.
std::vector<std::string> CommandLineArguments();

// The argument text after the program's name, with blanks at both ends removed.
std::string CommandLineText();

// The folder of the running program's file, ending in a backslash.
std::string ProgramFolder();

// Writes UTF-8 text to standard output, or to the standard handle given: through the console
// when there is one, else as bytes.
void PrintText(const std::string& text, DWORD std_handle = STD_OUTPUT_HANDLE);

}  // namespace kelvane::win32
