#pragma once

#include <QtGlobal>

// Where channels sit in the oscillogram, and which label rows and labels are
// theirs. The y axis is in row units: 0 at the top of the channel area,
// negative downwards, one label row 10 units high.
namespace VornaLumeto {

constexpr int rowHeight = 10;
constexpr int visibleRows = 24;                        // label rows in view at once
constexpr int visibleHeight = rowHeight * visibleRows; // the y range, always 240 units
constexpr int rowsPerAnalogChannel = 4;                // name and value, RMS, fundamental, scale note
constexpr int labelsPerAnalogChannel = 10;
constexpr double analogBand = rowHeight * rowsPerAnalogChannel;  // 40 units
constexpr double digitalBand = rowHeight;                        // 10 units
constexpr double bandFill = 0.9;  // a channel's peak fills 90 % of its half band

// Labels of an analog channel, by their place in its rows.
enum class AnalogLabel {
    Name = 0, Value = 1, Unit = 2,              // first row
    RmsValue = 4, RmsUnit = 5,                  // after the RMS caption
    FundamentalValue = 7, FundamentalUnit = 8,  // after the fundamental's caption
    ScaleNote = 9,                              // the fourth row
};

constexpr double analogBandTop(int channel)
{
    return -analogBand * channel;
}

// Top of the row of digital channel k, under all analogCount analog bands.
constexpr double digitalRowTop(int analogCount, int channel)
{
    return -analogBand * analogCount - digitalBand * channel;
}

// The lowest y the channel area reaches with these channels displayed; never above
// the bottom of the visible range.
constexpr double plotBottom(int shownAnalog, int shownDigital)
{
    return -double(qMax(visibleHeight, int(analogBand) * shownAnalog + int(digitalBand) * shownDigital));
}

constexpr int displayedRows(int shownAnalog, int shownDigital)
{
    return rowsPerAnalogChannel * shownAnalog + shownDigital;
}

// Label rows, as indices into the view's rows: analog channels first, then digital ones.
constexpr int firstRowOfAnalog(int channel)
{
    return rowsPerAnalogChannel * channel;
}

constexpr int rowOfDigital(int analogCount, int channel)
{
    return rowsPerAnalogChannel * analogCount + channel;
}

// Labels, as indices into the view's labels: ten per analog channel, then one per digital channel.
constexpr int analogLabelIndex(int channel, AnalogLabel label)
{
    return labelsPerAnalogChannel * channel + int(label);
}

constexpr int digitalLabelIndex(int analogCount, int channel)
{
    return labelsPerAnalogChannel * analogCount + channel;
}

// The vertical scroll bar's last value: the first displayed row that still fills the 24 slots.
constexpr int lastFirstRow(int rows)
{
    return rows - visibleRows;
}

} // namespace VornaLumeto
