#include "analysis/diagrammath.h"

#include <QtTest>

// Arithmetic of the vector and frequency panels, without any widget.
class TestDiagramMath : public QObject {
    Q_OBJECT

private slots:
    void unitTableKnowsLatinAndCyrillicSpellings_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("factor");
        const int voltage = int(VornaLumeto::VectorKind::Voltage);
        const int current = int(VornaLumeto::VectorKind::Current);
        const int other = int(VornaLumeto::VectorKind::Other);
        QTest::newRow("V") << "V" << voltage << 1.0;
        QTest::newRow("Cyrillic В") << "В" << voltage << 1.0;
        QTest::newRow("кВ") << "кВ" << voltage << 1000.0;
        QTest::newRow("mV") << "mV" << voltage << 0.001;
        QTest::newRow("Cyrillic А") << "А" << current << 1.0;
        QTest::newRow("Latin k, Cyrillic А") << "kА" << current << 1000.0;
        QTest::newRow("Cyrillic к, Latin A") << "кA" << current << 1000.0;
        QTest::newRow("Cyrillic м, Latin A") << "мA" << current << 0.001;
        QTest::newRow("case matters") << "KV" << other << 0.0;
        QTest::newRow("all Cyrillic кА is not listed") << "кА" << other << 0.0;
        QTest::newRow("Гц") << "Гц" << other << 0.0;
    }

    void unitTableKnowsLatinAndCyrillicSpellings()
    {
        QFETCH(QString, unit);
        QFETCH(int, kind);
        QFETCH(double, factor);
        const VornaLumeto::VectorUnit found = VornaLumeto::vectorUnit(unit);
        QCOMPARE(int(found.kind), kind);
        QCOMPARE(found.factor, factor);
    }

    void angleTextsFoldOnceAndShowRadiansAsFractionOfPi()
    {
        using VornaLumeto::AngleUnit;
        QCOMPARE(VornaLumeto::foldAngle(-180.0), 180.0);
        QCOMPARE(VornaLumeto::foldAngle(180.0), 180.0);
        QCOMPARE(VornaLumeto::foldAngle(240.0), -120.0);
        QCOMPARE(VornaLumeto::angleText(120.0, AngleUnit::Radians), QStringLiteral("0.667π"));
        QCOMPARE(VornaLumeto::angleText(-90.0, AngleUnit::Radians), QStringLiteral("-0.500π"));
        QCOMPARE(VornaLumeto::angleText(-0.04, AngleUnit::Degrees), QStringLiteral("-0.0"));
    }

    void percentLabelsReadDashWithoutABase()
    {
        using VornaLumeto::harmonicLabelTexts;
        using Mode = VornaLumeto::HarmonicValueMode;
        QCOMPARE(harmonicLabelTexts({5.0, 0.0, 0.0}, Mode::FundamentalPercent, 5.0),
                 QVector<QString>({"-", "-", "-"}));
        // A fundamental that is only rounding noise of the transform is no base either.
        QCOMPARE(harmonicLabelTexts({5.0, 2e-12}, Mode::FundamentalPercent, 5.0),
                 QVector<QString>({"-", "-"}));
        QCOMPARE(harmonicLabelTexts({5.0}, Mode::FundamentalPercent, 5.0),
                 QVector<QString>({"-"}));
        QCOMPARE(harmonicLabelTexts({0.0, 0.0}, Mode::RmsPercent, 0.0),
                 QVector<QString>({"-", "-"}));
        QCOMPARE(harmonicLabelTexts({1.0, 4.0}, Mode::RmsPercent, 8.0),
                 QVector<QString>({"12.5", "50.0"}));
        QVERIFY(VornaLumeto::harmonicBarHeights({0.0, 0.0}, 0.0).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestDiagramMath)
#include "test_diagrammath.moc"
