#pragma once

#include "analysis/cutanalysis.h"
#include "analysis/linedata.h"
#include "analysis/signalanalysis.h"
#include "analysis/threephaseset.h"
#include "comtrade/common/recording.h"
#include "linefaultrecording.h"
#include "recordingwriter.h"

#include <QString>
#include <QTemporaryDir>

#include <array>
#include <optional>

namespace LumetoTest {

// Generates the line-fault recording, writes it in the form as dir/baseName
// and reads it back through the standard reader; the reader's message.
QString loadLineFault(const QTemporaryDir& dir, const QString& baseName, const LumetoTools::LineFaultOptions& options,
                      const LumetoTools::RecordingForm& form, VornaLumeto::Recording& recording);

// Raw values of the channel to primary volts and amperes: its multiplier and
// offset, the ratio where it holds secondary values, and a kilo prefix.
VornaLumeto::ChannelScaling primaryScaling(const VornaLumeto::Recording& recording, int channel);

// The set of a generated line fault: UA, UB, UC, IA, IB, IC and 3I0 in that
// order; with acb, B and C trade channels, as on a line whose phases run A, C, B.
VornaLumeto::ThreePhaseSet lineFaultSet(bool residualChannel, bool acb = false);
std::array<VornaLumeto::ChannelScaling, VornaLumeto::phaseRoleCount>
primaryScalings(const VornaLumeto::Recording& recording, const VornaLumeto::ThreePhaseSet& set);

// A line of 0.12 + j0.40 ohm/km, 0.30 + j1.20 ohm/km zero sequence, 80 km, and
// two sources around it: homogeneous (every impedance at the line's angles)
// or not, E_S leading E_R by the load angle.
VornaLumeto::LineData testLine();
LumetoTools::TwoSourceSystem testSystem(bool homogeneous, double loadAngle);

// A fault on the test line; secondary values come with Cyrillic names.
LumetoTools::LineFaultOptions testFault(LumetoTools::FaultKind kind, double distance, double resistance,
                                       double loadAngle, bool homogeneous, int rate, bool secondary);

// The loop that measures a kind of fault, as 0 ... 5 for AG, BG, CG, AB, BC,
// CA: the phase for one phase to ground, the pair otherwise, AB for ABC.
int faultedLoopIndex(LumetoTools::FaultKind kind);

// Each method's distance in per unit on the model's exact relay-end phasors,
// written out here from the formulas on their own: reactance Im(V/I)/Im(Z1L),
// Takagi Im(V dI*)/Im(Z1L I dI*), negative sequence with the loop's I2 (none for ABC).
struct ClosedFormDistances {
    double reactance = 0.0;
    double takagi = 0.0;
    std::optional<double> negativeSequence;
};
ClosedFormDistances closedFormDistances(const LumetoTools::LineFaultSolution& solution, LumetoTools::FaultKind kind,
                                        const VornaLumeto::LineData& line);

// Magnitude within 1 % and angle within 1 degree; a phasor below 2 % of the
// scale (a sequence that the fault does not have) within 1 % of the scale.
QString phasorMismatch(std::complex<double> measured, std::complex<double> expected, double scale);

// The first of the cut's phase and sequence phasors that misses the model's
// relay-end phasors (turned so that UA is at 0) by more than that, described;
// empty when all agree. With acb, the set's B and C are the model's C and B.
QString cutMismatch(const VornaLumeto::CutAnalysis& cut, const LumetoTools::PhaseQuantities& model, double emf,
                    bool acb = false);

} // namespace LumetoTest
