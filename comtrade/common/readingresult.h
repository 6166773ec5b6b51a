#pragma once

#include <QString>

namespace VornaLumeto {

// Why a reader gave no recording.
enum class ReadingFailure {
    None,
    NoName,             // no file was named
    FileNotOpened,      // the configuration (or the single file) cannot be opened
    FileEmpty,
    Configuration,      // the configuration is refused, or the sections of a single file
    DataFileNotOpened,
    DataFileEmpty,
    Data,               // the samples are refused
    Memory,             // memory ran out while reading
    Cancelled,          // the reading was stopped before its end
};

// How one reader's reading ended: the kind of failure and, for a failure, the
// message that tells the user what is wrong.
struct ReadingResult {
    ReadingFailure failure = ReadingFailure::None;
    QString message;

    bool ok() const { return failure == ReadingFailure::None; }
};

} // namespace VornaLumeto
