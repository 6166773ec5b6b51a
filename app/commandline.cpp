#include "app/commandline.h"

#include "comtrade/recordingexport.h"
#include "comtrade/standardloader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace VornaLumeto {
namespace {

constexpr int usageExitCode = 2;
constexpr int failureExitCode = 1;
const QString exportCsvOption = QStringLiteral("export-csv");

QString text(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::CommandLine", source);
}

QString programName(const QStringList& arguments)
{
    return QFileInfo(arguments.value(0, QStringLiteral("lumeto"))).fileName();
}

// Why a named file cannot be opened as a recording, or empty. Unlike a drop,
// the command line takes "cfg" in any letter case: other systems' recorders
// often write REC.CFG. A single-file recording (.cff) opens through the standard reader.
QString whyNotARecording(const QString& path)
{
    if (!path.endsWith(QLatin1String("cfg"), Qt::CaseInsensitive) && !isCombinedRecordingPath(path))
        return text("Не файл осциллограммы COMTRADE (*.cfg, *.cff)");
    const QFileInfo file(path);
    if (!file.exists())
        return text("Файл не найден");
    return file.isFile() ? QString() : text("Не файл");
}

// Whether an argument before "--" (after which every argument is a file) is such an option.
template <typename IsOption>
bool hasOptionBeforeFiles(const QStringList& arguments, IsOption isOption)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            return false;
        if (isOption(argument))
            return true;
    }
    return false;
}

} // namespace

QString notOpenedLine(const QString& path, const QString& reason)
{
    return text("не открыт: %1: %2").arg(QDir::toNativeSeparators(path), reason) + QLatin1Char('\n');
}

bool asksOnlyForText(const QStringList& arguments)
{
    static const QStringList textOptions{QStringLiteral("-h"), QStringLiteral("-?"), QStringLiteral("--help"),
                                         QStringLiteral("--help-all"), QStringLiteral("-v"),
                                         QStringLiteral("--version")};
    return hasOptionBeforeFiles(arguments, [](const QString& argument) { return textOptions.contains(argument); });
}

bool asksForCsvExport(const QStringList& arguments)
{
    const QString option = QStringLiteral("--") + exportCsvOption;
    return hasOptionBeforeFiles(arguments, [&option](const QString& argument) {
        return argument == option || argument.startsWith(option + QLatin1Char('='));
    });
}

int runCsvExport(const CommandLine& commandLine, QString& message)
{
    message = exportRecordingAsCsv(commandLine.recordings.value(0), commandLine.csvPath, commandLine.standard);
    return message.isEmpty() ? 0 : failureExitCode;
}

QString applicationVersion()
{
    return QStringLiteral(LUMETO_VERSION);
}

CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDirectory)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(text("Просмотр осциллограмм в формате COMTRADE (ASCII)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(text("файлы"),
                                 text("Файлы *.cfg и *.cff (по стандарту COMTRADE); каждый открывается в своей "
                                      "вкладке."),
                                 text("[файлы...]"));
    const QCommandLineOption exportCsv(exportCsvOption,
                                       text("Записать осциллограмму (один файл) в CSV-файл и выйти, не открывая окна."),
                                       text("файл.csv"));
    const QCommandLineOption standard(QStringLiteral("standard"),
                                      text("Файлы, которые программа не читает, читать по стандарту COMTRADE "
                                           "(редакции 1991, 1999, 2013), не спрашивая."));
    parser.addOption(exportCsv);
    parser.addOption(standard);

    CommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.error = programName(arguments) + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n')
                            + text("Справка: %1 --help").arg(programName(arguments)) + QLatin1Char('\n');
        commandLine.exitCode = usageExitCode;
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {  // Qt adds --help-all beside --help
        commandLine.output = parser.helpText();
    } else if (parser.isSet(version)) {
        commandLine.output = programName(arguments) + QLatin1Char(' ') + applicationVersion() + QLatin1Char('\n');
    } else {
        const QDir directory(workingDirectory);
        QStringList paths;
        for (const QString& name : parser.positionalArguments())
            paths.append(QDir::cleanPath(directory.absoluteFilePath(name)));
        commandLine.standard = parser.isSet(standard);
        if (parser.isSet(exportCsv)) {
            // An export names its one recording whatever its name is; the reader says what it is.
            commandLine.csvPath = QDir::cleanPath(directory.absoluteFilePath(parser.value(exportCsv)));
            commandLine.recordings = paths;
        } else {
            for (const QString& path : paths) {
                const QString reason = whyNotARecording(path);
                if (reason.isEmpty())
                    commandLine.recordings.append(path);
                else
                    commandLine.notOpened.append(notOpenedLine(path, reason));
            }
        }
        if (commandLine.exportsCsv() && commandLine.recordings.size() != 1) {
            commandLine.error = text("%1: для --export-csv нужен ровно один файл осциллограммы").arg(programName(arguments))
                                + QLatin1Char('\n');
            commandLine.exitCode = usageExitCode;
        }
    }
    return commandLine;
}

} // namespace VornaLumeto
