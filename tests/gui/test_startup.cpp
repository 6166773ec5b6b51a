#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"
#include "support/testfiles.h"

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
        const QString root = dir.filePath(QStringLiteral("order"));
        for (const QString& file : {"work/dir/b.cfg", "work/up/a.cfg", "abs/c.cfg", "work/dir/-dash.cfg"}) {
            QVERIFY(QDir(root).mkpath(QFileInfo(file).path()));
            LumetoTest::writeFile(dir, QStringLiteral("order/") + file, QByteArray());
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
        const CommandLine commandLine =
            parseCommandLine({"lumeto", "x.txt", "REC.CFG", "absent.cfg", "folder.cfg"}, dir.path());

        QVERIFY(commandLine.startsViewer());
        QCOMPARE(commandLine.recordings, QStringList({dir.filePath("REC.CFG")}));
        QCOMPARE(commandLine.notOpened,
                 QStringList({"не открыт: " + dir.filePath("x.txt") + ": Не файл конфигурации COMTRADE (*.cfg)\n",
                              "не открыт: " + dir.filePath("absent.cfg") + ": Файл не найден\n",
                              "не открыт: " + dir.filePath("folder.cfg") + ": Не файл\n"}));

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
        QVERIFY(!VornaLumeto::asksOnlyForText({"--help"}));
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
