#include "analysis/faultreportbatch.h"

#include "analysis/faultreportjson.h"
#include "comtrade/common/parallel.h"
#include "comtrade/recordingreader.h"

#include <QVector>

#include <algorithm>

namespace VornaLumeto {
namespace {

struct RecordingOutcome {
    QJsonObject report;
    QString message;
};

RecordingOutcome reportOn(const QString& file, const QString& path, const LineData& line)
{
    const RecordingReading reading = readRecording(path, StandardReading::WhenRefused);
    if (!reading.ok())
        return {unreadableRecordingJson(file, reading.result.message), reading.result.message};
    return {recordingReportJson(file, reading.recording, recordingFaultReports(reading.recording, line), line), {}};
}

} // namespace

bool FaultReportBatch::allRead() const
{
    return std::all_of(messages.cbegin(), messages.cend(), [](const QString& message) { return message.isEmpty(); });
}

FaultReportBatch faultReportBatch(const QStringList& files, const QStringList& paths, const LineData& line)
{
    const int count = int(std::min(files.size(), paths.size()));
    QVector<RecordingOutcome> outcomes(count);
    RecordingOutcome* const results = outcomes.data();
    forEachInParallel(count, [&](int r) { results[r] = reportOn(files.at(r), paths.at(r), line); });
    FaultReportBatch batch;
    for (const RecordingOutcome& outcome : outcomes) {
        batch.reports.append(outcome.report);
        batch.messages.append(outcome.message);
    }
    return batch;
}

} // namespace VornaLumeto
