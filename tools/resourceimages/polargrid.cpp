#include "resourceimages.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <QtMath>

namespace LumetoTools {

namespace {

const int gridSize = 300;
const QPointF centre(150.0, 150.0);
// The vector plot maps -1..1 onto roughly 270 pixels; a vector of length 0.8
// then ends just inside this circle.
const double outerRadius = 120.0;
const double labelRadius = 136.0;

// 0 degrees up, positive angles counter-clockwise, as the vector diagram draws them.
QPointF polarPoint(double radius, double degrees)
{
    const double radians = qDegreesToRadians(degrees);
    return centre + QPointF(-radius * qSin(radians), -radius * qCos(radians));
}

void paintCircles(QPainter& painter)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(90, 90, 90), 1.2));
    painter.drawEllipse(centre, outerRadius, outerRadius);
    painter.drawEllipse(centre, 3.0, 3.0);
    painter.setPen(QPen(QColor(150, 150, 150), 1.0, Qt::DashLine));
    painter.drawEllipse(centre, outerRadius / 2.0, outerRadius / 2.0);
}

void paintRadialLines(QPainter& painter)
{
    painter.setPen(QPen(QColor(170, 170, 170), 1.0));
    for (int degrees = 0; degrees < 360; degrees += 30)
        painter.drawLine(polarPoint(3.0, degrees), polarPoint(outerRadius, degrees));
}

// Labels for 0, 30, ..., 180 and -30, ..., -150, in the order of labelAngles().
QStringList labelTexts(AngleLabels labels)
{
    if (labels == AngleLabels::Degrees)
        return {QStringLiteral("0°"),    QStringLiteral("30°"),   QStringLiteral("60°"),
                QStringLiteral("90°"),   QStringLiteral("120°"),  QStringLiteral("150°"),
                QStringLiteral("180°"),  QStringLiteral("-30°"),  QStringLiteral("-60°"),
                QStringLiteral("-90°"),  QStringLiteral("-120°"), QStringLiteral("-150°")};
    return {QStringLiteral("0"),      QStringLiteral("π/6"),   QStringLiteral("π/3"),
            QStringLiteral("π/2"),    QStringLiteral("2π/3"),  QStringLiteral("5π/6"),
            QStringLiteral("π"),      QStringLiteral("-π/6"),  QStringLiteral("-π/3"),
            QStringLiteral("-π/2"),   QStringLiteral("-2π/3"), QStringLiteral("-5π/6")};
}

QVector<int> labelAngles()
{
    return {0, 30, 60, 90, 120, 150, 180, -30, -60, -90, -120, -150};
}

// Centres the text on its point but keeps it inside the picture.
QRectF labelRect(const QFontMetricsF& metrics, const QString& text, QPointF anchor)
{
    QRectF rect(QPointF(0, 0), metrics.size(Qt::TextSingleLine, text));
    rect.moveCenter(anchor);
    const QRectF bounds(1.0, 1.0, gridSize - 2.0, gridSize - 2.0);
    if (rect.left() < bounds.left())
        rect.moveLeft(bounds.left());
    if (rect.right() > bounds.right())
        rect.moveRight(bounds.right());
    return rect;
}

void paintLabels(QPainter& painter, AngleLabels labels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    const QFontMetricsF metrics(font);
    const QStringList texts = labelTexts(labels);
    const QVector<int> angles = labelAngles();
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF rect = labelRect(metrics, texts.at(i), polarPoint(labelRadius, angles.at(i)));
        painter.drawText(rect, Qt::AlignCenter, texts.at(i));
    }
}

} // namespace

QImage drawPolarGrid(AngleLabels labels)
{
    QImage image(gridSize, gridSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintRadialLines(painter);
    paintCircles(painter);
    paintLabels(painter, labels);
    return image;
}

} // namespace LumetoTools
