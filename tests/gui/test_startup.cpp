#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"
#include "support/standardrecordings.h"
#include "support/testfiles.h"

#include "linefaultrecording.h"

#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/notopenedbox.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

#include <cmath>

using VornaLumeto::CommandLine;
using VornaLumeto::parseCommandLine;

namespace {

LumetoTest::TestRecording smallRecording()
{
    LumetoTest::TestRecording recording;
    recording.analog = {{"Ua", "kV", 0.1, {1, 2, 3, 4, 5}}};
    return recording;
}

// The program started with no display at all, in the directory, until it ends.
void runWithoutDisplay(QProcess& program, const QString& directory, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(directory);
    program.start(QStringLiteral(LUMETO_EXECUTABLE), arguments);
    QVERIFY(program.waitForFinished(60000));
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
        const QString root = dir.filePath(QStringLiteral("order"));
        for (const char* file : {"work/dir/b.cfg", "work/up/a.cfg", "abs/c.cfg", "work/dir/-dash.cfg"}) {
            QVERIFY(QDir(root).mkpath(QFileInfo(file).path()));
            LumetoTest::writeFile(dir, QStringLiteral("order/") + QLatin1String(file), QByteArray());
        }
        const CommandLine commandLine = parseCommandLine(
            {"lumeto", "b.cfg", "../up/a.cfg", root + "/abs/c.cfg", "--", "-dash.cfg"}, root + "/work/dir");
        QVERIFY(commandLine.startsViewer());
        QCOMPARE(commandLine.recordings, QStringList({root + "/work/dir/b.cfg", root + "/work/up/a.cfg",
                                                      root + "/abs/c.cfg", root + "/work/dir/-dash.cfg"}));
        QVERIFY(commandLine.notOpened.isEmpty());
    }

    // The drop rule takes a lower-case "cfg" only; recorders on other systems write REC.CFG.
    void commandLineOpensUpperCaseCfgAndSaysWhyOtherNamesAreNotOpened()
    {
        const QString lowerCase = LumetoTest::writeAsciiRecording(dir, "upper", smallRecording());
        QVERIFY(QFile::rename(lowerCase, dir.filePath("REC.CFG")));
        QVERIFY(QFile::rename(dir.filePath("upper.dat"), dir.filePath("REC.DAT")));
        QVERIFY(QDir(dir.path()).mkpath("folder.cfg"));
        LumetoTest::writeFile(dir, "ONE.CFF", "a single-file recording goes to the standard reader");
        const CommandLine commandLine =
            parseCommandLine({"lumeto", "x.txt", "REC.CFG", "absent.cfg", "folder.cfg", "ONE.CFF"}, dir.path());

        QVERIFY(commandLine.startsViewer());
        QCOMPARE(commandLine.recordings, QStringList({dir.filePath("REC.CFG"), dir.filePath("ONE.CFF")}));
        QCOMPARE(commandLine.notOpened,
                 QStringList({"не открыт: " + dir.filePath("x.txt") + ": Не файл осциллограммы COMTRADE (*.cfg, *.cff)\n",
                              "не открыт: " + dir.filePath("absent.cfg") + ": Файл не найден\n",
                              "не открыт: " + dir.filePath("folder.cfg") + ": Не файл\n"}));

        // Started from a file manager, whose standard error nobody sees, the same lines come in one box.
        QString boxTitle;
        QString boxText;
        LumetoTest::whenModalAppears([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            boxTitle = box->windowTitle();
            boxText = box->text();
            box->accept();
        });
        VornaLumeto::showNotOpenedNames(nullptr, commandLine.notOpened);
        QCOMPARE(boxTitle, QStringLiteral("Предупреждение"));
        QCOMPARE(boxText, "Не все файлы, названные при запуске, открыты:\n\n" + commandLine.notOpened.join(QString()).trimmed());

        VornaLumeto::comtrade_view tabs(nullptr);
        QCOMPARE(tabs.openNamedFile(commandLine.recordings.first()), QString());
        QCOMPARE(tabs.tabWidget->tabText(0), QStringLiteral("REC.CFG"));
        QCOMPARE(tabs.openNamedFile(commandLine.recordings.first()), QStringLiteral("Уже открыт"));
        QCOMPARE(tabs.tabWidget->count(), 1);
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
        QVERIFY(VornaLumeto::asksOnlyForText({"lumeto", "-style", "fusion", "-v"}));
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
        QProcess program;
        runWithoutDisplay(program, dir.path(), {"--export-csv", "export.csv", "export.cfg"});
        QCOMPARE(program.exitCode(), 0);
        QFile csv(dir.filePath(QStringLiteral("export.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count('\n'), 6);  // header and five samples

        runWithoutDisplay(program, dir.path(), {"--standard", "--export-csv", "x.csv", "missing.cff"});
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()).trimmed(),
                 QStringLiteral("Ошибка в файле «missing.cff»: файл не открывается"));
    }

    void faultReportTakesRecordingsAsNamedAndALine()
    {
        const CommandLine commandLine = parseCommandLine(
            {"lumeto", "--fault-report", "--line", "0.12, 0.4,0.3,1.2,80", "a.cfg", "sub/b.cff", "c.txt"},
            QStringLiteral("/w"));
        QVERIFY(commandLine.faultReport && !commandLine.startsViewer() && commandLine.error.isEmpty());
        QCOMPARE(commandLine.givenNames, QStringList({"a.cfg", "sub/b.cff", "c.txt"}));
        QCOMPARE(commandLine.recordings, QStringList({"/w/a.cfg", "/w/sub/b.cff", "/w/c.txt"}));
        QCOMPARE(commandLine.line.x1, 0.4);
        QCOMPARE(commandLine.line.lengthKm, 80.0);
        QVERIFY(VornaLumeto::asksForFaultReport({"lumeto", "--fault-report", "a.cfg"}));
        QVERIFY(VornaLumeto::asksForFaultReport({"lumeto", "--line", "1,1,1,1,1", "a.cfg"}));
        QVERIFY(!VornaLumeto::asksForFaultReport({"lumeto", "--", "--fault-report"}));
        const QString help = parseCommandLine({"lumeto", "--help"}, dir.path()).output;
        QVERIFY(help.contains(QLatin1String("--fault-report")) && help.contains(QLatin1String("--line")));
    }

    void faultReportUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no recording") << QStringList{"--fault-report"};
        QTest::newRow("four line values") << QStringList{"--fault-report", "--line", "0.1,0.4,0.3,1.2", "a.cfg"};
        QTest::newRow("line of no length") << QStringList{"--fault-report", "--line", "0.1,0.4,0.3,1.2,0", "a.cfg"};
        QTest::newRow("negative reactance") << QStringList{"--fault-report", "--line", "0.1,-0.4,0.3,1.2,9", "a.cfg"};
        QTest::newRow("not a number") << QStringList{"--fault-report", "--line", "0.1,x,0.3,1.2,9", "a.cfg"};
        QTest::newRow("line alone") << QStringList{"--line", "0.1,0.4,0.3,1.2,80", "a.cfg"};
        QTest::newRow("with an export") << QStringList{"--fault-report", "--export-csv", "a.csv", "a.cfg"};
    }
    void faultReportUsageErrors()
    {
        QFETCH(QStringList, arguments);
        const CommandLine commandLine = parseCommandLine(QStringList{"lumeto"} + arguments, dir.path());
        QVERIFY(!commandLine.startsViewer());
        QVERIFY(commandLine.error.startsWith(QLatin1String("lumeto: ")));
        QCOMPARE(commandLine.exitCode, 2);
    }

    // Reports run where there is no display at all: one JSON array, an object
    // per recording in the order named, the unreadable one as an error with its
    // line on standard error and exit 1; exit 0 when every recording is read.
    void faultReportRunsWithoutADisplay()
    {
        LumetoTools::LineFaultOptions options;
        options.fault = {LumetoTools::FaultKind::BG, 0.5, 0.0};
        LumetoTest::writeStandardRecording(dir, "bg", LumetoTools::generateLineFaultRecording(options));
        options.event = LumetoTools::LineEvent::LoadOnly;
        LumetoTest::writeStandardRecording(dir, "healthy", LumetoTools::generateLineFaultRecording(options));
        QProcess program;
        runWithoutDisplay(program, dir.path(),
                          {"--fault-report", "--line", "0.1,0.4,0.3,1.2,100", "healthy.cfg", "missing.cff", "bg.cfg"});
        QCOMPARE(program.exitCode(), 1);
        QJsonParseError parsing;
        const QJsonArray reports = QJsonDocument::fromJson(program.readAllStandardOutput(), &parsing).array();
        QCOMPARE(parsing.error, QJsonParseError::NoError);
        QCOMPARE(reports.size(), 3);
        QStringList files;
        for (const QJsonValue& report : reports)
            files.append(report[QStringLiteral("file")].toString());
        QCOMPARE(files, QStringList({"healthy.cfg", "missing.cff", "bg.cfg"}));
        QVERIFY(reports[0][QStringLiteral("feeders")][0][QStringLiteral("fault")].isNull());
        QCOMPARE(reports[1][QStringLiteral("error")].toString(),
                 QStringLiteral("Ошибка в файле «missing.cff»: файл не открывается"));
        QVERIFY(!reports[1].toObject().contains(QStringLiteral("feeders")));
        const QJsonObject fault = reports[2][QStringLiteral("feeders")][0][QStringLiteral("fault")].toObject();
        QCOMPARE(fault[QStringLiteral("type")].toString(), QStringLiteral("BG"));
        // Bolted halfway along the generator's line of 100 km.
        QVERIFY(std::fabs(fault[QStringLiteral("distance_km")][QStringLiteral("reactance")].toDouble() - 50.0) <= 0.5);
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
                 VornaLumeto::notOpenedLine(QStringLiteral("missing.cff"),
                                            QStringLiteral("Ошибка в файле «missing.cff»: файл не открывается")));

        runWithoutDisplay(program, dir.path(), {"--fault-report", "bg.cfg", "healthy.cfg"});
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QJsonDocument::fromJson(program.readAllStandardOutput()).array().size(), 2);
        QVERIFY(program.readAllStandardError().isEmpty());

        runWithoutDisplay(program, dir.path(), {"--fault-report", "--line", "1,2", "bg.cfg"});
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardOutput().isEmpty());
    }

    void commandLineRecordingsOpenInOrderWithOneErrorForTheBrokenOne()
    {
        LumetoTest::writeAsciiRecording(dir, "second", smallRecording());
        LumetoTest::writeAsciiRecording(dir, "first", smallRecording());
        LumetoTest::writeFile(dir, "broken.cfg", QByteArray());
        const CommandLine commandLine =
            parseCommandLine({"lumeto", "second.cfg", "broken.cfg", "first.cfg"}, QDir::currentPath());

        VornaLumeto::MainWindow window(0, nullptr);
        QStringList boxes;
        LumetoTest::whenModalAppears([&boxes](QWidget* modal) {
            boxes.append(qobject_cast<QMessageBox*>(modal)->text());
            qobject_cast<QDialog*>(modal)->accept();
        });
        QStringList reasons;
        for (const QString& path : commandLine.recordings)
            reasons.append(window.recordingTabs->openNamedFile(path));

        QCOMPARE(boxes, QStringList({"Файл *.cfg пуст"}));
        QCOMPARE(reasons, QStringList({QString(), "Файл *.cfg пуст", QString()}));
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
