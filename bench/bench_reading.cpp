// Reading speed and memory of large recordings.
//
// On each generated file: reading the bytes and counting lines; parsing every
// field with std::from_chars into one flat integer array (what parsing alone
// costs, with the file read whole); and the full load (configuration, rows,
// time axis, value series and frequency tracks). Times are CPU time (user and
// system, so page faults count) because the machine is shared and wall time
// is noisy; each figure is the median of several runs.
// What a reading leaves (the integer array, the recording) is freed after the
// clock stops, in both cases: freeing is not part of reading.
//
// Every run of the "fresh" figures is a new process (this program started
// again with --time, which sets its memory up as the viewer does), so each starts with memory it has never touched,
// as a viewer opening its first recording does. On virtual machines every first touch of a
// page is expensive and the loaded model is several times larger than what
// the floor touches, so two figures separate that cost: the time to write as
// many fresh bytes as the model holds, and both floor and full load repeated
// in one process that keeps its freed memory (the "reused" figures).
//
// Memory is measured in a new process too (--memory): the peak is VmHWM minus
// VmRSS before loading, the model is VmRSS after loading minus the same
// baseline, taken while the recording is still alive.
//
// The 255-channel recording is also written in two forms of the 1999
// revision and read by the standard reader: as BINARY, against a plain loop
// over the same file's bytes into one vector of doubles per channel; and as
// ASCII, against the dialect reader on the recording's early ASCII form. Each
// is measured in turn with what it is set against.
#include "benchsupport.h"

#include "app/processmemory.h"
#include "comtrade/common/exactsize.h"
#include "comtrade/common/recordingfiles.h"
#include "comtrade/recordingreader.h"
#include "comtrade/standard/standardreader.h"
#include "recordinggenerator.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>

#include <algorithm>
#include <functional>
#include <vector>

using LumetoBench::cpuMilliseconds;
using LumetoBench::parseAllFields;
using LumetoBench::statusKilobytes;

namespace {

constexpr int runs = 7;
constexpr qint64 chunkSize = 1 << 20;
constexpr int sampleCount = 65535;

struct Case {
    const char* name;
    int analogCount;
    int digitalCount;
    bool standardForms;      // also written as 1999 BINARY and ASCII for the standard reader
    QString configuration;
    QString data;
    QString binaryConfiguration;
    QString binaryData;
    QString standardAsciiConfiguration;

    QString prefix() const { return QStringLiteral("reading_%1_").arg(QLatin1String(name)); }
    size_t fieldCount() const { return size_t(sampleCount) * size_t(analogCount + digitalCount + 2); }
};

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timed(const std::function<void()>& work)
{
    const double start = cpuMilliseconds();
    work();
    return cpuMilliseconds() - start;
}

qint64 countLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::vector<char> chunk(chunkSize);
    qint64 lines = 0;
    qint64 read = 0;
    while ((read = file.read(chunk.data(), chunkSize)) > 0)
        lines += std::count(chunk.data(), chunk.data() + read, '\n');
    return lines;
}

// As the view's load reads: the viewer's own reader alone, through the one way in.
bool loadFully(const QString& configuration, VornaLumeto::Recording& recording)
{
    VornaLumeto::RecordingReading reading = VornaLumeto::readRecording(configuration, VornaLumeto::StandardReading::Never);
    recording = std::move(reading.recording);
    return reading.ok();
}

bool loadByStandard(const QString& configuration, VornaLumeto::Recording& recording)
{
    recording = VornaLumeto::Recording();
    VornaLumeto::RecordingFiles files(configuration);
    return VornaLumeto::readStandardFiles(files, recording).ok();
}

// The floor of reading BINARY data: every record's values and digital bits
// into one vector of doubles per channel, nothing checked.
std::vector<std::vector<double>> readBinaryRecords(const QString& path, int analogCount, int digitalCount)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const int recordSize = 8 + 2 * analogCount + 2 * ((digitalCount + 15) / 16);
    const int records = bytes.size() / recordSize;
    std::vector<std::vector<double>> channels(size_t(analogCount + digitalCount));
    for (std::vector<double>& channel : channels)
        channel.reserve(size_t(records));
    for (int k = 0; k < records; ++k) {
        const char* const record = bytes.constData() + qint64(k) * recordSize;
        for (int c = 0; c < analogCount; ++c)
            channels[size_t(c)].push_back(qFromLittleEndian<qint16>(record + 8 + 2 * c));
        const char* const words = record + 8 + 2 * analogCount;
        for (int d = 0; d < digitalCount; ++d)
            channels[size_t(analogCount + d)].push_back((qFromLittleEndian<quint16>(words + 2 * (d / 16)) >> (d % 16)) & 1);
    }
    return channels;
}

// Fresh memory got the way the reader gets its vectors: faulted in by the kernel in one pass.
void touchFreshMemory(double megabytes)
{
    std::vector<char> block;
    block.reserve(size_t(megabytes * 1024 * 1024));
    VornaLumeto::prefaultMemory(block.data(), block.capacity());
    block.resize(block.capacity());
    if (!block.empty())
        block.back() = 1;  // value-initialised, so every page was written
}

// --time what path [argument]: one measurement in this fresh process, printed in ms.
int timeInThisProcess(const QStringList& arguments)
{
    const QString what = arguments.at(2);
    const QString path = arguments.at(3);
    const QString argument = arguments.value(4);
    bool ok = true;
    double milliseconds = 0.0;
    // What a reading leaves outlives the clock: freeing it is not part of reading.
    std::vector<int> values;
    std::vector<std::vector<double>> channels;
    VornaLumeto::Recording recording;
    if (what == QLatin1String("lines"))
        milliseconds = timed([&] { ok = countLines(path) > 0; });
    else if (what == QLatin1String("floor"))
        milliseconds = timed([&] { values = parseAllFields(path, argument.toULongLong()); ok = !values.empty(); });
    else if (what == QLatin1String("full"))
        milliseconds = timed([&] { ok = loadFully(path, recording); });
    else if (what == QLatin1String("standard"))
        milliseconds = timed([&] { ok = loadByStandard(path, recording); });
    else if (what == QLatin1String("binaryfloor"))
        milliseconds = timed([&] {
            channels = readBinaryRecords(path, argument.toInt(), arguments.value(5).toInt());
            ok = !channels.empty() && !channels.front().empty();
        });
    else
        milliseconds = timed([&] { touchFreshMemory(argument.toDouble()); });
    QTextStream(stdout) << milliseconds << '\n';
    return ok ? 0 : 1;
}

// --memory path: peak and model kilobytes of one load in this fresh process.
int measureMemoryInThisProcess(const QString& configurationPath)
{
    const qint64 baseline = statusKilobytes("VmRSS");
    VornaLumeto::Recording recording;
    const bool loaded = loadFully(configurationPath, recording);
    const qint64 peak = statusKilobytes("VmHWM") - baseline;
    const qint64 model = statusKilobytes("VmRSS") - baseline;
    QTextStream(stdout) << peak << ' ' << model << '\n';
    return loaded ? 0 : 1;
}

// Runs this program again with the arguments and returns the numbers it prints;
// empty when it fails.
QList<double> childFigures(const QStringList& arguments)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    return LumetoBench::numbersPrintedBy(child);
}

// Median of the figure at position index over several child runs; -1 when a run fails.
double childMedian(const QStringList& arguments, int index = 0)
{
    std::vector<double> values;
    for (int run = 0; run < runs; ++run) {
        const QList<double> figures = childFigures(arguments);
        if (figures.size() <= index)
            return -1.0;
        values.push_back(figures.at(index));
    }
    return medianOf(values);
}

// Medians of two measurements taken in turn, each in its own fresh process,
// so that a busy spell of the shared machine falls on both; -1 when a run fails.
std::pair<double, double> childMediansInTurn(const QStringList& first, const QStringList& second)
{
    std::vector<double> firstValues;
    std::vector<double> secondValues;
    for (int run = 0; run < runs; ++run) {
        const QList<double> a = childFigures(first);
        const QList<double> b = childFigures(second);
        if (a.isEmpty() || b.isEmpty())
            return {-1.0, -1.0};
        firstValues.push_back(a.first());
        secondValues.push_back(b.first());
    }
    return {medianOf(firstValues), medianOf(secondValues)};
}

// What the members themselves need: raw rows, value series, two frequency
// series per analog channel and the two time axes.
double payloadMegabytes(const Case& c)
{
    const double perSample = c.analogCount * (4.0 + 3 * 8.0) + c.digitalCount * (1.0 + 8.0) + 2 * 8.0;
    return perSample * sampleCount / (1024.0 * 1024.0);
}

bool generate(Case& c, const QTemporaryDir& dir, QTextStream& out)
{
    const QString base = dir.filePath(QLatin1String(c.name));
    LumetoTools::GeneratorOptions options;
    options.analogCount = c.analogCount;
    options.digitalCount = c.digitalCount;
    options.samples = sampleCount;
    options.sampleRate = 1000;
    const double start = cpuMilliseconds();
    const LumetoTools::GeneratedRecording recording = LumetoTools::generateRecording(options);
    if (!LumetoTools::writeRecording(base, recording))
        return false;
    c.configuration = base + QStringLiteral(".cfg");
    c.data = base + QStringLiteral(".dat");
    if (c.standardForms) {
        const QString binaryBase = base + QStringLiteral("-binary");
        const QString asciiBase = base + QStringLiteral("-ascii1999");
        if (!LumetoTools::writeRecording(binaryBase, recording, {1999, LumetoTools::DataFormat::Binary, false, "Windows-1251"})
            || !LumetoTools::writeRecording(asciiBase, recording, {1999, LumetoTools::DataFormat::Ascii, false, "Windows-1251"}))
            return false;
        c.binaryConfiguration = binaryBase + QStringLiteral(".cfg");
        c.binaryData = binaryBase + QStringLiteral(".dat");
        c.standardAsciiConfiguration = asciiBase + QStringLiteral(".cfg");
    }
    out << c.prefix() << "data_file_size: " << QFile(c.data).size() / (1024.0 * 1024.0) << " MB\n";
    out << c.prefix() << "generation: " << cpuMilliseconds() - start << " ms\n";
    return true;
}

void benchmarkFreshProcesses(const Case& c, QTextStream& out)
{
    countLines(c.data);  // into the page cache
    const QString time = QStringLiteral("--time");
    const double lines = childMedian({time, QStringLiteral("lines"), c.data});
    const double floor = childMedian({time, QStringLiteral("floor"), c.data, QString::number(c.fieldCount())});
    const double full = childMedian({time, QStringLiteral("full"), c.configuration});
    const double peak = childMedian({QStringLiteral("--memory"), c.configuration}, 0) / 1024.0;
    const double model = childMedian({QStringLiteral("--memory"), c.configuration}, 1) / 1024.0;
    const double touch = childMedian({time, QStringLiteral("touch"), c.data, QString::number(model)});

    const QString prefix = c.prefix();
    out << prefix << "bytes_and_lines: " << lines << " ms\n";
    out << prefix << "from_chars_floor: " << floor << " ms\n";
    out << prefix << "full_load: " << full << " ms\n";
    out << prefix << "full_to_floor: " << full / floor << " x\n";
    out << prefix << "fresh_memory_of_model_size: " << touch << " ms\n";
    out << prefix << "full_less_fresh_memory_to_floor: " << (full - touch) / floor << " x\n";
    out << prefix << "peak_memory: " << peak << " MB\n";
    out << prefix << "model_memory: " << model << " MB\n";
    out << prefix << "member_payload: " << payloadMegabytes(c) << " MB\n";
    out << prefix << "peak_to_model: " << peak / model << " x\n";
    out.flush();
}

// Each figure against its reference measured in turn with it.
void benchmarkStandardReader(const Case& c, QTextStream& out)
{
    countLines(c.binaryData);  // into the page cache
    countLines(c.standardAsciiConfiguration.chopped(3) + QStringLiteral("dat"));
    const QString time = QStringLiteral("--time");
    const auto [floor, binary] = childMediansInTurn(
        {time, QStringLiteral("binaryfloor"), c.binaryData, QString::number(c.analogCount), QString::number(c.digitalCount)},
        {time, QStringLiteral("standard"), c.binaryConfiguration});
    const auto [dialect, ascii] = childMediansInTurn({time, QStringLiteral("full"), c.configuration},
                                                     {time, QStringLiteral("standard"), c.standardAsciiConfiguration});
    const QString prefix = c.prefix();
    out << prefix << "binary_floor: " << floor << " ms\n";
    out << prefix << "binary_full_load: " << binary << " ms\n";
    out << prefix << "binary_to_floor: " << binary / floor << " x\n";
    out << prefix << "dialect_full_load_in_turn: " << dialect << " ms\n";
    out << prefix << "standard_ascii_full_load: " << ascii << " ms\n";
    out << prefix << "standard_ascii_to_dialect: " << ascii / dialect << " x\n";
    out.flush();
}

// Median time of work, each run after release has freed what the run before
// left (outside the clock), so the runs reuse the same memory.
double reusedMedian(const std::function<void()>& work, const std::function<void()>& release)
{
    work();
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        release();
        times.push_back(timed(work));
    }
    release();
    return medianOf(times);
}

void benchmarkReusedMemory(const Case& c, QTextStream& out)
{
    std::vector<int> values;
    const double floor = reusedMedian([&] { values = parseAllFields(c.data, c.fieldCount()); },
                                      [&] { values = std::vector<int>(); });
    VornaLumeto::Recording recording;
    const double full = reusedMedian([&] { loadFully(c.configuration, recording); },
                                     [&] { recording = VornaLumeto::Recording(); });
    out << c.prefix() << "from_chars_floor_reused_memory: " << floor << " ms\n";
    out << c.prefix() << "full_load_reused_memory: " << full << " ms\n";
    out << c.prefix() << "full_to_floor_reused_memory: " << full / floor << " x\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    VornaLumeto::setUpProcessMemory();  // as the viewer's main does
    LumetoBench::stayOnThisProcessor();
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 4 && arguments.at(1) == QLatin1String("--time"))
        return timeInThisProcess(arguments);
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--memory"))
        return measureMemoryInThisProcess(arguments.at(2));

    QTextStream out(stdout);
    QTemporaryDir dir;
    std::vector<Case> cases{{"80ch", 64, 16, false, {}, {}, {}, {}, {}}, {"255ch", 191, 64, true, {}, {}, {}, {}, {}}};
    for (Case& c : cases) {
        if (!generate(c, dir, out)) {
            out << c.prefix() << "error: cannot write the recording\n";
            return 1;
        }
        benchmarkFreshProcesses(c, out);
        if (c.standardForms)
            benchmarkStandardReader(c, out);
    }
    for (const Case& c : cases)
        benchmarkReusedMemory(c, out);
    return 0;
}
