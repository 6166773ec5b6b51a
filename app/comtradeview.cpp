#include "app/comtradeview.h"

#include "app/processmemory.h"
#include "app/settingspaths.h"
#include "comtrade/loadfailure.h"
#include "comtrade/recordingloader.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"
#include "view/tooltips.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCodec>
#include <QTextStream>

namespace VornaLumeto {

comtrade_view::comtrade_view(QWidget* parent) : QWidget(parent)
{
    tabLayout = new QHBoxLayout(this);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->setSpacing(0);
    tabWidget = new QTabWidget(this);
    tabWidget->setMovable(true);
    tabWidget->setTabsClosable(true);
    tabLayout->addWidget(tabWidget);
    connect(tabWidget, &QTabWidget::tabCloseRequested, this, &comtrade_view::slot_close_tab);
    // Dragged tabs keep the parallel lists in tab order, so every tab index
    // still names the recording the user sees there.
    connect(tabWidget->tabBar(), &QTabBar::tabMoved, this, &comtrade_view::followTabMove);
    addCloseTabKeys();
}

// The platform's Close keys (Ctrl+W) close the current tab as its close button does.
void comtrade_view::addCloseTabKeys()
{
    auto* closeTab = new QAction(this);
    closeTab->setShortcuts(QKeySequence::Close);
    addAction(closeTab);
    connect(closeTab, &QAction::triggered, this, [this] { slot_close_tab(tabWidget->currentIndex()); });
}

void comtrade_view::followTabMove(int from, int to)
{
    views.move(from, to);
    if (from < fileNames.size() && to < fileNames.size())
        fileNames.move(from, to);
}

namespace {

// The last-directory file holds one line in Windows-1251 without a terminator.
QTextCodec* lastDirectoryCodec()
{
    return QTextCodec::codecForName("Windows-1251");
}

QString readLastDirectory()
{
    QFile directoryFile(lastDirectoryFile());
    if (!directoryFile.open(QIODevice::ReadOnly))
        return QString();
    QTextStream stream(&directoryFile);
    stream.setCodec(lastDirectoryCodec());
    return stream.readLine();
}

void rememberDirectoryOf(const QString& chosenFile)
{
    QFile directoryFile(lastDirectoryFile());
    directoryFile.remove();
    if (directoryFile.open(QIODevice::WriteOnly))
        directoryFile.write(lastDirectoryCodec()->fromUnicode(
            chosenFile.left(chosenFile.lastIndexOf(QLatin1Char('/')) + 1)));
}

} // namespace

QString comtrade_view::chooseFileName(const QString& path)
{
    if (!path.isEmpty())
        return path.endsWith(QLatin1String("cfg")) ? path : QString();

    const QString name = QFileDialog::getOpenFileName(this, tr("Выбрать файл"), readLastDirectory(),
                                                      tr("COMTRADE (*.cfg)"));
    if (!name.isEmpty())
        rememberDirectoryOf(name);
    return name;
}

bool comtrade_view::openFile(const QString& path)
{
    if (!refuseBeyondLimit().isEmpty())
        return false;
    const QString name = chooseFileName(path);
    return !name.isEmpty() && openChosenFile(name).isEmpty();
}

QString comtrade_view::openNamedFile(const QString& path)
{
    const QString refused = refuseBeyondLimit();
    return refused.isEmpty() ? openChosenFile(path) : refused;
}

QString comtrade_view::refuseBeyondLimit()
{
    if (views.size() <= maximumOpenRecordings - 1)
        return QString();
    const QString message = tr("Открыто максимальное количество осциллограмм");
    QMessageBox::critical(this, tr("Ошибка"), message, QMessageBox::Ok);
    return message;
}

QString comtrade_view::openChosenFile(const QString& name)
{
    const int open = fileNames.indexOf(name);
    if (open >= 0) {
        tabWidget->setCurrentIndex(open);
        return tr("Уже открыт");
    }

    // Loading blocks the window for up to seconds: it shows a busy cursor, and
    // is drawn again first so that the closed file dialog does not stay on screen.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    window()->repaint();

    auto* view = new COMTRADE_read(this);
    views.append(view);
    LoadFailure failure;
    const QString message = view->load(name, &failure);
    if (message != loadSuccessMessage()) {
        QApplication::restoreOverrideCursor();
        // The loader's message exactly as it is, and why, when that can be told.
        showPlainTextCritical(this, tr("Ошибка"), message, explainLoadFailure(failure));
        view->close();
        delete view;
        views.removeLast();
        releaseFreedMemory();
        return message;
    }

    fileNames.append(name);
    if (vectorDiagramOn)
        view->showVectorDiagram();
    if (frequencyDiagramOn)
        view->showFrequencyDiagram();
    const QString title = literalMenuText(name.mid(name.lastIndexOf(QLatin1Char('/')) + 1));
    const int tab = tabWidget->addTab(view, title);
    tabWidget->setTabToolTip(tab, plainToolTip(name));
    tabWidget->setCurrentIndex(views.size() - 1);
    view->setObjectName(name);
    QApplication::restoreOverrideCursor();
    return QString();
}

void comtrade_view::slot_close_tab(int index)
{
    if (index < 0 || index >= views.size())
        return;
    tabWidget->removeTab(index);
    // Queued: the memory goes back once the view is really gone, after its deleteLater.
    connect(views.at(index), &QObject::destroyed, this, &releaseFreedMemory, Qt::QueuedConnection);
    views.at(index)->deleteLater();
    views.remove(index);
    if (index < fileNames.size())
        fileNames.remove(index);
}

void comtrade_view::closeAllTabs()
{
    tabWidget->clear();
    while (!views.isEmpty())
        views.takeLast()->deleteLater();
}

COMTRADE_read* comtrade_view::currentView() const
{
    const int index = tabWidget->currentIndex();
    return index >= 0 && index < views.size() ? views.at(index) : nullptr;
}

void comtrade_view::setVectorDiagramMode(bool on)
{
    vectorDiagramOn = on;
    for (COMTRADE_read* view : qAsConst(views))
        on ? view->showVectorDiagram() : view->hideVectorDiagram();
}

void comtrade_view::setFrequencyDiagramMode(bool on)
{
    frequencyDiagramOn = on;
    for (COMTRADE_read* view : qAsConst(views))
        on ? view->showFrequencyDiagram() : view->hideFrequencyDiagram();
}

bool comtrade_view::showFileInfo()
{
    COMTRADE_read* view = currentView();
    if (!view)
        return false;
    view->showFileInformationWindow();
    return true;
}

bool comtrade_view::printCurrent()
{
    COMTRADE_read* view = currentView();
    if (!view)
        return false;
    view->printOrExport(1);
    return true;
}

bool comtrade_view::saveCurrentAsPdf()
{
    COMTRADE_read* view = currentView();
    if (!view)
        return false;
    view->printOrExport(2);
    return true;
}

} // namespace VornaLumeto
