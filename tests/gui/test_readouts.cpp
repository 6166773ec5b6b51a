#include "support/diagramrecordings.h"
#include "support/gui/recordingview.h"
#include "support/standardrecordings.h"
#include "view/comtraderead.h"
#include "view/cutrules.h"

#include "app/resourcesinit.h"
#include "comtrade/dialect/dialectreader.h"

#include <QLabel>
#include <QStandardItemModel>
#include <QtTest>
#include <qcustomplot.h>

#include <memory>

using namespace LumetoTest;
using VornaLumeto::COMTRADE_read;

namespace {

// Channel 0: a 50 Hz sine of RMS 100 A starting at a rising zero crossing.
TestRecording sineRecording(int rate, int lineFrequency, int samples)
{
    TestRecording recording;
    recording.rate = rate;
    recording.lineFrequency = lineFrequency;
    recording.analog.append({"Ia", "A", 0.001, sineSamples(100, 0, 50, rate, samples, 0.001)});
    return recording;
}

QString labelText(const COMTRADE_read& view, int channel, int offset)
{
    return view.channelLabels[10 * channel + offset]->text();
}

double labelValue(const COMTRADE_read& view, int channel, int offset)
{
    return labelText(view, channel, offset).toDouble();
}

void moveCut1(COMTRADE_read& view, int index)
{
    view.placeCut(1, view.timeAxis[index]);
    view.updateReadouts();
    view.updateCutTimes();
}

QString vectorCell(const COMTRADE_read& view, int column)
{
    return view.vectorModel->index(0, column).data().toString();
}

// Both ends outside the -1 ... 1 square.
bool vectorHidden(const COMTRADE_read& view)
{
    return view.vectorCurves[0]->data()->at(1)->value == 2.0;
}

void verifyNear(const QString& text, double expected)
{
    QVERIFY2(qAbs(text.toDouble() - expected) < 0.5, qPrintable(text));
}

} // namespace

class TestReadouts : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int files = 0;

    std::unique_ptr<COMTRADE_read> load(const TestRecording& recording)
    {
        return openRecordingView(dir, QStringLiteral("rd%1").arg(files++), recording);
    }

    void verifyChannelZeroed(const COMTRADE_read& view)
    {
        QCOMPARE(labelText(view, 0, 4), QStringLiteral("0"));
        QCOMPARE(labelText(view, 0, 5), QStringLiteral("A"));
        QCOMPARE(labelText(view, 0, 7), QStringLiteral("0"));
        QCOMPARE(view.phasors[0].rms, 0.0);
        QCOMPARE(view.phasors[0].angle, 0.0);
    }

private slots:
    void initTestCase() { VornaLumeto::initResources(); }

    void unitPrefixRules_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("shownValue");
        QTest::addColumn<QString>("shownUnit");
        QTest::newRow("percent untouched") << 0.25 << "%" << 0.25 << "%";
        QTest::newRow("large percent untouched") << 12345.0 << "%" << 12345.0 << "%";
        QTest::newRow("0.5 kV") << 0.5 << "kV" << 500.0 << "V";
        QTest::newRow("0 kV") << 0.0 << "kV" << 0.0 << "V";
        QTest::newRow("5 kV stays") << 5.0 << "kV" << 5.0 << "kV";
        QTest::newRow("0 mA") << 0.0 << "mA" << 0.0 << "A";
        QTest::newRow("1500 mA") << -1500.0 << "mA" << -1.5 << "A";
        QTest::newRow("0.5 mA stays") << 0.5 << "mA" << 0.5 << "mA";
        QTest::newRow("0.25 V") << 0.25 << "V" << 250.0 << "mV";
        QTest::newRow("a million V") << 1e6 << "V" << 1000.0 << "kV";
        QTest::newRow("0 V") << 0.0 << "V" << 0.0 << "V";
        QTest::newRow("999 V") << 999.0 << "V" << 999.0 << "V";
        QTest::newRow("empty unit") << 1500.0 << "" << 1.5 << "k";
        QTest::newRow("Cyrillic unit") << 0.5 << "Гц" << 500.0 << "mГц";
        QTest::newRow("Cyrillic kilo prefix: no mкВ") << -0.0427 << "кВ" << -42.7 << "В";
        QTest::newRow("Cyrillic kilo prefix stays") << 110.0 << "кВ" << 110.0 << "кВ";
        QTest::newRow("Cyrillic milli prefix") << 2500.0 << "мА" << 2.5 << "А";
    }

    void unitPrefixRules()
    {
        QFETCH(double, value);
        QFETCH(QString, unit);
        QFETCH(double, shownValue);
        QFETCH(QString, shownUnit);
        const VornaLumeto::PrefixedValue shown = VornaLumeto::withUnitPrefix(value, unit);
        QCOMPARE(shown.value, shownValue);
        QCOMPARE(shown.unit, shownUnit);
    }

    void valueLabelsShowSixSignificantDigits()
    {
        QLabel value;
        QLabel unit;
        COMTRADE_read::showValueWithPrefix(123.4567891, "V", &value, &unit);
        QCOMPARE(value.text(), QStringLiteral("123.457"));
        QCOMPARE(unit.text(), QStringLiteral("V"));
        COMTRADE_read::showValueWithPrefix(-0.0025, "A", &value, &unit);
        QCOMPARE(value.text(), QStringLiteral("-2.5"));
        QCOMPARE(unit.text(), QStringLiteral("mA"));
    }

    void rmsNeedsOnePeriodBeforeTheCut()
    {
        auto view = load(sineRecording(1000, 50, 200));
        moveCut1(*view, 18);
        verifyChannelZeroed(*view);
        QVERIFY(!view->diagramWindowReady());

        moveCut1(*view, 19);
        QVERIFY(view->diagramWindowReady());
        QVERIFY(qAbs(labelValue(*view, 0, 4) - 100) < 0.01);
        QVERIFY(qAbs(labelValue(*view, 0, 7) - 100) < 0.01);
        QVERIFY(qAbs(view->phasors[0].angle) < 0.01);  // the window starts at a rising zero crossing
        const double instant = view->analogValues[0][19] * 0.001;
        QCOMPARE(labelText(*view, 0, 1), QString::number(instant, 'g', 6));
        QCOMPARE(labelText(*view, 0, 2), QStringLiteral("A"));

        // Back before a whole period: zero again, not the last values.
        moveCut1(*view, 3);
        verifyChannelZeroed(*view);
    }

    void channelsUseTheNearestPeriodAndDiagramsTheWholeOne()
    {
        // 1 kHz on a 60 Hz line: P = 16, Q = 17.
        auto view = load(sineRecording(1000, 60, 200));
        moveCut1(*view, 14);
        QVERIFY(!view->diagramWindowReady());
        moveCut1(*view, 15);
        verifyChannelZeroed(*view);
        QVERIFY(view->diagramWindowReady());
        moveCut1(*view, 16);
        QVERIFY(labelValue(*view, 0, 4) > 50);
        QVERIFY(view->phasors[0].rms > 50);
    }

    void unusablePeriodsMeanTooLittleDataEverywhere_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("lineFrequency");
        QTest::newRow("line frequency 0") << 1000 << 0;
        QTest::newRow("rate below half the line frequency") << 20 << 50;
    }

    void unusablePeriodsMeanTooLittleDataEverywhere()
    {
        QFETCH(int, rate);
        QFETCH(int, lineFrequency);
        auto view = load(sineRecording(rate, lineFrequency, 100));
        view->showVectorDiagram();
        view->showFrequencyDiagram();
        for (int cut : {0, 50, 99}) {
            moveCut1(*view, cut);
            verifyChannelZeroed(*view);
            QVERIFY(!view->diagramWindowReady());
        }
    }

    void frequencyDisplayReplacesTheReadouts()
    {
        auto view = load(sineRecording(1000, 50, 200));
        moveCut1(*view, 40);
        const QString rms = labelText(*view, 0, 4);
        view->frequencyShown[0] = 1;
        view->updateReadouts();
        view->updateReadouts();
        QCOMPARE(labelText(*view, 0, 0), QStringLiteral("Ia f"));
        QCOMPARE(labelText(*view, 0, 1), QString::number(view->channelFrequency[0][40], 'g', 6));
        QCOMPARE(labelText(*view, 0, 2), QStringLiteral("Гц"));
        for (int offset : {4, 5, 7, 8})
            QVERIFY(labelText(*view, 0, offset).isEmpty());

        view->frequencyShown[0] = 0;
        view->updateReadouts();
        QCOMPARE(labelText(*view, 0, 0), QStringLiteral("Ia"));
        QCOMPARE(labelText(*view, 0, 4), rms);
        QCOMPARE(labelText(*view, 0, 2), QStringLiteral("A"));
    }

    void phasorFollowsTheCutWhileTheFrequencyIsShown()
    {
        auto view = load(sineRecording(1000, 50, 200));
        moveCut1(*view, 40);
        view->frequencyShown[0] = 1;
        moveCut1(*view, 45);
        // The phasor of the 20 samples ending at the new cut, not the one of sample 40.
        const VornaLumeto::Phasor expected =
            VornaLumeto::computePhasor(view->analogValues[0], {0.001, 0.0}, {26, 20}, 1);
        QCOMPARE(view->phasors[0].angle, expected.angle);
        QCOMPARE(view->phasors[0].rms, expected.rms);
        QCOMPARE(labelText(*view, 0, 2), QStringLiteral("Гц"));
        // Before a whole period the same zero rule as for a waveform.
        moveCut1(*view, 10);
        QCOMPARE(view->phasors[0].rms, 0.0);
        QCOMPARE(view->phasors[0].angle, 0.0);
    }

    void ownNameEndingInFKeepsIt()
    {
        TestRecording recording = sineRecording(1000, 50, 200);
        recording.analog.first().id = QStringLiteral("Ia f");
        recording.analog.append({"Ib", "A", 0.001, sineSamples(100, 0, 50, 1000, 200, 0.001)});
        auto view = load(recording);
        moveCut1(*view, 40);
        QCOMPARE(labelText(*view, 0, 0), QStringLiteral("Ia f"));
        view->frequencyShown[0] = 1;
        view->frequencyShown[1] = 1;
        view->updateReadouts();
        QCOMPARE(labelText(*view, 0, 0), QStringLiteral("Ia f"));
        QCOMPARE(labelText(*view, 1, 0), QStringLiteral("Ib f"));
        view->frequencyShown[0] = 0;
        view->frequencyShown[1] = 0;
        view->updateReadouts();
        QCOMPARE(labelText(*view, 0, 0), QStringLiteral("Ia f"));
        QCOMPARE(labelText(*view, 1, 0), QStringLiteral("Ib"));
    }

    // A 50 Hz sine of 100 kV at 4 kHz, then at 1 kHz: at each cut the periods are
    // those of its own rate, and a window that takes in the change reads "-".
    void twoRateRecordingCountsPeriodsAtTheRateOfTheCut()
    {
        const QString path = writeStandardRecording(dir, QStringLiteral("tworate"), sineAtRates({{4000, 1200}, {1000, 400}}, 100));
        auto view = openStandardView(path);
        view->showVectorDiagram();
        view->showFrequencyDiagram();
        view->vectorChannelActions[0]->trigger();
        view->harmonicCount = 40;  // 4 kHz resolves 40 harmonics, 1 kHz only 10

        for (int cut : {1000, 1250}) {
            moveCut1(*view, cut);
            verifyNear(labelText(*view, 0, 4), 100);
            QCOMPARE(labelText(*view, 0, 5), QStringLiteral("kV"));
            verifyNear(labelText(*view, 0, 7), 100);  // the fundamental of one period, not of four
            verifyNear(vectorCell(*view, 2), 100);
            QVERIFY(!vectorHidden(*view));
            verifyNear(view->harmonicLabels[1]->text(), 100);
        }
        QCOMPARE(view->analysisWindows().whole.count, 20);
        QCOMPARE(view->frequencyPlot->xAxis->range().upper, 10.5);

        moveCut1(*view, 1210);  // the period 1191 ... 1210 starts at 4 kHz
        QVERIFY(labelText(*view, 0, 1) != QStringLiteral("-"));
        for (int offset : {4, 7})
            QCOMPARE(labelText(*view, 0, offset), QStringLiteral("-"));
        QVERIFY(labelText(*view, 0, 5).isEmpty());
        QCOMPARE(vectorCell(*view, 1), QStringLiteral("-"));
        QCOMPARE(vectorCell(*view, 2), QStringLiteral("-"));
        QVERIFY(vectorHidden(*view));
        QCOMPARE(view->harmonicLabels[1]->text(), QStringLiteral("-"));
        QVERIFY(view->harmonicBars->data()->isEmpty());
    }

    // A 50 samples/s stretch of a standard recording has one sample a period: its
    // RMS once equalled the absolute instantaneous value. Every readout over a
    // period of fewer than eight samples now reads "-", as across a change of
    // rate; the viewer's own layout keeps computing over any period.
    void periodOfFewerThanEightSamplesReadsDash()
    {
        const QString path = writeStandardRecording(dir, QStringLiteral("slowstretch"), sineAtRates({{1000, 400}, {50, 60}}, 100));
        auto view = openStandardView(path);
        view->showVectorDiagram();
        view->showFrequencyDiagram();
        view->vectorChannelActions[0]->trigger();
        moveCut1(*view, 300);
        verifyNear(labelText(*view, 0, 4), 100);
        moveCut1(*view, 440);
        QVERIFY(labelText(*view, 0, 1) != QStringLiteral("-"));
        for (int offset : {4, 7})
            QCOMPARE(labelText(*view, 0, offset), QStringLiteral("-"));
        QCOMPARE(vectorCell(*view, 2), QStringLiteral("-"));
        QCOMPARE(view->harmonicLabels[0]->text(), QStringLiteral("-"));  // one sample a period resolves no other

        auto early = load(sineRecording(200, 50, 100));  // four samples a period
        moveCut1(*early, 50);
        verifyNear(labelText(*early, 0, 4), 100);
    }

    void missingValueReadsDashAndIsAGapInTheTrace()
    {
        LumetoTools::GeneratedRecording recording = sineAtRates({{1000, 200}}, 100);
        recording.analog[0].raw[50] = missingBinaryValue;
        auto view = openStandardView(writeStandardRecording(dir, QStringLiteral("missing"), recording));
        QVERIFY(std::isnan(view->waveGraphs[0]->data()->at(50)->value));

        moveCut1(*view, 50);
        for (int offset : {1, 4, 7})
            QCOMPARE(labelText(*view, 0, offset), QStringLiteral("-"));
        moveCut1(*view, 69);  // its period 50 ... 69 holds the gap
        QVERIFY(labelText(*view, 0, 1) != QStringLiteral("-"));
        QCOMPARE(labelText(*view, 0, 4), QStringLiteral("-"));
        moveCut1(*view, 70);
        verifyNear(labelText(*view, 0, 4), 100);
        verifyNear(labelText(*view, 0, 7), 100);
    }

    void cutBarShowsFileTimesAndANonNegativeDifference()
    {
        // 2 kHz: stamps 0, 500, 1000, ... us are rounded to 0, 1, 1, 2, 2, ... ms in the file
        // times, while the corrected axis spreads them 0.5 ms apart.
        auto view = load(sineRecording(2000, 50, 100));
        QCOMPARE(view->rawTimeAxis[3], 2.0);
        QVERIFY(view->timeAxis[3] != view->rawTimeAxis[3]);

        moveCut1(*view, 3);
        view->placeCut(2, view->timeAxis[8]);
        view->updateCutTimes();
        QCOMPARE(view->cut1TimeLabel->text(), QStringLiteral("2"));
        QCOMPARE(view->cut2TimeLabel->text(), QString::number(view->rawTimeAxis[8]));
        QCOMPARE(view->cutDifferenceLabel->text(), QString::number(view->rawTimeAxis[8] - 2));

        moveCut1(*view, 20);
        QCOMPARE(view->cutDifferenceLabel->text(), QString::number(view->rawTimeAxis[20] - view->rawTimeAxis[8]));

        moveCut1(*view, 8);
        QCOMPARE(view->cutDifferenceLabel->text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestReadouts)
#include "test_readouts.moc"
