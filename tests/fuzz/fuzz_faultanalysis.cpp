// The fault analysis on arbitrary sets: samples with NaN and infinities,
// stretches of any rate, any line frequency, scalings and line data, roles
// without channels or with channels past the recording, cuts and ranges
// anywhere. Nothing may read outside the samples, and what comes back must
// lie within them; the report as JSON holds no number that is not one.
#include "analysis/faultreport.h"
#include "analysis/faultreportjson.h"
#include "analysis/impedancelocus.h"
#include "analysis/phasortrack.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QJsonDocument>

#include <cmath>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Mostly a sampled sinusoid, so that the analysis goes deep; now and then anything.
QVector<double> series(FuzzedDataProvider& input, int count)
{
    const double amplitude = input.ConsumeFloatingPointInRange(-1e6, 1e6);
    const double step = input.ConsumeFloatingPointInRange(0.0, 1.0);
    const double jump = input.ConsumeFloatingPointInRange(-1e6, 1e6);
    const int jumpAt = input.ConsumeIntegralInRange(0, count);
    QVector<double> values(count);
    for (int k = 0; k < count; ++k)
        values[k] = amplitude * std::cos(step * k) + (k >= jumpAt ? jump * std::sin(1.7 * step * k) : 0.0);
    for (int odd = input.ConsumeIntegralInRange(0, 4); odd > 0 && count > 0; --odd) {
        const double values4[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, input.ConsumeFloatingPoint<double>()};
        values[input.ConsumeIntegralInRange(0, count - 1)] = values4[input.ConsumeIntegralInRange(0, 3)];
    }
    return values;
}

VornaLumeto::RecordingSampling sampling(FuzzedDataProvider& input, int count)
{
    VornaLumeto::RecordingSampling result;
    result.lineFrequency = input.ConsumeBool() ? 50.0 : input.ConsumeFloatingPoint<double>();
    int first = 0;
    for (int stretch = input.ConsumeIntegralInRange(1, 3); stretch > 0; --stretch) {
        const int end = stretch == 1 ? count : input.ConsumeIntegralInRange(first, count);
        const double rate = input.ConsumeBool() ? 100.0 * input.ConsumeIntegralInRange(1, 40)
                                                : input.ConsumeFloatingPoint<double>();
        result.stretches.append({rate, first, end});
        first = end;
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int count = input.ConsumeIntegralInRange(0, 600);
    const VornaLumeto::RecordingSampling stretches = sampling(input, count);
    QVector<QVector<double>> channels;
    for (int c = input.ConsumeIntegralInRange(0, 9); c > 0; --c)
        channels.append(series(input, input.ConsumeBool() ? count : input.ConsumeIntegralInRange(0, count)));
    VornaLumeto::ThreePhaseSet set;
    std::array<VornaLumeto::ChannelScaling, VornaLumeto::phaseRoleCount> scalings{};
    for (int role = 0; role < VornaLumeto::phaseRoleCount; ++role) {
        set.channels[role] = input.ConsumeIntegralInRange(-2, 10);
        scalings[role] = {input.ConsumeBool() ? 1.0 : input.ConsumeFloatingPoint<double>(),
                          input.ConsumeFloatingPointInRange(-1e3, 1e3)};
    }
    const VornaLumeto::SetSignals signalsOfSet = VornaLumeto::setSignals(channels, set, scalings);
    const VornaLumeto::LineData line{input.ConsumeFloatingPoint<double>(), input.ConsumeFloatingPoint<double>(),
                                     input.ConsumeFloatingPoint<double>(), input.ConsumeFloatingPoint<double>(),
                                     input.ConsumeFloatingPointInRange(-10.0, 500.0)};
    const VornaLumeto::PhaseRotation rotation =
        input.ConsumeBool() ? VornaLumeto::PhaseRotation::Abc : VornaLumeto::PhaseRotation::Acb;

    const VornaLumeto::CutAnalysis cut =
        VornaLumeto::analyseCut(stretches, signalsOfSet, line, rotation, input.ConsumeIntegral<int>());
    if (cut.window)
        require(cut.window->first >= 0 && cut.window->first + cut.window->count <= count);

    const int first = input.ConsumeIntegral<int>();
    const int last = input.ConsumeIntegral<int>();
    const VornaLumeto::ImpedanceLocus locus = VornaLumeto::impedanceLocus(stretches, signalsOfSet, line, first, last);
    for (int loop = 0; loop < VornaLumeto::faultLoopCount; ++loop)
        require(locus.resistance[loop].size() == locus.size() && locus.reactance[loop].size() == locus.size());
    require(locus.size() == 0 || (locus.firstSample >= 0 && locus.firstSample + locus.size() <= count));
    if (!channels.isEmpty())
        VornaLumeto::phasorTrack(channels.first(), scalings[0], stretches, first, last, count);

    QVector<double> timeAxis(input.ConsumeIntegralInRange(0, count));
    for (int k = 0; k < timeAxis.size(); ++k)
        timeAxis[k] = k;
    const VornaLumeto::FaultReport report = VornaLumeto::faultReport(stretches, timeAxis, signalsOfSet, line, rotation);
    for (const std::optional<int>& sample : {report.inceptionSample, report.clearingSample, report.laterSample})
        require(!sample || (*sample >= 0 && *sample <= count));
    if (report.window)
        require(report.window->first >= 0 && report.window->first + report.window->count <= count);

    VornaLumeto::Recording recording;
    recording.analogChannels.resize(channels.size());
    recording.timeAxis = timeAxis;
    const QJsonObject json = VornaLumeto::recordingReportJson(QStringLiteral("f.cfg"), recording, {{set, report}}, line);
    // A NaN would read back as something else, and never equals itself.
    require(QJsonDocument::fromJson(QJsonDocument(json).toJson()).object() == json);
    return 0;
}
