#include "support/diagramrecordings.h"
#include "support/standardrecordings.h"
#include "support/gui/modaldriver.h"
#include "support/gui/toplevelwindows.h"
#include "support/testfiles.h"

#include "app/comtradeview.h"
#include "app/openingprogress.h"
#include "app/mainwindow.h"
#include "app/resourcesinit.h"
#include "app/settingspaths.h"
#include "app/viewersettings.h"
#include "analysis/setupstore.h"
#include "comtrade/common/memoryestimate.h"
#include "comtrade/recordingexport.h"
#include "comtrade/recordingreader.h"
#include "recordinggenerator.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCodec>
#include <QTextDocument>
#include <QtTest>
#include <qcustomplot.h>

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

struct SeenBox {
    QString title;
    QString text;
    QString informativeText;  // as shown
    QStringList buttons;
    QString defaultButton;
    QString escapeButton;
    QString checkBoxText;     // empty without a check box
    bool checkBoxTicked = false;
};

QString renderedText(const QString& html);

// Remembers the next message box and presses its button with the text given,
// after ticking its check box when asked to.
void pressInNextBox(SeenBox& seen, const QString& button, bool tick = false)
{
    whenModalAppears([&seen, button, tick](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.informativeText = renderedText(box->informativeText());
        for (QAbstractButton* each : box->buttons())
            seen.buttons.append(each->text());
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        seen.escapeButton = box->escapeButton() ? box->escapeButton()->text() : QString();
        if (QCheckBox* checkBox = box->checkBox()) {
            seen.checkBoxText = checkBox->text();
            seen.checkBoxTicked = checkBox->isChecked();
            checkBox->setChecked(tick);
        }
        for (QAbstractButton* each : box->buttons()) {
            if (each->text() == button)
                each->click();
        }
    });
}

// A 1999 BINARY fault recording with Cyrillic names, beside the tests' other files.
QString writeLaterRevision(const QTemporaryDir& dir, const QString& name)
{
    LumetoTools::GeneratorOptions options;
    options.analogCount = 4;
    options.digitalCount = 2;
    options.samples = 400;
    const QString base = dir.filePath(name);
    LumetoTools::writeRecording(base, options, {1999, LumetoTools::DataFormat::Binary});
    return base + QStringLiteral(".cfg");
}

// The first paragraph of the boxes about a file the viewer's own reader refused.
QString fileParagraph(const QString& path)
{
    const QFileInfo file(path);
    return QStringLiteral("Файл «%1» в папке %2.").arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
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
        // What the viewer remembers goes to a test folder, and starts empty.
        QStandardPaths::setTestModeEnabled(true);
        VornaLumeto::openUserSettings()->clear();
    }

    void cleanupTestCase() { VornaLumeto::openUserSettings()->clear(); }

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

    // The box keeps its title, message and Ok, and offers the standard reader:
    // Ok lets the file go, the second button opens it in a tab like any other.
    void laterRevisionIsOfferedToTheStandardReaderInTheErrorBox()
    {
        comtrade_view tabs(nullptr);
        const QString path = writeLaterRevision(dir, QStringLiteral("later"));
        const QString okText = QMessageBox().addButton(QMessageBox::Ok)->text();
        SeenBox declined;
        pressInNextBox(declined, okText);
        QVERIFY(!tabs.openFile(path));
        QCOMPARE(declined.title, QStringLiteral("Ошибка"));
        QCOMPARE(declined.text, QStringLiteral("Ошибка в *.cfg файле, в строке №1: ПС Северная,2,1999"));
        QCOMPARE(declined.buttons, QStringList({okText, QStringLiteral("Открыть по стандарту")}));
        QCOMPARE(declined.defaultButton, okText);
        QCOMPARE(declined.escapeButton, okText);
        QCOMPARE(declined.informativeText,
                 fileParagraph(path) + QStringLiteral("\nФайл записан по редакции 1999 года, данные BINARY."));
        QCOMPARE(declined.checkBoxText, QStringLiteral("Открывать такие файлы по стандарту без вопроса"));
        QVERIFY(!declined.checkBoxTicked);
        QVERIFY(tabs.views.isEmpty());
        QVERIFY(tabs.findChildren<VornaLumeto::COMTRADE_read*>().isEmpty());  // nothing kept after Ok

        SeenBox taken;
        pressInNextBox(taken, QStringLiteral("Открыть по стандарту"));
        QVERIFY(tabs.openFile(path));
        QCOMPARE(tabs.tabWidget->tabText(0), QStringLiteral("later.cfg"));
        QCOMPARE(tabs.fileNames, QVector<QString>({path}));
        VornaLumeto::COMTRADE_read* view = tabs.views.first();
        QVERIFY(view->standard.fromStandardReader);
        QCOMPARE(view->channelLabels.first()->text(), QStringLiteral("U фазы А"));
        QVERIFY(!tabs.openFile(path));  // the duplicate rule, without a box
        QCOMPARE(tabs.tabWidget->count(), 1);
    }

    // Ticked and taken, the check box is remembered outside the working folder,
    // and the next such file opens without the question (a box left untaken
    // remembers nothing).
    void tickedCheckBoxOpensSuchFilesWithoutTheQuestion()
    {
        comtrade_view tabs(nullptr);
        SeenBox declined;
        pressInNextBox(declined, QMessageBox().addButton(QMessageBox::Ok)->text(), true);
        QVERIFY(!tabs.openFile(writeLaterRevision(dir, QStringLiteral("ticked1"))));
        QVERIFY(!VornaLumeto::opensStandardFilesUnasked());

        SeenBox taken;
        pressInNextBox(taken, QStringLiteral("Открыть по стандарту"), true);
        QVERIFY(tabs.openFile(writeLaterRevision(dir, QStringLiteral("ticked2"))));
        QVERIFY(VornaLumeto::opensStandardFilesUnasked());
        const QString settingsFile = VornaLumeto::openUserSettings()->fileName();
        QVERIFY2(settingsFile.contains(QStringLiteral(".qttest")) && !settingsFile.startsWith(dir.path()),
                 qPrintable(settingsFile));
        QVERIFY(QFile::exists(settingsFile));

        QString unexpected;
        whenModalAppears(
            [&unexpected](QWidget* modal) {
                unexpected = QString::fromLatin1(modal->metaObject()->className());
                qobject_cast<QDialog*>(modal)->reject();
            },
            200);
        QVERIFY(tabs.openFile(writeLaterRevision(dir, QStringLiteral("ticked3"))));
        QTest::qWait(300);  // the watch for a box ends
        QCOMPARE(unexpected, QString());
        QCOMPARE(tabs.tabWidget->count(), 2);
        VornaLumeto::setOpensStandardFilesUnasked(false);
    }

    // A recording whose view needs more memory than the system has is not built:
    // a box says so and offers the recording as CSV instead (160 channels of
    // 600,000 samples once took 6.1 GB and the viewer was killed).
    void viewBeyondTheMemoryAvailableIsRefusedWithCsvOffered()
    {
        comtrade_view tabs(nullptr);
        const qint64 available = VornaLumeto::availableMemoryBytes();
        QVERIFY(available > 0);
        VornaLumeto::Recording huge;
        huge.analogCount = 255;
        huge.timeAxis = QVector<double>(int(available / VornaLumeto::displayMemoryBytes(1, 255, 0)) + 1000);
        SeenBox seen;
        pressInNextBox(seen, QMessageBox().addButton(QMessageBox::Cancel)->text());
        QVERIFY(!tabs.fitsInMemory(dir.filePath("huge.cfg"), huge));
        QCOMPARE(seen.title, QStringLiteral("Не хватает памяти"));
        QVERIFY2(seen.text.startsWith(QStringLiteral("Чтобы показать осциллограмму, нужно около ")), qPrintable(seen.text));
        QVERIFY2(seen.text.contains(QStringLiteral(" ГБ памяти, а свободно ")), qPrintable(seen.text));
        QVERIFY(seen.buttons.contains(QStringLiteral("Экспорт в CSV…")));
        QCOMPARE(seen.escapeButton, seen.defaultButton);
        QVERIFY(seen.informativeText.startsWith(fileParagraph(dir.filePath("huge.cfg"))));

        huge.timeAxis = QVector<double>(1000);
        QVERIFY(tabs.fitsInMemory(dir.filePath("huge.cfg"), huge));  // no box
    }

    // What the progress window reads and builds on the other thread is what a
    // reading without it gives.
    void progressWindowReadsAndBuildsAsWithoutIt()
    {
        QWidget window;
        const QString path = writeLaterRevision(dir, QStringLiteral("progress"));
        VornaLumeto::OpeningProgress progress(&window, path);
        VornaLumeto::RecordingReading reading = progress.read(VornaLumeto::StandardReading::WhenRefused);
        QVERIFY(reading.readByStandardAfterRefusal());
        const VornaLumeto::RecordingReading alone = VornaLumeto::readRecording(path, VornaLumeto::StandardReading::WhenRefused);
        QCOMPARE(reading.recording.analogValues, alone.recording.analogValues);
        QCOMPARE(reading.recording.channelFrequency, alone.recording.channelFrequency);
        VornaLumeto::COMTRADE_read view(nullptr);
        QVERIFY(progress.build(view, std::move(reading.recording)));
        QCOMPARE(view.waveGraphs.size(), 4);
        QCOMPARE(view.waveGraphs.first()->data()->size(), 400);
    }

    // A broken data line that the standard reader cannot read either: the box as
    // ever, its explanation followed by the standard reader's own reason.
    void brokenLineNeitherReaderReadsKeepsTheBoxAndAddsTheStandardReason()
    {
        comtrade_view tabs(nullptr);
        const QString path = recordingPath("broken");
        writeFile(dir, "broken.dat", "1,0,1\n2,1000,x2\n3,2000,3\n4,3000,4\n5,4000,5\n");
        SeenBox seen;
        pressInNextBox(seen, QMessageBox().addButton(QMessageBox::Ok)->text());
        QVERIFY(!tabs.openFile(path));
        QCOMPARE(seen.text, QStringLiteral("Ошибка в *.dat файле, в строке №2: 2,1000,x2"));
        QCOMPARE(seen.buttons.size(), 1);
        QVERIFY2(seen.informativeText.startsWith(fileParagraph(path) + QStringLiteral("\nПоле 3 (аналоговый канал 1)")),
                 qPrintable(seen.informativeText));
        QVERIFY(seen.checkBoxText.isEmpty());
        QVERIFY2(seen.informativeText.contains(
                     QStringLiteral("По стандарту COMTRADE файл тоже не читается: Ошибка в файле «broken.dat», в строке №2")),
                 qPrintable(seen.informativeText));
        QVERIFY(tabs.views.isEmpty());
    }

    // --standard: what the viewer's own reader refuses opens without a question; a
    // file with fewer samples than its configuration announces warns once its tab is there.
    void standardWithoutAskingOpensAndWarnsOfWhatIsLeftOut()
    {
        comtrade_view tabs(nullptr);
        const QString path = writeLaterRevision(dir, QStringLiteral("short"));
        QFile data(dir.filePath("short.dat"));
        QVERIFY(data.open(QIODevice::ReadWrite));
        QVERIFY(data.resize(data.size() / 2));
        data.close();
        SeenBox seen;
        whenModalAppears([&seen, &tabs](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            seen.title = box->windowTitle();
            seen.text = box->text();
            QCOMPARE(tabs.tabWidget->count(), 1);  // the tab is open behind the warning
            box->accept();
        });
        QCOMPARE(tabs.openNamedFile(path, true), QString());
        QCOMPARE(seen.title, QStringLiteral("Предупреждение"));
        QCOMPARE(seen.text, QStringLiteral("Отсчётов в файле данных: 200 из 400, объявленных в конфигурации."));
        QCOMPARE(tabs.tabWidget->tabText(0), QStringLiteral("short.cfg"));
    }

    void droppedCffOpensThroughTheStandardReader()
    {
        VornaLumeto::MainWindow window(0, nullptr);
        const QString cff = writeStandardRecording(dir, QStringLiteral("single"), sineAtRates({{1000, 200}}, 100),
                                                   {2013, LumetoTools::DataFormat::Float32, true, "UTF-8"});
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(cff), QUrl::fromLocalFile(dir.filePath("single.cfx"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        comtrade_view* tabs = window.recordingTabs;
        QCOMPARE(tabs->tabWidget->count(), 1);
        QCOMPARE(tabs->tabWidget->tabText(0), QStringLiteral("single.cff"));
        QCOMPARE(tabs->views.first()->stationName, QStringLiteral("ПС Речная"));
        QCOMPARE(tabs->views.first()->standard.revisionYear, 2013);
    }

    // The loaded recording, written as the command line's export writes it.
    void tabTitleMenuExportsTheRecordingAsCsv()
    {
        comtrade_view tabs(nullptr);
        tabs.resize(800, 600);
        const QString path = recordingPath("tocsv");
        QVERIFY(tabs.openFile(path));
        QTabBar* bar = tabs.tabWidget->tabBar();
        emit bar->customContextMenuRequested(bar->tabRect(0).center());
        QVERIFY(tabs.tabMenu->isVisible());
        QCOMPARE(tabs.tabMenu->actions(), QList<QAction*>({tabs.exportCsvAction, tabs.faultAnalysisAction}));
        QCOMPARE(tabs.exportCsvAction->text(), QStringLiteral("Экспорт в CSV…"));
        tabs.tabMenu->hide();

        const QString chosen = dir.filePath("chosen.csv");
        QString proposed;
        whenModalAppears([&proposed, chosen](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            proposed = dialog->selectedFiles().value(0);
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        const QString expected = dir.filePath("expected.csv");
        QCOMPARE(VornaLumeto::exportRecordingAsCsv(path, expected, false), QString());
        QFile::remove(path);  // the tab's model is written, the file is not read again
        tabs.exportCsvAction->trigger();
        QCOMPARE(proposed, dir.filePath("tocsv.csv"));

        QFile written(chosen);
        QFile reference(expected);
        QVERIFY(written.open(QIODevice::ReadOnly) && reference.open(QIODevice::ReadOnly));
        QVERIFY(written.size() > 0);
        QCOMPARE(written.readAll(), reference.readAll());
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
