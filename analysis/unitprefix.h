#pragma once

#include <QString>

namespace VornaLumeto {

// What the decimal prefix of a voltage or current unit multiplies by: "kV",
// "KV" and "кВ" 1000, "mA" and "мА" 0.001, "MV" a million; any unit the set
// finder takes for volts or amperes, in Latin or Cyrillic letters. Other
// units ("V", "%", "Гц", "m") and empty ones: 1.
double unitPrefixFactor(const QString& unit);

} // namespace VornaLumeto
