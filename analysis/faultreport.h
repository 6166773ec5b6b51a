#pragma once

#include "analysis/cutanalysis.h"
#include "analysis/faultlocation.h"
#include "analysis/faulttype.h"

#include <QVector>

#include <optional>

namespace VornaLumeto {

// What a set's currents show over the recording.
enum class SetEvent {
    Steady,        // no lasting change: load only
    LoadChange,    // a balanced change of the load (switching off included), no fault
    Energisation,  // balanced currents from nothing, the voltages holding up
    Fault,
};

// The summary of one set. Samples are indices into the recording, times in
// ms on its time axis; what cannot be told is none.
struct FaultReport {
    SetEvent event = SetEvent::Steady;
    std::optional<int> eventSample;  // the first load change or energisation, when no fault

    // Of a fault:
    FaultType type = FaultType::AG;
    bool beganBeforeRecording = false;  // the recording starts inside the fault: no inception
    std::optional<int> inceptionSample;
    std::optional<double> inceptionMs;
    std::optional<int> clearingSample;  // the first sample of the currents' quiet period
    std::optional<double> clearingMs;
    std::optional<double> durationMs;
    std::optional<FaultType> laterType;  // an evolving fault: what it became, and when
    std::optional<int> laterSample;
    std::optional<double> laterMs;
    FaultLoop loop = FaultLoop::AG;
    // One period wholly inside the fault, as late as possible before clearing
    // (or before the fault evolved), where a decaying offset has died down.
    std::optional<SampleWindow> window;
    std::optional<double> windowStartMs;  // of its first and last samples
    std::optional<double> windowEndMs;
    std::optional<SampleWindow> prefaultWindow;  // whole periods before it, for Takagi
    CutAnalysis atWindow;                        // phasors relative to UA, sequences, loops
    std::optional<Complex> loopImpedance;        // the faulted loop's, ohm
    std::optional<LineDistance> reactance;       // with line data only
    std::optional<LineDistance> takagi;
    std::optional<LineDistance> negativeSequence;  // none for ABC
};

// The report of a set from its currents (inception, clearing, type) and,
// with voltages, its loop and distances; timeAxis in ms, one value per sample.
FaultReport faultReport(const RecordingSampling& sampling, const QVector<double>& timeAxis, const SetSignals& set,
                        const LineData& line, PhaseRotation rotation);

} // namespace VornaLumeto
