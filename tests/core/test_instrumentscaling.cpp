// Primary values of a set's channels from the recording's factors or the ratios the user enters,
// and their secondary values.
#include "analysis/instrumentscaling.h"
#include "analysis/primarysignals.h"

#include <QtTest>

using VornaLumeto::PhaseRole;
using VornaLumeto::ValueSide;

namespace {

// Channel 0 a current of multiplier 2 and offset 1 (raw 10 reads 21) with the factors given;
// channel 1 a voltage without factors.
VornaLumeto::Recording recordingWithFactors(const QString& side, double primary, double secondary)
{
    VornaLumeto::Recording recording;
    VornaLumeto::AnalogChannel current;
    current.id = QStringLiteral("IA");
    current.unit = QStringLiteral("A");
    current.multiplier = 2.0;
    current.offsetAdder = 1.0;
    VornaLumeto::AnalogChannel voltage = current;
    voltage.id = QStringLiteral("UA");
    voltage.unit = QStringLiteral("V");
    recording.analogChannels = {current, voltage};
    recording.standard.fromStandardReader = true;
    recording.standard.analogScaling = {VornaLumeto::AnalogScaling{primary, secondary, side},
                                        VornaLumeto::AnalogScaling{}};
    return recording;
}

double primaryOf(const VornaLumeto::RoleScaling& scaling, double raw)
{
    return scaling.primary.multiplier * raw + scaling.primary.offsetAdder;
}

} // namespace

class TestInstrumentScaling : public QObject {
    Q_OBJECT

private slots:
    void primaryValues_data()
    {
        QTest::addColumn<QString>("side");
        QTest::addColumn<double>("filePrimary");
        QTest::addColumn<double>("fileSecondary");
        QTest::addColumn<int>("recorded");  // ValueSide the user says for channels without factors
        QTest::addColumn<double>("primaryOf10");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<bool>("fromRecording");
        // The CT the user enters is 600/5 in every row.
        QTest::newRow("S channel: secondary times the file's ratio") << "S" << 125.0 << 5.0 << 0 << 525.0 << 25.0 << true;
        QTest::newRow("s in lower case") << "s" << 125.0 << 5.0 << 0 << 525.0 << 25.0 << true;
        QTest::newRow("P channel: as recorded, ratio for secondary") << "P" << 120.0 << 1.0 << 1 << 21.0 << 120.0 << true;
        QTest::newRow("1:1 states none: the user's secondary") << "S" << 1.0 << 1.0 << 1 << 2520.0 << 120.0 << false;
        QTest::newRow("no P/S states none: the user's primary") << "" << 125.0 << 5.0 << 0 << 21.0 << 120.0 << false;
    }
    void primaryValues()
    {
        QFETCH(QString, side);
        QFETCH(double, filePrimary);
        QFETCH(double, fileSecondary);
        QFETCH(int, recorded);
        QFETCH(double, primaryOf10);
        QFETCH(double, ratio);
        QFETCH(bool, fromRecording);
        VornaLumeto::ThreePhaseSetup setup;
        setup.set.assign(PhaseRole::IA, 0);
        setup.ratios.ctPrimary = 600.0;
        setup.ratios.ctSecondary = 5.0;
        setup.ratios.recorded = ValueSide(recorded);
        const VornaLumeto::SetScaling scaling =
            VornaLumeto::setScaling(recordingWithFactors(side, filePrimary, fileSecondary), setup);
        const VornaLumeto::RoleScaling& ia = scaling.of(PhaseRole::IA);
        QCOMPARE(primaryOf(ia, 10.0), primaryOf10);
        QCOMPARE(ia.ratio, ratio);
        QCOMPARE(ia.fromRecording, fromRecording);
        QCOMPARE(scaling.ctRatio(), ratio);
        QCOMPARE(VornaLumeto::secondaryValue(primaryOf(ia, 10.0), ia.ratio), primaryOf10 / ratio);
    }

    // A voltage without factors and without a VT ratio stands as recorded, ratio 1, whatever the user says.
    void withoutAnyRatioValuesStandAsRecorded()
    {
        VornaLumeto::ThreePhaseSetup setup;
        setup.set.assign(PhaseRole::UA, 1);
        setup.ratios.ctPrimary = 600.0;
        setup.ratios.ctSecondary = 5.0;
        setup.ratios.recorded = ValueSide::Secondary;
        const VornaLumeto::SetScaling scaling = VornaLumeto::setScaling(recordingWithFactors("S", 125.0, 5.0), setup);
        QCOMPARE(primaryOf(scaling.of(PhaseRole::UA), 10.0), 21.0);
        QVERIFY(!scaling.of(PhaseRole::UA).ratioKnown);
        QCOMPARE(scaling.vtRatio(), 1.0);
    }

    // The analysis works in volts and amperes, so that impedances come out in ohms:
    // the unit's prefix, in Latin or Cyrillic letters, joins the ratio.
    void primarySignalsInVoltsAndAmperes_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("multiplier");
        QTest::newRow("V") << "V" << 2.0;
        QTest::newRow("kV") << "kV" << 2000.0;
        QTest::newRow("KV") << "KV" << 2000.0;
        QTest::newRow("кВ") << "кВ" << 2000.0;
        QTest::newRow("mV") << "mV" << 0.002;
        QTest::newRow("мВ") << "мВ" << 0.002;
        QTest::newRow("MV") << "MV" << 2e6;
        QTest::newRow("kA under a voltage role") << "kA" << 2000.0;
        QTest::newRow("unit not volts or amperes") << "kW" << 2.0;
        QTest::newRow("no unit") << "" << 2.0;
    }
    void primarySignalsInVoltsAndAmperes()
    {
        QFETCH(QString, unit);
        QFETCH(double, multiplier);
        VornaLumeto::Recording recording = recordingWithFactors("S", 125.0, 5.0);
        recording.analogChannels[1].unit = unit;
        recording.analogValues = {QVector<double>{10.0}, QVector<double>{10.0}};
        VornaLumeto::ThreePhaseSetup setup;
        setup.set.assign(PhaseRole::UA, 1);
        const VornaLumeto::SetSignals signalsOfSet =
            VornaLumeto::primarySetSignals(recording, setup.set, VornaLumeto::setScaling(recording, setup));
        QCOMPARE(signalsOfSet.series(PhaseRole::UA), &recording.analogValues[1]);
        QCOMPARE(signalsOfSet.scaling(PhaseRole::UA).multiplier, multiplier);
        QCOMPARE(signalsOfSet.scaling(PhaseRole::UA).offsetAdder, multiplier / 2.0);
    }

    // 10 + j40 ohm primary through CT 600/5 and VT 110 kV / 100 V.
    void impedanceToSecondary()
    {
        const VornaLumeto::Complex secondary = VornaLumeto::secondaryImpedance({10.0, 40.0}, 120.0, 1100.0);
        QCOMPARE(secondary.real(), 10.0 * 120.0 / 1100.0);
        QCOMPARE(secondary.imag(), 40.0 * 120.0 / 1100.0);
    }
};

QTEST_GUILESS_MAIN(TestInstrumentScaling)
#include "test_instrumentscaling.moc"
