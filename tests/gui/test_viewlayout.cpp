#include "support/diagramrecordings.h"
#include "support/gui/recordingview.h"
#include "view/comtraderead.h"

#include "app/resourcesinit.h"
#include "comtrade/common/memoryestimate.h"
#include "comtrade/dialect/dialectreader.h"
#include "view/tooltips.h"

#include <qcustomplot.h>

#include <QLabel>
#include <QStackedWidget>
#include <QTextDocument>
#include <QtTest>

#include <memory>

using namespace LumetoTest;
using VornaLumeto::COMTRADE_read;

namespace {

TestRecording threeAnalogTwoDigital()
{
    TestRecording recording;
    recording.analog = {{"Ua", "kV", 0.1, {100, -50, 0, 25}},
                        {"Ib", "A", 1.0, {10, 20, -30, 5}},
                        {"F", "Гц", 0.01, {5000, 5010, 4990, 5000}}};
    recording.digital = {{"Пуск", {0, 1, 1, 0}}, {"Trip", {1, 0, 0, 0}}};
    return recording;
}

// Names the first row slot whose top or bottom edge lies more than a pixel away from
// the pixel its 10 y units map to; empty when all 24 face their bands.
QString slotOffItsBand(const COMTRADE_read& view)
{
    const QCPAxis* y = view.plot->yAxis;
    const int plotTop = view.plot->mapTo(&view, QPoint()).y();
    for (int slot = 0; slot < COMTRADE_read::rowSlotCount; ++slot) {
        const QWidget* rowSlot = view.rowSlots.at(slot);
        const int top = rowSlot->mapTo(&view, QPoint()).y();
        const int bottom = top + rowSlot->height();
        const double bandTop = plotTop + y->coordToPixel(view.yUpper - 10.0 * slot);
        const double bandBottom = plotTop + y->coordToPixel(view.yUpper - 10.0 * (slot + 1));
        if (qAbs(top - bandTop) > 1.0 || qAbs(bottom - bandBottom) > 1.0)
            return QStringLiteral("view %1x%2: slot %3 at %4...%5 px, its band at %6...%7 px")
                .arg(view.width()).arg(view.height()).arg(slot).arg(top).arg(bottom)
                .arg(bandTop).arg(bandBottom);
    }
    return QString();
}

QVector<double> graphValues(const QCPGraph* graph)
{
    QVector<double> values;
    for (auto point = graph->data()->constBegin(); point != graph->data()->constEnd(); ++point)
        values.append(point->value);
    return values;
}

QVector<double> plus(QVector<double> values, double shift)
{
    for (double& value : values)
        value += shift;
    return values;
}

QVector<QPointF> graphPoints(const QCPGraph* graph)
{
    QVector<QPointF> points;
    for (auto point = graph->data()->constBegin(); point != graph->data()->constEnd(); ++point)
        points.append(QPointF(point->key, point->value));
    return points;
}

} // namespace

class TestViewLayout : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    std::unique_ptr<COMTRADE_read> load(const QString& name, const TestRecording& recording)
    {
        return openRecordingView(dir, name, recording);
    }

private slots:
    void initTestCase() { VornaLumeto::initResources(); }

    void labelRowsAndSlotsOfThreeAnalogTwoDigital()
    {
        auto view = load("rows", threeAnalogTwoDigital());
        QCOMPARE(view->rowWidgets.size(), 14);
        QCOMPARE(view->channelLabels.size(), 32);
        QCOMPARE(view->valueLabelIndex, QVector<int>({1, 11, 21}));
        QCOMPARE(view->rowMap.size(), 14);
        for (int slot = 0; slot < 24; ++slot) {
            QStackedWidget* rowSlot = view->rowSlots.at(slot);
            QCOMPARE(rowSlot->count(), slot < 14 ? 1 : 0);
            if (slot < 14)
                QCOMPARE(rowSlot->currentWidget(), view->rowWidgets.at(slot));
        }
        QCOMPARE(view->channelLabels.at(10)->text(), QStringLiteral("Ib"));
        QCOMPARE(view->channelLabels.at(10)->objectName(), QStringLiteral("1"));
        QCOMPARE(view->channelLabels.at(12)->text(), QStringLiteral("A"));
        QCOMPARE(view->channelLabels.at(30)->text(), QStringLiteral("Пуск"));
        QCOMPARE(view->shownFlags, QByteArray("\1\1\1\1\1", 5));
        QCOMPARE(view->frequencyShown, QByteArray(3, '\0'));
    }

    // What the viewer tells the system it needs before it builds a large view
    // is what a view holds beside its recording.
    void memoryEstimateIsWhatTheViewHolds()
    {
        auto view = load("memory", threeAnalogTwoDigital());
        const auto bytes = [](const auto& vectors) {
            qint64 sum = 0;
            for (const auto& vector : vectors)
                sum += qint64(vector.size()) * qint64(sizeof(vector.at(0)));
            return sum;
        };
        qint64 held = bytes(view->normalizedValues) + bytes(view->digitalLowerValues) + bytes(view->digitalUpperValues);
        for (const QVector<QCPGraph*>* graphs :
             {&view->waveGraphs, &view->frequencyGraphs, &view->digitalLowerGraphs, &view->digitalUpperGraphs}) {
            for (const QCPGraph* graph : *graphs)
                held += qint64(graph->data()->size()) * qint64(sizeof(QCPGraphData));
        }
        QCOMPARE(VornaLumeto::displayMemoryBytes(view->timeAxis.size(), view->analogCount, view->digitalCount), held);
    }

    // Names are cut off in the label column; the tooltip shows them whole, markup and all, as text.
    void nameLabelsShowTheWholeChannelInTheirToolTip()
    {
        TestRecording recording = threeAnalogTwoDigital();
        recording.analog[0].id = QStringLiteral("<b>Ua</b> & 110 кВ");
        recording.digital[1].id = QStringLiteral("<i>Trip</i>");
        auto view = load("tooltips", recording);
        const auto rendered = [](const QString& toolTip) {
            QTextDocument document;
            document.setHtml(toolTip);
            return document.toPlainText();
        };
        QCOMPARE(rendered(view->channelLabels.at(0)->toolTip()),
                 QStringLiteral("<b>Ua</b> & 110 кВ\nФаза: A\nЕдиница измерения: kV"));
        QCOMPARE(rendered(view->channelLabels.at(31)->toolTip()), QStringLiteral("<i>Trip</i>"));

        VornaLumeto::AnalogChannel channel;
        channel.id = QStringLiteral("I фазы A Л2");
        channel.phase = QStringLiteral("A");
        channel.circuit = QStringLiteral("ВЛ-110 Северная-2");
        channel.unit = QStringLiteral("А");
        QCOMPARE(rendered(VornaLumeto::analogChannelToolTip(channel)),
                 QStringLiteral("I фазы A Л2\nФаза: A\nПрисоединение: ВЛ-110 Северная-2\nЕдиница измерения: А"));
    }

    void graphsPensAndDigitalBars()
    {
        auto view = load("graphs", threeAnalogTwoDigital());
        QCOMPARE(view->waveGraphs.size(), 3);
        QCOMPARE(view->frequencyGraphs.size(), 3);
        QCOMPARE(view->digitalLowerGraphs.size(), 2);
        QCOMPARE(view->separatorCurves.size(), 3);
        QCOMPARE(view->waveGraphs.at(1)->pen().color(), QColor(0, 128, 0));
        QCOMPARE(view->frequencyGraphs.at(1)->pen().widthF(), 2.0);
        // Digital channel 0 is the fourth channel built: colour 3.
        QCOMPARE(view->digitalUpperGraphs.at(0)->pen().color(), QColor(0, 71, 171));
        QCOMPARE(view->digitalUpperGraphs.at(0)->brush().color().alpha(), 240);
        QCOMPARE(view->digitalUpperGraphs.at(0)->channelFillGraph(), view->digitalLowerGraphs.at(0));
        QCOMPARE(view->digitalUpperGraphs.at(0)->lineStyle(), QCPGraph::lsStepLeft);

        // Digital 0 sits under the three analog bands: base -120. One point per sample.
        const QVector<double>& t = view->timeAxis;
        QCOMPARE(view->digitalLowerValues.at(0), QVector<double>({-125.2, -128, -128, -125.2}));
        QCOMPARE(view->digitalUpperValues.at(0), QVector<double>({-124.8, -122, -122, -124.8}));
        QCOMPARE(graphPoints(view->digitalLowerGraphs.at(0)),
                 QVector<QPointF>({{t[0], -125.2}, {t[1], -128}, {t[2], -128}, {t[3], -125.2}}));
        QCOMPARE(graphPoints(view->digitalUpperGraphs.at(1)),
                 QVector<QPointF>({{t[0], -132}, {t[1], -134.8}, {t[2], -134.8}, {t[3], -134.8}}));

        const QCPCurveDataContainer& separator = *view->separatorCurves.at(2)->data();
        QCOMPARE(separator.size(), 2);
        QCOMPARE(separator.at(0)->value, -120.0);
        QCOMPARE(separator.at(1)->key, view->timeAxis.last());
        // The frequency curve waits above y = 0, negated, until it is shown.
        QCOMPARE(view->frequencyGraphs.at(0)->data()->size(), 4);
        QCOMPARE(view->frequencyGraphs.at(0)->data()->at(2)->value, -view->frequencyDeviation.at(0).at(2));
    }

    void bandMappingPutsThePeakEighteenUnitsFromTheCentre()
    {
        auto view = load("bands", threeAnalogTwoDigital());
        // Channel 0: peak 100 at the top, -50 half way down, 0 on the centre line -20.
        QCOMPARE(view->normalizedValues.at(0), QVector<double>({-2, -29, -20, -15.5}));
        // Channel 1 lives in band 1: -30 is its negative peak.
        QCOMPARE(view->normalizedValues.at(1).at(2), -78.0);
        // "Гц" channels are drawn from raw - 5000: 5010 is the peak.
        QCOMPARE(view->normalizedValues.at(2), QVector<double>({-100, -82, -118, -100}));
    }

    void mapToBandClipsAndLeavesZeroPeakUndefined()
    {
        QVector<double> mapped;
        COMTRADE_read::mapToBand(mapped, {100, -100, 1000, -1000}, 0, 100, 0.9);
        QCOMPARE(mapped, QVector<double>({-2, -38, 0, -40}));
        COMTRADE_read::mapToBand(mapped, {1, -1, 0}, 2, 0, 0.9);
        QCOMPARE(mapped.at(0), -80.0);
        QCOMPARE(mapped.at(1), -120.0);
        QVERIFY(qIsNaN(mapped.at(2)));
        QCOMPARE(COMTRADE_read::peakAbs({}), 0.0);
        QCOMPARE(COMTRADE_read::peakAbs({3, -7, 5}), 7.0);
    }

    void tenthChannelWrapsToTheFirstColour()
    {
        TestRecording recording;
        for (int i = 0; i < 10; ++i)
            recording.analog.append({QStringLiteral("C%1").arg(i), "A", 1.0, {1, 2, 3}});
        auto view = load("colours", recording);
        QCOMPARE(view->waveGraphs.at(9)->pen().color(), QColor(0, 0, 255));
        QCOMPARE(view->waveGraphs.at(8)->pen().color(), QColor(155, 47, 31));
        const QLabel* name = view->channelLabels.at(90);
        QCOMPARE(name->palette().color(name->foregroundRole()), QColor(0, 0, 255));
    }

    void axesAreTheBottomAndLeftOfTheOnlyAxisRect()
    {
        auto view = load("axes", threeAnalogTwoDigital());
        QCOMPARE(view->plot->axisRectCount(), 1);
        QCOMPARE(view->plot->xAxis, view->axisRect->axis(QCPAxis::atBottom));
        QCOMPARE(view->plot->yAxis, view->axisRect->axis(QCPAxis::atLeft));
        QVERIFY(!view->plot->yAxis->tickLabels());
        QVERIFY(view->plot->xAxis->tickLabels());
    }

    void labelSlotsFaceTheirBandsAtAnyWindowSize()
    {
        auto view = load("align", threeAnalogTwoDigital());
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        for (const QSize& size : {QSize(1018, 700), QSize(1594, 960), QSize(834, 560)}) {
            view->resize(size);
            QTRY_COMPARE(slotOffItsBand(*view), QString());
        }
        // The frequency strip takes height from the plot at the smallest size.
        view->showFrequencyDiagram();
        QTRY_COMPARE(slotOffItsBand(*view), QString());
        QVERIFY(view->rowSlots.first()->height() < view->rowSlots.first()->sizeHint().height());
    }

    void channelsBelowTheFirstScreenHoldTheirDataAtAllTimes()
    {
        // 8 analog and 3 digital channels: 35 label rows, the last channels far below the screen.
        TestRecording recording;
        for (int i = 0; i < 8; ++i)
            recording.analog.append({QStringLiteral("I%1").arg(i), "A", 1.0,
                                     sineSamples(10.0 * (i + 1), 0.0, 50.0, 1000, 60, 1.0)});
        for (int k = 0; k < 3; ++k) {
            QVector<int> states(60);
            for (int j = 0; j < 60; ++j)
                states[j] = (j / (k + 5)) % 2;
            recording.digital.append({QStringLiteral("D%1").arg(k), states});
        }
        auto view = load("deep", recording);
        QVERIFY(view->degreesBackground.style() != Qt::NoBrush);
        QVERIFY(view->radiansBackground.style() != Qt::NoBrush);

        const QVector<double>& raw7 = view->analogValues.at(7);
        const auto checkEveryChannel = [&](double analogShift, double digitalShift, double peak7) {
            QCOMPARE(view->normalizedValues.size(), 8);
            QCOMPARE(view->digitalLowerValues.size(), 3);
            QCOMPARE(view->digitalUpperValues.size(), 3);
            QVector<double> expected7;
            COMTRADE_read::mapToBand(expected7, raw7, 7, peak7, 0.9);
            QCOMPARE(view->normalizedValues.at(7), expected7);
            QCOMPARE(graphValues(view->waveGraphs.at(7)), plus(expected7, analogShift));
            QCOMPARE(graphValues(view->frequencyGraphs.at(7)).size(), 60);
            QVector<double> lower, upper;
            for (int j = 0; j < 60; ++j) {
                const bool set = view->digitalValues.at(2).at(j) == 1.0;
                lower.append(-340.0 - (set ? 8.0 : 5.2));
                upper.append(-340.0 - (set ? 2.0 : 4.8));
            }
            QCOMPARE(view->digitalLowerValues.at(2), lower);
            QCOMPARE(view->digitalUpperValues.at(2), upper);
            QCOMPARE(graphValues(view->digitalLowerGraphs.at(2)), plus(lower, digitalShift));
            QCOMPARE(graphValues(view->digitalUpperGraphs.at(2)), plus(upper, digitalShift));
            for (int i = 1; i < 8; ++i) {
                QCOMPARE(view->normalizedValues.at(i).size(), 60);
                QCOMPARE(view->waveGraphs.at(i)->data()->size(), 60);
                QCOMPARE(view->frequencyGraphs.at(i)->data()->size(), 60);
            }
            for (int k = 0; k < 3; ++k) {
                QCOMPARE(view->digitalLowerGraphs.at(k)->data()->size(), 60);
                QCOMPARE(view->digitalUpperGraphs.at(k)->data()->size(), 60);
            }
        };
        checkEveryChannel(0.0, 0.0, COMTRADE_read::peakAbs(raw7));

        // Channel 0 hidden: the others move up by its band; its wave graph is parked above 0.
        QVector<bool> flags(11, true);
        flags[0] = false;
        view->applyDisplayedSignals(&flags);
        checkEveryChannel(40.0, 40.0, COMTRADE_read::peakAbs(raw7));
        QCOMPARE(view->waveGraphs.at(0)->data()->size(), 2);

        // Scaled with channel 6, whose peak is the smaller: channel 7 keeps its own, 6 takes it.
        view->scaleSignals({6, 7});
        checkEveryChannel(40.0, 40.0, COMTRADE_read::peakAbs(raw7));
        QCOMPARE(view->scaleReference.at(6), 8);
        QVector<double> expected6;
        COMTRADE_read::mapToBand(expected6, view->analogValues.at(6), 6, COMTRADE_read::peakAbs(raw7), 0.9);
        QCOMPARE(view->normalizedValues.at(6), expected6);
        QCOMPARE(graphValues(view->waveGraphs.at(6)), plus(expected6, 40.0));
    }

    void replotsAreCoalescedByTheTimer()
    {
        auto view = load("replot", threeAnalogTwoDigital());
        view->replotTimer.stop();
        view->requestReplot();
        QVERIFY(view->replotTimer.isActive());
        QCOMPARE(view->replotTimer.interval(), 100);
        QTRY_VERIFY_WITH_TIMEOUT(!view->replotTimer.isActive(), 1000);
    }
};

QTEST_MAIN(TestViewLayout)
#include "test_viewlayout.moc"
