#include "comtrade/common/textencoding.h"

#include <QTextCodec>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace VornaLumeto {
namespace {

// A detector's guess from fewer letters than this is a coin toss between
// the single-byte Cyrillic and Western encodings.
constexpr int fewestNonAsciiBytes = 4;

// The encodings names of recordings come in: Cyrillic, Chinese, Japanese,
// Korean and Western. On a few words of Russian the detector also guesses
// Greek, Vietnamese and the like; such a guess is taken for uncertainty.
const char* const likelyEncodings[] = {"WINDOWS-1251", "KOI8-R",  "IBM866",      "ISO-8859-5", "MAC-CYRILLIC",
                                       "GB18030",      "BIG5",    "EUC-TW",      "EUC-JP",     "SHIFT_JIS",
                                       "EUC-KR",       "UTF-8",   "ISO-8859-1",  "WINDOWS-1252", "ISO-8859-15"};

// Those the viewer's own reader takes from the detector; it reads Windows-1251 otherwise.
const char* const dialectEncodings[] = {"IBM866", "KOI8-R", "UTF-8"};

const char fallbackEncoding[] = "Windows-1251";

bool isAscii(char byte)
{
    return static_cast<unsigned char>(byte) < 0x80;
}

int nonAsciiByteCount(const QByteArray& bytes)
{
    return int(std::count_if(bytes.begin(), bytes.end(), [](char byte) { return !isAscii(byte); }));
}

bool isValidUtf8(const QByteArray& bytes)
{
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

bool isAmong(const QByteArray& name, const char* const* begin, const char* const* end)
{
    return std::any_of(begin, end, [&name](const char* encoding) { return name == encoding; });
}

// What the character-set detector makes of the bytes, as a codec Qt has; null when it is unsure.
QTextCodec* detectedCodec(const QByteArray& bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                         uchardet_delete);
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return nullptr;
    uchardet_data_end(detector.get());
    const QByteArray name(uchardet_get_charset(detector.get()));
    return isAmong(name, std::begin(likelyEncodings), std::end(likelyEncodings)) ? QTextCodec::codecForName(name)
                                                                                : nullptr;
}

} // namespace

EncodingGuess guessEncoding(const QByteArray& bytes)
{
    EncodingGuess guess;
    guess.marked = QTextCodec::codecForUtfText(bytes, nullptr);
    guess.ascii = std::all_of(bytes.begin(), bytes.end(), isAscii);
    if (guess.marked || guess.ascii)
        return guess;
    guess.validUtf8 = isValidUtf8(bytes);
    if (nonAsciiByteCount(bytes) >= fewestNonAsciiBytes)
        guess.detected = detectedCodec(bytes);
    return guess;
}

QTextCodec* standardCodec(const EncodingGuess& guess)
{
    if (guess.marked)
        return guess.marked;
    if (guess.validUtf8)
        return QTextCodec::codecForName("UTF-8");
    return guess.detected ? guess.detected : QTextCodec::codecForName(fallbackEncoding);
}

DecodedText decodeConfigurationText(const QByteArray& bytes, const EncodingGuess& guess)
{
    // A byte-order mark names the encoding for certain (and is not part of the text).
    if (guess.ascii && !guess.marked)
        return {QString::fromLatin1(bytes), QStringLiteral("ASCII")};
    QTextCodec* codec = standardCodec(guess);
    return {codec->toUnicode(bytes), QString::fromLatin1(codec->name())};
}

QTextCodec* dialectCodec(const EncodingGuess& guess)
{
    const bool certain =
        guess.detected && isAmong(guess.detected->name().toUpper(), std::begin(dialectEncodings), std::end(dialectEncodings));
    return certain ? guess.detected : QTextCodec::codecForName(fallbackEncoding);
}

} // namespace VornaLumeto
