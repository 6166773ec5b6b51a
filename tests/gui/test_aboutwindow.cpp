#include "app/aboutwindow.h"
#include "app/resourcesinit.h"
#include "lumetoversion.h"

#include <QLabel>
#include <QtTest>

class TestAboutWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { VornaLumeto::initResources(); }

    void convertsCompilerDate_data()
    {
        QTest::addColumn<QString>("compilerDate");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two-digit day") << "May 25 2024" << "25.05.2024";
        QTest::newRow("space-padded day") << "Mar  5 2021" << "05.03.2021";
        QTest::newRow("December") << "Dec 31 1999" << "31.12.1999";
    }

    void convertsCompilerDate()
    {
        QFETCH(QString, compilerDate);
        QFETCH(QString, expected);
        QCOMPARE(widget_vorna::buildDateText(compilerDate), expected);
    }

    void hasFixedPictureSize()
    {
        widget_vorna about(nullptr, Qt::AlignBottom | Qt::AlignRight, 8);
        QCOMPARE(about.size(), QSize(843, 562));
        QCOMPARE(about.minimumSize(), QSize(843, 562));
        QCOMPARE(about.maximumSize(), QSize(843, 562));
        QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
        QVERIFY(!about.windowIcon().isNull());
    }

    void showsSevenBoldLinesInOrder()
    {
        widget_vorna about(nullptr, Qt::AlignBottom | Qt::AlignRight, 8);
        const QList<QLabel*> labels = about.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 7);
        const QString date = widget_vorna::buildDateText(QStringLiteral(__DATE__));
        QCOMPARE(labels.at(0)->text(), QStringLiteral("<FONT COLOR=#FFFFFF>Версия: " LUMETO_VERSION_TEXT "</FONT>"));
        QCOMPARE(labels.at(1)->text(), "<FONT COLOR=#FFFFFF>Дата: " + date + "</FONT>");
        QCOMPARE(labels.at(2)->text(), QStringLiteral("<FONT COLOR=#FFFFFF>Служба тех. поддержки:</FONT>"));
        QVERIFY(labels.at(3)->text().contains(QStringLiteral("+7 (000) 000-00-00")));
        QVERIFY(labels.at(4)->text().contains(QStringLiteral("mailto:support@lumeto.example")));
        QCOMPARE(labels.at(5)->text(), QStringLiteral("<FONT COLOR=#FFFFFF>Официальный сайт:</FONT>"));
        QVERIFY(labels.at(6)->text().contains(QStringLiteral("https://lumeto.example.org")));
        QVERIFY(labels.at(4)->openExternalLinks());
        QVERIFY(labels.at(6)->openExternalLinks());
        for (QLabel* label : labels) {
            QCOMPARE(label->font().weight(), 75);
            QCOMPARE(label->font().pointSize(), 8);
        }
    }

    void placesTextBlockInBottomRightCorner()
    {
        widget_vorna about(nullptr, Qt::AlignBottom | Qt::AlignRight, 8);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QList<QLabel*> labels = about.findChildren<QLabel*>();
        const QRect last(labels.last()->mapTo(&about, QPoint(0, 0)), labels.last()->size());
        QCOMPARE(last.bottom(), about.height() - 1 - 15);
        QCOMPARE(last.right(), about.width() - 1 - 15);
        const QRect previous(labels.at(5)->mapTo(&about, QPoint(0, 0)), labels.at(5)->size());
        QCOMPARE(last.top() - previous.bottom() - 1, 5);
        QVERIFY(last.top() > about.height() / 2);
    }
};

QTEST_MAIN(TestAboutWindow)
#include "test_aboutwindow.moc"
