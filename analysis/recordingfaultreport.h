#pragma once

#include "analysis/faultreport.h"
#include "analysis/threephaseset.h"
#include "comtrade/common/recording.h"

#include <QVector>

namespace VornaLumeto {

// The report of one three-phase set of a recording.
struct FeederFaultReport {
    ThreePhaseSet set;
    FaultReport report;
    PhaseRotation rotation = PhaseRotation::Abc;  // as the set's first period shows it
};

// The report of every three-phase set the finder finds in the recording, in
// its order, from the recording alone: no sets, ratios or rotation the user
// stored (so that any machine gives the same report of the same file). Values
// are primary by the file's own factors, in volts and amperes whatever prefix
// the units carry, so impedances are primary ohms; the phases rotate as the
// set's first period shows (observedRotation). The sets are reported on every
// processor at once.
QVector<FeederFaultReport> recordingFaultReports(const Recording& recording, const LineData& line);

} // namespace VornaLumeto
