// The fault report of a set against the closed-form two-source model, through
// recordings the generator writes and the standard reader reads: type,
// inception, clearing, the phasors at the distance window and each method's
// distance; and recordings without a fault, one that begins inside a fault,
// an evolving fault. A whole recording's report as the JSON scripts read.
#include "analysis/faultreport.h"
#include "analysis/faultreportjson.h"
#include "analysis/primarysignals.h"
#include "analysis/threephasesetfinder.h"
#include "comtrade/dialect/dialectreader.h"
#include "support/readings.h"
#include "comtrade/common/recordingsampling.h"
#include "support/linefaultrecordings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace VornaLumeto;
using LumetoTools::FaultKind;
using LumetoTools::LineEvent;

Q_DECLARE_METATYPE(FaultKind)
Q_DECLARE_METATYPE(LumetoTools::LineEvent)

namespace {

const char* const kindNames[LumetoTools::faultKindCount] = {"AG", "BG", "CG", "AB", "BC", "CA", "ABG", "BCG", "CAG", "ABC"};

struct Loaded {
    Recording recording;
    ThreePhaseSet set;
    FaultReport report;
};

// Writes the options' recording in the form, reads it back and reports on its
// set; with acb, its B and C trade channels and are read as A, B, C all the same.
bool report(const LumetoTools::LineFaultOptions& options, const LumetoTools::RecordingForm& form, Loaded& loaded,
            bool acb = false)
{
    QTemporaryDir dir;
    if (LumetoTest::loadLineFault(dir, QStringLiteral("line"), options, form, loaded.recording) != loadSuccessMessage())
        return false;
    loaded.set = LumetoTest::lineFaultSet(options.residualChannel, acb);
    const SetSignals signalsOfSet = setSignals(loaded.recording.analogValues, loaded.set,
                                               LumetoTest::primaryScalings(loaded.recording, loaded.set));
    loaded.report = faultReport(recordingSampling(loaded.recording), loaded.recording.timeAxis, signalsOfSet,
                                LumetoTest::testLine(), PhaseRotation::Abc);
    return true;
}

// The report on the first set of a recording from the public test data, as the analysis window makes it.
FaultReport publicReport(const QString& name)
{
    Recording recording;
    if (LumetoTest::loadStandard(qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/public/") + name,
                                 recording)
        != loadSuccessMessage())
        return {};
    const QVector<ThreePhaseSet> sets = findThreePhaseSets(recording);
    if (sets.isEmpty())
        return {};
    ThreePhaseSetup setup;
    setup.set = sets.first();
    const SetSignals signalsOfSet = primarySetSignals(recording, setup.set, setScaling(recording, setup));
    return faultReport(recordingSampling(recording), recording.timeAxis, signalsOfSet, LineData(), PhaseRotation::Abc);
}

QString distanceText(const std::optional<LineDistance>& distance)
{
    return distance ? QString::number(distance->perUnit) : QStringLiteral("none");
}

// [rms, degrees] as a phasor; none for null.
std::optional<Complex> jsonPhasor(const QJsonValue& value)
{
    const QJsonArray pair = value.toArray();
    if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble())
        return std::nullopt;
    return std::polar(pair[0].toDouble(), pair[1].toDouble() * std::acos(-1.0) / 180.0);
}

// The report's phasors and sequences, for comparing with the model as a cut's.
CutAnalysis cutOfJson(const QJsonObject& fault)
{
    const QJsonObject phasors = fault[QStringLiteral("phasors")].toObject();
    const QJsonObject sequence = fault[QStringLiteral("sequence")].toObject();
    CutAnalysis cut;
    for (int p = 0; p < 3; ++p) {
        cut.voltages[p] = jsonPhasor(phasors[phaseRoleKey(PhaseRole(int(PhaseRole::UA) + p))]);
        cut.currents[p] = jsonPhasor(phasors[phaseRoleKey(PhaseRole(int(PhaseRole::IA) + p))]);
    }
    const auto components = [&](QChar quantity) -> std::optional<SequenceComponents> {
        const auto part = [&](char order) { return jsonPhasor(sequence[quantity + QLatin1Char(order)]); };
        if (!part('0') || !part('1') || !part('2'))
            return std::nullopt;
        return SequenceComponents{*part('0'), *part('1'), *part('2')};
    };
    cut.voltageSequence = components(QLatin1Char('U'));
    cut.currentSequence = components(QLatin1Char('I'));
    return cut;
}

} // namespace

class TestFaultReport : public QObject {
    Q_OBJECT

private slots:
    // Every kind, fault resistance 0 ... 25 ohm, load angles +-10 degrees,
    // homogeneous or not, 1 ... 4 kHz, primary or secondary, Latin or Cyrillic,
    // with and without a DC offset of 30 ms; and faults early in the
    // recording, where no clean period precedes the first change against one
    // period earlier (no Takagi distance without a whole period before).
    void faultsAreReportedAsTheModelHasThem_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<double>("resistance");
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("loadAngle");
        QTest::addColumn<bool>("homogeneous");
        QTest::addColumn<int>("rate");
        QTest::addColumn<bool>("secondary");
        QTest::addColumn<double>("tau");
        QTest::addColumn<double>("inceptionMs");
        const double resistances[] = {0.0, 5.0, 25.0, 10.0, 0.0, 20.0, 15.0, 0.0, 25.0, 8.0};
        const double distances[] = {0.2, 0.5, 0.8, 0.35, 0.9, 0.6, 0.15, 0.45, 0.7, 0.25};
        const int rates[] = {1000, 2000, 4000};
        for (int k = 0; k < LumetoTools::faultKindCount; ++k) {
            for (const bool offset : {false, true}) {
                const int variant = 2 * k + int(offset);
                const double resistance = offset ? resistances[(k + 4) % 10] : resistances[k];
                const double loadAngle = variant % 2 == 0 ? 10.0 : -10.0;
                const bool homogeneous = (variant / 2) % 2 == 0;
                const int rate = rates[variant % 3];
                const bool secondary = variant % 4 >= 2;
                const QByteArray name = QByteArray(kindNames[k]) + ", " + QByteArray::number(resistance) + " ohm, "
                                        + (loadAngle > 0 ? "exporting" : "importing") + ", "
                                        + (homogeneous ? "homogeneous" : "non-homogeneous") + ", "
                                        + QByteArray::number(rate) + " Hz" + (secondary ? ", secondary" : "")
                                        + (offset ? ", offset" : "");
                QTest::newRow(name.constData()) << FaultKind(k) << resistance << distances[(k + 3 * int(offset)) % 10]
                                                << loadAngle << homogeneous << rate << secondary
                                                << (offset ? 30.0 : 0.0) << 60.25;
            }
        }
        // A quarter period in; a sample before, at and after the end of the
        // first period; one and a half and two periods in.
        const struct {
            FaultKind kind;
            int rate;
            double tau;
            double inceptionMs;
            const char* when;
        } early[] = {{FaultKind::ABC, 2000, 0.0, 5.0, "a quarter period"},
                     {FaultKind::AG, 1000, 30.0, 19.0, "a sample short of a period"},
                     {FaultKind::BC, 2000, 30.0, 20.0, "a period"},
                     {FaultKind::BCG, 4000, 0.0, 20.25, "a sample past a period"},
                     {FaultKind::ABC, 1000, 30.0, 30.0, "one and a half periods"},
                     {FaultKind::AG, 2000, 0.0, 40.0, "two periods"}};
        for (const auto& row : early) {
            const QByteArray name = QByteArray(kindNames[int(row.kind)]) + ", " + QByteArray::number(row.rate)
                                    + " Hz" + (row.tau > 0.0 ? ", offset" : "") + ", " + row.when + " in";
            QTest::newRow(name.constData()) << row.kind << 5.0 << 0.4 << 10.0 << true << row.rate << false << row.tau
                                            << row.inceptionMs;
        }
    }
    void faultsAreReportedAsTheModelHasThem()
    {
        QFETCH(FaultKind, kind);
        QFETCH(double, resistance);
        QFETCH(double, distance);
        QFETCH(double, loadAngle);
        QFETCH(bool, homogeneous);
        QFETCH(int, rate);
        QFETCH(bool, secondary);
        QFETCH(double, tau);
        QFETCH(double, inceptionMs);
        LumetoTools::LineFaultOptions options =
            LumetoTest::testFault(kind, distance, resistance, loadAngle, homogeneous, rate, secondary);
        options.dcTimeConstantMs = tau;
        // Cleared after a first zone and its breaker, 110 ms and more after
        // inception: the offset has died down by the last full cycle.
        options.inceptionMs = inceptionMs;
        options.clearingMs = 170.5;
        options.durationMs = 220.0;
        options.residualChannel = rate != 2000;
        Loaded loaded;
        QVERIFY(report(options, {secondary ? 2013 : 1999, LumetoTools::DataFormat::Binary}, loaded));
        const FaultReport& result = loaded.report;
        QCOMPARE(int(result.event), int(SetEvent::Fault));
        QCOMPARE(faultTypeLetters(result.type), QString::fromLatin1(kindNames[int(kind)]));
        QVERIFY(!result.beganBeforeRecording && !result.laterType);
        // The generator starts and clears the fault at the first sample at or after the times asked.
        const int inceptionSample = LumetoTools::sampleAt(options.inceptionMs, rate);
        const double trueInceptionMs = inceptionSample * 1000.0 / rate;
        const double clearingMs = LumetoTools::sampleAt(*options.clearingMs, rate) * 1000.0 / rate;
        QVERIFY2(std::fabs(*result.inceptionMs - trueInceptionMs) <= 1.0,
                 qPrintable(QString::number(*result.inceptionMs)));
        QVERIFY2(std::fabs(*result.clearingMs - clearingMs) <= 2.0, qPrintable(QString::number(*result.clearingMs)));
        const bool periodBefore = inceptionSample >= rate / options.lineFrequency;
        QVERIFY(result.window);
        QCOMPARE(bool(result.prefaultWindow), periodBefore);
        QVERIFY(*result.windowStartMs > trueInceptionMs && *result.windowEndMs < clearingMs);
        QCOMPARE(int(result.loop), LumetoTest::faultedLoopIndex(kind));

        // Phasors and sequences at the window, relative to UA, within 1 % and 1 degree.
        const LumetoTools::LineFaultSolution model = LumetoTools::solveLineFault(options.system, options.fault);
        const QString mismatch = LumetoTest::cutMismatch(result.atWindow, model.fault, options.system.emf);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

        // Each method within 1 % of the line (3 % with the offset) of its
        // closed-form value; bolted, within 0.5 % of the true distance.
        const LumetoTest::ClosedFormDistances closed = LumetoTest::closedFormDistances(model, kind, LumetoTest::testLine());
        const std::optional<LineDistance> methods[3] = {result.reactance, result.takagi, result.negativeSequence};
        const std::optional<double> closedForm[3] = {
            closed.reactance, periodBefore ? std::optional<double>(closed.takagi) : std::nullopt, closed.negativeSequence};
        for (int method = 0; method < 3; ++method) {
            QCOMPARE(bool(methods[method]), bool(closedForm[method]));
            if (!closedForm[method])
                continue;
            const double reference = resistance == 0.0 ? distance : *closedForm[method];
            const double tolerance = resistance == 0.0 ? 0.005 : tau > 0.0 ? 0.03 : 0.01;
            QVERIFY2(std::fabs(methods[method]->perUnit - reference) <= tolerance,
                     qPrintable(QStringLiteral("method %1: %2 against %3")
                                    .arg(method)
                                    .arg(distanceText(methods[method]))
                                    .arg(reference)));
            QVERIFY(std::fabs(methods[method]->km - methods[method]->perUnit * LumetoTest::testLine().lengthKm) < 1e-9);
        }
    }

    // Nothing is invented: load alone (with noise, loaded or not), a small
    // load step, energisation with and without an offset, early in the
    // recording too, and a load step on phases labelled against the rotation
    // the set is read with (balanced all the same).
    void noFaultIsReportedWhereThereIsNone_data()
    {
        QTest::addColumn<LineEvent>("event");
        QTest::addColumn<double>("loadAngle");
        QTest::addColumn<double>("tau");
        QTest::addColumn<double>("noise");
        QTest::addColumn<double>("step");
        QTest::addColumn<QVector<int>>("expected");
        QTest::addColumn<double>("inceptionMs");
        QTest::addColumn<bool>("acb");
        const QVector<int> steady{int(SetEvent::Steady)};
        const QVector<int> loadChange{int(SetEvent::LoadChange)};
        QTest::newRow("load only, noise") << LineEvent::LoadOnly << 10.0 << 0.0 << 0.002 << 0.0 << steady << 100.0 << false;
        QTest::newRow("no load, noise alone")
            << LineEvent::LoadOnly << 0.0 << 0.0 << 0.002 << 0.0 << steady << 100.0 << false;
        QTest::newRow("load step of 20 %, seen or not")
            << LineEvent::LoadStep << -10.0 << 0.0 << 0.0 << 0.2 << QVector<int>{int(SetEvent::Steady), int(SetEvent::LoadChange)}
            << 100.0 << false;
        QTest::newRow("load step of 40 %, noise, offset") << LineEvent::LoadStep << 10.0 << 30.0 << 0.001 << 0.4
                                                          << loadChange << 100.0 << false;
        QTest::newRow("load step of 40 %, phases A, C, B") << LineEvent::LoadStep << 10.0 << 0.0 << 0.001 << 0.4
                                                           << loadChange << 100.0 << true;
        QTest::newRow("load step of 40 %, noise, a quarter period in")
            << LineEvent::LoadStep << 10.0 << 0.0 << 0.001 << 0.4 << loadChange << 5.0 << false;
        QTest::newRow("energisation") << LineEvent::Energisation << 10.0 << 0.0 << 0.0 << 0.0
                                      << QVector<int>{int(SetEvent::Energisation)} << 100.0 << false;
        QTest::newRow("energisation, offset, noise") << LineEvent::Energisation << -10.0 << 30.0 << 0.001 << 0.0
                                                     << QVector<int>{int(SetEvent::Energisation)} << 100.0 << false;
        QTest::newRow("energisation, noise, a quarter period in")
            << LineEvent::Energisation << -10.0 << 0.0 << 0.001 << 0.0 << QVector<int>{int(SetEvent::Energisation)}
            << 5.0 << false;
    }
    void noFaultIsReportedWhereThereIsNone()
    {
        QFETCH(LineEvent, event);
        QFETCH(double, loadAngle);
        QFETCH(double, tau);
        QFETCH(double, noise);
        QFETCH(double, step);
        QFETCH(QVector<int>, expected);
        QFETCH(double, inceptionMs);
        QFETCH(bool, acb);
        LumetoTools::LineFaultOptions options;
        options.event = event;
        options.inceptionMs = inceptionMs;
        options.loadStep = step;
        options.system = LumetoTest::testSystem(false, loadAngle);
        options.dcTimeConstantMs = tau;
        options.noise = noise;
        options.sampleRate = 4000;
        Loaded loaded;
        QVERIFY(report(options, {1999, LumetoTools::DataFormat::Binary}, loaded, acb));
        QVERIFY2(expected.contains(int(loaded.report.event)), qPrintable(QString::number(int(loaded.report.event))));
        if (loaded.report.event != SetEvent::Steady)
            QVERIFY(std::abs(*loaded.report.eventSample - LumetoTools::sampleAt(options.inceptionMs, 4000)) <= 4);
    }

    // A recording that starts inside the fault, or that holds too little of
    // the load before it to tell it by (less than an eighth of a period), has
    // no inception and no Takagi distance; its type, clearing and the other
    // distances hold.
    void faultUnderWayAtTheStart_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<double>("inceptionMs");
        QTest::addColumn<double>("tau");
        QTest::newRow("CA from the first sample") << FaultKind::CA << 0.0 << 0.0;
        QTest::newRow("ABC from the first sample, offset") << FaultKind::ABC << 0.0 << 30.0;
        QTest::newRow("AG from the second sample, offset") << FaultKind::AG << 0.5 << 30.0;
    }
    void faultUnderWayAtTheStart()
    {
        QFETCH(FaultKind, kind);
        QFETCH(double, inceptionMs);
        QFETCH(double, tau);
        LumetoTools::LineFaultOptions options;
        options.fault = {kind, 0.4, 0.0};
        options.system = LumetoTest::testSystem(true, 10.0);
        options.inceptionMs = inceptionMs;
        options.dcTimeConstantMs = tau;
        options.clearingMs = 80.0;
        options.durationMs = 150.0;
        Loaded loaded;
        QVERIFY(report(options, {1999, LumetoTools::DataFormat::Binary}, loaded));
        const FaultReport& result = loaded.report;
        QCOMPARE(int(result.event), int(SetEvent::Fault));
        QVERIFY(result.beganBeforeRecording && !result.inceptionSample);
        QCOMPARE(faultTypeLetters(result.type), QString::fromLatin1(kindNames[int(kind)]));
        QVERIFY(std::fabs(*result.clearingMs - 80.0) <= 2.0);
        QVERIFY(!result.takagi);
        // The last cycle before clearing still holds some of the offset.
        const double tolerance = tau > 0.0 ? 0.03 : 0.005;
        QVERIFY2(result.reactance && std::fabs(result.reactance->perUnit - 0.4) <= tolerance,
                 qPrintable(distanceText(result.reactance)));
        QCOMPARE(bool(result.negativeSequence), kind != FaultKind::ABC);
        QVERIFY(!result.negativeSequence || std::fabs(result.negativeSequence->perUnit - 0.4) <= tolerance);
    }

    // An evolving fault keeps its first type, notes the later one and when,
    // and locates the first on a window before it evolved (the offset not yet
    // gone: within 3 %).
    void evolvingFaultKeepsItsFirstType()
    {
        LumetoTools::LineFaultOptions options;
        options.fault = {FaultKind::BG, 0.6, 0.0};
        options.system = LumetoTest::testSystem(false, -10.0);
        options.laterKind = FaultKind::BCG;
        options.laterMs = 150.0;
        options.clearingMs = 220.0;
        options.dcTimeConstantMs = 30.0;
        options.sampleRate = 2000;
        Loaded loaded;
        QVERIFY(report(options, {1999, LumetoTools::DataFormat::Binary}, loaded));
        const FaultReport& result = loaded.report;
        QCOMPARE(faultTypeLetters(result.type), QStringLiteral("BG"));
        QVERIFY(result.laterType && *result.laterType == FaultType::BCG);
        QVERIFY2(std::fabs(*result.laterMs - 150.0) <= 2.0, qPrintable(QString::number(*result.laterMs)));
        QVERIFY(std::fabs(*result.clearingMs - 220.0) <= 2.0);
        QVERIFY(*result.windowEndMs < 150.0);
        QVERIFY2(result.reactance && std::fabs(result.reactance->perUnit - 0.6) <= 0.03,
                 qPrintable(distanceText(result.reactance)));
    }

    // Recorders' files, checked against their waveforms: the fault begins where
    // its own phases change, not where another phase's load changed some
    // milliseconds before (the C-to-ground fault's residual current rises from
    // nothing at 50 ms); a sag from a fault elsewhere, seen by a meter at a
    // load whose currents barely change, is no fault.
    void recordersFilesAreReportedAsTheirWaveformsShow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("inceptionMs");
        QTest::newRow("relay, load change in A before a C-to-ground fault")
            << "COMTRADE.jl/1991-ascii-sel.cfg" << int(SetEvent::Fault) << "CG" << 50.0;
        QTest::newRow("relay, C to ground, one pole tripped")
            << "go-comtrade/test1.cfg" << int(SetEvent::Fault) << "CG" << 971.0;
        QTest::newRow("meter at a load, sag from elsewhere")
            << "COMTRADE.jl/1999-ascii-pq.cfg" << int(SetEvent::LoadChange) << QString() << qQNaN();
    }
    void recordersFilesAreReportedAsTheirWaveformsShow()
    {
        QFETCH(QString, name);
        QFETCH(int, event);
        QFETCH(QString, type);
        QFETCH(double, inceptionMs);
        const FaultReport result = publicReport(name);
        QCOMPARE(int(result.event), event);
        if (result.event == SetEvent::Fault) {
            QCOMPARE(faultTypeLetters(result.type), type);
            QVERIFY2(result.inceptionMs && std::fabs(*result.inceptionMs - inceptionMs) <= 1.0,
                     qPrintable(QString::number(result.inceptionMs.value_or(-1.0))));
        }
    }

    // Without line data there are no distances, and without voltages no loop;
    // the type and times stay.
    void whatIsLeftWithoutLineDataOrVoltages()
    {
        LumetoTools::LineFaultOptions options;
        options.fault = {FaultKind::ABG, 0.3, 5.0};
        options.system = LumetoTest::testSystem(true, 10.0);
        QTemporaryDir dir;
        Recording recording;
        QCOMPARE(LumetoTest::loadLineFault(dir, QStringLiteral("line"), options, {1999, LumetoTools::DataFormat::Binary},
                                           recording),
                 loadSuccessMessage());
        ThreePhaseSet set = LumetoTest::lineFaultSet(true);
        const auto scalings = LumetoTest::primaryScalings(recording, set);
        const RecordingSampling sampling = recordingSampling(recording);
        const FaultReport withoutLine = faultReport(sampling, recording.timeAxis,
                                                    setSignals(recording.analogValues, set, scalings), LineData(),
                                                    PhaseRotation::Abc);
        QCOMPARE(faultTypeLetters(withoutLine.type), QStringLiteral("ABG"));
        QVERIFY(withoutLine.loopImpedance && !withoutLine.reactance && !withoutLine.takagi);
        QVERIFY(!withoutLine.atWindow.compensation.fromLine);
        for (const PhaseRole role : {PhaseRole::UA, PhaseRole::UB, PhaseRole::UC})
            set.assign(role, -1);
        const FaultReport withoutVoltages = faultReport(sampling, recording.timeAxis,
                                                        setSignals(recording.analogValues, set, scalings),
                                                        LumetoTest::testLine(), PhaseRotation::Abc);
        QCOMPARE(faultTypeLetters(withoutVoltages.type), QStringLiteral("ABG"));
        QVERIFY(std::fabs(*withoutVoltages.inceptionMs - options.inceptionMs) <= 1.0);
        QVERIFY(!withoutVoltages.loopImpedance && !withoutVoltages.reactance);
        QVERIFY(withoutVoltages.atWindow.currentSequence && !withoutVoltages.atWindow.voltageSequence);
    }

    // The report of a whole recording as JSON: the set the finder finds, on the
    // file's own factors, in volts and amperes although the file holds kV (and
    // secondary values with their ratio), angles from UA; nulls where nothing
    // can be told, distances only with a line.
    void recordingReportAsJson_data()
    {
        QTest::addColumn<LineEvent>("event");
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<bool>("secondary");
        QTest::addColumn<bool>("withLine");
        QTest::addColumn<bool>("currentsOnly");
        QTest::newRow("BG through 10 ohm, line") << LineEvent::Fault << FaultKind::BG << false << true << false;
        QTest::newRow("ABC, secondary, Cyrillic, line") << LineEvent::Fault << FaultKind::ABC << true << true << false;
        QTest::newRow("CA, no line") << LineEvent::Fault << FaultKind::CA << false << false << false;
        QTest::newRow("AG, currents only, line") << LineEvent::Fault << FaultKind::AG << false << true << true;
        QTest::newRow("healthy") << LineEvent::LoadOnly << FaultKind::AG << false << true << false;
    }
    void recordingReportAsJson()
    {
        QFETCH(LineEvent, event);
        QFETCH(FaultKind, kind);
        QFETCH(bool, secondary);
        QFETCH(bool, withLine);
        QFETCH(bool, currentsOnly);
        LumetoTools::LineFaultOptions options = LumetoTest::testFault(kind, 0.4, 10.0, 10.0, true, 2000, secondary);
        options.event = event;
        QTemporaryDir dir;
        Recording recording;
        QCOMPARE(LumetoTest::loadLineFault(dir, QStringLiteral("line"), options, {secondary ? 2013 : 1999,
                                           LumetoTools::DataFormat::Binary}, recording),
                 loadSuccessMessage());
        if (currentsOnly) {
            for (int c = 0; c < 3; ++c)
                recording.analogChannels[c].unit = QStringLiteral("%");
        }
        const LineData line = withLine ? LumetoTest::testLine() : LineData();
        const QJsonObject original = recordingReportJson(QStringLiteral("dir/line.cfg"), recording,
                                                         recordingFaultReports(recording, line), line);
        // Valid JSON that reads back the same (a NaN would not).
        const QJsonObject json = QJsonDocument::fromJson(QJsonDocument(original).toJson()).object();
        QCOMPARE(json, original);
        QCOMPARE(json[QStringLiteral("file")].toString(), QStringLiteral("dir/line.cfg"));
        QVERIFY(!json.contains(QStringLiteral("error")));
        const QJsonArray feeders = json[QStringLiteral("feeders")].toArray();
        QCOMPARE(feeders.size(), 1);
        const QJsonObject feeder = feeders[0].toObject();
        const QJsonObject channels = feeder[QStringLiteral("channels")].toObject();
        QCOMPARE(channels[QStringLiteral("IB")].toString(), secondary ? QStringLiteral("I фазы В") : QStringLiteral("IB"));
        QCOMPARE(channels[QStringLiteral("IN")].toString(), QStringLiteral("3I0"));
        QVERIFY(currentsOnly ? channels[QStringLiteral("UA")].isNull() : channels[QStringLiteral("UA")].isString());
        if (event != LineEvent::Fault) {
            QCOMPARE(feeder[QStringLiteral("event")].toString(), QStringLiteral("steady"));
            QVERIFY(feeder.contains(QStringLiteral("fault")) && feeder[QStringLiteral("fault")].isNull());
            return;
        }
        const QJsonObject fault = feeder[QStringLiteral("fault")].toObject();
        QCOMPARE(fault[QStringLiteral("type")].toString(), QString::fromLatin1(kindNames[int(kind)]));
        QVERIFY(std::fabs(fault[QStringLiteral("inception_ms")].toDouble() - options.inceptionMs) <= 1.0);
        QVERIFY(std::fabs(fault[QStringLiteral("clearing_ms")].toDouble() - *options.clearingMs) <= 2.0);
        const QJsonArray window = fault[QStringLiteral("window_ms")].toArray();
        QVERIFY(window.size() == 2 && window[0].toDouble() > options.inceptionMs
                && window[1].toDouble() - window[0].toDouble() == 19.5 && window[1].toDouble() < *options.clearingMs);
        QCOMPARE(fault[QStringLiteral("loop")].toString(),
                 QString::fromLatin1(kindNames[LumetoTest::faultedLoopIndex(kind)]));

        const LumetoTools::LineFaultSolution model = LumetoTools::solveLineFault(options.system, options.fault);
        const LumetoTest::ClosedFormDistances closed = LumetoTest::closedFormDistances(model, kind, LumetoTest::testLine());
        const CutAnalysis cut = cutOfJson(fault);
        const QJsonArray impedance = fault[QStringLiteral("impedance_ohm")].toArray();
        const QJsonObject distances = fault[QStringLiteral("distance_km")].toObject();
        if (currentsOnly) {
            QCOMPARE(fault[QStringLiteral("angle_reference")].toString(), QStringLiteral("IA"));
            QVERIFY(!cut.voltages[0] && !cut.voltageSequence && fault[QStringLiteral("impedance_ohm")].isNull());
            QVERIFY(std::fabs(std::arg(*cut.currents[0])) < 1e-9);
            QVERIFY(distances[QStringLiteral("reactance")].isNull() && distances[QStringLiteral("takagi")].isNull());
            return;
        }
        QCOMPARE(fault[QStringLiteral("angle_reference")].toString(), QStringLiteral("UA"));
        const QString mismatch = LumetoTest::cutMismatch(cut, model.fault, options.system.emf);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        // Primary ohms, k0 from the line where there is one: its reactance is the
        // reactance method's distance on the line.
        const double lineX = LumetoTest::testLine().z1().imag();
        if (withLine)
            QVERIFY2(std::fabs(impedance[1].toDouble() - closed.reactance * lineX) <= 0.01 * lineX,
                     qPrintable(QString::number(impedance[1].toDouble())));
        QCOMPARE(fault[QStringLiteral("k0")].isNull(), !withLine);
        QCOMPARE(fault.contains(QStringLiteral("distance_km")), withLine);
        QCOMPARE(fault.contains(QStringLiteral("distance_percent")), withLine);
        if (!withLine)
            return;
        const double length = LumetoTest::testLine().lengthKm;
        QVERIFY(std::fabs(distances[QStringLiteral("reactance")].toDouble() - closed.reactance * length) <= 0.01 * length);
        QVERIFY(std::fabs(distances[QStringLiteral("takagi")].toDouble() - closed.takagi * length) <= 0.01 * length);
        QVERIFY(distances.contains(QStringLiteral("negative_sequence")));
        if (closed.negativeSequence)
            QVERIFY(std::fabs(distances[QStringLiteral("negative_sequence")].toDouble()
                              - *closed.negativeSequence * length) <= 0.01 * length);
        else
            QVERIFY(distances[QStringLiteral("negative_sequence")].isNull());
    }
};

QTEST_GUILESS_MAIN(TestFaultReport)
#include "test_faultreport.moc"
