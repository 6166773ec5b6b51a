#include "support/diagramrecordings.h"
#include "support/gui/recordingview.h"
#include "view/comtraderead.h"
#include "view/cutrules.h"

#include "app/resourcesinit.h"
#include "comtrade/dialect/dialectreader.h"

#include <qcustomplot.h>

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace LumetoTest;
using VornaLumeto::COMTRADE_read;

namespace {

TestRecording steadyRecording(int analog, int digital, int samples)
{
    TestRecording recording;
    const QVector<qint32> wave = sineSamples(100, 0, 50, recording.rate, samples, 0.01);
    for (int i = 0; i < analog; ++i)
        recording.analog.append({QStringLiteral("U%1").arg(i), "kV", 0.01, wave});
    for (int k = 0; k < digital; ++k)
        recording.digital.append({QStringLiteral("D%1").arg(k), QVector<int>(samples, k % 2)});
    return recording;
}

// Sends a mouse event at the pixel of the given plot time, halfway down the plot.
void sendMouse(COMTRADE_read& view, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons buttons, double time)
{
    const QPointF at(view.plot->xAxis->coordToPixel(time), view.plot->height() / 2.0);
    QMouseEvent event(type, at, view.plot->mapToGlobal(at.toPoint()), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(view.plot, &event);
}

void click(COMTRADE_read& view, Qt::MouseButton button, double time)
{
    sendMouse(view, QEvent::MouseButtonPress, button, button, time);
    sendMouse(view, QEvent::MouseButtonRelease, button, Qt::NoButton, time);
}

void drag(COMTRADE_read& view, double from, double to)
{
    sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    sendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, (from + to) / 2);
    sendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
    sendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
}

double lineTime(const QCPCurve* line)
{
    return line->data()->begin()->key;
}

} // namespace

class TestCuts : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int files = 0;

    std::unique_ptr<COMTRADE_read> load(const TestRecording& recording)
    {
        auto view = openRecordingView(dir, QStringLiteral("cut%1").arg(files++), recording);
        view->resize(1200, 800);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qWarning() << "view not exposed";
        // Let the replot that loading requested pass, so that later checks see only their own.
        QTest::qWait(150);
        return view;
    }

    // Shows samples first ... last (1 kHz: times in ms equal indices) with the given grab reach.
    static void showWindow(COMTRADE_read& view, int first, int last, int tolerance)
    {
        view.firstVisibleSample = first;
        view.lastVisibleSample = last;
        view.cutTolerance = tolerance;
        view.plot->xAxis->setRange(view.timeAxis[first], view.timeAxis[last]);
        view.plot->replot();
    }

private slots:
    void initTestCase() { VornaLumeto::initResources(); }

    void nearestSampleTiesGoToTheLaterSample()
    {
        const QVector<double> times{0, 1, 2, 3, 4, 5};
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 0, 5, 1.5), 2);
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 0, 5, 1.4), 1);
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 0, 5, 1.6), 2);
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 0, 5, 3.0), 3);
        // Clamped to the window, not to the recording.
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 2, 4, -7.0), 2);
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 2, 4, 4.9), 4);
        QCOMPARE(VornaLumeto::nearestSampleIndex(times, 2, 4, 2.5), 3);
    }

    void grabIncludesTheToleranceEndsAndTheCursorDoesNot()
    {
        QVERIFY(VornaLumeto::withinGrabReach(52.0, 50.0, 2));
        QVERIFY(VornaLumeto::withinGrabReach(48.0, 50.0, 2));
        QVERIFY(!VornaLumeto::withinGrabReach(52.01, 50.0, 2));
        QVERIFY(!VornaLumeto::strictlyNearCut(52.0, 50.0, 2));
        QVERIFY(!VornaLumeto::strictlyNearCut(48.0, 50.0, 2));
        QVERIFY(VornaLumeto::strictlyNearCut(51.99, 50.0, 2));
    }

    void cutsStartOnTheFirstSampleOnABufferedLayer()
    {
        auto view = load(steadyRecording(6, 1, 200));
        QCOMPARE(view->plotBottom, -250.0);
        QCOMPARE(view->cut1Index, 0);
        QCOMPARE(view->cut2Index, 0);
        QCOMPARE(view->cutLine1->pen().color(), QColor(Qt::darkRed));
        QCOMPARE(view->cutLine2->pen().color(), QColor(Qt::darkBlue));
        QCOMPARE(view->cutLine1->pen().width(), 1);
        for (QCPCurve* line : {view->cutLine1, view->cutLine2}) {
            QCOMPARE(line->layer(), view->cutLayer);
            QCOMPARE(line->dataCount(), 2);
            QCOMPARE(line->data()->at(0)->value, -250.0);
            QCOMPARE(line->data()->at(1)->value, 0.0);
            QCOMPARE(lineTime(line), 0.0);
        }
        QCOMPARE(view->cutLayer->mode(), QCPLayer::lmBuffered);
        QCOMPARE(view->cut1TimeLabel->text(), QStringLiteral("-"));

        auto few = load(steadyRecording(2, 3, 200));
        QCOMPARE(few->plotBottom, -240.0);
    }

    void clicksPlaceCutsOnVisibleSamplesWithoutAFullReplot()
    {
        auto view = load(steadyRecording(2, 0, 200));
        showWindow(*view, 10, 60, 1);
        QSignalSpy replots(view->plot, &QCustomPlot::afterReplot);

        click(*view, Qt::LeftButton, 2);
        QCOMPARE(view->cut1Index, 10);
        click(*view, Qt::LeftButton, 75);
        QCOMPARE(view->cut1Index, 60);
        QCOMPARE(lineTime(view->cutLine1), 60.0);
        click(*view, Qt::RightButton, 33.3);
        QCOMPARE(view->cut2Index, 33);
        QCOMPARE(view->cut2Time, 33.0);
        QCOMPARE(lineTime(view->cutLine2), 33.0);
        QCOMPARE(view->cut1TimeLabel->text(), QStringLiteral("60"));
        QCOMPARE(view->cut2TimeLabel->text(), QStringLiteral("33"));
        QCOMPARE(view->cutDifferenceLabel->text(), QStringLiteral("27"));

        QVERIFY(!view->replotTimer.isActive());
        QCOMPARE(replots.count(), 0);
    }

    void arrowKeysStepCut1AndStopAtTheWindowEdges()
    {
        auto view = load(steadyRecording(1, 0, 200));
        showWindow(*view, 10, 60, 1);
        view->placeCut(1, 60);
        QSignalSpy replots(view->plot, &QCustomPlot::afterReplot);

        view->slot_key_Right();
        QCOMPARE(view->cut1Index, 60);
        QCOMPARE(view->cut1TimeLabel->text(), QStringLiteral("-"));  // nothing at all happened
        view->slot_key_Left();
        QCOMPARE(view->cut1Index, 59);
        QCOMPARE(lineTime(view->cutLine1), 59.0);
        QCOMPARE(view->cut1TimeLabel->text(), QStringLiteral("59"));

        view->placeCut(1, 10);
        view->slot_key_Left();
        QCOMPARE(view->cut1Index, 10);
        view->slot_key_Right();
        QCOMPARE(view->cut1Index, 11);

        QVERIFY(!view->replotTimer.isActive());
        QCOMPARE(replots.count(), 0);
    }

    void arrowShortcutsReachTheSlots()
    {
        auto view = load(steadyRecording(1, 0, 200));
        view->activateWindow();
        if (!QTest::qWaitForWindowActive(view.get()))
            QSKIP("the platform gives the view no focus");
        view->placeCut(1, 100);
        QTest::keyClick(view.get(), Qt::Key_Right);
        QCOMPARE(view->cut1Index, 101);
        QTest::keyClick(view.get(), Qt::Key_Left);
        QTest::keyClick(view.get(), Qt::Key_Left);
        QCOMPARE(view->cut1Index, 99);
    }

    void leftDragMovesTheGrabbedLine()
    {
        auto view = load(steadyRecording(1, 0, 200));
        showWindow(*view, 0, 100, 2);
        view->placeCut(1, 50);
        view->placeCut(2, 20);

        // Both within reach: cut 1 wins.
        view->placeCut(2, 51);
        sendMouse(*view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 50.5);
        QCOMPARE(view->draggedCut, 1);
        sendMouse(*view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 50.5);
        view->placeCut(2, 20);

        sendMouse(*view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 51.6);
        QCOMPARE(view->draggedCut, 1);
        QVERIFY(view->cutDragging);
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 70.2);
        QCOMPARE(view->cut1Index, 70);
        QCOMPARE(view->plot->cursor().shape(), Qt::SizeHorCursor);
        sendMouse(*view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 70.2);
        QCOMPARE(view->cut1Index, 70);
        QCOMPARE(view->draggedCut, 0);
        QVERIFY(!view->cutDragging);

        // Just beyond the reach of cut 2: no drag, the release is a click for cut 1.
        sendMouse(*view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 22.6);
        QCOMPARE(view->draggedCut, 0);
        QVERIFY(!view->cutDragging);
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 40);
        QCOMPARE(view->cut1Index, 70);
        QCOMPARE(view->cut2Index, 20);
        sendMouse(*view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 40);
        QCOMPARE(view->cut1Index, 40);
    }

    void cursorShowsTheGrabZone()
    {
        auto view = load(steadyRecording(1, 0, 200));
        showWindow(*view, 0, 100, 2);
        view->placeCut(1, 50);
        view->placeCut(2, 20);
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 21.5);
        QCOMPARE(view->plot->cursor().shape(), Qt::SizeHorCursor);
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 35);
        QCOMPARE(view->plot->cursor().shape(), Qt::ArrowCursor);
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 48.5);
        QCOMPARE(view->plot->cursor().shape(), Qt::SizeHorCursor);
    }

    void afterDraggingCut2AFarDragOnlyPlacesCut1()
    {
        auto view = load(steadyRecording(1, 0, 200));
        showWindow(*view, 0, 100, 2);
        view->placeCut(1, 50);
        view->placeCut(2, 20);
        drag(*view, 20.4, 30.1);
        QCOMPARE(view->cut2Index, 30);
        QCOMPARE(view->cut1Index, 50);

        sendMouse(*view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 80);
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 90);
        QCOMPARE(view->cut1Index, 50);
        QCOMPARE(view->cut2Index, 30);
        sendMouse(*view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 90);
        QCOMPARE(view->cut1Index, 90);
        QCOMPARE(view->cut2Index, 30);
    }

    void doubleClickOnCut2GrabsItLikeAPress()
    {
        auto view = load(steadyRecording(1, 0, 200));
        showWindow(*view, 0, 100, 2);
        view->placeCut(1, 50);
        view->placeCut(2, 20);
        const auto pixelOf = [&](double time) {
            return QPoint(qRound(view->plot->xAxis->coordToPixel(time)), view->plot->height() / 2);
        };

        // Qt delivers press, release, double click, release.
        QTest::mouseClick(view->plot, Qt::LeftButton, Qt::NoModifier, pixelOf(20.4));
        QTest::mouseDClick(view->plot, Qt::LeftButton, Qt::NoModifier, pixelOf(20.4));
        QCOMPARE(view->draggedCut, 2);
        QVERIFY(view->cutDragging);
        QTest::mouseRelease(view->plot, Qt::LeftButton, Qt::NoModifier, pixelOf(20.4));
        QCOMPARE(view->cut1Index, 50);
        QCOMPARE(view->cut2Index, 20);
        QVERIFY(!view->cutDragging);

        // The second press of a quick pair drags the line it grabbed.
        QTest::mouseClick(view->plot, Qt::LeftButton, Qt::NoModifier, pixelOf(20.4));
        QTest::mouseDClick(view->plot, Qt::LeftButton, Qt::NoModifier, pixelOf(20.4));
        sendMouse(*view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 30.2);
        QTest::mouseRelease(view->plot, Qt::LeftButton, Qt::NoModifier, pixelOf(30.2));
        QCOMPARE(view->cut2Index, 30);
        QCOMPARE(view->cut1Index, 50);
    }

    void rightDragThatZoomedPlacesNoCut()
    {
        auto view = load(steadyRecording(1, 0, 200));
        showWindow(*view, 0, 100, 2);
        view->placeCut(2, 20);
        sendMouse(*view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 40);
        QVERIFY(view->rightButtonHeld);
        view->wheelZoomed = true;  // what the wheel does while the right button is held
        sendMouse(*view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 40);
        QCOMPARE(view->cut2Index, 20);
        QVERIFY(!view->rightButtonHeld);

        sendMouse(*view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 40);
        QVERIFY(!view->wheelZoomed);
        sendMouse(*view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 40);
        QCOMPARE(view->cut2Index, 40);
    }
};

QTEST_MAIN(TestCuts)
#include "test_cuts.moc"
