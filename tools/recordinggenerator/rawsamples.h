#pragma once

#include <QtGlobal>

namespace LumetoTools {

// Raw values span -32767 ... 32767, as 16-bit recorders write them.
constexpr int rawLimit = 32767;

// The raw value of an engineering value, rounded and held within the raw range.
qint32 toRaw(double value, double multiplier);

// Multipliers as a recorder would write them: full scale over the raw range, 7 decimals.
double multiplierFor(double fullScale);

// Small, fast and reproducible: the same seed gives the same recording everywhere.
class Noise {
public:
    explicit Noise(quint64 seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    // Roughly normal within -1 ... 1 (the mean of two uniforms).
    double next() { return (uniform() + uniform()) * 0.5; }

private:
    double uniform()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return double((state * 0x2545F4914F6CDD1Dull) >> 11) / double(1ull << 52) - 1.0;
    }
    quint64 state;
};

} // namespace LumetoTools
