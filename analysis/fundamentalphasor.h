#pragma once

#include "analysis/linedata.h"
#include "analysis/signalanalysis.h"
#include "comtrade/common/recordingsampling.h"

#include <QVector>

#include <optional>

namespace VornaLumeto {

// The period that ends at a sample: N samples, N the line period at the rate of
// the stretch that holds the sample, rounded. None when it would reach before
// the first sample or past sampleCount, into a stretch of another rate, or
// when N < minimumSamplesPerPeriod.
std::optional<SampleWindow> periodEndingAt(const RecordingSampling& sampling, int endSample, int sampleCount);

// Fundamental phasor by the full-cycle DFT over the window, RMS, cosine
// reference: X = (sqrt 2 / N) * sum of x[n] * e^(-j 2 pi n / N), n counted
// from the window's first sample (a cosine gives 0 degrees, a sine -90).
// None when the window lies outside the values, is across a change of rate,
// has fewer than minimumSamplesPerPeriod samples or holds a missing value (NaN).
std::optional<Complex> fundamentalPhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window);

// The fundamental phasor of the window, as fundamentalPhasor counts it, of a
// sinusoid fitted by least squares together with a slowly varying offset (a
// quadratic in time). An offset as large as the peak, dying with 30 ms from
// the window's start (a fault current's worst), leaks about a hundred times
// less into it than into the plain one, and noise little more: for telling
// what changed in the first cycles of a fault, not for readouts.
std::optional<Complex> offsetFreePhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window);

// The fundamental phasor, as fundamentalPhasor counts it over a period of
// `period` samples from the window's first sample, of the steady sinusoid of
// that period fitted by least squares to the window, which may hold as few as
// three samples: what part of a period tells of a state that lasted no longer.
// None where the window lies outside the values, is across a change of rate or
// holds a missing value, or where the period is shorter than minimumSamplesPerPeriod.
std::optional<Complex> sinusoidPhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window,
                                      int period);

// Seconds from sample 0 to a sample, through the rates of the stretches.
double sampleTime(const RecordingSampling& sampling, int sample);

// A window's phasor as it would read over a window that starts at another
// time: turned by the line frequency over the time between their first samples.
Complex referredToWindow(Complex phasor, const RecordingSampling& sampling, SampleWindow from, SampleWindow to);

} // namespace VornaLumeto
