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

// Period lengths in samples at a sampling rate: whole = rate / lf truncated
// (P), nearest = rounded halves up (Q); for whole numbers the same as integer
// division. Both 0 when lf <= 0 or rate <= 0, or when a period would not fit
// in a sample index.
struct AnalysisPeriods {
    int whole = 0;
    int nearest = 0;
    // A recording whose periods are shorter than one sample has too little data at every cut.
    bool usable() const { return whole >= 1 && nearest >= 1; }
};
AnalysisPeriods analysisPeriods(double rate, double lineFrequency);

// Samples first ... first + count - 1 of a channel.
struct SampleWindow {
    int first = 0;
    int count = 0;
    // Its samples were taken at two rates: they are no period of anything, and
    // every result over the window is NaN.
    bool acrossRateChange = false;
    // Its period holds fewer samples than the analysis asks for: every result
    // over the window is NaN as well.
    bool tooFewSamples = false;
    // Results over the window are numbers (where the window holds no missing value).
    bool givesNumbers() const { return !acrossRateChange && !tooFewSamples; }
    // The recording holds the whole window: it has samples and starts at or after the first one.
    bool recorded() const { return count > 0 && first >= 0; }
};

// The two windows that end at a cut: P samples for the true RMS and the
// harmonics, Q samples for the fundamental. Both empty when the periods are not usable.
struct CutWindows {
    SampleWindow whole;
    SampleWindow nearest;
    AnalysisPeriods periods;  // P and Q the windows were counted with
};
CutWindows cutWindows(const AnalysisPeriods& periods, int cut);

// Samples first ... end - 1, taken at one rate (samples per second).
struct SamplingStretch {
    double rate = 0.0;
    int first = 0;
    int end = 0;
};

// The index of the stretch that holds the sample: the last one that starts at
// or before it (the first stretch for a sample before them all).
int stretchHolding(const QVector<SamplingStretch>& stretches, int sample);

// Fewer samples per period than this give no phasor, and no readout of a
// recording read by the standard reader (a 50 samples/s stretch of a multi-rate recording).
constexpr int minimumSamplesPerPeriod = 8;

// The windows that end at a cut of a recording sampled in stretches of
// different rates: P and Q of the stretch that holds the cut, and a window
// that reaches back into the stretch before is acrossRateChange. A window of
// fewer than fewestSamples samples is tooFewSamples.
CutWindows cutWindows(const QVector<SamplingStretch>& stretches, double lineFrequency, int cut, int fewestSamples = 0);

// A channel's raw values become multiplier * raw + offsetAdder in its unit.
struct ChannelScaling {
    double multiplier = 1.0;
    double offsetAdder = 0.0;
};

// Results over a window outside the values are 0; over a window that gives no
// numbers, or one that holds a missing value (NaN), they are NaN.

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
