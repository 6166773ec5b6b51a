#include "app/resourcesinit.h"
#include "support/gui/recordingview.h"

#include <qcustomplot.h>

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QShortcut>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

using LumetoTest::TestChannel;
using LumetoTest::TestRecording;
using VornaLumeto::COMTRADE_read;

namespace {

constexpr int sampleCount = 200;
constexpr int wholePeriodCut = 39;  // window 20 ... 39 starts on a whole period

TestChannel sineChannel(const QString& id, const QString& unit, double multiplier, double rms,
                        double phase)
{
    return {id, unit, multiplier, LumetoTest::sineSamples(rms, phase, 50, 1000, sampleCount, multiplier)};
}

QPointF vectorTip(const COMTRADE_read& view, int channel)
{
    const auto data = view.vectorCurves.at(channel)->data();
    if (data->size() != 2)
        return QPointF(qQNaN(), qQNaN());
    return QPointF(data->at(1)->key, data->at(1)->value);
}

bool vectorStartsAtCentre(const COMTRADE_read& view, int channel)
{
    const auto data = view.vectorCurves.at(channel)->data();
    return data->size() == 2 && data->at(0)->key == 0.0 && data->at(0)->value == 0.0;
}

bool vectorHidden(const COMTRADE_read& view, int channel)
{
    return vectorTip(view, channel) == QPointF(2.0, 2.0);
}

double vectorLengthOf(const COMTRADE_read& view, int channel)
{
    const QPointF tip = vectorTip(view, channel);
    return std::hypot(tip.x(), tip.y());
}

QStringList column(const COMTRADE_read& view, int col)
{
    QStringList texts;
    for (int row = 0; row < view.vectorModel->rowCount(); ++row)
        texts << view.vectorModel->index(row, col).data().toString();
    return texts;
}

void setAngles(COMTRADE_read& view, const QVector<double>& angles, double rms)
{
    for (int i = 0; i < angles.size(); ++i) {
        view.phasors[i].angle = angles.at(i);
        view.phasors[i].rms = rms;
    }
}

void chooseChannels(COMTRADE_read& view, const QVector<int>& channels)
{
    for (int channel : channels)
        view.vectorChannelActions.at(channel)->trigger();
}

QShortcut* shortcutFor(const QWidget& view, const QKeySequence& key)
{
    for (QShortcut* shortcut : view.findChildren<QShortcut*>()) {
        if (shortcut->key() == key)
            return shortcut;
    }
    return nullptr;
}

} // namespace

class TestVectorDiagram : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    std::unique_ptr<COMTRADE_read> open(const QString& name, const TestRecording& recording)
    {
        return LumetoTest::openRecordingView(dir, name, recording);
    }

    // Ua, Ub, Uc at 0, -120, 120 degrees in kV, Un at 180 degrees in V, all 110 kV.
    std::unique_ptr<COMTRADE_read> openThreePhase()
    {
        TestRecording recording;
        recording.analog = {sineChannel("Ua", "kV", 0.01, 110, 0),
                            sineChannel("Ub", "kV", 0.01, 110, -120),
                            sineChannel("Uc", "кВ", 0.01, 110, 120),
                            sineChannel("Un", "V", 10, 110000, 180)};
        return open("threephase", recording);
    }

private slots:
    void initTestCase()
    {
        VornaLumeto::initResources();
        QVERIFY(dir.isValid());
    }

    void buildsHiddenPanelWithMenusInOrder()
    {
        TestRecording recording;
        recording.analog = {sineChannel("Ia", "A", 1, 100, 0), sineChannel("K", "%", 1, 10, 0)};
        const auto view = open("menus", recording);
        QVERIFY(!view->vectorDiagramShown);
        QVERIFY(view->vectorPanel->isHidden());
        QCOMPARE(view->vectorPlot->size(), QSize(300, 300));
        QCOMPARE(view->vectorModel->columnCount(), 3);
        QCOMPARE(view->vectorModel->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Угол"));
        QStringList menus;
        for (QAction* action : view->vectorMenu->actions())
            menus << action->text();
        QCOMPARE(menus, QStringList({"Каналы", "Отсчет углов", "Размерность"}));
        // The percent channel cannot be chosen at all.
        QCOMPARE(view->vectorChannelMenu->actions(), QList<QAction*>{view->vectorChannelActions.at(0)});
        QVERIFY(view->absoluteAngleAction->isChecked());
        QCOMPARE(view->angleUnitActions.at(0)->text(), QStringLiteral("Градусы"));
        QVERIFY(view->angleUnitActions.at(0)->isChecked());
        QVERIFY(!view->angleReferenceActions.at(0)->isVisible());
        QCOMPARE(view->vectorCurves.size(), 2);
        QCOMPARE(view->vectorCurves.at(0)->pen().width(), 2);
        QCOMPARE(view->vectorCurves.at(0)->pen().capStyle(), Qt::SquareCap);
    }

    void threeEqualVoltagesPointUpLowerRightAndLowerLeft()
    {
        const auto view = openThreePhase();
        view->showVectorDiagram();
        view->cut1Index = wholePeriodCut;
        view->updateReadouts();
        chooseChannels(*view, {2, 0, 1});
        QCOMPARE(view->vectorChannels, QVector<int>({0, 1, 2}));
        QCOMPARE(column(*view, 0), QStringList({"Ua", "Ub", "Uc"}));
        QCOMPARE(column(*view, 1), QStringList({"0.0", "-120.0", "120.0"}));
        for (const QString& rms : column(*view, 2))
            QVERIFY2(qAbs(rms.toDouble() - 110.0) < 0.005, qPrintable(rms));
        const QPointF up = vectorTip(*view, 0);
        const QPointF lowerRight = vectorTip(*view, 1);
        const QPointF lowerLeft = vectorTip(*view, 2);
        QVERIFY(vectorStartsAtCentre(*view, 0));
        QVERIFY(qAbs(up.x()) < 1e-3 && qAbs(up.y() - 0.8) < 1e-3);
        QVERIFY(qAbs(lowerRight.x() - 0.6928) < 1e-3 && qAbs(lowerRight.y() + 0.4) < 1e-3);
        QVERIFY(qAbs(lowerLeft.x() + 0.6928) < 1e-3 && qAbs(lowerLeft.y() + 0.4) < 1e-3);
        QVERIFY(vectorHidden(*view, 3));
        const QColor decoration = view->vectorModel->index(1, 0).data(Qt::DecorationRole).value<QColor>();
        QCOMPARE(decoration, view->channelColors.at(1));
    }

    void kilovoltsAndVoltsAreScaledTogether()
    {
        const auto view = openThreePhase();
        view->cut1Index = wholePeriodCut;
        view->updateReadouts();
        chooseChannels(*view, {0, 3});
        QVERIFY(qAbs(vectorLengthOf(*view, 0) - 0.8) < 1e-3);
        QVERIFY(qAbs(vectorLengthOf(*view, 3) - 0.8) < 1e-3);
    }

    void referenceShiftsAnglesAndShowsMinus180As180()
    {
        const auto view = openThreePhase();
        chooseChannels(*view, {0, 1, 2, 3});
        setAngles(*view, {0.0, 240.0, 120.0, 180.0}, 110.0);
        view->angleReferenceActions.at(1)->trigger();
        QCOMPARE(column(*view, 1), QStringList({"120.0", "0.0", "-120.0", "-60.0"}));
        // The reference points straight up.
        QVERIFY(qAbs(vectorTip(*view, 1).x()) < 1e-9);
        view->angleReferenceActions.at(3)->trigger();
        QCOMPARE(column(*view, 1).first(), QStringLiteral("180.0"));
        view->angleUnitActions.at(1)->trigger();
        QCOMPARE(column(*view, 1), QStringList({"1.000π", "0.333π", "-0.333π", "0.000π"}));
    }

    void removingTheReferenceReturnsToAbsoluteAngle()
    {
        const auto view = openThreePhase();
        chooseChannels(*view, {0, 1});
        QVERIFY(view->angleReferenceActions.at(1)->isVisible());
        view->angleReferenceActions.at(1)->trigger();
        view->vectorChannelActions.at(1)->trigger();  // unchecks it
        QCOMPARE(view->vectorChannels, QVector<int>({0}));
        QVERIFY(view->absoluteAngleAction->isChecked());
        QVERIFY(!view->angleReferenceActions.at(1)->isVisible());
        QCOMPARE(view->vectorModel->rowCount(), 1);
        QVERIFY(vectorHidden(*view, 1));
    }

    void channelMenuAddsOnceAndRemoves()
    {
        const auto view = openThreePhase();
        view->channelMenu->setObjectName(QStringLiteral("2"));
        view->vectorDiagramAction->setChecked(true);
        view->slot_analog_ch_act_vector_diag();
        view->slot_analog_ch_act_vector_diag();
        QCOMPARE(view->vectorChannels, QVector<int>({2}));
        QVERIFY(view->vectorChannelActions.at(2)->isChecked());
        QVERIFY(view->vectorPanel->isHidden());
        view->vectorDiagramAction->setChecked(false);
        view->slot_analog_ch_act_vector_diag();
        QVERIFY(view->vectorChannels.isEmpty());
        QVERIFY(!view->vectorChannelActions.at(2)->isChecked());
    }

    void mixedCurrentUnitsShareOneLargestCurrent()
    {
        TestRecording recording;
        recording.analog = {sineChannel("Ia", "А", 1, 500, 0), sineChannel("Ib", "кA", 0.001, 1, 0),
                            sineChannel("F", "Гц", 1, 50, 0)};
        const auto view = open("currents", recording);
        chooseChannels(*view, {0, 1, 2});
        setAngles(*view, {90.0, 0.0, 0.0}, 0.0);
        view->phasors[0].rms = 500;
        view->phasors[1].rms = 1;
        view->phasors[2].rms = 50;
        view->refreshVectorDiagram();
        QVERIFY(qAbs(vectorLengthOf(*view, 0) - 0.4) < 1e-9);
        QVERIFY(qAbs(vectorLengthOf(*view, 1) - 0.8) < 1e-9);
        // Positive angles turn counter-clockwise: 90 degrees points left.
        QVERIFY(vectorTip(*view, 0).x() < -0.39);
        QCOMPARE(vectorTip(*view, 2), QPointF(0.0, 0.0));
        QCOMPARE(column(*view, 2).last(), QStringLiteral("50.000"));
    }

    void tooLittleDataClearsRowsAndVectors()
    {
        const auto view = openThreePhase();
        view->showVectorDiagram();
        chooseChannels(*view, {0, 1});
        view->cut1Index = wholePeriodCut;
        view->updateReadouts();
        QVERIFY(!vectorHidden(*view, 0));
        view->cut1Index = 10;
        view->updateReadouts();
        QCOMPARE(view->vectorModel->rowCount(), 2);
        QCOMPARE(column(*view, 1), QStringList({"0", "0"}));
        QCOMPARE(column(*view, 2), QStringList({"0", "0"}));
        QCOMPARE(column(*view, 0), QStringList({"Ua", "Ub"}));
        QVERIFY(vectorHidden(*view, 0) && vectorHidden(*view, 1));
    }

    void zeroMagnitudesDrawNoVector()
    {
        const auto view = openThreePhase();
        chooseChannels(*view, {0});
        setAngles(*view, {0.0}, 0.0);
        view->refreshVectorDiagram();
        QCOMPARE(column(*view, 1), QStringList({"0.0"}));
        QCOMPARE(column(*view, 2), QStringList({"0.000"}));
        QVERIFY(vectorHidden(*view, 0));
    }

    void dcChannelHasNoVectorAndNoAngle()
    {
        // Udc is the only voltage: its transform noise would otherwise be the largest voltage.
        TestRecording recording;
        recording.analog = {sineChannel("Ia", "A", 0.01, 100, 30),
                            {"Udc", "V", 0.01, LumetoTest::constantSamples(-500, sampleCount)},
                            {"Uz", "V", 0.01, LumetoTest::constantSamples(0, sampleCount)}};
        const auto view = open("dc", recording);
        view->showVectorDiagram();
        chooseChannels(*view, {0, 1, 2});
        view->cut1Index = wholePeriodCut;
        view->updateReadouts();
        QCOMPARE(column(*view, 1), QStringList({"30.0", "-", "-"}));
        QCOMPARE(column(*view, 2).mid(1), QStringList({"0.000", "0.000"}));
        QCOMPARE(vectorTip(*view, 1), QPointF(0.0, 0.0));
        QCOMPARE(vectorTip(*view, 2), QPointF(0.0, 0.0));
        QVERIFY(qAbs(vectorLengthOf(*view, 0) - 0.8) < 1e-3);
        // As the reference it leaves the other angles without an origin.
        view->angleReferenceActions.at(1)->trigger();
        QCOMPARE(column(*view, 1), QStringList({"-", "-", "-"}));
    }

    void radianRowsKeepOneHeight()
    {
        const auto view = openThreePhase();
        view->showVectorDiagram();
        chooseChannels(*view, {0, 1, 2, 3});
        view->cut1Index = wholePeriodCut;
        view->updateReadouts();
        const int oneLine = view->vectorTable->rowHeight(0);
        view->angleUnitActions.at(1)->trigger();
        QCOMPARE(column(*view, 1).at(1), QStringLiteral("-0.667π"));
        for (int row = 0; row < 4; ++row)
            QCOMPARE(view->vectorTable->rowHeight(row), oneLine);
    }

    void emptyDiagramShowsTheChosenBackground()
    {
        const auto view = openThreePhase();
        view->showVectorDiagram();
        const QImage degrees(QStringLiteral(":/vornalumeto_res/vornalumeto_images/phase.png"));
        const QImage radians(QStringLiteral(":/vornalumeto_res/vornalumeto_images/phase_radian.png"));
        const auto rendered = [&view]() {
            return view->vectorPlot->toPixmap(300, 300).toImage().convertToFormat(QImage::Format_RGB32);
        };
        QCOMPARE(rendered(), degrees.convertToFormat(QImage::Format_RGB32));
        view->angleUnitActions.at(1)->trigger();
        QCOMPARE(view->vectorModel->rowCount(), 0);
        QCOMPARE(rendered(), radians.convertToFormat(QImage::Format_RGB32));
    }

    void shiftDOpensTheMenuOnlyWhileShown()
    {
        const auto view = openThreePhase();
        view->show();
        QShortcut* shiftD = shortcutFor(*view, QKeySequence(QStringLiteral("Shift+D")));
        QVERIFY(shiftD);
        emit shiftD->activated();
        QVERIFY(!view->vectorMenu->isVisible());
        view->showVectorDiagram();
        emit shiftD->activated();
        QVERIFY(view->vectorMenu->isVisible());
        view->vectorMenu->hide();
        view->hideVectorDiagram();
        QVERIFY(view->vectorPanel->isHidden());
    }
};

QTEST_MAIN(TestVectorDiagram)
#include "test_vectordiagram.moc"
