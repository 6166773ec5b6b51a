#pragma once

#include "analysis/cutanalysis.h"
#include "analysis/instrumentscaling.h"
#include "analysis/threephasesetup.h"
#include "comtrade/common/recording.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// The fault analysis at cut 1 as the text of the window's tables: what cannot
// be computed reads "-", voltages and currents in their channels' units with
// the readouts' k/m rule, powers in кВт, квар, кВ·А by the same rule,
// impedances in ohms, angles in degrees.
namespace VornaLumeto {

// How a set's values are shown: each role's unit as the recording writes it,
// and the ratio that brings the role to the secondary side, where one is known.
struct AnalysisDisplay {
    ValueSide side = ValueSide::Primary;
    std::array<QString, phaseRoleCount> units;
    std::array<std::optional<double>, phaseRoleCount> ratios;

    // Of the first phase voltage and current that has one.
    std::optional<double> vtRatio() const;
    std::optional<double> ctRatio() const;
    // Primary ohms to the ohms shown: 1, or CT ratio / VT ratio on the secondary
    // side; none there while either ratio is unknown.
    std::optional<double> impedanceFactor() const;
};
AnalysisDisplay analysisDisplay(const Recording& recording, const ThreePhaseSet& set, const SetScaling& scaling,
                                ValueSide side);

// A table as the window shows it and Ctrl+C copies it.
struct TextTable {
    QString title;
    QStringList header;
    QVector<QStringList> rows;
};

// Rows A, B, C, the residual (measured or calculated), the positive, negative
// and zero sequences; the current table adds I2/I1 and I0/I1 in percent.
TextTable voltageTable(const CutAnalysis& analysis, const AnalysisDisplay& display);
TextTable currentTable(const CutAnalysis& analysis, const AnalysisDisplay& display);
// P, Q, S and the power factor of each phase and of the three.
TextTable powerTable(const CutAnalysis& analysis, const AnalysisDisplay& display);
// R, X, |Z| and angle of AG, BG, CG, AB, BC, CA.
TextTable loopTable(const CutAnalysis& analysis, const AnalysisDisplay& display);

// Each table as its title, its header and its rows, a tab between cells, an
// empty line between tables.
QString tabSeparated(const QVector<TextTable>& tables);

// Degrees of a phasor's angle in (-180, 180].
double angleDegrees(Complex phasor);

} // namespace VornaLumeto
