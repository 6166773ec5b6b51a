// Writes a generated fault recording (.cfg and .dat) for trying the viewer,
// tests and benchmarks.
#include "recordinggenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

struct IntegerOption {
    QCommandLineOption option;
    int* target;
};

bool readIntegers(const QCommandLineParser& parser, const QVector<IntegerOption>& options)
{
    for (const IntegerOption& entry : options) {
        if (!parser.isSet(entry.option))
            continue;
        bool ok = false;
        *entry.target = parser.value(entry.option).toInt(&ok);
        if (!ok) {
            QTextStream(stderr) << "not a whole number: --" << entry.option.names().first() << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumeto-generate"));

    LumetoTools::GeneratorOptions options;
    int seed = int(options.seed);
    const QVector<IntegerOption> integers{
        {{QStringLiteral("analog"), QStringLiteral("Analog channels."), QStringLiteral("count")}, &options.analogCount},
        {{QStringLiteral("digital"), QStringLiteral("Digital channels."), QStringLiteral("count")}, &options.digitalCount},
        {{QStringLiteral("samples"), QStringLiteral("Samples (1 to 65535)."), QStringLiteral("count")}, &options.samples},
        {{QStringLiteral("rate"), QStringLiteral("Samples per second."), QStringLiteral("hertz")}, &options.sampleRate},
        {{QStringLiteral("frequency"), QStringLiteral("Line frequency."), QStringLiteral("hertz")}, &options.lineFrequency},
        {{QStringLiteral("seed"), QStringLiteral("Seed of the noise and feeder loads."), QStringLiteral("number")}, &seed},
    };
    const QCommandLineOption station(QStringLiteral("station"), QStringLiteral("Station name."), QStringLiteral("name"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Path of the files without extension."),
                                 QStringLiteral("path"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a generated fault recording as .cfg and .dat files."));
    parser.addHelpOption();
    for (const IntegerOption& entry : integers)
        parser.addOption(entry.option);
    parser.addOption(station);
    parser.addOption(out);
    parser.process(application);

    if (!parser.isSet(out)) {
        QTextStream(stderr) << "--out is required\n";
        return 2;
    }
    if (!readIntegers(parser, integers))
        return 2;
    options.seed = unsigned(seed);
    if (parser.isSet(station))
        options.stationName = parser.value(station);
    const QString problem = LumetoTools::optionsProblem(options);
    if (!problem.isEmpty()) {
        QTextStream(stderr) << problem << '\n';
        return 2;
    }
    if (!LumetoTools::writeRecording(parser.value(out), options)) {
        QTextStream(stderr) << "cannot write " << parser.value(out) << ".cfg or .dat\n";
        return 1;
    }
    return 0;
}
