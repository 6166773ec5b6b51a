#include "view/graphpoints.h"

#include "comtrade/exactsize.h"

#include <qcustomplot.h>

namespace VornaLumeto {

void setGraphPoints(QCPGraph* graph, const QVector<double>& keys, const QVector<double>& values,
                    double shift, double sign)
{
    // Written through a pointer into a sized vector: zeroing the points first
    // costs less than appending them one by one.
    const int count = qMin(keys.size(), values.size());
    QVector<QCPGraphData> points;
    resizeExactly(points, count);
    QCPGraphData* const point = points.data();
    const double* const key = keys.constData();
    const double* const value = values.constData();
    for (int j = 0; j < count; ++j) {
        point[j].key = key[j];
        point[j].value = sign * (value[j] + shift);
    }
    graph->data()->set(points, true);
}

void setDigitalTracePoints(QCPGraph* lowerGraph, QCPGraph* upperGraph, const QVector<double>& keys,
                           const QVector<double>& states, double rowTop)
{
    const int count = qMin(keys.size(), states.size());
    const double* const key = keys.constData();
    const double* const state = states.constData();
    const auto kept = [state, count](int j) {
        return j == 0 || j == count - 1 || state[j] != state[j - 1];
    };
    int keptCount = 0;
    for (int j = 0; j < count; ++j)
        keptCount += kept(j) ? 1 : 0;

    QVector<QCPGraphData> lower;
    QVector<QCPGraphData> upper;
    resizeExactly(lower, keptCount);
    resizeExactly(upper, keptCount);
    int point = 0;
    for (int j = 0; j < count; ++j) {
        if (!kept(j))
            continue;
        const bool set = state[j] == 1.0;
        lower[point] = QCPGraphData(key[j], rowTop - (set ? 8.0 : 5.2));
        upper[point] = QCPGraphData(key[j], rowTop - (set ? 2.0 : 4.8));
        ++point;
    }
    lowerGraph->data()->set(lower, true);
    upperGraph->data()->set(upper, true);
}

} // namespace VornaLumeto
