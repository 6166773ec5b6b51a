#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace VornaLumeto {
namespace {

constexpr int usageExitCode = 2;

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
// often write REC.CFG.
QString whyNotARecording(const QString& path)
{
    if (!path.endsWith(QLatin1String("cfg"), Qt::CaseInsensitive))
        return text("Не файл конфигурации COMTRADE (*.cfg)");
    const QFileInfo file(path);
    if (!file.exists())
        return text("Файл не найден");
    return file.isFile() ? QString() : text("Не файл");
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
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            return false;
        if (textOptions.contains(argument))
            return true;
    }
    return false;
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
    parser.addPositionalArgument(text("файлы"), text("Файлы *.cfg; каждый открывается в своей вкладке."),
                                 text("[файлы...]"));

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
        for (const QString& name : parser.positionalArguments()) {
            const QString path = QDir::cleanPath(directory.absoluteFilePath(name));
            const QString reason = whyNotARecording(path);
            if (reason.isEmpty())
                commandLine.recordings.append(path);
            else
                commandLine.notOpened.append(notOpenedLine(path, reason));
        }
    }
    return commandLine;
}

} // namespace VornaLumeto
