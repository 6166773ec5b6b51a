#include "comtrade/standard/combinedfile.h"

#include "comtrade/standard/standardmessages.h"

#include <QRegularExpression>

#include <algorithm>

namespace VornaLumeto {
namespace {

enum class SectionKind { Configuration, Information, Header, Data };

struct SectionTitle {
    SectionKind kind = SectionKind::Configuration;
    DataType dataType = DataType::Ascii;
    qint64 byteCount = -1;  // binary data only
};

// Recorders write the titles in any letter case and spacing, with the colons
// or without them.
bool isTitleLike(const QByteArray& line)
{
    static const QRegularExpression start(QStringLiteral("^---\\s*file\\s*type"),
                                          QRegularExpression::CaseInsensitiveOption);
    return start.match(QString::fromLatin1(line)).hasMatch();
}

bool parseTitle(const QByteArray& line, SectionTitle& title)
{
    static const QRegularExpression pattern(
        QStringLiteral("^---\\s*file\\s*type\\s*:?\\s*(CFG|INF|HDR|DAT\\s*:?\\s*(ASCII|BINARY32|BINARY|FLOAT32))"
                       "(?:(?:\\s*:\\s*|\\s+)([0-9]+))?\\s*---$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(line));
    if (!match.hasMatch())
        return false;
    const QString kind = match.captured(1).left(3).toUpper();
    title.kind = kind == QLatin1String("CFG")   ? SectionKind::Configuration
                 : kind == QLatin1String("INF") ? SectionKind::Information
                 : kind == QLatin1String("HDR") ? SectionKind::Header
                                                : SectionKind::Data;
    const QString type = match.captured(2).toUpper();
    title.dataType = type == QLatin1String("BINARY")     ? DataType::Binary
                     : type == QLatin1String("BINARY32") ? DataType::Binary32
                     : type == QLatin1String("FLOAT32")  ? DataType::Float32
                                                         : DataType::Ascii;
    bool ok = true;
    title.byteCount = match.captured(3).isEmpty() ? -1 : match.captured(3).toLongLong(&ok);
    return ok;
}

// A UTF-8 byte-order mark before the first title is no part of it.
QByteArray withoutByteOrderMark(const QByteArray& line)
{
    static const QByteArray mark("\xEF\xBB\xBF");
    return line.startsWith(mark) ? line.mid(mark.size()) : line;
}

class SectionSplitter {
public:
    SectionSplitter(const QByteArray& bytes, const QString& fileName, CombinedSections& sections)
        : bytes(bytes), fileName(fileName), sections(sections)
    {
    }

    QString split()
    {
        while (position < bytes.size()) {
            const qint64 lineFeed = bytes.indexOf('\n', int(position));
            const qint64 next = lineFeed < 0 ? bytes.size() : lineFeed + 1;
            ++lineNumber;
            const QByteArray line = withoutByteOrderMark(bytes.mid(int(position), int(next - position))).trimmed();
            SectionTitle title;
            if (isTitleLike(line) && !parseTitle(line, title))
                return problem(standardText("заголовок раздела «%1» не разобран").arg(QString::fromLatin1(line)));
            if (isTitleLike(line)) {
                const QString message = startSection(title, next);
                if (!message.isEmpty())
                    return message;
            } else {
                position = next;
            }
        }
        closeTextSection(bytes.size());
        if (!hasConfiguration)
            return standardFileProblem(fileName, standardText("в файле нет раздела CFG"));
        if (sections.dataOffset < 0)
            return standardFileProblem(fileName, standardText("в файле нет раздела DAT"));
        return QString();
    }

private:
    QString problem(const QString& reason) const { return standardLineProblem(fileName, lineNumber, reason); }

    // The title line ends at contentStart. A binary data section is skipped by its byte count.
    QString startSection(const SectionTitle& title, qint64 contentStart)
    {
        closeTextSection(position);
        position = contentStart;
        switch (title.kind) {
        case SectionKind::Configuration:
            hasConfiguration = true;
            openText(&sections.configuration);
            sections.configurationFirstLine = lineNumber + 1;
            return QString();
        case SectionKind::Information: openText(&sections.information); return QString();
        case SectionKind::Header: openText(&sections.header); return QString();
        case SectionKind::Data: break;
        }
        sections.dataType = title.dataType;
        sections.dataOffset = contentStart;
        sections.dataFirstLine = lineNumber + 1;
        if (title.dataType == DataType::Ascii) {
            openText(nullptr);
            return QString();
        }
        if (title.byteCount < 0)
            return problem(standardText("в заголовке двоичного раздела DAT не указано число байт"));
        const qint64 left = bytes.size() - contentStart;
        if (title.byteCount > left)
            return problem(standardText("в разделе DAT объявлено %1 байт, а до конца файла их %2")
                               .arg(title.byteCount)
                               .arg(left));
        sections.dataSize = title.byteCount;
        position = contentStart + title.byteCount;
        lineNumber += int(std::count(bytes.constData() + contentStart, bytes.constData() + position, '\n'));
        return QString();
    }

    // A text section (or ASCII data, target null) runs from here to the next title.
    void openText(QByteArray* target)
    {
        openTarget = target;
        openIsAsciiData = target == nullptr;
        openStart = position;
        textOpen = true;
    }

    void closeTextSection(qint64 end)
    {
        if (!textOpen)
            return;
        if (openIsAsciiData)
            sections.dataSize = end - openStart;
        else
            *openTarget = bytes.mid(int(openStart), int(end - openStart));
        textOpen = false;
    }

    const QByteArray& bytes;
    const QString& fileName;
    CombinedSections& sections;
    qint64 position = 0;
    int lineNumber = 0;
    bool hasConfiguration = false;
    bool textOpen = false;
    bool openIsAsciiData = false;
    QByteArray* openTarget = nullptr;
    qint64 openStart = 0;
};

} // namespace

QString splitCombinedFile(const QByteArray& bytes, const QString& fileName, CombinedSections& sections)
{
    sections = CombinedSections();
    return SectionSplitter(bytes, fileName, sections).split();
}

} // namespace VornaLumeto
