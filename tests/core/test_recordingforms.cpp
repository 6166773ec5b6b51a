// One generated recording written in every form of the format reads the same
// through the standard reader, and its early ASCII form still loads through
// the dialect reader exactly as before.
#include "comtrade/dialect/dialectreader.h"
#include "recordinggenerator.h"
#include "support/readings.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using LumetoTools::DataFormat;
using LumetoTools::RecordingForm;
using VornaLumeto::Recording;

namespace {

LumetoTools::GeneratedRecording generated(const QVector<LumetoTools::SamplingSegment>& segments)
{
    LumetoTools::GeneratorOptions options;
    options.analogCount = 9;
    options.digitalCount = 18;  // two digital words in binary data
    options.segments = segments;
    options.seed = 5;
    return LumetoTools::generateRecording(options);
}

// Engineering values agree with what was written.
void compareValues(const Recording& recording, const LumetoTools::GeneratedRecording& written)
{
    const int samples = written.timeStamps.size();
    QCOMPARE(recording.sampleCount(), samples);
    QCOMPARE(recording.analogValues.size(), written.analog.size());
    for (int c = 0; c < written.analog.size(); ++c) {
        const VornaLumeto::AnalogChannel& channel = recording.analogChannels.at(c);
        QCOMPARE(channel.id, written.analog.at(c).id);
        QCOMPARE(channel.multiplier, written.analog.at(c).multiplier);
        for (int k = 0; k < samples; ++k) {
            const double expected = written.analog.at(c).multiplier * written.analog.at(c).raw.at(k);
            QCOMPARE(channel.multiplier * recording.analogValues.at(c).at(k) + channel.offsetAdder, expected);
        }
    }
    for (int d = 0; d < written.digital.size(); ++d) {
        QCOMPARE(recording.digitalChannels.at(d).id, written.digital.at(d).id);
        for (int k = 0; k < samples; ++k)
            QCOMPARE(recording.digitalValues.at(d).at(k), double(written.digital.at(d).states.at(k)));
    }
}

// The time axis follows the rates, each segment's stamps whole microseconds.
void compareTimeAxis(const Recording& recording, const LumetoTools::GeneratedRecording& written)
{
    for (int k = 0; k < written.timeStamps.size(); ++k)
        QVERIFY2(std::fabs(recording.timeAxis.at(k) - written.timeStamps.at(k) / 1000.0) <= 0.001,
                 qPrintable(QString::number(k)));
}

} // namespace

class TestRecordingForms : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void everyFormReadsTheSame_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("combined");
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<bool>("severalRates");
        const QVector<QPair<int, DataFormat>> forms{
            {1991, DataFormat::Ascii},    {1991, DataFormat::Binary},   {1999, DataFormat::Ascii},
            {1999, DataFormat::Binary},   {2013, DataFormat::Ascii},    {2013, DataFormat::Binary},
            {2013, DataFormat::Binary32}, {2013, DataFormat::Float32}};
        const char* const formatNames[] = {"ascii", "binary", "binary32", "float32"};
        for (const auto& form : forms) {
            for (bool combined : {false, true}) {
                if (combined && form.first < 2013)
                    continue;
                for (bool severalRates : {false, true}) {
                    const QByteArray name = QByteArray::number(form.first) + ' ' + formatNames[int(form.second)]
                                            + (combined ? " cff" : "") + (severalRates ? " rates" : "");
                    QTest::newRow(name.constData()) << form.first << int(form.second) << combined
                                                    << QByteArray("Windows-1251") << severalRates;
                }
            }
        }
        QTest::newRow("1999 binary KOI8-R") << 1999 << int(DataFormat::Binary) << false << QByteArray("KOI8-R") << false;
        QTest::newRow("2013 cff UTF-8") << 2013 << int(DataFormat::Float32) << true << QByteArray("UTF-8") << true;
        QTest::newRow("1999 ascii CP866") << 1999 << int(DataFormat::Ascii) << false << QByteArray("IBM866") << true;
    }
    void everyFormReadsTheSame()
    {
        QFETCH(int, revision);
        QFETCH(int, format);
        QFETCH(bool, combined);
        QFETCH(QByteArray, encoding);
        QFETCH(bool, severalRates);
        const LumetoTools::GeneratedRecording written =
            severalRates ? generated({{4000, 300}, {1000, 200}, {2000, 100}}) : generated({{2000, 500}});
        const RecordingForm form{revision, DataFormat(format), combined, encoding};
        QCOMPARE(LumetoTools::formProblem(written, form), QString());
        const QString base = dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'));
        QVERIFY(LumetoTools::writeRecording(base, written, form));

        Recording recording;
        QCOMPARE(LumetoTest::loadStandard(LumetoTools::recordingPath(base, form), recording),
                 VornaLumeto::loadSuccessMessage());
        compareValues(recording, written);
        compareTimeAxis(recording, written);
        QCOMPARE(recording.standard.revisionYear, revision);
        QCOMPARE(recording.stationName, written.stationName);
        QCOMPARE(recording.recorderId, written.recorderId);
        QCOMPARE(recording.standard.rateSegments.size(), written.segments.size());
    }

    // The early ASCII form is the dialect's: it loads through the dialect
    // reader, and the standard reader makes the same values of it.
    void dialectFormStillLoadsThroughTheDialectReader()
    {
        const LumetoTools::GeneratedRecording written = generated({{2000, 500}});
        const QString base = dir.filePath(QStringLiteral("dialect"));
        QVERIFY(LumetoTools::writeRecording(base, written));
        Recording dialect;
        QCOMPARE(LumetoTest::loadDialect(base + QStringLiteral(".cfg"), dialect), VornaLumeto::loadSuccessMessage());
        QVERIFY(!dialect.standard.fromStandardReader);
        compareValues(dialect, written);

        Recording standard;
        QCOMPARE(LumetoTest::loadStandard(base + QStringLiteral(".cfg"), standard),
                 VornaLumeto::loadSuccessMessage());
        QVERIFY(standard.standard.fromStandardReader);
        QCOMPARE(standard.analogValues, dialect.analogValues);
        QCOMPARE(standard.digitalValues, dialect.digitalValues);
        QCOMPARE(standard.startTime.day, dialect.startTime.day);
        QCOMPARE(standard.startTime.month, dialect.startTime.month);
    }
};

QTEST_GUILESS_MAIN(TestRecordingForms)
#include "test_recordingforms.moc"
