#include "ui/win32/marks.h"

namespace kelvane::ui::view {
namespace {

// Points in design pixels (96 DPI) inside the mark's box.
void DrawStrokes(HDC dc,
                 const RECT& box,
                 UINT dpi,
                 COLORREF color,
                 const POINT* points,
                 int count,
                 bool pairs) {
  auto scale = [&](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };
  HPEN pen = CreatePen(PS_SOLID, scale(3), color);
  HGDIOBJ old = SelectObject(dc, pen);
  auto at = [&](POINT p) { return POINT{box.left + scale(p.x), box.top + scale(p.y)}; };
  for (int i = 0; i + 1 < count; i += pairs ? 2 : 1) {
    POINT from = at(points[i]), to = at(points[i + 1]);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

void DrawTick(HDC dc, const RECT& box, UINT dpi) {
  const POINT tick[] = {{3, 9}, {8, 14}, {19, 3}};
  DrawStrokes(dc, box, dpi, RGB(0, 150, 40), tick, 3, false);
}

void DrawCross(HDC dc, const RECT& box, UINT dpi) {
  const POINT cross[] = {{4, 5}, {18, 19}, {18, 5}, {4, 19}};
  DrawStrokes(dc, box, dpi, RGB(210, 20, 20), cross, 4, true);
}

}  // namespace kelvane::ui::view
