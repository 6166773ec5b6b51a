// Writes a generated fault recording (.cfg and .dat, or .cff) in any form of
// the format, for trying the viewer, tests and benchmarks.
#include "linefaultcommandline.h"
#include "recordinggenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMap>
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

// "4000:2000,1000:3000": samples per second and samples of each segment.
bool readSegments(const QString& text, QVector<LumetoTools::SamplingSegment>& segments)
{
    for (const QString& pair : text.split(QLatin1Char(','))) {
        const QStringList parts = pair.split(QLatin1Char(':'));
        bool rateOk = false;
        bool samplesOk = false;
        if (parts.size() != 2)
            return false;
        segments.append({parts[0].toInt(&rateOk), parts[1].toInt(&samplesOk)});
        if (!rateOk || !samplesOk)
            return false;
    }
    return true;
}

bool readFormat(const QString& text, LumetoTools::DataFormat& format)
{
    static const QMap<QString, LumetoTools::DataFormat> formats{{QStringLiteral("ascii"), LumetoTools::DataFormat::Ascii},
                                                                {QStringLiteral("binary"), LumetoTools::DataFormat::Binary},
                                                                {QStringLiteral("binary32"), LumetoTools::DataFormat::Binary32},
                                                                {QStringLiteral("float32"), LumetoTools::DataFormat::Float32}};
    if (!formats.contains(text.toLower()))
        return false;
    format = formats.value(text.toLower());
    return true;
}

// The form options; false with a message on standard error when one is wrong.
bool readForm(const QCommandLineParser& parser, LumetoTools::RecordingForm& form)
{
    if (parser.isSet(QStringLiteral("revision"))) {
        bool ok = false;
        form.revision = parser.value(QStringLiteral("revision")).toInt(&ok);
        if (!ok) {
            QTextStream(stderr) << "not a year: --revision\n";
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("format")) && !readFormat(parser.value(QStringLiteral("format")), form.format)) {
        QTextStream(stderr) << "--format is ascii, binary, binary32 or float32\n";
        return false;
    }
    form.combined = parser.isSet(QStringLiteral("cff"));
    if (parser.isSet(QStringLiteral("encoding")))
        form.encoding = parser.value(QStringLiteral("encoding")).toLatin1();
    return true;
}

// A line fault takes the rate, line frequency, seed and station of the other
// options; the channel and sample counts are its own.
bool readLineFault(const QCommandLineParser& parser, const LumetoTools::GeneratorOptions& common,
                   LumetoTools::LineFaultOptions& lineOptions)
{
    for (const QString& name : {QStringLiteral("analog"), QStringLiteral("digital"), QStringLiteral("samples"),
                                QStringLiteral("rates")}) {
        if (parser.isSet(name)) {
            QTextStream(stderr) << "--" << name << " does not go with --line-fault\n";
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("rate")))
        lineOptions.sampleRate = common.sampleRate;
    if (parser.isSet(QStringLiteral("frequency")))
        lineOptions.lineFrequency = common.lineFrequency;
    if (parser.isSet(QStringLiteral("station")))
        lineOptions.stationName = common.stationName;
    lineOptions.seed = common.seed;
    return LumetoTools::readLineFaultOptions(parser, lineOptions);
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
        {{QStringLiteral("samples"), QStringLiteral("Samples (at most 65535 in the 1991 layout)."), QStringLiteral("count")}, &options.samples},
        {{QStringLiteral("rate"), QStringLiteral("Samples per second."), QStringLiteral("hertz")}, &options.sampleRate},
        {{QStringLiteral("frequency"), QStringLiteral("Line frequency."), QStringLiteral("hertz")}, &options.lineFrequency},
        {{QStringLiteral("seed"), QStringLiteral("Seed of the noise and feeder loads."), QStringLiteral("number")}, &seed},
    };
    const QCommandLineOption station(QStringLiteral("station"), QStringLiteral("Station name."), QStringLiteral("name"));
    const QCommandLineOption rates(QStringLiteral("rates"),
                                   QStringLiteral("Several sampling rates, each with its samples: 4000:2000,1000:3000."),
                                   QStringLiteral("rate:samples,..."));
    const QCommandLineOption revision(QStringLiteral("revision"), QStringLiteral("1991 (default), 1999 or 2013."),
                                      QStringLiteral("year"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("ascii (default), binary, binary32 or float32."),
                                    QStringLiteral("type"));
    const QCommandLineOption combined(QStringLiteral("cff"), QStringLiteral("One .cff file (2013) instead of .cfg and .dat."));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("Text encoding of the configuration (default Windows-1251)."),
                                      QStringLiteral("name"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Path of the files without extension."),
                                 QStringLiteral("path"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a generated fault recording as .cfg and .dat files, or one .cff. With --line-fault,\n"
                       "the relay end of a line between two sources, from their sequence networks."));
    parser.addHelpOption();
    for (const IntegerOption& entry : integers)
        parser.addOption(entry.option);
    parser.addOption(station);
    for (const QCommandLineOption& option : {rates, revision, format, combined, encoding})
        parser.addOption(option);
    parser.addOption(out);
    LumetoTools::addLineFaultOptions(parser);
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
    if (parser.isSet(rates) && !readSegments(parser.value(rates), options.segments)) {
        QTextStream(stderr) << "--rates is rate:samples,rate:samples,...\n";
        return 2;
    }
    LumetoTools::RecordingForm form;
    if (!readForm(parser, form))
        return 2;
    QString problem;
    LumetoTools::GeneratedRecording recording;
    if (LumetoTools::lineFaultRequested(parser)) {
        LumetoTools::LineFaultOptions lineOptions;
        if (!readLineFault(parser, options, lineOptions))
            return 2;
        problem = LumetoTools::lineFaultProblem(lineOptions);
        if (problem.isEmpty())
            recording = LumetoTools::generateLineFaultRecording(lineOptions);
    } else {
        problem = LumetoTools::optionsProblem(options);
        if (problem.isEmpty())
            recording = LumetoTools::generateRecording(options);
    }
    if (problem.isEmpty())
        problem = LumetoTools::formProblem(recording, form);
    if (!problem.isEmpty()) {
        QTextStream(stderr) << problem << '\n';
        return 2;
    }
    if (!LumetoTools::writeRecording(parser.value(out), recording, form)) {
        QTextStream(stderr) << "cannot write the files of " << parser.value(out) << '\n';
        return 1;
    }
    return 0;
}
