#pragma once

#include "comtrade/common/recording.h"

#include <QByteArray>
#include <QString>

class QFile;
class QIODevice;

namespace VornaLumeto {

class ReadingProgress;
struct LoadFailure;

// Parses one data line (rewritten in place) into a row whose analog and
// digital vectors already hold analogCount and digitalCount zeros.
bool parseDataLine(QByteArray& line, SampleRow& row,
                   quint8 totalChannelCount, quint8 analogCount, quint8 digitalCount);

// Reads N rows from an open data device into samples and rawTimeAxis.
// Returns an empty string on success, otherwise the message for the failing
// line; a device that ends before line N, or else what is wrong with the
// failing line, is also noted in failure, when given. The bytes read advance
// progress, when given; once it is cancelled the rows stop (check it).
QString readDataRows(QIODevice& device, Recording& recording, LoadFailure* failure = nullptr,
                     ReadingProgress* progress = nullptr);

// A data file from this size on is read in two halves at once.
constexpr qint64 parallelReadingBytes = 1024 * 1024;

// The same from an open data file. When the file holds at least parallelBytes
// from its position on, its second half is read on another thread meanwhile; a
// line that fails in the second half is reported from there, one in the first
// half after a pass that reads again up to it.
QString readDataFileRows(QFile& file, Recording& recording, LoadFailure* failure = nullptr,
                         qint64 parallelBytes = parallelReadingBytes, ReadingProgress* progress = nullptr);

// Builds timeAxis from rawTimeAxis and N, or from the first sampling rate when
// the stamps carry no time (the last one is 0).
void correctTimeAxis(Recording& recording);

// Builds analogValues and digitalValues from samples, and each analog
// channel's frequency track; false, without tracks, when progress (if given)
// is cancelled meanwhile.
bool buildValueSeries(Recording& recording, ReadingProgress* progress = nullptr);

} // namespace VornaLumeto
