#pragma once

#include <QRect>
#include <QSize>

namespace VornaLumeto {

// Where the header line and the view's screenshot go on a printed page.
struct PrintPageGeometry {
    double scale = 0.0;
    QRect headerRect;
    QRect imageRect;
};

// Pixels of the header band at the top of the page.
constexpr int printHeaderBand = 26;

// The screenshot loses 20 pixels on the right and at the bottom.
QRect screenshotCrop(const QSize& grabbedSize);

// Fits the screenshot below the header band, enlarging or shrinking it, keeping its proportions.
PrintPageGeometry printPageGeometry(const QSize& imageSize, const QSize& viewport);

} // namespace VornaLumeto
