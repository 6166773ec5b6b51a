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

// What the character-set detector makes of the bytes, as a codec Qt has; null when it is unsure.
QTextCodec* detectedCodec(const QByteArray& bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                         uchardet_delete);
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return nullptr;
    uchardet_data_end(detector.get());
    const QByteArray name(uchardet_get_charset(detector.get()));
    const bool likely = std::any_of(std::begin(likelyEncodings), std::end(likelyEncodings),
                                    [&name](const char* encoding) { return name == encoding; });
    return likely ? QTextCodec::codecForName(name) : nullptr;
}

QTextCodec* likelyCodec(const QByteArray& bytes)
{
    if (isValidUtf8(bytes))
        return QTextCodec::codecForName("UTF-8");
    QTextCodec* detected = nonAsciiByteCount(bytes) >= fewestNonAsciiBytes ? detectedCodec(bytes) : nullptr;
    return detected ? detected : QTextCodec::codecForName(fallbackEncoding);
}

} // namespace

DecodedText decodeConfigurationText(const QByteArray& bytes)
{
    // A byte-order mark names the encoding for certain (and is not part of the text).
    QTextCodec* marked = QTextCodec::codecForUtfText(bytes, nullptr);
    if (marked)
        return {marked->toUnicode(bytes), QString::fromLatin1(marked->name())};
    if (std::all_of(bytes.begin(), bytes.end(), isAscii))
        return {QString::fromLatin1(bytes), QStringLiteral("ASCII")};
    QTextCodec* codec = likelyCodec(bytes);
    return {codec->toUnicode(bytes), QString::fromLatin1(codec->name())};
}

} // namespace VornaLumeto
