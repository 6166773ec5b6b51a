#include "view/graphpoints.h"

#include <qcustomplot.h>

namespace VornaLumeto {

void setGraphPoints(QCPGraph* graph, const QVector<double>& keys, const QVector<double>& values,
                    double shift, double sign)
{
    // Built by appending: a sized vector would first zero every point of
    // large recordings only to overwrite it.
    const int count = qMin(keys.size(), values.size());
    QVector<QCPGraphData> points;
    points.reserve(count);
    for (int j = 0; j < count; ++j)
        points.append(QCPGraphData(keys.at(j), sign * (values.at(j) + shift)));
    graph->data()->set(points, true);
}

} // namespace VornaLumeto
