// The report's two marks, drawn by us so they stay sharp at any DPI: a green tick and a red
// cross on a transparent background.
#pragma once

#include <windows.h>

namespace kelvane::ui::view {

// Draws into box (the mark's own 22 x 17 or 22 x 24 design pixels, scaled by dpi / 96).
void DrawTick(HDC dc, const RECT& box, UINT dpi);
void DrawCross(HDC dc, const RECT& box, UINT dpi);

}  // namespace kelvane::ui::view
