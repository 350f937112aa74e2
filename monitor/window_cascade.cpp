#include "monitor/window_cascade.h"

namespace {

constexpr int kCascadeStep = 20;

int Shift(int nCoordinate, int nExtent) {
    return static_cast<long long>(nCoordinate) - nExtent / 2 < 1 ? kCascadeStep : -kCascadeStep;
}

} // namespace

CCascadePoint CascadeFrom(CCascadePoint ptPrevious, int nWorkAreaWidth, int nWorkAreaHeight) {
    return {ptPrevious.x + Shift(ptPrevious.x, nWorkAreaWidth),
            ptPrevious.y + Shift(ptPrevious.y, nWorkAreaHeight)};
}
