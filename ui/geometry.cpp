#include "ui/geometry.h"

namespace geometry {

int ScaleForDpi(int nPixels, unsigned nDpi) {
    const long long nScaled = static_cast<long long>(nPixels) * nDpi;
    return static_cast<int>(nScaled >= 0 ? (nScaled + 48) / 96 : -((-nScaled + 48) / 96));
}

} // namespace geometry
