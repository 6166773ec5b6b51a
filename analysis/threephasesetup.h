#pragma once

#include "analysis/linedata.h"
#include "analysis/threephaseset.h"

namespace VornaLumeto {

enum class ValueSide { Primary, Secondary };

// The CT and VT ratios the user enters for a set, primary and secondary in A or V,
// 0 where not given. They serve the channels whose recording states no ratio of its
// own; `recorded` says which side those channels' values are (as recorded, so by
// default primary: taken as they stand).
struct InstrumentRatios {
    double ctPrimary = 0.0;
    double ctSecondary = 0.0;
    double vtPrimary = 0.0;
    double vtSecondary = 0.0;
    ValueSide recorded = ValueSide::Primary;

    // primary / secondary; 0 unless both are given.
    double ctRatio() const { return ratio(ctPrimary, ctSecondary); }
    double vtRatio() const { return ratio(vtPrimary, vtSecondary); }

private:
    static double ratio(double primary, double secondary)
    {
        return primary > 0.0 && secondary > 0.0 ? primary / secondary : 0.0;
    }
};

// Everything the user sets up for one three-phase set, remembered per recorder.
struct ThreePhaseSetup {
    ThreePhaseSet set;
    LineData line;
    PhaseRotation rotation = PhaseRotation::Abc;
    InstrumentRatios ratios;
    ValueSide shown = ValueSide::Primary;  // what the analysis shows
};

} // namespace VornaLumeto
