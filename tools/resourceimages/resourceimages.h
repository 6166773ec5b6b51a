#pragma once

#include <QImage>

namespace LumetoTools {

// Toolbar icons: light strokes that stay readable on the dark toolbar.
QImage drawOpenFileIcon();
QImage drawVectorIcon();
QImage drawFrequencyIcon();

QImage drawLogotype();

// 843 x 562; the bottom-right corner is left calm for the white text block drawn over it.
QImage drawAboutPicture();

// 300 x 300 polar grids behind the vector diagram; 0 at the top, positive angles counter-clockwise.
enum class AngleLabels { Degrees, Radians };
QImage drawPolarGrid(AngleLabels labels);

} // namespace LumetoTools
