// The closed-form two-source model the fault analysis is checked against,
// checked itself: the conditions each kind of fault sets at the fault point,
// and a bolted fault seen from the relay end at exactly its distance; and the
// recordings the generator writes of it, read back by the standard reader.
#include "linefaultmodel.h"
#include "comtrade/dialect/dialectreader.h"
#include "support/readings.h"
#include "support/linefaultrecordings.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using LumetoTools::Complex;
using LumetoTools::FaultKind;

Q_DECLARE_METATYPE(FaultKind)
Q_DECLARE_METATYPE(LumetoTools::LineEvent)

namespace {

const char* const kindNames[LumetoTools::faultKindCount] = {"AG", "BG", "CG", "AB", "BC", "CA", "ABG", "BCG", "CAG", "ABC"};

// Phases 0, 1, 2 of a kind's letters, and whether it goes to ground.
struct FaultShape {
    QVector<int> phases;
    bool ground = false;
};

FaultShape shapeOf(FaultKind kind)
{
    const QString name = QString::fromLatin1(kindNames[int(kind)]);
    FaultShape shape;
    for (const QChar letter : name) {
        if (letter == QLatin1Char('G'))
            shape.ground = true;
        else
            shape.phases.append(letter.toLatin1() - 'A');
    }
    return shape;
}

LumetoTools::TwoSourceSystem system(bool homogeneous, double loadAngle)
{
    LumetoTools::TwoSourceSystem system;
    system.loadAngle = loadAngle;
    const Complex lineAngle = std::polar(1.0, 80.0 * std::acos(-1.0) / 180.0);
    system.lineZ1 = 40.0 * lineAngle;
    system.lineZ0 = 120.0 * lineAngle;
    system.sourceZ1 = (homogeneous ? 8.0 * lineAngle : Complex(0.5, 6.0));
    system.sourceZ0 = (homogeneous ? 12.0 * lineAngle : Complex(0.3, 3.0));
    system.remoteZ1 = (homogeneous ? 15.0 * lineAngle : Complex(4.0, 20.0));
    system.remoteZ0 = (homogeneous ? 30.0 * lineAngle : Complex(6.0, 45.0));
    return system;
}

QString text(Complex value)
{
    return QStringLiteral("%1%2%3j").arg(value.real()).arg(value.imag() < 0 ? "" : "+").arg(value.imag());
}

// Within a millionth of the scale: the model is closed form, only rounding may differ.
void compareNear(Complex actual, Complex expected, double scale, const char* what)
{
    QVERIFY2(std::abs(actual - expected) <= 1e-6 * scale,
             qPrintable(QStringLiteral("%1: %2 against %3").arg(QLatin1String(what), text(actual), text(expected))));
}

// What the relay end holds at a sample: the event's phasors before and after it, the open line after clearing.
LumetoTools::PhaseQuantities expectedAt(const LumetoTools::LineFaultOptions& options, int sample)
{
    const bool after = sample >= LumetoTools::sampleAt(options.inceptionMs, options.sampleRate);
    LumetoTools::TwoSourceSystem stepped = options.system;
    switch (options.event) {
    case LumetoTools::LineEvent::LoadOnly:
        return LumetoTools::loadFlow(options.system);
    case LumetoTools::LineEvent::LoadStep:
        stepped.loadAngle = 2.0 * std::asin(1.2 * std::sin(options.system.loadAngle * std::acos(-1.0) / 360.0))
                            * 180.0 / std::acos(-1.0);
        return LumetoTools::loadFlow(after ? stepped : options.system);
    case LumetoTools::LineEvent::Energisation:
        return after ? LumetoTools::loadFlow(options.system) : LumetoTools::openLine(options.system);
    case LumetoTools::LineEvent::Fault:
        break;
    }
    if (options.clearingMs && sample >= LumetoTools::sampleAt(*options.clearingMs, options.sampleRate))
        return LumetoTools::openLine(options.system);
    const LumetoTools::LineFaultSolution solution = LumetoTools::solveLineFault(options.system, options.fault);
    return after ? solution.fault : solution.prefault;
}

double instantaneous(Complex phasor, double frequency, int sample, int rate)
{
    return std::sqrt(2.0) * std::real(phasor * std::polar(1.0, 2.0 * std::acos(-1.0) * frequency * sample / rate));
}

} // namespace

class TestLineFaultModel : public QObject {
    Q_OBJECT

private slots:
    void faultPointMeetsTheKindsConditions_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<double>("resistance");
        QTest::addColumn<bool>("homogeneous");
        QTest::addColumn<double>("loadAngle");
        for (int k = 0; k < LumetoTools::faultKindCount; ++k) {
            const QByteArray name(kindNames[k]);
            QTest::newRow(name + " bolted, homogeneous, exporting") << FaultKind(k) << 0.0 << true << 10.0;
            QTest::newRow(name + " 12 ohm, non-homogeneous, importing") << FaultKind(k) << 12.0 << false << -10.0;
        }
    }
    void faultPointMeetsTheKindsConditions()
    {
        QFETCH(FaultKind, kind);
        QFETCH(double, resistance);
        QFETCH(bool, homogeneous);
        QFETCH(double, loadAngle);
        const LumetoTools::TwoSourceSystem sources = system(homogeneous, loadAngle);
        const LumetoTools::LineFaultSolution solution = LumetoTools::solveLineFault(sources, {kind, 0.35, resistance});
        const LumetoTools::PhaseQuantities& point = solution.faultPoint;
        const FaultShape shape = shapeOf(kind);
        double currentScale = 0.0;
        for (const Complex current : point.current)
            currentScale = std::max(currentScale, std::abs(current));
        QVERIFY(currentScale > 100.0);
        const double voltageScale = sources.emf;

        Complex faultCurrent = 0.0;
        for (int p = 0; p < 3; ++p) {
            if (shape.phases.contains(p))
                faultCurrent += point.current[p];
            else
                compareNear(point.current[p], 0.0, currentScale, "healthy phase current");
        }
        const int first = shape.phases.first();
        if (shape.phases.size() == 1) {
            compareNear(point.voltage[first], resistance * point.current[first], voltageScale, "U_F = Rf I_F");
        } else if (shape.phases.size() == 3) {
            compareNear(faultCurrent, 0.0, currentScale, "sum of fault currents");
            for (int p = 0; p < 3; ++p)
                compareNear(point.voltage[p], resistance * point.current[p], voltageScale, "U_Fp = Rf I_Fp");
        } else if (shape.ground) {
            for (const int p : shape.phases)
                compareNear(point.voltage[p], resistance * faultCurrent, voltageScale, "U_Fp = Rf (I_Fp + I_Fq)");
        } else {
            const int second = shape.phases.last();
            compareNear(point.current[first], -point.current[second], currentScale, "I_Fp = -I_Fq");
            compareNear(point.voltage[first] - point.voltage[second], resistance * point.current[first], voltageScale,
                        "U_Fp - U_Fq = Rf I_Fp");
        }
    }

    // A bolted fault: the faulted loop at the relay sees m Z_L1, the ground
    // loops with the line's residual compensation.
    void boltedFaultLoopIsTheLineToTheFault_data()
    {
        QTest::addColumn<FaultKind>("kind");
        for (int k = 0; k < LumetoTools::faultKindCount; ++k)
            QTest::newRow(kindNames[k]) << FaultKind(k);
    }
    void boltedFaultLoopIsTheLineToTheFault()
    {
        QFETCH(FaultKind, kind);
        const LumetoTools::TwoSourceSystem sources = system(false, 10.0);
        const double distance = 0.7;
        const LumetoTools::PhaseQuantities relay = LumetoTools::solveLineFault(sources, {kind, distance, 0.0}).fault;
        const FaultShape shape = shapeOf(kind);
        const Complex expected = distance * sources.lineZ1;
        if (shape.phases.size() == 1) {
            const int p = shape.phases.first();
            const Complex k0 = (sources.lineZ0 - sources.lineZ1) / (3.0 * sources.lineZ1);
            const Complex residual = 3.0 * relay.sequenceCurrent[0];
            compareNear(relay.voltage[p] / (relay.current[p] + k0 * residual), expected, std::abs(expected), "Z_pG");
        } else {
            const int p = shape.phases[0];
            const int q = shape.phases[1];
            compareNear((relay.voltage[p] - relay.voltage[q]) / (relay.current[p] - relay.current[q]), expected,
                        std::abs(expected), "Z_pq");
        }
    }

    // Before the fault the relay sees the load flow of the two EMFs.
    void prefaultIsTheLoadFlow()
    {
        const LumetoTools::TwoSourceSystem sources = system(true, 10.0);
        const LumetoTools::PhaseQuantities relay =
            LumetoTools::solveLineFault(sources, {FaultKind::AG, 0.5, 0.0}).prefault;
        const Complex sourceEmf = std::polar(sources.emf, 10.0 * std::acos(-1.0) / 180.0);
        const Complex current = (sourceEmf - sources.emf) / (sources.sourceZ1 + sources.lineZ1 + sources.remoteZ1);
        const Complex a = std::polar(1.0, 2.0 * std::acos(-1.0) / 3.0);
        compareNear(relay.current[0], current, std::abs(current), "I_A");
        compareNear(relay.current[1], a * a * current, std::abs(current), "I_B");
        compareNear(relay.voltage[2], a * (sourceEmf - sources.sourceZ1 * current), sources.emf, "U_C");
        compareNear(relay.sequenceCurrent[2], 0.0, std::abs(current), "I_2");
        // Exporting: real power flows from S into the line.
        QVERIFY((relay.voltage[0] * std::conj(relay.current[0])).real() > 0.0);
    }

    // Every sample of the voltages, and of the currents without an offset, is
    // the model's phasor at its time; with an offset the currents stay
    // continuous at inception and the offset decays with its time constant.
    void generatedRecordingFollowsTheModel_data()
    {
        QTest::addColumn<LumetoTools::LineEvent>("event");
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<bool>("secondary");
        QTest::addColumn<bool>("cyrillic");
        QTest::addColumn<double>("tau");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("format");
        using LumetoTools::DataFormat;
        using LumetoTools::LineEvent;
        QTest::newRow("AG, Latin, primary, 1999 binary")
            << LineEvent::Fault << FaultKind::AG << false << false << 0.0 << 2000 << 1999 << int(DataFormat::Binary);
        QTest::newRow("BC, Cyrillic, secondary, 2013 float32, offset")
            << LineEvent::Fault << FaultKind::BC << true << true << 30.0 << 4000 << 2013 << int(DataFormat::Float32);
        QTest::newRow("energisation, offset, 1999 ascii")
            << LineEvent::Energisation << FaultKind::AG << false << false << 30.0 << 1000 << 1999
            << int(DataFormat::Ascii);
        QTest::newRow("load step, secondary, 1999 ascii")
            << LineEvent::LoadStep << FaultKind::AG << true << false << 0.0 << 1000 << 1999 << int(DataFormat::Ascii);
    }
    void generatedRecordingFollowsTheModel()
    {
        QFETCH(LumetoTools::LineEvent, event);
        QFETCH(FaultKind, kind);
        QFETCH(bool, secondary);
        QFETCH(bool, cyrillic);
        QFETCH(double, tau);
        QFETCH(int, rate);
        QFETCH(int, revision);
        QFETCH(int, format);
        LumetoTools::LineFaultOptions options;
        options.event = event;
        options.fault = {kind, 0.4, 5.0};
        options.system = system(false, 10.0);
        options.secondaryValues = secondary;
        options.naming = cyrillic ? LumetoTools::ChannelNaming::Cyrillic : LumetoTools::ChannelNaming::Latin;
        options.dcTimeConstantMs = tau;
        options.sampleRate = rate;
        QCOMPARE(LumetoTools::lineFaultProblem(options), QString());
        QTemporaryDir dir;
        VornaLumeto::Recording recording;
        QCOMPARE(LumetoTest::loadLineFault(dir, QStringLiteral("line"), options,
                                           {revision, LumetoTools::DataFormat(format)}, recording),
                 VornaLumeto::loadSuccessMessage());
        QCOMPARE(recording.analogChannels.size(), 7);
        QCOMPARE(recording.analogChannels.at(4).id, cyrillic ? QStringLiteral("I фазы В") : QStringLiteral("IB"));
        QCOMPARE(recording.analogChannels.at(6).phase, QStringLiteral("N"));
        QCOMPARE(recording.standard.analogScaling.at(0).primaryOrSecondary,
                 secondary ? QStringLiteral("S") : QStringLiteral("P"));
        QCOMPARE(recording.standard.analogScaling.at(3).primary, 1000.0);

        const int inception = LumetoTools::sampleAt(options.inceptionMs, rate);
        for (int c = 0; c < 7; ++c) {
            const VornaLumeto::ChannelScaling scaling = LumetoTest::primaryScaling(recording, c);
            const bool offsetCurrent = tau > 0.0 && c >= 3;
            for (int k = 0; k < recording.analogValues.at(c).size(); ++k) {
                if (offsetCurrent && k >= inception)
                    continue;
                const LumetoTools::PhaseQuantities expected = expectedAt(options, k);
                const Complex phasor = c < 3 ? expected.voltage[c]
                                      : c < 6 ? expected.current[c - 3]
                                              : 3.0 * expected.sequenceCurrent[0];
                const double value = scaling.multiplier * recording.analogValues.at(c).at(k) + scaling.offsetAdder;
                QVERIFY2(std::fabs(value - instantaneous(phasor, 50, k, rate)) <= scaling.multiplier,
                         qPrintable(QStringLiteral("channel %1, sample %2").arg(c).arg(k)));
            }
        }
        if (tau <= 0.0)
            return;
        // The largest offset: continuous at inception, e^-1 of it one time constant later.
        const int later = inception + int(std::lround(tau * rate / 1000.0));
        for (int c = 3; c < 6; ++c) {
            const VornaLumeto::ChannelScaling scaling = LumetoTest::primaryScaling(recording, c);
            const auto value = [&](int k) { return scaling.multiplier * recording.analogValues.at(c).at(k); };
            const Complex before = expectedAt(options, inception - 1).current[c - 3];
            const Complex after = expectedAt(options, inception).current[c - 3];
            const double jump = instantaneous(before, 50, inception, rate) - instantaneous(after, 50, inception, rate);
            QVERIFY(std::fabs(value(inception) - instantaneous(before, 50, inception, rate)) <= scaling.multiplier);
            const double left = value(later) - instantaneous(after, 50, later, rate);
            QVERIFY2(std::fabs(left - jump * std::exp(-1.0)) <= 2.0 * scaling.multiplier,
                     qPrintable(QStringLiteral("phase %1: %2 of %3").arg(c - 3).arg(left).arg(jump)));
        }
    }
};

QTEST_GUILESS_MAIN(TestLineFaultModel)
#include "test_linefaultmodel.moc"
