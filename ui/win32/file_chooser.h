// The shell's own file-open dialog, modal to the owner.
#pragma once

#include <windows.h>

#include <string>

namespace kelvane::ui::view {

// filter: display name and pattern pairs separated by "|". The chosen full path with blanks at
// both ends removed, or empty when the user cancels or the dialog cannot be had.
std::string BrowseForFile(HWND owner,
                          const std::string& initial_folder,
                          const std::string& filter,
                          const std::string& title);

}  // namespace kelvane::ui::view
