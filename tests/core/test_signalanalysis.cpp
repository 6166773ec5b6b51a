#include "analysis/signalanalysis.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace VornaLumeto;

namespace {

const double pi = std::acos(-1.0);

// rms * sqrt(2) * sin(2 pi f k / rate + phase) for k = 0 ... count - 1.
QVector<double> sine(double rms, double frequency, int rate, double phaseDegrees, int count)
{
    QVector<double> values(count);
    for (int k = 0; k < count; ++k)
        values[k] = rms * std::sqrt(2.0) * std::sin(2 * pi * frequency * k / rate + phaseDegrees * pi / 180);
    return values;
}

QVector<double> added(QVector<double> a, const QVector<double>& b)
{
    for (int k = 0; k < a.size(); ++k)
        a[k] += b[k];
    return a;
}

} // namespace

class TestSignalAnalysis : public QObject {
    Q_OBJECT

private slots:
    void periodsTruncateAndRound_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("lineFrequency");
        QTest::addColumn<int>("whole");
        QTest::addColumn<int>("nearest");
        QTest::addColumn<bool>("usable");
        QTest::newRow("1 kHz on 50 Hz") << 1000 << 50 << 20 << 20 << true;
        QTest::newRow("1 kHz on 60 Hz") << 1000 << 60 << 16 << 17 << true;
        QTest::newRow("exact half goes up") << 75 << 50 << 1 << 2 << true;
        QTest::newRow("twice the line") << 100 << 50 << 2 << 2 << true;
        QTest::newRow("line frequency 0") << 1000 << 0 << 0 << 0 << false;
        QTest::newRow("negative line frequency") << 1000 << -50 << 0 << 0 << false;
        QTest::newRow("rate 0") << 0 << 50 << 0 << 0 << false;
        QTest::newRow("rate below line, rounds to 1") << 40 << 50 << 0 << 1 << false;
        QTest::newRow("rate below half the line") << 20 << 50 << 0 << 0 << false;
    }
    void periodsTruncateAndRound()
    {
        QFETCH(int, rate);
        QFETCH(int, lineFrequency);
        const AnalysisPeriods periods = analysisPeriods(rate, lineFrequency);
        QTEST(periods.whole, "whole");
        QTEST(periods.nearest, "nearest");
        QTEST(periods.usable(), "usable");
    }

    void sineOfRms100GivesRmsAndAngle_data()
    {
        QTest::addColumn<double>("phase");
        QTest::addColumn<double>("sign");
        QTest::addColumn<double>("angle");
        QTest::newRow("rising zero crossing") << 0.0 << 1.0 << 0.0;
        QTest::newRow("shifted +30 degrees") << 30.0 << 1.0 << 30.0;
        QTest::newRow("cosine") << 90.0 << 1.0 << 90.0;
        QTest::newRow("negated sine") << 0.0 << -1.0 << 180.0;
    }
    void sineOfRms100GivesRmsAndAngle()
    {
        QFETCH(double, phase);
        QFETCH(double, sign);
        QFETCH(double, angle);
        QVector<double> values = sine(100, 50, 1000, phase, 60);
        for (double& value : values)
            value *= sign;
        // The window of the cut at sample 39 starts at 20, again a whole period from 0.
        const Phasor phasor = computePhasor(values, {1.0, 0.0}, {20, 20}, 1);
        QVERIFY(std::abs(phasor.rms - 100.0) < 1e-6);
        QVERIFY(std::abs(phasor.amplitude - 100.0 * std::sqrt(2.0)) < 1e-6);
        QVERIFY2(std::abs(phasor.angle - angle) < 1e-6, qPrintable(QString::number(phasor.angle)));
        QVERIFY(std::abs(computeWindowRms(values, {1.0, 0.0}, {19, 20}) - 100.0) < 1e-9);
    }

    void angleFollowsTheWindowStart()
    {
        // One sample later on a 50 Hz line at 1 kHz is 18 degrees later in phase.
        const QVector<double> values = sine(100, 50, 1000, 0, 40);
        QVERIFY(std::abs(computePhasor(values, {1.0, 0.0}, {1, 20}, 1).angle - 18.0) < 1e-6);
    }

    void multiplierAndOffsetApplyToEverySample()
    {
        QVector<double> raw = sine(1000, 50, 1000, 0, 20);
        const Phasor phasor = computePhasor(raw, {0.1, 0.0}, {0, 20}, 1);
        QVERIFY(std::abs(phasor.rms - 100.0) < 1e-6);
        // Raw 10 scaled by 0.5 is 5, an offset of 3 makes it 8.
        raw.fill(10.0);
        QVERIFY(std::abs(computeWindowRms(raw, {0.5, 3.0}, {0, 20}) - 8.0) < 1e-12);
    }

    void sixtyHertzAveragesOverSixteenAndSeventeen()
    {
        const AnalysisPeriods periods = analysisPeriods(1000, 60);
        // At cut 16 the fundamental's 17 samples start at 0, the true RMS's 16 at 1.
        const CutWindows windows = cutWindows(periods, 16);
        QCOMPARE(windows.nearest.first, 0);
        QCOMPARE(windows.whole.first, 1);
        QVERIFY(windows.nearest.recorded());
        QVERIFY(!cutWindows(periods, 15).nearest.recorded());
        QVERIFY(cutWindows(periods, 15).whole.recorded());
        QVERIFY(!cutWindows(analysisPeriods(1000, 0), 500).whole.recorded());
        // 16 samples of 3 followed by one of 300: the true RMS window ends before the spike.
        QVector<double> raw(17, 3.0);
        raw[16] = 300.0;
        QCOMPARE(computeWindowRms(raw, {1.0, 0.0}, {0, periods.whole}), 3.0);
        const double rmsOverSeventeen = std::sqrt((16 * 9.0 + 90000.0) / 17);
        QVERIFY(std::abs(computeWindowRms(raw, {1.0, 0.0}, {0, periods.nearest}) - rmsOverSeventeen) < 1e-9);
        // A 60 Hz sine sampled over its nearest whole number of samples still gives about its RMS.
        const Phasor phasor = computePhasor(sine(100, 60, 1000, 0, 17), {1.0, 0.0}, {0, periods.nearest}, 1);
        QVERIFY(std::abs(phasor.rms - 100.0) < 5.0);
    }

    // 4 kHz for samples 0 ... 1199, then 1 kHz: periods of 80 and of 20 samples.
    void windowsCountPeriodsAtTheRateOfTheCutsStretch()
    {
        const QVector<SamplingStretch> stretches{{4000.0, 0, 1200}, {1000.0, 1200, 1600}};
        QCOMPARE(stretchHolding(stretches, 0), 0);
        QCOMPARE(stretchHolding(stretches, 1199), 0);
        QCOMPARE(stretchHolding(stretches, 1200), 1);
        QCOMPARE(stretchHolding(stretches, 5000), 1);

        const CutWindows fast = cutWindows(stretches, 50.0, 1199);
        QCOMPARE(fast.whole.first, 1120);
        QCOMPARE(fast.whole.count, 80);
        QVERIFY(!fast.whole.acrossRateChange);
        const CutWindows across = cutWindows(stretches, 50.0, 1210);
        QCOMPARE(across.whole.count, 20);
        QVERIFY(across.whole.acrossRateChange && across.nearest.acrossRateChange);
        QVERIFY(!cutWindows(stretches, 50.0, 1219).whole.acrossRateChange);
        QVERIFY(!cutWindows(stretches, 50.0, 10).whole.recorded());  // before a period, not across anything

        const QVector<double> values(1600, 1.0);
        QVERIFY(std::isnan(computeWindowRms(values, {1.0, 0.0}, across.whole)));
        QVERIFY(std::isnan(computePhasor(values, {1.0, 0.0}, across.nearest, 1).rms));
        const HarmonicMagnitudes harmonics = computeHarmonicMagnitudes(values, {1.0, 0.0}, across.whole, 3);
        QVERIFY(std::isnan(harmonics.magnitudes.at(0)));
        QCOMPARE(harmonics.maximum, 0.0);

        // At 200 samples/s a period has 4 samples: no numbers where 8 are asked for.
        const QVector<SamplingStretch> slow{{4000.0, 0, 1200}, {200.0, 1200, 1300}, {400.0, 1300, 1400}};
        const CutWindows short4 = cutWindows(slow, 50.0, 1250, minimumSamplesPerPeriod);
        QVERIFY(short4.whole.tooFewSamples && short4.nearest.tooFewSamples);
        QVERIFY(std::isnan(computeWindowRms(values, {1.0, 0.0}, short4.whole)));
        QVERIFY(std::isnan(computePhasor(values, {1.0, 0.0}, short4.nearest, 1).rms));
        QVERIFY(std::isnan(computeHarmonicMagnitudes(values, {1.0, 0.0}, short4.whole, 1).magnitudes.at(1)));
        QCOMPARE(computeWindowRms(values, {1.0, 0.0}, cutWindows(slow, 50.0, 1250).whole), 1.0);
        QVERIFY(cutWindows(slow, 50.0, 1350, minimumSamplesPerPeriod).whole.givesNumbers());  // 8 are enough

        // The exact line frequency of a later revision counts too: 1 kHz on 16.7 Hz.
        const AnalysisPeriods railway = analysisPeriods(1000.0, 16.7);
        QCOMPARE(railway.whole, 59);
        QCOMPARE(railway.nearest, 60);
        QVERIFY(!analysisPeriods(1e300, 1e-300).usable());
    }

    void missingValueMakesTheWindowsResultsNaN()
    {
        QVector<double> values = sine(100, 50, 1000, 0, 40);
        values[25] = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(std::isnan(computeWindowRms(values, {1.0, 0.0}, {20, 20})));
        QVERIFY(std::isnan(computePhasor(values, {1.0, 0.0}, {20, 20}, 1).angle));
        QVERIFY(std::abs(computeWindowRms(values, {1.0, 0.0}, {0, 20}) - 100.0) < 1e-9);
    }

    void twoSamplePeriodGivesNearZeroRms()
    {
        const Phasor phasor = computePhasor({100.0, -100.0}, {1.0, 0.0}, {0, 2}, 1);
        QVERIFY(phasor.amplitude > 100.0);
        QVERIFY(phasor.rms < 1e-6);
        QCOMPARE(computePhasor({100.0}, {1.0, 0.0}, {0, 1}, 1).rms, 0.0);
    }

    void constantSignalIsAllDirectCurrent_data()
    {
        QTest::addColumn<double>("raw");
        QTest::addColumn<double>("offset");
        QTest::newRow("+5") << 5.0 << 0.0;
        QTest::newRow("-5") << -5.0 << 0.0;
        QTest::newRow("offset -5") << 0.0 << -5.0;
    }
    void constantSignalIsAllDirectCurrent()
    {
        QFETCH(double, raw);
        QFETCH(double, offset);
        const HarmonicMagnitudes result = computeHarmonicMagnitudes(QVector<double>(40, raw), {1.0, offset}, {7, 20}, 10);
        QCOMPARE(result.magnitudes.size(), 11);
        QVERIFY(std::abs(result.magnitudes[0] - 5.0) < 1e-9);
        for (int h = 1; h <= 10; ++h)
            QVERIFY2(result.magnitudes[h] < 1e-6, qPrintable(QString::number(h)));
        QVERIFY(std::abs(result.maximum - 5.0) < 1e-9);
    }

    void harmonicsOfAMixtureAtAnyWindowStart()
    {
        const QVector<double> values = added(sine(100, 50, 1000, 10, 60), sine(20, 150, 1000, 0, 60));
        for (int first : {0, 7, 40}) {
            const HarmonicMagnitudes result = computeHarmonicMagnitudes(values, {1.0, 0.0}, {first, 20}, 5);
            QVERIFY(std::abs(result.magnitudes[1] - 100.0) < 1e-6);
            QVERIFY(std::abs(result.magnitudes[3] - 20.0) < 1e-6);
            QVERIFY(result.magnitudes[0] < 1e-6 && result.magnitudes[2] < 1e-6);
            QVERIFY(std::abs(result.maximum - 100.0) < 1e-6);
        }
    }

    void nanNeverBecomesTheMaximum()
    {
        QVector<double> values = sine(100, 50, 1000, 0, 20);
        values[3] = std::numeric_limits<double>::quiet_NaN();
        const HarmonicMagnitudes result = computeHarmonicMagnitudes(values, {1.0, 0.0}, {0, 20}, 3);
        QCOMPARE(result.magnitudes.size(), 4);
        QVERIFY(std::isnan(result.magnitudes[1]));
        QCOMPARE(result.maximum, 0.0);
    }

    void windowsOutsideTheRecordingGiveZero_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("inside");
        QTest::newRow("ends at the last sample") << 10 << 20 << true;
        QTest::newRow("starts at sample 0") << 0 << 20 << true;
        QTest::newRow("starts before sample 0") << -1 << 20 << false;
        QTest::newRow("runs past the end") << 11 << 20 << false;
        QTest::newRow("starts past the end") << 30 << 1 << false;
        QTest::newRow("count 0") << 0 << 0 << false;
        QTest::newRow("negative count") << 5 << -3 << false;
        QTest::newRow("huge count") << 1 << std::numeric_limits<int>::max() << false;
        QTest::newRow("most negative start") << std::numeric_limits<int>::min() << 20 << false;
    }
    void windowsOutsideTheRecordingGiveZero()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(bool, inside);
        const QVector<double> values = sine(100, 50, 1000, 0, 30);
        const Phasor phasor = computePhasor(values, {1.0, 0.0}, {first, count}, 1);
        const double rms = computeWindowRms(values, {1.0, 0.0}, {first, count});
        const HarmonicMagnitudes harmonics = computeHarmonicMagnitudes(values, {1.0, 0.0}, {first, count}, 4);
        QCOMPARE(harmonics.magnitudes.size(), 5);
        if (inside) {
            QVERIFY(std::abs(phasor.rms - 100.0) < 1e-6);
            QVERIFY(std::abs(rms - 100.0) < 1e-9);
            QVERIFY(std::abs(harmonics.maximum - 100.0) < 1e-6);
            return;
        }
        QCOMPARE(phasor.cosCoefficient, 0.0);
        QCOMPARE(phasor.sinCoefficient, 0.0);
        QCOMPARE(phasor.amplitude, 0.0);
        QCOMPARE(phasor.rms, 0.0);
        QCOMPARE(phasor.angle, 0.0);
        QCOMPARE(rms, 0.0);
        QCOMPARE(harmonics.magnitudes, QVector<double>(5, 0.0));
        QCOMPARE(harmonics.maximum, 0.0);
    }

    void negativeHighestHarmonicGivesNoMagnitudes()
    {
        const HarmonicMagnitudes result = computeHarmonicMagnitudes(QVector<double>(20, 5.0), {1.0, 0.0}, {0, 20}, -1);
        QVERIFY(result.magnitudes.isEmpty());
        QCOMPARE(result.maximum, 0.0);
    }
};

QTEST_APPLESS_MAIN(TestSignalAnalysis)
#include "test_signalanalysis.moc"
