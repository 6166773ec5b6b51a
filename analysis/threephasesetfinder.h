#pragma once

#include "analysis/threephaseset.h"
#include "comtrade/common/recording.h"

#include <QVector>

namespace VornaLumeto {

// The three-phase sets (feeders, transformer sides) a recording's configuration
// describes, ordered by their first channel. Each channel's phase comes from its ph
// field, else from its name; voltage or current from its unit, else from its name
// (channeldesignation.h). Channels of one ccbm whose names share what is left beside
// the phase ("UA L2", "IB L2", "3I0 L2") form one set; a role met twice opens a second
// set of the same name. A set holds at least the three phase voltages or the three
// phase currents; residuals and lone phases without them are no set. Where the
// voltages and the currents stand in sets of their own, a voltage set and a current
// set that are each other's only closest match by name are one set ("LINE ULA" with
// "LINE SUM ILA"; the one VT and the one CT of a recorder). A set is named after its
// ccbm, else after what its names share, else "Группа N".
QVector<ThreePhaseSet> findThreePhaseSets(const Recording& recording);

} // namespace VornaLumeto
