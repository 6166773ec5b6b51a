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

} // namespace VornaLumeto
