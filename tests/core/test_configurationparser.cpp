#include "comtrade/dialect/configurationparser.h"
#include "comtrade/dialect/spacenormalization.h"

#include <QtTest>

using namespace VornaLumeto;

class TestConfigurationParser : public QObject {
    Q_OBJECT

private slots:
    void normalizesSpacesOnlyAroundCommasAndEnds_data();
    void normalizesSpacesOnlyAroundCommasAndEnds();
    void stationLine_data();
    void stationLine();
    void channelCounts_data();
    void channelCounts();
    void analogChannel_data();
    void analogChannel();
    void analogChannelKeepsEveryField();
    void digitalChannel_data();
    void digitalChannel();
    void lineFrequency_data();
    void lineFrequency();
    void rateCount_data();
    void rateCount();
    void sampleRate_data();
    void sampleRate();
    void timeStamp_data();
    void timeStamp();
    void timeStampIsDayFirst();
    void fileType_data();
    void fileType();
};

void TestConfigurationParser::normalizesSpacesOnlyAroundCommasAndEnds_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ends and commas") << "  Подстанция 1 ,  12  " << "Подстанция 1,12";
    QTest::newRow("inner spaces stay") << "a b , c  d" << "a b,c  d";
    QTest::newRow("tabs stay") << "\t1 ,\t2\t" << "\t1,\t2\t";
    QTest::newRow("only spaces") << "    " << "";
    QTest::newRow("empty fields") << " , , " << ",,";
}

void TestConfigurationParser::normalizesSpacesOnlyAroundCommasAndEnds()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QByteArray bytes = line.toUtf8();
    normalizeSpaces(line);
    QCOMPARE(line, expected);
    normalizeSpaces(bytes);
    QCOMPARE(QString::fromUtf8(bytes), expected);
}

void TestConfigurationParser::stationLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::newRow("spaced") << "Подстанция 1 , 12" << true << "Подстанция 1" << 12;
    QTest::newRow("empty name") << ",7" << true << "" << 7;
    QTest::newRow("longest") << QString(252, 'x') + ",12" << true << QString(252, 'x') << 12;
    QTest::newRow("revision year") << "Подстанция,12,1999" << false << "" << 0;
    QTest::newRow("zero id") << "Подстанция,0" << false << "" << 0;
    QTest::newRow("empty id") << "Подстанция," << false << "" << 0;
    QTest::newRow("no comma") << "Подстанция" << false << "" << 0;
    QTest::newRow("plus sign") << "Подстанция,+12" << false << "" << 0;
    QTest::newRow("tab before id") << "Подстанция,\t12" << false << "" << 0;
    QTest::newRow("overflow counts as 0") << "Подстанция,99999999999" << false << "" << 0;
    QTest::newRow("too long") << QString(253, 'x') + ",12" << false << "" << 0;
    QTest::newRow("empty line") << "" << false << "" << 0;
}

void TestConfigurationParser::stationLine()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QString name = QStringLiteral("old");
    qint32 id = 0;
    QCOMPARE(parseStationLine(line, name, id), accepted);
    if (accepted) {
        QTEST(name, "name");
        QTEST(int(id), "id");
    }
}

void TestConfigurationParser::channelCounts_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("analog");
    QTest::addColumn<int>("digital");
    QTest::newRow("usual") << "8,6A,2D" << true << 8 << 6 << 2;
    QTest::newRow("spaced") << " 8 , 6A , 2D " << true << 8 << 6 << 2;
    QTest::newRow("any letter") << "3,2x,1y" << true << 3 << 2 << 1;
    QTest::newRow("no digital") << "4,4A,0D" << true << 4 << 4 << 0;
    QTest::newRow("largest") << "255,200A,55D" << true << 255 << 200 << 55;
    QTest::newRow("letters missing") << "8,6,2" << false << 0 << 0 << 0;
    QTest::newRow("digital letter missing") << "8,6A,2" << false << 0 << 0 << 0;
    QTest::newRow("two letters") << "8,6AA,2D" << false << 0 << 0 << 0;
    QTest::newRow("text after letter") << "8,6A,2DX" << false << 0 << 0 << 0;
    QTest::newRow("sum mismatch") << "9,6A,2D" << false << 0 << 0 << 0;
    QTest::newRow("sum wraps in 8 bits") << "0,200A,56D" << false << 0 << 0 << 0;
    QTest::newRow("total above 255") << "256,200A,56D" << false << 0 << 0 << 0;
    QTest::newRow("analog above 255") << "300,300A,0D" << false << 0 << 0 << 0;
    QTest::newRow("digital above 255 wrapping to 0") << "0,0A,256D" << false << 0 << 0 << 0;
    QTest::newRow("tab before count") << "8,\t6A,2D" << false << 0 << 0 << 0;
    QTest::newRow("extra field") << "8,6A,2D,0" << false << 0 << 0 << 0;
    QTest::newRow("signed total") << "+8,6A,2D" << false << 0 << 0 << 0;
}

void TestConfigurationParser::channelCounts()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    quint8 total = 0;
    quint8 analog = 0;
    quint8 digital = 0;
    QCOMPARE(parseChannelCounts(line, total, analog, digital), accepted);
    if (accepted) {
        QTEST(int(total), "total");
        QTEST(int(analog), "analog");
        QTEST(int(digital), "digital");
    }
}

void TestConfigurationParser::analogChannel_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<int>("minValue");
    const QString good = QStringLiteral("1,Ia,A,,A,0.01,-0.5,0,-32767,32767");
    QTest::newRow("empty circuit") << good << true << 0.01 << -32767;
    QTest::newRow("spaced") << " 1 , Ia , A , , A , 0.01 , -0.5 , 0 , -32767 , 32767 " << true << 0.01 << -32767;
    QTest::newRow("empty numbers are 0") << "1,Ia,A,,A,,,,," << true << 0.0 << 0;
    QTest::newRow("unconvertible decimal is 0") << "1,Ia,A,,A,1.2.3,0,0,0,0" << true << 0.0 << 0;
    QTest::newRow("exponent") << "1,Ia,A,,A,1E-2,-0.5,0,-32767,32767" << false << 0.0 << 0;
    QTest::newRow("plus multiplier") << "1,Ia,A,,A,+0.01,-0.5,0,-32767,32767" << false << 0.0 << 0;
    QTest::newRow("minus inside") << "1,Ia,A,,A,0.01,0-5,0,-32767,32767" << false << 0.0 << 0;
    QTest::newRow("point in min") << "1,Ia,A,,A,0.01,-0.5,0,-32767.0,32767" << false << 0.0 << 0;
    QTest::newRow("plus max") << "1,Ia,A,,A,0.01,-0.5,0,-32767,+32767" << false << 0.0 << 0;
    QTest::newRow("signed index") << "-1,Ia,A,,A,0.01,-0.5,0,-32767,32767" << false << 0.0 << 0;
    QTest::newRow("tab after comma") << "1,Ia,A,,A,\t0.01,-0.5,0,-32767,32767" << false << 0.0 << 0;
    QTest::newRow("primary secondary appended") << good + ",1000,5,P" << false << 0.0 << 0;
    QTest::newRow("nine fields") << "1,Ia,A,,A,0.01,-0.5,0,-32767" << false << 0.0 << 0;
    QTest::newRow("empty line") << "" << false << 0.0 << 0;
    QTest::newRow("too long") << "1," + QString(65530, 'x') + ",A,,A,0,0,0,0,0" << false << 0.0 << 0;
}

void TestConfigurationParser::analogChannel()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    AnalogChannel channel;
    QCOMPARE(parseAnalogChannel(line, channel), accepted);
    QCOMPARE(channel.shown, accepted);
    if (accepted) {
        QTEST(channel.multiplier, "multiplier");
        QTEST(int(channel.minValue), "minValue");
    }
}

void TestConfigurationParser::analogChannelKeepsEveryField()
{
    QString line = QStringLiteral("12 , Ток фазы А , A , Линия 1 , кА , 0.0125 , -1.5 , 250.5 , -2048 , 2047 ");
    AnalogChannel channel;
    QVERIFY(parseAnalogChannel(line, channel));
    QCOMPARE(line, QStringLiteral("12,Ток фазы А,A,Линия 1,кА,0.0125,-1.5,250.5,-2048,2047"));
    QCOMPARE(int(channel.index), 12);
    QCOMPARE(channel.id, QStringLiteral("Ток фазы А"));
    QCOMPARE(channel.phase, QStringLiteral("A"));
    QCOMPARE(channel.circuit, QStringLiteral("Линия 1"));
    QCOMPARE(channel.unit, QStringLiteral("кА"));
    QCOMPARE(channel.multiplier, 0.0125);
    QCOMPARE(channel.offsetAdder, -1.5);
    QCOMPARE(channel.skew, 250.5);
    QCOMPARE(int(channel.minValue), -2048);
    QCOMPARE(int(channel.maxValue), 2047);
}

void TestConfigurationParser::digitalChannel_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("state");
    QTest::newRow("empty state") << "3,Пуск," << true << "Пуск" << 0;
    QTest::newRow("one") << " 3 , Пуск ЗДЗ , 1 " << true << "Пуск ЗДЗ" << 1;
    QTest::newRow("leading zero") << "3,Пуск,01" << true << "Пуск" << 1;
    QTest::newRow("ten") << "3,Пуск,10" << false << "" << 0;
    QTest::newRow("two") << "3,Пуск,2" << false << "" << 0;
    QTest::newRow("tab") << "3,Пуск,1\t" << false << "" << 0;
    QTest::newRow("two fields") << "3,Пуск" << false << "" << 0;
    QTest::newRow("four fields") << "3,Пуск,1,0" << false << "" << 0;
    QTest::newRow("letter index") << "D3,Пуск,1" << false << "" << 0;
    QTest::newRow("too long") << "3," + QString(252, 'x') + ",1" << false << "" << 0;
}

void TestConfigurationParser::digitalChannel()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    DigitalChannel channel;
    QCOMPARE(parseDigitalChannel(line, channel), accepted);
    QCOMPARE(channel.shown, accepted);
    if (accepted) {
        QCOMPARE(int(channel.index), 3);
        QTEST(channel.id, "id");
        QTEST(int(channel.normalState), "state");
    }
}

void TestConfigurationParser::lineFrequency_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("frequency");
    QTest::newRow("50") << "50" << true << 50;
    QTest::newRow("spaced 60") << " 60 " << true << 60;
    QTest::newRow("50.0") << "50.0" << false << 0;
    QTest::newRow("comma") << "50,0" << false << 0;
    QTest::newRow("tab") << "50\t" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("spaces only") << "   " << false << 0;
}

void TestConfigurationParser::lineFrequency()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    qint32 frequency = 0;
    QCOMPARE(parseLineFrequency(line, frequency), accepted);
    if (accepted)
        QTEST(int(frequency), "frequency");
}

void TestConfigurationParser::rateCount_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("count");
    QTest::newRow("one") << "1" << true << 1;
    QTest::newRow("largest") << "255" << true << 255;
    QTest::newRow("zero") << "0" << false << 0;
    QTest::newRow("256 would wrap to 0") << "256" << false << 0;
    QTest::newRow("257 would wrap to 1") << "257" << false << 0;
    QTest::newRow("signed") << "+1" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void TestConfigurationParser::rateCount()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    quint8 count = 0;
    QCOMPARE(parseRateCount(line, count), accepted);
    if (accepted)
        QTEST(int(count), "count");
}

void TestConfigurationParser::sampleRate_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("endSample");
    QTest::newRow("usual") << "1000,1200" << true << 1000 << 1200;
    QTest::newRow("spaced") << " 1000 , 1200 " << true << 1000 << 1200;
    QTest::newRow("empty end") << "1000," << true << 1000 << 0;
    QTest::newRow("decimal rate") << "1000.0,1200" << false << 0 << 0;
    QTest::newRow("one field") << "1000" << false << 0 << 0;
    QTest::newRow("three fields") << "1000,1200,5" << false << 0 << 0;
    QTest::newRow("negative end") << "1000,-1" << false << 0 << 0;
}

void TestConfigurationParser::sampleRate()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    SampleRate rate;
    QCOMPARE(parseSampleRate(line, rate), accepted);
    if (accepted) {
        QTEST(int(rate.rate), "rate");
        QTEST(int(rate.endSample), "endSample");
    }
}

void TestConfigurationParser::timeStamp_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("last moment of year") << "31/12/2015,23:59:59.999999" << true;
    QTest::newRow("spaced around comma") << "01/01/2015 , 00:00:00" << true;
    QTest::newRow("month first") << "12/31/2015,23:59:59" << false;
    QTest::newRow("hour 24") << "01/01/2015,24:00:00" << false;
    QTest::newRow("minute 60") << "01/01/2015,23:60:00" << false;
    QTest::newRow("second 60") << "01/01/2015,23:59:60" << false;
    QTest::newRow("day 0") << "00/01/2015,00:00:00" << false;
    QTest::newRow("day 32") << "32/01/2015,00:00:00" << false;
    QTest::newRow("month 0") << "01/00/2015,00:00:00" << false;
    QTest::newRow("month 13") << "01/13/2015,00:00:00" << false;
    QTest::newRow("day 257 would wrap to 1") << "257/01/2015,00:00:00" << false;
    QTest::newRow("hour 256 would wrap to 0") << "01/01/2015,256:00:00" << false;
    QTest::newRow("minute 256 would wrap to 0") << "01/01/2015,00:256:00" << false;
    QTest::newRow("dashes") << "01-01-2015,00:00:00" << false;
    QTest::newRow("no comma") << "01/01/2015 00:00:00" << false;
    QTest::newRow("missing seconds") << "01/01/2015,00:00" << false;
    QTest::newRow("signed seconds") << "01/01/2015,00:00:-1" << false;
    QTest::newRow("exponent seconds") << "01/01/2015,00:00:1e1" << false;
    QTest::newRow("empty") << "" << false;
}

void TestConfigurationParser::timeStamp()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    TimeStamp stamp;
    QCOMPARE(parseTimeStamp(line, stamp), accepted);
}

void TestConfigurationParser::timeStampIsDayFirst()
{
    QString line = QStringLiteral("17/05/15,10:31:23.123456");
    TimeStamp stamp;
    QVERIFY(parseTimeStamp(line, stamp));
    QCOMPARE(int(stamp.day), 17);
    QCOMPARE(int(stamp.month), 5);
    QCOMPARE(int(stamp.year), 15);
    QCOMPARE(int(stamp.hour), 10);
    QCOMPARE(int(stamp.minute), 31);
    QCOMPARE(stamp.seconds, 23.123456);
}

void TestConfigurationParser::fileType_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("ASCII") << "ASCII" << true;
    QTest::newRow("lower case") << "ascii" << false;
    QTest::newRow("trailing space") << "ASCII " << false;
    QTest::newRow("leading space") << " ASCII" << false;
    QTest::newRow("binary") << "BINARY" << false;
    QTest::newRow("empty") << "" << false;
}

void TestConfigurationParser::fileType()
{
    QFETCH(QString, line);
    QTEST(isAsciiFileType(line), "accepted");
}

QTEST_GUILESS_MAIN(TestConfigurationParser)
#include "test_configurationparser.moc"
