#pragma once

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace VornaLumeto {

// A real as the model's 32-bit integers hold it: rounded to the nearest,
// halves away from zero, kept within 32 bits; NaN (a missing value) is 0.
inline qint32 roundedToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double largest = std::numeric_limits<qint32>::max();
    constexpr double smallest = std::numeric_limits<qint32>::min();
    return value >= largest ? qint32(largest) : value <= smallest ? qint32(smallest) : qint32(std::lround(value));
}

} // namespace VornaLumeto
