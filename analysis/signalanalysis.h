#pragma once

#include <QVector>

namespace VornaLumeto {

struct Phasor {
    double cosCoefficient = 0.0;
    double sinCoefficient = 0.0;
    double amplitude = 0.0;
    double rms = 0.0;
    double angle = 0.0;  // degrees
};

// Period lengths in samples at the first sampling rate: whole = rate / lf
// truncated (P), nearest = rounded halves up (Q). Both 0 when lf <= 0 or rate <= 0.
struct AnalysisPeriods {
    int whole = 0;
    int nearest = 0;
    // A recording whose periods are shorter than one sample has too little data at every cut.
    bool usable() const { return whole >= 1 && nearest >= 1; }
};
AnalysisPeriods analysisPeriods(int rate, int lineFrequency);

// Samples first ... first + count - 1 of a channel.
struct SampleWindow {
    int first = 0;
    int count = 0;
    // The recording holds the whole window: it has samples and starts at or after the first one.
    bool recorded() const { return count > 0 && first >= 0; }
};

// The two windows that end at a cut: P samples for the true RMS and the
// harmonics, Q samples for the fundamental. Both empty when the periods are not usable.
struct CutWindows {
    SampleWindow whole;
    SampleWindow nearest;
};
CutWindows cutWindows(const AnalysisPeriods& periods, int cut);

// A channel's raw values become multiplier * raw + offsetAdder in its unit.
struct ChannelScaling {
    double multiplier = 1.0;
    double offsetAdder = 0.0;
};

// True RMS of the scaled values over the window; 0 for a window outside the values.
double computeWindowRms(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window);

// Largest |scaled value| over the window; 0 for a window outside the values.
double windowPeakAbs(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window);

// Phasor of a harmonic over the window, its angle counted from the window's first sample.
Phasor computePhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window, int harmonic);

struct HarmonicMagnitudes {
    QVector<double> magnitudes;  // harmonics 0 ... n
    double maximum = 0.0;        // NaN magnitudes never become the maximum
};
HarmonicMagnitudes computeHarmonicMagnitudes(const QVector<double>& raw, ChannelScaling scaling,
                                             SampleWindow window, int highestHarmonic);

} // namespace VornaLumeto
