#include "view/graphpoints.h"

#include "comtrade/common/exactsize.h"

#include <qcustomplot.h>

namespace VornaLumeto {
namespace {

// Writes the points through a pointer into storage of the right size: far
// cheaper than appending the points of a large recording one by one.
void writePoints(QCPGraphData* point, const QVector<double>& keys, const QVector<double>& values,
                 int count, double shift, double sign)
{
    const double* const key = keys.constData();
    const double* const value = values.constData();
    for (int j = 0; j < count; ++j) {
        point[j].key = key[j];
        point[j].value = sign * (value[j] + shift);
    }
}

} // namespace

QVector<QCPGraphData> graphPoints(const QVector<double>& keys, const QVector<double>& values,
                                  double shift, double sign)
{
    const int count = qMin(keys.size(), values.size());
    QVector<QCPGraphData> points;
    resizeExactly(points, count);
    writePoints(points.data(), keys, values, count, shift, sign);
    return points;
}

void setGraphPoints(QCPGraph* graph, const QVector<double>& keys, const QVector<double>& values,
                    double shift, double sign)
{
    const int count = qMin(keys.size(), values.size());
    QCPGraphDataContainer& data = *graph->data();
    if (data.size() != count) {
        data.set(graphPoints(keys, values, shift, sign), true);
        return;
    }
    writePoints(data.begin(), keys, values, count, shift, sign);
}

void handGraphPoints(QCPGraph* graph, QVector<QCPGraphData>&& points)
{
    graph->data()->set(points, true);
    points = QVector<QCPGraphData>();  // the graph holds the only reference now
}

void digitalTraceEdges(const QVector<double>& states, double rowTop, QVector<double>& lower,
                       QVector<double>& upper)
{
    const int count = states.size();
    resizeExactly(lower, count);
    resizeExactly(upper, count);
    const double* const state = states.constData();
    double* const low = lower.data();
    double* const high = upper.data();
    for (int j = 0; j < count; ++j) {
        const bool set = state[j] == 1.0;
        low[j] = rowTop - (set ? 8.0 : 5.2);
        high[j] = rowTop - (set ? 2.0 : 4.8);
    }
}

} // namespace VornaLumeto
