#include "app/commandline.h"
#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/notopenedbox.h"
#include "app/processmemory.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Prints help, the version or what is wrong with the arguments; false when the viewer is to start.
bool answeredOnTheCommandLine(const VornaLumeto::CommandLine& commandLine)
{
    if (commandLine.startsViewer())
        return false;
    QTextStream(stdout) << commandLine.output;
    QTextStream(stderr) << commandLine.error;
    return true;
}

VornaLumeto::CommandLine parsedCommandLine()
{
    return VornaLumeto::parseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
}

// Writes the fault reports' JSON to standard output as the bytes it is (UTF-8).
int reportFaults(const VornaLumeto::CommandLine& commandLine)
{
    VornaLumeto::keepFreedMemory();
    QByteArray json;
    QString errors;
    const int exitCode = VornaLumeto::runFaultReport(commandLine, json, errors);
    QFile output;
    if (!output.open(stdout, QIODevice::WriteOnly) || output.write(json) != json.size() || !output.flush())
        return 1;
    QTextStream(stderr) << errors;
    return exitCode;
}

// Help, the version, a CSV export and fault reports need no window, so they are answered without a display.
int answerWithoutWindow(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTranslator qtTranslator;
    VornaLumeto::installQtTranslation(qtTranslator);
    const VornaLumeto::CommandLine commandLine = parsedCommandLine();
    if (!commandLine.error.isEmpty() || (!commandLine.exportsCsv() && !commandLine.faultReport)) {
        answeredOnTheCommandLine(commandLine);
        return commandLine.exitCode;
    }
    if (commandLine.faultReport)
        return reportFaults(commandLine);
    QString message;
    const int exitCode = VornaLumeto::runCsvExport(commandLine, message);
    if (!message.isEmpty())
        QTextStream(stderr) << message << '\n';
    return exitCode;
}

// Opens the recordings named on the command line and says on standard error
// why any name was not opened; returns those lines.
QStringList openNamedRecordings(VornaLumeto::comtrade_view& tabs, const VornaLumeto::CommandLine& commandLine)
{
    QTextStream errors(stderr);
    QStringList lines = commandLine.notOpened;
    for (const QString& line : lines)
        errors << line;
    errors.flush();
    for (const QString& path : commandLine.recordings) {
        const QString reason = tabs.openNamedFile(path, commandLine.standard);
        if (reason.isEmpty())
            continue;
        lines.append(VornaLumeto::notOpenedLine(path, reason));
        errors << lines.last() << Qt::flush;
    }
    return lines;
}

} // namespace

int main(int argc, char* argv[])
{
    // Reports and exports read recordings too, one after another.
    VornaLumeto::setUpProcessMemory();
    const QStringList arguments = argumentsOf(argc, argv);
    if (VornaLumeto::asksOnlyForText(arguments) || VornaLumeto::asksForCsvExport(arguments)
        || VornaLumeto::asksForFaultReport(arguments))
        return answerWithoutWindow(argc, argv);

    QApplication application(argc, argv);
    QTranslator qtTranslator;
    VornaLumeto::installQtTranslation(qtTranslator);

    // The application has taken its own options (-style and the like) by now.
    const VornaLumeto::CommandLine commandLine = parsedCommandLine();
    if (answeredOnTheCommandLine(commandLine))
        return commandLine.exitCode;

    VornaLumeto::initResources();
    VornaLumeto::applyStyleSheet(application);

    VornaLumeto::MainWindow window(0, nullptr);
    window.setMinimumSize(840, 630);
    window.show();
    const QStringList notOpened = openNamedRecordings(*window.recordingTabs, commandLine);
    if (!notOpened.isEmpty() && !VornaLumeto::standardErrorIsTerminal())
        QTimer::singleShot(0, &window, [&window, notOpened] { VornaLumeto::showNotOpenedNames(&window, notOpened); });
    return application.exec();
}
