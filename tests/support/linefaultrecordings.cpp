#include "support/linefaultrecordings.h"

#include "support/readings.h"
#include "support/standardrecordings.h"

#include <cmath>

namespace LumetoTest {

QString loadLineFault(const QTemporaryDir& dir, const QString& baseName, const LumetoTools::LineFaultOptions& options,
                      const LumetoTools::RecordingForm& form, VornaLumeto::Recording& recording)
{
    const QString path =
        writeStandardRecording(dir, baseName, LumetoTools::generateLineFaultRecording(options), form);
    return LumetoTest::loadStandard(path, recording);
}

VornaLumeto::ChannelScaling primaryScaling(const VornaLumeto::Recording& recording, int channel)
{
    const VornaLumeto::AnalogChannel& analog = recording.analogChannels.at(channel);
    double factor = 1.0;
    const VornaLumeto::AnalogScaling scaling = recording.standard.analogScaling.value(channel);
    if (scaling.primaryOrSecondary.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 && scaling.secondary != 0.0)
        factor = scaling.primary / scaling.secondary;
    const QString unit = analog.unit.trimmed();
    if (unit.size() > 1 && (unit.startsWith(QLatin1Char('k')) || unit.startsWith(QChar(0x043A))))
        factor *= 1000.0;
    return {analog.multiplier * factor, analog.offsetAdder * factor};
}

VornaLumeto::ThreePhaseSet lineFaultSet(bool residualChannel, bool acb)
{
    using VornaLumeto::PhaseRole;
    VornaLumeto::ThreePhaseSet set;
    set.name = QStringLiteral("Line 1");
    const PhaseRole roles[6] = {PhaseRole::UA, acb ? PhaseRole::UC : PhaseRole::UB, acb ? PhaseRole::UB : PhaseRole::UC,
                                PhaseRole::IA, acb ? PhaseRole::IC : PhaseRole::IB, acb ? PhaseRole::IB : PhaseRole::IC};
    for (int c = 0; c < 6; ++c)
        set.assign(roles[c], c);
    if (residualChannel)
        set.assign(PhaseRole::IN, 6);
    return set;
}

std::array<VornaLumeto::ChannelScaling, VornaLumeto::phaseRoleCount>
primaryScalings(const VornaLumeto::Recording& recording, const VornaLumeto::ThreePhaseSet& set)
{
    std::array<VornaLumeto::ChannelScaling, VornaLumeto::phaseRoleCount> scalings{};
    for (int role = 0; role < VornaLumeto::phaseRoleCount; ++role) {
        if (set.channels[role] >= 0)
            scalings[role] = primaryScaling(recording, set.channels[role]);
    }
    return scalings;
}

VornaLumeto::LineData testLine()
{
    return {0.12, 0.40, 0.30, 1.20, 80.0};
}

LumetoTools::TwoSourceSystem testSystem(bool homogeneous, double loadAngle)
{
    const VornaLumeto::LineData line = testLine();
    LumetoTools::TwoSourceSystem system;
    system.loadAngle = loadAngle;
    system.lineZ1 = line.z1();
    system.lineZ0 = line.z0();
    const std::complex<double> angle1 = line.z1() / std::abs(line.z1());
    const std::complex<double> angle0 = line.z0() / std::abs(line.z0());
    system.sourceZ1 = homogeneous ? 8.0 * angle1 : std::complex<double>(0.4, 6.0);
    system.sourceZ0 = homogeneous ? 10.0 * angle0 : std::complex<double>(0.2, 3.0);
    system.remoteZ1 = homogeneous ? 15.0 * angle1 : std::complex<double>(6.0, 20.0);
    system.remoteZ0 = homogeneous ? 25.0 * angle0 : std::complex<double>(9.0, 50.0);
    return system;
}

LumetoTools::LineFaultOptions testFault(LumetoTools::FaultKind kind, double distance, double resistance,
                                       double loadAngle, bool homogeneous, int rate, bool secondary)
{
    LumetoTools::LineFaultOptions options;
    options.fault = {kind, distance, resistance};
    options.system = testSystem(homogeneous, loadAngle);
    options.sampleRate = rate;
    options.secondaryValues = secondary;
    options.naming = secondary ? LumetoTools::ChannelNaming::Cyrillic : LumetoTools::ChannelNaming::Latin;
    return options;
}

int faultedLoopIndex(LumetoTools::FaultKind kind)
{
    using LumetoTools::FaultKind;
    switch (kind) {
    case FaultKind::AG: return 0;
    case FaultKind::BG: return 1;
    case FaultKind::CG: return 2;
    case FaultKind::BC:
    case FaultKind::BCG: return 4;
    case FaultKind::CA:
    case FaultKind::CAG: return 5;
    default: return 3;
    }
}

ClosedFormDistances closedFormDistances(const LumetoTools::LineFaultSolution& solution, LumetoTools::FaultKind kind,
                                        const VornaLumeto::LineData& line)
{
    using Complex = std::complex<double>;
    const Complex a = std::polar(1.0, 2.0 * std::acos(-1.0) / 3.0);
    const Complex phaseTurn[3] = {1.0, a * a, a};  // X1 of a phase's reference over A's (ABC)
    const Complex k0 = (line.z0() - line.z1()) / (3.0 * line.z1());
    const int loop = faultedLoopIndex(kind);
    const auto loopCurrent = [&](const LumetoTools::PhaseQuantities& q) {
        if (loop < 3)
            return q.current[loop] + k0 * 3.0 * q.sequenceCurrent[0];
        return q.current[loop - 3] - q.current[(loop - 2) % 3];
    };
    const LumetoTools::PhaseQuantities& fault = solution.fault;
    const Complex v = loop < 3 ? fault.voltage[loop] : fault.voltage[loop - 3] - fault.voltage[(loop - 2) % 3];
    const Complex i = loopCurrent(fault);
    const Complex delta = i - loopCurrent(solution.prefault);
    const Complex negative = loop < 3 ? std::conj(phaseTurn[loop]) * fault.sequenceCurrent[2]
                                      : (std::conj(phaseTurn[loop - 3]) - std::conj(phaseTurn[(loop - 2) % 3]))
                                            * fault.sequenceCurrent[2];
    const Complex z1 = line.z1();
    ClosedFormDistances distances;
    distances.reactance = (v / i).imag() / z1.imag();
    distances.takagi = (v * std::conj(delta)).imag() / (z1 * i * std::conj(delta)).imag();
    if (kind != LumetoTools::FaultKind::ABC)
        distances.negativeSequence = (v * std::conj(negative)).imag() / (z1 * i * std::conj(negative)).imag();
    return distances;
}

QString phasorMismatch(std::complex<double> measured, std::complex<double> expected, double scale)
{
    const double degrees = 180.0 / std::acos(-1.0);
    if (std::abs(expected) < 0.02 * scale) {
        if (std::abs(measured - expected) <= 0.01 * scale)
            return QString();
    } else {
        const std::complex<double> ratio = measured / expected;
        if (std::fabs(std::abs(ratio) - 1.0) <= 0.01 && std::fabs(std::arg(ratio) * degrees) <= 1.0)
            return QString();
    }
    return QStringLiteral("%1 at %2 degrees against %3 at %4")
        .arg(std::abs(measured))
        .arg(std::arg(measured) * degrees)
        .arg(std::abs(expected))
        .arg(std::arg(expected) * degrees);
}

QString cutMismatch(const VornaLumeto::CutAnalysis& cut, const LumetoTools::PhaseQuantities& model, double emf,
                    bool acb)
{
    if (!cut.voltageSequence || !cut.currentSequence)
        return QStringLiteral("no sequences");
    const std::complex<double> turn = std::conj(model.voltage[0]) / std::abs(model.voltage[0]);
    double currentScale = 0.0;
    for (const std::complex<double> current : model.current)
        currentScale = std::max(currentScale, std::abs(current));
    const int physical[3] = {0, acb ? 2 : 1, acb ? 1 : 2};
    struct Pair {
        std::optional<std::complex<double>> measured;
        std::complex<double> expected;
        bool voltage;
    };
    const Pair pairs[12] = {
        {cut.voltages[0], model.voltage[physical[0]], true},
        {cut.voltages[1], model.voltage[physical[1]], true},
        {cut.voltages[2], model.voltage[physical[2]], true},
        {cut.currents[0], model.current[physical[0]], false},
        {cut.currents[1], model.current[physical[1]], false},
        {cut.currents[2], model.current[physical[2]], false},
        {cut.voltageSequence->zero, model.sequenceVoltage[0], true},
        {cut.voltageSequence->positive, model.sequenceVoltage[1], true},
        {cut.voltageSequence->negative, model.sequenceVoltage[2], true},
        {cut.currentSequence->zero, model.sequenceCurrent[0], false},
        {cut.currentSequence->positive, model.sequenceCurrent[1], false},
        {cut.currentSequence->negative, model.sequenceCurrent[2], false},
    };
    const char* const names[12] = {"UA", "UB", "UC", "IA", "IB", "IC", "U0", "U1", "U2", "I0", "I1", "I2"};
    for (int q = 0; q < 12; ++q) {
        if (!pairs[q].measured)
            return QStringLiteral("%1: none").arg(QLatin1String(names[q]));
        const QString mismatch =
            phasorMismatch(*pairs[q].measured, turn * pairs[q].expected, pairs[q].voltage ? emf : currentScale);
        if (!mismatch.isEmpty())
            return QStringLiteral("%1: %2").arg(QLatin1String(names[q]), mismatch);
    }
    return QString();
}

} // namespace LumetoTest
