#pragma once

#include <QVector>

namespace VornaLumeto {

struct FrequencyTrack {
    QVector<double> frequency;  // Hz, within 40 ... 60, one value per sample
    QVector<double> deviation;  // frequency - 50
};

// Frequency of a channel at every sample, from the zero crossings of a
// smoothed copy of its raw values; timeAxis in ms, same length as values.
FrequencyTrack trackChannelFrequency(const QVector<double>& values, const QVector<double>& timeAxis);

} // namespace VornaLumeto
