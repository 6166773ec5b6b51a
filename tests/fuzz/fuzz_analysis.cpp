// The analysis maths on arbitrary windows of a loaded recording, with
// arbitrary scaling and period lengths: windows before sample 0, past the
// last sample, empty or negative must give the zero result, never a read
// out of bounds.
#include "fuzzsupport.h"

#include "analysis/signalanalysis.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

namespace {

constexpr int sampleCount = 120;

QByteArray configuration()
{
    return QByteArrayLiteral("Fuzz,1\n3,3A,0D\n"
                             "1,Ua,A,,kV,0.1,0,0,-2147483648,2147483647\n"
                             "2,Ib,B,,A,1,0,0,-2147483648,2147483647\n"
                             "3,Uc,C,,V,1,0,0,-2147483648,2147483647\n"
                             "50\n1\n1000,")
        + QByteArray::number(sampleCount)
        + "\n05/03/2021,09:07:03.250000\n05/03/2021,09:07:03.300000\nASCII\n";
}

// A 50 Hz sine, a constant at the edge of 32 bits and an alternating extreme signal.
QByteArray dataFile()
{
    QByteArray data;
    for (int k = 0; k < sampleCount; ++k) {
        const int sine = static_cast<int>(std::lround(14142 * std::sin(2 * 3.14159265358979 * 50 * k / 1000)));
        const QByteArray extreme = k % 2 ? "2147483647" : "-2147483647";
        data += QByteArray::number(k + 1) + ',' + QByteArray::number(k * 1000) + ',' + QByteArray::number(sine)
                + ",-2147483647," + extreme + '\n';
    }
    return data;
}

VornaLumeto::Recording loadedRecording()
{
    VornaLumeto::Recording recording;
    LumetoFuzz::require(LumetoFuzz::readConfigurationBytes(configuration(), recording).isEmpty());
    LumetoFuzz::require(LumetoFuzz::readDataBytes(dataFile(), recording).isEmpty());
    return recording;
}

bool windowInside(int first, int count)
{
    return count > 0 && first >= 0 && first <= sampleCount - count;
}

// Windows near the ends are where the faults live; reach them often.
int windowStart(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0: return input.ConsumeIntegralInRange(-40, 40);
    case 1: return sampleCount + input.ConsumeIntegralInRange(-40, 40);
    default: return input.ConsumeIntegral<int>();
    }
}

void checkZeroOutside(const VornaLumeto::Phasor& phasor, double rms, int first, int count)
{
    if (windowInside(first, count))
        return;
    LumetoFuzz::require(phasor.rms == 0.0 && phasor.angle == 0.0 && phasor.amplitude == 0.0);
    LumetoFuzz::require(rms == 0.0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const VornaLumeto::Recording recording = loadedRecording();
    FuzzedDataProvider input(data, size);
    const QVector<double>& raw = recording.analogValues[input.ConsumeIntegralInRange(0, 2)];
    const double multiplier = input.ConsumeFloatingPoint<double>();
    const double offset = input.ConsumeFloatingPoint<double>();

    // The window the view uses: the period that ends at a cut.
    const VornaLumeto::AnalysisPeriods periods =
        VornaLumeto::analysisPeriods(input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>());
    const int cut = input.ConsumeIntegralInRange(-2, sampleCount + 2);
    if (periods.usable() && periods.nearest <= sampleCount) {
        const VornaLumeto::CutWindows windows = VornaLumeto::cutWindows(periods, cut);
        VornaLumeto::computeWindowRms(raw, {multiplier, offset}, windows.whole);
        VornaLumeto::computePhasor(raw, {multiplier, offset}, windows.nearest, 1);
    }

    const int first = windowStart(input);
    const int count = input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, sampleCount + 2)
                                          : input.ConsumeIntegral<int>();
    const int harmonic = input.ConsumeIntegral<int>();
    const int highestHarmonic = input.ConsumeIntegralInRange(-2, 60);
    const VornaLumeto::Phasor phasor = VornaLumeto::computePhasor(raw, {multiplier, offset}, {first, count}, harmonic);
    const double rms = VornaLumeto::computeWindowRms(raw, {multiplier, offset}, {first, count});
    checkZeroOutside(phasor, rms, first, count);
    const VornaLumeto::HarmonicMagnitudes harmonics =
        VornaLumeto::computeHarmonicMagnitudes(raw, {multiplier, offset}, {first, count}, highestHarmonic);
    LumetoFuzz::require(harmonics.magnitudes.size() == std::max(highestHarmonic + 1, 0));
    LumetoFuzz::require(!std::isnan(harmonics.maximum) && harmonics.maximum >= 0.0);
    return 0;
}
