#pragma once

#include "comtrade/standard/standardconfiguration.h"

#include <QByteArray>
#include <QString>

namespace VornaLumeto {

// The sections of a single-file recording (.cff): the configuration, the
// information and header texts, and the data, in place in the file's bytes.
struct CombinedSections {
    QByteArray configuration;
    int configurationFirstLine = 1;  // line number, in the .cff, of the configuration's first line
    QByteArray information;
    QByteArray header;
    DataType dataType = DataType::Ascii;  // as the data section's title states it
    qint64 dataOffset = -1;               // where the data begin in the file; -1 without a data section
    qint64 dataSize = 0;
    int dataFirstLine = 1;                // line number of the first ASCII data line
};

// Finds the sections: each begins with a title line "--- file type: CFG ---"
// (INF, HDR, DAT ASCII, DAT BINARY: n, DAT BINARY32: n, DAT FLOAT32: n),
// letter case, spacing and colons aside, the first after a UTF-8 byte-order
// mark if there is one; a binary data section is exactly its n bytes. Returns
// an empty string, or the message naming the file, the line and the reason.
QString splitCombinedFile(const QByteArray& bytes, const QString& fileName, CombinedSections& sections);

} // namespace VornaLumeto
