#pragma once

#include "analysis/recordingfaultreport.h"

#include <QJsonObject>
#include <QString>

namespace VornaLumeto {

// A recording's fault report as one JSON object, for scripts that read many:
//   {"file": as given,
//    "feeders": [{"name": the set's name,
//                 "channels": {"UA" ... "IC": channel name or null, "UN", "IN": where the set has them},
//                 "event": "fault", "steady", "load_change", "energisation", or null for a set
//                          without the three phase currents (nothing can be told),
//                 "event_ms": the load change or energisation, else null,
//                 "fault": null, or
//                   {"type": "AG" ... "ABC" (the first, of an evolving fault),
//                    "inception_ms": null when the recording begins inside the fault,
//                    "clearing_ms", "duration_ms": null while the fault lasts to the end,
//                    "began_before_recording": bool, "later_type", "later_ms": what an evolving
//                    fault became and when, else null,
//                    "window_ms": [first, last sample] of the period the rest is measured over,
//                    "prefault_window_ms": the one Takagi takes the prefault current from,
//                    "loop": "AG" ... "CA", the faulted loop,
//                    "angle_reference": "UA", "IA" where the set has no voltage A, or null,
//                    "k0": [re, im] from the line, null without one (k0 = 0),
//                    "impedance_ohm": [R, X] of the loop,
//                    "phasors": {"UA" ... "IC", "UN", "IN" where recorded: [rms, degrees]},
//                    "sequence": {"U1", "U2", "U0", "I1", "I2", "I0": [rms, degrees]},
//                    "distance_km", "distance_percent": with a line only,
//                        {"reactance", "takagi", "negative_sequence" (null for ABC)}}}]}
// Times in ms on the recording's time axis, magnitudes RMS in the values' units
// (primary volts and amperes), angles in degrees in (-180, 180] relative to UA of
// the same window. What cannot be told is null, never a number that is not finite.
QJsonObject recordingReportJson(const QString& file, const Recording& recording,
                                const QVector<FeederFaultReport>& feeders, const LineData& line);

// A recording that could not be read: {"file": as given, "error": why}.
QJsonObject unreadableRecordingJson(const QString& file, const QString& message);

} // namespace VornaLumeto
