#pragma once

#include "comtrade/common/recording.h"
#include "comtrade/standard/revisionrules.h"
#include "comtrade/standard/standardconfiguration.h"

#include <QString>
#include <QVector>

class QIODevice;

namespace VornaLumeto {

class ReadingProgress;

// How the samples of a data file are laid out, and which channels are kept:
// the first keptAnalog of the file's analog channels and the first
// keptDigital of its digital ones.
struct DataLayout {
    DataType type = DataType::Ascii;
    RevisionRules rules;
    int fileAnalog = 0;
    int fileDigital = 0;
    int keptAnalog = 0;
    int keptDigital = 0;
    qint64 sampleLimit = 0;  // samples announced; 0 reads every sample there is
};

// Where the data lie, for the messages: the file's name, and the line
// number or byte offset in that file at which the data begin.
struct DataPlace {
    QString fileName;
    qint64 firstLineNumber = 1;
    qint64 firstByteOffset = 0;
};

// The samples of the kept channels: rows as the model holds them, and the
// value series (raw values as decoded, NaN where a value is missing).
struct DecodedData {
    QVector<SampleRow> samples;
    QVector<QVector<double>> analog;
    QVector<QVector<double>> digital;
    QVector<double> stamps;               // time stamps as written, NaN where missing
    QVector<bool> analogHasMissing;       // per kept analog channel
};

// The most samples the model's vectors can hold.
qint64 largestSampleCount();

// Reads ASCII data lines from the device. Returns an empty string or the
// message naming the file, the line and the reason. The bytes read advance
// progress, when given; once it is cancelled the samples stop (check it).
QString decodeAsciiData(QIODevice& device, const DataLayout& layout, const DataPlace& place, DecodedData& data,
                        ReadingProgress* progress = nullptr);

// Decodes BINARY, BINARY32 or FLOAT32 records from size bytes at bytes.
// Returns an empty string or the message naming the file, the byte offset and
// the reason. Progress as above.
QString decodeBinaryData(const char* bytes, qint64 size, const DataLayout& layout, const DataPlace& place,
                         DecodedData& data, ReadingProgress* progress = nullptr);

} // namespace VornaLumeto
