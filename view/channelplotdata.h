#pragma once

#include <qcustomplot.h>

#include <QFuture>
#include <QVector>

#include <functional>

namespace VornaLumeto {

class COMTRADE_read;

// What the plots of one channel are drawn from.
struct AnalogPlotData {
    QVector<double> band;              // the samples mapped into the channel's band
    QVector<QCPGraphData> wave;
    QVector<QCPGraphData> frequency;   // negated: above y = 0 until the frequency is shown
};

struct DigitalPlotData {
    QVector<double> lower;
    QVector<double> upper;
    QVector<QCPGraphData> lowerPoints;
    QVector<QCPGraphData> upperPoints;
};

// Maps every channel of a view's recording into its band and builds its graphs'
// point vectors on the thread pool, while the GUI thread builds the widgets and
// graphs; a channel's frequency deviation is mapped into its band in place.
// Between start() and finish() the recording must not change.
class ChannelPlotData {
public:
    ChannelPlotData() = default;
    ChannelPlotData(const ChannelPlotData&) = delete;
    ChannelPlotData& operator=(const ChannelPlotData&) = delete;
    ~ChannelPlotData();

    void start(COMTRADE_read& view);
    // Waits for the work, then hands every vector to the view's members and
    // graphs without copying it. While it waits, tells progress (when given)
    // how much is done, 0 to 1000; when progress returns false the work
    // stops, nothing is handed over and finish returns false.
    bool finish(COMTRADE_read& view, const std::function<bool(int permille)>& progress = {});

private:
    QVector<int> jobs;  // analog channels first, then digital ones
    QVector<AnalogPlotData> analog;
    QVector<DigitalPlotData> digital;
    QFuture<void> work;
};

} // namespace VornaLumeto
