#pragma once

#include <QByteArray>
#include <QString>

namespace VornaLumeto {

// The text of a configuration and the encoding it was decoded from.
struct DecodedText {
    QString text;
    QString encoding;  // as Qt names it ("UTF-8", "windows-1251", "KOI8-R", ...), or "ASCII"
};

// Decodes the bytes of a configuration in the encoding they were most likely
// written in: the one a byte-order mark names; UTF-8 where the bytes are valid
// UTF-8; otherwise what the character-set detector recognises with enough
// text to go on; Windows-1251 when nothing is certain.
DecodedText decodeConfigurationText(const QByteArray& bytes);

} // namespace VornaLumeto
