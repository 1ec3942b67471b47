#include "core/drill/RandomSource.h"

#include <cmath>

namespace mirvo {

int randomPosition(float r, int n)
{
    // A float's 24-bit mantissa times any int below 2^29 is exact in a double.
    return static_cast<int>(std::floor(static_cast<double>(r) * n));
}

} // namespace mirvo
