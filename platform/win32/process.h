// The program's own facts and its standard output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvane::win32 {

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
