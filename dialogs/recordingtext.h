#pragma once

#include "comtrade/common/recording.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>
#include <QVector>

namespace VornaLumeto {

// Texts that describe a recording in the information window and on printed pages.

// "05" for 5, "12" for 12.
QString twoDigits(int value);

// dd/MM/yyyy hh:mm:ss.ssssss, seconds with six decimals and two integer digits.
QString timeStampText(const TimeStamp& stamp);

// Span of the time axis as written in the data file, e.g. "1999 мс".
QString durationText(const QVector<double>& rawTimeAxis);

// Seconds as printed on the page and in file names: at most six significant digits.
QString shortSecondsText(double seconds);

// The text with every character that cannot stand in a file name on Linux or
// Windows (/ \ : * ? " < > | and control characters) replaced by "_".
QString fileNameSafe(const QString& text);

// "Осциллограмма <station> dd_MM_yyyy hh_mm_<seconds> 1.pdf", the station name made fileNameSafe.
QString defaultPdfName(const QString& stationName, const TimeStamp& trigger);

// Renumbers the trailing counter (1.pdf, 2.pdf, ...) until the name is not among existing.
QString uniquePdfName(const QString& defaultName, const QStringList& existing);

// The recorder number of the printed header: as written for a recording of
// the standard reader (often not a number), the unsigned number otherwise.
QString printedRecorderId(const Recording& recording);

// The one-line header above the printed view.
QString printHeaderText(const QString& stationName, const QString& recorderId, const TimeStamp& trigger);

// The header line within width pixels of metrics: a station name too long for
// that is elided ("…"), so the recorder number and the trigger time stay on the page.
QString fittedPrintHeaderText(const QString& stationName, const QString& recorderId,
                              const TimeStamp& trigger, const QFontMetrics& metrics, int width);

} // namespace VornaLumeto
