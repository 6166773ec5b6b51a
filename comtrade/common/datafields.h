#pragma once

// Conversion of the comma-separated fields of a data line. Internal to the
// data reader; inline because it runs for every field of every line.

#include <QtEndian>
#include <QtGlobal>

#include <limits>
#if __cplusplus >= 202002L
#include <bit>
#endif

namespace VornaLumeto {
namespace DataFields {

// How a field may end: at a comma only, or at the end of the line (the last field).
enum class FieldEnd { Comma, LineEnd };

// Which characters a field may hold.
enum class FieldKind { Digits, DigitsAndMinus, BinaryDigits };

// Bytes read from the start of a field at once.
constexpr int wordBytes = 8;

// Bytes that may be read after the end of a padded line: a word read from the
// last position and the byte after it.
constexpr int paddedBytes = 16;

// One in every byte of a word: times a byte value, that byte in every byte.
constexpr quint64 byteOnes = 0x0101010101010101ull;

// The number of zero bits below the lowest set bit of a word that is not 0.
inline int trailingZeroBits(quint64 word)
{
#if __cplusplus >= 202002L
    return std::countr_zero(word);
#else
    return __builtin_ctzll(word);
#endif
}

// Reads one field from cursor, checking its characters and converting it the
// way QString::toInt (base 10) converts such text: an optional leading '-',
// then at least one digit; text that does not convert (such as 1-2 or a lone
// '-') and values outside 32 bits give 0. On success cursor moves past the
// field and its comma.
template <FieldKind kind>
bool readFieldCarefully(const char*& cursor, const char* lineEnd, FieldEnd fieldEnd, qint32& value)
{
    constexpr qint64 largestInt = std::numeric_limits<qint32>::max();
    const char* p = cursor;
    const bool negative = kind == FieldKind::DigitsAndMinus && p < lineEnd && *p == '-';
    if (negative)
        ++p;
    const char* const digitsBegin = p;
    qint64 magnitude = 0;
    bool converts = true;
    for (; p < lineEnd && *p != ',';) {
        const char c = *p++;
        const bool digit = kind == FieldKind::BinaryDigits ? (c == '0' || c == '1') : (c >= '0' && c <= '9');
        if (digit) {
            magnitude = qMin(magnitude * 10 + (c - '0'), largestInt + 2);  // capped: only "too large" matters
        } else if (kind == FieldKind::DigitsAndMinus && c == '-') {
            converts = false;
        } else {
            return false;
        }
    }
    const bool endsAtComma = p < lineEnd;
    if (endsAtComma != (fieldEnd == FieldEnd::Comma))
        return false;
    const qint64 limit = negative ? largestInt + 1 : largestInt;
    converts = converts && p != digitsBegin && magnitude <= limit;
    value = converts ? qint32(negative ? -magnitude : magnitude) : 0;
    cursor = endsAtComma ? p + 1 : p;
    return true;
}

// How many of the word's bytes, from the first, are digits of the field kind.
// A decimal digit is a byte 0x30 ... 0x39: its high nibble is 3, and stays 3
// when 6 is added (0x3A ... 0x3F would carry into it). A binary digit is 0x30
// or 0x31: all but its lowest bit equal those of 0x30. Each byte that fails
// leaves a bit set in nonDigits, so the first set bit names the first
// non-digit byte. A carry out of a non-digit byte can only spoil the test of
// bytes after it, which do not count.
template <FieldKind kind>
int leadingDigitCount(quint64 word)
{
    constexpr quint64 ones = byteOnes;
    quint64 nonDigits = 0;
    if (kind == FieldKind::BinaryDigits) {
        nonDigits = (word & (0xFE * ones)) ^ (0x30 * ones);
    } else {
        const quint64 highNibbles = word & (0xF0 * ones);
        const quint64 highNibblesAfterSix = (word + 0x06 * ones) & (0xF0 * ones);
        nonDigits = (highNibbles ^ (0x30 * ones)) | (highNibblesAfterSix ^ (0x30 * ones));
    }
    return nonDigits == 0 ? wordBytes : trailingZeroBits(nonDigits) / 8;
}

// The number of commas in [begin, end), a word at a time; end is padded.
inline int commasBetween(const char* begin, const char* end)
{
    constexpr quint64 ones = byteOnes;
    constexpr quint64 lowSeven = 0x7F * ones;
    int commas = 0;
    for (const char* p = begin; p < end; p += wordBytes) {
        const quint64 word = qFromLittleEndian<quint64>(p) ^ (quint64(',') * ones);
        // The top bit of each byte is set where the byte is not a comma.
        quint64 notComma = (((word & lowSeven) + lowSeven) | word) & (0x80 * ones);
        const qptrdiff left = end - p;
        if (left < wordBytes)
            notComma |= ~quint64(0) << (8 * left) & (0x80 * ones);
        commas += wordBytes - int(((notComma >> 7) * ones) >> 56);  // adds up the bytes' top bits
    }
    return commas;
}

// The value of up to eight digit values (0 to 9), one per byte, the most
// significant in the lowest byte; empty leading bytes are zero.
//
// Three multiplications each join neighbouring numbers in pairs, the more
// significant one in the lower lane:
//   2561 = 10 * 2^8 + 1: byte i + 1 gains 10 times byte i, so after >> 8 the
//   even bytes hold two-digit numbers (at most 99, so no byte overflows);
//   6553601 = 100 * 2^16 + 1: of the 16-bit lanes (the odd bytes masked off),
//   lane i + 1 gains 100 times lane i, so after >> 16 the even lanes hold
//   four-digit numbers (at most 9999);
//   42949672960001 = 10000 * 2^32 + 1: of the two 32-bit lanes, the upper
//   gains 10000 times the lower, and >> 32 leaves the eight-digit number.
inline quint32 valueOfDigits(quint64 digits)
{
    digits = (digits * 2561) >> 8;
    digits = ((digits & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
    return quint32(((digits & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32);
}

// The common field, an optional '-' and up to eight digits, converted without
// a loop over its characters (whose varying length the processor cannot
// predict). Returns false, leaving cursor alone, for anything else; the
// careful reader then decides.
//
// The line must be padded: the byte at lineEnd is neither a digit nor '-' nor
// ',', and paddedBytes bytes may be read from any position up to lineEnd.
template <FieldKind kind>
Q_ALWAYS_INLINE bool readShortField(const char*& cursor, const char* lineEnd, FieldEnd fieldEnd, qint32& value)
{
    quint64 word = qFromLittleEndian<quint64>(cursor);  // the first byte lowest
    bool negative = false;
    if (kind == FieldKind::DigitsAndMinus) {
        negative = (word & 0xFF) == '-';
        word >>= 8 * int(negative);  // the top byte becomes 0: seven digits at most
    }
    const int digits = leadingDigitCount<kind>(word);
    if (digits == 0)
        return false;
    const char* const digitsEnd = cursor + int(negative) + digits;
    // The padding byte at lineEnd is no digit, so the digits never run past it;
    // a ninth digit is no comma and no line end, so a longer field is left alone.
    const bool endsRight = fieldEnd == FieldEnd::Comma ? *digitsEnd == ',' : digitsEnd == lineEnd;
    if (!endsRight)
        return false;
    const quint64 digitValues = (word & 0x0F0F0F0F0F0F0F0Full) << (8 * (wordBytes - digits));
    // Signs come at random, so the sign is applied without a branch: -1 or 0
    // flips the bits and adds one, or leaves the magnitude as it is.
    const qint32 sign = -qint32(negative);
    value = (qint32(valueOfDigits(digitValues)) ^ sign) - sign;
    cursor = fieldEnd == FieldEnd::Comma ? digitsEnd + 1 : digitsEnd;
    return true;
}

// One field of a padded line (see readShortField).
template <FieldKind kind>
Q_ALWAYS_INLINE bool readField(const char*& cursor, const char* lineEnd, FieldEnd fieldEnd, qint32& value)
{
    return readShortField<kind>(cursor, lineEnd, fieldEnd, value)
           || readFieldCarefully<kind>(cursor, lineEnd, fieldEnd, value);
}

} // namespace DataFields
} // namespace VornaLumeto
