#pragma once

#include <QString>

namespace VornaLumeto {

// What a path names by its ending: a configuration with its data file beside
// it, a single-file recording (.cff), or neither.
enum class RecordingPathKind { Configuration, Combined, Other };

// How the ending "cfg" of a configuration is matched: exactly, as a dropped
// file has always been, or in any letter case, as a name given on the command
// line (recorders on other systems write REC.CFG). The dot is not tested. A
// .cff is told in any letter case.
enum class LetterCase { Exact, Any };

RecordingPathKind recordingPathKind(const QString& path, LetterCase configurationCase);

// The data file that belongs to a configuration path: the last three
// characters replaced by "dat"; for an upper-case "CFG" whose "dat" sibling
// does not exist, the "DAT" sibling.
QString dataFilePath(const QString& configurationPath);

} // namespace VornaLumeto
