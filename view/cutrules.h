#pragma once

#include <QString>
#include <QVector>

namespace VornaLumeto {

// Index in first ... last of the sample nearest to time; a tie goes to the later
// sample and a time outside the window lands on the window's nearer end.
// times must not decrease over the window.
int nearestSampleIndex(const QVector<double>& times, int first, int last, double time);

// A press grabs a line within the tolerance, both ends included.
bool withinGrabReach(double mouseTime, double cutTime, int tolerance);
// The resize cursor shows only strictly inside the tolerance.
bool strictlyNearCut(double mouseTime, double cutTime, int tolerance);

struct PrefixedValue {
    double value = 0.0;
    QString unit;
};
// Moves a readout into a readable range with at most one k or m prefix;
// a unit that already starts with k or m may lose its prefix, "%" never changes.
PrefixedValue withUnitPrefix(double value, const QString& unit);

} // namespace VornaLumeto
