// The closed-form two-source model the fault analysis is checked against,
// checked itself: the conditions each kind of fault sets at the fault point,
// and a bolted fault seen from the relay end at exactly its distance.
#include "linefaultmodel.h"

#include <QtTest>

#include <cmath>

using LumetoTools::Complex;
using LumetoTools::FaultKind;

Q_DECLARE_METATYPE(FaultKind)

namespace {

const char* const kindNames[LumetoTools::faultKindCount] = {"AG", "BG", "CG", "AB", "BC", "CA", "ABG", "BCG", "CAG", "ABC"};

// Phases 0, 1, 2 of a kind's letters, and whether it goes to ground.
struct FaultShape {
    QVector<int> phases;
    bool ground = false;
};

FaultShape shapeOf(FaultKind kind)
{
    const QString name = QString::fromLatin1(kindNames[int(kind)]);
    FaultShape shape;
    for (const QChar letter : name) {
        if (letter == QLatin1Char('G'))
            shape.ground = true;
        else
            shape.phases.append(letter.toLatin1() - 'A');
    }
    return shape;
}

LumetoTools::TwoSourceSystem system(bool homogeneous, double loadAngle)
{
    LumetoTools::TwoSourceSystem system;
    system.loadAngle = loadAngle;
    const Complex lineAngle = std::polar(1.0, 80.0 * std::acos(-1.0) / 180.0);
    system.lineZ1 = 40.0 * lineAngle;
    system.lineZ0 = 120.0 * lineAngle;
    system.sourceZ1 = (homogeneous ? 8.0 * lineAngle : Complex(0.5, 6.0));
    system.sourceZ0 = (homogeneous ? 12.0 * lineAngle : Complex(0.3, 3.0));
    system.remoteZ1 = (homogeneous ? 15.0 * lineAngle : Complex(4.0, 20.0));
    system.remoteZ0 = (homogeneous ? 30.0 * lineAngle : Complex(6.0, 45.0));
    return system;
}

QString text(Complex value)
{
    return QStringLiteral("%1%2%3j").arg(value.real()).arg(value.imag() < 0 ? "" : "+").arg(value.imag());
}

// Within a millionth of the scale: the model is closed form, only rounding may differ.
void compareNear(Complex actual, Complex expected, double scale, const char* what)
{
    QVERIFY2(std::abs(actual - expected) <= 1e-6 * scale,
             qPrintable(QStringLiteral("%1: %2 against %3").arg(QLatin1String(what), text(actual), text(expected))));
}

} // namespace

class TestLineFaultModel : public QObject {
    Q_OBJECT

private slots:
    void faultPointMeetsTheKindsConditions_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<double>("resistance");
        QTest::addColumn<bool>("homogeneous");
        QTest::addColumn<double>("loadAngle");
        for (int k = 0; k < LumetoTools::faultKindCount; ++k) {
            const QByteArray name(kindNames[k]);
            QTest::newRow(name + " bolted, homogeneous, exporting") << FaultKind(k) << 0.0 << true << 10.0;
            QTest::newRow(name + " 12 ohm, non-homogeneous, importing") << FaultKind(k) << 12.0 << false << -10.0;
        }
    }
    void faultPointMeetsTheKindsConditions()
    {
        QFETCH(FaultKind, kind);
        QFETCH(double, resistance);
        QFETCH(bool, homogeneous);
        QFETCH(double, loadAngle);
        const LumetoTools::TwoSourceSystem sources = system(homogeneous, loadAngle);
        const LumetoTools::LineFaultSolution solution = LumetoTools::solveLineFault(sources, {kind, 0.35, resistance});
        const LumetoTools::PhaseQuantities& point = solution.faultPoint;
        const FaultShape shape = shapeOf(kind);
        double currentScale = 0.0;
        for (const Complex current : point.current)
            currentScale = std::max(currentScale, std::abs(current));
        QVERIFY(currentScale > 100.0);
        const double voltageScale = sources.emf;

        Complex faultCurrent = 0.0;
        for (int p = 0; p < 3; ++p) {
            if (shape.phases.contains(p))
                faultCurrent += point.current[p];
            else
                compareNear(point.current[p], 0.0, currentScale, "healthy phase current");
        }
        const int first = shape.phases.first();
        if (shape.phases.size() == 1) {
            compareNear(point.voltage[first], resistance * point.current[first], voltageScale, "U_F = Rf I_F");
        } else if (shape.phases.size() == 3) {
            compareNear(faultCurrent, 0.0, currentScale, "sum of fault currents");
            for (int p = 0; p < 3; ++p)
                compareNear(point.voltage[p], resistance * point.current[p], voltageScale, "U_Fp = Rf I_Fp");
        } else if (shape.ground) {
            for (const int p : shape.phases)
                compareNear(point.voltage[p], resistance * faultCurrent, voltageScale, "U_Fp = Rf (I_Fp + I_Fq)");
        } else {
            const int second = shape.phases.last();
            compareNear(point.current[first], -point.current[second], currentScale, "I_Fp = -I_Fq");
            compareNear(point.voltage[first] - point.voltage[second], resistance * point.current[first], voltageScale,
                        "U_Fp - U_Fq = Rf I_Fp");
        }
    }

    // A bolted fault: the faulted loop at the relay sees m Z_L1, the ground
    // loops with the line's residual compensation.
    void boltedFaultLoopIsTheLineToTheFault_data()
    {
        QTest::addColumn<FaultKind>("kind");
        for (int k = 0; k < LumetoTools::faultKindCount; ++k)
            QTest::newRow(kindNames[k]) << FaultKind(k);
    }
    void boltedFaultLoopIsTheLineToTheFault()
    {
        QFETCH(FaultKind, kind);
        const LumetoTools::TwoSourceSystem sources = system(false, 10.0);
        const double distance = 0.7;
        const LumetoTools::PhaseQuantities relay = LumetoTools::solveLineFault(sources, {kind, distance, 0.0}).fault;
        const FaultShape shape = shapeOf(kind);
        const Complex expected = distance * sources.lineZ1;
        if (shape.phases.size() == 1) {
            const int p = shape.phases.first();
            const Complex k0 = (sources.lineZ0 - sources.lineZ1) / (3.0 * sources.lineZ1);
            const Complex residual = 3.0 * relay.sequenceCurrent[0];
            compareNear(relay.voltage[p] / (relay.current[p] + k0 * residual), expected, std::abs(expected), "Z_pG");
        } else {
            const int p = shape.phases[0];
            const int q = shape.phases[1];
            compareNear((relay.voltage[p] - relay.voltage[q]) / (relay.current[p] - relay.current[q]), expected,
                        std::abs(expected), "Z_pq");
        }
    }

    // Before the fault the relay sees the load flow of the two EMFs.
    void prefaultIsTheLoadFlow()
    {
        const LumetoTools::TwoSourceSystem sources = system(true, 10.0);
        const LumetoTools::PhaseQuantities relay =
            LumetoTools::solveLineFault(sources, {FaultKind::AG, 0.5, 0.0}).prefault;
        const Complex sourceEmf = std::polar(sources.emf, 10.0 * std::acos(-1.0) / 180.0);
        const Complex current = (sourceEmf - sources.emf) / (sources.sourceZ1 + sources.lineZ1 + sources.remoteZ1);
        const Complex a = std::polar(1.0, 2.0 * std::acos(-1.0) / 3.0);
        compareNear(relay.current[0], current, std::abs(current), "I_A");
        compareNear(relay.current[1], a * a * current, std::abs(current), "I_B");
        compareNear(relay.voltage[2], a * (sourceEmf - sources.sourceZ1 * current), sources.emf, "U_C");
        compareNear(relay.sequenceCurrent[2], 0.0, std::abs(current), "I_2");
        // Exporting: real power flows from S into the line.
        QVERIFY((relay.voltage[0] * std::conj(relay.current[0])).real() > 0.0);
    }
};

QTEST_GUILESS_MAIN(TestLineFaultModel)
#include "test_linefaultmodel.moc"
