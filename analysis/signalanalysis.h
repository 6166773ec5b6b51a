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

// True RMS of multiplier * raw + offsetAdder over raw[first ... first + count - 1].
double computeWindowRms(const QVector<double>& raw, double multiplier, double offsetAdder,
                        int first, int count);

// Largest |multiplier * raw + offsetAdder| over raw[first ... first + count - 1]; 0 for a window
// that does not lie inside the recording.
double windowPeakAbs(const QVector<double>& raw, double multiplier, double offsetAdder, int first,
                     int count);

// Phasor of a harmonic over raw[first ... first + count - 1], angle counted
// from the first sample of the window.
Phasor computePhasor(const QVector<double>& raw, int harmonic, int first, int count,
                     double multiplier, double offsetAdder);

struct HarmonicMagnitudes {
    QVector<double> magnitudes;  // harmonics 0 ... n
    double maximum = 0.0;        // NaN magnitudes never become the maximum
};
HarmonicMagnitudes computeHarmonicMagnitudes(const QVector<double>& raw, double multiplier,
                                             double offsetAdder, int first, int count,
                                             int highestHarmonic);

} // namespace VornaLumeto
