#pragma once

#include <QtGlobal>

// Where channels sit on the oscillogram's y axis, in row units: 0 at the top of the
// channel area, negative downwards, one label row 10 units high.
namespace VornaLumeto {

constexpr double analogBand = 40.0;   // four label rows per analog channel
constexpr double digitalBand = 10.0;  // one label row per digital channel
constexpr double bandFill = 0.9;      // a channel's peak fills 90 % of its half band

// Top of the row of digital channel k, under all analogCount analog bands.
constexpr double digitalRowTop(int analogCount, int channel)
{
    return -analogBand * analogCount - digitalBand * channel;
}

} // namespace VornaLumeto
