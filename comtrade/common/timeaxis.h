#pragma once

#include "comtrade/common/standarddescription.h"

#include <QVector>

namespace VornaLumeto {

// The rate lines give the time axis: there is at least one, and every rate is above 0.
bool ratesGiveTimeAxis(const QVector<RateSegment>& rates);

// The time of each of sampleCount samples in milliseconds, from start, when
// they were taken in stretches at the rates given (every rate above 0): each
// stretch continues from where the one before ended, and samples past the
// last stretch go on at its rate.
QVector<double> timeAxisFromRates(const QVector<RateSegment>& rates, int sampleCount, double start = 0.0);

} // namespace VornaLumeto
