#include "dialogs/printpage.h"

#include <QtGlobal>

namespace VornaLumeto {

QRect screenshotCrop(const QSize& grabbedSize)
{
    const int cut = 20;
    return QRect(0, 0, qMax(0, grabbedSize.width() - cut), qMax(0, grabbedSize.height() - cut));
}

PrintPageGeometry printPageGeometry(const QSize& imageSize, const QSize& viewport)
{
    PrintPageGeometry geometry;
    const int bandHeight = viewport.height() - printHeaderBand;
    geometry.headerRect = QRect(10, 0, viewport.width(), bandHeight);
    // An empty screenshot has no proportions to keep; it is simply not drawn.
    if (imageSize.isEmpty())
        return geometry;
    geometry.scale = qMin(double(viewport.width()) / imageSize.width(),
                          double(bandHeight) / imageSize.height());
    geometry.imageRect = QRect(0, printHeaderBand, int(imageSize.width() * geometry.scale),
                               int(imageSize.height() * geometry.scale));
    return geometry;
}

} // namespace VornaLumeto
