// The standard reader on small hand-written files: what each revision's
// grammar allows, how data of each type decode, and what becomes of what the
// model cannot hold.
#include "comtrade/common/frequencytracking.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/standard/standardreader.h"
#include "comtrade/standard/standardsummary.h"

#include <QTextCodec>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstring>

using VornaLumeto::Recording;

namespace {

const QString success = QStringLiteral("Без ошибок");

QString read(const QByteArray& configuration, const QByteArray& data, Recording& recording)
{
    const VornaLumeto::ReadingResult result = VornaLumeto::readStandardRecording(
        QStringLiteral("rec.cfg"), configuration, QStringLiteral("rec.dat"), data, recording);
    return result.ok() ? success : result.message;
}

// A configuration of two analog and two digital channels with the given lines filled in.
QByteArray configuration(const QByteArray& stationLine, const QByteArray& analogLines, const QByteArray& digitalLines,
                         const QByteArray& samplingAndTimes, const QByteArray& tail)
{
    return stationLine + "\n4,2A,2D\n" + analogLines + digitalLines + samplingAndTimes + tail;
}

const QByteArray analog1999 = "1,Ia,A,Line 1,A,1.5E-1,-2.5,+0,-3.2767e4,32767,600,5,S\n"
                              "2,Ub,B,Line 1,kV,0.01,0,-12.5,-32767,32767,110,0.1,P\n";
const QByteArray digital1999 = "1,Trip,,Line 1,0\n2,Start,A,1\n";
const QByteArray sampling1999 = "50.0\n1\n1000,4\n17/05/2015,10:31:23.123456\n17/05/2015,10:31:23.133456\n";

QByteArray binaryRecord(quint32 number, quint32 stamp, const QVector<qint16>& values, const QVector<quint16>& words)
{
    QByteArray bytes(int(8 + 2 * values.size() + 2 * words.size()), '\0');
    char* p = bytes.data();
    qToLittleEndian(number, p);
    qToLittleEndian(stamp, p + 4);
    for (int i = 0; i < values.size(); ++i)
        qToLittleEndian(values[i], p + 8 + 2 * i);
    for (int i = 0; i < words.size(); ++i)
        qToLittleEndian(words[i], p + 8 + 2 * values.size() + 2 * i);
    return bytes;
}

} // namespace

class TestStandardReader : public QObject {
    Q_OBJECT

private slots:
    void readsRealsSignsExponentsAndLongerLinesOf1999()
    {
        Recording recording;
        const QByteArray data = "1,0,100,-200,0,1\n2,1000,150,-100,1,0\n3,2000,-100,200,1,1\n4,3000,-150,100,0,0\n";
        QCOMPARE(read(configuration("ПС Южная,REC-7,1999", analog1999, digital1999, sampling1999, "ascii\n1.0\n"),
                      data, recording),
                 success);
        QCOMPARE(recording.recorderId, 0);  // not a number
        QCOMPARE(recording.standard.recorderId, QStringLiteral("REC-7"));
        QCOMPARE(recording.analogChannels[0].multiplier, 0.15);
        QCOMPARE(recording.analogChannels[0].offsetAdder, -2.5);
        QCOMPARE(recording.analogChannels[0].minValue, -32767);
        QCOMPARE(recording.analogChannels[1].skew, -12.5);
        QCOMPARE(recording.standard.analogScaling[0].primary, 600.0);
        QCOMPARE(recording.standard.analogScaling[0].secondary, 5.0);
        QCOMPARE(recording.standard.analogScaling[1].primaryOrSecondary, QStringLiteral("P"));
        QCOMPARE(recording.digitalChannels[1].id, QStringLiteral("Start"));  // a four-field line
        QCOMPARE(recording.digitalChannels[1].normalState, quint8(1));
        QCOMPARE(recording.lineFrequency, 50);
        QCOMPARE(recording.startTime.day, quint8(17));
        QCOMPARE(recording.startTime.month, quint8(5));
        QCOMPARE(recording.startTime.year, qint16(2015));
        QCOMPARE(recording.analogValues[1], QVector<double>({-200, -100, 200, 100}));
        QCOMPARE(recording.digitalValues[1], QVector<double>({1, 0, 1, 0}));
        QCOMPARE(recording.timeAxis, QVector<double>({0, 1, 2, 3}));
        QCOMPARE(recording.rawTimeAxis, recording.timeAxis);
        QCOMPARE(recording.sampleRates.size(), 1);
        QCOMPARE(recording.sampleRates[0].endSample, 4);
        QCOMPARE(recording.standard.dataType, QStringLiteral("ASCII"));
        QCOMPARE(VornaLumeto::describeStandardRecording(recording),
                 QStringLiteral("Файл записан по редакции 1999 года, данные ASCII."));
    }

    // 1991 and a year the reader does not know (read by the rules before it), dates by revision.
    void datesFollowTheRevision_data()
    {
        QTest::addColumn<QByteArray>("stationLine");
        QTest::addColumn<QByteArray>("date");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::newRow("1991 month first") << QByteArray("S,1") << QByteArray("05/03/21") << 3 << 5 << 21;
        QTest::newRow("1991 day first when nothing else fits") << QByteArray("S,1") << QByteArray("17/05/2015") << 17 << 5
                                                               << 2015;
        QTest::newRow("1999 day first") << QByteArray("S,1,1999") << QByteArray("05/03/2021") << 5 << 3 << 2021;
        QTest::newRow("unknown 2005 as 1999") << QByteArray("S,1,2005") << QByteArray("05/03/2021") << 5 << 3 << 2021;
        QTest::newRow("2013 day first") << QByteArray("S,1,2013") << QByteArray("05/03/2021") << 5 << 3 << 2021;
    }
    void datesFollowTheRevision()
    {
        QFETCH(QByteArray, stationLine);
        QFETCH(QByteArray, date);
        const QByteArray times = "50\n1\n1000,1\n" + date + ",00:00:00\n" + date + ",00:00:00.5\n";
        Recording recording;
        QCOMPARE(read(configuration(stationLine, analog1999, digital1999, times, "ASCII\n"), "1,0,1,2,0,0\n", recording),
                 success);
        QTEST(int(recording.startTime.day), "day");
        QTEST(int(recording.startTime.month), "month");
        QTEST(int(recording.startTime.year), "year");
    }

    // The revision's marker of a missing ASCII value becomes NaN; the same digits in another revision are a value.
    void missingAsciiValuesFollowTheRevision_data()
    {
        QTest::addColumn<QByteArray>("stationLine");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("missing");
        QTest::newRow("1991 999999") << QByteArray("S,1") << QByteArray("999999") << true;
        QTest::newRow("1991 99999") << QByteArray("S,1") << QByteArray("99999") << false;
        QTest::newRow("1999 99999") << QByteArray("S,1,1999") << QByteArray("99999") << true;
        QTest::newRow("1999 999999") << QByteArray("S,1,1999") << QByteArray("999999") << false;
        QTest::newRow("2013 empty") << QByteArray("S,1,2013") << QByteArray("") << true;
        QTest::newRow("2013 99999") << QByteArray("S,1,2013") << QByteArray("99999") << false;
    }
    void missingAsciiValuesFollowTheRevision()
    {
        QFETCH(QByteArray, stationLine);
        QFETCH(QByteArray, value);
        QFETCH(bool, missing);
        const QByteArray data = "1,0,5," + value + ",0,0\n2,1000,6,7,0,0\n3,2000,7," + value + ",0,0\n4,3000,8,9,1,1\n";
        Recording recording;
        QCOMPARE(read(configuration(stationLine, analog1999, digital1999, sampling1999, "ASCII\n"), data, recording),
                 success);
        QCOMPARE(std::isnan(recording.analogValues[1][0]), missing);
        QCOMPARE(std::isnan(recording.analogValues[1][2]), missing);
        QCOMPARE(recording.samples[0].analog[1], missing ? 0 : qint32(value.toInt()));
        QCOMPARE(recording.analogValues[0], QVector<double>({5, 6, 7, 8}));
    }

    // What recorders write around the values: spaces, reals, signed stamps, blank lines, CRLF, a BOM, 0x1A.
    void asciiDataAsRecordersWriteThem()
    {
        const QByteArray cfg = "\xEF\xBB\xBF" + configuration("S,1,1999", analog1999, digital1999,
                                                              "50\r\n0\r\n0,4\r\n01/01/2020,00:00:00\r\n"
                                                              "01/01/2020,00:00:00\r\n",
                                                              "ASCII\r\n2\r\n\x1A\x1A");
        const QByteArray data = "  1 , -500 , 1.5 , -2e3 ,0,1\r\n\r\n2,0,+3,4.25,1,0\r\n   \r\n"
                                "3,500,-0.5,0,0,0\r\n4,1000,7,8,1,1\r\n\x1A";
        Recording recording;
        QCOMPARE(read(cfg, data, recording), success);
        QCOMPARE(recording.standard.encoding, QStringLiteral("UTF-8"));
        QCOMPARE(recording.analogValues[0], QVector<double>({1.5, 3, -0.5, 7}));
        QCOMPARE(recording.analogValues[1], QVector<double>({-2000, 4.25, 0, 8}));
        QCOMPARE(recording.samples[0].analog[0], 2);  // rounded for the rows
        // No rates: the stamps times timemult (2), from µs to ms.
        QCOMPARE(recording.timeAxis, QVector<double>({-1, 0, 1, 2}));
        QCOMPARE(recording.sampleRates[0].rate, 1000);
    }

    void binaryDigitalWordsAndMissingValues()
    {
        // 2 analog, 18 digital channels: two words, channel 17 in bit 0 of the second.
        QByteArray cfg = "S,1,1999\n20,2A,18D\n1,Ia,,,A,2,1,0,-32767,32767,1,1,P\n2,Ib,,,A,1,0,0,-32767,32767,1,1,P\n";
        for (int d = 1; d <= 18; ++d)
            cfg += QByteArray::number(d) + ",D" + QByteArray::number(d) + ",,,0\n";
        cfg += "50\n1\n4000,3\n01/01/2020,00:00:00\n01/01/2020,00:00:00\nBinary\n1\n";
        const QByteArray data = binaryRecord(1, 0, {100, -32768}, {0x0001, 0x0002})
                                + binaryRecord(2, 250, {-32767, 32767}, {0x8000, 0x0001})
                                + binaryRecord(3, 500, {0, 5}, {0, 0});
        Recording recording;
        QCOMPARE(read(cfg, data, recording), success);
        QCOMPARE(recording.analogValues[0], QVector<double>({100, -32767, 0}));
        QVERIFY(std::isnan(recording.analogValues[1][0]));
        QCOMPARE(recording.samples[0].analog[1], 0);
        QCOMPARE(recording.digitalValues[0], QVector<double>({1, 0, 0}));
        QCOMPARE(recording.digitalValues[15], QVector<double>({0, 1, 0}));
        QCOMPARE(recording.digitalValues[16], QVector<double>({0, 1, 0}));
        QCOMPARE(recording.digitalValues[17], QVector<double>({1, 0, 0}));
        QCOMPARE(recording.timeAxis, QVector<double>({0, 0.25, 0.5}));
    }

    void wideBinaryTypesAndTheirMissingValues()
    {
        const QByteArray head = "S,1,2013\n2,1A,1D\n1,U,,,V,1,0,0,-1e9,1e9,1,1,P\n1,T,,,0\n50\n1\n1000,3\n"
                                "01/01/2020,00:00:00\n01/01/2020,00:00:00\n";
        auto record = [](quint32 number, quint32 raw) {
            QByteArray bytes(14, '\0');
            qToLittleEndian(number, bytes.data());
            qToLittleEndian(raw, bytes.data() + 8);
            return bytes;
        };
        float real = 2.5e9f;
        quint32 realBits = 0;
        std::memcpy(&realBits, &real, 4);
        Recording wide;
        QCOMPARE(read(head + "BINARY32\n1\n", record(1, 0x7FFFFFFF) + record(2, 0x80000000) + record(3, 0xFFFFFFFE), wide),
                 success);
        QCOMPARE(wide.analogValues[0][0], 2147483647.0);
        QVERIFY(std::isnan(wide.analogValues[0][1]));
        QCOMPARE(wide.analogValues[0][2], -2.0);

        Recording floats;
        QCOMPARE(read(head + "float32\n1\n", record(1, realBits) + record(2, 0x7FC00000) + record(3, 0x7F800000),
                      floats),
                 success);
        QCOMPARE(floats.analogValues[0][0], 2.5e9);
        QCOMPARE(floats.samples[0].analog[0], std::numeric_limits<qint32>::max());  // saturated for the rows
        QVERIFY(std::isnan(floats.analogValues[0][1]));
        QVERIFY(std::isnan(floats.analogValues[0][2]));  // an infinity is no value either
    }

    // Each segment at its own rate, continuing where the one before ended.
    void severalRatesShareOneTimeAxis()
    {
        const QByteArray cfg = configuration("S,1,1999", analog1999, digital1999,
                                             "50\n3\n4000,2\n1000,4\n2000,5\n01/01/2020,00:00:00\n01/01/2020,00:00:00\n",
                                             "ASCII\n1\n");
        QByteArray data;
        for (int k = 1; k <= 5; ++k)
            data += QByteArray::number(k) + ",999999999,1,2,0,0\n";  // stamps that say nothing
        Recording recording;
        QCOMPARE(read(cfg, data, recording), success);
        QCOMPARE(recording.timeAxis, QVector<double>({0, 0.25, 0.5, 1.5, 2.5}));
        QCOMPARE(recording.standard.rateSegments.size(), 3);
        QCOMPARE(recording.standard.rateSegments[1].firstSample, qint64(2));
        QCOMPARE(recording.standard.rateSegments[1].endSample, qint64(4));
        QCOMPARE(recording.sampleRates.size(), 1);
        QCOMPARE(recording.sampleRates[0].rate, 4000);
        QCOMPARE(recording.sampleRates[0].endSample, 5);
    }

    // Read what is there, and say how many of how many.
    void fewerSamplesThanAnnouncedAreRead()
    {
        const QByteArray cfg = configuration("S,1,1999", analog1999, digital1999,
                                             "50\n1\n1000,10\n01/01/2020,00:00:00\n01/01/2020,00:00:00\n", "ASCII\n1\n");
        Recording recording;
        QCOMPARE(read(cfg, "1,0,1,2,0,0\n2,1000,3,4,1,1\n", recording), success);
        QCOMPARE(recording.sampleCount(), 2);
        QCOMPARE(recording.standard.readSamples, qint64(2));
        QCOMPARE(recording.standard.promisedSamples, qint64(10));
        QVERIFY(VornaLumeto::describeStandardRecording(recording).contains(QStringLiteral("Отсчётов в файле данных: 2 из 10")));
    }

    void moreSamplesThanTheDialectHolds()
    {
        constexpr int samples = 70000;
        const QByteArray cfg = "S,1,1999\n1,1A,0D\n1,U,,,V,1,0,0,-32767,32767,1,1,P\n50\n1\n10000,"
                               + QByteArray::number(samples) + "\n01/01/2020,00:00:00\n01/01/2020,00:00:00\nBINARY\n1\n";
        QByteArray data;
        for (int k = 0; k < samples; ++k)
            data += binaryRecord(quint32(k + 1), 0, {qint16(k % 1000)}, {});
        Recording recording;
        QCOMPARE(read(cfg, data, recording), success);
        QCOMPARE(recording.sampleCount(), samples);
        QCOMPARE(recording.samples.size(), samples);
        QCOMPARE(recording.channelFrequency[0].size(), samples);
        QCOMPARE(recording.analogValues[0].last(), double((samples - 1) % 1000));
        QCOMPARE(recording.timeAxis.last(), (samples - 1) * 0.1);

        // ASCII without a sample count: every line is read, the room growing as they come.
        const QByteArray uncounted = "S,1,1999\n1,1A,0D\n1,U,,,V,1,0,0,-32767,32767,1,1,P\n50\n0\n0,0\n"
                                     "01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n1\n";
        QByteArray lines;
        for (int k = 0; k < samples; ++k)
            lines += QByteArray::number(k + 1) + ',' + QByteArray::number(k * 100) + ',' + QByteArray::number(k % 7) + '\n';
        Recording ascii;
        QCOMPARE(read(uncounted, lines, ascii), success);
        QCOMPARE(ascii.sampleCount(), samples);
        QCOMPARE(ascii.analogValues[0].size(), samples);
        QCOMPARE(ascii.timeAxis.last(), (samples - 1) * 0.1);
        QCOMPARE(ascii.sampleRates[0].rate, 10000);
    }

    // Missing values must not stop the frequency track or take it out of its band.
    void missingValuesKeepTheFrequencyTrackInItsBand()
    {
        constexpr int samples = 400;
        QByteArray data;
        for (int k = 0; k < samples; ++k) {
            const bool gap = k < 3 || (k > 100 && k < 140);
            const int value = int(std::lround(1000 * std::sin(2 * M_PI * 50 * k / 1000.0)));
            data += QByteArray::number(k + 1) + ",0," + (gap ? QByteArray() : QByteArray::number(value)) + ",0,0,0\n";
        }
        const QByteArray cfg = configuration("S,1,2013", analog1999, digital1999,
                                             "50\n1\n1000," + QByteArray::number(samples)
                                                 + "\n01/01/2020,00:00:00\n01/01/2020,00:00:00\n",
                                             "ASCII\n1\n");
        Recording recording;
        QCOMPARE(read(cfg, data, recording), success);
        const QVector<double>& track = recording.channelFrequency[0];
        QCOMPARE(track.size(), samples);
        const VornaLumeto::FrequencyBand band = VornaLumeto::frequencyBand(50);
        for (double frequency : track)
            QVERIFY(frequency >= band.lowest && frequency <= band.highest);
        QVERIFY(std::fabs(track.last() - 50.0) < 0.5);  // the track goes on after the gap
    }

    // Names in each encoding come out right; UTF-8 where the bytes are valid UTF-8, else Windows-1251.
    void encodingsAreRecognised_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("channel");
        const QString substation = QStringLiteral("ПС Северная 110 кВ");
        const QString current = QStringLiteral("Ток фазы А");
        QTest::newRow("Windows-1251") << QByteArray("Windows-1251") << substation << current;
        QTest::newRow("CP866") << QByteArray("IBM866") << substation << current;
        QTest::newRow("KOI8-R") << QByteArray("KOI8-R") << substation << current;
        QTest::newRow("UTF-8") << QByteArray("UTF-8") << substation << current;
        QTest::newRow("GBK") << QByteArray("GBK") << QStringLiteral("南京变电站保护装置") << QStringLiteral("A相电流");
        QTest::newRow("ISO-8859-1") << QByteArray("ISO-8859-1") << QStringLiteral("Estação de Medição")
                                    << QStringLiteral("Corrente fase A");
        QTest::newRow("too little to tell: Windows-1251") << QByteArray("Windows-1251") << QStringLiteral("ПС")
                                                          << QStringLiteral("Ia");
    }
    void encodingsAreRecognised()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QString, station);
        QFETCH(QString, channel);
        const QString text = station + QStringLiteral(",1,1999\n2,1A,1D\n1,") + channel
                             + QStringLiteral(",A,,A,1,0,0,-32767,32767,1,1,P\n1,Пуск,,,0\n50\n1\n1000,1\n"
                                              "01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n1\n");
        QTextCodec* codec = QTextCodec::codecForName(encoding);
        QVERIFY(codec);
        const QString digitalName = codec->canEncode(QStringLiteral("Пуск")) ? QStringLiteral("Пуск") : QStringLiteral("Start");
        QString written = text;
        written.replace(QStringLiteral("Пуск"), digitalName);
        Recording recording;
        QCOMPARE(read(codec->fromUnicode(written), "1,0,5,1\n", recording), success);
        QCOMPARE(recording.stationName, station);
        QCOMPARE(recording.analogChannels[0].id, channel);
        QCOMPARE(recording.digitalChannels[0].id, digitalName);
    }
};

QTEST_GUILESS_MAIN(TestStandardReader)
#include "test_standardreader.moc"
