#pragma once

#include <QObject>

class QCustomPlot;

namespace VornaLumeto {

// Sends a plot's button presses, releases and double clicks straight to its
// mousePress, mouseRelease and mouseDoubleClick signals, past QCustomPlot's own
// handling. That handling hit-tests every plottable point by point to find one
// under the cursor, which takes hundreds of milliseconds on a large recording,
// and the oscillogram uses no plottable interaction. Moves and the wheel are
// left to QCustomPlot. The filter belongs to the plot.
class DirectButtonSignals : public QObject {
public:
    explicit DirectButtonSignals(QCustomPlot* plot);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCustomPlot* plot;
};

} // namespace VornaLumeto
