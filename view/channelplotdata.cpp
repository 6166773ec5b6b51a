#include "view/channelplotdata.h"

#include "comtrade/common/frequencytracking.h"
#include "view/bandgeometry.h"
#include "view/comtraderead.h"
#include "view/graphpoints.h"

#include <QThread>
#include <QtConcurrent>

#include <numeric>

namespace VornaLumeto {
namespace {

constexpr double hertzUnitShift = 5000.0;

// Frequency channels written in hertz carry a constant offset that would flatten their curve.
QVector<double> drawnValues(const QVector<double>& raw, const QString& unit)
{
    if (unit != QStringLiteral("Гц"))
        return raw;
    QVector<double> shifted(raw);
    for (double& value : shifted)
        value -= hertzUnitShift;
    return shifted;
}

} // namespace

ChannelPlotData::~ChannelPlotData()
{
    work.waitForFinished();
}

void ChannelPlotData::start(COMTRADE_read& view)
{
    const int analogCount = view.analogCount;
    const int digitalCount = view.digitalCount;
    analog.resize(analogCount);
    digital.resize(digitalCount);
    jobs.resize(analogCount + digitalCount);
    std::iota(jobs.begin(), jobs.end(), 0);

    // Everything a job touches is reached through pointers taken here, so that no
    // job can make a shared container detach under another thread.
    const Recording& recording = view;
    AnalogPlotData* const analogOut = analog.data();
    DigitalPlotData* const digitalOut = digital.data();
    QVector<double>* const deviations = view.frequencyDeviation.data();
    const FrequencyBand band = frequencyBand(view.lineFrequency);
    const double deviationPeak = band.highest - band.nominal;

    work = QtConcurrent::map(jobs, [=, &recording](int job) {
        const QVector<double>& times = recording.timeAxis;
        if (job < analogCount) {
            AnalogPlotData& out = analogOut[job];
            const QVector<double> drawn =
                drawnValues(recording.analogValues.at(job), recording.analogChannels.at(job).unit);
            COMTRADE_read::mapToBand(out.band, drawn, job, COMTRADE_read::peakAbs(drawn), bandFill);
            out.wave = graphPoints(times, out.band);
            // The deviation a track can reach (0.2 times the line frequency) fills 90 % of the half band.
            QVector<double>& deviation = deviations[job];
            COMTRADE_read::mapToBand(deviation, deviation, job, deviationPeak, bandFill);
            out.frequency = graphPoints(times, deviation, 0.0, -1.0);
            return;
        }
        const int channel = job - analogCount;
        DigitalPlotData& out = digitalOut[channel];
        digitalTraceEdges(recording.digitalValues.at(channel), digitalRowTop(analogCount, channel),
                          out.lower, out.upper);
        out.lowerPoints = graphPoints(times, out.lower);
        out.upperPoints = graphPoints(times, out.upper);
    });
}

bool ChannelPlotData::finish(COMTRADE_read& view, const std::function<bool(int permille)>& progress)
{
    // The window that shows the progress is painted between short waits.
    constexpr int pollMilliseconds = 50;
    while (progress && !work.isFinished()) {
        if (!progress(int(qint64(work.progressValue()) * 1000 / qMax(1, work.progressMaximum())))) {
            work.cancel();
            work.waitForFinished();
            return false;
        }
        QThread::msleep(pollMilliseconds);
    }
    work.waitForFinished();
    view.normalizedValues.resize(analog.size());
    for (int channel = 0; channel < analog.size(); ++channel) {
        AnalogPlotData& data = analog[channel];
        view.normalizedValues[channel] = std::move(data.band);
        handGraphPoints(view.waveGraphs.at(channel), std::move(data.wave));
        handGraphPoints(view.frequencyGraphs.at(channel), std::move(data.frequency));
    }
    view.digitalLowerValues.resize(digital.size());
    view.digitalUpperValues.resize(digital.size());
    for (int channel = 0; channel < digital.size(); ++channel) {
        DigitalPlotData& data = digital[channel];
        view.digitalLowerValues[channel] = std::move(data.lower);
        view.digitalUpperValues[channel] = std::move(data.upper);
        handGraphPoints(view.digitalLowerGraphs.at(channel), std::move(data.lowerPoints));
        handGraphPoints(view.digitalUpperGraphs.at(channel), std::move(data.upperPoints));
    }
    analog.clear();
    digital.clear();
    return true;
}

} // namespace VornaLumeto
