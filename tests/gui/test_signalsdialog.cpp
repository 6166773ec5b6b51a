#include "app/comtradeview.h"
#include "comtrade/dialect/dialectreader.h"
#include "support/diagramrecordings.h"
#include "support/gui/modaldriver.h"
#include "view/comtraderead.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

#include <functional>

using VornaLumeto::COMTRADE_read;
using VornaLumeto::comtrade_view;

namespace {

constexpr int analogTotal = 10;
constexpr int digitalTotal = 5;

QPushButton* button(QDialog* dialog, const QString& text)
{
    for (QPushButton* candidate : dialog->findChildren<QPushButton*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Runs the check on the modal dialog once it is open, then closes it with "Закрыть"
// (or rejects it when that button is missing), so that a failure never leaves a test waiting.
void whenDialogOpens(const std::function<void(QDialog*)>& check)
{
    LumetoTest::whenModalAppears([check](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        check(dialog);
        if (QPushButton* close = button(dialog, QStringLiteral("Закрыть")))
            close->click();
        else
            dialog->reject();
    });
}

// Where each row of the list lies in the scroll area's viewport, scrolled to the top.
QVector<QRect> rowsInViewport(QDialog* dialog, const QVector<QCheckBox*>& boxes)
{
    auto* scroll = dialog->findChild<QScrollArea*>();
    QVector<QRect> rects;
    for (QCheckBox* box : boxes) {
        QWidget* row = box->parentWidget();
        if (row->height() < box->sizeHint().height())
            return {};  // squeezed below what the box needs
        rects << QRect(row->mapTo(scroll->viewport(), QPoint(0, 0)), row->size());
    }
    return rects;
}

QStringList rowTexts(QDialog* dialog)
{
    QStringList texts;
    auto* scroll = dialog->findChild<QScrollArea*>();
    for (QLabel* label : scroll->widget()->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

class TestSignalsDialog : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path;

    // Puts a loaded view into a tab directly, so that no message box can block the test.
    COMTRADE_read* addTab(comtrade_view& tabs) { return addTab(tabs, path); }

    COMTRADE_read* addTab(comtrade_view& tabs, const QString& path)
    {
        auto* view = new COMTRADE_read(&tabs);
        if (view->load(path) != VornaLumeto::loadSuccessMessage()) {
            delete view;
            return nullptr;
        }
        tabs.views.append(view);
        tabs.fileNames.append(path);
        tabs.tabWidget->addTab(view, QStringLiteral("tab"));
        return view;
    }

private slots:
    void initTestCase()
    {
        LumetoTest::TestRecording recording;
        for (int i = 0; i < analogTotal; ++i)
            recording.analog.append({QStringLiteral("A%1").arg(i), QStringLiteral("kV"), 1.0,
                                     LumetoTest::sineSamples(10.0 * (i + 1), 0.0, 50.0, 1000, 60, 1.0)});
        for (int k = 0; k < digitalTotal; ++k)
            recording.digital.append({QStringLiteral("D%1").arg(k), QVector<int>(60, k % 2)});
        path = LumetoTest::writeAsciiRecording(dir, QStringLiteral("fifteen"), recording);
    }

    void withoutTabsNothingOpens()
    {
        comtrade_view tabs(nullptr);
        QVERIFY(!tabs.showSignalsDialog(true, 0, true, true));
        QVERIFY(!tabs.showSignalsDialog(false, 1, true, false));
        QVERIFY(tabs.findChildren<QDialog*>().isEmpty());
    }

    void displayedSignalsListsAnalogThenDigitalChannels()
    {
        comtrade_view tabs(nullptr);
        COMTRADE_read* view = addTab(tabs);
        QVERIFY(view);
        QVector<bool> flags(analogTotal + digitalTotal, true);
        flags[3] = false;
        view->applyDisplayedSignals(&flags);

        QSize dialogSize;
        QSize contentSize;
        int scrollRange = 0;
        QPointer<QDialog> shown;
        Qt::WindowModality modality = Qt::NonModal;
        QStringList texts;
        QVector<bool> ticks;
        QString applyMode;
        whenDialogOpens([&](QDialog* dialog) {
            dialogSize = dialog->size();
            contentSize = dialog->findChild<QScrollArea*>()->widget()->size();
            scrollRange = dialog->findChild<QScrollArea*>()->verticalScrollBar()->maximum();
            shown = dialog;
            modality = dialog->windowModality();
            texts = rowTexts(dialog);
            for (QCheckBox* box : qAsConst(tabs.checkBoxes))
                ticks << box->isChecked();
            applyMode = button(dialog, QStringLiteral("Применить"))->objectName();
        });
        QVERIFY(tabs.showSignalsDialog(true, 0, true, true));

        QCOMPARE(dialogSize, QSize(300, 300));
        QCOMPARE(contentSize.width(), 270);
        QVERIFY(contentSize.height() >= 10 + 15 * 15);
        QVERIFY(scrollRange > 0);  // fifteen rows do not fit: the list scrolls
        QVERIFY(shown.isNull());  // deleted on close
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(texts.size(), analogTotal + digitalTotal);
        QCOMPARE(texts.first(), QStringLiteral("A0"));
        QCOMPARE(texts.at(analogTotal - 1), QStringLiteral("A9"));
        QCOMPARE(texts.at(analogTotal), QStringLiteral("D0"));
        QCOMPARE(ticks, flags);
        QCOMPARE(applyMode, QStringLiteral("0"));
    }

    void shortListsShowEveryRowWhole_data()
    {
        QTest::addColumn<int>("channels");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
        QTest::newRow("eight") << 8;
    }

    void shortListsShowEveryRowWhole()
    {
        QFETCH(int, channels);
        LumetoTest::TestRecording recording;
        for (int i = 0; i < channels; ++i)
            recording.analog.append({QStringLiteral("Канал %1").arg(i), QStringLiteral("kV"), 1.0,
                                     LumetoTest::sineSamples(10.0, 0.0, 50.0, 1000, 60, 1.0)});
        comtrade_view tabs(nullptr);
        QVERIFY(addTab(tabs, LumetoTest::writeAsciiRecording(dir, QStringLiteral("short%1").arg(channels), recording)));

        QVector<QRect> rows;
        QRect viewport;
        whenDialogOpens([&](QDialog* dialog) {
            rows = rowsInViewport(dialog, tabs.checkBoxes);
            viewport = dialog->findChild<QScrollArea*>()->viewport()->rect();
        });
        QVERIFY(tabs.showSignalsDialog(false, 1, true, false));

        QCOMPARE(rows.size(), channels);
        for (int i = 0; i < rows.size(); ++i) {
            QVERIFY2(viewport.contains(rows.at(i)), qPrintable(QString::number(i)));
            QVERIFY(i == 0 || rows.at(i).top() > rows.at(i - 1).bottom());
        }
    }

    void applyingTwiceAppliesTwiceAndKeepsTheDialogOpen()
    {
        comtrade_view tabs(nullptr);
        COMTRADE_read* view = addTab(tabs);
        QVERIFY(view);

        int rowsAfterClear = -1;
        int rowsAfterSelectAll = -1;
        bool openAfterApply = false;
        whenDialogOpens([&](QDialog* dialog) {
            button(dialog, QStringLiteral("Очистить все"))->click();
            button(dialog, QStringLiteral("Применить"))->click();
            rowsAfterClear = view->rowMap.size();
            openAfterApply = dialog->isVisible();
            button(dialog, QStringLiteral("Выделить все"))->click();
            button(dialog, QStringLiteral("Применить"))->click();
            rowsAfterSelectAll = view->rowMap.size();
            openAfterApply = openAfterApply && dialog->isVisible();
        });
        QVERIFY(tabs.showSignalsDialog(true, 0, true, true));

        QCOMPARE(rowsAfterClear, 0);
        QCOMPARE(rowsAfterSelectAll, 4 * analogTotal + digitalTotal);
        QVERIFY(openAfterApply);
        QVERIFY(tabs.checkBoxes.isEmpty());
    }

    void scalingListsAnalogChannelsUntickedAndPassesTheTickedOnes()
    {
        comtrade_view tabs(nullptr);
        COMTRADE_read* view = addTab(tabs);
        QVERIFY(view);

        int rows = -1;
        bool anyTicked = true;
        QString applyMode;
        whenDialogOpens([&](QDialog* dialog) {
            rows = tabs.checkBoxes.size();
            anyTicked = std::any_of(tabs.checkBoxes.cbegin(), tabs.checkBoxes.cend(),
                                    [](const QCheckBox* box) { return box->isChecked(); });
            applyMode = button(dialog, QStringLiteral("Применить"))->objectName();
            tabs.checkBoxes.at(2)->setChecked(true);
            tabs.checkBoxes.at(7)->setChecked(true);
            button(dialog, QStringLiteral("Применить"))->click();
        });
        QVERIFY(tabs.showSignalsDialog(false, 1, true, false));

        QCOMPARE(rows, analogTotal);
        QVERIFY(!anyTicked);
        QCOMPARE(applyMode, QStringLiteral("1"));
        // Channel 7 has the larger peak and becomes the reference of channel 2.
        QCOMPARE(view->scaleReference.at(2), 8);
        QCOMPARE(view->scaleReference.at(7), 0);
        QCOMPARE(view->channelLabels.at(29)->text(), QStringLiteral("Отмасштабирован к \"A7\""));
        QCOMPARE(view->channelLabels.at(79)->text(), QString());
        QCOMPARE(view->channelLabels.at(39)->text(), QString());
    }

    void digitalOnlyListStartsWithTheFirstDigitalChannel()
    {
        comtrade_view tabs(nullptr);
        QVERIFY(addTab(tabs));
        QStringList texts;
        whenDialogOpens([&](QDialog* dialog) { texts = rowTexts(dialog); });
        QVERIFY(tabs.showSignalsDialog(true, 0, false, true));
        QCOMPARE(texts, QStringList({"D0", "D1", "D2", "D3", "D4"}));
    }
};

QTEST_MAIN(TestSignalsDialog)
#include "test_signalsdialog.moc"
