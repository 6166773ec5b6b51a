#include "app/commandline.h"

#include "app/version.h"

#include "comtrade/common/recordingpath.h"
#include "comtrade/recordingexport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace VornaLumeto {
namespace {

constexpr int usageExitCode = 2;
constexpr int failureExitCode = 1;

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
    if (recordingPathKind(path, LetterCase::Any) == RecordingPathKind::Other)
        return text("Не файл осциллограммы COMTRADE (*.cfg, *.cff)");
    const QFileInfo file(path);
    if (!file.exists())
        return text("Файл не найден");
    return file.isFile() ? QString() : text("Не файл");
}

// The viewer's options, for the checks made before the application object
// exists and for the whole parse after it.
class ViewerOptions {
public:
    ViewerOptions()
        : help(parser.addHelpOption()),
          version(parser.addVersionOption()),
          exportCsv(QStringLiteral("export-csv"),
                    text("Записать осциллограмму (один файл) в CSV-файл и выйти, не открывая окна."),
                    text("файл.csv")),
          standard(QStringLiteral("standard"),
                   text("Файлы, которые программа не читает, читать по стандарту COMTRADE "
                        "(редакции 1991, 1999, 2013), не спрашивая."))
    {
        parser.setApplicationDescription(text("Просмотр осциллограмм в формате COMTRADE (редакции 1991, 1999, 2013).\n"
                                              "Анализ аварии (векторы, симметричные составляющие, мощность, сопротивления "
                                              "петель, годограф R-X): Ctrl+Shift+A или меню заголовка вкладки."));
        parser.addPositionalArgument(text("файлы"),
                                     text("Файлы *.cfg и *.cff (по стандарту COMTRADE); каждый открывается в своей "
                                          "вкладке."),
                                     text("[файлы...]"));
        parser.addOption(exportCsv);
        parser.addOption(standard);
    }

    // Before the application has taken its own options (-style, -reverse ...):
    // those are words after one dash, not runs of one-letter options, and do
    // not keep the options the viewer knows from being seen.
    explicit ViewerOptions(const QStringList& rawArguments) : ViewerOptions()
    {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.parse(rawArguments);
    }

    // Qt adds --help-all beside --help.
    bool asksForHelp() const { return parser.isSet(help) || parser.isSet(QStringLiteral("help-all")); }

    QCommandLineParser parser;
    const QCommandLineOption help;
    const QCommandLineOption version;
    const QCommandLineOption exportCsv;
    const QCommandLineOption standard;
};

} // namespace

QString notOpenedLine(const QString& path, const QString& reason)
{
    return text("не открыт: %1: %2").arg(QDir::toNativeSeparators(path), reason) + QLatin1Char('\n');
}

bool asksOnlyForText(const QStringList& arguments)
{
    const ViewerOptions options(arguments);
    return options.asksForHelp() || options.parser.isSet(options.version);
}

bool asksForCsvExport(const QStringList& arguments)
{
    const ViewerOptions options(arguments);
    return options.parser.isSet(options.exportCsv);
}

int runCsvExport(const CommandLine& commandLine, QString& message)
{
    message = exportRecordingAsCsv(commandLine.recordings.value(0), commandLine.csvPath, commandLine.standard);
    return message.isEmpty() ? 0 : failureExitCode;
}

CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDirectory)
{
    ViewerOptions options;
    QCommandLineParser& parser = options.parser;
    CommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.error = programName(arguments) + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n')
                            + text("Справка: %1 --help").arg(programName(arguments)) + QLatin1Char('\n');
        commandLine.exitCode = usageExitCode;
    } else if (options.asksForHelp()) {
        commandLine.output = parser.helpText();
    } else if (parser.isSet(options.version)) {
        commandLine.output = programName(arguments) + QLatin1Char(' ') + applicationVersion() + QLatin1Char('\n');
    } else {
        const QDir directory(workingDirectory);
        QStringList paths;
        for (const QString& name : parser.positionalArguments())
            paths.append(QDir::cleanPath(directory.absoluteFilePath(name)));
        commandLine.standard = parser.isSet(options.standard);
        if (parser.isSet(options.exportCsv)) {
            // An export names its one recording whatever its name is; the reader says what it is.
            commandLine.csvPath = QDir::cleanPath(directory.absoluteFilePath(parser.value(options.exportCsv)));
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
