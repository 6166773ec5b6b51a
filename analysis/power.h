#pragma once

#include "analysis/symmetricalcomponents.h"

#include <optional>

namespace VornaLumeto {

// Complex power S = U I* of a phase-to-ground voltage and a current: Q > 0 for
// a lagging (inductive) load.
struct Power {
    double active = 0.0;    // P = Re S
    double reactive = 0.0;  // Q = Im S
    double apparent = 0.0;  // |S|
    std::optional<double> powerFactor;  // P / |S|, none where |S| = 0
};

Power powerOf(Complex voltage, Complex current);

struct SetPower {
    std::array<Power, 3> phases;
    Power total;  // the three phases' sum
};

SetPower setPower(const PhaseValues& voltages, const PhaseValues& currents);

} // namespace VornaLumeto
