#include "view/bandgeometry.h"

#include <QtTest>

using namespace VornaLumeto;

// The geometry every part of the view places channels, rows and labels by.
class TestBandGeometry : public QObject {
    Q_OBJECT

private slots:
    void channelsSitBandUnderBand()
    {
        QCOMPARE(analogBandTop(0), 0.0);
        QCOMPARE(analogBandTop(3), -120.0);
        // Digital channel 1 of a recording with 3 analog channels: under the three bands and one row.
        QCOMPARE(digitalRowTop(3, 1), -130.0);
    }

    void plotBottomReachesAtLeastTheVisibleRange()
    {
        QCOMPARE(plotBottom(2, 3), -240.0);
        QCOMPARE(plotBottom(6, 1), -250.0);
        QCOMPARE(plotBottom(0, 0), -240.0);
    }

    void rowsAndLabelsOfAnalogChannelsComeFirst()
    {
        QCOMPARE(displayedRows(3, 2), 14);
        QCOMPARE(firstRowOfAnalog(2), 8);
        QCOMPARE(rowOfDigital(3, 1), 13);
        QCOMPARE(analogLabelIndex(2, AnalogLabel::Value), 21);
        QCOMPARE(analogLabelIndex(2, AnalogLabel::ScaleNote), 29);
        QCOMPARE(digitalLabelIndex(3, 1), 31);
        // Five displayed rows leave the scroll bar nothing to scroll: its maximum is below 0.
        QVERIFY(lastFirstRow(5) < 0);
        QCOMPARE(lastFirstRow(40), 16);
    }
};

QTEST_MAIN(TestBandGeometry)
#include "test_bandgeometry.moc"
