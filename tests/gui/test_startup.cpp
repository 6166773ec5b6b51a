#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"

#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"

#include <QMessageBox>
#include <QProcess>
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

    void csvExportTakesOneRecordingAndNoWindow()
    {
        const CommandLine commandLine =
            parseCommandLine({"lumeto", "--export-csv", "out/rec.csv", "--standard", "rec.cff"}, QStringLiteral("/w"));
        QVERIFY(commandLine.exportsCsv());
        QVERIFY(!commandLine.startsViewer());
        QVERIFY(commandLine.standard);
        QCOMPARE(commandLine.csvPath, QStringLiteral("/w/out/rec.csv"));
        QCOMPARE(commandLine.recordings, QStringList({"/w/rec.cff"}));
        QVERIFY(VornaLumeto::asksForCsvExport({"lumeto", "--export-csv=a.csv", "rec.cfg"}));
        QVERIFY(!VornaLumeto::asksForCsvExport({"lumeto", "--", "--export-csv", "rec.cfg"}));

        const CommandLine twoRecordings = parseCommandLine({"lumeto", "--export-csv", "a.csv", "x.cfg", "y.cfg"}, dir.path());
        QVERIFY(!twoRecordings.error.isEmpty());
        QCOMPARE(twoRecordings.exitCode, 2);

        const QString help = parseCommandLine({"lumeto", "--help"}, dir.path()).output;
        QVERIFY(help.contains(QLatin1String("--export-csv")));
        QVERIFY(help.contains(QLatin1String("--standard")));
    }

    // The export runs where there is no display at all: exit 0 and the file,
    // or exit 1 and the reason on standard error.
    void csvExportRunsWithoutADisplay()
    {
        LumetoTest::writeAsciiRecording(dir, "export", smallRecording());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(LUMETO_EXECUTABLE), {"--export-csv", "export.csv", "export.cfg"});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        QFile csv(dir.filePath(QStringLiteral("export.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count('\n'), 6);  // header and five samples

        program.start(QStringLiteral(LUMETO_EXECUTABLE), {"--standard", "--export-csv", "x.csv", "missing.cff"});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()).trimmed(),
                 QStringLiteral("Ошибка в файле «missing.cff»: файл не открывается"));
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
