// CSV export: the format of the file, and which reader an export goes through.
#include "comtrade/csvwriter.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/recordingexport.h"
#include "comtrade/recordingreader.h"
#include "support/testfiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <charconv>
#include <cmath>
#include <limits>

using VornaLumeto::Recording;

namespace {

// Two analog channels (one with a missing value) and one digital, three samples.
Recording smallRecording()
{
    Recording recording;
    VornaLumeto::AnalogChannel current;
    current.id = QStringLiteral("Ток \"A\"");
    current.unit = QStringLiteral("А");
    current.multiplier = 0.1;
    current.offsetAdder = 0.0;
    VornaLumeto::AnalogChannel voltage;
    voltage.id = QStringLiteral("U,B");
    voltage.multiplier = 1.0 / 3.0;
    voltage.offsetAdder = -1.0;
    VornaLumeto::DigitalChannel trip;
    trip.id = QStringLiteral("Пуск");
    recording.analogChannels = {current, voltage};
    recording.digitalChannels = {trip};
    const double missing = std::numeric_limits<double>::quiet_NaN();
    recording.analogValues = {{3, -7, 1e-7}, {1, missing, 123456789}};
    recording.digitalValues = {{0, 1, 1}};
    recording.timeAxis = {0, 0.25, 1.0 / 3.0};
    return recording;
}

QByteArray csvOf(const Recording& recording)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return VornaLumeto::writeRecordingCsv(recording, buffer) ? buffer.data() : QByteArray();
}

QString writeDialectRecording(const QTemporaryDir& dir, const QString& name, const QByteArray& stationLine)
{
    LumetoTest::writeFile(dir, name + ".dat", "1,0,10,0\n2,1000,-20,1\n");
    return LumetoTest::writeFile(dir, name + ".cfg",
                                 stationLine + "\n2,1A,1D\n1,Ia,A,,A,0.5,0,0,-32767,32767\n1,Trip,0\n50\n1\n1000,2\n"
                                               "05/03/2021,09:07:03.250000\n05/03/2021,09:07:03.300000\nASCII\n");
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void rowsHoldEngineeringValuesInTheirShortestExactForm()
    {
        const QList<QByteArray> rows = csvOf(smallRecording()).split('\n');
        QCOMPARE(rows.size(), 5);
        // Fields with a comma or a double quote are quoted, their quotes doubled.
        QCOMPARE(QString::fromUtf8(rows[0]),
                 QStringLiteral("Номер отсчёта,\"Время, мс\",\"Ток \"\"A\"\" (А)\",\"U,B\",Пуск\r"));
        QCOMPARE(rows[1], QByteArray("1,0,0.30000000000000004,-0.6666666666666667,0\r"));
        // A missing value is an empty field.
        QCOMPARE(rows[2], QByteArray("2,0.25,-0.7000000000000001,,1\r"));
        QCOMPARE(rows[3], QByteArray("3,0.3333333333333333,1e-08,41152262,1\r"));
        QCOMPARE(rows[4], QByteArray());
        // Every number reads back to the double it was written from.
        double value = 0.0;
        const QByteArray third = rows[3].split(',')[1];
        std::from_chars(third.constData(), third.constData() + third.size(), value);
        QCOMPARE(value, 1.0 / 3.0);
    }

    // Without --standard a recording goes through the dialect reader only; with
    // it, what the dialect refuses goes through the standard reader.
    void theStandardReaderReadsOnlyWhatTheDialectRefusesAndOnlyWhenAsked()
    {
        const QString dialect = writeDialectRecording(dir, QStringLiteral("dialect"), "Station,7");
        const QString later = writeDialectRecording(dir, QStringLiteral("later"), "Station,7,1999");
        const QString csv = dir.filePath(QStringLiteral("out.csv"));

        QCOMPARE(VornaLumeto::exportRecordingAsCsv(dialect, csv, false), QString());
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("Номер отсчёта,\"Время, мс\",Ia (A),Trip\r\n1,0,5,0\r\n2,0.5,-10,1\r\n"));
        written.close();

        const VornaLumeto::RecordingReading reading =
            VornaLumeto::readRecording(dialect, VornaLumeto::StandardReading::WhenRefused);
        QVERIFY(reading.ok());
        QVERIFY(!reading.recording.standard.fromStandardReader);

        QCOMPARE(VornaLumeto::exportRecordingAsCsv(later, csv, false),
                 QStringLiteral("Ошибка в *.cfg файле, в строке №1: Station,7,1999"));
        QCOMPARE(VornaLumeto::exportRecordingAsCsv(later, csv, true), QString());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().split('\n').value(2), QByteArray("2,1,-10,1\r"));  // the rates' time axis
    }

    void aFailedExportSaysWhyAndWritesNothing()
    {
        const QString csv = dir.filePath(QStringLiteral("never.csv"));
        const QString message = VornaLumeto::exportRecordingAsCsv(dir.filePath(QStringLiteral("absent.cff")), csv, true);
        QCOMPARE(message, QStringLiteral("Ошибка в файле «absent.cff»: файл не открывается"));
        QVERIFY(!QFile::exists(csv));
        const QString dialect = writeDialectRecording(dir, QStringLiteral("fine"), "Station,7");
        QCOMPARE(VornaLumeto::exportRecordingAsCsv(dialect, dir.filePath(QStringLiteral("no/such/dir.csv")), false),
                 QStringLiteral("Не удалось записать файл «dir.csv»"));
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "test_csvexport.moc"
