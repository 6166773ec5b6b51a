#include "resourceimages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace LumetoTools {

namespace {

const QColor phaseA(255, 214, 0);
const QColor phaseB(60, 210, 90);
const QColor phaseC(255, 80, 70);
const QColor lightStroke(223, 223, 223);

QImage transparentImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawArrow(QPainter& painter, QPointF from, QPointF to, const QColor& color)
{
    painter.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);

    const double angle = qAtan2(to.y() - from.y(), to.x() - from.x());
    const double headLength = 6.0;
    const double spread = qDegreesToRadians(28.0);
    QPolygonF head;
    head << to
         << to - QPointF(headLength * qCos(angle - spread), headLength * qSin(angle - spread))
         << to - QPointF(headLength * qCos(angle + spread), headLength * qSin(angle + spread));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(head);
}

// Phasor end point on a circle: 0 degrees up, positive angles counter-clockwise.
QPointF phasorEnd(QPointF centre, double radius, double degrees)
{
    const double radians = qDegreesToRadians(degrees);
    return centre + QPointF(-radius * qSin(radians), -radius * qCos(radians));
}

} // namespace

QImage drawOpenFileIcon()
{
    QImage image = transparentImage(32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath sheet;
    sheet.moveTo(5.5, 2.5);
    sheet.lineTo(18.5, 2.5);
    sheet.lineTo(25.5, 9.5);
    sheet.lineTo(25.5, 29.5);
    sheet.lineTo(5.5, 29.5);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(70, 70, 70), 1.0));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawPath(sheet);

    QPolygonF fold;
    fold << QPointF(18.5, 2.5) << QPointF(18.5, 9.5) << QPointF(25.5, 9.5);
    painter.setBrush(QColor(200, 200, 200));
    painter.drawPolygon(fold);

    // A short waveform on the sheet says what kind of file it is.
    QPainterPath wave;
    for (int x = 8; x <= 22; ++x) {
        const QPointF point(x, 17.0 - 4.0 * qSin((x - 8) * M_PI / 7.0));
        x == 8 ? wave.moveTo(point) : wave.lineTo(point);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(40, 100, 200), 1.6));
    painter.drawPath(wave);

    painter.setPen(QPen(QColor(20, 110, 40), 1.0));
    painter.setBrush(QColor(60, 190, 80));
    painter.drawEllipse(QPointF(23.5, 23.5), 7.0, 7.0);
    painter.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(23.5, 19.5), QPointF(23.5, 27.5));
    painter.drawLine(QPointF(19.5, 23.5), QPointF(27.5, 23.5));
    return image;
}

QImage drawVectorIcon()
{
    QImage image = transparentImage(32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(16.0, 16.0);
    painter.setPen(QPen(lightStroke, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 14.0, 14.0);

    drawArrow(painter, centre, phasorEnd(centre, 13.0, 0.0), phaseA);
    drawArrow(painter, centre, phasorEnd(centre, 13.0, -120.0), phaseB);
    drawArrow(painter, centre, phasorEnd(centre, 13.0, 120.0), phaseC);
    return image;
}

QImage drawFrequencyIcon()
{
    QImage image = transparentImage(32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const double heights[] = {4.0, 24.0, 5.0, 13.0, 3.0, 8.0};
    const double barWidth = 3.6;
    QLinearGradient fill(0, 4, 0, 29);
    fill.setColorAt(0.0, QColor(150, 205, 255));
    fill.setColorAt(1.0, QColor(60, 140, 230));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    for (int i = 0; i < 6; ++i)
        painter.drawRect(QRectF(3.0 + i * 4.6, 28.0 - heights[i], barWidth, heights[i]));

    painter.setPen(QPen(lightStroke, 1.4));
    painter.drawLine(QPointF(1.5, 28.5), QPointF(30.5, 28.5));
    return image;
}

void paintLogotype(QPainter& painter)
{
    QLinearGradient background(0, 0, 0, 64);
    background.setColorAt(0.0, QColor(40, 80, 140));
    background.setColorAt(1.0, QColor(15, 35, 70));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);

    QPainterPath wave;
    for (int x = 8; x <= 56; ++x) {
        const double envelope = x < 30 ? 1.0 : 1.0 + (x - 30) * 0.04;
        const QPointF point(x, 32.0 - 12.0 * envelope / 2.0 * qSin((x - 8) * M_PI / 12.0));
        x == 8 ? wave.moveTo(point) : wave.lineTo(point);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(wave);

    painter.setPen(QPen(QColor(255, 170, 40), 2.0, Qt::DashLine));
    painter.drawLine(QPointF(32, 9), QPointF(32, 55));
}

QImage drawLogotype(int size)
{
    QImage image = transparentImage(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / logotypeSide, size / logotypeSide);
    paintLogotype(painter);
    return image;
}

} // namespace LumetoTools
