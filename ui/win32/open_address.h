// Web pages opened from the window.
#pragma once

#include <windows.h>

#include <string>

namespace kelvane::ui::view {

// Opens a web address in the user's browser; a launch that fails shows nothing.
void OpenAddress(HWND owner, const std::string& address, const std::string& working_folder);

}  // namespace kelvane::ui::view
