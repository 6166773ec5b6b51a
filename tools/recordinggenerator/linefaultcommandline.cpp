#include "linefaultcommandline.h"

#include <QMap>
#include <QTextStream>

#include <cmath>
#include <functional>

namespace LumetoTools {
namespace {

const QString lineFault = QStringLiteral("line-fault");

bool complain(const QString& message)
{
    QTextStream(stderr) << message << '\n';
    return false;
}

bool toNumbers(const QString& text, int count, QVector<double>& numbers)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return false;
    numbers.clear();
    for (const QString& part : parts) {
        bool ok = false;
        numbers.append(part.toDouble(&ok));
        if (!ok)
            return false;
    }
    return true;
}

bool readKind(const QString& text, FaultKind& kind)
{
    static const QStringList names{QStringLiteral("AG"),  QStringLiteral("BG"),  QStringLiteral("CG"),
                                   QStringLiteral("AB"),  QStringLiteral("BC"),  QStringLiteral("CA"),
                                   QStringLiteral("ABG"), QStringLiteral("BCG"), QStringLiteral("CAG"),
                                   QStringLiteral("ABC")};
    const int index = names.indexOf(text.toUpper());
    if (index < 0)
        return false;
    kind = FaultKind(index);
    return true;
}

bool readEvent(const QString& text, LineFaultOptions& options)
{
    static const QMap<QString, LineEvent> healthy{{QStringLiteral("none"), LineEvent::LoadOnly},
                                                  {QStringLiteral("load-step"), LineEvent::LoadStep},
                                                  {QStringLiteral("energisation"), LineEvent::Energisation}};
    if (healthy.contains(text.toLower())) {
        options.event = healthy.value(text.toLower());
        return true;
    }
    options.event = LineEvent::Fault;
    return readKind(text, options.fault.kind);
}

// "R1,X1,R0,X0" in ohm.
bool readImpedances(const QString& text, Complex& z1, Complex& z0)
{
    QVector<double> numbers;
    if (!toNumbers(text, 4, numbers))
        return false;
    z1 = {numbers[0], numbers[1]};
    z0 = {numbers[2], numbers[3]};
    return true;
}

// "R1,X1,R0,X0,KM": ohm per km and the length.
bool readLine(const QString& text, TwoSourceSystem& system)
{
    QVector<double> numbers;
    if (!toNumbers(text, 5, numbers) || !(numbers[4] > 0.0))
        return false;
    system.lineZ1 = Complex(numbers[0], numbers[1]) * numbers[4];
    system.lineZ0 = Complex(numbers[2], numbers[3]) * numbers[4];
    return true;
}

// "PRIMARY/SECONDARY".
bool readRatio(const QString& text, InstrumentRatio& ratio)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    bool primaryOk = false;
    bool secondaryOk = false;
    if (parts.size() != 2)
        return false;
    ratio = {parts[0].toDouble(&primaryOk), parts[1].toDouble(&secondaryOk)};
    return primaryOk && secondaryOk;
}

// "KIND@MS".
bool readEvolution(const QString& text, LineFaultOptions& options)
{
    const QStringList parts = text.split(QLatin1Char('@'));
    FaultKind kind = FaultKind::AG;
    bool ok = false;
    if (parts.size() != 2 || !readKind(parts[0], kind))
        return false;
    options.laterMs = parts[1].toDouble(&ok);
    options.laterKind = kind;
    return ok;
}

bool readClearing(const QString& text, LineFaultOptions& options)
{
    if (text.toLower() == QStringLiteral("none")) {
        options.clearingMs.reset();
        return true;
    }
    bool ok = false;
    options.clearingMs = text.toDouble(&ok);
    return ok;
}

using Reader = std::function<bool(const QString&, LineFaultOptions&)>;

// A number read into a field of the options, times a scale.
Reader number(std::function<double&(LineFaultOptions&)> field, double scale = 1.0)
{
    return [field, scale](const QString& text, LineFaultOptions& options) {
        bool ok = false;
        field(options) = text.toDouble(&ok) * scale;
        return ok;
    };
}

struct ValueOption {
    QString name;
    QString description;
    QString valueName;
    Reader read;
};

const QVector<ValueOption>& valueOptions()
{
    static const QVector<ValueOption> table{
        {lineFault,
         QStringLiteral("Writes the relay end of a line between two sources instead: a fault AG, BG, CG, AB, BC, CA, "
                        "ABG, BCG, CAG or ABC, or none (load only), load-step or energisation."),
         QStringLiteral("kind"), readEvent},
        {QStringLiteral("distance"), QStringLiteral("Line fault: distance from the relay, per unit (default 0.5)."),
         QStringLiteral("pu"),
         number([](LineFaultOptions& options) -> double& { return options.fault.distance; })},
        {QStringLiteral("fault-resistance"), QStringLiteral("Line fault: fault resistance (default 0)."),
         QStringLiteral("ohm"),
         number([](LineFaultOptions& options) -> double& { return options.fault.resistance; })},
        {QStringLiteral("load-angle"),
         QStringLiteral("Line fault: angle by which the relay-end source leads the far one (default 0)."),
         QStringLiteral("degrees"),
         number([](LineFaultOptions& options) -> double& { return options.system.loadAngle; })},
        {QStringLiteral("voltage"), QStringLiteral("Line fault: nominal phase-to-phase voltage (default 110)."),
         QStringLiteral("kV"),
         number([](LineFaultOptions& options) -> double& { return options.system.emf; }, 1000.0 / std::sqrt(3.0))},
        {QStringLiteral("source"), QStringLiteral("Line fault: relay-end source impedances (default 1,10,2,20)."),
         QStringLiteral("R1,X1,R0,X0"),
         [](const QString& text, LineFaultOptions& options) {
             return readImpedances(text, options.system.sourceZ1, options.system.sourceZ0);
         }},
        {QStringLiteral("remote"), QStringLiteral("Line fault: far-end source impedances (default 1,10,2,20)."),
         QStringLiteral("R1,X1,R0,X0"),
         [](const QString& text, LineFaultOptions& options) {
             return readImpedances(text, options.system.remoteZ1, options.system.remoteZ0);
         }},
        {QStringLiteral("line"),
         QStringLiteral("Line fault: line impedances per km and length (default 0.1,0.4,0.3,1.2,100)."),
         QStringLiteral("R1,X1,R0,X0,KM"),
         [](const QString& text, LineFaultOptions& options) { return readLine(text, options.system); }},
        {QStringLiteral("duration"), QStringLiteral("Line fault: length of the recording (default 300)."),
         QStringLiteral("ms"), number([](LineFaultOptions& options) -> double& { return options.durationMs; })},
        {QStringLiteral("inception"),
         QStringLiteral("Line fault: time of the fault, load step or energisation (default 100)."),
         QStringLiteral("ms"), number([](LineFaultOptions& options) -> double& { return options.inceptionMs; })},
        {QStringLiteral("clearing"),
         QStringLiteral("Line fault: three-pole trip at the relay end, or none (default 200)."),
         QStringLiteral("ms"), readClearing},
        {QStringLiteral("evolve"), QStringLiteral("Line fault: the fault becomes another kind at a time: ABG@140."),
         QStringLiteral("kind@ms"), readEvolution},
        {QStringLiteral("dc-offset"),
         QStringLiteral("Line fault: time constant of the decaying offset that keeps the currents continuous "
                        "(default none)."),
         QStringLiteral("ms"), number([](LineFaultOptions& options) -> double& { return options.dcTimeConstantMs; })},
        {QStringLiteral("load-step"),
         QStringLiteral("Line fault: share by which a load step raises the transfer (default 0.2)."),
         QStringLiteral("share"), number([](LineFaultOptions& options) -> double& { return options.loadStep; })},
        {QStringLiteral("vt-ratio"), QStringLiteral("Line fault: voltage transformer ratio (default 110000/100)."),
         QStringLiteral("primary/secondary"),
         [](const QString& text, LineFaultOptions& options) { return readRatio(text, options.voltageRatio); }},
        {QStringLiteral("ct-ratio"), QStringLiteral("Line fault: current transformer ratio (default 1000/1)."),
         QStringLiteral("primary/secondary"),
         [](const QString& text, LineFaultOptions& options) { return readRatio(text, options.currentRatio); }},
        {QStringLiteral("noise"), QStringLiteral("Line fault: peak noise, share of each channel's full scale (default 0)."),
         QStringLiteral("share"), number([](LineFaultOptions& options) -> double& { return options.noise; })},
    };
    return table;
}

struct FlagOption {
    QString name;
    QString description;
    std::function<void(LineFaultOptions&)> apply;
};

const QVector<FlagOption>& flagOptions()
{
    static const QVector<FlagOption> table{
        {QStringLiteral("secondary"),
         QStringLiteral("Line fault: secondary values (the ratios are written from revision 1999 on)."),
         [](LineFaultOptions& options) { options.secondaryValues = true; }},
        {QStringLiteral("cyrillic"), QStringLiteral("Line fault: channels named \"U фазы А\", \"I фазы В\"..."),
         [](LineFaultOptions& options) { options.naming = ChannelNaming::Cyrillic; }},
        {QStringLiteral("no-residual"), QStringLiteral("Line fault: no measured 3I0 channel."),
         [](LineFaultOptions& options) { options.residualChannel = false; }},
    };
    return table;
}

} // namespace

void addLineFaultOptions(QCommandLineParser& parser)
{
    for (const ValueOption& option : valueOptions())
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    for (const FlagOption& option : flagOptions())
        parser.addOption(QCommandLineOption(option.name, option.description));
}

bool lineFaultRequested(const QCommandLineParser& parser)
{
    return parser.isSet(lineFault);
}

bool readLineFaultOptions(const QCommandLineParser& parser, LineFaultOptions& options)
{
    for (const ValueOption& option : valueOptions()) {
        if (parser.isSet(option.name) && !option.read(parser.value(option.name), options))
            return complain(QStringLiteral("--%1 is %2").arg(option.name, option.valueName));
    }
    for (const FlagOption& option : flagOptions()) {
        if (parser.isSet(option.name))
            option.apply(options);
    }
    return true;
}

} // namespace LumetoTools
