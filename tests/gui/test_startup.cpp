#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"
#include "support/testfiles.h"

#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/notopenedbox.h"
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
