// The product's own name, addresses and notice, one place each.
#pragma once

namespace kelvane::ui {

// The main window's caption, and the info window's frame: "Kelvane v.1.0" for version 1.0.
inline constexpr char kWindowTitle[] = "Kelvane v." KELVANE_VERSION_TEXT;

// A bare host name: the shell opens it in the user's browser, knowing it for a web address by its
// "www.".
inline constexpr char kHomePage[] = "www.kelvane.example";
// The home page as the info window's button shows it, short enough for the button at any DPI.
inline constexpr char kHomePageCaption[] = "kelvane.example";
inline constexpr char kHelpPage[] = "www.kelvane.example/forum/viewtopic.php?t=2236";
inline constexpr char kLegalNotice[] = "Freeware \xc2\xa9 2026 Kelvane";

}  // namespace kelvane::ui
