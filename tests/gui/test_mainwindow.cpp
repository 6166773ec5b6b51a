#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/resourcesinit.h"
#include "support/gui/modaldriver.h"
#include "support/gui/toplevelwindows.h"

#include <QDir>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using VornaLumeto::MainWindow;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        VornaLumeto::initResources();
        QVERIFY(workDir.isValid());
        QDir::setCurrent(workDir.path());
    }

    void buildsMenusInCommandOrder()
    {
        MainWindow window(0, nullptr);
        QStringList menus;
        QStringList items;
        for (QAction* menuAction : window.menuBar->actions()) {
            menus << menuAction->text();
            for (QAction* item : menuAction->menu()->actions())
                items << (item->isSeparator() ? QStringLiteral("|") : item->text());
        }
        QCOMPARE(menus, QStringList({"&Файл", "&Инструменты", "&Помощь"}));
        QCOMPARE(items, QStringList({"&Открыть", "&Информация о файле", "|", "&Печать",
                                     "&Сохранить в pdf", "&Выйти", "&Векторная диаграмма",
                                     "&Частотная диаграмма", "Отображаемые сигналы",
                                     "Масштабировать", "&О программе"}));
        QVERIFY(window.vector_diagrammAct->isCheckable());
        QVERIFY(!window.vector_diagrammAct->isChecked());
        QVERIFY(window.frequency_diagrammAct->isCheckable());
        QCOMPARE(window.openfileAct->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(window.exitAct->shortcuts(), QKeySequence::keyBindings(QKeySequence::Quit));
        QCOMPARE(window.windowTitle(), QStringLiteral("Lumeto.Люмето"));
        QCOMPARE(window.programKind(), 6);
    }

    void toolbarIsFixedWithFourEntries()
    {
        MainWindow window(0, nullptr);
        const QList<QToolBar*> bars = window.findChildren<QToolBar*>();
        QCOMPARE(bars.size(), 1);
        QVERIFY(!bars.first()->isMovable());
        const QList<QAction*> actions = bars.first()->actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions.at(0), window.openfileAct);
        QVERIFY(actions.at(1)->isSeparator());
        QCOMPARE(actions.at(2), window.vector_diagrammAct);
        QCOMPARE(actions.at(3), window.frequency_diagrammAct);
    }

    void createsSettingsDirectoryAndMinimumSizes()
    {
        MainWindow window(0, nullptr);
        QVERIFY(QDir(workDir.filePath("files/lumeto")).exists());
        QCOMPARE(window.minimumSize(), QSize(1024, 768));
        window.setMinimumSize(840, 630);
        window.show();
        QCOMPARE(window.size(), QSize(1024, 768));
        window.resize(800, 600);
        QCOMPARE(window.size(), QSize(840, 630));
        QVERIFY(qobject_cast<VornaLumeto::comtrade_view*>(window.centralWidget()));
        QVERIFY(window.acceptDrops());
    }

    void commandsWithoutRecordingDoNothingHarmful()
    {
        MainWindow window(0, nullptr);
        window.show();
        const QWidgetList before = QApplication::topLevelWidgets();
        // A dialog shown by mistake is closed again and named, so the test cannot hang on it.
        QString shown;
        for (QAction* action : {window.printerAct, window.save_in_pdfAct, window.displayed_signalsAct,
                                window.scale_signalAct}) {
            LumetoTest::whenModalAppears([&shown, action](QWidget* modal) {
                shown = action->text();
                modal->close();
            }, 200);
            action->trigger();
            QTest::qWait(250);
            QVERIFY2(shown.isEmpty(), qPrintable(shown));
            QVERIFY2(!LumetoTest::newTopLevelWindow(before), qPrintable(action->text()));
        }
        QVERIFY(QDir(workDir.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());

        // The diagram commands only switch their mode.
        window.vector_diagrammAct->trigger();
        QVERIFY(window.recordingTabs->vectorDiagramOn);
        window.vector_diagrammAct->trigger();
        QVERIFY(!window.recordingTabs->vectorDiagramOn);
        window.frequency_diagrammAct->trigger();
        QVERIFY(window.recordingTabs->frequencyDiagramOn);
        QVERIFY(!LumetoTest::newTopLevelWindow(before));
    }

private:
    QTemporaryDir workDir;
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
