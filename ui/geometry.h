// Points, sizes and rectangles in pixels, and the scaling of a 96-DPI pixel
// value to another DPI, shared by the menu's and the status window's layouts.
// Platform-free.
#pragma once

namespace geometry {

struct Point {
    int x = 0, y = 0;
};

struct Size {
    int cx = 0, cy = 0;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A 96-DPI pixel value at nDpi, rounded half away from zero, so that -x
// scales to -(scaled x).
int ScaleForDpi(int nPixels, unsigned nDpi);

} // namespace geometry
