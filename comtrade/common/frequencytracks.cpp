#include "comtrade/common/frequencytracks.h"

#include "comtrade/common/frequencytracking.h"
#include "comtrade/common/parallel.h"
#include "comtrade/common/readingprogress.h"

#include <algorithm>
#include <cmath>

namespace VornaLumeto {
namespace {

// A missing value carries nothing about the crossings: the tracking sees the
// value before it held (the first value there is, at the start).
QVector<double> heldOverMissing(const QVector<double>& values)
{
    QVector<double> held = values;
    const auto firstPresent = std::find_if(held.begin(), held.end(), [](double v) { return !std::isnan(v); });
    double last = firstPresent == held.end() ? 0.0 : *firstPresent;
    for (double& value : held) {
        if (std::isnan(value))
            value = last;
        last = value;
    }
    return held;
}

} // namespace

bool buildFrequencyTracks(Recording& recording, const QVector<bool>& withGaps, ReadingProgress* progress)
{
    const int analogCount = recording.analogValues.size();
    if (progress)
        progress->beginStage(ReadingProgress::Stage::FrequencyTracks, analogCount);
    recording.channelFrequency = QVector<QVector<double>>(analogCount);
    recording.frequencyDeviation = QVector<QVector<double>>(analogCount);
    // Each job writes its own element through these, so no container detaches under another thread.
    QVector<double>* const frequencies = recording.channelFrequency.data();
    QVector<double>* const deviations = recording.frequencyDeviation.data();
    const QVector<double>* const values = recording.analogValues.constData();
    const Recording& source = recording;
    forEachInParallel(analogCount, [&](int c) {
        if (progress && progress->isCancelled())
            return;
        FrequencyTrack track =
            trackChannelFrequency(withGaps.value(c) ? heldOverMissing(values[c]) : values[c], source.timeAxis,
                                  source.lineFrequency);
        frequencies[c] = std::move(track.frequency);
        deviations[c] = std::move(track.deviation);
        if (progress)
            progress->advance(1);
    });
    if (!progress || !progress->isCancelled())
        return true;
    recording.channelFrequency.clear();
    recording.frequencyDeviation.clear();
    return false;
}

} // namespace VornaLumeto
