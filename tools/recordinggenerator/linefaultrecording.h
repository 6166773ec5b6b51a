#pragma once

#include "generatedrecording.h"
#include "linefaultmodel.h"

#include <QString>

#include <optional>

namespace LumetoTools {

// What happens on the line at the inception time.
enum class LineEvent {
    Fault,         // a fault, cleared by a three-pole trip at the relay end
    LoadOnly,      // nothing: healthy load flow throughout
    LoadStep,      // the transfer between the sources grows a little
    Energisation,  // the breaker at the relay end closes onto the loaded line
};

enum class ChannelNaming { Latin, Cyrillic };  // "UA", "IB" or "U фазы А", "I фазы В"

struct InstrumentRatio {
    double primary = 1.0;
    double secondary = 1.0;
};

struct LineFaultOptions {
    LineEvent event = LineEvent::Fault;
    LineFault fault;
    std::optional<FaultKind> laterKind;  // an evolving fault becomes this kind ...
    double laterMs = 0.0;                // ... at this time, before clearing
    TwoSourceSystem system;
    int sampleRate = 2000;               // samples per second
    int lineFrequency = 50;              // Hz
    double durationMs = 300.0;
    double inceptionMs = 100.0;          // of the fault, load step or energisation
    std::optional<double> clearingMs = 200.0;  // none: the fault lasts to the end
    double dcTimeConstantMs = 0.0;       // 0: the currents jump at inception; else they stay continuous
    double loadStep = 0.2;               // share by which the load step raises |E_S - E_R|
    bool secondaryValues = false;        // values as the instrument transformers give them
    InstrumentRatio voltageRatio{110000.0, 100.0};
    InstrumentRatio currentRatio{1000.0, 1.0};
    ChannelNaming naming = ChannelNaming::Latin;
    bool residualChannel = true;         // a measured 3I0 after the phase currents
    double noise = 0.0;                  // peak of the added noise, share of each channel's full scale
    unsigned seed = 1;
    QString stationName = QStringLiteral("ПС Южная");
};

// Empty when the options can be generated, otherwise what is wrong with them.
QString lineFaultProblem(const LineFaultOptions& options);

// A recording of the relay end of the line: UA, UB, UC, IA, IB, IC and 3I0,
// voltages in kV (V when secondary), currents in A, from the closed-form model:
// prefault phasors before inception, the fault's after it, and after clearing
// no current and the source EMF on the bus. Sample 0 is at t = 0, the phasors'
// angles are at t = 0, and the trigger is at the inception.
GeneratedRecording generateLineFaultRecording(const LineFaultOptions& options);

// The first sample at or after a time on the recording's axis.
int sampleAt(double ms, int sampleRate);

} // namespace LumetoTools
