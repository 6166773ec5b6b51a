#include "comtrade/common/memoryestimate.h"
#include "comtrade/common/readingprogress.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/recordingreader.h"
#include "recordinggenerator.h"
#include "recordingwriter.h"
#include "support/readings.h"
#include "support/testfiles.h"

#include <QTextCodec>
#include <QtConcurrent>
#include <QtTest>

#include <functional>

using namespace VornaLumeto;

Q_DECLARE_METATYPE(StandardReading)
Q_DECLARE_METATYPE(RecordingGrammar)
Q_DECLARE_METATYPE(ReadingFailure)

namespace {

QByteArray windows1251(const QString& text)
{
    return QTextCodec::codecForName("Windows-1251")->fromUnicode(text);
}

const QByteArray smallConfiguration = windows1251(
    "Подстанция,12\r\n"
    "3,2A,1D\r\n"
    "1,Ia,A,,A,0.01,-0.5,0,-32767,32767\r\n"
    "2,Ub,B,,kV,0.1,0,0,-32767,32767\r\n"
    "1,Trip,0\r\n"
    "50\r\n"
    "1\r\n"
    "1000,3\r\n"
    "17/05/2015,10:31:23.123456\r\n"
    "17/05/2015,10:31:23.223456\r\n"
    "ASCII\r\n");
const QByteArray smallData = "1,0,10,-20,0\r\n2,1000,11,-21,1\r\n3,2000,12,-22,1\r\n";

QString load(const QString& path)
{
    Recording recording;
    return LumetoTest::loadDialect(path, recording);
}

} // namespace

class TestRecordingLoader : public QObject {
    Q_OBJECT

private slots:
    void reportsEveryFileProblem();
    void loadsUpperCasePair();
    void readsBackGeneratedRecording_data();
    void readsBackGeneratedRecording();
    void generatedFaultShowsInTheChannels();
    void generatedChannelNamesAreUnique();
    void readerFollowsTheNameAndTheChoice_data();
    void readerFollowsTheNameAndTheChoice();
    void cancelledReadingGivesNoRecording();
    void readingsOfSeveralFilesAtOnceAgreeWithOneByOne();
    void namesInOtherCyrillicEncodingsReadAsWritten_data();
    void namesInOtherCyrillicEncodingsReadAsWritten();
    void refusalBesideTheStandardReaderQuotesTheFilesEncoding();
    void memoryAvailableIsReadFromMeminfo_data();
    void memoryAvailableIsReadFromMeminfo();
};

void TestRecordingLoader::reportsEveryFileProblem()
{
    QTemporaryDir dir;
    QCOMPARE(load(QString()), QStringLiteral("Файл не выбран"));
    QCOMPARE(load(dir.filePath("missing.cfg")), QStringLiteral("Файл не открывается"));
    QCOMPARE(load(dir.path()), QStringLiteral("Файл не открывается"));
    QCOMPARE(load(LumetoTest::writeFile(dir, "empty.cfg", QByteArray())), QStringLiteral("Файл *.cfg пуст"));

    QCOMPARE(load(LumetoTest::writeFile(dir, "bad.cfg", windows1251("Подстанция,0\r\n"))),
             QStringLiteral("Ошибка в *.cfg файле, в строке №1: Подстанция,0"));

    const QString noData = LumetoTest::writeFile(dir, "nodata.cfg", smallConfiguration);
    QCOMPARE(load(noData), QStringLiteral("Не удалось открыть файл *.dat"));
    QVERIFY(QDir(dir.path()).mkdir("datdir.dat"));
    QCOMPARE(load(LumetoTest::writeFile(dir, "datdir.cfg", smallConfiguration)),
             QStringLiteral("Не удалось открыть файл *.dat"));

    LumetoTest::writeFile(dir, "emptydata.dat", QByteArray());
    QCOMPARE(load(LumetoTest::writeFile(dir, "emptydata.cfg", smallConfiguration)), QStringLiteral("Файл *.dat пуст"));

    LumetoTest::writeFile(dir, "short.dat", "1,0,10,-20,0\r\n");
    QCOMPARE(load(LumetoTest::writeFile(dir, "short.cfg", smallConfiguration)),
             QStringLiteral("Ошибка в *.dat файле, в строке №2: "));
}

void TestRecordingLoader::loadsUpperCasePair()
{
    QTemporaryDir dir;
    const QString path = LumetoTest::writeFile(dir, "REC.CFG", smallConfiguration);
    LumetoTest::writeFile(dir, "REC.DAT", smallData);

    Recording recording;
    QCOMPARE(LumetoTest::loadDialect(path, recording), loadSuccessMessage());
    QCOMPARE(loadSuccessMessage(), QStringLiteral("Без ошибок"));
    QCOMPARE(recording.stationName, QStringLiteral("Подстанция"));
    QCOMPARE(recording.analogValues, (QVector<QVector<double>>{{10, 11, 12}, {-20, -21, -22}}));
    QCOMPARE(recording.digitalValues, (QVector<QVector<double>>{{0, 1, 1}}));
    QCOMPARE(recording.timeAxis, (QVector<double>{0, 1, 2}));
}

void TestRecordingLoader::readsBackGeneratedRecording_data()
{
    QTest::addColumn<int>("analogCount");
    QTest::addColumn<int>("digitalCount");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("frequency");
    QTest::newRow("8 analog, 6 digital, 1 kHz") << 8 << 6 << 1000 << 50;
    QTest::newRow("17 analog, no digital, 4 kHz, 60 Hz") << 17 << 0 << 4000 << 60;
    QTest::newRow("no analog, 7 digital") << 0 << 7 << 1000 << 50;
}

void TestRecordingLoader::readsBackGeneratedRecording()
{
    QFETCH(int, analogCount);
    QFETCH(int, digitalCount);
    LumetoTools::GeneratorOptions options;
    options.analogCount = analogCount;
    options.digitalCount = digitalCount;
    options.samples = 1200;
    QFETCH(int, rate);
    options.sampleRate = rate;
    QFETCH(int, frequency);
    options.lineFrequency = frequency;
    options.seed = 7;
    const LumetoTools::GeneratedRecording generated = LumetoTools::generateRecording(options);
    QTemporaryDir dir;
    QVERIFY(LumetoTools::writeRecording(dir.filePath("gen"), generated));

    Recording recording;
    QCOMPARE(LumetoTest::loadDialect(dir.filePath("gen.cfg"), recording), loadSuccessMessage());
    QCOMPARE(recording.stationName, generated.stationName);
    QCOMPARE(recording.lineFrequency, frequency);
    QCOMPARE(recording.sampleRates.first().rate, rate);
    QCOMPARE(recording.analogChannels.size(), analogCount);
    QCOMPARE(recording.digitalChannels.size(), digitalCount);
    for (int c = 0; c < analogCount; ++c) {
        const LumetoTools::GeneratedAnalogChannel& written = generated.analog[c];
        QCOMPARE(recording.analogChannels[c].id, written.id);
        QCOMPARE(recording.analogChannels[c].unit, written.unit);
        QCOMPARE(recording.analogChannels[c].multiplier, written.multiplier);
        QCOMPARE(recording.analogValues[c], QVector<double>(written.raw.cbegin(), written.raw.cend()));
        QCOMPARE(recording.channelFrequency[c].size(), options.samples);
    }
    for (int d = 0; d < digitalCount; ++d) {
        QCOMPARE(recording.digitalChannels[d].id, generated.digital[d].id);
        QCOMPARE(recording.digitalValues[d],
                 QVector<double>(generated.digital[d].states.cbegin(), generated.digital[d].states.cend()));
    }
    for (int k = 0; k < options.samples; ++k)
        QCOMPARE(recording.samples[k].timeStamp, generated.timeStamps[k]);
}

namespace {

double peakBetween(const QVector<double>& values, int first, int end)
{
    double peak = 0.0;
    for (int k = first; k < end; ++k)
        peak = qMax(peak, std::fabs(values[k]));
    return peak;
}

} // namespace

void TestRecordingLoader::generatedFaultShowsInTheChannels()
{
    LumetoTools::GeneratorOptions options;
    options.analogCount = 8;
    options.digitalCount = 6;
    options.samples = 1500;
    QTemporaryDir dir;
    QVERIFY(LumetoTools::writeRecording(dir.filePath("fault"), options));
    Recording recording;
    QCOMPARE(LumetoTest::loadDialect(dir.filePath("fault.cfg"), recording), loadSuccessMessage());

    const int trigger = options.samples / 5;  // 1 ms per sample
    const QVector<double>& voltageA = recording.analogValues[0];
    const QVector<double>& currentA = recording.analogValues[3];
    QVERIFY(peakBetween(currentA, trigger, trigger + 60) > 5 * peakBetween(currentA, 0, trigger));
    QVERIFY(peakBetween(voltageA, trigger, trigger + 60) < 0.5 * peakBetween(voltageA, 0, trigger));
    QVERIFY(peakBetween(currentA, trigger + 100, options.samples) < 0.05 * peakBetween(currentA, 0, trigger));

    QCOMPARE(recording.analogChannels[7].unit, QStringLiteral("Гц"));
    QVERIFY(std::fabs(recording.analogValues[7][0] - 5000.0) < 10.0);
    QVERIFY(std::fabs(recording.channelFrequency[0][trigger - 60] - 50.0) < 0.1);

    const QVector<double>& pickup = recording.digitalValues[0];
    const QVector<double>& trip = recording.digitalValues[1];
    QCOMPARE(pickup[trigger - 1], 0.0);
    QCOMPARE(pickup[trigger + 20], 1.0);
    QCOMPARE(trip[trigger + 20], 0.0);
    QCOMPARE(trip[trigger + 60], 1.0);
}

void TestRecordingLoader::generatedChannelNamesAreUnique()
{
    for (const int analogCount : {255, 191}) {
        LumetoTools::GeneratorOptions options;
        options.analogCount = analogCount;
        options.digitalCount = 255 - analogCount;
        options.samples = 10;
        const LumetoTools::GeneratedRecording generated = LumetoTools::generateRecording(options);
        QSet<QString> names;
        for (const LumetoTools::GeneratedAnalogChannel& channel : generated.analog)
            names.insert(channel.id);
        for (const LumetoTools::GeneratedDigitalChannel& channel : generated.digital)
            names.insert(channel.id);
        QCOMPARE(names.size(), 255);
        QCOMPARE(generated.analog[0].id, QStringLiteral("U фазы А"));
        QCOMPARE(generated.analog[8].id, QStringLiteral("UA L2"));
        QCOMPARE(generated.analog[23].id, QStringLiteral("Частота Л3"));
    }
}

namespace {

// A small generated recording written in the form as dir/name; the path a reader opens.
QString writtenRecording(const QTemporaryDir& dir, const QString& name, const LumetoTools::RecordingForm& form,
                         int seed = 3)
{
    LumetoTools::GeneratorOptions options;
    options.analogCount = 4;
    options.digitalCount = 3;
    options.samples = 300;
    options.seed = seed;
    LumetoTools::writeRecording(dir.filePath(name), LumetoTools::generateRecording(options), form);
    return LumetoTools::recordingPath(dir.filePath(name), form);
}

const LumetoTools::RecordingForm dialectForm;
const LumetoTools::RecordingForm binary1999{1999, LumetoTools::DataFormat::Binary};
const LumetoTools::RecordingForm combined2013{2013, LumetoTools::DataFormat::Float32, true};

} // namespace

void TestRecordingLoader::readerFollowsTheNameAndTheChoice_data()
{
    QTest::addColumn<QString>("name");  // "early", "1999", "cff" or "missing"
    QTest::addColumn<StandardReading>("standard");
    QTest::addColumn<bool>("read");
    QTest::addColumn<RecordingGrammar>("grammar");
    QTest::addColumn<ReadingFailure>("dialectRefusal");
    const auto dialect = RecordingGrammar::Dialect;
    const auto standard = RecordingGrammar::Standard;
    const auto none = ReadingFailure::None;
    QTest::newRow("early layout, standard when refused") << "early" << StandardReading::WhenRefused << true << dialect << none;
    QTest::newRow("1999, never standard") << "1999" << StandardReading::Never << false << dialect
                                          << ReadingFailure::Configuration;
    QTest::newRow("1999, .cff only") << "1999" << StandardReading::CombinedOnly << false << dialect
                                     << ReadingFailure::Configuration;
    QTest::newRow("1999, standard when refused") << "1999" << StandardReading::WhenRefused << true << standard
                                                 << ReadingFailure::Configuration;
    QTest::newRow(".cff, never standard") << "cff" << StandardReading::Never << false << dialect
                                          << ReadingFailure::Configuration;
    QTest::newRow(".cff, .cff only") << "cff" << StandardReading::CombinedOnly << true << standard << none;
    QTest::newRow("missing, standard when refused") << "missing" << StandardReading::WhenRefused << false << standard
                                                    << ReadingFailure::FileNotOpened;
}

void TestRecordingLoader::readerFollowsTheNameAndTheChoice()
{
    QFETCH(QString, name);
    QFETCH(StandardReading, standard);
    QTemporaryDir dir;
    const QString path = name == QLatin1String("early") ? writtenRecording(dir, name, dialectForm)
                         : name == QLatin1String("1999") ? writtenRecording(dir, name, binary1999)
                         : name == QLatin1String("cff")  ? writtenRecording(dir, name, combined2013)
                                                         : dir.filePath(QStringLiteral("missing.cfg"));
    const RecordingReading reading = readRecording(path, standard);
    QTEST(reading.ok(), "read");
    QTEST(reading.grammar, "grammar");
    QTEST(reading.dialectRefusal.failure, "dialectRefusal");
    QCOMPARE(reading.recording.standard.fromStandardReader, reading.ok() && reading.grammar == RecordingGrammar::Standard);
    QCOMPARE(reading.result.message.isEmpty(), reading.ok());
    if (reading.ok())
        QCOMPARE(reading.recording.analogValues.value(0).size(), 300);
}

void TestRecordingLoader::cancelledReadingGivesNoRecording()
{
    QTemporaryDir dir;
    for (const LumetoTools::RecordingForm& form : {dialectForm, binary1999, combined2013}) {
        const QString path = writtenRecording(dir, QStringLiteral("r%1").arg(form.revision), form);
        ReadingProgress cancelled;
        cancelled.cancel();
        const RecordingReading reading = readRecording(path, StandardReading::WhenRefused, &cancelled);
        QCOMPARE(reading.result.failure, ReadingFailure::Cancelled);
        QVERIFY(reading.recording.channelFrequency.isEmpty());

        ReadingProgress progress;
        QVERIFY(readRecording(path, StandardReading::WhenRefused, &progress).ok());
        QCOMPARE(progress.stage(), ReadingProgress::Stage::FrequencyTracks);
        QCOMPARE(progress.permille(), 1000);
    }
}

// Nothing of one reading is shared with another, and readings on every thread
// of the pool at once do not wait for ever for help from the pool (they once
// did, each waiting for work queued behind the others).
void TestRecordingLoader::readingsOfSeveralFilesAtOnceAgreeWithOneByOne()
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 8; ++i) {
        const LumetoTools::RecordingForm form = i % 3 == 0 ? dialectForm : i % 3 == 1 ? binary1999 : combined2013;
        paths << writtenRecording(dir, QStringLiteral("r%1").arg(i), form, i + 1);
    }
    const std::function<Recording(const QString&)> read = [](const QString& path) {
        return readRecording(path, StandardReading::WhenRefused).recording;
    };
    const QList<Recording> atOnce = QtConcurrent::blockingMapped<QList<Recording>>(paths, read);
    for (int i = 0; i < paths.size(); ++i) {
        const Recording alone = read(paths.at(i));
        QVERIFY(!alone.analogValues.isEmpty());
        QCOMPARE(atOnce.at(i).analogValues, alone.analogValues);
        QCOMPARE(atOnce.at(i).timeAxis, alone.timeAxis);
        QCOMPARE(atOnce.at(i).channelFrequency, alone.channelFrequency);
        QCOMPARE(atOnce.at(i).stationName, alone.stationName);
    }
}

void TestRecordingLoader::namesInOtherCyrillicEncodingsReadAsWritten_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("Windows-1251") << QByteArray("Windows-1251");
    QTest::newRow("CP866, a relay terminal's") << QByteArray("IBM866");
    QTest::newRow("KOI8-R") << QByteArray("KOI8-R");
    QTest::newRow("UTF-8") << QByteArray("UTF-8");
}

// The viewer's own reader once read every configuration as Windows-1251: a
// relay terminal's CP866 name read "'Ўа®б бЁЈ «Ё§ жЁЁ".
void TestRecordingLoader::namesInOtherCyrillicEncodingsReadAsWritten()
{
    QFETCH(QByteArray, encoding);
    const QString configuration = QStringLiteral(
        "ПС 110 кВ Южная,5\n6,3A,3D\n1,Ua,A,ВЛ-110 Северная,кВ,0.01,0,0,-32767,32767\n"
        "2,Ub,B,ВЛ-110 Северная,кВ,0.01,0,0,-32767,32767\n3,Ia,A,ВЛ-110 Северная,А,0.1,0,0,-32767,32767\n"
        "1,Сброс сигнализации,0\n2,Пуск защиты,0\n3,Отключение выключателя,0\n50\n1\n1000,3\n"
        "17/05/2015,10:31:23.123456\n17/05/2015,10:31:23.223456\nASCII\n");
    QTemporaryDir dir;
    const QString path =
        LumetoTest::writeFile(dir, "names.cfg", QTextCodec::codecForName(encoding)->fromUnicode(configuration));
    LumetoTest::writeFile(dir, "names.dat", "1,0,1,2,3,0,1,0\n2,1000,1,2,3,1,1,0\n3,2000,1,2,3,0,1,1\n");
    Recording recording;
    QCOMPARE(LumetoTest::loadDialect(path, recording), loadSuccessMessage());
    QCOMPARE(recording.stationName, QStringLiteral("ПС 110 кВ Южная"));
    QCOMPARE(recording.analogChannels.at(2).circuit, QStringLiteral("ВЛ-110 Северная"));
    QCOMPARE(recording.digitalChannels.at(0).id, QStringLiteral("Сброс сигнализации"));
}

// The box that offers the standard reader once quoted a GBK station name as
// Windows-1251 garbage; the view's load keeps its own text.
void TestRecordingLoader::refusalBesideTheStandardReaderQuotesTheFilesEncoding()
{
    const QString configuration = QStringLiteral(
        "北京变电站,2,1999\n4,2A,2D\n1,电压A相,A,线路一,kV,0.01,0,0,-32767,32767,1,1,P\n"
        "2,电流B相,B,线路一,A,0.1,0,0,-32767,32767,1,1,P\n1,跳闸,,,0\n2,启动,,,0\n50\n1\n1000,3\n"
        "17/05/2015,10:31:23.123456\n17/05/2015,10:31:23.223456\nASCII\n1\n");
    const QByteArray bytes = QTextCodec::codecForName("GBK")->fromUnicode(configuration);
    QTemporaryDir dir;
    const QString path = LumetoTest::writeFile(dir, "gbk.cfg", bytes);
    LumetoTest::writeFile(dir, "gbk.dat", "1,0,1,2,0,1\n2,1000,1,2,1,1\n3,2000,1,2,0,0\n");

    const RecordingReading offered = readRecording(path, StandardReading::WhenRefused);
    QVERIFY(offered.readByStandardAfterRefusal());
    QCOMPARE(offered.dialectRefusal.message, QStringLiteral("Ошибка в *.cfg файле, в строке №1: 北京变电站,2,1999"));
    QCOMPARE(offered.recording.stationName, QStringLiteral("北京变电站"));
    const QString asLoaded = QStringLiteral("Ошибка в *.cfg файле, в строке №1: ")
                             + QTextCodec::codecForName("Windows-1251")->toUnicode(bytes.left(bytes.indexOf('\n')));
    QCOMPARE(readRecording(path, StandardReading::Never).result.message, asLoaded);
}

void TestRecordingLoader::memoryAvailableIsReadFromMeminfo_data()
{
    QTest::addColumn<QByteArray>("meminfo");
    QTest::addColumn<qint64>("available");
    QTest::newRow("kernel 3.14 on") << QByteArray("MemTotal:       24684544 kB\nMemFree:        20542012 kB\n"
                                                  "MemAvailable:   24130560 kB\nBuffers:          136420 kB\n")
                                    << qint64(24130560) * 1024;
    QTest::newRow("older kernels have none") << QByteArray("MemTotal: 1000 kB\nMemFree: 500 kB\n") << qint64(-1);
    QTest::newRow("not a number") << QByteArray("MemAvailable: lots kB\n") << qint64(-1);
}

void TestRecordingLoader::memoryAvailableIsReadFromMeminfo()
{
    QFETCH(QByteArray, meminfo);
    QTEST(memAvailableBytes(meminfo), "available");
    // A 160-channel recording of 600,000 samples asked for 6.1 GB, 3.8 of them for the view.
    QCOMPARE(displayMemoryBytes(600000, 160, 0), qint64(3840000000));
    QVERIFY(availableMemoryBytes() > 0);  // Linux has told MemAvailable since 3.14
}

QTEST_GUILESS_MAIN(TestRecordingLoader)
#include "test_recordingloader.moc"
