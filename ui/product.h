// The product's own addresses and notice, one place each.
#pragma once

namespace kelvane::ui {

// A bare host name: the shell opens it in the user's browser.
inline constexpr char kHomePage[] = "www.kelvane.example";
inline constexpr char kHelpPage[] = "www.kelvane.example/forum/viewtopic.php?t=2236";
inline constexpr char kLegalNotice[] = "Freeware \xc2\xa9 2026 Kelvane";

}  // namespace kelvane::ui
