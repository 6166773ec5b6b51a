#pragma once

#include <QString>

namespace VornaLumeto {

// What brings a value in a channel's unit to volts or amperes: 1000 for a
// kilo prefix (kV, KV, кВ, kA, кА), 0.001 for milli (mV, мВ, mA, мА), 10^6
// for mega (MV, МВ); 1 for V, A and every other unit.
double baseUnitFactor(const QString& unit);

} // namespace VornaLumeto
