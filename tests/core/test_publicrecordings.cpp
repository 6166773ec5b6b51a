// Public recordings from the tests of open COMTRADE readers, read by the
// standard reader: the values their projects' own tests state.
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/recordingexport.h"
#include "comtrade/standard/standardsummary.h"
#include "support/readings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using VornaLumeto::Recording;

namespace {

QString publicFile(const QString& name)
{
    return qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/public/") + name;
}

Recording loaded(const QString& name)
{
    Recording recording;
    const QString message = LumetoTest::loadStandard(publicFile(name), recording);
    if (message != VornaLumeto::loadSuccessMessage())
        qWarning().noquote() << name << message;
    return recording;
}

double engineering(const Recording& recording, int channel, int sample)
{
    const VornaLumeto::AnalogChannel& c = recording.analogChannels.at(channel);
    return c.multiplier * recording.analogValues.at(channel).at(sample) + c.offsetAdder;
}

bool near(double actual, double expected, double tolerance)
{
    return std::fabs(actual - expected) <= tolerance;
}

// The raw values of channel IA in sample_ascii.dat, and when 51A and 51N switch on.
const QVector<double> sampleAsciiIa{-83, -15, 55, 122, 182, 228, 260, 271, 260, 228, 178, 113, 43, -30};
constexpr int sampleAscii51aOn = 13;
constexpr int sampleAscii51nOn = 10;

} // namespace

class TestPublicRecordings : public QObject {
    Q_OBJECT

private slots:
    void everyRecordingExportsAsCsv_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(publicFile(QString()));
        int count = 0;
        for (const QString& project : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QDir projectFolder(folder.filePath(project));
            for (const QString& file : projectFolder.entryList({"*.cfg", "*.cff"}, QDir::Files)) {
                QTest::newRow(qPrintable(project + '/' + file)) << projectFolder.filePath(file);
                ++count;
            }
        }
        QCOMPARE(count, 14);
    }
    void everyRecordingExportsAsCsv()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("out.csv"));
        QCOMPARE(VornaLumeto::exportRecordingAsCsv(path, csv, true), QString());
        Recording recording;
        QCOMPARE(LumetoTest::loadStandard(path, recording), VornaLumeto::loadSuccessMessage());
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = file.readAll().split('\n');
        QCOMPARE(rows.size(), recording.timeAxis.size() + 2);  // header, samples, the empty end
        QCOMPARE(rows.at(1).count(','), 1 + recording.analogCount + recording.digitalCount);
    }

    // tshort/COMTRADE.jl test/runtests.jl
    void comtradeJlRecordings()
    {
        const Recording sel = loaded(QStringLiteral("COMTRADE.jl/1991-ascii-sel.cfg"));
        QCOMPARE(sel.standard.revisionYear, 1991);
        QCOMPARE(sel.standard.fileAnalogCount, 24);
        QCOMPARE(sel.analogChannels.at(1).id, QStringLiteral("IB"));
        QCOMPARE(sel.digitalChannels.at(1).id, QStringLiteral("TRP"));
        QVERIFY(near(engineering(sel, 0, 0), -270.999876, 1e-6));
        QCOMPARE(sel.digitalValues.at(1).at(0), 0.0);
        // Dates month first in 1991: 02/12/11 is 12 February; the trigger comes after the start.
        QCOMPARE(sel.startTime.month, quint8(2));
        QCOMPARE(sel.startTime.day, quint8(12));
        QVERIFY(sel.triggerTime.seconds > sel.startTime.seconds);

        const Recording pq = loaded(QStringLiteral("COMTRADE.jl/1999-ascii-pq.cfg"));
        QCOMPARE(pq.standard.revisionYear, 1999);
        QCOMPARE(pq.standard.fileAnalogCount, 6);
        QCOMPARE(pq.analogChannels.at(1).id, QStringLiteral("Ib"));
        QVERIFY(near(engineering(pq, 0, 0), 101.06138883816476, 1e-9));

        const Recording hif = loaded(QStringLiteral("COMTRADE.jl/1999-binary-hif-sel.cfg"));
        QCOMPARE(hif.standard.revisionYear, 1999);
        QCOMPARE(hif.standard.fileAnalogCount, 18);
        QCOMPARE(hif.analogChannels.at(1).id, QStringLiteral("IBRMS"));
        QCOMPARE(hif.digitalChannels.at(1).id, QStringLiteral("NTUNE_A"));
        QVERIFY(near(engineering(hif, 0, 0), 0.0, 1e-9));
        // What the box that offers the standard reader says of the file.
        QCOMPARE(VornaLumeto::describeStandardRecording(hif), QStringLiteral("Файл записан по редакции 1999 года, данные BINARY."));
    }

    // The 1991 relay recording has 616 channels: every analog one and the first digital ones up to 255.
    void channelsBeyondTheModelAreLeftOutAndCounted()
    {
        const Recording sel = loaded(QStringLiteral("COMTRADE.jl/1991-ascii-sel.cfg"));
        QCOMPARE(int(sel.analogCount), 24);
        QCOMPARE(int(sel.digitalCount), 231);
        QCOMPARE(int(sel.totalChannelCount), 255);
        QCOMPARE(sel.standard.digitalLeftOut, 592 - 231);
        QCOMPARE(sel.standard.analogLeftOut, 0);
    }

    // dparrini/python-comtrade tests/tests.py and drewsilcock/comtrade tests (same sample files)
    void sampleAsciiInEveryWrapping_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("recorder");
        QTest::newRow("cfg") << "python-comtrade/sample_ascii.cfg" << "SMARTSTATION" << "IED123";
        QTest::newRow("cff") << "python-comtrade/sample_ascii.cff" << "SMARTSTATION" << "IED123";
        QTest::newRow("CRLF and 0x1A") << "python-comtrade/sample_sub_char.cfg" << "SMARTSTATION" << "IED123";
        QTest::newRow("UTF-8") << "python-comtrade/sample_ascii_utf-8.cfg"
                               << "SMARTSTATION testing text encoding: hgvcj터파크387" << "IED123";
        QTest::newRow("ISO-8859-1") << "python-comtrade/sample_iso8859-1.cfg" << "Estação de Medição"
                                    << "Oscilógrafo";
    }
    void sampleAsciiInEveryWrapping()
    {
        QFETCH(QString, name);
        const Recording recording = loaded(name);
        QTEST(recording.stationName, "station");
        QTEST(recording.standard.recorderId, "recorder");
        QCOMPARE(recording.standard.revisionYear, 2013);
        QCOMPARE(int(recording.analogCount), 4);
        QCOMPARE(int(recording.digitalCount), 4);
        QCOMPARE(recording.standard.lineFrequency, 60.0);
        QCOMPARE(recording.timeAxis.size(), 40);
        QCOMPARE(recording.analogValues.at(0).mid(0, sampleAsciiIa.size()), sampleAsciiIa);
        QCOMPARE(recording.digitalValues.at(0).at(sampleAscii51aOn - 1), 0.0);
        QCOMPARE(recording.digitalValues.at(0).at(sampleAscii51aOn), 1.0);
        QCOMPARE(recording.digitalValues.at(3).at(sampleAscii51nOn - 1), 0.0);
        QCOMPARE(recording.digitalValues.at(3).at(sampleAscii51nOn), 1.0);
        QCOMPARE(recording.analogChannels.at(0).multiplier, 0.1138916015625);
        QCOMPARE(recording.standard.analogScaling.at(0).primary, 933.0);
        QCOMPARE(recording.standard.analogScaling.at(0).primaryOrSecondary, QStringLiteral("s"));
        // 12/01/2011 is 12 January from 1999 on; the 2013 time lines as written.
        QCOMPARE(recording.startTime.day, quint8(12));
        QCOMPARE(recording.startTime.month, quint8(1));
        QCOMPARE(recording.startTime.year, qint16(2011));
        QCOMPARE(recording.standard.timeCode, QStringLiteral("-5h30"));
        QCOMPARE(recording.standard.localCode, QStringLiteral("-5h30"));
        QCOMPARE(recording.standard.timeQuality, QStringLiteral("B"));
        QCOMPARE(recording.standard.leapSecond, QStringLiteral("3"));
        QVERIFY(near(recording.timeAxis.at(1), 1000.0 / 1200.0, 1e-12));
    }

    void sampleBinary()
    {
        const Recording recording = loaded(QStringLiteral("python-comtrade/sample_bin.cfg"));
        QCOMPARE(recording.standard.dataType, QStringLiteral("BINARY"));
        QCOMPARE(recording.timeAxis.size(), 5);
        QVERIFY(near(engineering(recording, 0, 3), -23425 * 0.000361849, 1e-6));
        const double sum = engineering(recording, 0, 0) + engineering(recording, 1, 0) + engineering(recording, 2, 0)
                           + engineering(recording, 3, 0);
        QVERIFY(near(sum, 0.0, 0.05));
        QVERIFY(near(recording.timeAxis.at(2) - recording.timeAxis.at(1), 1000.0 / 15360.0, 1e-12));
        // The Rust reader's expected values (single precision there).
        const double va[] = {-9.038625717163086, -8.890992164611816, -8.703554153442383, -8.476312637329102,
                             -8.246539115905762};
        const double vn[] = {0.20307831466197968, 0.19676148891448975, 0.19100543856620789, 0.18787176907062530,
                             0.18261049687862396};
        for (int k = 0; k < 5; ++k) {
            QVERIFY(near(engineering(recording, 0, k), va[k], 1e-5));
            QVERIFY(near(engineering(recording, 3, k), vn[k], 1e-6));
        }
        QCOMPARE(recording.standard.analogScaling.at(0).primary, 120.0);
        QCOMPARE(recording.standard.analogScaling.at(0).primaryOrSecondary, QStringLiteral("P"));
        QCOMPARE(recording.startTime.day, quint8(7));
        QCOMPARE(recording.startTime.month, quint8(1));
        QCOMPARE(recording.triggerTime.seconds, 41.958333);
    }

    // drewsilcock/comtrade tests: sample_float32.cff
    void floatDataInOneFile()
    {
        const Recording recording = loaded(QStringLiteral("python-comtrade/sample_float32.cff"));
        QCOMPARE(recording.stationName, QStringLiteral("EXAMPLE"));
        QCOMPARE(recording.standard.recorderId, QStringLiteral("example"));
        QCOMPARE(recording.standard.dataType, QStringLiteral("FLOAT32"));
        QCOMPARE(recording.standard.lineFrequency, 0.0);
        QCOMPARE(recording.standard.rateSegments.size(), 1);
        QCOMPARE(recording.standard.rateSegments.first().rate, 100.0);
        QCOMPARE(recording.standard.rateSegments.first().endSample, qint64(301));
        QCOMPARE(recording.timeAxis.size(), 301);
        QCOMPARE(recording.startTime.hour, quint8(17));
        QCOMPARE(recording.startTime.seconds, 12.422969065);
        QCOMPARE(recording.triggerTime.seconds, 13.922969065);
        QCOMPARE(recording.analogChannels.at(0).id, QStringLiteral("test/out1"));
        QCOMPARE(recording.analogChannels.at(0).unit, QStringLiteral("none"));
        QCOMPARE(recording.analogChannels.at(0).skew, 1.0);
        QCOMPARE(recording.analogChannels.at(0).maxValue, std::numeric_limits<qint32>::max());
        QCOMPARE(recording.digitalChannels.at(0).id, QStringLiteral("test/bool1"));
        QCOMPARE(recording.standard.timeCode, QStringLiteral("0"));
        QCOMPARE(recording.standard.timeQuality, QStringLiteral("0"));
    }

    void latinNamesWithBinaryDataAndTimeMultiplier()
    {
        const Recording recording = loaded(QStringLiteral("python-comtrade/sample_iso8859-1_bin.cfg"));
        QCOMPARE(recording.stationName, QStringLiteral("Estação de Medição"));
        QCOMPARE(recording.standard.recorderId, QStringLiteral("Oscilógrafo"));
        QCOMPARE(recording.standard.encoding, QStringLiteral("ISO-8859-1"));
        QCOMPARE(recording.standard.timeMultiplier, 0.00756699591875076);
        QCOMPARE(recording.timeAxis.size(), 40);
        QCOMPARE(recording.analogChannels.at(2).multiplier, 6.60402365089114E-05);
    }

    // yonwoo9/go-comtrade: the tests read test1 (BINARY) and test2 (ASCII, ten rates) to their last end sample.
    void goComtradeRecordings()
    {
        const Recording binary = loaded(QStringLiteral("go-comtrade/test1.cfg"));
        QCOMPARE(binary.stationName, QStringLiteral("Strathmore 275kV"));
        QCOMPARE(binary.standard.revisionYear, 2001);
        QCOMPARE(binary.timeAxis.size(), 11001);
        QCOMPARE(int(binary.analogCount), 20);
        QCOMPARE(int(binary.digitalCount), 84);

        const Recording rates = loaded(QStringLiteral("go-comtrade/test2.cfg"));
        QCOMPARE(rates.timeAxis.size(), 950);
        QCOMPARE(rates.standard.rateSegments.size(), 10);
        QCOMPARE(rates.standard.encoding, QStringLiteral("GB18030"));
        QCOMPARE(rates.stationName, QStringLiteral("南自线路保护PSL603"));
        QCOMPARE(rates.digitalChannels.at(0).id, QStringLiteral("1-A相跳闸"));
        // The stamps say 17 s at the end; the rates, which the time axis follows, say 0.949 s.
        QCOMPARE(rates.timeAxis.last(), 949.0);
        QCOMPARE(rates.sampleRates.first().rate, 1000);
    }

    // drewsilcock/comtrade: a relay's BINARY recording without rates, timed by its stamps.
    void rustComtradeRecording()
    {
        const Recording recording = loaded(QStringLiteral("rust-comtrade/real_1999_bin.cfg"));
        QCOMPARE(recording.stationName, QStringLiteral("Relay 1"));
        QCOMPARE(int(recording.analogCount), 24);
        QCOMPARE(int(recording.digitalCount), 64);
        QCOMPARE(recording.timeAxis.size(), 8000);
        QVERIFY(recording.standard.rateSegments.isEmpty());
        QCOMPARE(recording.timeAxis.at(1), 0.624);  // stamp 624 µs
        QCOMPARE(recording.sampleRates.first().rate, 1601);  // 8000 samples over 4.997 s of stamps
    }
};

QTEST_GUILESS_MAIN(TestPublicRecordings)
#include "test_publicrecordings.moc"
