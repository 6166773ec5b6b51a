#include "app/comtradeview.h"

#include "comtrade/recordingexport.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

namespace VornaLumeto {

void comtrade_view::buildTabMenu()
{
    tabMenu = new QMenu(this);
    exportCsvAction = tabMenu->addAction(tr("Экспорт в CSV…"));
    connect(exportCsvAction, &QAction::triggered, this, [this] { exportTabAsCsv(exportCsvAction->data().toInt()); });
    addFaultAnalysisAction();
    QTabBar* bar = tabWidget->tabBar();
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this, &comtrade_view::showTabMenu);
}

void comtrade_view::showTabMenu(const QPoint& position)
{
    QTabBar* bar = tabWidget->tabBar();
    const int index = bar->tabAt(position);
    if (index < 0)
        return;
    exportCsvAction->setData(index);
    faultAnalysisAction->setData(index);
    tabMenu->popup(bar->mapToGlobal(position));
}

bool comtrade_view::exportTabAsCsv(int index)
{
    if (index < 0 || index >= views.size() || index >= fileNames.size())
        return false;
    // The view holds the recording as loaded; the file is not read again.
    return saveRecordingAsCsv(*views.at(index), fileNames.at(index));
}

bool comtrade_view::saveRecordingAsCsv(const Recording& loaded, const QString& recordingPath)
{
    // The recording's name with ".csv", beside the recording.
    const QFileInfo recording(recordingPath);
    const QString proposed = recording.absolutePath() + QLatin1Char('/') + recording.completeBaseName()
                             + QStringLiteral(".csv");
    const QString csvPath = QFileDialog::getSaveFileName(this, tr("Экспорт в CSV"), proposed, tr("CSV (*.csv)"));
    if (csvPath.isEmpty())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString message = writeRecordingCsvFile(loaded, csvPath);
    QApplication::restoreOverrideCursor();
    if (message.isEmpty())
        return true;
    showPlainTextCritical(this, tr("Ошибка"), message);
    return false;
}

} // namespace VornaLumeto
