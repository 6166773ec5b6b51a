// The fault-analysis maths: the phasor convention, windows that give no
// phasor, symmetrical components in both rotations, power, loop impedances,
// the locus, and everything at a cut against the closed-form two-source model
// through recordings the generator writes and the standard reader reads.
#include "analysis/cutanalysis.h"
#include "analysis/faultlocation.h"
#include "analysis/impedancelocus.h"
#include "analysis/phasortrack.h"
#include "comtrade/dialect/dialectreader.h"
#include "support/readings.h"
#include "comtrade/common/recordingsampling.h"
#include "support/linefaultrecordings.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace VornaLumeto;
using LumetoTools::FaultKind;

Q_DECLARE_METATYPE(FaultKind)
Q_DECLARE_METATYPE(VornaLumeto::PhaseRotation)
Q_DECLARE_METATYPE(VornaLumeto::RecordingSampling)
Q_DECLARE_METATYPE(VornaLumeto::Complex)

namespace {

const double pi = std::acos(-1.0);
const double degree = pi / 180.0;
const Complex a = std::polar(1.0, 120.0 * degree);
const char* const kindNames[LumetoTools::faultKindCount] = {"AG", "BG", "CG", "AB", "BC", "CA", "ABG", "BCG", "CAG", "ABC"};

RecordingSampling oneRate(double rate, double lineFrequency, int samples)
{
    return {{{rate, 0, samples}}, lineFrequency};
}

// rms * sqrt 2 * cos(2 pi f (k - first) / rate + phase): the phase is the one at sample `first`.
QVector<double> cosine(double rms, double phaseDegrees, double frequency, double rate, int count, int first = 0)
{
    QVector<double> values(count);
    for (int k = 0; k < count; ++k)
        values[k] = rms * std::sqrt(2.0) * std::cos(2 * pi * frequency * (k - first) / rate + phaseDegrees * degree);
    return values;
}

bool near(Complex actual, Complex expected, double tolerance = 1e-9)
{
    return std::abs(actual - expected) <= tolerance * std::max(1.0, std::abs(expected));
}

QString text(Complex value)
{
    return QStringLiteral("%1 at %2 degrees").arg(std::abs(value)).arg(std::arg(value) / degree);
}

// Loops after B and C trade names: AB becomes CA and BG becomes CG.
int loopUnderAcbNames(int loop)
{
    const int renamed[faultLoopCount] = {0, 2, 1, 5, 4, 3};
    return renamed[loop];
}

} // namespace

class TestFaultAnalysis : public QObject {
    Q_OBJECT

private slots:
    void phasorConvention_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<double>("multiplier");
        QTest::addColumn<double>("offset");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("lineFrequency");
        QTest::addColumn<double>("rms");
        QTest::addColumn<double>("angle");
        QTest::newRow("cosine 100 is 100 at 0") << cosine(100, 0, 50, 1000, 40, 20) << 1.0 << 0.0 << 1000.0 << 50.0
                                                << 100.0 << 0.0;
        QTest::newRow("sine 100 is 100 at -90") << cosine(100, -90, 50, 1000, 40, 20) << 1.0 << 0.0 << 1000.0
                                                << 50.0 << 100.0 << -90.0;
        QTest::newRow("multiplier and offset") << cosine(50, 30, 50, 4000, 160, 80) << 2.0 << 7.5 << 4000.0 << 50.0
                                               << 100.0 << 30.0;
        QTest::newRow("60 Hz, 32 per period") << cosine(10, 150, 60, 1920, 64, 32) << 1.0 << 0.0 << 1920.0 << 60.0
                                              << 10.0 << 150.0;
    }
    void phasorConvention()
    {
        QFETCH(QVector<double>, values);
        QFETCH(double, multiplier);
        QFETCH(double, offset);
        QFETCH(double, rate);
        QFETCH(double, lineFrequency);
        QFETCH(double, rms);
        QFETCH(double, angle);
        const RecordingSampling sampling = oneRate(rate, lineFrequency, values.size());
        const std::optional<SampleWindow> window = periodEndingAt(sampling, values.size() - 1, values.size());
        QVERIFY(window);
        QCOMPARE(window->first, values.size() / 2);
        const std::optional<Complex> phasor = fundamentalPhasor(values, {multiplier, offset}, *window);
        QVERIFY(phasor);
        QVERIFY2(near(*phasor, std::polar(rms, angle * degree)), qPrintable(text(*phasor)));
        // The sliding track gives the same phasor at every sample.
        const QVector<Complex> track = phasorTrack(values, {multiplier, offset}, sampling, 0, values.size() - 1,
                                                   values.size());
        for (int k = 0; k < values.size(); ++k) {
            const std::optional<SampleWindow> here = periodEndingAt(sampling, k, values.size());
            const std::optional<Complex> direct = here ? fundamentalPhasor(values, {multiplier, offset}, *here)
                                                       : std::nullopt;
            QCOMPARE(bool(direct), !std::isnan(track[k].real()));
            if (direct)
                QVERIFY2(near(track[k], *direct), qPrintable(QString::number(k)));
        }
    }

    // A fault current's offset, as large as its peak and dying with 30 ms, at
    // the start of the period: the fitted phasor keeps within 1 %, where the
    // plain one errs by several; without an offset the two agree.
    void offsetFreePhasorLooksPastADyingOffset_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("offset");
        for (const int rate : {1000, 2000, 4000}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 Hz, offset").arg(rate))) << rate << 100.0 * std::sqrt(2.0);
            QTest::newRow(qPrintable(QStringLiteral("%1 Hz, none").arg(rate))) << rate << 0.0;
        }
    }
    void offsetFreePhasorLooksPastADyingOffset()
    {
        QFETCH(int, rate);
        QFETCH(double, offset);
        const int count = rate / 50;
        QVector<double> values = cosine(100, 40, 50, rate, count);
        for (int k = 0; k < count; ++k)
            values[k] += offset * std::exp(-k / (0.030 * rate));
        const SampleWindow window{0, count};
        const Complex expected = std::polar(100.0, 40 * degree);
        const Complex fitted = *offsetFreePhasor(values, {}, window);
        const Complex plain = *fundamentalPhasor(values, {}, window);
        QVERIFY2(std::abs(fitted - expected) <= 1.0, qPrintable(text(fitted)));
        if (offset > 0.0)
            QVERIFY2(std::abs(plain - expected) >= 5.0, qPrintable(text(plain)));
        else
            QVERIFY(near(fitted, plain, 1e-9));
    }

    // "-" and never a number: a window across a change of rate, with a
    // missing value, with fewer than 8 samples per period, or outside the recording.
    void windowsWithoutPhasor_data()
    {
        QTest::addColumn<RecordingSampling>("sampling");
        QTest::addColumn<int>("missingAt");
        QTest::addColumn<int>("cut");
        QTest::addColumn<bool>("phasor");
        const RecordingSampling twoRates{{{1000.0, 0, 100}, {2000.0, 100, 300}}, 50.0};
        QTest::newRow("across a change of rate") << twoRates << -1 << 120 << false;
        QTest::newRow("just after a change of rate") << twoRates << -1 << 139 << true;
        QTest::newRow("with a missing value") << oneRate(1000, 50, 300) << 150 << 160 << false;
        QTest::newRow("past the missing value") << oneRate(1000, 50, 300) << 150 << 170 << true;
        QTest::newRow("7 samples per period") << oneRate(350, 50, 300) << -1 << 100 << false;
        QTest::newRow("8 samples per period") << oneRate(400, 50, 300) << -1 << 100 << true;
        QTest::newRow("before the first sample") << oneRate(1000, 50, 300) << -1 << 18 << false;
        QTest::newRow("first whole period") << oneRate(1000, 50, 300) << -1 << 19 << true;
        QTest::newRow("past the last sample") << oneRate(1000, 50, 300) << -1 << 300 << false;
    }
    void windowsWithoutPhasor()
    {
        QFETCH(RecordingSampling, sampling);
        QFETCH(int, missingAt);
        QFETCH(int, cut);
        QFETCH(bool, phasor);
        QVector<double> values = cosine(100, 0, 50, 1000, 300);
        if (missingAt >= 0)
            values[missingAt] = std::numeric_limits<double>::quiet_NaN();
        const QVector<QVector<double>> channels(8, values);
        ThreePhaseSet set;
        for (int role = 0; role < phaseRoleCount; ++role)
            set.assign(PhaseRole(role), role);
        const CutAnalysis analysis =
            analyseCut(sampling, setSignals(channels, set, {}), LineData(), PhaseRotation::Abc, cut);
        QCOMPARE(bool(analysis.voltages[0]), phasor);
        QCOMPARE(bool(analysis.currentSequence), phasor);
        QCOMPARE(bool(analysis.loops[3]), false);  // equal phases: no phase-to-phase current
        const QVector<Complex> track = phasorTrack(values, {}, sampling, cut, cut, 300);
        QCOMPARE(!track.isEmpty() && !std::isnan(track[0].real()), phasor);
    }

    void symmetricalComponents_data()
    {
        QTest::addColumn<Complex>("phaseA");
        QTest::addColumn<Complex>("phaseB");
        QTest::addColumn<Complex>("phaseC");
        QTest::addColumn<PhaseRotation>("rotation");
        QTest::addColumn<Complex>("zero");
        QTest::addColumn<Complex>("positive");
        QTest::addColumn<Complex>("negative");
        const Complex u = std::polar(100.0, 20.0 * degree);
        QTest::newRow("balanced ABC") << u << a * a * u << a * u << PhaseRotation::Abc << Complex() << u << Complex();
        QTest::newRow("single phase") << 3.0 * u << Complex() << Complex() << PhaseRotation::Abc << u << u << u;
        QTest::newRow("negative sequence") << u << a * u << a * a * u << PhaseRotation::Abc << Complex() << Complex()
                                           << u;
        QTest::newRow("balanced ACB") << u << a * u << a * a * u << PhaseRotation::Acb << Complex() << u << Complex();
        QTest::newRow("ABC set read as ACB") << u << a * a * u << a * u << PhaseRotation::Acb << Complex()
                                             << Complex() << u;
    }
    void symmetricalComponents()
    {
        QFETCH(Complex, phaseA);
        QFETCH(Complex, phaseB);
        QFETCH(Complex, phaseC);
        QFETCH(PhaseRotation, rotation);
        const SequenceComponents sequences = VornaLumeto::symmetricalComponents({phaseA, phaseB, phaseC}, rotation);
        QFETCH(Complex, zero);
        QFETCH(Complex, positive);
        QFETCH(Complex, negative);
        QVERIFY2(near(sequences.zero, zero, 1e-12), qPrintable(text(sequences.zero)));
        QVERIFY2(near(sequences.positive, positive, 1e-12), qPrintable(text(sequences.positive)));
        QVERIFY2(near(sequences.negative, negative, 1e-12), qPrintable(text(sequences.negative)));
        const PhaseValues back = phasesOf(sequences, rotation);
        QVERIFY(near(back[0], phaseA, 1e-12) && near(back[1], phaseB, 1e-12) && near(back[2], phaseC, 1e-12));
    }

    // Voltages made from the loop's impedance and unbalanced currents give that impedance back.
    void loopsGiveTheImpedanceTheyWereBuiltFrom_data()
    {
        QTest::addColumn<int>("loop");
        QTest::addColumn<bool>("lineGiven");
        const char* const names[faultLoopCount] = {"AG", "BG", "CG", "AB", "BC", "CA"};
        for (int loop = 0; loop < faultLoopCount; ++loop) {
            QTest::newRow(names[loop]) << loop << true;
            if (loop < 3)
                QTest::newRow(QByteArray(names[loop]) + " without line data, k0 = 0") << loop << false;
        }
    }
    void loopsGiveTheImpedanceTheyWereBuiltFrom()
    {
        QFETCH(int, loop);
        QFETCH(bool, lineGiven);
        const LineData line = lineGiven ? LumetoTest::testLine() : LineData();
        const ResidualCompensation compensation = residualCompensation(line);
        QCOMPARE(compensation.fromLine, lineGiven);
        const Complex k0 = lineGiven ? (line.z0() - line.z1()) / (3.0 * line.z1()) : Complex();
        QVERIFY(near(compensation.k0, k0));
        const Complex impedance(3.5, 17.25);
        const PhaseValues currents{std::polar(2400.0, -70 * degree), std::polar(310.0, -150 * degree),
                                   std::polar(280.0, 95 * degree)};
        PhaseValues voltages{std::polar(40e3, 0.0), std::polar(61e3, -121 * degree), std::polar(62e3, 118 * degree)};
        const Complex residual = currents[0] + currents[1] + currents[2];
        if (loop < 3) {
            voltages[loop] = impedance * (currents[loop] + k0 * residual);
        } else {
            const int p = loop - 3;
            const int q = (p + 1) % 3;
            voltages[p] = voltages[q] + impedance * (currents[p] - currents[q]);
        }
        const std::optional<Complex> measured = loopImpedances(voltages, currents, compensation.k0)[loop];
        QVERIFY(measured);
        QVERIFY2(near(*measured, impedance), qPrintable(text(*measured)));
        QVERIFY(!loopImpedance({voltages[0], 0.0}));
    }

    void powerOfKnownPhasors_data()
    {
        QTest::addColumn<Complex>("voltage");
        QTest::addColumn<Complex>("current");
        QTest::addColumn<double>("active");
        QTest::addColumn<double>("reactive");
        QTest::addColumn<double>("powerFactor");
        const double root3 = std::sqrt(3.0);
        QTest::newRow("lagging 30 degrees") << Complex(100) << std::polar(10.0, -30 * degree) << 500 * root3 << 500.0
                                            << root3 / 2;
        QTest::newRow("leading 30 degrees") << Complex(100) << std::polar(10.0, 30 * degree) << 500 * root3 << -500.0
                                            << root3 / 2;
        QTest::newRow("importing") << std::polar(100.0, 40 * degree) << std::polar(10.0, -140 * degree) << -1000.0
                                   << 0.0 << -1.0;
        QTest::newRow("no current") << Complex(100) << Complex() << 0.0 << 0.0 << std::nan("");
    }
    void powerOfKnownPhasors()
    {
        QFETCH(Complex, voltage);
        QFETCH(Complex, current);
        QFETCH(double, active);
        QFETCH(double, reactive);
        QFETCH(double, powerFactor);
        const SetPower power = setPower({voltage, a * a * voltage, a * voltage}, {current, a * a * current, a * current});
        for (const Power& phase : power.phases) {
            QVERIFY(std::fabs(phase.active - active) < 1e-9 && std::fabs(phase.reactive - reactive) < 1e-9);
            QCOMPARE(bool(phase.powerFactor), !std::isnan(powerFactor));
            if (phase.powerFactor)
                QVERIFY(std::fabs(*phase.powerFactor - powerFactor) < 1e-12);
        }
        QVERIFY(std::fabs(power.total.active - 3 * active) < 1e-9);
        QVERIFY(std::fabs(power.total.reactive - 3 * reactive) < 1e-9);
        QVERIFY(std::fabs(power.total.apparent - 3 * std::abs(voltage) * std::abs(current)) < 1e-9);
    }

    // Everything at the last full cycle before clearing against the model, for
    // every kind: phasors and sequences within 1 % and 1 degree, each method's
    // distance within 1 % of the line of its closed-form value, and a bolted
    // fault within 0.5 % of the true distance; the locus agrees with the cut.
    void cutAgreesWithTheModel_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<double>("resistance");
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("loadAngle");
        QTest::addColumn<bool>("homogeneous");
        QTest::addColumn<int>("rate");
        QTest::addColumn<bool>("secondary");
        QTest::addColumn<bool>("acb");
        for (int k = 0; k < LumetoTools::faultKindCount; ++k) {
            const QByteArray name(kindNames[k]);
            QTest::newRow(name + " bolted, homogeneous, 2 kHz")
                << FaultKind(k) << 0.0 << 0.3 << 10.0 << true << 2000 << false << false;
            QTest::newRow(name + " 15 ohm, exporting, non-homogeneous, 1 kHz")
                << FaultKind(k) << 15.0 << 0.7 << 10.0 << false << 1000 << false << false;
            QTest::newRow(name + " 25 ohm, importing, secondary, 4 kHz, named ACB")
                << FaultKind(k) << 25.0 << 0.5 << -10.0 << true << 4000 << true << true;
        }
    }
    void cutAgreesWithTheModel()
    {
        QFETCH(FaultKind, kind);
        QFETCH(double, resistance);
        QFETCH(double, distance);
        QFETCH(double, loadAngle);
        QFETCH(bool, homogeneous);
        QFETCH(int, rate);
        QFETCH(bool, secondary);
        QFETCH(bool, acb);
        const LumetoTools::LineFaultOptions options =
            LumetoTest::testFault(kind, distance, resistance, loadAngle, homogeneous, rate, secondary);
        QTemporaryDir dir;
        Recording recording;
        QCOMPARE(LumetoTest::loadLineFault(dir, QStringLiteral("fault"), options, {1999, LumetoTools::DataFormat::Binary},
                                           recording),
                 loadSuccessMessage());
        const ThreePhaseSet set = LumetoTest::lineFaultSet(true, acb);
        const SetSignals signalsOfSet =
            setSignals(recording.analogValues, set, LumetoTest::primaryScalings(recording, set));
        const RecordingSampling sampling = recordingSampling(recording);
        const LineData line = LumetoTest::testLine();
        const PhaseRotation rotation = acb ? PhaseRotation::Acb : PhaseRotation::Abc;
        const int inception = LumetoTools::sampleAt(options.inceptionMs, rate);
        const int end = LumetoTools::sampleAt(*options.clearingMs, rate) - 1;
        const CutAnalysis cut = analyseCut(sampling, signalsOfSet, line, rotation, end);
        QVERIFY(cut.window && cut.angleReference == AngleReference::UA);

        // The model's phasors, turned so that UA is at 0 as the analysis turns them.
        const LumetoTools::LineFaultSolution model = LumetoTools::solveLineFault(options.system, options.fault);
        const QString mismatch = LumetoTest::cutMismatch(cut, model.fault, options.system.emf, acb);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        const Complex turn = std::conj(model.fault.voltage[0]) / std::abs(model.fault.voltage[0]);
        double currentScale = 0.0;
        for (const Complex current : model.fault.current)
            currentScale = std::max(currentScale, std::abs(current));
        QCOMPARE(cut.residualCurrent->source, ResidualSource::Measured);
        QVERIFY(LumetoTest::phasorMismatch(cut.residualCurrent->value, 3.0 * turn * model.fault.sequenceCurrent[0],
                                           currentScale)
                    .isEmpty());

        // Distances on the faulted loop, the prefault cycle whole periods earlier.
        const int loop = acb ? loopUnderAcbNames(LumetoTest::faultedLoopIndex(kind)) : LumetoTest::faultedLoopIndex(kind);
        const int periods = (end - inception + 1 + rate / 50 - 1) / (rate / 50);
        const SampleWindow faultWindow = *cut.window;
        const SampleWindow prefaultWindow = *periodEndingAt(sampling, end - periods * rate / 50, recording.sampleCount());
        QVERIFY(prefaultWindow.first + prefaultWindow.count <= inception);
        const RolePhasors during = rolePhasors(signalsOfSet, faultWindow);
        const RolePhasors before = rolePhasors(signalsOfSet, prefaultWindow);
        const Complex k0 = residualCompensation(line).k0;
        const LoopSignals faulted = loopSignals(FaultLoop(loop), *during.voltages(), *during.currents(), k0);
        const Complex prefaultCurrent =
            referredToWindow(loopSignals(FaultLoop(loop), *before.voltages(), *before.currents(), k0).current, sampling,
                             prefaultWindow, faultWindow);
        const Complex negative = VornaLumeto::symmetricalComponents(*during.currents(), rotation).negative;
        const std::optional<double> measured[3] = {
            reactanceDistance(faulted, line.z1()), takagiDistance(faulted, prefaultCurrent, line.z1()),
            negativeSequenceDistance(faulted, FaultLoop(loop), negative, rotation, line.z1())};
        const LumetoTest::ClosedFormDistances closed = LumetoTest::closedFormDistances(model, kind, line);
        const std::optional<double> expected[3] = {closed.reactance, closed.takagi, closed.negativeSequence};
        for (int method = 0; method < 3; ++method) {
            if (!expected[method])
                continue;  // negative sequence of a three-phase fault: no negative sequence to speak of
            QVERIFY(measured[method]);
            const double reference = resistance == 0.0 ? distance : *expected[method];
            const double tolerance = resistance == 0.0 ? 0.005 : 0.01;
            QVERIFY2(std::fabs(*measured[method] - reference) <= tolerance,
                     qPrintable(QStringLiteral("method %1: %2 against %3 (closed form %4)")
                                    .arg(method)
                                    .arg(*measured[method])
                                    .arg(reference)
                                    .arg(*expected[method])));
        }

        // The locus at the cut is the cut's loops.
        const ImpedanceLocus locus = impedanceLocus(sampling, signalsOfSet, line, end - 5, end);
        QCOMPARE(locus.size(), 6);
        for (int l = 0; l < faultLoopCount; ++l) {
            QCOMPARE(std::isnan(locus.resistance[l][5]), !cut.loops[l]);
            if (cut.loops[l])
                QVERIFY(near(Complex(locus.resistance[l][5], locus.reactance[l][5]), *cut.loops[l], 1e-6));
        }
    }

    // After the trip the currents are noise and so is V / I: with a minimum
    // current share the locus has no point there, while inside the fault it
    // keeps every one.
    void locusLeavesOutLoopsWithoutCurrent()
    {
        LumetoTools::LineFaultOptions options;
        options.fault = {FaultKind::AG, 0.5, 0.0};
        options.system = LumetoTest::testSystem(true, 10.0);
        options.noise = 0.001;
        QTemporaryDir dir;
        Recording recording;
        QCOMPARE(LumetoTest::loadLineFault(dir, QStringLiteral("trip"), options, {1999, LumetoTools::DataFormat::Binary},
                                           recording),
                 loadSuccessMessage());
        const ThreePhaseSet set = LumetoTest::lineFaultSet(true);
        const SetSignals signalsOfSet = setSignals(recording.analogValues, set, LumetoTest::primaryScalings(recording, set));
        const RecordingSampling sampling = recordingSampling(recording);
        const int last = recording.sampleCount() - 1;
        const ImpedanceLocus all = impedanceLocus(sampling, signalsOfSet, LineData(), 0, last);
        const ImpedanceLocus supervised = impedanceLocus(sampling, signalsOfSet, LineData(), 0, last, 0.02);
        const int inFault = LumetoTools::sampleAt(*options.clearingMs, options.sampleRate) - 1;
        const int afterTrip = last;
        for (int loop = 0; loop < faultLoopCount; ++loop) {
            QVERIFY(std::isfinite(all.resistance[loop][afterTrip]));
            QVERIFY(std::isnan(supervised.resistance[loop][afterTrip]));
            QCOMPARE(supervised.resistance[loop][inFault], all.resistance[loop][inFault]);
            QCOMPARE(supervised.reactance[loop][inFault], all.reactance[loop][inFault]);
        }
    }
};

QTEST_GUILESS_MAIN(TestFaultAnalysis)
#include "test_faultanalysis.moc"
