#include "analysis/faulttype.h"

#include <algorithm>

namespace VornaLumeto {
namespace {

// Shares of the largest phase-pair change.
constexpr double groundShare = 0.1;        // d3I0 against the largest phase change
constexpr double unchangedPairShare = 0.25; // the pair one phase to ground leaves alone
constexpr double balancedShare = 0.75;     // every pair of a three-phase fault

const char* const letters[] = {"AG", "BG", "CG", "AB", "BC", "CA", "ABG", "BCG", "CAG", "ABC"};

} // namespace

QString faultTypeLetters(FaultType type)
{
    return QString::fromLatin1(letters[int(type)]);
}

QString faultLoopLetters(FaultLoop loop)
{
    // The six loops are named as the first six types.
    return faultTypeLetters(FaultType(int(loop)));
}

FaultLoop faultedLoop(FaultType type)
{
    switch (type) {
    case FaultType::AG: return FaultLoop::AG;
    case FaultType::BG: return FaultLoop::BG;
    case FaultType::CG: return FaultLoop::CG;
    case FaultType::BC:
    case FaultType::BCG: return FaultLoop::BC;
    case FaultType::CA:
    case FaultType::CAG: return FaultLoop::CA;
    default: return FaultLoop::AB;
    }
}

bool involvesPhase(FaultType type, int phase)
{
    return faultTypeLetters(type).contains(QLatin1Char(char('A' + phase)));
}

bool involvesGround(FaultType type)
{
    return faultTypeLetters(type).endsWith(QLatin1Char('G'));
}

std::optional<FaultType> classifyFault(const PhaseValues& currentChanges, Complex residualChange)
{
    // Pairs AB, BC, CA.
    double pairs[3];
    double largestPhase = 0.0;
    for (int p = 0; p < 3; ++p) {
        pairs[p] = std::abs(currentChanges[p] - currentChanges[(p + 1) % 3]);
        largestPhase = std::max(largestPhase, std::abs(currentChanges[p]));
    }
    const int largest = int(std::max_element(pairs, pairs + 3) - pairs);
    const int smallest = int(std::min_element(pairs, pairs + 3) - pairs);
    if (!(pairs[largest] > 0.0))
        return std::nullopt;
    const bool ground = std::abs(residualChange) >= groundShare * largestPhase;
    if (ground && pairs[smallest] <= unchangedPairShare * pairs[largest])
        return FaultType((smallest + 2) % 3);  // the phase outside the unchanged pair
    if (!ground && pairs[smallest] >= balancedShare * pairs[largest])
        return FaultType::ABC;
    return FaultType(int(ground ? FaultType::ABG : FaultType::AB) + largest);
}

} // namespace VornaLumeto
