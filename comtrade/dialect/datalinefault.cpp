#include "comtrade/dialect/datalinefault.h"

#include <QList>

namespace VornaLumeto {
namespace {

// The characters a field may hold: the sample number and the time stamp
// digits only, analog values digits and minus signs, digital states 0 and 1.
bool mayHold(DataLineFault::Field field, char c)
{
    const bool digit = c >= '0' && c <= '9';
    switch (field) {
    case DataLineFault::Field::SampleNumber:
    case DataLineFault::Field::TimeStamp:
        return digit;
    case DataLineFault::Field::Analog:
        return digit || c == '-';
    case DataLineFault::Field::Digital:
        return c == '0' || c == '1';
    case DataLineFault::Field::Extra:
        break;
    }
    return true;
}

// The first byte of the field that it may not hold, or -1.
int forbiddenByte(const QByteArray& text, DataLineFault::Field field)
{
    for (const char c : text) {
        if (!mayHold(field, c))
            return int(uchar(c));
    }
    return -1;
}

void noteField(DataLineFault& fault, DataLineFault::Problem problem, int fieldNumber, const QByteArray& text)
{
    fault.problem = problem;
    fault.fieldNumber = fieldNumber;
    fault.fieldText = text;
}

} // namespace

DataLineFault::Field DataLineFault::fieldAt(int number) const
{
    if (number == 1)
        return Field::SampleNumber;
    if (number == 2)
        return Field::TimeStamp;
    if (number <= 2 + analogCount)
        return Field::Analog;
    return number <= expectedFields() ? Field::Digital : Field::Extra;
}

int DataLineFault::channelAt(int number) const
{
    return fieldAt(number) == Field::Digital ? number - 2 - analogCount : number - 2;
}

DataLineFault diagnoseDataLine(const QByteArray& line, int analogCount, int digitalCount)
{
    DataLineFault fault;
    fault.analogCount = analogCount;
    fault.digitalCount = digitalCount;
    const QList<QByteArray> fields = line.isEmpty() ? QList<QByteArray>() : line.split(',');
    fault.presentFields = fields.size();

    const int expected = fault.expectedFields();
    for (int i = 0; i < fields.size() && i < expected; ++i) {
        const int byte = forbiddenByte(fields.at(i), fault.fieldAt(i + 1));
        if (byte >= 0) {
            noteField(fault, DataLineFault::Problem::Character, i + 1, fields.at(i));
            fault.character = byte;
            return fault;
        }
    }
    if (fields.size() < expected)
        noteField(fault, DataLineFault::Problem::Missing, fields.size() + 1, QByteArray());
    else if (fields.size() > expected)
        noteField(fault, DataLineFault::Problem::Extra, expected + 1, fields.at(expected));
    return fault;
}

} // namespace VornaLumeto
