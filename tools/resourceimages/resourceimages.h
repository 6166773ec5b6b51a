#pragma once

#include <QImage>

class QPainter;

namespace LumetoTools {

// Toolbar icons: light strokes that stay readable on the dark toolbar.
QImage drawOpenFileIcon();
QImage drawVectorIcon();
QImage drawFrequencyIcon();

// The logotype is also the application icon of the desktop menu, so it is drawn
// in a square of logotypeSide units at any size, and as SVG.
constexpr double logotypeSide = 64.0;
void paintLogotype(QPainter& painter);
QImage drawLogotype(int size);

// 843 x 562; the bottom-right corner is left calm for the white text block drawn over it.
QImage drawAboutPicture();

// 300 x 300 polar grids behind the vector diagram; 0 at the top, positive angles counter-clockwise.
enum class AngleLabels { Degrees, Radians };
QImage drawPolarGrid(AngleLabels labels);

} // namespace LumetoTools
