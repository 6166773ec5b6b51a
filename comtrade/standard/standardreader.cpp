#include "comtrade/standard/standardreader.h"

#include "comtrade/standard/combinedfile.h"
#include "comtrade/dialect/datareader.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/standard/standarddata.h"
#include "comtrade/standard/standardmessages.h"
#include "comtrade/standard/standardmodel.h"
#include "comtrade/common/textencoding.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <new>

namespace VornaLumeto {
namespace {

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The lines without their terminators and the end-of-file characters (0x1A)
// some recorders pad with; a terminator at the end starts no further line.
QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString& line : lines) {
        while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QChar(0x1A)))
            line.chop(1);
    }
    return lines;
}

QString parseConfigurationBytes(const QByteArray& bytes, int firstLineNumber, const QString& fileName,
                                StandardConfiguration& configuration, QString& encoding)
{
    if (bytes.trimmed().isEmpty())
        return standardFileProblem(fileName, standardText("конфигурация пуста"));
    const DecodedText decoded = decodeConfigurationText(bytes);
    encoding = decoded.encoding;
    const ConfigurationProblem problem = parseStandardConfiguration(linesOf(decoded.text), firstLineNumber, configuration);
    return problem.isEmpty() ? QString() : standardLineProblem(fileName, problem.line, problem.reason);
}

QString decodeBytes(const char* bytes, qint64 size, const DataLayout& layout, const DataPlace& place,
                    DecodedData& data)
{
    if (layout.type != DataType::Ascii)
        return decodeBinaryData(bytes, size, layout, place, data);
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(bytes, int(size)));
    buffer.open(QIODevice::ReadOnly);
    return decodeAsciiData(buffer, layout, place, data);
}

// ASCII data are read as a stream; binary data where the file lies, mapped into memory when it can be.
QString decodeFile(QFile& file, const DataLayout& layout, const DataPlace& place, DecodedData& data)
{
    if (layout.type == DataType::Ascii)
        return decodeAsciiData(file, layout, place, data);
    const qint64 size = file.size();
    if (const uchar* mapped = file.map(0, size))
        return decodeBinaryData(reinterpret_cast<const char*>(mapped), size, layout, place, data);
    const QByteArray bytes = file.readAll();
    return decodeBinaryData(bytes.constData(), bytes.size(), layout, place, data);
}

// Runs a reading step; memory running out is a refusal like any other.
template <typename Step>
QString guardedReading(const QString& fileName, Step step)
{
    try {
        return step();
    } catch (const std::bad_alloc&) {
        return standardFileProblem(fileName, standardText("не хватает памяти, чтобы прочитать запись"));
    }
}

QString finished(const QString& message)
{
    return message.isEmpty() ? loadSuccessMessage() : message;
}

QString readSeparateFiles(const QString& configurationPath, Recording& recording)
{
    const QString configurationName = fileNameOf(configurationPath);
    QFile configurationFile(configurationPath);
    if (!configurationFile.open(QIODevice::ReadOnly))
        return standardFileProblem(configurationName, standardText("файл не открывается"));
    StandardConfiguration configuration;
    QString encoding;
    QString message =
        parseConfigurationBytes(configurationFile.readAll(), 1, configurationName, configuration, encoding);
    if (!message.isEmpty())
        return message;

    QFile dataFile(dataFilePath(configurationPath));
    const QString dataName = fileNameOf(dataFile.fileName());
    if (!dataFile.open(QIODevice::ReadOnly))
        return standardFileProblem(dataName, standardText("файл данных не открывается"));
    if (dataFile.size() == 0)
        return standardFileProblem(dataName, standardText("файл данных пуст"));
    DecodedData data;
    message = decodeFile(dataFile, keptChannelLayout(configuration), {dataName, 1, 0}, data);
    if (!message.isEmpty())
        return message;
    return fillRecording(configuration, data, encoding, dataName, recording);
}

QString readCombined(const QString& fileName, const QByteArray& bytes, Recording& recording)
{
    CombinedSections sections;
    QString message = splitCombinedFile(bytes, fileName, sections);
    if (!message.isEmpty())
        return message;
    StandardConfiguration configuration;
    QString encoding;
    message = parseConfigurationBytes(sections.configuration, sections.configurationFirstLine, fileName,
                                      configuration, encoding);
    if (!message.isEmpty())
        return message;
    if (sections.dataType != configuration.dataType)
        return standardLineProblem(fileName, sections.dataFirstLine - 1,
                                   standardText("раздел DAT записан как %1, а конфигурация говорит %2")
                                       .arg(dataTypeName(sections.dataType), dataTypeName(configuration.dataType)));
    DecodedData data;
    message = decodeBytes(bytes.constData() + sections.dataOffset, sections.dataSize,
                          keptChannelLayout(configuration),
                          {fileName, sections.dataFirstLine, sections.dataOffset}, data);
    if (!message.isEmpty())
        return message;
    return fillRecording(configuration, data, encoding, fileName, recording);
}

} // namespace

bool isCombinedRecordingPath(const QString& path)
{
    return path.endsWith(QLatin1String(".cff"), Qt::CaseInsensitive);
}

QString loadStandardRecording(const QString& path, Recording& recording)
{
    if (path.isEmpty())
        return standardText("Файл не выбран");
    const QString fileName = fileNameOf(path);
    return guardedReading(fileName, [&] {
        if (!isCombinedRecordingPath(path))
            return finished(readSeparateFiles(path, recording));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return standardFileProblem(fileName, standardText("файл не открывается"));
        return finished(readCombined(fileName, file.readAll(), recording));
    });
}

QString readStandardRecording(const QString& configurationName, const QByteArray& configuration,
                              const QString& dataName, const QByteArray& data, Recording& recording)
{
    return guardedReading(configurationName, [&] {
        StandardConfiguration parsed;
        QString encoding;
        QString message = parseConfigurationBytes(configuration, 1, configurationName, parsed, encoding);
        if (message.isEmpty() && data.isEmpty())
            message = standardFileProblem(dataName, standardText("файл данных пуст"));
        DecodedData decoded;
        if (message.isEmpty())
            message = decodeBytes(data.constData(), data.size(), keptChannelLayout(parsed), {dataName, 1, 0}, decoded);
        if (message.isEmpty())
            message = fillRecording(parsed, decoded, encoding, dataName, recording);
        return finished(message);
    });
}

QString readCombinedRecording(const QString& fileName, const QByteArray& bytes, Recording& recording)
{
    return guardedReading(fileName, [&] { return finished(readCombined(fileName, bytes, recording)); });
}

QString readStandardConfiguration(const QString& path, StandardConfiguration& configuration, QString& encoding)
{
    const QString fileName = fileNameOf(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return standardFileProblem(fileName, standardText("файл не открывается"));
    const QByteArray bytes = file.readAll();
    if (!isCombinedRecordingPath(path))
        return parseConfigurationBytes(bytes, 1, fileName, configuration, encoding);
    CombinedSections sections;
    const QString message = splitCombinedFile(bytes, fileName, sections);
    if (!message.isEmpty())
        return message;
    return parseConfigurationBytes(sections.configuration, sections.configurationFirstLine, fileName, configuration,
                                   encoding);
}

} // namespace VornaLumeto
