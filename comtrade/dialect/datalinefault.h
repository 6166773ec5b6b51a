#pragma once

#include <QByteArray>

namespace VornaLumeto {

// What is wrong with a data line that did not parse: the first field, in line
// order, that holds a character it may not hold, or else the first field
// missing from a line cut short or the first one too many.
struct DataLineFault {
    enum class Problem { None, Character, Missing, Extra };
    enum class Field { SampleNumber, TimeStamp, Analog, Digital, Extra };

    Problem problem = Problem::None;  // None: no data line failed, or nothing was found wrong
    int fieldNumber = 0;               // 1-based position of the field in the line
    QByteArray fieldText;              // the field as found; empty for a missing one
    int character = 0;                 // the first byte the field may not hold (0 to 255)
    int analogCount = 0;               // of the configuration: what each field number stands for
    int digitalCount = 0;
    int presentFields = 0;             // in the line; 0 for an empty line

    int expectedFields() const { return 2 + analogCount + digitalCount; }
    // What the field at a 1-based position stands for.
    Field fieldAt(int number) const;
    // The channel number (1-based) of an analog or digital field.
    int channelAt(int number) const;
};

// Works out what is wrong with a line that failed, as the data reader left it
// (spaces normalised, terminator removed). Slow on purpose: only failing lines come here.
DataLineFault diagnoseDataLine(const QByteArray& line, int analogCount, int digitalCount);

} // namespace VornaLumeto
