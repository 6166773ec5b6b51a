#pragma once

#include "comtrade/dialect/datalinefault.h"

#include <QString>

namespace VornaLumeto {

// What the loader saw of the step that failed, beyond the message it returns.
// Each fact is filled only when its step is the one that failed.
struct LoadFailure {
    QString stationLine;      // configuration line 1, when it failed
    QString fileTypeLine;     // the file-type line as read, when it failed
    QString dataPath;         // the full path of the data file, when it could not be opened
    int dataLineCount = -1;   // lines with samples, when the data file ended before line N
    int sampleCount = 0;      // N of the configuration, with dataLineCount
    DataLineFault dataLine;   // what is wrong with the data line that failed, when one did
};

// Why the recording would not load, in Russian, for the informative text of
// the error box; empty when the reason is not one of the common ones:
// a later revision of the format, binary data, a data file that ends too soon
// or one that cannot be opened, or a data line that does not parse.
QString explainLoadFailure(const LoadFailure& failure);

} // namespace VornaLumeto
