#include "analysis/channeldesignation.h"

#include <QHash>
#include <QRegularExpression>

namespace VornaLumeto {

namespace {

bool isLetterAt(const QString& text, int at)
{
    return at >= 0 && at < text.size() && text.at(at).isLetter();
}

// A, B, C in Latin or Cyrillic letters, either case.
std::optional<PhaseLetter> phaseLetterOf(QChar c)
{
    switch (c.toUpper().unicode()) {
    case u'A':
    case u'А':
        return PhaseLetter::A;
    case u'B':
    case u'В':
        return PhaseLetter::B;
    case u'C':
    case u'С':
        return PhaseLetter::C;
    default:
        return std::nullopt;
    }
}

std::optional<PhaseLetter> phaseLetterAt(const QString& text, int at)
{
    return at >= 0 && at < text.size() ? phaseLetterOf(text.at(at)) : std::nullopt;
}

bool isNeutralLetter(QChar c)
{
    const QChar upper = c.toUpper();
    return upper == u'N' || upper == u'G';
}

// "I0", "3U0", "Io": the zero of the zero sequence, written as a digit or a letter O.
bool isZeroLetter(QChar c)
{
    const QChar upper = c.toUpper();
    return upper == u'0' || upper == u'O' || upper == u'О';
}

bool isSeparator(QChar c)
{
    return c == u' ' || c == u'_' || c == u'-' || c == u'.';
}

int afterSeparators(const QString& text, int at)
{
    while (at < text.size() && isSeparator(text.at(at)))
        ++at;
    return at;
}

// The word at `at`, in any case, ending where a letter does not follow; -1 elsewhere.
int afterWord(const QString& text, int at, const QString& word)
{
    if (text.midRef(at, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return -1;
    const int end = at + word.size();
    return isLetterAt(text, end) ? -1 : end;
}

struct QuantityWord {
    QString word;
    Quantity quantity;
};

// "U", "V", "I" and the Russian words for them, where no letter stands before.
int afterQuantity(const QString& text, int at, Quantity& quantity)
{
    if (isLetterAt(text, at - 1))
        return -1;
    static const QVector<QuantityWord> words = {{QStringLiteral("напряжение"), Quantity::Voltage},
                                                {QStringLiteral("напр"), Quantity::Voltage},
                                                {QStringLiteral("ток"), Quantity::Current}};
    for (const QuantityWord& word : words) {
        const int end = afterWord(text, at, word.word);
        if (end >= 0) {
            quantity = word.quantity;
            return end;
        }
    }
    const QChar letter = text.at(at).toUpper();
    if (letter == u'U' || letter == u'V') {
        quantity = Quantity::Voltage;
        return at + 1;
    }
    if (letter == u'I') {
        quantity = Quantity::Current;
        return at + 1;
    }
    return -1;
}

// "фазы", "ф.", "ph", "phase" between the quantity and the phase letter.
int afterPhaseWord(const QString& text, int at)
{
    static const QStringList words = {QStringLiteral("фазы"), QStringLiteral("фаза"), QStringLiteral("фаз"),
                                      QStringLiteral("ф"),    QStringLiteral("phase"), QStringLiteral("ph")};
    for (const QString& word : words) {
        const int end = afterWord(text, at, word);
        if (end >= 0)
            return afterSeparators(text, end);
    }
    return at;
}

struct PhaseMark {
    PhaseLetter phase = PhaseLetter::A;
    int end = 0;
};

// "A", "L1", "LA", "N", "G", "0": the phase after the quantity, and where it ends.
// `separated`: something stands between quantity and phase, so a letter may not follow.
std::optional<PhaseMark> phaseMarkAt(const QString& text, int at, bool separated)
{
    if (at >= text.size())
        return std::nullopt;
    const QChar c = text.at(at);
    if (c.toUpper() == u'L' && at + 1 < text.size()) {
        const QChar next = text.at(at + 1);
        const bool nextIsDigit = at + 2 < text.size() && text.at(at + 2).isDigit();
        if (next >= u'1' && next <= u'3' && !nextIsDigit)
            return PhaseMark{PhaseLetter(next.unicode() - u'1'), at + 2};
        if (phaseLetterOf(next))
            return phaseMarkAt(text, at + 1, false);
        return std::nullopt;
    }
    if (isNeutralLetter(c) || (!separated && isZeroLetter(c))) {
        if (isLetterAt(text, at + 1))
            return std::nullopt;
        return PhaseMark{PhaseLetter::N, at + 1};
    }
    const auto letter = phaseLetterOf(c);
    if (!letter)
        return std::nullopt;
    int end = at + 1;
    // "Uab", "UA-B": a phase-to-phase quantity, no role of a set.
    if (phaseLetterAt(text, end)
        || ((text.midRef(end, 1) == QLatin1String("-") || text.midRef(end, 1) == QLatin1String("/"))
            && phaseLetterAt(text, end + 1) && !isLetterAt(text, end + 2)))
        return std::nullopt;
    // "Van": phase to neutral.
    if (end < text.size() && text.at(end).toUpper() == u'N' && !isLetterAt(text, end + 1))
        ++end;
    if (separated && isLetterAt(text, end))
        return std::nullopt;
    return PhaseMark{*letter, end};
}

// "3I0", "4-3U0": the 3 belongs to the residual.
int withResidualThree(const QString& text, int start)
{
    if (start >= 1 && text.at(start - 1) == u'3' && !(start >= 2 && text.at(start - 2).isLetterOrNumber()))
        return start - 1;
    return start;
}

std::optional<NamedPhase> namedPhaseAt(const QString& text, int at)
{
    Quantity quantity = Quantity::Voltage;
    const int quantityEnd = afterQuantity(text, at, quantity);
    if (quantityEnd < 0)
        return std::nullopt;
    const int phaseStart = afterPhaseWord(text, afterSeparators(text, quantityEnd));
    const auto mark = phaseMarkAt(text, phaseStart, phaseStart > quantityEnd);
    if (!mark)
        return std::nullopt;
    const int start = mark->phase == PhaseLetter::N ? withResidualThree(text, at) : at;
    return NamedPhase{quantity, mark->phase, start, mark->end};
}

// "1-Ia" as channel 1 writes it: the channel's own number is no part of its name.
QString nameWithoutOwnNumber(const AnalogChannel& channel)
{
    const QString name = channel.id.trimmed();
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)[\\s\\-.:)_]+"));
    const QRegularExpressionMatch match = numbered.match(name);
    if (match.hasMatch() && match.captured(1).toInt() == channel.index && match.capturedLength() < name.size())
        return name.mid(match.capturedLength());
    return name;
}

// "SDIA" of ph A is "SDI", like "SDIB" and "SDIC"; a name without the ph text ("Ch1" of
// ph L1) tells nothing about its set: the ccbm alone groups it.
QString withoutPhaseText(const QString& name, const QString& phase)
{
    const int at = phase.isEmpty() ? -1 : name.lastIndexOf(phase, -1, Qt::CaseInsensitive);
    return at < 0 ? QString() : name.left(at) + name.mid(at + phase.size());
}

// What is left of the name: without "(kV)" when it repeats the unit, without the
// separators at either end.
QString cleanStem(QString stem, const QString& unit)
{
    if (!unit.trimmed().isEmpty())
        stem.remove(QLatin1Char('(') + unit.trimmed() + QLatin1Char(')'), Qt::CaseInsensitive);
    stem = stem.simplified();
    static const QRegularExpression edges(QStringLiteral("^[\\s\\-_.:,;/]+|[\\s\\-_.:,;/]+$"));
    return stem.remove(edges);
}

PhaseRole roleOf(Quantity quantity, PhaseLetter phase)
{
    const int first = quantity == Quantity::Voltage ? int(PhaseRole::UA) : int(PhaseRole::IA);
    return PhaseRole(first + int(phase));
}

} // namespace

UnitKind unitKind(const QString& unit)
{
    static const QRegularExpression voltage(QStringLiteral("^[kKmMкКмМ]?[VvВв]$"));
    static const QRegularExpression current(QStringLiteral("^[kKmMкКмМ]?[AaАа]$"));
    const QString text = unit.trimmed();
    if (text.isEmpty())
        return UnitKind::Unstated;
    if (voltage.match(text).hasMatch())
        return UnitKind::Voltage;
    if (current.match(text).hasMatch())
        return UnitKind::Current;
    return UnitKind::Other;
}

PhaseField readPhaseField(const QString& field)
{
    static const QHash<QString, PhaseLetter> phases = {
        {QStringLiteral("A"), PhaseLetter::A},   {QStringLiteral("L1"), PhaseLetter::A},
        {QStringLiteral("R"), PhaseLetter::A},   {QStringLiteral("AN"), PhaseLetter::A},
        {QStringLiteral("AG"), PhaseLetter::A},  {QStringLiteral("L1N"), PhaseLetter::A},
        {QStringLiteral("B"), PhaseLetter::B},   {QStringLiteral("L2"), PhaseLetter::B},
        {QStringLiteral("S"), PhaseLetter::B},   {QStringLiteral("BN"), PhaseLetter::B},
        {QStringLiteral("BG"), PhaseLetter::B},  {QStringLiteral("L2N"), PhaseLetter::B},
        {QStringLiteral("C"), PhaseLetter::C},   {QStringLiteral("L3"), PhaseLetter::C},
        {QStringLiteral("T"), PhaseLetter::C},   {QStringLiteral("CN"), PhaseLetter::C},
        {QStringLiteral("CG"), PhaseLetter::C},  {QStringLiteral("L3N"), PhaseLetter::C},
        {QStringLiteral("N"), PhaseLetter::N},   {QStringLiteral("G"), PhaseLetter::N},
        {QStringLiteral("E"), PhaseLetter::N},   {QStringLiteral("NG"), PhaseLetter::N},
        {QStringLiteral("GND"), PhaseLetter::N}, {QStringLiteral("0"), PhaseLetter::N},
    };
    QString text = field.trimmed().toUpper();
    if (text.isEmpty())
        return PhaseField{};
    text.remove(QLatin1Char('-')).remove(QLatin1Char(' '));
    text.replace(u'А', u'A').replace(u'В', u'B').replace(u'С', u'C').replace(u'Н', u'N');
    const auto phase = phases.constFind(text);
    if (phase == phases.constEnd())
        return PhaseField{PhaseField::Kind::NotAPhase, PhaseLetter::A};
    return PhaseField{PhaseField::Kind::Phase, *phase};
}

std::optional<NamedPhase> phaseInName(const QString& name)
{
    for (int at = 0; at < name.size(); ++at) {
        if (const auto named = namedPhaseAt(name, at))
            return named;
    }
    return std::nullopt;
}

std::optional<ChannelDesignation> designationOf(const AnalogChannel& channel)
{
    if (channel.multiplier == 0.0)
        return std::nullopt;
    const UnitKind unit = unitKind(channel.unit);
    const PhaseField field = readPhaseField(channel.phase);
    if (unit == UnitKind::Other || field.kind == PhaseField::Kind::NotAPhase)
        return std::nullopt;
    const QString name = nameWithoutOwnNumber(channel);
    const std::optional<NamedPhase> named = phaseInName(name);
    if (!named && (unit == UnitKind::Unstated || field.kind == PhaseField::Kind::Unstated))
        return std::nullopt;

    Quantity quantity = unit == UnitKind::Voltage ? Quantity::Voltage : Quantity::Current;
    if (unit == UnitKind::Unstated)
        quantity = named->quantity;
    const PhaseLetter phase = field.kind == PhaseField::Kind::Phase ? field.phase : named->phase;
    const QString stem = named ? name.left(named->start) + name.mid(named->end)
                               : withoutPhaseText(name, channel.phase.trimmed());
    return ChannelDesignation{roleOf(quantity, phase), cleanStem(stem, channel.unit)};
}

} // namespace VornaLumeto
