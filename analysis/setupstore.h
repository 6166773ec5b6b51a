#pragma once

#include "analysis/threephasesetup.h"
#include "comtrade/common/recording.h"

#include <QString>
#include <QVector>

#include <memory>

class QSettings;

// The sets of a recorder and their line and instrument data, remembered in the
// user's settings (never in the working folder) under
//   threePhaseSets/<recorder key>/station, recorder       as written, for a reader of the file
//   threePhaseSets/<recorder key>/sets/<n>/name, UA ... IN (channel name), UAIndex ... INIndex,
//     r1, x1, r0, x0 (ohm/km), lengthKm, rotation (ABC, ACB), ctPrimary, ctSecondary,
//     vtPrimary, vtSecondary (A, V), recorded, shown (primary, secondary)
namespace VornaLumeto {

// The user's settings of the application, organisation "Lumeto" and application
// "lumeto" whatever main names the application: ~/.config/Lumeto/lumeto.conf on Linux.
std::unique_ptr<QSettings> openUserSettings();

// The station name and recorder id as the recording writes them (a standard recording's id
// may hold letters), trimmed.
struct RecorderIdentity {
    QString station;
    QString recorderId;
};
RecorderIdentity recorderIdentity(const Recording& recording);

// A recorder is its station name, its recorder id as written and the names of its analog
// channels in any order: the SHA-1 of them in hex. A recorder whose channels change is
// another recorder; one that only reorders them is the same.
QString recorderKey(const Recording& recording);

// The sets the finder finds, with no line data, the rotation their first period shows
// (observedRotation), no ratios, primary values.
QVector<ThreePhaseSetup> foundSetups(const Recording& recording);

struct RecordingSetups {
    QVector<ThreePhaseSetup> setups;
    bool remembered = false;  // from the settings; otherwise found
};

// What was stored for the recording's recorder, each role matched to its channel by
// name (the stored index first, so that channels of one name keep their places); the
// found sets where nothing was stored or a stored channel name is no channel of it.
RecordingSetups restoreSetups(QSettings& settings, const Recording& recording);

// Replaces what is stored for the recording's recorder.
void storeSetups(QSettings& settings, const Recording& recording, const QVector<ThreePhaseSetup>& setups);

} // namespace VornaLumeto
