#include <gtest/gtest.h>

#include <climits>

#include "monitor/window_cascade.h"

TEST(WindowCascade, ShiftsTowardTheMiddleOfTheWorkArea) {
    struct {
        CCascadePoint ptPrevious;
        int nWidth;
        int nHeight;
        CCascadePoint ptExpected;
    } const cases[] = {
        {{100, 50}, 1024, 738, {120, 70}},   // upper left quarter: right and down
        {{900, 600}, 1024, 738, {880, 580}}, // lower right: left and up
        {{900, 50}, 1024, 738, {880, 70}},   // each axis on its own
        {{512, 369}, 1024, 738, {532, 389}}, // exactly at the middle: still below 1
        {{513, 370}, 1024, 738, {493, 350}}, // one past the middle
        {{512, 369}, 1025, 739, {532, 389}}, // odd extents: half rounds down
        {{513, 370}, 1025, 739, {493, 350}},
        {{-40, -40}, 1024, 738, {-20, -20}}, // off screen to the left and top
        {{0, 0}, 0, 0, {20, 20}},            // an empty work area
        {{1, 1}, 0, 0, {-19, -19}},
        {{INT_MIN, INT_MAX}, 1024, 738, {INT_MIN + 20, INT_MAX - 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.ptPrevious.x << "," << c.ptPrevious.y << " in " << c.nWidth << "x" << c.nHeight);
        const CCascadePoint pt = CascadeFrom(c.ptPrevious, c.nWidth, c.nHeight);
        EXPECT_EQ(c.ptExpected.x, pt.x);
        EXPECT_EQ(c.ptExpected.y, pt.y);
    }
}
