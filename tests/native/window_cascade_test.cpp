#include <gtest/gtest.h>

#include <climits>

#include "monitor/window_cascade.h"

TEST(WindowCascade, ShiftsTowardTheMiddleOfTheWorkArea) {
    const struct {
        CCascadePoint ptPrevious;
        int nWidth;
        int nHeight;
        CCascadePoint ptExpected;
    } cases[] = {
        {{100, 600}, 1024, 738, {120, 580}}, // each axis on its own
        {{512, 369}, 1024, 738, {532, 389}}, // at the middle: still below 1
        {{513, 370}, 1024, 738, {493, 350}}, // one past it
        {{513, 370}, 1025, 739, {493, 350}}, // odd extents: half rounds down
        {{-40, 1}, 0, 0, {-20, -19}},        // off screen; an empty work area
        {{INT_MIN, INT_MAX}, 1024, 738, {INT_MIN + 20, INT_MAX - 20}},
    };
    for (const auto& c : cases) {
        const CCascadePoint pt = CascadeFrom(c.ptPrevious, c.nWidth, c.nHeight);
        EXPECT_EQ(std::make_pair(c.ptExpected.x, c.ptExpected.y), std::make_pair(pt.x, pt.y))
            << c.ptPrevious.x;
    }
}
