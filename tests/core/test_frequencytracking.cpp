#include "comtrade/common/frequencytracking.h"
#include "comtrade/dialect/dialectreader.h"
#include "recordinggenerator.h"
#include "support/diagramrecordings.h"
#include "support/readings.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

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


// The tracking written out step by step, two passes and all, as the slow
// reference the single-pass implementation must match bit for bit.
FrequencyTrack referenceTrack(const QVector<double>& x, const QVector<double>& timeAxis, int lineFrequency)
{
    const double nominal = lineFrequency;
    const double lowest = 40.0 * nominal / 50.0;
    const double highest = 60.0 * nominal / 50.0;
    const int n = x.size();
    QVector<double> y(n);
    FrequencyTrack track;
    if (n == 0)
        return track;
    y[0] = x[0];
    for (int i = 1; i < n; ++i)
        y[i] = (7.0 * y[i - 1] + x[i]) * 0.125;

    double f = nominal;
    int lastRising = -1;
    int lastFalling = -1;
    const auto fillUpTo = [&](int end) {
        while (track.frequency.size() < end) {
            track.frequency.append(f);
            track.deviation.append(f - nominal);
        }
    };
    const auto measure = [&](int s, int e) {
        double sum = 0.0;
        double peak = 0.0;
        for (int k = s; k <= e; ++k) {
            sum += std::fabs(y[k]);
            peak = qMax(peak, std::fabs(y[k]));
        }
        const double ratio = sum / (e - s + 1) / peak * 100.0;
        if (ratio > 65.0 || ratio < 15.0)
            return lowest;
        const double freq = 1000.0 / (timeAxis[e] - timeAxis[s]);
        return freq >= lowest && freq <= highest ? freq : lowest;
    };
    for (int i = 1; i < n; ++i) {
        const double prev = y[i - 1];
        const double cur = y[i];
        int* same = nullptr;
        int opposite = -1;
        if (prev <= 0.0 && cur > prev && cur >= 0.0) {
            same = &lastRising;
            opposite = lastFalling;
        } else if (prev >= 0.0 && cur < prev && cur <= 0.0) {
            same = &lastFalling;
            opposite = lastRising;
        }
        if (!same)
            continue;
        if (*same != -1) {
            f = measure(*same, i - 1);
            fillUpTo(opposite);
        }
        *same = i - 1;
    }
    fillUpTo(n);
    for (int j = 1; j < n; ++j) {
        double& value = track.frequency[j];
        value = (31.0 * track.frequency[j - 1] + value) * 0.03125;
        if (value < lowest || value > highest)
            value = lowest;
        track.deviation[j] = value - nominal;
    }
    return track;
}

bool bitIdentical(const QVector<double>& a, const QVector<double>& b)
{
    return a.size() == b.size()
           && std::memcmp(a.constData(), b.constData(), sizeof(double) * size_t(a.size())) == 0;
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
    void missingValuesKeepOneValuePerSampleInTheBand();
    void twoRatesTrackTheSameFrequencyOnBothSides();
    void bandFollowsTheLineFrequency_data();
    void bandFollowsTheLineFrequency();
    void matchesTheStepByStepAlgorithm_data();
    void matchesTheStepByStepAlgorithm();
};

void TestFrequencyTracking::steadySineSettlesAtItsFrequency()
{
    const int n = 1000;
    const FrequencyTrack track = trackChannelFrequency(sine(50.0, n), millisecondAxis(n), 50);

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
        const FrequencyTrack track =
            trackChannelFrequency(QVector<double>(300, level), millisecondAxis(300), 50);
        QVERIFY(everywhere(track.frequency, 50.0));
        QVERIFY(everywhere(track.deviation, 0.0));
        QCOMPARE(track.frequency.size(), 300);
    }
}

void TestFrequencyTracking::tooHighFrequencyFallsBackToForty()
{
    const FrequencyTrack track = trackChannelFrequency(sine(70.0, 500), millisecondAxis(500), 50);
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
    QVERIFY(everywhere(trackChannelFrequency(rawSmoothingTo(repeated(square, 400)), axis, 50).frequency, 40.0));
    QVERIFY(everywhere(trackChannelFrequency(rawSmoothingTo(repeated(spike, 400)), axis, 50).frequency, 40.0));
    QVERIFY(everywhere(trackChannelFrequency(rawSmoothingTo(repeated(triangle, 400)), axis, 50).frequency, 50.0));
}

void TestFrequencyTracking::oneSampleAndNoSample()
{
    const FrequencyTrack one = trackChannelFrequency({123.0}, {0.0}, 50);
    QCOMPARE(one.frequency, QVector<double>{50.0});
    QCOMPARE(one.deviation, QVector<double>{0.0});
    QVERIFY(trackChannelFrequency({}, {}, 50).frequency.isEmpty());
}

void TestFrequencyTracking::repeatedCrossingsKeepOneValuePerSample()
{
    // Passing through an exact 0.0 gives two crossings of one direction in a row.
    const QVector<double> y = repeated({-10.0, 0.0, 10.0, 0.0}, 301);
    const FrequencyTrack track = trackChannelFrequency(rawSmoothingTo(y), millisecondAxis(301), 50);

    QCOMPARE(track.frequency.size(), 301);
    for (double f : track.frequency)
        QVERIFY(f >= 40.0 && f <= 60.0);
    verifyDeviationMatches(track);
}

// Missing values (NaN) of the later revisions, at the start, inside and at the
// end, in values or times: one value per sample, each within the band.
void TestFrequencyTracking::missingValuesKeepOneValuePerSampleInTheBand()
{
    const double missing = std::numeric_limits<double>::quiet_NaN();
    QVector<double> values = sine(50.0, 300);
    for (int i : {0, 1, 120, 121, 122, 299})
        values[i] = missing;
    QVector<double> axis = millisecondAxis(300);
    axis[200] = missing;
    const FrequencyTrack track = trackChannelFrequency(values, axis, 50);
    QCOMPARE(track.frequency.size(), 300);
    QCOMPARE(track.deviation.size(), 300);
    for (double frequency : track.frequency)
        QVERIFY(frequency >= 40.0 && frequency <= 60.0);
}

// 4 kHz for 300 ms, then 1 kHz. The crossings are timed on the axis, so a
// 50 Hz sine tracks at 50 Hz on both sides. Only at the change, where the
// smoothing before the crossing search delays the signal by a different time,
// one period is timed some 1.6 ms long; the track dips by a few hertz there
// (as at the start of any recording) and is back within 0.1 Hz 100 ms later.
void TestFrequencyTracking::twoRatesTrackTheSameFrequencyOnBothSides()
{
    QVector<double> times;
    for (int k = 0; k < 1200; ++k)
        times.append(k * 0.25);
    for (int k = 0; k < 700; ++k)
        times.append(300.0 + k);
    QVector<double> values;
    for (double t : times)
        values.append(std::round(1000.0 * std::sin(2.0 * M_PI * 50.0 * t / 1000.0)));
    const FrequencyTrack track = trackChannelFrequency(values, times, 50);
    for (int k : {400, 1000, 1300, 1500, 1899})
        QVERIFY2(std::fabs(track.frequency.at(k) - 50.0) < 0.15, qPrintable(QString::number(track.frequency.at(k))));
    for (double frequency : track.frequency)
        QVERIFY2(frequency > 45.0 && frequency <= 50.5, qPrintable(QString::number(frequency)));
}

void TestFrequencyTracking::bandFollowsTheLineFrequency_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("lineFrequency");
    QTest::newRow("50 Hz at 1 kHz") << 1000 << 50;
    QTest::newRow("60 Hz at 1 kHz") << 1000 << 60;
    // 520.8 us steps, written in whole microseconds and read back in whole milliseconds.
    QTest::newRow("60 Hz at 1920/s") << 1920 << 60;
}

void TestFrequencyTracking::bandFollowsTheLineFrequency()
{
    QFETCH(int, rate);
    QFETCH(int, lineFrequency);
    LumetoTest::TestRecording written;
    written.rate = rate;
    written.lineFrequency = lineFrequency;
    written.analog = {{"Ia", "A", 0.01, LumetoTest::sineSamples(100, 0, lineFrequency, rate, rate, 0.01)}};
    QTemporaryDir dir;
    Recording recording;
    QCOMPARE(LumetoTest::loadDialect(LumetoTest::writeAsciiRecording(dir, "sine", written), recording),
             loadSuccessMessage());

    const QVector<double>& frequency = recording.channelFrequency.first();
    const QVector<double>& deviation = recording.frequencyDeviation.first();
    // Settled after a fifth of a second. Periods are measured between whole samples (16 or 17 ms
    // for 60 Hz at 1 kHz), so the track ripples around the line frequency.
    for (int i = rate / 5; i < rate; ++i) {
        QVERIFY2(std::fabs(frequency[i] - lineFrequency) < 1.0, qPrintable(QString::number(frequency[i])));
        QCOMPARE(deviation[i], frequency[i] - lineFrequency);
    }
}

void TestFrequencyTracking::matchesTheStepByStepAlgorithm_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<QVector<double>>("timeAxis");
    QTest::addColumn<int>("lineFrequency");

    // Every channel of a generated fault recording: DC offsets, harmonics,
    // noise, a sag and a current rise, units from kV to per cent.
    LumetoTools::GeneratorOptions options;
    options.analogCount = 12;
    options.samples = 3000;
    const LumetoTools::GeneratedRecording generated = LumetoTools::generateRecording(options);
    QVector<double> recordedAxis;
    for (qint32 microseconds : generated.timeStamps)
        recordedAxis.append(microseconds / 1000.0);
    for (const LumetoTools::GeneratedAnalogChannel& channel : generated.analog) {
        QTest::addRow("%s", qPrintable(channel.id))
            << QVector<double>(channel.raw.cbegin(), channel.raw.cend()) << recordedAxis << 50;
    }

    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-3000, 3000);
    QVector<double> noisy(5000);
    for (double& value : noisy)
        value = noise(random);
    QTest::newRow("noise") << noisy << millisecondAxis(5000) << 50;
    QTest::newRow("55 Hz") << sine(55.0, 4000) << millisecondAxis(4000) << 50;
    QTest::newRow("exact zeros") << rawSmoothingTo(repeated({-10.0, 0.0, 10.0, 0.0}, 301)) << millisecondAxis(301)
                                 << 50;
    QTest::newRow("two samples") << QVector<double>{-5.0, 5.0} << millisecondAxis(2) << 50;
    QTest::newRow("noise, 60 Hz line") << noisy << millisecondAxis(5000) << 60;
    QTest::newRow("66 Hz on a 60 Hz line") << sine(66.0, 4000) << millisecondAxis(4000) << 60;
}

void TestFrequencyTracking::matchesTheStepByStepAlgorithm()
{
    QFETCH(QVector<double>, values);
    QFETCH(QVector<double>, timeAxis);
    QFETCH(int, lineFrequency);
    const FrequencyTrack expected = referenceTrack(values, timeAxis, lineFrequency);
    const FrequencyTrack track = trackChannelFrequency(values, timeAxis, lineFrequency);
    QVERIFY(bitIdentical(track.frequency, expected.frequency));
    QVERIFY(bitIdentical(track.deviation, expected.deviation));
}

QTEST_GUILESS_MAIN(TestFrequencyTracking)
#include "test_frequencytracking.moc"
