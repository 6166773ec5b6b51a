#include "app/commandline.h"

#include "app/version.h"

#include "analysis/faultreportbatch.h"
#include "comtrade/common/recordingpath.h"
#include "comtrade/recordingexport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>

#include <cmath>
#include <optional>

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

// "R1,X1,R0,X0,KM": ohm per km and km, none negative, a length and a
// positive-sequence impedance; none when the text is not that.
std::optional<LineData> lineOf(const QString& value)
{
    const QStringList fields = value.split(QLatin1Char(','));
    if (fields.size() != 5)
        return std::nullopt;
    double numbers[5];
    for (int f = 0; f < 5; ++f) {
        bool ok = false;
        numbers[f] = QLocale::c().toDouble(fields.at(f).trimmed(), &ok);
        if (!ok || !std::isfinite(numbers[f]) || numbers[f] < 0.0)
            return std::nullopt;
    }
    const LineData line{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]};
    return line.isGiven() ? std::optional<LineData>(line) : std::nullopt;
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
                        "(редакции 1991, 1999, 2013), не спрашивая.")),
          faultReport(QStringLiteral("fault-report"),
                      text("Записать в стандартный вывод отчёт об аварии в каждой из осциллограмм (JSON, UTF-8) "
                           "и выйти, не открывая окна: по каждой найденной трёхфазной группе начало и отключение "
                           "короткого замыкания, его вид, петлю, её сопротивление, векторы и симметричные "
                           "составляющие, с --line и расстояние до места повреждения. Файлы читаются как с "
                           "--standard, все процессоры заняты; код выхода 0, когда прочитаны все, иначе 1.")),
          line(QStringLiteral("line"),
               text("Для --fault-report: данные линии, R1, X1, R0, X0 в Ом/км и длина в км через запятую "
                    "(0.12,0.4,0.3,1.2,80); из них коэффициент k0 петель фаза-земля и расстояние."),
               text("R1,X1,R0,X0,км"))
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
        parser.addOption(faultReport);
        parser.addOption(line);
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
    const QCommandLineOption faultReport;
    const QCommandLineOption line;
};

void refuseUsage(CommandLine& commandLine, const QString& message)
{
    commandLine.error = message + QLatin1Char('\n');
    commandLine.exitCode = usageExitCode;
}

// What is wrong with the arguments of an export or a fault report, if anything.
void checkCommandUsage(CommandLine& commandLine, const ViewerOptions& options, const QString& program)
{
    const QCommandLineParser& parser = options.parser;
    if (commandLine.exportsCsv() && commandLine.faultReport) {
        refuseUsage(commandLine, text("%1: --export-csv и --fault-report не задаются вместе").arg(program));
    } else if (commandLine.exportsCsv() && commandLine.recordings.size() != 1) {
        refuseUsage(commandLine, text("%1: для --export-csv нужен ровно один файл осциллограммы").arg(program));
    } else if (parser.isSet(options.line) && !commandLine.faultReport) {
        refuseUsage(commandLine, text("%1: --line задаётся только с --fault-report").arg(program));
    } else if (commandLine.faultReport && commandLine.recordings.isEmpty()) {
        refuseUsage(commandLine, text("%1: для --fault-report нужен хотя бы один файл осциллограммы").arg(program));
    } else if (parser.isSet(options.line)) {
        const std::optional<LineData> line = lineOf(parser.value(options.line));
        if (line)
            commandLine.line = *line;
        else
            refuseUsage(commandLine, text("%1: --line «%2»: нужны R1,X1,R0,X0 в Ом/км и длина в км, пять чисел "
                                          "через запятую, не меньше нуля, длина и R1 или X1 больше нуля")
                                         .arg(program, parser.value(options.line)));
    }
}

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

bool asksForFaultReport(const QStringList& arguments)
{
    const ViewerOptions options(arguments);
    return options.parser.isSet(options.faultReport) || options.parser.isSet(options.line);
}

int runCsvExport(const CommandLine& commandLine, QString& message)
{
    message = exportRecordingAsCsv(commandLine.recordings.value(0), commandLine.csvPath, commandLine.standard);
    return message.isEmpty() ? 0 : failureExitCode;
}

int runFaultReport(const CommandLine& commandLine, QByteArray& json, QString& errors)
{
    const FaultReportBatch batch = faultReportBatch(commandLine.givenNames, commandLine.recordings, commandLine.line);
    json = QJsonDocument(batch.reports).toJson(QJsonDocument::Indented);
    errors.clear();
    for (int r = 0; r < batch.messages.size(); ++r) {
        if (!batch.messages.at(r).isEmpty())
            errors += notOpenedLine(commandLine.givenNames.value(r), batch.messages.at(r));
    }
    return batch.allRead() ? 0 : failureExitCode;
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
        commandLine.faultReport = parser.isSet(options.faultReport);
        if (parser.isSet(options.exportCsv) || commandLine.faultReport) {
            // An export or a report names its recordings whatever their names are; the reader says what they are.
            if (parser.isSet(options.exportCsv))
                commandLine.csvPath = QDir::cleanPath(directory.absoluteFilePath(parser.value(options.exportCsv)));
            commandLine.recordings = paths;
            if (commandLine.faultReport)
                commandLine.givenNames = parser.positionalArguments();
        } else {
            for (const QString& path : paths) {
                const QString reason = whyNotARecording(path);
                if (reason.isEmpty())
                    commandLine.recordings.append(path);
                else
                    commandLine.notOpened.append(notOpenedLine(path, reason));
            }
        }
        checkCommandUsage(commandLine, options, programName(arguments));
    }
    return commandLine;
}

} // namespace VornaLumeto
