#include "app/resourcesinit.h"
#include "support/gui/recordingview.h"

#include <qcustomplot.h>

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QShortcut>
#include <QtTest>

#include <memory>

using LumetoTest::TestChannel;
using LumetoTest::TestRecording;
using VornaLumeto::COMTRADE_read;

namespace {

constexpr int sampleCount = 400;

struct DialogOutcome {
    bool appeared = false;
    QString label;
    int initial = 0;
    int maximum = 0;
};

// Answers the next harmonic-count dialog with value (or cancels it when value is 0).
void answerHarmonicDialog(DialogOutcome& outcome, int value)
{
    QTimer::singleShot(0, [&outcome, value]() {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        outcome.appeared = true;
        outcome.label = dialog->labelText();
        outcome.initial = dialog->intValue();
        outcome.maximum = dialog->intMaximum();
        if (value > 0) {
            dialog->setIntValue(value);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

QStringList labelTexts(const COMTRADE_read& view, int count)
{
    QStringList texts;
    for (int k = 0; k < count; ++k)
        texts << view.harmonicLabels.at(k)->text();
    return texts;
}

QCPRange valueRange(const COMTRADE_read& view)
{
    return view.frequencyPlot->yAxis->range();
}

} // namespace

class TestFrequencyDiagram : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    std::unique_ptr<COMTRADE_read> open(const QString& name, const TestRecording& recording)
    {
        return LumetoTest::openRecordingView(dir, name, recording);
    }

    // Ia: pure 50 Hz sine of RMS 100 A; Udc: constant -5 V.
    std::unique_ptr<COMTRADE_read> openSineAndDc(int rate = 1000)
    {
        TestRecording recording;
        recording.rate = rate;
        const int count = sampleCount * rate / 1000;
        recording.analog = {
            {"Ia", "A", 0.01, LumetoTest::sineSamples(100, 0, 50, rate, count, 0.01)},
            {"Udc", "V", 0.01, LumetoTest::constantSamples(-500, count)}};
        return open(QStringLiteral("sine%1").arg(rate), recording);
    }

    void placeCut(COMTRADE_read& view, int sample)
    {
        view.cut1Index = sample;
        view.updateReadouts();
    }

private slots:
    void initTestCase()
    {
        VornaLumeto::initResources();
        QVERIFY(dir.isValid());
    }

    void oneKilohertzOffersTenHarmonics()
    {
        const auto view = openSineAndDc();
        QCOMPARE(view->maxHarmonics, 10);
        QCOMPARE(view->harmonicCount, 10);
        QCOMPARE(view->harmonicLabels.size(), 11);
        QCOMPARE(view->harmonicTickLabels.first(), QStringLiteral("0"));
        QCOMPARE(view->harmonicTickLabels.last(), QStringLiteral("500"));
        QVERIFY(view->frequencyPanel->isHidden());
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Ia"));
        QVERIFY(view->frequencyChannelActions.first()->isChecked());
        QVERIFY(view->absoluteValuesAction->isChecked());
        QStringList menus;
        for (QAction* action : view->frequencyMenu->actions())
            menus << action->text();
        QCOMPARE(menus, QStringList({"Каналы", "Значения величин", "Количество гармоник"}));
        QCOMPARE(view->valueModeMenu->actions().last(), view->absoluteValuesAction);

        DialogOutcome outcome;
        answerHarmonicDialog(outcome, 7);
        view->harmonicCountAction->trigger();
        QVERIFY(outcome.appeared);
        QVERIFY(outcome.label.endsWith(QStringLiteral("(1-10)")));
        QCOMPARE(outcome.initial, 10);
        QCOMPARE(view->harmonicCount, 7);
    }

    void fourKilohertzShowsTheEnteredCount()
    {
        const auto view = openSineAndDc(4000);
        QCOMPARE(view->maxHarmonics, 40);
        QCOMPARE(view->harmonicCount, 10);
        QCOMPARE(view->harmonicTickLabels.last(), QStringLiteral("2000"));
        placeCut(*view, 200);
        DialogOutcome outcome;
        answerHarmonicDialog(outcome, 25);
        view->harmonicCountAction->trigger();
        QCOMPARE(outcome.maximum, 40);
        QCOMPARE(view->harmonicCount, 25);
        QCOMPARE(view->harmonicBars->data()->size(), 26);
        QCOMPARE(view->frequencyPlot->xAxis->range(), QCPRange(-0.5, 25.5));

        answerHarmonicDialog(outcome, 0);
        view->harmonicCountAction->trigger();
        QCOMPARE(view->harmonicCount, 25);
    }

    void ticksReadMultiplesOfTheLineFrequency_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("harmonics");
        QTest::newRow("1 kHz") << 1000 << 8;
        QTest::newRow("1920/s") << 1920 << 16;
    }

    void ticksReadMultiplesOfTheLineFrequency()
    {
        QFETCH(int, rate);
        QFETCH(int, harmonics);
        TestRecording recording;
        recording.rate = rate;
        recording.lineFrequency = 60;
        recording.analog = {{"Ia", "A", 0.01, LumetoTest::sineSamples(100, 0, 60, rate, rate / 5, 0.01)}};
        const auto view = open(QStringLiteral("sixty%1").arg(rate), recording);
        QCOMPARE(view->maxHarmonics, harmonics);
        QCOMPARE(view->harmonicTickLabels.mid(0, 3), QVector<QString>({"0", "60", "120"}));
        QCOMPARE(view->harmonicTickLabels.last(), QString::number(60 * harmonics));
    }

    void pureSineInTheThreeValueModes()
    {
        const auto view = openSineAndDc();
        view->showFrequencyDiagram();
        placeCut(*view, 39);
        QCOMPARE(view->harmonicLabels.at(1)->text(), QStringLiteral("100.00"));
        QCOMPARE(view->harmonicLabels.at(2)->text(), QStringLiteral("0.00"));
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Ia (A)"));
        const auto bars = view->harmonicBars->data();
        QCOMPARE(bars->size(), 11);
        QVERIFY(qAbs(bars->at(1)->value - 8.0) < 1e-9);
        QVERIFY(qAbs(view->harmonicLabels.at(1)->position->value() - 9.2) < 1e-9);
        QCOMPARE(valueRange(*view), QCPRange(0, 10));

        view->fundamentalPercentAction->trigger();
        QCOMPARE(view->harmonicLabels.at(1)->text(), QStringLiteral("100.0"));
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Ia (%)"));
        view->rmsPercentAction->trigger();
        QCOMPARE(view->harmonicLabels.at(1)->text(), QStringLiteral("100.0"));
        QCOMPARE(view->harmonicLabels.at(0)->text(), QStringLiteral("0.0"));
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Ia (%)"));
        QCOMPARE(view->harmonicBars->pen().color(), view->channelColors.at(0));
    }

    void negativeDcHasOnlyHarmonicZero()
    {
        const auto view = openSineAndDc();
        placeCut(*view, 39);
        view->frequencyChannelActions.at(1)->trigger();
        QCOMPARE(view->harmonicLabels.at(0)->text(), QStringLiteral("5.00"));
        QCOMPARE(view->harmonicLabels.at(1)->text(), QStringLiteral("0.00"));
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Udc (V)"));
        QCOMPARE(view->harmonicBars->brush().color(), view->channelColorsFaded.at(1));
        // No fundamental to relate to.
        view->fundamentalPercentAction->trigger();
        QCOMPARE(labelTexts(*view, 3), QStringList({"-", "-", "-"}));
        view->rmsPercentAction->trigger();
        QCOMPARE(labelTexts(*view, 3), QStringList({"100.0", "0.0", "0.0"}));
    }

    void tooLittleDataEmptiesTheStripUntilTheCutReturns()
    {
        const auto view = openSineAndDc();
        placeCut(*view, 5);
        view->showFrequencyDiagram();
        QCOMPARE(valueRange(*view), QCPRange(-5, -3));
        // Choices still change while there is too little data; the next full window uses them.
        view->fundamentalPercentAction->trigger();
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Ia"));
        QCOMPARE(valueRange(*view), QCPRange(-5, -3));
        placeCut(*view, 59);
        QCOMPARE(valueRange(*view), QCPRange(0, 10));
        QCOMPARE(view->harmonicLabels.at(1)->text(), QStringLiteral("100.0"));
        placeCut(*view, 18);
        QCOMPARE(valueRange(*view), QCPRange(-5, -3));
    }

    void channelMenuChoosesTheChannelWithoutShowing()
    {
        const auto view = openSineAndDc();
        placeCut(*view, 39);
        view->channelMenu->setObjectName(QStringLiteral("1"));
        view->slot_analog_ch_act_frequency_diag();
        QVERIFY(view->frequencyChannelActions.at(1)->isChecked());
        QVERIFY(!view->frequencyChannelActions.at(0)->isChecked());
        QVERIFY(view->frequencyPanel->isHidden());
        QCOMPARE(view->frequencyPlot->xAxis->label(), QStringLiteral("Udc (V)"));
    }

    void shiftXOpensTheMenuOnlyWhileShown()
    {
        const auto view = openSineAndDc();
        view->show();
        QShortcut* shiftX = nullptr;
        for (QShortcut* shortcut : view->findChildren<QShortcut*>()) {
            if (shortcut->key() == QKeySequence(QStringLiteral("Shift+X")))
                shiftX = shortcut;
        }
        QVERIFY(shiftX);
        emit shiftX->activated();
        QVERIFY(!view->frequencyMenu->isVisible());
        view->showFrequencyDiagram();
        emit shiftX->activated();
        QVERIFY(view->frequencyMenu->isVisible());
        view->frequencyMenu->hide();
    }

    void zeroLineFrequencyDrawsNothingAndOffersNoCount()
    {
        TestRecording recording;
        recording.lineFrequency = 0;
        recording.analog = {{"Ia", "A", 0.01, LumetoTest::sineSamples(100, 0, 50, 1000, 200, 0.01)}};
        const auto view = open("nofrequency", recording);
        QCOMPARE(view->maxHarmonics, 0);
        QCOMPARE(view->harmonicCount, 0);
        view->showFrequencyDiagram();
        placeCut(*view, 150);
        QCOMPARE(valueRange(*view), QCPRange(-5, -3));
        QCOMPARE(view->harmonicBars->data()->size(), 0);

        DialogOutcome outcome;
        answerHarmonicDialog(outcome, 3);
        view->harmonicCountAction->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!outcome.appeared);
        QCOMPARE(view->harmonicCount, 0);
    }
};

QTEST_MAIN(TestFrequencyDiagram)
#include "test_frequencydiagram.moc"
