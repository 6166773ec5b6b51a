#pragma once

#include "analysis/signalanalysis.h"

#include <QPointF>
#include <QString>
#include <QVector>

// Arithmetic of the two analysis panels, kept apart from the widgets that show it.
namespace VornaLumeto {

// Phasors are scaled per kind: the longest voltage and the longest current each fill the diagram.
enum class VectorKind { Voltage, Current, Other };

struct VectorUnit {
    VectorKind kind = VectorKind::Other;
    double factor = 0.0;  // brings a magnitude to volts or amperes
};

// Recognises the unit texts recorders write, Latin and Cyrillic letters mixed as they occur.
VectorUnit vectorUnit(const QString& unit);

// Channels in percent are shares, not quantities: they have no phasor to draw.
bool isPercentUnit(const QString& unit);

// A magnitude at or below 1e-9 of the largest value it is compared with is rounding noise of
// the transform: a DC signal leaves a "fundamental" of 1e-12.
bool negligibleAgainst(double magnitude, double largest);

// Brings an angle difference into (-180, 180] with a single correction.
double foldAngle(double degrees);

enum class AngleUnit { Degrees = 0, Radians = 1 };
// "-" for an angle that is not a number: a phasor without a direction.
QString angleText(double foldedDegrees, AngleUnit unit);

// An RMS in the vector table: three decimals, "-" when it is not a number.
QString magnitudeText(double rms);

// Length of a vector against the largest magnitude of its kind; NaN when that largest is 0.
double vectorLength(double rms, double factor, double largest);

// End point of a vector whose angle 0 points up and positive angles turn counter-clockwise.
QPointF vectorEnd(double length, double angleDegrees);

// Highest harmonic that one whole period can resolve; 0 when the recording has no usable period.
int harmonicLimit(const AnalysisPeriods& periods);

// The highest harmonic limit over every stretch of a recording's sampling: the
// harmonics its frequency diagram may ever have to label.
int highestHarmonicLimit(const QVector<SamplingStretch>& stretches, double lineFrequency);

// Hertz between two harmonic ticks: the line frequency, 50 when the recording gives none.
int harmonicTickStep(int lineFrequency);

enum class HarmonicValueMode { Absolute = 1, FundamentalPercent = 2, RmsPercent = 3 };

// Texts above the bars of harmonics 0 ... n. windowRms is read in RmsPercent mode only.
// A percentage without a defined base (zero or absent) reads "-".
QVector<QString> harmonicLabelTexts(const QVector<double>& magnitudes, HarmonicValueMode mode,
                                    double windowRms);

// Bar heights with the largest bar 8 units high; empty when there is nothing to scale against.
QVector<double> harmonicBarHeights(const QVector<double>& magnitudes, double maximum);

} // namespace VornaLumeto
