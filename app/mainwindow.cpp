#include "app/mainwindow.h"

#include "app/aboutwindow.h"
#include "app/comtradeview.h"
#include "app/directorypath.h"
#include "app/settingspaths.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <cstdlib>

namespace VornaLumeto {

MainWindow::MainWindow(int kind, QWidget* parent) : KelvoLibQt::MainWindow(kind, parent)
{
    const QString settingsFile = lastDirectoryFile();
    KelvoLibQt::makeDirectoryPath(settingsFile.left(settingsFile.lastIndexOf(QLatin1Char('/'))));

    setWindowTitle(QStringLiteral("Lumeto") + QStringLiteral(".") + QStringLiteral("Люмето"));
    setMinimumSize(1024, 768);
    // Opens at this size even after main lowers the limit (the resize that the
    // limit itself causes is not remembered as the window's own size).
    resize(1024, 768);
    setAcceptDrops(true);

    buildMenusAndToolbar();

    recordingTabs = new comtrade_view(this);
    setCentralWidget(recordingTabs);
    recordingTabs->addFaultAnalysisShortcut(this);

    statusBar = QMainWindow::statusBar();
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& text, void (MainWindow::*slot)())
{
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, slot);
    menu->addAction(action);
    return action;
}

void MainWindow::buildMenusAndToolbar()
{
    menuBar = new QMenuBar(this);
    setMenuBar(menuBar);

    QMenu* fileMenu = menuBar->addMenu(tr("&Файл"));
    QToolBar* toolBar = addToolBar(QStringLiteral("Тулбар"));
    toolBar->setMovable(false);

    openfileAct = addCommand(fileMenu, tr("&Открыть"), &MainWindow::slot_menu_openfile);
    openfileAct->setIcon(QIcon::fromTheme(QStringLiteral("open"),
        QIcon(QStringLiteral(":/vornaallprogs_res/vornaallprogs_images/buttonAddFile.png"))));
    openfileAct->setShortcut(QKeySequence::Open);
    toolBar->addAction(openfileAct);
    toolBar->addSeparator();

    openInfoFileAct = addCommand(fileMenu, tr("&Информация о файле"), &MainWindow::slot_menu_openInfoFile);
    fileMenu->addSeparator();
    printerAct = addCommand(fileMenu, tr("&Печать"), &MainWindow::slot_menu_printerAct);
    save_in_pdfAct = addCommand(fileMenu, tr("&Сохранить в pdf"), &MainWindow::slot_menu_save_in_pdfAct);
    exitAct = addCommand(fileMenu, tr("&Выйти"), &MainWindow::slot_menu_exit);
    exitAct->setShortcuts(QKeySequence::Quit);

    QMenu* toolsMenu = menuBar->addMenu(tr("&Инструменты"));
    vector_diagrammAct = addCommand(toolsMenu, tr("&Векторная диаграмма"), &MainWindow::slot_menu_vector_diagramm);
    vector_diagrammAct->setIcon(QIcon::fromTheme(QStringLiteral("vector_diagramm"),
        QIcon(QStringLiteral(":/vornalumeto_res/vornalumeto_images/icon_vector.png"))));
    toolBar->addAction(vector_diagrammAct);
    vector_diagrammAct->setCheckable(true);
    vector_diagrammAct->setChecked(false);

    frequency_diagrammAct = addCommand(toolsMenu, tr("&Частотная диаграмма"), &MainWindow::slot_menu_frequency_diagramm);
    frequency_diagrammAct->setIcon(QIcon::fromTheme(QStringLiteral("frequency_diagramm"),
        QIcon(QStringLiteral(":/vornalumeto_res/vornalumeto_images/icon_frequency.png"))));
    toolBar->addAction(frequency_diagrammAct);
    frequency_diagrammAct->setCheckable(true);
    frequency_diagrammAct->setChecked(false);

    displayed_signalsAct = addCommand(toolsMenu, tr("Отображаемые сигналы"), &MainWindow::slot_displayed_signals);
    scale_signalAct = addCommand(toolsMenu, tr("Масштабировать"), &MainWindow::slot_scale_signal);

    QMenu* helpMenu = menuBar->addMenu(tr("&Помощь"));
    QAction* aboutAct = new QAction(tr("&О программе"), this);
    connect(aboutAct, &QAction::triggered, this, [] {
        widget_vorna about(nullptr, Qt::AlignBottom | Qt::AlignRight, 8);
        about.exec();
    });
    helpMenu->addAction(aboutAct);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    recordingTabs->closeAllTabs();
    std::exit(0);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        event->acceptProposedAction();
}

QString droppedPath(const QUrl& url)
{
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        // A drive path (file:///C:/rec.cfg) keeps its drive letter first.
        const bool drivePath = path.size() > 3 && path.at(0) == QLatin1Char('/') && path.at(1).isLetter()
                               && path.at(2) == QLatin1Char(':') && path.at(3) == QLatin1Char('/');
        return drivePath ? path.mid(1) : path;
    }
    const QString text = url.toString();
    return text.size() > 8 ? text.mid(8) : QString();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls)
        recordingTabs->openFile(droppedPath(url));
}

void MainWindow::slot_menu_openfile()
{
    recordingTabs->openFile(QString());
}

void MainWindow::slot_menu_openInfoFile()
{
    if (!recordingTabs->showFileInfo())
        QMessageBox::critical(this, tr("Ошибка"), tr("Файл не открыт"), QMessageBox::Ok);
}

void MainWindow::slot_menu_printerAct()
{
    recordingTabs->printCurrent();
}

void MainWindow::slot_menu_save_in_pdfAct()
{
    recordingTabs->saveCurrentAsPdf();
}

void MainWindow::slot_menu_exit()
{
    std::exit(0);
}

void MainWindow::slot_menu_vector_diagramm()
{
    recordingTabs->setVectorDiagramMode(vector_diagrammAct->isChecked());
}

void MainWindow::slot_menu_frequency_diagramm()
{
    recordingTabs->setFrequencyDiagramMode(frequency_diagrammAct->isChecked());
}

void MainWindow::slot_displayed_signals()
{
    recordingTabs->showSignalsDialog(true, comtrade_view::DisplayedSignalsMode, true, true);
}

void MainWindow::slot_scale_signal()
{
    recordingTabs->showSignalsDialog(false, comtrade_view::ScalingMode, true, false);
}

} // namespace VornaLumeto
