// Between the platform-free layouts' rectangles and GDI: the conversions both
// ways and a solid fill.
#pragma once

#include <windows.h>

#include "ui/geometry.h"

RECT ToRECT(const geometry::Rect& rc);
geometry::Rect FromRECT(const RECT& rc);

// Paints the rectangle in one colour, as CDC::FillSolidRect does; an empty
// rectangle paints nothing. Leaves the DC's background colour set to cr.
void FillSolid(HDC hdc, const geometry::Rect& rc, COLORREF cr);
