#pragma once

#include "analysis/cutanalysis.h"
#include "comtrade/common/recordingsampling.h"
#include "view/faultanalysistables.h"

#include <QString>
#include <QVector>

// The lines of the fault-analysis window that say what its numbers are.
namespace VornaLumeto {

// The period that ends at cut 1 ("Окно: 20 отсчётов, 80 … 99 мс"), or why
// there is none or why its phasors are missing.
QString windowNote(const RecordingSampling& sampling, const QVector<double>& timeAxis, const SetSignals& set,
                   const CutAnalysis& analysis, int cut);

// What the angles are counted from.
QString angleReferenceNote(AngleReference reference);

// k0 of the ground loops, or that it is 0 for want of line data.
QString compensationNote(const ResidualCompensation& compensation);

// The loops whose current at cut 1 is below the share of their largest, so
// read "-"; empty where there are none.
QString supervisionNote(const std::array<bool, faultLoopCount>& leftOut, double share);

// Primary or secondary values, and which ratio the secondary side lacks.
QString sideNote(const AnalysisDisplay& display);

// The conventions every number of the window follows.
QString conventionsNote();

} // namespace VornaLumeto
