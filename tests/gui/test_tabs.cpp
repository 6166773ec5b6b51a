#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"
#include "support/gui/toplevelwindows.h"
#include "support/testfiles.h"

#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/resourcesinit.h"
#include "app/settingspaths.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCodec>
#include <QTextDocument>
#include <QtTest>

using namespace LumetoTest;
using VornaLumeto::comtrade_view;

namespace {

TestRecording smallRecording()
{
    TestRecording recording;
    recording.analog = {{"Ua", "kV", 0.1, {1, 2, 3, 4, 5}}};
    return recording;
}

struct SeenModal {
    QString className;
    QString text;
};

// Closes the next modal widget and remembers what it was.
void recordNextModal(SeenModal& seen)
{
    whenModalAppears([&seen](QWidget* modal) {
        seen.className = QString::fromLatin1(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            seen.text = box->text();
        qobject_cast<QDialog*>(modal)->reject();
    });
}

// What a tooltip, or a label taking its text as rich text, shows.
QString renderedText(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

QString shownText(const QLabel* label)
{
    const bool rich = label->textFormat() == Qt::RichText
                      || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    return rich ? renderedText(label->text()) : label->text();
}

// Counts the labels under root that hold markup, and requires each of them to
// show it as written: plain text, one line high (the 200-pixel picture it
// names was not loaded).
void countPlainMarkupLabels(const QWidget* root, int& found)
{
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->text().contains(QLatin1Char('<')))
            continue;
        ++found;
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->text()));
        QVERIFY2(label->sizeHint().height() < 100, qPrintable(label->text()));
    }
}

} // namespace

class TestTabs : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString recordingPath(const QString& name) { return writeAsciiRecording(dir, name, smallRecording()); }

private slots:
    void initTestCase()
    {
        VornaLumeto::initResources();
        QDir::setCurrent(dir.path());
        QDir().mkpath(QStringLiteral("files/lumeto"));
    }

    void openingTheSameFileTwiceSwitchesToItsTab()
    {
        comtrade_view tabs(nullptr);
        const QString first = recordingPath("first");
        QVERIFY(tabs.openFile(first));
        QVERIFY(tabs.openFile(recordingPath("second")));
        QCOMPARE(tabs.tabWidget->currentIndex(), 1);
        QVERIFY(!tabs.openFile(first));
        QCOMPARE(tabs.tabWidget->count(), 2);
        QCOMPARE(tabs.tabWidget->currentIndex(), 0);
        QCOMPARE(tabs.tabWidget->tabText(0), QStringLiteral("first.cfg"));
        QCOMPARE(tabs.views.first()->objectName(), first);
        QCOMPARE(renderedText(tabs.tabWidget->tabToolTip(0)), first);
    }

    void brokenFileShowsItsMessageAndLeavesNoTab()
    {
        comtrade_view tabs(nullptr);
        const QString empty = writeFile(dir, "empty.cfg", QByteArray());
        SeenModal seen;
        recordNextModal(seen);
        QVERIFY(!tabs.openFile(empty));
        QCOMPARE(seen.className, QStringLiteral("QMessageBox"));
        QCOMPARE(seen.text, QStringLiteral("Файл *.cfg пуст"));
        QCOMPARE(tabs.tabWidget->count(), 0);
        QVERIFY(tabs.views.isEmpty());
        QVERIFY(tabs.fileNames.isEmpty());
    }

    void missingDataFileBoxSaysWhereItWasLookedFor()
    {
        comtrade_view tabs(nullptr);
        const QString path = recordingPath("<b>nodata");
        QVERIFY(QFile::remove(dir.filePath("<b>nodata.dat")));
        QString title;
        QStringList shown;  // the message, then the informative text, as the labels show them
        int buttons = 0;
        whenModalAppears([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            title = box->windowTitle();
            buttons = box->buttons().size();
            for (const QString& text : {box->text(), box->informativeText()}) {
                for (QLabel* label : box->findChildren<QLabel*>()) {
                    if (label->text() == text)
                        shown.append(shownText(label));
                }
            }
            box->accept();
        });
        QVERIFY(!tabs.openFile(path));
        QCOMPARE(title, QStringLiteral("Ошибка"));
        QCOMPARE(buttons, 1);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.first(), QStringLiteral("Не удалось открыть файл *.dat"));
        QVERIFY2(shown.last().contains(dir.filePath("<b>nodata.dat")), qPrintable(shown.last()));
    }

    void pathsNotEndingInLowerCaseCfgAreIgnoredSilently()
    {
        comtrade_view tabs(nullptr);
        QVERIFY(!tabs.openFile(dir.filePath("REC.CFG")));
        QVERIFY(!tabs.openFile(QStringLiteral("cf")));
        QVERIFY(tabs.views.isEmpty());
    }

    void theFiftyFirstRecordingIsRefusedBeforeAnyDialog()
    {
        comtrade_view tabs(nullptr);
        const QString path = recordingPath("many");
        for (int i = 0; i < 50; ++i) {
            const QString copy = dir.filePath(QStringLiteral("many%1.cfg").arg(i));
            QFile::copy(path, copy);
            QFile::copy(dir.filePath("many.dat"), dir.filePath(QStringLiteral("many%1.dat").arg(i)));
            QVERIFY(tabs.openFile(copy));
        }
        SeenModal seen;
        recordNextModal(seen);
        QVERIFY(!tabs.openFile(QString()));
        QCOMPARE(seen.className, QStringLiteral("QMessageBox"));
        QCOMPARE(seen.text, QStringLiteral("Открыто максимальное количество осциллограмм"));
        QCOMPARE(tabs.views.size(), 50);
        tabs.closeAllTabs();
        QVERIFY(tabs.views.isEmpty());
        QCOMPARE(tabs.tabWidget->count(), 0);
    }

    void fileDialogChoiceIsRememberedInWindows1251()
    {
        QFile::remove(VornaLumeto::lastDirectoryFile());
        comtrade_view tabs(nullptr);
        // Written in the locale's UTF-8, this folder would not be found on the next start.
        const QString folder = dir.filePath(QStringLiteral("Записи 2023"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = writeAsciiRecording(dir, QStringLiteral("Записи 2023/chosen"), smallRecording());
        whenModalAppears([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(tabs.openFile(QString()));

        QFile remembered(VornaLumeto::lastDirectoryFile());
        QVERIFY(remembered.open(QIODevice::ReadOnly));
        QCOMPARE(remembered.readAll(),
                 QTextCodec::codecForName("Windows-1251")->fromUnicode(QFileInfo(path).absolutePath() + '/'));

        QString startDirectory;
        whenModalAppears([&startDirectory](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            startDirectory = dialog->directory().absolutePath();
            dialog->reject();
        });
        QVERIFY(!tabs.openFile(QString()));
        QCOMPARE(startDirectory, QFileInfo(path).absolutePath());
        QCOMPARE(tabs.views.size(), 1);
    }

    void movedTabsKeepTheirRecordings()
    {
        comtrade_view tabs(nullptr);
        const QString a = recordingPath("a");
        const QString b = recordingPath("b");
        const QString c = recordingPath("c");
        for (const QString& path : {a, b, c})
            QVERIFY(tabs.openFile(path));
        tabs.tabWidget->tabBar()->moveTab(0, 2);  // b, c, a
        QCOMPARE(tabs.fileNames, QVector<QString>({b, c, a}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(tabs.views.at(i), tabs.tabWidget->widget(i));
        tabs.slot_close_tab(2);
        QCOMPARE(tabs.fileNames, QVector<QString>({b, c}));
        QVERIFY(tabs.openFile(a));  // no longer open: a new tab, not a switch
        QCOMPARE(tabs.tabWidget->count(), 3);
    }

    void ctrlWClosesTheCurrentTabAndNothingWithoutOne()
    {
        VornaLumeto::MainWindow window(0, nullptr);
        comtrade_view* tabs = window.recordingTabs;
        const QString a = recordingPath("w1");
        const QString b = recordingPath("w2");
        QVERIFY(tabs->openFile(a) && tabs->openFile(b));
        tabs->tabWidget->setCurrentIndex(0);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(tabs->fileNames, QVector<QString>({b}));
        QCOMPARE(tabs->views.size(), 1);
        QCOMPARE(tabs->tabWidget->tabText(0), QStringLiteral("w2.cfg"));
        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(tabs->tabWidget->count(), 0);
        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(tabs->views.isEmpty());
        QVERIFY(window.isVisible());
    }

    void droppedFilesOpenInListOrder()
    {
        VornaLumeto::MainWindow window(0, nullptr);
        const QList<QUrl> urls = {QUrl::fromLocalFile(recordingPath("d1")),
                                  QUrl::fromLocalFile(recordingPath("d2")),
                                  QUrl::fromLocalFile(recordingPath("d3"))};
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        comtrade_view* tabs = window.recordingTabs;
        QCOMPARE(tabs->tabWidget->count(), 3);
        QCOMPARE(tabs->tabWidget->tabText(0), QStringLiteral("d1.cfg"));
        QCOMPARE(tabs->tabWidget->tabText(2), QStringLiteral("d3.cfg"));
        QCOMPARE(tabs->tabWidget->currentIndex(), 2);
    }

    void dropPathsFromUrls()
    {
        using VornaLumeto::droppedPath;
        QCOMPARE(droppedPath(QUrl("file:///home/u/rec.cfg")), QStringLiteral("/home/u/rec.cfg"));
        QCOMPARE(droppedPath(QUrl("file:///C:/rec.cfg")), QStringLiteral("C:/rec.cfg"));
        QCOMPARE(droppedPath(QUrl("http://x/rec.cfg")), QStringLiteral("/rec.cfg"));
        QCOMPARE(droppedPath(QUrl("a:b")), QString());
    }

    void textFromTheRecordingIsShownAsWritten()
    {
        const QString picture = dir.filePath(QStringLiteral("picture.png"));
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        TestRecording recording;
        recording.stationName = QStringLiteral("<b>ПС</b><img src=\"%1\">").arg(picture);
        recording.analog = {{"<i>Ua</i> & Ub", "<u>kV</u>", 0.1, {1, 2, 3, 4, 5}},
                            {"Ic", "A", 1.0, {5, 4, 3, 2, 1}}};
        recording.digital = {{"<b>Пуск</b>", {0, 1, 0, 1, 0}}};
        comtrade_view tabs(nullptr);
        QVERIFY(tabs.openFile(writeAsciiRecording(dir, QStringLiteral("R&D"), recording)));
        VornaLumeto::COMTRADE_read* view = tabs.views.first();
        view->scaleSignals({0, 1});  // channel 1's scale note names channel 0

        int inView = 0;
        countPlainMarkupLabels(view, inView);
        QVERIFY(inView >= 4);  // name, unit, scale note, digital name

        const QWidgetList before = QApplication::topLevelWidgets();
        QVERIFY(tabs.showFileInfo());
        QPointer<QWidget> information = newTopLevelWindow(before);
        QVERIFY(information);
        int inInformation = 0;
        countPlainMarkupLabels(information, inInformation);
        QCOMPARE(inInformation, 1);  // the station name
        information->close();
        QTRY_VERIFY(!information);

        int inSignalsDialog = 0;
        whenModalAppears([&inSignalsDialog](QWidget* modal) {
            countPlainMarkupLabels(modal, inSignalsDialog);
            qobject_cast<QDialog*>(modal)->reject();
        });
        QVERIFY(tabs.showSignalsDialog(true, 0, true, true));
        QCOMPARE(inSignalsDialog, 2);

        // An "&" is shown, not taken for a shortcut mark.
        QCOMPARE(VornaLumeto::literalMenuText(QStringLiteral("&a&&")), QStringLiteral("&&a&&&&"));
        QCOMPARE(tabs.tabWidget->tabText(0), QStringLiteral("R&&D.cfg"));
        const QString menuText = QStringLiteral("<i>Ua</i> && Ub");
        QCOMPARE(view->scaleActions.at(1)->text(), menuText);
        QCOMPARE(view->vectorChannelActions.at(0)->text(), menuText);
        QCOMPARE(view->angleReferenceActions.at(0)->text(), menuText);
        QCOMPARE(view->frequencyChannelActions.at(0)->text(), menuText);
    }

    void diagramModesApplyToViewsOpenedLater()
    {
        comtrade_view tabs(nullptr);
        tabs.setVectorDiagramMode(true);
        tabs.setFrequencyDiagramMode(true);
        QVERIFY(tabs.openFile(recordingPath("modes")));
        QVERIFY(tabs.views.first()->vectorDiagramShown);
        QVERIFY(tabs.views.first()->frequencyDiagramShown);
        tabs.setVectorDiagramMode(false);
        QVERIFY(!tabs.views.first()->vectorDiagramShown);
    }
};

QTEST_MAIN(TestTabs)
#include "test_tabs.moc"
