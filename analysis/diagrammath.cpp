#include "analysis/diagrammath.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace VornaLumeto {

namespace {

// The shortened constants the phasor maths uses, so that the drawing agrees with it.
constexpr double shortPi = 3.1415926535;
constexpr double quarterTurn = 1.57079632675;
constexpr double longestVector = 0.8;
constexpr double tallestBar = 8.0;

const QHash<QString, VectorUnit>& unitTable()
{
    static const QHash<QString, VectorUnit> table = {
        {QStringLiteral("V"), {VectorKind::Voltage, 1.0}},
        {QStringLiteral("В"), {VectorKind::Voltage, 1.0}},
        {QStringLiteral("kV"), {VectorKind::Voltage, 1000.0}},
        {QStringLiteral("кВ"), {VectorKind::Voltage, 1000.0}},
        {QStringLiteral("mV"), {VectorKind::Voltage, 0.001}},
        {QStringLiteral("мВ"), {VectorKind::Voltage, 0.001}},
        {QStringLiteral("A"), {VectorKind::Current, 1.0}},
        {QStringLiteral("А"), {VectorKind::Current, 1.0}},
        {QStringLiteral("kA"), {VectorKind::Current, 1000.0}},
        {QStringLiteral("kА"), {VectorKind::Current, 1000.0}},
        {QStringLiteral("кA"), {VectorKind::Current, 1000.0}},
        {QStringLiteral("mA"), {VectorKind::Current, 0.001}},
        {QStringLiteral("mА"), {VectorKind::Current, 0.001}},
        {QStringLiteral("мA"), {VectorKind::Current, 0.001}},
    };
    return table;
}

QString numberOrDash(double value, int decimals)
{
    return std::isfinite(value) ? QString::number(value, 'f', decimals) : QStringLiteral("-");
}

constexpr double noiseShare = 1e-9;

// A percentage of a base that is only rounding noise would be absurd.
double percentOf(double value, double base, double largest)
{
    if (negligibleAgainst(base, largest))
        return std::numeric_limits<double>::quiet_NaN();
    return value * 100.0 / base;
}

} // namespace

VectorUnit vectorUnit(const QString& unit)
{
    return unitTable().value(unit, VectorUnit{});
}

bool isPercentUnit(const QString& unit)
{
    return unit == QLatin1String("%");
}

bool negligibleAgainst(double magnitude, double largest)
{
    return !(magnitude > noiseShare * largest);
}

double foldAngle(double degrees)
{
    if (degrees > 180.0)
        return degrees - 360.0;
    if (degrees <= -180.0)
        return degrees + 360.0;
    return degrees;
}

QString angleText(double foldedDegrees, AngleUnit unit)
{
    if (std::isnan(foldedDegrees))
        return QStringLiteral("-");
    if (unit == AngleUnit::Degrees)
        return QString::number(foldedDegrees, 'f', 1);
    return QString::number(foldedDegrees / 180.0, 'f', 3) + QStringLiteral("π");
}

QString magnitudeText(double rms)
{
    return numberOrDash(rms, 3);
}

double vectorLength(double rms, double factor, double largest)
{
    if (largest == 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    return longestVector * rms * factor / largest;
}

QPointF vectorEnd(double length, double angleDegrees)
{
    const double phi = angleDegrees * shortPi / 180.0 + quarterTurn;
    return QPointF(length * std::cos(phi), length * std::sin(phi));
}

int harmonicLimit(const AnalysisPeriods& periods)
{
    return periods.usable() ? periods.whole / 2 : 0;
}

int highestHarmonicLimit(const QVector<SamplingStretch>& stretches, double lineFrequency)
{
    int highest = 0;
    for (const SamplingStretch& stretch : stretches)
        highest = std::max(highest, harmonicLimit(analysisPeriods(stretch.rate, lineFrequency)));
    return highest;
}

int harmonicTickStep(int lineFrequency)
{
    return lineFrequency > 0 ? lineFrequency : 50;
}

QVector<QString> harmonicLabelTexts(const QVector<double>& magnitudes, HarmonicValueMode mode,
                                    double windowRms)
{
    const double fundamental = magnitudes.size() > 1 ? magnitudes.at(1) : 0.0;
    const double largest = magnitudes.isEmpty() ? 0.0 : *std::max_element(magnitudes.begin(), magnitudes.end());
    QVector<QString> texts;
    texts.reserve(magnitudes.size());
    for (double magnitude : magnitudes) {
        switch (mode) {
        case HarmonicValueMode::Absolute:
            texts.append(numberOrDash(magnitude, 2));
            break;
        case HarmonicValueMode::FundamentalPercent:
            texts.append(numberOrDash(percentOf(magnitude, fundamental, largest), 1));
            break;
        case HarmonicValueMode::RmsPercent:
            texts.append(numberOrDash(percentOf(magnitude, windowRms, largest), 1));
            break;
        }
    }
    return texts;
}

QVector<double> harmonicBarHeights(const QVector<double>& magnitudes, double maximum)
{
    QVector<double> heights;
    if (!(maximum > 0.0) || !std::isfinite(maximum))
        return heights;
    heights.reserve(magnitudes.size());
    for (double magnitude : magnitudes)
        heights.append(magnitude * tallestBar / maximum);
    return heights;
}

} // namespace VornaLumeto
