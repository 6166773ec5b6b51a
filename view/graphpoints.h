#pragma once

#include <QVector>

class QCPGraph;

namespace VornaLumeto {

// Hands a graph the points (keys[j], sign * (values[j] + shift)) in one go.
// Keys are the time axis, which never decreases, so no sorting is needed; a
// sign of -1 moves a curve above y = 0, out of sight.
void setGraphPoints(QCPGraph* graph, const QVector<double>& keys, const QVector<double>& values,
                    double shift = 0.0, double sign = 1.0);

} // namespace VornaLumeto
