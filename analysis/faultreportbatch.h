#pragma once

#include "analysis/linedata.h"

#include <QJsonArray>
#include <QStringList>

namespace VornaLumeto {

// The fault reports of several recordings, in the order they were named.
struct FaultReportBatch {
    QJsonArray reports;    // one object of faultreportjson.h per recording
    QStringList messages;  // per recording: why it was not read, empty when it was

    bool allRead() const;
};

// Reads each recording at paths[i] as the standard export does (a .cff, and a
// file the viewer's own reader refuses, through the standard reader) and reports
// on it under the name files[i], as given. The recordings are read and reported
// on the threads of the global pool at once, never more at a time than it has
// threads, each let go as soon as its report is made.
FaultReportBatch faultReportBatch(const QStringList& files, const QStringList& paths, const LineData& line);

} // namespace VornaLumeto
