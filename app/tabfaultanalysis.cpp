#include "app/comtradeview.h"

#include "view/comtraderead.h"
#include "view/faultanalysiswindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTabWidget>

namespace VornaLumeto {

void comtrade_view::addFaultAnalysisAction()
{
    faultAnalysisAction = tabMenu->addAction(tr("Анализ аварии…"));
    connect(faultAnalysisAction, &QAction::triggered, this,
            [this] { showFaultAnalysis(faultAnalysisAction->data().toInt()); });
}

void comtrade_view::addFaultAnalysisShortcut(QWidget* window)
{
    auto* action = new QAction(tr("Анализ аварии…"), window);
    action->setShortcut(QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_A));
    window->addAction(action);
    connect(action, &QAction::triggered, this, [this] { showFaultAnalysis(tabWidget->currentIndex()); });
}

bool comtrade_view::showFaultAnalysis(int index)
{
    if (index < 0 || index >= views.size())
        return false;
    FaultAnalysisWindow::showFor(views.at(index));
    return true;
}

} // namespace VornaLumeto
