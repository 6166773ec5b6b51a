#include "rawsamples.h"

#include <algorithm>
#include <cmath>

namespace LumetoTools {

qint32 toRaw(double value, double multiplier)
{
    const double raw = std::round(value / multiplier);
    return qint32(std::max(-double(rawLimit), std::min(double(rawLimit), raw)));
}

double multiplierFor(double fullScale)
{
    return std::round(fullScale / rawLimit * 1e7) / 1e7;
}

} // namespace LumetoTools
