#include "comtrade/standard/standardreader.h"

#include "comtrade/common/linepadding.h"
#include "comtrade/common/readingprogress.h"
#include "comtrade/common/recordingfiles.h"
#include "comtrade/common/textencoding.h"
#include "comtrade/standard/combinedfile.h"
#include "comtrade/standard/standarddata.h"
#include "comtrade/standard/standardmessages.h"
#include "comtrade/standard/standardmodel.h"

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

// The lines without their terminators and the padding after their content;
// a terminator at the end starts no further line.
QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString& line : lines)
        chopPadding(line);
    return lines;
}

ReadingResult refused(ReadingFailure failure, const QString& message)
{
    return {failure, message};
}

// What a step of the reading left: read on, refused for the failure given, or cancelled.
ReadingResult stepResult(const QString& message, ReadingFailure failure, const ReadingProgress* progress)
{
    if (progress && progress->isCancelled())
        return {ReadingFailure::Cancelled, QString()};
    return message.isEmpty() ? ReadingResult() : refused(failure, message);
}

ReadingResult parseConfigurationBytes(const QByteArray& bytes, const EncodingGuess& guess, int firstLineNumber,
                                      const QString& fileName, StandardConfiguration& configuration, QString& encoding)
{
    if (bytes.trimmed().isEmpty())
        return refused(ReadingFailure::FileEmpty, standardFileProblem(fileName, standardText("конфигурация пуста")));
    const DecodedText decoded = decodeConfigurationText(bytes, guess);
    encoding = decoded.encoding;
    const ConfigurationProblem problem = parseStandardConfiguration(linesOf(decoded.text), firstLineNumber, configuration);
    if (problem.isEmpty())
        return {};
    return refused(ReadingFailure::Configuration, standardLineProblem(fileName, problem.line, problem.reason));
}

QString decodeBytes(const char* bytes, qint64 size, const DataLayout& layout, const DataPlace& place,
                    DecodedData& data, ReadingProgress* progress)
{
    if (layout.type != DataType::Ascii)
        return decodeBinaryData(bytes, size, layout, place, data, progress);
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(bytes, int(size)));
    buffer.open(QIODevice::ReadOnly);
    return decodeAsciiData(buffer, layout, place, data, progress);
}

// ASCII data are read as a stream; binary data where the file lies, mapped into memory when it can be.
QString decodeFile(QFile& file, const DataLayout& layout, const DataPlace& place, DecodedData& data,
                   ReadingProgress* progress)
{
    if (layout.type == DataType::Ascii)
        return decodeAsciiData(file, layout, place, data, progress);
    const qint64 size = file.size();
    if (const uchar* mapped = file.map(0, size))
        return decodeBinaryData(reinterpret_cast<const char*>(mapped), size, layout, place, data, progress);
    const QByteArray bytes = file.readAll();
    return decodeBinaryData(bytes.constData(), bytes.size(), layout, place, data, progress);
}

// The decoded samples as the recording, its tracks built.
ReadingResult filled(const StandardConfiguration& configuration, DecodedData& data, const QString& encoding,
                     const QString& dataName, Recording& recording, ReadingProgress* progress)
{
    return stepResult(fillRecording(configuration, data, encoding, dataName, recording, progress),
                      ReadingFailure::Data, progress);
}

// Runs a reading; memory running out is a refusal like any other.
template <typename Reading>
ReadingResult guarded(const QString& fileName, Reading reading)
{
    try {
        return reading();
    } catch (const std::bad_alloc&) {
        return refused(ReadingFailure::Memory,
                       standardFileProblem(fileName, standardText("не хватает памяти, чтобы прочитать запись")));
    }
}

ReadingResult readSeparateFiles(RecordingFiles& files, Recording& recording, ReadingProgress* progress)
{
    const QString configurationName = fileNameOf(files.path());
    if (!files.isOpen())
        return refused(ReadingFailure::FileNotOpened,
                       standardFileProblem(configurationName, standardText("файл не открывается")));
    StandardConfiguration configuration;
    QString encoding;
    const ReadingResult parsed =
        parseConfigurationBytes(files.bytes(), files.encodingGuess(), 1, configurationName, configuration, encoding);
    if (!parsed.ok())
        return parsed;

    QFile& dataFile = files.data();
    const QString dataName = fileNameOf(dataFile.fileName());
    if (!dataFile.isOpen())
        return refused(ReadingFailure::DataFileNotOpened,
                       standardFileProblem(dataName, standardText("файл данных не открывается")));
    if (dataFile.size() == 0)
        return refused(ReadingFailure::DataFileEmpty, standardFileProblem(dataName, standardText("файл данных пуст")));
    if (progress)
        progress->beginStage(ReadingProgress::Stage::StandardData, dataFile.size());
    DecodedData data;
    const ReadingResult decoded =
        stepResult(decodeFile(dataFile, keptChannelLayout(configuration), {dataName, 1, 0}, data, progress),
                   ReadingFailure::Data, progress);
    if (!decoded.ok())
        return decoded;
    return filled(configuration, data, encoding, dataName, recording, progress);
}

ReadingResult readCombined(const QString& fileName, const QByteArray& bytes, Recording& recording,
                           ReadingProgress* progress)
{
    CombinedSections sections;
    const QString split = splitCombinedFile(bytes, fileName, sections);
    if (!split.isEmpty())
        return refused(ReadingFailure::Configuration, split);
    StandardConfiguration configuration;
    QString encoding;
    const ReadingResult parsed =
        parseConfigurationBytes(sections.configuration, guessEncoding(sections.configuration),
                                sections.configurationFirstLine, fileName, configuration, encoding);
    if (!parsed.ok())
        return parsed;
    if (sections.dataType != configuration.dataType)
        return refused(ReadingFailure::Configuration,
                       standardLineProblem(fileName, sections.dataFirstLine - 1,
                                           standardText("раздел DAT записан как %1, а конфигурация говорит %2")
                                               .arg(dataTypeName(sections.dataType),
                                                    dataTypeName(configuration.dataType))));
    if (progress)
        progress->beginStage(ReadingProgress::Stage::StandardData, sections.dataSize);
    DecodedData data;
    const ReadingResult decoded =
        stepResult(decodeBytes(bytes.constData() + sections.dataOffset, sections.dataSize,
                               keptChannelLayout(configuration),
                               {fileName, sections.dataFirstLine, sections.dataOffset}, data, progress),
                   ReadingFailure::Data, progress);
    if (!decoded.ok())
        return decoded;
    return filled(configuration, data, encoding, fileName, recording, progress);
}

} // namespace

ReadingResult readStandardFiles(RecordingFiles& files, Recording& recording, ReadingProgress* progress)
{
    return guarded(fileNameOf(files.path()), [&] { return readSeparateFiles(files, recording, progress); });
}

ReadingResult readCombinedFile(RecordingFiles& file, Recording& recording, ReadingProgress* progress)
{
    const QString fileName = fileNameOf(file.path());
    if (!file.isOpen())
        return refused(ReadingFailure::FileNotOpened, standardFileProblem(fileName, standardText("файл не открывается")));
    return readCombinedRecording(fileName, file.bytes(), recording, progress);
}

ReadingResult readStandardRecording(const QString& configurationName, const QByteArray& configuration,
                                    const QString& dataName, const QByteArray& data, Recording& recording)
{
    return guarded(configurationName, [&] {
        StandardConfiguration parsed;
        QString encoding;
        ReadingResult result =
            parseConfigurationBytes(configuration, guessEncoding(configuration), 1, configurationName, parsed, encoding);
        if (result.ok() && data.isEmpty())
            result = refused(ReadingFailure::DataFileEmpty, standardFileProblem(dataName, standardText("файл данных пуст")));
        DecodedData decoded;
        if (result.ok())
            result = stepResult(decodeBytes(data.constData(), data.size(), keptChannelLayout(parsed), {dataName, 1, 0},
                                            decoded, nullptr),
                                ReadingFailure::Data, nullptr);
        if (result.ok())
            result = filled(parsed, decoded, encoding, dataName, recording, nullptr);
        return result;
    });
}

ReadingResult readCombinedRecording(const QString& fileName, const QByteArray& bytes, Recording& recording,
                                    ReadingProgress* progress)
{
    return guarded(fileName, [&] { return readCombined(fileName, bytes, recording, progress); });
}

} // namespace VornaLumeto
