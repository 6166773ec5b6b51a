#pragma once

#include "analysis/impedancelocus.h"

#include <qcustomplot.h>

#include <array>
#include <optional>

namespace VornaLumeto {

// The R-X diagram of the fault-analysis window: the six loops' locus over a
// range of samples, one point per sample, each loop's point at cut 1 marked,
// the line's impedance drawn from the origin. A click on a legend item shows
// or hides its loop; the wheel zooms and a drag moves, R and X at one scale.
class ImpedanceDiagram : public QCustomPlot {
    Q_OBJECT

public:
    explicit ImpedanceDiagram(QWidget* parent);

    // The locus of every sample of the recording in primary ohms, and what
    // brings it to the ohms shown (1, or CT ratio / VT ratio); none shows no locus.
    void setLocus(const ImpedanceLocus& locus, std::optional<double> factor);
    // The line's positive-sequence impedance in the ohms shown; none draws no line.
    void setLine(std::optional<Complex> impedance);
    // Samples first ... last of the locus, the point of sample marked on top.
    // Moving only the mark repaints only the marks.
    void showSamples(int first, int last, int marked);
    // R and X ranges around the origin, the line and the marks.
    void fitToContents();
    // A PNG or PDF by the file's suffix (PNG when it has neither); false when not written.
    bool saveImage(const QString& path);

    std::array<QCPCurve*, faultLoopCount> loopCurves{};
    std::array<QCPCurve*, faultLoopCount> markCurves{};
    QCPCurve* lineCurve = nullptr;

private:
    struct Box;
    void addLocusBulk(Box& box) const;
    void toggleLoop(QCPAbstractLegendItem* item);
    void showMarks(int marked);
    void fillLoopCurves();
    void refillAfterZoom();
    double ohmsPerPixel() const;
    void keepEqualScale();
    void queueReplot();

    QCPLayer* markLayer = nullptr;
    ImpedanceLocus locus;
    double factor = 1.0;
    bool hasLocus = false;
    int shownFirst = -1;
    int shownLast = -1;
    bool replotQueued = false;
    double filledTolerance = 0.0;  // ohms: the shown points are at least this far apart
};

} // namespace VornaLumeto
