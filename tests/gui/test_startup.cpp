#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"

#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

using VornaLumeto::CommandLine;
using VornaLumeto::parseCommandLine;

namespace {

LumetoTest::TestRecording smallRecording()
{
    LumetoTest::TestRecording recording;
    recording.analog = {{"Ua", "kV", 0.1, {1, 2, 3, 4, 5}}};
    return recording;
}

QString cancelButtonText()
{
    QMessageBox box(QMessageBox::Critical, QString(), QString(), QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        VornaLumeto::initResources();
        QDir::setCurrent(dir.path());
    }

    void recordingsKeepTheirOrderAndBecomeAbsolute()
    {
        const CommandLine commandLine = parseCommandLine(
            {"lumeto", "b.cfg", "../up/a.cfg", "/abs/c.cfg", "--", "-dash.cfg"}, QStringLiteral("/work/dir"));
        QVERIFY(commandLine.startsViewer());
        QCOMPARE(commandLine.recordings,
                 QStringList({"/work/dir/b.cfg", "/work/up/a.cfg", "/abs/c.cfg", "/work/dir/-dash.cfg"}));
    }

    void helpVersionAndUnknownOptionsPrintInsteadOfStarting()
    {
        const CommandLine help = parseCommandLine({"lumeto", "--help", "a.cfg"}, dir.path());
        QVERIFY(!help.startsViewer());
        QVERIFY(help.output.contains(QLatin1String("--version")));
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.recordings.isEmpty());

        const CommandLine version = parseCommandLine({"/usr/bin/lumeto", "--version"}, dir.path());
        QVERIFY(QRegularExpression(QStringLiteral("^lumeto [0-9]+(\\.[0-9]+)+\\n$")).match(version.output).hasMatch());
        QCOMPARE(version.exitCode, 0);

        const CommandLine unknown = parseCommandLine({"lumeto", "a.cfg", "--bogus"}, dir.path());
        QVERIFY(!unknown.startsViewer());
        QVERIFY(unknown.output.isEmpty());
        QVERIFY(unknown.error.contains(QLatin1String("bogus")));
        QVERIFY(unknown.exitCode != 0);
        QVERIFY(unknown.recordings.isEmpty());

        // Help and the version are answered before any display is needed; a file named
        // like an option after "--", or Qt's own options, are not such a request.
        QVERIFY(VornaLumeto::asksOnlyForText({"lumeto", "a.cfg", "--version"}));
        QVERIFY(VornaLumeto::asksOnlyForText({"lumeto", "-h"}));
        QVERIFY(!VornaLumeto::asksOnlyForText({"lumeto", "--", "--help"}));
        QVERIFY(!VornaLumeto::asksOnlyForText({"lumeto", "-reverse", "a.cfg"}));
        QVERIFY(!VornaLumeto::asksOnlyForText({"--help"}));
    }

    void commandLineRecordingsOpenInOrderWithOneErrorForTheMissingOne()
    {
        LumetoTest::writeAsciiRecording(dir, "second", smallRecording());
        LumetoTest::writeAsciiRecording(dir, "first", smallRecording());
        const CommandLine commandLine =
            parseCommandLine({"lumeto", "second.cfg", "missing.cfg", "first.cfg"}, QDir::currentPath());

        VornaLumeto::MainWindow window(0, nullptr);
        QStringList boxes;
        LumetoTest::whenModalAppears([&boxes](QWidget* modal) {
            boxes.append(qobject_cast<QMessageBox*>(modal)->text());
            qobject_cast<QDialog*>(modal)->accept();
        });
        for (const QString& path : commandLine.recordings)
            window.recordingTabs->openFile(path);

        QCOMPARE(boxes, QStringList({"Файл не открывается"}));
        QTabWidget* tabs = window.recordingTabs->tabWidget;
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("second.cfg"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("first.cfg"));
        QCOMPARE(window.recordingTabs->fileNames.first(), dir.filePath("second.cfg"));
    }

    void qtTranslationMakesStandardButtonsRussian()
    {
        QTranslator absent;
        QVERIFY(!VornaLumeto::installQtTranslation(absent, dir.path()));
        QCOMPARE(cancelButtonText(), QStringLiteral("Cancel"));

        QTranslator translator;
        QVERIFY(VornaLumeto::installQtTranslation(translator));
        QCOMPARE(cancelButtonText(), QStringLiteral("Отмена"));
        QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_MAIN(TestStartUp)
#include "test_startup.moc"
