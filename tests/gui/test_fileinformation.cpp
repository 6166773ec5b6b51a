#include "app/comtradeview.h"
#include "dialogs/recordingtext.h"
#include "support/gui/recordingview.h"
#include "support/gui/toplevelwindows.h"
#include "support/outputfixtures.h"
#include "support/testfiles.h"
#include "view/comtraderead.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QtTest>

using VornaLumeto::COMTRADE_read;
using VornaLumeto::TimeStamp;

Q_DECLARE_METATYPE(TimeStamp)

using LumetoTest::newTopLevelWindow;

namespace {

TimeStamp stamp(int day, int month, int year, int hour, int minute, double seconds)
{
    TimeStamp result;
    result.day = quint8(day);
    result.month = quint8(month);
    result.year = qint16(year);
    result.hour = quint8(hour);
    result.minute = quint8(minute);
    result.seconds = seconds;
    return result;
}

QVector<double> millisecondAxis(int first, int last)
{
    QVector<double> axis;
    for (int t = first; t <= last; ++t)
        axis.append(t);
    return axis;
}

QString cellText(QGridLayout* grid, int row, int column)
{
    return qobject_cast<QLabel*>(grid->itemAtPosition(row, column)->widget())->text();
}

} // namespace

class TestFileInformation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void formatsTimeStamps_data()
    {
        QTest::addColumn<TimeStamp>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("worked example") << stamp(5, 3, 2019, 7, 4, 9.25) << "05/03/2019 07:04:09.250000";
        QTest::newRow("half a second") << stamp(5, 3, 2019, 7, 4, 0.5) << "05/03/2019 07:04:00.500000";
        QTest::newRow("two-digit fields") << stamp(12, 11, 2020, 0, 0, 12.5) << "12/11/2020 00:00:12.500000";
        QTest::newRow("two-digit year kept") << stamp(1, 1, 99, 23, 59, 59.999999) << "01/01/99 23:59:59.999999";
    }

    void formatsTimeStamps()
    {
        QFETCH(TimeStamp, time);
        QFETCH(QString, expected);
        QCOMPARE(VornaLumeto::timeStampText(time), expected);
    }

    void formatsDurationWithSixSignificantDigits()
    {
        QCOMPARE(VornaLumeto::durationText(millisecondAxis(0, 1999)), QStringLiteral("1999 мс"));
        QCOMPARE(VornaLumeto::durationText({5.0, 1234572.0}), QStringLiteral("1.23457e+06 мс"));
        QCOMPARE(VornaLumeto::durationText({}), QStringLiteral("0 мс"));
    }

    void showsElevenRowsOfTheRecording()
    {
        LumetoTest::HeaderRecording header;
        header.sampleCount = 2000;
        COMTRADE_read view(nullptr);
        QCOMPARE(view.load(LumetoTest::writeHeaderRecording(dir, "info", header)),
                 QStringLiteral("Без ошибок"));

        const QWidgetList before = QApplication::topLevelWidgets();
        view.showFileInformationWindow();
        QPointer<QWidget> window = newTopLevelWindow(before);
        QVERIFY(window);

        auto* grid = qobject_cast<QGridLayout*>(window->layout());
        QVERIFY(grid);
        QCOMPARE(grid->rowCount(), 11);
        const QStringList captions = {
            "Имя регистратора: ", "Номер регистратора: ", "Общее количество каналов: ",
            "Количество аналоговых каналов: ", "Количество дискретных каналов: ", "Частота сети: ",
            "Частота дискретизации (Гц): ", "Номер последней выборки: ",
            "Время первого значения в файле: ", "Время пуска: ", "Длительность: "};
        const QStringList values = {"ПС-1", "12", "3", "2", "1", "50", "1000", "2000",
                                    "05/03/2021 09:07:03.200000", "05/03/2021 09:07:03.250000",
                                    "1999 мс"};
        for (int row = 0; row < 11; ++row) {
            QCOMPARE(cellText(grid, row, 0), captions.at(row));
            QCOMPARE(cellText(grid, row, 1), values.at(row));
            QCOMPARE(grid->itemAtPosition(row, 0)->alignment(), Qt::AlignRight);
            QCOMPARE(grid->itemAtPosition(row, 1)->alignment(), Qt::AlignLeft);
        }

        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->width() >= 350 && window->height() >= 300);
        for (QLabel* label : window->findChildren<QLabel*>())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QCOMPARE(window->windowModality(), Qt::ApplicationModal);
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(window->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QVERIFY(!window->parent());

        window->close();
        QTRY_VERIFY(!window);
    }

    // After the eleven rows of every recording, in a scrolling box below them, what
    // only the standard reader knows; the printed header takes the recorder id as written.
    void standardRecordingAddsItsRowsBelowTheElevenRows()
    {
        LumetoTest::writeFile(dir, "std.cfg",
                              QStringLiteral("ПС-1,Рег-7,1999\r\n2,1A,1D\r\n1,Ia,A,,A,0.1,0,0,-32767,32767,600,5,S\r\n"
                                             "1,Пуск,,,0\r\n50\r\n1\r\n1000,4\r\n05/03/2021,09:07:03.200000\r\n"
                                             "05/03/2021,09:07:03.250000\r\nASCII\r\n1\r\n")
                                  .toUtf8());
        LumetoTest::writeFile(dir, "std.dat", "1,0,10,0\r\n2,1000,20,1\r\n3,2000,30,0\r\n");
        auto view = LumetoTest::openStandardView(dir.filePath("std.cfg"));
        QCOMPARE(VornaLumeto::printedRecorderId(*view), QStringLiteral("Рег-7"));

        const QWidgetList before = QApplication::topLevelWidgets();
        view->showFileInformationWindow();
        QPointer<QWidget> window = newTopLevelWindow(before);
        QVERIFY(window);
        auto* grid = qobject_cast<QGridLayout*>(window->layout());
        QCOMPARE(grid->rowCount(), 12);
        QCOMPARE(cellText(grid, 1, 0), QStringLiteral("Номер регистратора: "));
        QCOMPARE(cellText(grid, 1, 1), QStringLiteral("0"));  // not a number: 0, as the model holds it
        QCOMPARE(cellText(grid, 10, 0), QStringLiteral("Длительность: "));
        auto* scroll = qobject_cast<QScrollArea*>(grid->itemAtPosition(11, 0)->widget());
        QVERIFY(scroll);
        auto* rows = qobject_cast<QGridLayout*>(scroll->widget()->layout());
        QStringList shown;
        for (int row = 0; row < rows->rowCount(); ++row)
            shown.append(cellText(rows, row, 0) + cellText(rows, row, 1));
        QCOMPARE(shown, QStringList({"Редакция формата: 1999", "Тип данных: ASCII", "Идентификатор регистратора: Рег-7",
                                     "Множитель времени (timemult): 1", "Код времени: -", "Качество времени: -",
                                     "Кодировка конфигурации: UTF-8",
                                     "Коэффициенты трансформации: первичный / вторичный, P/S", "Ia: 600 / 5, S",
                                     "Не показано: 1 из 4 отсчётов"}));

        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->width() >= 350 && window->height() > 300);
        for (int row = 0; row < 11; ++row) {
            auto* caption = grid->itemAtPosition(row, 0)->widget();
            QVERIFY2(caption->height() >= caption->sizeHint().height(), qPrintable(cellText(grid, row, 0)));
        }
        window->close();
        QTRY_VERIFY(!window);
    }

    void opensCentredOverTheMainWindowAndClosesWithEscape()
    {
        QWidget mainWindow;
        auto* view = new COMTRADE_read(&mainWindow);
        QCOMPARE(view->load(LumetoTest::writeHeaderRecording(dir, "escape", {})), QStringLiteral("Без ошибок"));
        mainWindow.setGeometry(240, 160, 1000, 700);
        mainWindow.show();

        const QWidgetList before = QApplication::topLevelWidgets();
        view->showFileInformationWindow();
        QPointer<QWidget> window = newTopLevelWindow(before);
        QVERIFY(window);
        QVERIFY((window->geometry().center() - mainWindow.geometry().center()).manhattanLength() < 40);

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!window);
    }

    void eachCommandOpensItsOwnWindow()
    {
        COMTRADE_read view(nullptr);
        QCOMPARE(view.load(LumetoTest::writeHeaderRecording(dir, "twice", {})),
                 QStringLiteral("Без ошибок"));
        const QWidgetList before = QApplication::topLevelWidgets();
        view.showFileInformationWindow();
        QPointer<QWidget> first = newTopLevelWindow(before);
        view.showFileInformationWindow();
        QPointer<QWidget> second = newTopLevelWindow(before + QWidgetList{first});
        QVERIFY(first && second && first != second);
        first->close();
        second->close();
        QTRY_VERIFY(!first && !second);
    }

    void noOpenTabMeansNoWindow()
    {
        VornaLumeto::comtrade_view tabs(nullptr);
        const QWidgetList before = QApplication::topLevelWidgets();
        QVERIFY(!tabs.showFileInfo());
        QVERIFY(!newTopLevelWindow(before));
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestFileInformation)
#include "test_fileinformation.moc"
