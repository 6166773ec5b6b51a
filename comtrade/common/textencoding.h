#pragma once

#include <QByteArray>
#include <QString>

class QTextCodec;

namespace VornaLumeto {

// What the bytes of a configuration show of their text encoding, found once
// and read by both readers.
struct EncodingGuess {
    QTextCodec* marked = nullptr;    // the encoding a byte-order mark names
    bool ascii = false;              // no byte above 0x7F
    bool validUtf8 = false;
    QTextCodec* detected = nullptr;  // the character-set detector's guess, when it has enough text and is not unsure
};
EncodingGuess guessEncoding(const QByteArray& bytes);

// The text of a configuration and the encoding it was decoded from.
struct DecodedText {
    QString text;
    QString encoding;  // as Qt names it ("UTF-8", "windows-1251", "KOI8-R", ...), or "ASCII"
};

// The standard reader's choice: the encoding a byte-order mark names; UTF-8
// where the bytes are valid UTF-8; otherwise what the detector recognises;
// Windows-1251 when nothing is certain.
QTextCodec* standardCodec(const EncodingGuess& guess);
DecodedText decodeConfigurationText(const QByteArray& bytes, const EncodingGuess& guess);

// The viewer's own reader reads Windows-1251, unless the detector is certain
// of another Cyrillic encoding recorders write in (CP866, KOI8-R) or of UTF-8.
// (A byte-order mark is read by the reader's text stream itself.)
QTextCodec* dialectCodec(const EncodingGuess& guess);

} // namespace VornaLumeto
