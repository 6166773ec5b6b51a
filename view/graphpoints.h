#pragma once

#include <QVector>

class QCPGraph;

namespace VornaLumeto {

// Hands a graph the points (keys[j], sign * (values[j] + shift)) in one go.
// Keys are the time axis, which never decreases, so no sorting is needed; a
// sign of -1 moves a curve above y = 0, out of sight.
void setGraphPoints(QCPGraph* graph, const QVector<double>& keys, const QVector<double>& values,
                    double shift = 0.0, double sign = 1.0);

// Hands the two edge graphs of a digital trace (step graphs) its points in a
// row whose top is rowTop: a set state is a bar from 8 to 2 units below the
// top, a cleared state a strip from 5.2 to 4.8 below it, both centred in the
// 10-unit row. Points are kept only at the first sample, at each change of
// state and at the last sample: a step line through them draws what one point
// per sample draws, with far fewer points to hold.
void setDigitalTracePoints(QCPGraph* lowerGraph, QCPGraph* upperGraph, const QVector<double>& keys,
                           const QVector<double>& states, double rowTop);

} // namespace VornaLumeto
