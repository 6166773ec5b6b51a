#include "analysis/signalanalysis.h"
#include "comtrade/dialect/loadfailure.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/standard/standardsummary.h"
#include "support/readings.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <unistd.h>

using VornaLumeto::LoadFailure;
using VornaLumeto::Recording;
using VornaLumeto::explainLoadFailure;

namespace {

const QString configurationFailure = QStringLiteral("Ошибка в *.cfg файле, в строке №");
const QString dataFailure = QStringLiteral("Ошибка в *.dat файле, в строке №");
const QString success = QStringLiteral("Без ошибок");

const QByteArray validConfiguration =
    "Station,1\n3,2A,1D\n"
    "1,Ua,A,,kV,0.1,0,0,-32767,32767\n"
    "2,Ia,B,,A,1,0,0,-32767,32767\n"
    "1,Trip,0\n50\n1\n1000,4\n"
    "05/03/2021,09:07:03.250000\n05/03/2021,09:07:03.300000\nASCII\n";
const QByteArray validData = "1,0,100,-200,0\n2,1000,150,-100,1\n3,2000,-100,200,1\n4,3000,-150,100,0\n";

QString load(const QString& configurationPath)
{
    Recording recording;
    return LumetoTest::loadDialect(configurationPath, recording);
}

// Reproducible junk without spaces, so that what the parsers quote is the bytes as read.
QByteArray binaryJunk(int size)
{
    QRandomGenerator generator(20210305);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = char(generator.bounded(256));
        if (byte == ' ')
            byte = '!';
    }
    bytes[0] = 'J';  // not a byte-order mark
    return bytes;
}

QByteArray firstLine(const QByteArray& bytes)
{
    QByteArray line = bytes.left(bytes.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

QString windows1251(const QByteArray& bytes)
{
    return QTextCodec::codecForName("Windows-1251")->toUnicode(bytes);
}

// Every byte, NULs included.
QString latin1(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.constData(), bytes.size());
}

QByteArray utf16LittleEndian(const QByteArray& text, bool withByteOrderMark)
{
    QByteArray bytes = withByteOrderMark ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (char c : text)
        bytes.append(c).append('\0');
    return bytes;
}

QByteArray replacedLine(QByteArray text, int lineNumber, const QByteArray& line)
{
    QList<QByteArray> lines = text.split('\n');
    lines[lineNumber - 1] = line;
    return lines.join('\n');
}

} // namespace

class TestMalformedFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QTextCodec::codecForName("Windows-1251"));
        QVERIFY(work.isValid());
    }

    void committedFilesGiveTheirMessage_data()
    {
        QTest::addColumn<QString>("configurationPath");
        QTest::addColumn<QString>("message");
        const QDir folder(qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/malformed"));
        QFile list(folder.filePath(QStringLiteral("messages.txt")));
        QVERIFY2(list.open(QIODevice::ReadOnly), qPrintable(list.fileName()));
        int cases = 0;
        for (const QString& line : QString::fromUtf8(list.readAll()).split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const int tab = line.indexOf('\t');
            const QString name = line.left(tab);
            QTest::newRow(qPrintable(name)) << folder.filePath(name + QStringLiteral(".cfg")) << line.mid(tab + 1);
            ++cases;
        }
        QVERIFY(cases > 30);
    }
    void committedFilesGiveTheirMessage()
    {
        QFETCH(QString, configurationPath);
        QVERIFY(QFile::exists(configurationPath));
        QTEST(load(configurationPath), "message");
    }

    // The standard reader's corpus: each case.cfg (with case.dat) or case.cff, its
    // message, and the warning its tab shows (none for a refusal).
    void committedStandardFilesGiveTheirMessage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("warning");
        const QDir folder(qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/malformed-standard"));
        QFile list(folder.filePath(QStringLiteral("messages.txt")));
        QVERIFY2(list.open(QIODevice::ReadOnly), qPrintable(list.fileName()));
        for (const QString& line : QString::fromUtf8(list.readAll()).split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QStringList columns = line.split('\t');
            const QString& name = columns.at(0);
            const QString combined = folder.filePath(name + QStringLiteral(".cff"));
            QTest::newRow(qPrintable(name)) << (QFile::exists(combined) ? combined : folder.filePath(name + ".cfg"))
                                            << columns.value(1) << columns.value(2);
        }
    }
    void committedStandardFilesGiveTheirMessage()
    {
        QFETCH(QString, path);
        QVERIFY(QFile::exists(path));
        Recording recording;
        QTEST(LumetoTest::loadStandard(path, recording), "message");
        QTEST(VornaLumeto::describeWarnings(recording), "warning");
    }

    // What loading notes of the failing step, and whether the error box can say why.
    void failuresNoteWhatTheLoaderSaw_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stationLine");
        QTest::addColumn<QString>("fileTypeLine");
        QTest::addColumn<int>("dataLineCount");
        QTest::addColumn<bool>("dataPathNoted");
        QTest::addColumn<bool>("explained");
        QTest::newRow("revision year") << "station-line-revision-year" << "Station,1,1999" << "" << -1 << false << true;
        QTest::newRow("binary") << "file-type-binary" << "" << "BINARY" << -1 << false << true;
        QTest::newRow("data ends early") << "dat-shorter-than-n" << "" << "" << 2 << false << true;
        QTest::newRow("blank lines after the data") << "dat-blank-lines-after-end" << "" << "" << 2 << false << true;
        QTest::newRow("missing data file") << "missing-dat" << "" << "" << -1 << true << true;
        QTest::newRow("blank line inside the data") << "dat-blank-line-inside" << "" << "" << -1 << false << true;
        QTest::newRow("syntax error") << "month-31" << "" << "" << -1 << false << false;
        QTest::newRow("lower-case ascii") << "file-type-lower-case" << "" << "ascii" << -1 << false << false;
        QTest::newRow("data field missing") << "dat-field-too-few" << "" << "" << -1 << false << true;
    }
    void failuresNoteWhatTheLoaderSaw()
    {
        QFETCH(QString, name);
        QFETCH(int, dataLineCount);
        QFETCH(bool, dataPathNoted);
        const QDir folder(qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/malformed"));
        Recording recording;
        LoadFailure failure;
        QVERIFY(LumetoTest::loadDialect(folder.filePath(name + QStringLiteral(".cfg")), recording, &failure) != success);
        QTEST(failure.stationLine, "stationLine");
        QTEST(failure.fileTypeLine, "fileTypeLine");
        QCOMPARE(failure.dataLineCount, dataLineCount);
        if (dataLineCount >= 0)
            QCOMPARE(failure.sampleCount, 4);
        QCOMPARE(failure.dataPath, dataPathNoted ? folder.absoluteFilePath(name + QStringLiteral(".dat")) : QString());
        QTEST(!explainLoadFailure(failure).isEmpty(), "explained");
    }

    // The recordings have 2 analog and 1 digital channel: five fields a line.
    void failingDataLineIsExplainedFieldByField_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("explanation");
        const QString fiveOf = QStringLiteral("\nОжидается полей: 5 (номер отсчёта, метка времени, аналоговых "
                                              "каналов: 2, дискретных каналов: 1), в строке: %1.");
        QTest::newRow("line cut short") << "dat-field-too-few"
            << "Строка обрывается: поля 5 (дискретный канал 1) в ней нет." + fiveOf.arg(4);
        QTest::newRow("decimal point") << "dat-value-with-point"
            << "Поле 3 (аналоговый канал 1): «15.5» — десятичная точка, а здесь допустимы только цифры и "
               "знак минус." + fiveOf.arg(5);
        QTest::newRow("sign on a stamp") << "dat-negative-time-stamp"
            << "Поле 2 (метка времени): «-1000» — знак минус, а здесь допустимы только цифры." + fiveOf.arg(5);
        QTest::newRow("letter in a value") << "dat-value-with-exponent"
            << "Поле 3 (аналоговый канал 1): «1e3» — буква «e», а здесь допустимы только цифры и знак минус."
                   + fiveOf.arg(5);
        QTest::newRow("digital state 2") << "dat-digital-state-2"
            << "Поле 5 (дискретный канал 1): «2» — цифра «2», а здесь допустимы только 0 и 1." + fiveOf.arg(5);
        QTest::newRow("field too many") << "dat-field-too-many" << "Поле 6 лишнее: «0»." + fiveOf.arg(6);
        QTest::newRow("blank line") << "dat-blank-line-inside" << "Строка пуста." + fiveOf.arg(0);
    }
    void failingDataLineIsExplainedFieldByField()
    {
        QFETCH(QString, name);
        const QDir folder(qEnvironmentVariable("LUMETO_TEST_DATA") + QStringLiteral("/malformed"));
        Recording recording;
        LoadFailure failure;
        QVERIFY(LumetoTest::loadDialect(folder.filePath(name + QStringLiteral(".cfg")), recording, &failure) != success);
        QTEST(explainLoadFailure(failure), "explanation");
    }

    void explanationsNameWhatWasFound_data()
    {
        QTest::addColumn<QString>("stationLine");
        QTest::addColumn<QString>("fileTypeLine");
        QTest::addColumn<int>("dataLineCount");
        QTest::addColumn<QString>("dataPath");
        QTest::addColumn<QStringList>("quoted");  // empty: no explanation
        QTest::newRow("revision 2013") << "Станция,12,2013" << "" << -1 << "" << QStringList{"2013"};
        QTest::newRow("1991 written out") << "Station,1,1991" << "" << -1 << "" << QStringList();
        QTest::newRow("recorder id 0") << "Station,0" << "" << -1 << "" << QStringList();
        QTest::newRow("spaced lower-case binary32") << "" << " binary32" << -1 << "" << QStringList{"BINARY32"};
        QTest::newRow("FLOAT32") << "" << "FLOAT32" << -1 << "" << QStringList{"FLOAT32"};
        QTest::newRow("ASCII and a space") << "" << "ASCII " << -1 << "" << QStringList();
        QTest::newRow("1200 of 65535 lines") << "" << "" << 1200 << "" << QStringList{"1200", "65535"};
        QTest::newRow("no data lines") << "" << "" << 0 << "" << QStringList{"0", "65535"};
        QTest::newRow("data path") << "" << "" << -1 << "/r/<b>rec</b>.dat" << QStringList{"/r/<b>rec</b>.dat"};
        QTest::newRow("nothing noted") << "" << "" << -1 << "" << QStringList();
    }
    void explanationsNameWhatWasFound()
    {
        LoadFailure failure;
        QFETCH(QString, stationLine);
        failure.stationLine = stationLine;
        QFETCH(QString, fileTypeLine);
        failure.fileTypeLine = fileTypeLine;
        QFETCH(int, dataLineCount);
        failure.dataLineCount = dataLineCount;
        failure.sampleCount = 65535;
        QFETCH(QString, dataPath);
        failure.dataPath = dataPath;
        QFETCH(QStringList, quoted);
        const QString explanation = explainLoadFailure(failure);
        QCOMPARE(explanation.isEmpty(), quoted.isEmpty());
        for (const QString& text : quoted)
            QVERIFY2(explanation.contains(text), qPrintable(explanation));
    }

    void generatedFilesGiveTheirMessage_data()
    {
        QTest::addColumn<QByteArray>("configuration");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");

        const QByteArray junk = binaryJunk(4096);
        QTest::newRow("binary junk configuration") << junk << validData
            << configurationFailure + "1: " + windows1251(firstLine(junk));
        const QByteArray junkLine = firstLine(junk);
        QTest::newRow("binary junk data") << validConfiguration << junk
            << dataFailure + "1: " + QString::fromLocal8Bit(junkLine.left(junkLine.indexOf('\0')));

        // Without a byte-order mark every other byte is a NUL, and the first line fails.
        QTest::newRow("UTF-16 without byte-order mark") << utf16LittleEndian(validConfiguration, false) << validData
            << configurationFailure + "1: " + latin1(firstLine(utf16LittleEndian(validConfiguration, false)));

        const QByteArray longName(69990, 'x');
        const QByteArray longStation = "S" + longName + ",12";
        QTest::newRow("station line of 70,000 characters") << replacedLine(validConfiguration, 1, longStation)
            << validData << configurationFailure + "1: " + longStation;
        const QByteArray longAnalog = "1," + longName + ",A,,kV,0.1,0,0,-32767,32767";
        QTest::newRow("analog line of 70,000 characters") << replacedLine(validConfiguration, 3, longAnalog)
            << validData << configurationFailure + "3: " + longAnalog;
        const QByteArray longDataLine = "2,1000,150,-100," + QByteArray(69990, '1') + "x";
        QTest::newRow("data line of 70,000 characters") << validConfiguration
            << replacedLine(validData, 2, longDataLine) << dataFailure + "2: " + longDataLine;
        // Digits beyond the 32-bit range convert to 0, as every unconvertible value does.
        QTest::newRow("data value of 70,000 digits") << validConfiguration
            << replacedLine(validData, 2, "2,1000," + QByteArray(70000, '9') + ",-100,1") << success;

        QTest::newRow("NUL inside a configuration line") << replacedLine(validConfiguration, 6, QByteArray("5\0" "0", 3))
            << validData << configurationFailure + "6: " + QString::fromLatin1("5\0" "0", 3);
        QTest::newRow("NUL inside a data line") << validConfiguration
            << replacedLine(validData, 2, QByteArray("2,1000,1\0" "50,-100,1", 18)) << dataFailure + "2: 2,1000,1";

        // A lone CR ends no line: the whole file is read as its first line, less its final CR.
        QByteArray crOnlyConfiguration = validConfiguration;
        crOnlyConfiguration.replace('\n', '\r');
        QTest::newRow("CR-only configuration") << crOnlyConfiguration << validData
            << configurationFailure + "1: " + latin1(crOnlyConfiguration.chopped(1));
        QByteArray crOnlyData = validData;
        crOnlyData.replace('\n', '\r');
        QTest::newRow("CR-only data") << validConfiguration << crOnlyData
            << dataFailure + "1: " + latin1(crOnlyData.chopped(1));
    }
    void generatedFilesGiveTheirMessage()
    {
        QFETCH(QByteArray, configuration);
        QFETCH(QByteArray, data);
        LumetoTest::writeFile(work, QStringLiteral("generated.dat"), data);
        QTEST(load(LumetoTest::writeFile(work, QStringLiteral("generated.cfg"), configuration)), "message");
    }

    void byteOrderMarkSelectsUtf16()
    {
        LumetoTest::writeFile(work, QStringLiteral("utf16.dat"), validData);
        const QString path = LumetoTest::writeFile(work, QStringLiteral("utf16.cfg"), utf16LittleEndian(validConfiguration, true));
        Recording recording;
        QCOMPARE(LumetoTest::loadDialect(path, recording), success);
        QCOMPARE(recording.stationName, QStringLiteral("Station"));
    }

    void emptyNameOpensNothing() { QCOMPARE(load(QString()), QStringLiteral("Файл не выбран")); }

    void directoriesNamedLikeRecordingFiles()
    {
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("folder.cfg")));
        QCOMPARE(load(work.filePath(QStringLiteral("folder.cfg"))), QStringLiteral("Файл не открывается"));
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("datfolder.dat")));
        const QString path = LumetoTest::writeFile(work, QStringLiteral("datfolder.cfg"), validConfiguration);
        QCOMPARE(load(path), QStringLiteral("Не удалось открыть файл *.dat"));
    }

    void unreadableConfiguration()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not stop root from reading");
        const QString path = LumetoTest::writeFile(work, QStringLiteral("locked.cfg"), validConfiguration);
        LumetoTest::writeFile(work, QStringLiteral("locked.dat"), validData);
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        QCOMPARE(load(path), QStringLiteral("Файл не открывается"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // The two recordings that load but leave nothing to analyse: no period fits in them.
    void periodlessRecordingsLoadWithoutAnalysis_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("lineNumber");
        QTest::newRow("line frequency 0") << QByteArray("0") << 6;
        QTest::newRow("sampling rate below the line frequency") << QByteArray("20,4") << 8;
    }
    void periodlessRecordingsLoadWithoutAnalysis()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, lineNumber);
        LumetoTest::writeFile(work, QStringLiteral("periodless.dat"), validData);
        const QString path = LumetoTest::writeFile(work, QStringLiteral("periodless.cfg"),
                                                   replacedLine(validConfiguration, lineNumber, line));
        Recording recording;
        QCOMPARE(LumetoTest::loadDialect(path, recording), success);
        QVERIFY(!VornaLumeto::analysisPeriods(recording.sampleRates.first().rate, recording.lineFrequency).usable());
        QCOMPARE(recording.channelFrequency.size(), 2);
        QCOMPARE(recording.timeAxis.size(), 4);
    }

private:
    QTemporaryDir work;
};

QTEST_GUILESS_MAIN(TestMalformedFiles)
#include "test_malformedfiles.moc"
