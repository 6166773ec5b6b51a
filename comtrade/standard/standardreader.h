#pragma once

#include "comtrade/common/recording.h"
#include "comtrade/standard/standardconfiguration.h"

#include <QByteArray>
#include <QString>

namespace VornaLumeto {

// True for the single-file form of a recording (.cff, in any letter case).
bool isCombinedRecordingPath(const QString& path);

// Reads a recording of any revision of the format (1991, 1999, 2013): a
// configuration path with its data file beside it (as the dialect reader
// finds it), or a .cff. Fills the recording's members as the dialect reader
// does, and the standard description beside them. Returns
// loadSuccessMessage(), or a message that names the file, the line or byte
// offset and the reason.
QString loadStandardRecording(const QString& path, Recording& recording);

// The same from files already in memory; the names are for the messages.
QString readStandardRecording(const QString& configurationName, const QByteArray& configuration,
                              const QString& dataName, const QByteArray& data, Recording& recording);
QString readCombinedRecording(const QString& fileName, const QByteArray& bytes, Recording& recording);

// Reads only the configuration (of a .cfg or .cff), for a quick description
// of a file; its encoding goes into encoding. Returns an empty string or the message.
QString readStandardConfiguration(const QString& path, StandardConfiguration& configuration, QString& encoding);

} // namespace VornaLumeto
