#pragma once

#include "analysis/threephaseset.h"
#include "comtrade/common/recording.h"

#include <QString>

#include <optional>

// How one analog channel reads as a phase quantity of a three-phase set.
namespace VornaLumeto {

enum class Quantity { Voltage, Current };
enum class PhaseLetter { A, B, C, N };

// What a channel's unit says: a voltage, a current, nothing (empty), or some other
// quantity (%, Hz, degrees ...), which no name can make a phase quantity.
enum class UnitKind { Voltage, Current, Unstated, Other };
UnitKind unitKind(const QString& unit);

// What the ph field says: a phase (A/B/C/N, a/b/c, L1/L2/L3, R/S/T, Cyrillic А/В/С,
// G or E for the residual, "AN" for phase to neutral), nothing, or something else
// ("AB", "X", "_"): the recorder says the channel is no phase quantity.
struct PhaseField {
    enum class Kind { Phase, Unstated, NotAPhase };
    Kind kind = Kind::Unstated;
    PhaseLetter phase = PhaseLetter::A;
};
PhaseField readPhaseField(const QString& field);

// A quantity and phase written in a channel name ("Ua", "U фазы А", "IL3", "F2-IB", "3I0",
// "VA(kV)", "Van"), where it stands: characters start ... end - 1.
struct NamedPhase {
    Quantity quantity = Quantity::Voltage;
    PhaseLetter phase = PhaseLetter::A;
    int start = 0;
    int end = 0;
};
std::optional<NamedPhase> phaseInName(const QString& name);

// The role a channel can take and the part of its name that the other channels of
// its set share ("L2" of "UA L2" and "3I0 L2"; empty for "Ua", "Ib").
struct ChannelDesignation {
    PhaseRole role = PhaseRole::UA;
    QString stem;
};

// In this order: the ph field for the phase, the unit for voltage or current, the
// name for whatever the two leave open. None for a channel that is no phase quantity,
// or that always reads the same value (multiplier 0).
std::optional<ChannelDesignation> designationOf(const AnalogChannel& channel);

} // namespace VornaLumeto
