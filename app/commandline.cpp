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

} // namespace

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
        for (const QString& path : parser.positionalArguments())
            commandLine.recordings.append(QDir::cleanPath(directory.absoluteFilePath(path)));
    }
    return commandLine;
}

} // namespace VornaLumeto
