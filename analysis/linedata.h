#pragma once

#include <complex>

namespace VornaLumeto {

using Complex = std::complex<double>;

// The order in which the phases pass their peaks.
enum class PhaseRotation { Abc, Acb };

// A line's positive- and zero-sequence impedance per km and its length.
struct LineData {
    double r1 = 0.0;  // ohm/km
    double x1 = 0.0;
    double r0 = 0.0;
    double x0 = 0.0;
    double lengthKm = 0.0;

    // Without a length and a positive-sequence impedance there is no line to compare with.
    bool isGiven() const { return lengthKm > 0.0 && (r1 != 0.0 || x1 != 0.0); }
    Complex z1() const { return Complex(r1, x1) * lengthKm; }
    Complex z0() const { return Complex(r0, x0) * lengthKm; }
};

} // namespace VornaLumeto
