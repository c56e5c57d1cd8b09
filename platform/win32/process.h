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

// A path on a drive that is not ready (an empty card reader, a disconnected share) just fails
// to be found: Windows asks no question of its own, which would stop the window at each typed
// letter and leave an unattended kelvane-cli waiting for a click.
void NoSystemErrorBoxes();

// The folder of the running program's file, ending in a backslash.
std::string ProgramFolder();

// Writes UTF-8 text to standard output, or to the standard handle given: through the console
// when there is one, else as bytes.
void PrintText(const std::string& text, DWORD std_handle = STD_OUTPUT_HANDLE);

}  // namespace kelvane::win32
