#pragma once

#include <QVector>

class QCPGraph;
class QCPGraphData;

namespace VornaLumeto {

// The points (keys[j], sign * (values[j] + shift)), one per sample. Keys are
// the time axis, which never decreases, so the graph needs no sorting; a sign
// of -1 moves a curve above y = 0, out of sight.
QVector<QCPGraphData> graphPoints(const QVector<double>& keys, const QVector<double>& values,
                                  double shift = 0.0, double sign = 1.0);

// Gives a graph the points above. A graph that already holds one point per
// key has them rewritten where they are: a relayout of a large recording then
// allocates nothing and touches no fresh memory.
void setGraphPoints(QCPGraph* graph, const QVector<double>& keys, const QVector<double>& values,
                    double shift = 0.0, double sign = 1.0);

// Hands a graph a point vector built elsewhere: the graph shares it, so nothing is copied.
void handGraphPoints(QCPGraph* graph, QVector<QCPGraphData>&& points);

// The y of the lower and upper edge of a digital trace in the row whose top is
// rowTop, per sample: a set state is a bar from 8 to 2 units below the top, a
// cleared state a strip from 5.2 to 4.8 below it, both centred in the 10-unit row.
void digitalTraceEdges(const QVector<double>& states, double rowTop, QVector<double>& lower,
                       QVector<double>& upper);

} // namespace VornaLumeto
