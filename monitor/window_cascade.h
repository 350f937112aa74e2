// Where the next status window goes when the windows are shown one after the
// other: 20 pixels from the previous window's top-left corner on each axis,
// toward the middle of the work area.
#pragma once

struct CCascadePoint {
    int x;
    int y;
};

// ptPrevious is the previous window's top-left corner; the work area's width
// and height decide the direction of each shift. On each axis the shift is +20
// while the coordinate minus half the extent is below 1, else -20.
CCascadePoint CascadeFrom(CCascadePoint ptPrevious, int nWorkAreaWidth, int nWorkAreaHeight);
