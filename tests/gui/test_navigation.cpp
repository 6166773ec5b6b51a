#include "support/diagramrecordings.h"
#include "support/gui/recordingview.h"
#include "support/standardrecordings.h"
#include "view/comtraderead.h"
#include "view/navigationrules.h"

#include "app/resourcesinit.h"
#include "comtrade/dialect/dialectreader.h"

#include <qcustomplot.h>

#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

using namespace LumetoTest;
using VornaLumeto::COMTRADE_read;

namespace {

TestRecording ramp(int channels, int samples, int rate = 1000)
{
    TestRecording recording;
    recording.rate = rate;
    QVector<qint32> values(samples);
    for (int k = 0; k < samples; ++k)
        values[k] = k % 50 - 25;
    for (int i = 0; i < channels; ++i)
        recording.analog.append({QStringLiteral("K%1").arg(i), "A", 1.0, values});
    return recording;
}

void sendWheel(QWidget* target, int delta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int files = 0;

    std::unique_ptr<COMTRADE_read> load(const TestRecording& recording)
    {
        auto view = openRecordingView(dir, QStringLiteral("rec%1").arg(files++), recording);
        view->resize(1200, 800);
        return view;
    }

    static QCPRange xRange(const COMTRADE_read& view) { return view.plot->xAxis->range(); }

private slots:
    void initTestCase() { VornaLumeto::initResources(); }

    void opensZoomedOutOnTheWholeRecording()
    {
        auto view = load(ramp(2, 1000));
        QCOMPARE(view->windowSamples, 29);
        QCOMPARE(view->firstVisibleSample, 0);
        QCOMPARE(view->lastVisibleSample, 999);
        QCOMPARE(view->zoomSlider->maximum(), 970);
        QCOMPARE(view->zoomSlider->value(), 970);
        QVERIFY(view->zoomSlider->isEnabled());
        QCOMPARE(view->horizontalScrollBar->maximum(), 0);
        QCOMPARE(xRange(*view).lower, 0.0);
        QCOMPARE(xRange(*view).upper, 999.0);
        QCOMPARE(view->plot->yAxis->range().lower, -240.0);
        QCOMPARE(view->plot->yAxis->range().upper, 0.0);
        QCOMPARE(view->cutTolerance, 2);  // 999 ms / 800 + 1
        QCOMPARE(view->findChildren<QShortcut*>().size(), 6);
    }

    void recordingWithEveryTimeStampZeroZoomsAtItsSamplingRate()
    {
        TestRecording recording = ramp(1, 1000);
        recording.zeroTimeStamps = true;
        auto view = load(recording);
        QCOMPARE(view->timeAxis.at(1), 1.0);
        QCOMPARE(view->timeAxis.last(), 999.0);
        QCOMPARE(view->windowSamples, 29);
        QVERIFY(view->zoomSlider->isEnabled());
        QCOMPARE(xRange(*view).upper, 999.0);
        view->cut1Index = 500;
        view->zoomSlider->setValue(0);
        QCOMPARE(xRange(*view).lower, 486.0);
        QCOMPARE(xRange(*view).upper, 515.0);
    }

    void zoomCentresOnCutOneAndIsPushedInsideAtTheEnds()
    {
        auto view = load(ramp(1, 1000));
        view->cut1Index = 500;
        view->zoomSlider->setValue(0);  // 29 samples beyond the first: 14 before, 15 after
        QCOMPARE(view->firstVisibleSample, 486);
        QCOMPARE(view->lastVisibleSample, 515);
        QCOMPARE(view->horizontalScrollBar->maximum(), 1000 - 1 - 29);
        QCOMPARE(view->horizontalScrollBar->value(), 486);
        QCOMPARE(xRange(*view).lower, 486.0);
        QCOMPARE(view->cutTolerance, 1);

        view->cut1Index = 999;
        view->zoomSlider->setValue(10);
        QCOMPARE(view->lastVisibleSample, 999);
        QCOMPARE(view->firstVisibleSample, 999 - 39);

        view->cut1Index = 3;
        view->zoomSlider->setValue(20);
        QCOMPARE(view->firstVisibleSample, 0);
        QCOMPARE(view->lastVisibleSample, 49);
    }

    void scrollStepAfterAZoomThatLeftTheBarInPlaceIsNotLost()
    {
        auto view = load(ramp(1, 1000));
        view->zoomSlider->setValue(0);  // cut 1 at 0: window 0 ... 29
        QCOMPARE(view->lastVisibleSample, 29);
        // The zoom left the bar at 0: the first scroll step must still move the window.
        view->horizontalScrollBar->setValue(10);
        QCOMPARE(view->firstVisibleSample, 10);
        QCOMPARE(view->lastVisibleSample, 39);
        view->horizontalScrollBar->setValue(view->horizontalScrollBar->maximum());
        QCOMPARE(view->lastVisibleSample, 999);
        QCOMPARE(xRange(*view).upper, 999.0);
        view->horizontalScrollBar->setValue(0);
        QVERIFY(view->firstVisibleSample >= 0);
    }

    void zoomThatClampsTheScrollBarKeepsTheWindowOnCutOne()
    {
        auto view = load(ramp(1, 1000));
        view->cut1Index = 600;
        view->zoomSlider->setValue(0);  // window 586 ... 615, bar at 586
        view->cut1Index = 300;
        // The bar's range shrinks below 586 (one signal), then its value goes to 36 (another).
        view->zoomSlider->setValue(500);
        QCOMPARE(view->firstVisibleSample, 36);
        QCOMPARE(view->lastVisibleSample, 565);
        QCOMPARE(view->horizontalScrollBar->value(), view->firstVisibleSample);
    }

    void verticalScrollMovesRowsBetweenSlots()
    {
        auto view = load(ramp(10, 100));  // 40 label rows
        QCOMPARE(view->verticalScrollBar->maximum(), 16);
        view->verticalScrollBar->setValue(1);
        QCOMPARE(view->plot->yAxis->range().lower, -250.0);
        QCOMPARE(view->plot->yAxis->range().upper, -10.0);
        QCOMPARE(view->rowSlots.at(0)->currentWidget(), view->rowWidgets.at(1));
        QCOMPARE(view->rowSlots.at(23)->currentWidget(), view->rowWidgets.at(24));
        view->slot_key_Bottom();
        QCOMPARE(view->verticalScrollBar->value(), 4);
        QCOMPARE(view->rowSlots.at(0)->currentWidget(), view->rowWidgets.at(4));
        view->slot_key_Top();
        view->slot_key_Top();
        QCOMPARE(view->verticalScrollBar->value(), 0);
        QCOMPARE(view->rowSlots.at(0)->currentWidget(), view->rowWidgets.at(0));
        for (QStackedWidget* rowSlot : qAsConst(view->rowSlots))
            QCOMPARE(rowSlot->count(), 1);
    }

    void fewRowsLeaveTheScrollBarAtZero()
    {
        TestRecording recording = ramp(1, 100);
        recording.digital = {{"D", QVector<int>(100, 1)}};
        auto view = load(recording);  // 5 label rows
        QCOMPARE(view->verticalScrollBar->maximum(), 0);
        QCOMPARE(view->rowSlots.at(5)->count(), 0);
    }

    void wheelScrollsRowsOrZoomsWhileTheRightButtonIsHeld()
    {
        auto view = load(ramp(10, 5000));
        sendWheel(view->plot, -120);
        QCOMPARE(view->verticalScrollBar->value(), 3);
        sendWheel(view->plot, 120);
        QCOMPARE(view->verticalScrollBar->value(), 0);

        view->rightButtonHeld = true;
        view->zoomSlider->setValue(1000);
        sendWheel(view->plot, 1);  // 5000 / 1000 = 5 per unit of delta
        QCOMPARE(view->zoomSlider->value(), 995);
        QVERIFY(view->wheelZoomed);
        sendWheel(view->plot, 120);
        QCOMPARE(view->zoomSlider->value(), 395);
    }

    void narrowestWindowNeverHasZeroWidth()
    {
        using VornaLumeto::narrowestWindowSamples;
        QVector<double> fromZero(1000);
        QVector<double> fromForty(1000);
        for (int j = 0; j < 1000; ++j) {
            fromZero[j] = j;
            fromForty[j] = 40 + j;
        }
        QCOMPARE(narrowestWindowSamples(fromZero), 29);
        QCOMPARE(narrowestWindowSamples(fromForty), 29);  // counted from the first sample
        QCOMPARE(narrowestWindowSamples({-100, 0, 10, 29.9, 30}), 3);
        QCOMPARE(narrowestWindowSamples({0, 33, 67, 100}), 1);
        QCOMPARE(narrowestWindowSamples({40, 75}), 1);
        QCOMPARE(narrowestWindowSamples({40}), 0);
        QCOMPARE(narrowestWindowSamples({}), 0);
    }

    void lateFirstSampleZoomsInOnAWindowItShows()
    {
        TestRecording recording = ramp(1, 200);
        recording.firstMicroseconds = 50000;  // samples at 50, 51, ... 249 ms
        auto view = load(recording);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QCOMPARE(view->windowSamples, 29);
        QCOMPARE(view->zoomSlider->maximum(), 200 - 29 - 1);

        view->cut1Index = 100;
        view->zoomSlider->setValue(0);
        QCOMPARE(view->firstVisibleSample, 86);
        QCOMPARE(view->lastVisibleSample, 115);
        QCOMPARE(xRange(*view).lower, 136.0);
        QCOMPARE(xRange(*view).upper, 165.0);
        view->plot->replot();

        // A click lands on the sample drawn under the mouse.
        const QPoint at(qRound(view->plot->xAxis->coordToPixel(140.2)), view->plot->height() / 2);
        QTest::mouseClick(view->plot, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(view->cut1Index, 90);

        view->horizontalScrollBar->setValue(view->horizontalScrollBar->value() + 10);
        QCOMPARE(view->firstVisibleSample, 96);
        QCOMPARE(view->lastVisibleSample, 125);
        QCOMPARE(xRange(*view).lower, 146.0);
        view->horizontalScrollBar->setValue(view->horizontalScrollBar->maximum());
        QCOMPARE(xRange(*view).upper, 249.0);
        QCOMPARE(xRange(*view).lower, 220.0);
    }

    // 4 kHz, then 1 kHz: the narrowest window holds the samples of 30 ms at 1 kHz,
    // so that it shows about 30 ms in the slower stretch too (7.25 ms in the faster).
    void narrowestWindowShowsAbout30MsInEveryStretch()
    {
        const QString path =
            writeStandardRecording(dir, QStringLiteral("tworate"), sineAtRates({{4000, 1200}, {1000, 400}}, 100));
        auto view = openStandardView(path);
        view->resize(1200, 800);
        QCOMPARE(view->windowSamples, 29);
        QCOMPARE(view->zoomSlider->maximum(), 1600 - 29 - 1);
        for (int cut : {600, 1300}) {
            view->cut1Index = cut;
            view->zoomSlider->setValue(1);
            view->zoomSlider->setValue(0);
            QCOMPARE(view->lastVisibleSample - view->firstVisibleSample, 29);
            const double span = xRange(*view).upper - xRange(*view).lower;
            QCOMPARE(span, cut < 1200 ? 7.25 : 29.0);
        }
        view->zoomSlider->setValue(view->zoomSlider->maximum());
        QCOMPARE(view->firstVisibleSample, 0);
        QCOMPARE(view->lastVisibleSample, 1599);

        // A later stretch shorter than 30 ms leaves the window as the first stretch has it.
        const QVector<double> times = view->timeAxis.mid(0, 1210);
        QCOMPARE(VornaLumeto::narrowestWindowSamples(times, {{4000, 0, 1200}, {1000, 1200, 1210}}), 119);
    }

    void singleSampleRecordingDisablesTheSlider()
    {
        auto view = load(ramp(1, 1));
        QVERIFY(!view->zoomSlider->isEnabled());
        QCOMPARE(view->windowSamples, 0);
        QCOMPARE(view->lastVisibleSample, 0);
        // A small range around the only sample, not the plot's default range.
        QCOMPARE(xRange(*view).lower, -1.0);
        QCOMPARE(xRange(*view).upper, 1.0);
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
