#include "resourceimages.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace LumetoTools {

namespace {

const int pictureWidth = 843;
const int pictureHeight = 562;
const double faultX = 330.0;
const double waveCentreY = 285.0;

void paintBackground(QPainter& painter)
{
    QLinearGradient gradient(0, 0, pictureWidth * 0.3, pictureHeight);
    gradient.setColorAt(0.0, QColor(22, 52, 92));
    gradient.setColorAt(1.0, QColor(6, 16, 30));
    painter.fillRect(QRect(0, 0, pictureWidth, pictureHeight), gradient);
}

// Recorder paper: a faint grid over the part of the picture that carries the traces.
void paintGrid(QPainter& painter)
{
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1.0));
    for (int x = 30; x <= pictureWidth - 30; x += 40)
        painter.drawLine(x, 160, x, 410);
    for (int y = 160; y <= 410; y += 25)
        painter.drawLine(30, y, pictureWidth - 30, y);
}

double phaseAngle(double x, double phaseDegrees)
{
    return x * 2.0 * M_PI / 120.0 + qDegreesToRadians(phaseDegrees);
}

// One phase current: steady before the fault, then larger with the decaying
// offset that keeps the current continuous at the fault instant.
double phaseCurrent(double x, double phaseDegrees)
{
    const double steady = 35.0;
    const double fault = 80.0;
    if (x < faultX)
        return steady * qSin(phaseAngle(x, phaseDegrees));
    const double jump = (fault - steady) * qSin(phaseAngle(faultX, phaseDegrees));
    return fault * qSin(phaseAngle(x, phaseDegrees)) - jump * qExp(-(x - faultX) / 140.0);
}

// Traces fade out towards the right so that the text corner stays quiet.
void paintPhase(QPainter& painter, double phaseDegrees, const QColor& color)
{
    const double lastX = pictureWidth - 40.0;
    for (double x = 30.0; x < lastX; x += 2.0) {
        QColor segmentColor = color;
        segmentColor.setAlphaF(x < 560.0 ? 0.95 : qMax(0.0, 0.95 * (lastX - x) / (lastX - 560.0)));
        painter.setPen(QPen(segmentColor, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(x, waveCentreY - phaseCurrent(x, phaseDegrees)),
                         QPointF(x + 2.0, waveCentreY - phaseCurrent(x + 2.0, phaseDegrees)));
    }
}

// A protection trip signal: a digital trace that rises shortly after the fault.
void paintTripTrace(QPainter& painter)
{
    const double low = 465.0;
    const double high = 445.0;
    const double tripX = faultX + 60.0;
    QPainterPath trace;
    trace.moveTo(30.0, low);
    trace.lineTo(tripX, low);
    trace.lineTo(tripX, high);
    trace.lineTo(520.0, high);
    trace.lineTo(520.0, low);
    trace.lineTo(560.0, low);
    painter.setPen(QPen(QColor(120, 200, 255, 200), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trace);
}

void paintCut(QPainter& painter)
{
    painter.setPen(QPen(QColor(255, 160, 40), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(faultX, 150.0), QPointF(faultX, 485.0));
}

void paintTitle(QPainter& painter)
{
    QFont titleFont(QStringLiteral("DejaVu Sans"));
    titleFont.setPixelSize(72);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(48.0, 105.0), QStringLiteral("Lumeto"));

    QFont subtitleFont(QStringLiteral("DejaVu Sans"));
    subtitleFont.setPixelSize(20);
    painter.setFont(subtitleFont);
    painter.setPen(QColor(174, 203, 237));
    painter.drawText(QPointF(52.0, 135.0), QStringLiteral("Просмотр осциллограмм COMTRADE"));
}

} // namespace

QImage drawAboutPicture()
{
    QImage image(pictureWidth, pictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    paintBackground(painter);
    paintGrid(painter);
    paintCut(painter);
    paintPhase(painter, 0.0, QColor(255, 214, 0));
    paintPhase(painter, -120.0, QColor(60, 210, 90));
    paintPhase(painter, 120.0, QColor(255, 80, 70));
    paintTripTrace(painter);
    paintTitle(painter);
    return image;
}

} // namespace LumetoTools
