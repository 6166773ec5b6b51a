#pragma once

#include "analysis/faultreport.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The fault report of a set in words, as the top of the fault-analysis window
// shows it: what happened, when, on which loop, from which window and how far.
namespace VornaLumeto {

// "Однофазное замыкание фазы A на землю (AG)", "Двухфазное замыкание BC",
// "Двухфазное замыкание на землю BCG", "Трёхфазное замыкание (ABC)".
QString faultTypeWords(FaultType type);

// What the set can give beside its currents.
struct SummaryInputs {
    bool hasVoltages = false;
    bool hasCurrents = false;
    LineData line;  // distances only where it is given
};

struct FaultSummary {
    QString title;        // the event or the fault's type
    QStringList details;  // a line each: times, evolution, loop and window, distances
    bool lineDataWanted = false;  // a fault whose distances need the line's data
};

// Times in ms on the recording's time axis; nothing the report does not hold
// is said.
FaultSummary faultSummary(const FaultReport& report, const QVector<double>& timeAxis, const SummaryInputs& inputs);

} // namespace VornaLumeto
