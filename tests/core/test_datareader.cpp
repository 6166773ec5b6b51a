#include "comtrade/common/recordingpath.h"
#include "comtrade/dialect/datareader.h"
#include "comtrade/dialect/loadfailure.h"
#include "support/testfiles.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace VornaLumeto;

namespace {

Recording recordingWith(quint8 analogCount, quint8 digitalCount, qint32 sampleCount)
{
    Recording recording;
    recording.analogCount = analogCount;
    recording.digitalCount = digitalCount;
    recording.totalChannelCount = quint8(analogCount + digitalCount);
    recording.rateCount = 1;
    recording.sampleRates = {SampleRate{1000, sampleCount}};
    return recording;
}

QString readRows(const QByteArray& data, Recording& recording)
{
    QBuffer device;
    device.setData(data);
    device.open(QIODevice::ReadOnly);
    return readDataRows(device, recording);
}

QString dataLineMessage(int lineNumber, const QString& text)
{
    return QStringLiteral("Ошибка в *.dat файле, в строке №%1: %2").arg(lineNumber).arg(text);
}

// Field text of the shapes data files hold and of the ones that trip
// conversion: up to twelve digits, leading zeros, a sign, stray dashes.
QByteArray randomAnalogField(std::mt19937& random)
{
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> digit(0, 9);
    QByteArray field;
    if (percent(random) < 40)
        field += '-';
    const int length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i)
        field += char('0' + digit(random));
    if (percent(random) < 3)
        field.insert(std::uniform_int_distribution<int>(0, field.size())(random), '-');
    return field;
}

QByteArray randomDigitalField(std::mt19937& random)
{
    static const char* const shapes[] = {"0", "1", "", "11", "10", "0000000001", "000000000"};
    return shapes[std::uniform_int_distribution<int>(0, 6)(random)];
}

// What QString::toInt makes of the text, 0 when it does not convert.
qint32 toIntOrZero(const QByteArray& field)
{
    bool converts = false;
    const int value = QString::fromLatin1(field).toInt(&converts);
    return converts ? value : 0;
}

} // namespace

class TestDataReader : public QObject {
    Q_OBJECT

private slots:
    void parsesLine_data();
    void parsesLine();
    void rejectsLine_data();
    void rejectsLine();
    void leavesNormalisedLineForTheMessage();
    void readsRowsAndRoundsTimeStamps();
    void readsLineLongerThanTheBuffer();
    void convertsEveryFieldShapeAsToInt();
    void shortFileFailsOnTheFirstMissingLine();
    void fileReadInTwoHalvesGivesWhatOnePassGives_data();
    void fileReadInTwoHalvesGivesWhatOnePassGives();
    void lastLineIsNotEkedOutWithBytesOfAnEarlierLine();
    void badLineMessageQuotesTheNormalisedLine();
    void correctsTimeAxisOfSharedMilliseconds();
    void keepsRecordedTimesWithinHalfAStep();
    void zeroTimeStampsLeaveSamplesAtTheSamplingRate();
    void buildsValueSeriesPerChannel();
    void findsDataFileBesideConfiguration();
};

void TestDataReader::parsesLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("analogCount");
    QTest::addColumn<int>("digitalCount");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("timeStamp");
    QTest::addColumn<QVector<qint32>>("analog");
    QTest::addColumn<QVector<quint8>>("digital");

    const QVector<qint32> analog{100, -200};
    const QVector<quint8> digital{0, 1};
    QTest::newRow("plain") << QByteArray("1,0,100,-200,0,1") << 2 << 2 << 1 << 0 << analog << digital;
    QTest::newRow("spaces around commas") << QByteArray("1, 0 , 100,-200,0,1") << 2 << 2 << 1 << 0 << analog << digital;
    QTest::newRow("spaces at the ends, CR LF") << QByteArray("  1,0,100,-200,0,1  \r\n") << 2 << 2 << 1 << 0 << analog << digital;
    QTest::newRow("LF") << QByteArray("1,0,100,-200,0,1\n") << 2 << 2 << 1 << 0 << analog << digital;
    QTest::newRow("CR before a space-padded LF") << QByteArray("1,0,100,-200,0,1\r \n") << 2 << 2 << 1 << 0 << analog << digital;
    QTest::newRow("no digital channels") << QByteArray("5,4000,12,-7") << 2 << 0 << 5 << 4000
                                         << QVector<qint32>{12, -7} << QVector<quint8>{};
    QTest::newRow("no analog channels") << QByteArray("2,1000,1,0\r\n") << 0 << 2 << 2 << 1000
                                        << QVector<qint32>{} << QVector<quint8>{1, 0};
    QTest::newRow("digital 11 and empty") << QByteArray("1,0,100,-200,11,") << 2 << 2 << 1 << 0
                                          << analog << QVector<quint8>{1, 0};
    QTest::newRow("empty number, leading zeros") << QByteArray(",0007,0100,-200,0,1") << 2 << 2 << 0 << 7 << analog << digital;
    QTest::newRow("analog text that does not convert gives 0") << QByteArray("1,0,1-2,-,0,1") << 2 << 2 << 1 << 0
                                                               << QVector<qint32>{0, 0} << digital;
    QTest::newRow("analog out of 32 bits gives 0") << QByteArray("1,0,2147483648,-2147483648,0,1") << 2 << 2 << 1 << 0
                                                   << QVector<qint32>{0, -2147483647 - 1} << digital;
}

void TestDataReader::parsesLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, analogCount);
    QFETCH(int, digitalCount);
    SampleRow row;
    row.analog.fill(0, analogCount);
    row.digital.fill(0, digitalCount);

    QVERIFY(parseDataLine(line, row, quint8(analogCount + digitalCount), quint8(analogCount), quint8(digitalCount)));
    QTEST(row.number, "number");
    QTEST(row.timeStamp, "timeStamp");
    QTEST(row.analog, "analog");
    QTEST(row.digital, "digital");
}

void TestDataReader::rejectsLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("terminator only") << QByteArray("\r\n");
    QTest::newRow("one field too many") << QByteArray("1,0,100,-200,0,1,1");
    QTest::newRow("one field too few") << QByteArray("1,0,100,-200,0");
    QTest::newRow("decimal point") << QByteArray("1,0,12.5,-200,0,1");
    QTest::newRow("negative time stamp") << QByteArray("1,-5,100,-200,0,1");
    QTest::newRow("plus sign") << QByteArray("1,0,+100,-200,0,1");
    QTest::newRow("digital 2") << QByteArray("1,0,100,-200,0,2");
    QTest::newRow("tab next to a comma") << QByteArray("1,0,100\t,-200,0,1");
    QTest::newRow("space inside a field") << QByteArray("1,0,1 00,-200,0,1");
    QTest::newRow("bare CR inside") << QByteArray("1,0,100,-200,0,1\r\r\n");
}

void TestDataReader::rejectsLine()
{
    QFETCH(QByteArray, line);
    SampleRow row;
    row.analog.fill(0, 2);
    row.digital.fill(0, 2);
    QVERIFY(!parseDataLine(line, row, 4, 2, 2));
}

void TestDataReader::leavesNormalisedLineForTheMessage()
{
    QByteArray line(" 1 , 0 ,12.5 , 3 \r\n");
    SampleRow row;
    row.analog.fill(0, 2);
    QVERIFY(!parseDataLine(line, row, 2, 2, 0));
    QCOMPARE(line, QByteArray("1,0,12.5,3"));
}

void TestDataReader::readsRowsAndRoundsTimeStamps()
{
    Recording recording = recordingWith(1, 1, 3);
    const QString failure = readRows("1,1499,5,1\r\n2,1500,-6,0\r\n3,2000,7,1", recording);

    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(recording.rawTimeAxis, (QVector<double>{1.0, 2.0, 2.0}));
    QCOMPARE(recording.samples.size(), 3);
    QCOMPARE(recording.samples[1].analog, QVector<qint32>{-6});
    QCOMPARE(recording.samples[2].digital, QVector<quint8>{1});
}

void TestDataReader::readsLineLongerThanTheBuffer()
{
    // Leading zeros make a valid line far longer than the reader's first buffer.
    const QByteArray longField = QByteArray(20000, '0') + "42";
    Recording recording = recordingWith(1, 0, 2);
    const QString failure = readRows("1,0," + longField + "\n2,1000,-1\n", recording);

    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(recording.samples[0].analog, QVector<qint32>{42});
    QCOMPARE(recording.samples[1].analog, QVector<qint32>{-1});
}

void TestDataReader::convertsEveryFieldShapeAsToInt()
{
    // Enough lines to cross the reader's buffer several times, each line also
    // parsed on its own, where fields near its end are read without look-ahead.
    constexpr int lineCount = 12000;
    std::mt19937 random(11);
    QByteArray file;
    QVector<SampleRow> expected;
    for (int k = 0; k < lineCount; ++k) {
        SampleRow row;
        row.number = k + 1;
        row.timeStamp = 1000 * k;
        QByteArray line = QByteArray::number(row.number) + ',' + QByteArray::number(row.timeStamp);
        for (int c = 0; c < 3; ++c) {
            const QByteArray field = randomAnalogField(random);
            line += ',' + field;
            row.analog.append(toIntOrZero(field));
        }
        for (int d = 0; d < 2; ++d) {
            const QByteArray field = randomDigitalField(random);
            line += ',' + field;
            row.digital.append(toIntOrZero(field) != 0 ? 1 : 0);
        }
        line += k % 2 ? "\r\n" : "\n";
        file += line;
        expected.append(row);

        SampleRow alone;
        alone.analog.fill(0, 3);
        alone.digital.fill(0, 2);
        QVERIFY2(parseDataLine(line, alone, 5, 3, 2), line.constData());
        QCOMPARE(alone.analog, row.analog);
        QCOMPARE(alone.digital, row.digital);
    }

    Recording recording = recordingWith(3, 2, lineCount);
    const QString failure = readRows(file, recording);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    for (int k = 0; k < lineCount; ++k) {
        QCOMPARE(recording.samples[k].number, expected[k].number);
        QCOMPARE(recording.samples[k].timeStamp, expected[k].timeStamp);
        QCOMPARE(recording.samples[k].analog, expected[k].analog);
        QCOMPARE(recording.samples[k].digital, expected[k].digital);
    }
}

void TestDataReader::shortFileFailsOnTheFirstMissingLine()
{
    Recording recording = recordingWith(2, 0, 4);
    QCOMPARE(readRows("1,0,1,2\n2,1000,3,4\n", recording), dataLineMessage(3, QString()));
}

void TestDataReader::fileReadInTwoHalvesGivesWhatOnePassGives_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("badLine");  // 1-based, 0 for none
    QTest::addColumn<QByteArray>("badText");
    QTest::addColumn<QByteArray>("tail");  // after the last line
    const QByteArray junk = "x,y\n";
    QTest::newRow("exactly N lines") << 1000 << 0 << junk << QByteArray();
    QTest::newRow("more lines than N, garbage after N") << 1100 << 1050 << junk << QByteArray();
    QTest::newRow("bad line in the second half") << 1000 << 900 << junk << QByteArray();
    QTest::newRow("bad line in the first half") << 1000 << 3 << junk << QByteArray();
    QTest::newRow("fewer lines than N") << 990 << 0 << junk << QByteArray();
    // The second half reports its own failures: the error box's facts must be those of one pass.
    QTest::newRow("blank line in the second half") << 1000 << 700 << QByteArray("\r\n") << QByteArray();
    QTest::newRow("blank lines after too few lines") << 990 << 0 << junk << QByteArray("\r\n \n\x1A");
}

void TestDataReader::fileReadInTwoHalvesGivesWhatOnePassGives()
{
    QFETCH(int, lines);
    QFETCH(int, badLine);
    QFETCH(QByteArray, badText);
    QFETCH(QByteArray, tail);
    QByteArray data;
    for (int k = 1; k <= lines; ++k)
        data += k == badLine ? badText : QByteArrayLiteral("%1,%2,%3,%4\r\n").replace("%1", QByteArray::number(k))
                    .replace("%2", QByteArray::number(k * 250)).replace("%3", QByteArray::number(k % 97 - 40))
                    .replace("%4", QByteArray::number(k % 2));
    data += tail;
    QTemporaryDir dir;
    QFile file(LumetoTest::writeFile(dir, QStringLiteral("rows.dat"), data));
    QVERIFY(file.open(QIODevice::ReadOnly));

    Recording halves = recordingWith(1, 1, 1000);
    LoadFailure halvesFailure;
    const QString halvesMessage = readDataFileRows(file, halves, &halvesFailure, 0);
    Recording onePass = recordingWith(1, 1, 1000);
    LoadFailure onePassFailure;
    QBuffer device;
    device.setData(data);
    device.open(QIODevice::ReadOnly);
    QCOMPARE(halvesMessage, readDataRows(device, onePass, &onePassFailure));
    QCOMPARE(halvesMessage.isEmpty(), (badLine == 0 && lines >= 1000) || badLine > 1000);
    QCOMPARE(halvesFailure.dataLineCount, onePassFailure.dataLineCount);
    QCOMPARE(halvesFailure.dataLine.fieldNumber, onePassFailure.dataLine.fieldNumber);
    QCOMPARE(halvesFailure.dataLine.presentFields, onePassFailure.dataLine.presentFields);
    QCOMPARE(halves.rawTimeAxis, onePass.rawTimeAxis);
    if (!halvesMessage.isEmpty())
        return;
    for (int k = 0; k < 1000; ++k) {
        QCOMPARE(halves.samples.at(k).number, k + 1);
        QCOMPARE(halves.samples.at(k).analog, onePass.samples.at(k).analog);
        QCOMPARE(halves.samples.at(k).digital, onePass.samples.at(k).digital);
    }
}

// A last line without a terminator is moved to the front of the reader's
// buffer; what the buffer held after it before must not be read as more fields
// ("2,0,7" with three channels was once read as 7, 6 and 0).
void TestDataReader::lastLineIsNotEkedOutWithBytesOfAnEarlierLine()
{
    Recording recording = recordingWith(3, 0, 2);
    QCOMPARE(readRows("1,0,5,6,8\n2,0,7", recording), dataLineMessage(2, QStringLiteral("2,0,7")));
}

void TestDataReader::badLineMessageQuotesTheNormalisedLine()
{
    Recording recording = recordingWith(2, 0, 4);
    QCOMPARE(readRows("1,0,1,2\r\n2 , 1000 , 3.5,4\r\n3,2000,5,6\r\n", recording),
             dataLineMessage(2, QStringLiteral("2,1000,3.5,4")));
}

void TestDataReader::correctsTimeAxisOfSharedMilliseconds()
{
    Recording recording = recordingWith(1, 0, 4);
    QVERIFY(readRows("1,0,0\n2,500,0\n3,1000,0\n4,1500,0\n", recording).isEmpty());
    correctTimeAxis(recording);

    QCOMPARE(recording.rawTimeAxis, (QVector<double>{0.0, 1.0, 1.0, 2.0}));
    QCOMPARE(recording.timeAxis, (QVector<double>{0.0, 0.5, 1.0, 1.5}));
}

void TestDataReader::keepsRecordedTimesWithinHalfAStep()
{
    Recording recording = recordingWith(0, 0, 5);
    recording.rawTimeAxis = {10.0, 11.0, 25.0, 13.0, 15.0};  // step 3.0
    correctTimeAxis(recording);
    // 11 is early, 25 late and 13 early for where the previous corrected time points.
    QCOMPARE(recording.timeAxis, (QVector<double>{10.0, 13.0, 16.0, 19.0, 22.0}));

    // Exactly 1.5 steps after the previous time is still kept.
    recording.rawTimeAxis = {0.0, 2.0, 4.0, 7.0, 10.0};  // step 2.0
    correctTimeAxis(recording);
    QCOMPARE(recording.timeAxis, recording.rawTimeAxis);
}

void TestDataReader::zeroTimeStampsLeaveSamplesAtTheSamplingRate()
{
    Recording recording = recordingWith(1, 0, 4);
    QVERIFY(readRows("1,0,5\n2,0,6\n3,0,7\n4,0,8\n", recording).isEmpty());
    correctTimeAxis(recording);
    QCOMPARE(recording.rawTimeAxis, (QVector<double>{0.0, 0.0, 0.0, 0.0}));
    QCOMPARE(recording.timeAxis, (QVector<double>{0.0, 1.0, 2.0, 3.0}));

    recording.sampleRates = {SampleRate{4000, 4}};
    correctTimeAxis(recording);
    QCOMPARE(recording.timeAxis, (QVector<double>{0.0, 0.25, 0.5, 0.75}));

    // Only a last stamp of 0 says the stamps carry no time; 0 at the start is an ordinary time.
    recording.sampleRates = {SampleRate{1000, 5}};
    recording.rawTimeAxis = {0.0, 0.0, 1.0, 1.0, 2.0};  // step 0.4
    correctTimeAxis(recording);
    QCOMPARE(recording.timeAxis, (QVector<double>{0.0, 0.4, 1.0, 1.4, 2.0}));

    // Without a rate, or with one sample, the average step is all there is.
    recording.sampleRates = {SampleRate{0, 4}};
    recording.rawTimeAxis = {0.0, 0.0, 0.0, 0.0};
    correctTimeAxis(recording);
    QCOMPARE(recording.timeAxis, recording.rawTimeAxis);
    recording.sampleRates = {SampleRate{1000, 1}};
    recording.rawTimeAxis = {0.0};
    correctTimeAxis(recording);
    QCOMPARE(recording.timeAxis, (QVector<double>{0.0}));
}

void TestDataReader::buildsValueSeriesPerChannel()
{
    Recording recording = recordingWith(2, 1, 3);
    QVERIFY(readRows("1,0,10,-20,1\n2,1000,11,-21,0\n3,2000,12,-22,1\n", recording).isEmpty());
    correctTimeAxis(recording);
    buildValueSeries(recording);

    QCOMPARE(recording.analogValues, (QVector<QVector<double>>{{10, 11, 12}, {-20, -21, -22}}));
    QCOMPARE(recording.digitalValues, (QVector<QVector<double>>{{1, 0, 1}}));
    QCOMPARE(recording.channelFrequency.size(), 2);
    QCOMPARE(recording.frequencyDeviation.size(), 2);
    QCOMPARE(recording.channelFrequency[1], (QVector<double>{50.0, 50.0, 50.0}));
}

void TestDataReader::findsDataFileBesideConfiguration()
{
    QTemporaryDir dir;
    QCOMPARE(dataFilePath(dir.filePath("rec.cfg")), dir.filePath("rec.dat"));
    QCOMPARE(dataFilePath(dir.filePath("rec.Cfg")), dir.filePath("rec.dat"));
    // Upper-case pair as recorders write it: only REC.DAT exists.
    QCOMPARE(dataFilePath(dir.filePath("REC.CFG")), dir.filePath("REC.DAT"));
    LumetoTest::writeFile(dir, "REC.dat", "x");
    QCOMPARE(dataFilePath(dir.filePath("REC.CFG")), dir.filePath("REC.dat"));
}

QTEST_GUILESS_MAIN(TestDataReader)
#include "test_datareader.moc"
