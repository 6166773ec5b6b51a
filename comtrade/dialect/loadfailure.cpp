#include "comtrade/dialect/loadfailure.h"

#include "comtrade/dialect/dialectmessages.h"

#include <QRegularExpression>
#include <QStringList>

namespace VornaLumeto {
namespace {

// The layout this viewer reads; later revisions add the revision year to line 1.
constexpr int readRevision = 1991;

// The year of a station line with a third field such as 1999 or 2013, else 0.
int revisionYear(const QString& stationLine)
{
    const QStringList fields = stationLine.split(QLatin1Char(','));
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (fields.size() != 3 || !fourDigits.match(fields.at(2)).hasMatch())
        return 0;
    const int year = fields.at(2).toInt();
    return year > readRevision ? year : 0;
}

// BINARY, BINARY32 or FLOAT32 in the spelling of the format, else empty.
QString binaryFileType(const QString& fileTypeLine)
{
    const QString type = fileTypeLine.trimmed().toUpper();
    static const QStringList binaryTypes{QStringLiteral("BINARY"), QStringLiteral("BINARY32"),
                                         QStringLiteral("FLOAT32")};
    return binaryTypes.contains(type) ? type : QString();
}

QString fieldName(const DataLineFault& fault)
{
    const int number = fault.fieldNumber;
    switch (fault.fieldAt(number)) {
    case DataLineFault::Field::SampleNumber:
        return dialectText("номер отсчёта");
    case DataLineFault::Field::TimeStamp:
        return dialectText("метка времени");
    case DataLineFault::Field::Analog:
        return dialectText("аналоговый канал %1").arg(fault.channelAt(number));
    case DataLineFault::Field::Digital:
        return dialectText("дискретный канал %1").arg(fault.channelAt(number));
    case DataLineFault::Field::Extra:
        break;
    }
    return dialectText("лишнее поле");
}

QString allowedCharacters(const DataLineFault& fault)
{
    switch (fault.fieldAt(fault.fieldNumber)) {
    case DataLineFault::Field::Analog:
        return dialectText("только цифры и знак минус");
    case DataLineFault::Field::Digital:
        return dialectText("только 0 и 1");
    default:
        return dialectText("только цифры");
    }
}

QString characterName(int byte)
{
    const char c = char(byte);
    switch (c) {
    case '.':
        return dialectText("десятичная точка");
    case '-':
        return dialectText("знак минус");
    case '+':
        return dialectText("знак плюс");
    case ' ':
        return dialectText("пробел");
    case '\t':
        return dialectText("табуляция");
    default:
        break;
    }
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return dialectText("буква «%1»").arg(QLatin1Char(c));
    if (c >= '0' && c <= '9')
        return dialectText("цифра «%1»").arg(QLatin1Char(c));
    if (byte > ' ' && byte < 0x7F)
        return dialectText("знак «%1»").arg(QLatin1Char(c));
    return dialectText("байт с кодом %1").arg(byte);
}

// The field as the user can read it: control bytes marked, a long field cut short.
QString quotedField(const QByteArray& text)
{
    constexpr int longest = 24;
    QByteArray shown = text.left(longest);
    for (char& c : shown) {
        if (uchar(c) < ' ')
            c = '?';
    }
    return QString::fromLocal8Bit(shown) + (text.size() > longest ? QStringLiteral("…") : QString());
}

QString whatIsWrongWithTheField(const DataLineFault& fault)
{
    switch (fault.problem) {
    case DataLineFault::Problem::Character:
        return dialectText("Поле %1 (%2): «%3» — %4, а здесь допустимы %5.")
            .arg(fault.fieldNumber)
            .arg(fieldName(fault), quotedField(fault.fieldText), characterName(fault.character),
                 allowedCharacters(fault));
    case DataLineFault::Problem::Missing:
        if (fault.presentFields == 0)
            return dialectText("Строка пуста.");
        return dialectText("Строка обрывается: поля %1 (%2) в ней нет.").arg(fault.fieldNumber).arg(fieldName(fault));
    case DataLineFault::Problem::Extra:
        return dialectText("Поле %1 лишнее: «%2».").arg(fault.fieldNumber).arg(quotedField(fault.fieldText));
    case DataLineFault::Problem::None:
        break;
    }
    return QString();
}

// Which field is wrong and what was found there, then the fields expected against those present.
QString explainDataLine(const DataLineFault& fault)
{
    const QString field = whatIsWrongWithTheField(fault);
    if (field.isEmpty())
        return QString();
    return field + QLatin1Char('\n')
           + dialectText("Ожидается полей: %1 (номер отсчёта, метка времени, аналоговых каналов: %2, "
                         "дискретных каналов: %3), в строке: %4.")
                 .arg(fault.expectedFields())
                 .arg(fault.analogCount)
                 .arg(fault.digitalCount)
                 .arg(fault.presentFields);
}

} // namespace

QString explainLoadFailure(const LoadFailure& failure)
{
    if (const int year = revisionYear(failure.stationLine))
        return dialectText("Файл записан по редакции формата COMTRADE %1 года: в первой строке указан год "
                           "редакции. Программа читает файлы в формате редакции 1991 года, в первой строке "
                           "которых только название подстанции и номер регистратора.")
            .arg(year);
    const QString binaryType = binaryFileType(failure.fileTypeLine);
    if (!binaryType.isEmpty())
        return dialectText("Данные записаны в двоичном виде (%1). Программа читает только файлы *.dat "
                           "в текстовом виде (ASCII).")
            .arg(binaryType);
    if (failure.dataLineCount >= 0)
        return dialectText("Файл *.dat кончается раньше, чем нужно: строк с отсчётами в нём %1, "
                           "а в файле *.cfg число отсчётов %2.")
            .arg(failure.dataLineCount)
            .arg(failure.sampleCount);
    if (!failure.dataPath.isEmpty())
        return dialectText("Файл *.dat ищется рядом с файлом *.cfg под тем же именем. Проверенный путь:\n%1")
            .arg(failure.dataPath);
    return explainDataLine(failure.dataLine);
}

} // namespace VornaLumeto
