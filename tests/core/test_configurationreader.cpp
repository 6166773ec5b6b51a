#include "comtrade/dialect/configurationreader.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTextCodec>
#include <QtTest>

using namespace VornaLumeto;

namespace {

const QString failurePrefix = QStringLiteral("Ошибка в *.cfg файле, в строке №");

// 3 analog and 2 digital channels, two sampling rates, CR LF endings.
const QStringList completeLines = {
    QStringLiteral("Подстанция Северная , 17"),
    QStringLiteral("5,3A,2D"),
    QStringLiteral("1,Ia,A,,кА,0.01,-0.5,0,-32767,32767"),
    QStringLiteral("2,Ib,B,Линия 2,кА,0.02,0,10.5,-2048,2047"),
    QStringLiteral("3,Ua,A,,кВ,0.1,0,0,-32767,32767"),
    QStringLiteral("1,Пуск,0"),
    QStringLiteral("2,Отключение,1"),
    QStringLiteral("50"),
    QStringLiteral("2"),
    QStringLiteral("1000,1200"),
    QStringLiteral("2000,0"),
    QStringLiteral("17/05/15,10:31:23.123456"),
    QStringLiteral("17/05/2015,10:31:23.223456"),
    QStringLiteral("ASCII"),
};

QByteArray windows1251(const QStringList& lines, const char* ending = "\r\n")
{
    QTextCodec* codec = QTextCodec::codecForName("Windows-1251");
    return codec->fromUnicode(lines.join(QString::fromLatin1(ending)) + QString::fromLatin1(ending));
}

QString readBytes(const QByteArray& bytes, Recording& recording)
{
    QTemporaryDir dir;
    QFile file(LumetoTest::writeFile(dir, QStringLiteral("rec.cfg"), bytes));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("test file not written");
    return readConfiguration(file, recording);
}

QString readLines(const QStringList& lines)
{
    Recording recording;
    return readBytes(windows1251(lines), recording);
}

QStringList replaced(int index, const QString& line)
{
    QStringList lines = completeLines;
    lines[index] = line;
    return lines;
}

} // namespace

class TestConfigurationReader : public QObject {
    Q_OBJECT

private slots:
    void readsCompleteFile_data();
    void readsCompleteFile();
    void readsOnlyAsFarAsTheFileType();
    void reportsFailingLine_data();
    void reportsFailingLine();
    void reportsEarlyEnd_data();
    void reportsEarlyEnd();
};

void TestConfigurationReader::readsCompleteFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << windows1251(completeLines);
    QTest::newRow("LF") << windows1251(completeLines, "\n");
    QTest::newRow("no final terminator") << windows1251(completeLines).chopped(2);
}

void TestConfigurationReader::readsCompleteFile()
{
    QFETCH(QByteArray, bytes);
    Recording recording;
    QCOMPARE(readBytes(bytes, recording), QString());

    QCOMPARE(recording.stationName, QStringLiteral("Подстанция Северная"));
    QCOMPARE(recording.recorderId, 17);
    QCOMPARE(int(recording.totalChannelCount), 5);
    QCOMPARE(recording.analogChannels.size(), 3);
    QCOMPARE(recording.analogChannels[1].circuit, QStringLiteral("Линия 2"));
    QCOMPARE(recording.analogChannels[1].unit, QStringLiteral("кА"));
    QCOMPARE(recording.analogChannels[1].skew, 10.5);
    QVERIFY(recording.analogChannels[2].shown);
    QCOMPARE(recording.digitalChannels.size(), 2);
    QCOMPARE(recording.digitalChannels[1].id, QStringLiteral("Отключение"));
    QCOMPARE(int(recording.digitalChannels[1].normalState), 1);
    QCOMPARE(recording.lineFrequency, 50);
    QCOMPARE(int(recording.rateCount), 2);
    QCOMPARE(recording.sampleRates[1].rate, 2000);
    // A later rate line may end at 0: only the first one sets N.
    QCOMPARE(recording.sampleCount(), 1200);
    QCOMPARE(int(recording.startTime.year), 15);
    QCOMPARE(int(recording.startTime.day), 17);
    QCOMPARE(int(recording.triggerTime.month), 5);
    QCOMPARE(recording.triggerTime.seconds, 23.223456);
}

void TestConfigurationReader::readsOnlyAsFarAsTheFileType()
{
    QStringList lines = completeLines;
    lines << QStringLiteral("1.0") << QStringLiteral("anything at all");
    QCOMPARE(readLines(lines), QString());
}

void TestConfigurationReader::reportsFailingLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");

    QTest::newRow("station with revision year")
        << replaced(0, QStringLiteral("Подстанция , 12 , 1999"))
        << failurePrefix + "1: Подстанция,12,1999";
    QTest::newRow("count above 255")
        << replaced(1, QStringLiteral("258,256A,2D")) << failurePrefix + "2: 258,256A,2D";
    QTest::newRow("tab in analog line, quoted normalised")
        << replaced(3, QStringLiteral("2, Ib ,B,,кА,\t0.02,0,0,-2048,2047"))
        << failurePrefix + "4: 2,Ib,B,,кА,\t0.02,0,0,-2048,2047";
    QTest::newRow("digital state 10")
        << replaced(6, QStringLiteral("2,Отключение,10")) << failurePrefix + "7: 2,Отключение,10";
    QTest::newRow("frequency 50.0") << replaced(7, QStringLiteral("50.0")) << failurePrefix + "8: 50.0";
    QTest::newRow("no rates") << replaced(8, QStringLiteral(" 0 ")) << failurePrefix + "9: 0";
    QTest::newRow("first end sample 0") << replaced(9, QStringLiteral("1000,0")) << failurePrefix + "10: 1000,0";
    QTest::newRow("first end sample above 65535")
        << replaced(9, QStringLiteral("1000,65536")) << failurePrefix + "10: 1000,65536";
    QTest::newRow("month first trigger")
        << replaced(12, QStringLiteral("05/17/2015,10:31:23")) << failurePrefix + "13: 05/17/2015,10:31:23";
    QTest::newRow("file type not normalised")
        << replaced(13, QStringLiteral(" ASCII ")) << failurePrefix + "14:  ASCII ";
    QTest::newRow("binary") << replaced(13, QStringLiteral("BINARY")) << failurePrefix + "14: BINARY";

    QStringList fewerRates = completeLines;
    fewerRates[8] = QStringLiteral("1");
    fewerRates.removeAt(10);
    fewerRates[12] = QStringLiteral("ascii");
    QTest::newRow("file type follows the rate count") << fewerRates << failurePrefix + "13: ascii";
}

void TestConfigurationReader::reportsFailingLine()
{
    QFETCH(QStringList, lines);
    QTEST(readLines(lines), "expected");
}

void TestConfigurationReader::reportsEarlyEnd_data()
{
    QTest::addColumn<int>("keptLines");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty file") << 0 << failurePrefix + "1: ";
    QTest::newRow("before the frequency line") << 7 << failurePrefix + "8: ";
    QTest::newRow("before the second rate") << 10 << failurePrefix + "11: ";
    QTest::newRow("before the file type") << 13 << failurePrefix + "14: ";
}

void TestConfigurationReader::reportsEarlyEnd()
{
    QFETCH(int, keptLines);
    QTEST(readLines(completeLines.mid(0, keptLines)), "expected");
}

QTEST_GUILESS_MAIN(TestConfigurationReader)
#include "test_configurationreader.moc"
