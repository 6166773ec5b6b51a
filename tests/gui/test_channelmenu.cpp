#include "comtrade/dialect/dialectreader.h"
#include "support/diagramrecordings.h"
#include "support/gui/recordingview.h"
#include "view/comtraderead.h"

#include <qcustomplot.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStackedWidget>
#include <QtTest>

#include <cmath>
#include <memory>

using VornaLumeto::COMTRADE_read;

namespace {

constexpr int analogTotal = 7;
constexpr int digitalTotal = 2;
constexpr int samples = 100;

QVector<double> graphValues(const QCPGraph* graph)
{
    QVector<double> values;
    for (auto point = graph->data()->constBegin(); point != graph->data()->constEnd(); ++point)
        values.append(point->value);
    return values;
}

QVector<double> curveValues(const QCPCurve* curve)
{
    QVector<double> values;
    for (auto point = curve->data()->constBegin(); point != curve->data()->constEnd(); ++point)
        values.append(point->value);
    return values;
}

QVector<double> shifted(const QVector<double>& values, double shift, double sign = 1.0)
{
    QVector<double> result;
    for (double value : values)
        result.append(sign * (value + shift));
    return result;
}

// Edges of the test's digital trace (10 samples per state, cleared first) in a
// row whose top is rowTop, one per sample.
QVector<double> traceEdges(double rowTop, double setOffset, double clearedOffset)
{
    QVector<double> edges;
    for (int j = 0; j < samples; ++j)
        edges.append(rowTop - ((j / 10) % 2 ? setOffset : clearedOffset));
    return edges;
}

QVector<double> mapped(const QVector<double>& raw, int row, double peak)
{
    QVector<double> result;
    COMTRADE_read::mapToBand(result, raw, row, peak, 0.9);
    return result;
}

// A 50 Hz sine whose largest sample is exactly peak (20 samples per period).
QVector<qint32> sineOfPeak(int peak)
{
    return LumetoTest::sineSamples(peak / std::sqrt(2.0), 0.0, 50.0, 1000, samples, 1.0);
}

bool allAboveZero(const QVector<double>& values)
{
    return std::all_of(values.cbegin(), values.cend(), [](double v) { return v > 0.0; });
}

QVector<bool> flagsWithHidden(std::initializer_list<int> hidden)
{
    QVector<bool> flags(analogTotal + digitalTotal, true);
    for (int channel : hidden)
        flags[channel] = false;
    return flags;
}

} // namespace

class TestChannelMenu : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path;

    std::unique_ptr<COMTRADE_read> loadView()
    {
        auto view = std::make_unique<COMTRADE_read>(nullptr);
        if (view->load(path) != VornaLumeto::loadSuccessMessage())
            return nullptr;
        return view;
    }

    static void openMenuOn(COMTRADE_read& view, int channel)
    {
        emit view.channelLabels.at(10 * channel)->customContextMenuRequested(QPoint(1, 1));
        view.channelMenu->hide();
    }

private slots:
    void initTestCase()
    {
        QVector<qint32> hertz = sineOfPeak(5);
        for (qint32& value : hertz)
            value += 5000;
        QVector<int> states(samples);
        for (int j = 0; j < samples; ++j)
            states[j] = (j / 10) % 2;
        LumetoTest::TestRecording recording;
        recording.analog = {{"U0", "kV", 1.0, sineOfPeak(10)},
                            {"U1", "kV", 1.0, sineOfPeak(20)},
                            {"U2", "kV", 1.0, sineOfPeak(40)},
                            {"P3", "%", 1.0, sineOfPeak(30)},
                            {"F4", "Гц", 1.0, hertz},
                            {"U5", "kV", 1.0, sineOfPeak(40)},
                            {"Z6", "kV", 1.0, LumetoTest::constantSamples(0, samples)}};
        recording.digital = {{"D0", states}, {"D1", states}};
        path = LumetoTest::writeAsciiRecording(dir, QStringLiteral("seven"), recording);
    }

    void hidingAnalogChannelPacksTheRestFromTheTop()
    {
        auto view = loadView();
        QVERIFY(view);
        QCOMPARE(view->verticalScrollBar->maximum(), 4 * analogTotal + digitalTotal - 24);
        view->slot_key_Right();
        QCOMPARE(view->cut1Index, 1);
        QCOMPARE(view->cutDifferenceLabel->text(), QStringLiteral("1"));

        const QVector<bool> flags = flagsWithHidden({0});
        view->applyDisplayedSignals(&flags);

        QCOMPARE(view->verticalScrollBar->maximum(), 4 * analogTotal + digitalTotal - 24 - 4);
        QCOMPARE(view->rowMap.size(), 4 * (analogTotal - 1) + digitalTotal);
        QCOMPARE(view->rowMap.mid(0, 4), QVector<quint16>({4, 5, 6, 7}));
        QCOMPARE(view->rowSlots.at(0)->currentWidget(), view->rowWidgets.at(4));
        QVERIFY(!view->analogChannels.at(0).shown);

        const QVector<double> channel1 = graphValues(view->waveGraphs.at(1));
        QCOMPARE(channel1, shifted(view->normalizedValues.at(1), 40.0));
        QVERIFY(*std::min_element(channel1.cbegin(), channel1.cend()) >= -40.0);
        QCOMPARE(curveValues(view->separatorCurves.at(1)), QVector<double>({-40.0, -40.0}));
        QVERIFY(allAboveZero(graphValues(view->waveGraphs.at(0))));
        QVERIFY(allAboveZero(curveValues(view->separatorCurves.at(0))));
        // Digital 0 moves up by the hidden band, from -280 to -240.
        QCOMPARE(graphValues(view->digitalLowerGraphs.at(0)), traceEdges(-240.0, 8.0, 5.2));

        // Both cuts go back to the first sample, the lines span the packed channels.
        QCOMPARE(view->cut1Index, 0);
        QCOMPARE(view->cut2Index, 0);
        QCOMPARE(view->plotBottom, -(40.0 * (analogTotal - 1) + 10.0 * digitalTotal));
        QCOMPARE(curveValues(view->cutLine1).first(), view->plotBottom);
        QCOMPARE(view->cut1TimeLabel->text(), QStringLiteral("0"));
        QCOMPARE(view->cut2TimeLabel->text(), QStringLiteral("0"));
        QCOMPARE(view->cutDifferenceLabel->text(), QStringLiteral("0"));
        QCOMPARE(view->verticalScrollBar->value(), 0);
    }

    void hiddenDigitalChannelPacksLaterDigitalChannels()
    {
        auto view = loadView();
        QVERIFY(view);
        const QVector<bool> flags = flagsWithHidden({0, analogTotal});
        view->applyDisplayedSignals(&flags);

        // Digital 1 moves up by the hidden band and the hidden row, from -290 to -240.
        QCOMPARE(graphValues(view->digitalUpperGraphs.at(1)), traceEdges(-240.0, 2.0, 4.8));
        QVERIFY(allAboveZero(graphValues(view->digitalLowerGraphs.at(0))));
        QCOMPARE(view->rowMap.last(), quint16(4 * analogTotal + 1));
        QVERIFY(!view->digitalChannels.at(0).shown);
        QVERIFY(view->digitalChannels.at(1).shown);
        QCOMPARE(view->plotBottom, -250.0);
    }

    void shortFlagArrayKeepsTheRemainingFlags()
    {
        auto view = loadView();
        QVERIFY(view);
        const QVector<bool> lastHidden = flagsWithHidden({analogTotal + digitalTotal - 1});
        view->applyDisplayedSignals(&lastHidden);
        const QVector<bool> firstOnly = {false};
        view->applyDisplayedSignals(&firstOnly);

        QCOMPARE(view->shownFlags.at(0), char(0));
        QCOMPARE(view->shownFlags.at(1), char(1));
        QCOMPARE(view->shownFlags.at(analogTotal + digitalTotal - 1), char(0));
        QVERIFY(!view->digitalChannels.at(digitalTotal - 1).shown);
    }

    void hidingEverythingLeavesAnEmptyPlotWhoseCutsStillWork()
    {
        auto view = loadView();
        QVERIFY(view);
        const QVector<bool> none(analogTotal + digitalTotal, false);
        view->applyDisplayedSignals(&none);

        QVERIFY(view->rowMap.isEmpty());
        QCOMPARE(view->verticalScrollBar->minimum(), 0);
        QCOMPARE(view->verticalScrollBar->maximum(), 0);
        QCOMPARE(view->plotBottom, -240.0);
        for (QStackedWidget* rowSlot : qAsConst(view->rowSlots))
            QCOMPARE(rowSlot->currentWidget(), nullptr);
        view->plot->replot();

        view->slot_key_Right();
        QCOMPARE(view->cut1Index, 1);

        const QVector<bool> all(analogTotal + digitalTotal, true);
        view->applyDisplayedSignals(&all);
        QCOMPARE(view->rowSlots.at(0)->currentWidget(), view->rowWidgets.at(0));
        QCOMPARE(view->rowMap.size(), 4 * analogTotal + digitalTotal);
    }

    void scaleSignalsTakesTheFirstLargestPeakAsReference()
    {
        auto view = loadView();
        QVERIFY(view);
        const QVector<double> untouched = view->normalizedValues.at(1);
        view->scaleSignals({0, 2, 5});

        const QString note = QStringLiteral("Отмасштабирован к \"U2\"");
        QCOMPARE(view->channelLabels.at(9)->text(), note);
        QCOMPARE(view->channelLabels.at(59)->text(), note);
        QCOMPARE(view->channelLabels.at(29)->text(), QString());
        QCOMPARE(view->scaleReference, QVector<int>({3, 0, 0, 0, 0, 3, 0}));
        QCOMPARE(view->normalizedValues.at(0), mapped(view->analogValues.at(0), 0, 40.0));
        QCOMPARE(view->normalizedValues.at(1), untouched);
        QCOMPARE(graphValues(view->waveGraphs.at(0)), view->normalizedValues.at(0));

        // An empty group changes nothing, not even the cut position.
        view->slot_key_Right();
        view->scaleSignals({});
        QCOMPARE(view->cut1Index, 1);
        QCOMPARE(view->channelLabels.at(9)->text(), note);
    }

    void scaleMenuRescalesAgainstTheChosenChannel()
    {
        auto view = loadView();
        QVERIFY(view);
        openMenuOn(*view, 0);
        QVERIFY(view->scaleActions.at(0)->isChecked());
        QCOMPARE(view->scaleMenu->actions().size(), analogTotal + 1);

        view->scaleActions.at(3)->trigger();
        QCOMPARE(view->scaleReference.at(0), 3);
        QCOMPARE(view->channelLabels.at(9)->text(), QStringLiteral("Отмасштабирован к \"U2\""));
        QCOMPARE(view->normalizedValues.at(0), mapped(view->analogValues.at(0), 0, 40.0));

        openMenuOn(*view, 1);
        QVERIFY(view->scaleActions.at(0)->isChecked());
        openMenuOn(*view, 0);
        QVERIFY(view->scaleActions.at(3)->isChecked());

        // The entry already in force does not relayout: the cut stays where it is.
        view->slot_key_Right();
        view->scaleActions.at(3)->trigger();
        QCOMPARE(view->cut1Index, 1);

        view->scaleActions.at(0)->trigger();
        QCOMPARE(view->cut1Index, 0);
        QCOMPARE(view->scaleReference.at(0), 0);
        QCOMPARE(view->channelLabels.at(9)->text(), QString());
        QCOMPARE(view->normalizedValues.at(0), mapped(view->analogValues.at(0), 0, 10.0));
    }

    void scalingComparesAmperesNotRawCounts()
    {
        // 370 A written as 370 counts of 1 A, 430 A as 43 counts of 10 A.
        LumetoTest::TestRecording recording;
        recording.analog = {{"Ia", "A", 1.0, sineOfPeak(370)}, {"Ib", "A", 10.0, sineOfPeak(43)}};
        auto view = LumetoTest::openRecordingView(dir, QStringLiteral("tenfold"), recording);
        const QVector<double>& countsA = view->analogValues.at(0);
        const QVector<double>& countsB = view->analogValues.at(1);

        view->scaleSignals({0, 1});
        QCOMPARE(view->scaleReference, QVector<int>({2, 0}));
        QCOMPARE(view->normalizedValues.at(0), mapped(countsA, 0, 430.0));
        QCOMPARE(view->normalizedValues.at(1), mapped(countsB, 1, 43.0));

        openMenuOn(*view, 1);
        view->scaleActions.at(1)->trigger();
        QCOMPARE(view->normalizedValues.at(1), mapped(countsB, 1, 37.0));
    }

    void ownScaleOfHertzChannelMapsTheRawValues()
    {
        auto view = loadView();
        QVERIFY(view);
        openMenuOn(*view, 4);
        view->scaleActions.at(1)->trigger();
        view->scaleActions.at(0)->trigger();
        const QVector<double>& raw = view->analogValues.at(4);
        QCOMPARE(view->normalizedValues.at(4), mapped(raw, 4, COMTRADE_read::peakAbs(raw)));
    }

    void referenceWithZeroPeakLeavesZeroSamplesOut()
    {
        auto view = loadView();
        QVERIFY(view);
        openMenuOn(*view, 1);
        view->scaleActions.at(7)->trigger();

        const QVector<double>& raw = view->analogValues.at(1);
        const QVector<double>& drawn = view->normalizedValues.at(1);
        for (int j = 0; j < raw.size(); ++j) {
            if (raw.at(j) > 0)
                QCOMPARE(drawn.at(j), -40.0);
            else if (raw.at(j) < 0)
                QCOMPARE(drawn.at(j), -80.0);
            else
                QVERIFY(qIsNaN(drawn.at(j)));
        }
        view->plot->replot();
    }

    void frequencyToggleSwapsCurvesUntilTheNextRelayout()
    {
        auto view = loadView();
        QVERIFY(view);
        view->showFrequencyAction->trigger();  // never opened: acts on no channel
        QCOMPARE(view->frequencyShown, QByteArray(analogTotal, 0));

        const QVector<bool> flags = flagsWithHidden({0});
        view->applyDisplayedSignals(&flags);
        openMenuOn(*view, 1);
        view->showFrequencyAction->trigger();

        QCOMPARE(view->frequencyShown.at(1), char(1));
        QCOMPARE(graphValues(view->frequencyGraphs.at(1)),
                 shifted(view->frequencyDeviation.at(1), 40.0));
        QCOMPARE(graphValues(view->waveGraphs.at(1)),
                 shifted(view->normalizedValues.at(1), 40.0, -1.0));
        QCOMPARE(view->channelLabels.at(10)->text(), QStringLiteral("U1 f"));
        openMenuOn(*view, 1);
        QVERIFY(view->showFrequencyAction->isChecked());

        view->applyDisplayedSignals();
        QCOMPARE(view->frequencyShown.at(1), char(0));
        QCOMPARE(view->channelLabels.at(10)->text(), QStringLiteral("U1"));
        QCOMPARE(graphValues(view->frequencyGraphs.at(1)), shifted(view->frequencyDeviation.at(1), 0.0, -1.0));
        QCOMPARE(graphValues(view->waveGraphs.at(1)), shifted(view->normalizedValues.at(1), 40.0));
    }

    void diagramEntriesFollowTheDiagramMenus()
    {
        auto view = loadView();
        QVERIFY(view);
        openMenuOn(*view, 3);
        QVERIFY(!view->vectorDiagramAction->isEnabled());

        view->vectorChannelActions.at(0)->setChecked(false);
        view->vectorChannelActions.at(1)->setChecked(true);
        view->frequencyChannelActions.at(1)->setChecked(true);
        openMenuOn(*view, 1);
        QVERIFY(view->vectorDiagramAction->isEnabled());
        QVERIFY(view->vectorDiagramAction->isChecked());
        QVERIFY(view->frequencyDiagramAction->isChecked());
        openMenuOn(*view, 0);
        QVERIFY(!view->vectorDiagramAction->isChecked());
        QVERIFY(!view->frequencyDiagramAction->isChecked());
        QCOMPARE(view->channelMenu->objectName(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestChannelMenu)
#include "test_channelmenu.moc"
