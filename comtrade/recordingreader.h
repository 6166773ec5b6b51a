#pragma once

#include "comtrade/common/readingresult.h"
#include "comtrade/common/recording.h"
#include "comtrade/dialect/loadfailure.h"

#include <QString>

namespace VornaLumeto {

class ReadingProgress;

// When the standard reader reads a file instead of the viewer's own (dialect) reader.
enum class StandardReading {
    Never,         // the dialect reader alone, whatever the name: the view's load
    CombinedOnly,  // a .cff through the standard reader, everything else through the dialect reader
    WhenRefused,   // as CombinedOnly, and a file the dialect reader refuses through the standard reader next
};

// The two readers: the viewer's own early layout, and the whole standard.
enum class RecordingGrammar { Dialect, Standard };

// What reading a file gave: the recording, or why not.
struct RecordingReading {
    Recording recording;  // filled when ok()
    RecordingGrammar grammar = RecordingGrammar::Dialect;  // the reader that read last
    ReadingResult result;                                  // its result
    // The dialect reader's refusal and what it saw of it, also when the
    // standard reader read next (result is then the standard reader's; the
    // refusal then quotes a configuration line in the encoding the standard
    // reader found); dialectRefusal.ok() when the dialect reader did not refuse the file.
    ReadingResult dialectRefusal;
    LoadFailure dialectFailure;

    bool ok() const { return result.ok(); }
    // The standard reader read a file the dialect reader refused.
    bool readByStandardAfterRefusal() const { return ok() && !dialectRefusal.ok(); }
};

// The one way from a path to a recording. A path ending in .cff (any letter
// case) is a single-file recording; any other is a configuration whose data
// file lies beside it (see dataFilePath). Each file is read from the disk
// once, whichever readers read it. Progress (when given) is advanced from the
// reading threads, and its cancel ends the reading with ReadingFailure::Cancelled.
// Keeps no state of its own: readings of different files may run at once.
RecordingReading readRecording(const QString& path, StandardReading standard, ReadingProgress* progress = nullptr);

} // namespace VornaLumeto
