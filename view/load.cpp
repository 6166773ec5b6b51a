#include "view/comtraderead.h"

#include "comtrade/dialect/dialectreader.h"
#include "comtrade/recordingreader.h"

#include <QScrollBar>
#include <QSlider>

namespace VornaLumeto {

namespace {

const QVector<QColor>& paletteColors()
{
    static const QVector<QColor> colors = {
        QColor(0, 0, 255),   QColor(0, 128, 0),  QColor(255, 0, 0),
        QColor(0, 71, 171),  QColor(0, 105, 62), QColor(255, 140, 0),
        QColor(148, 0, 211), QColor(0, 165, 80), QColor(155, 47, 31),
    };
    return colors;
}

} // namespace

COMTRADE_read::COMTRADE_read(QWidget* parent) : QWidget(parent)
{
    replotTimer.setInterval(100);
    for (QColor color : paletteColors()) {
        color.setAlpha(255);
        channelColors.append(color);
        color.setAlpha(240);
        channelColorsFaded.append(color);
    }
}

COMTRADE_read::~COMTRADE_read()
{
    // Their destruction must not call back into a half-destroyed view.
    for (QObject* control : {static_cast<QObject*>(horizontalScrollBar),
                             static_cast<QObject*>(verticalScrollBar),
                             static_cast<QObject*>(zoomSlider)}) {
        if (control)
            control->blockSignals(true);
    }
}

QString COMTRADE_read::load(const QString& configurationPath)
{
    RecordingReading reading = readRecording(configurationPath, StandardReading::Never);
    if (!reading.ok())
        return reading.result.message;
    buildDisplay(std::move(reading.recording));
    return loadSuccessMessage();
}

bool COMTRADE_read::buildDisplay(Recording&& recording, const BuildProgress& progress)
{
    static_cast<Recording&>(*this) = std::move(recording);
    phasors = QVector<Phasor>(analogCount);
    sampling = recordingSampling(*this);

    buildLayout();
    buildVectorDiagram();
    buildFrequencyDiagram();
    buildChannelMenu();
    colorIndex = 0;
    setupPlotAxes();
    // Mapping every sample into its band and making the graphs' points is nearly all of the work.
    if (!buildChannelPlots(progress))
        return false;
    createCuts();
    setInitialWindow();
    return true;
}

} // namespace VornaLumeto
