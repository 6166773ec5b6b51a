#include "view/directbuttonsignals.h"

#include <qcustomplot.h>

#include <QMouseEvent>

namespace VornaLumeto {

DirectButtonSignals::DirectButtonSignals(QCustomPlot* plot) : QObject(plot), plot(plot) {}

bool DirectButtonSignals::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != plot)
        return false;
    // Only button events are QMouseEvents; cast after the type is known.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        emit plot->mousePress(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        emit plot->mouseRelease(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonDblClick:
        emit plot->mouseDoubleClick(static_cast<QMouseEvent*>(event));
        return true;
    default:
        return false;
    }
}

} // namespace VornaLumeto
