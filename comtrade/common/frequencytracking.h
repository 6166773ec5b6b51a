#pragma once

#include <QVector>

namespace VornaLumeto {

struct FrequencyTrack {
    QVector<double> frequency;  // Hz, within the band of the line frequency, one value per sample
    QVector<double> deviation;  // frequency - nominal
};

// The frequencies a track can hold: 0.8 ... 1.2 times the line frequency,
// nominal at the line frequency. A line frequency of 0 or less gives the band of 50 Hz.
struct FrequencyBand {
    double nominal = 50.0;
    double lowest = 40.0;  // also the fallback when no sine period is recognised
    double highest = 60.0;
};
FrequencyBand frequencyBand(int lineFrequency);

// Frequency of a channel at every sample, from the zero crossings of a
// smoothed copy of its raw values; timeAxis in ms, same length as values.
FrequencyTrack trackChannelFrequency(const QVector<double>& values, const QVector<double>& timeAxis,
                                     int lineFrequency);

} // namespace VornaLumeto
