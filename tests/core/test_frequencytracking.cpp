#include "comtrade/frequencytracking.h"

#include <QtTest>

#include <cmath>

using namespace VornaLumeto;

namespace {

QVector<double> millisecondAxis(int count)
{
    QVector<double> axis(count);
    for (int i = 0; i < count; ++i)
        axis[i] = i;
    return axis;
}

QVector<double> sine(double frequency, int count, double amplitude = 1000.0)
{
    QVector<double> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = std::round(amplitude * std::sin(2.0 * M_PI * frequency * i / 1000.0));
    return values;
}

// Raw values whose 7/8 smoothing is exactly y (integers keep it exact).
QVector<double> rawSmoothingTo(const QVector<double>& y)
{
    QVector<double> x(y.size());
    x[0] = y[0];
    for (int i = 1; i < y.size(); ++i)
        x[i] = 8.0 * y[i] - 7.0 * y[i - 1];
    return x;
}

// y repeats the pattern (20 samples are one 50 Hz period at 1 kHz).
QVector<double> repeated(const QVector<double>& pattern, int count)
{
    QVector<double> y(count);
    for (int i = 0; i < count; ++i)
        y[i] = pattern[i % pattern.size()];
    return y;
}

bool everywhere(const QVector<double>& values, double expected)
{
    return std::all_of(values.cbegin(), values.cend(), [expected](double v) { return v == expected; });
}

void verifyDeviationMatches(const FrequencyTrack& track)
{
    QCOMPARE(track.deviation.size(), track.frequency.size());
    for (int i = 0; i < track.frequency.size(); ++i)
        QCOMPARE(track.deviation[i], track.frequency[i] - 50.0);
}

} // namespace

class TestFrequencyTracking : public QObject {
    Q_OBJECT

private slots:
    void steadySineSettlesAtItsFrequency();
    void constantChannelStaysAtFifty();
    void tooHighFrequencyFallsBackToForty();
    void nonSineShapesFallBackToForty();
    void oneSampleAndNoSample();
    void repeatedCrossingsKeepOneValuePerSample();
};

void TestFrequencyTracking::steadySineSettlesAtItsFrequency()
{
    const int n = 1000;
    const FrequencyTrack track = trackChannelFrequency(sine(50.0, n), millisecondAxis(n));

    QCOMPARE(track.frequency.size(), n);
    // The first period is distorted by the start of the smoothing and back-fills the start.
    QVERIFY(track.frequency[0] != 50.0);
    QVERIFY(track.frequency[0] >= 40.0 && track.frequency[0] <= 60.0);
    QVERIFY(std::fabs(track.frequency[n - 1] - 50.0) < 1e-4);
    verifyDeviationMatches(track);
}

void TestFrequencyTracking::constantChannelStaysAtFifty()
{
    for (double level : {0.0, 1234.0, -7.0}) {
        const FrequencyTrack track = trackChannelFrequency(QVector<double>(300, level), millisecondAxis(300));
        QVERIFY(everywhere(track.frequency, 50.0));
        QVERIFY(everywhere(track.deviation, 0.0));
        QCOMPARE(track.frequency.size(), 300);
    }
}

void TestFrequencyTracking::tooHighFrequencyFallsBackToForty()
{
    const FrequencyTrack track = trackChannelFrequency(sine(70.0, 500), millisecondAxis(500));
    QVERIFY(everywhere(track.frequency, 40.0));
    QVERIFY(everywhere(track.deviation, -10.0));
}

void TestFrequencyTracking::nonSineShapesFallBackToForty()
{
    // A square wave's mean is its peak (100 %); a spike per period is far below 15 %.
    QVector<double> square(20, 100.0);
    std::fill(square.begin() + 10, square.end(), -100.0);
    QVector<double> spike(20, -1.0);
    spike[1] = 100.0;
    // A triangle (mean 56 % of peak) with the same period is accepted; it never
    // touches 0.0, so each zero is crossed once.
    QVector<double> triangle(20);
    for (int i = 0; i < 20; ++i)
        triangle[i] = i < 10 ? -45.0 + 10.0 * i : 145.0 - 10.0 * i;

    const QVector<double> axis = millisecondAxis(400);
    QVERIFY(everywhere(trackChannelFrequency(rawSmoothingTo(repeated(square, 400)), axis).frequency, 40.0));
    QVERIFY(everywhere(trackChannelFrequency(rawSmoothingTo(repeated(spike, 400)), axis).frequency, 40.0));
    QVERIFY(everywhere(trackChannelFrequency(rawSmoothingTo(repeated(triangle, 400)), axis).frequency, 50.0));
}

void TestFrequencyTracking::oneSampleAndNoSample()
{
    const FrequencyTrack one = trackChannelFrequency({123.0}, {0.0});
    QCOMPARE(one.frequency, QVector<double>{50.0});
    QCOMPARE(one.deviation, QVector<double>{0.0});
    QVERIFY(trackChannelFrequency({}, {}).frequency.isEmpty());
}

void TestFrequencyTracking::repeatedCrossingsKeepOneValuePerSample()
{
    // Passing through an exact 0.0 gives two crossings of one direction in a row.
    const QVector<double> y = repeated({-10.0, 0.0, 10.0, 0.0}, 301);
    const FrequencyTrack track = trackChannelFrequency(rawSmoothingTo(y), millisecondAxis(301));

    QCOMPARE(track.frequency.size(), 301);
    for (double f : track.frequency)
        QVERIFY(f >= 40.0 && f <= 60.0);
    verifyDeviationMatches(track);
}

QTEST_GUILESS_MAIN(TestFrequencyTracking)
#include "test_frequencytracking.moc"
