#pragma once

#include "comtrade/common/recording.h"

#include <QByteArray>
#include <QString>

class QFile;
class QIODevice;

namespace VornaLumeto {

struct LoadFailure;

// The data file that belongs to a configuration path: the last three
// characters replaced by "dat"; for an upper-case "CFG" whose "dat" sibling
// does not exist, the "DAT" sibling.
QString dataFilePath(const QString& configurationPath);

// Parses one data line (rewritten in place) into a row whose analog and
// digital vectors already hold analogCount and digitalCount zeros.
bool parseDataLine(QByteArray& line, SampleRow& row,
                   quint8 totalChannelCount, quint8 analogCount, quint8 digitalCount);

// Reads N rows from an open data device into samples and rawTimeAxis.
// Returns an empty string on success, otherwise the message for the failing
// line; a device that ends before line N, or else what is wrong with the
// failing line, is also noted in failure, when given.
QString readDataRows(QIODevice& device, Recording& recording, LoadFailure* failure = nullptr);

// The same from an open data file. When the file holds at least parallelBytes
// from its position on, its second half is read on another thread meanwhile;
// a file with a failing line is read again in one pass for the message.
QString readDataFileRows(QFile& file, Recording& recording, LoadFailure* failure = nullptr,
                         qint64 parallelBytes = 1024 * 1024);

// Builds timeAxis from rawTimeAxis and N, or from the first sampling rate when
// the stamps carry no time (the last one is 0).
void correctTimeAxis(Recording& recording);

// Builds analogValues (with each channel's frequency track) and digitalValues from samples.
void buildValueSeries(Recording& recording);

} // namespace VornaLumeto
