// Fifty typical recordings open at once, each scrolled, zoomed and cut, then all
// closed. Under the sanitizer build LeakSanitizer checks at exit that closing
// released everything the tabs held.
#include "support/gui/modaldriver.h"
#include "support/testfiles.h"

#include "app/comtradeview.h"
#include "app/resourcesinit.h"
#include "recordinggenerator.h"
#include "view/comtraderead.h"

#include <qcustomplot.h>

#include <QMessageBox>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QtTest>

using VornaLumeto::COMTRADE_read;
using VornaLumeto::comtrade_view;

namespace {

constexpr int tabLimit = comtrade_view::maximumOpenRecordings;

// Closes the next modal widget and hands back its text, empty when it was no message box.
void takeNextMessage(QString& text)
{
    LumetoTest::whenModalAppears([&text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        text = box ? box->text() : QStringLiteral("not a message box: ") + modal->metaObject()->className();
        qobject_cast<QDialog*>(modal)->reject();
    });
}

QPoint plotPoint(const COMTRADE_read& view, double fractionOfWidth)
{
    const QRect area = view.axisRect->rect();
    return QPoint(area.left() + int(area.width() * fractionOfWidth), area.center().y());
}

// What a user does with a tab: zoom in, scroll, click both cuts, drag cut 1, step it, zoom out.
void useView(COMTRADE_read& view)
{
    view.zoomSlider->setValue(view.zoomSlider->maximum() / 4);
    view.horizontalScrollBar->setValue(view.horizontalScrollBar->maximum() / 2);
    view.verticalScrollBar->setValue(view.verticalScrollBar->maximum());
    view.plot->replot();
    QTest::mouseClick(view.plot, Qt::LeftButton, Qt::NoModifier, plotPoint(view, 0.5));
    QTest::mouseClick(view.plot, Qt::RightButton, Qt::NoModifier, plotPoint(view, 0.75));
    QTest::mousePress(view.plot, Qt::LeftButton, Qt::NoModifier, plotPoint(view, 0.5));
    QTest::mouseMove(view.plot, plotPoint(view, 0.6));
    QTest::mouseRelease(view.plot, Qt::LeftButton, Qt::NoModifier, plotPoint(view, 0.6));
    for (int step = 0; step < 5; ++step)
        view.slot_key_Right();
    view.slot_key_Left();
    view.verticalScrollBar->setValue(0);
    view.zoomSlider->setValue(view.zoomSlider->maximum());
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QStringList recordings;

private slots:
    void initTestCase()
    {
        VornaLumeto::initResources();
        QVERIFY(dir.isValid());
        QDir::setCurrent(dir.path());
        QDir().mkpath(QStringLiteral("files/lumeto"));
        for (int i = 0; i < tabLimit + 1; ++i) {
            LumetoTools::GeneratorOptions options;
            options.seed = unsigned(i + 1);
            const QString base = dir.filePath(QStringLiteral("recording%1").arg(i, 2, 10, QLatin1Char('0')));
            QVERIFY(LumetoTools::writeRecording(base, options));
            recordings << base + QStringLiteral(".cfg");
        }
    }

    void fiftyTabsOpenWorkAndClose()
    {
        comtrade_view tabs(nullptr);
        tabs.resize(1280, 900);
        tabs.show();
        tabs.setVectorDiagramMode(true);

        for (int i = 0; i < tabLimit; ++i) {
            if (i == tabLimit / 2) {
                checkBrokenFileLeavesTabsAlone(tabs);
                if (QTest::currentTestFailed())
                    return;
                tabs.setFrequencyDiagramMode(true);
            }
            QVERIFY2(tabs.openFile(recordings.at(i)), qPrintable(recordings.at(i)));
        }
        QCOMPARE(tabs.tabWidget->count(), tabLimit);

        // The limit is checked before the file dialog: its box is the first modal
        // widget, and no directory is remembered because no dialog ran.
        QString message;
        takeNextMessage(message);
        QVERIFY(!tabs.openFile(QString()));
        QCOMPARE(message, QStringLiteral("Открыто максимальное количество осциллограмм"));
        QVERIFY(!QFile::exists(QStringLiteral("files/lumeto/last_directory.bin")));
        takeNextMessage(message);
        QVERIFY(!tabs.openFile(recordings.last()));
        QCOMPARE(message, QStringLiteral("Открыто максимальное количество осциллограмм"));
        QCOMPARE(tabs.views.size(), tabLimit);

        for (int i = 0; i < tabLimit; ++i) {
            tabs.tabWidget->setCurrentIndex(i);
            COMTRADE_read& view = *tabs.views.at(i);
            useView(view);
            QVERIFY(view.cut1Index > 0);
            QVERIFY(view.cut1Index >= view.firstVisibleSample && view.cut1Index <= view.lastVisibleSample);
        }
        QTest::qWait(150);  // let every view's replot timer fire once

        // Half through the tab's close button, the rest as the main window does at exit.
        while (tabs.views.size() > tabLimit / 2)
            tabs.slot_close_tab(0);
        tabs.closeAllTabs();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(tabs.views.isEmpty());
        QCOMPARE(tabs.tabWidget->count(), 0);
        QVERIFY(tabs.findChildren<COMTRADE_read*>().isEmpty());
    }

private:
    // A file that fails to load shows its message and leaves the open tabs as they were.
    void checkBrokenFileLeavesTabsAlone(comtrade_view& tabs)
    {
        const QString broken = LumetoTest::writeFile(dir, QStringLiteral("broken.cfg"), QByteArray("Station,1\n"));
        const int open = tabs.views.size();
        const int current = tabs.tabWidget->currentIndex();
        QString message;
        takeNextMessage(message);
        QVERIFY(!tabs.openFile(broken));
        QCOMPARE(message, QStringLiteral("Ошибка в *.cfg файле, в строке №2: "));
        QCOMPARE(tabs.views.size(), open);
        QCOMPARE(tabs.tabWidget->count(), open);
        QCOMPARE(tabs.tabWidget->currentIndex(), current);
        QCOMPARE(tabs.findChildren<COMTRADE_read*>().size(), open);
    }
};

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
