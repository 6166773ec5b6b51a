#include "view/faultanalysiswindow.h"

#include "view/comtraderead.h"
#include "view/faultanalysisnotes.h"
#include "view/impedancediagram.h"

#include <QFileInfo>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>

namespace VornaLumeto {

namespace {

void showTextTable(QTableWidget* view, const TextTable& table)
{
    view->setHorizontalHeaderLabels(table.header);
    for (int row = 0; row < table.rows.size() && row < view->rowCount(); ++row) {
        const QStringList& cells = table.rows.at(row);
        for (int column = 0; column < cells.size() && column < view->columnCount(); ++column)
            view->item(row, column)->setText(cells.at(column));
    }
}

} // namespace

void FaultAnalysisWindow::followCuts()
{
    if (current < 0)
        return;
    const ThreePhaseSetup& setup = setups.at(current);
    CutAnalysis analysis = analyseCut(view.sampling, primary, setup.line, setup.rotation, view.cut1Index);
    // The loops the diagram leaves out read "-" here too.
    const std::array<bool, faultLoopCount> leftOut = superviseLoops(analysis, locus);
    showTables(analysis);
    windowLabel->setText(windowNote(view.sampling, view.timeAxis, primary, analysis, view.cut1Index));
    QStringList notes{sideNote(display)};
    if (analysis.window)
        notes.append(angleReferenceNote(analysis.angleReference));
    if (primary.hasVoltages() && primary.hasCurrents()) {
        notes.append(compensationNote(analysis.compensation));
        const QString supervision = supervisionNote(leftOut, locusCurrentShare);
        if (!supervision.isEmpty())
            notes.append(supervision);
    }
    else
        notes.append(primary.hasCurrents() ? tr("В группе нет трёх фазных напряжений: только токи.")
                                           : tr("В группе нет трёх фазных токов: только напряжения."));
    notesLabel->setText(notes.join(QLatin1Char(' ')));
    showLocus();
}

void FaultAnalysisWindow::showTables(const CutAnalysis& analysis)
{
    heading = tr("Анализ аварии: %1, группа «%2», срез 1: %3 мс")
                  .arg(QFileInfo(view.objectName()).fileName(), setups.at(current).set.name,
                       QString::number(view.timeAxis.value(view.cut1Index), 'g', 6));
    struct Shown {
        QWidget* panel;  // hidden where the set lacks what the table needs
        QTableWidget* view;
        TextTable table;
    };
    const Shown shown[] = {
        {voltagePanel, voltageTableView, voltageTable(analysis, display)},
        {currentPanel, currentTableView, currentTable(analysis, display)},
        {powerPanel, powerTableView, powerTable(analysis, display)},
        {loopPanel, loopTableView, loopTable(analysis, display)},
    };
    tables.clear();
    for (const Shown& each : shown) {
        showTextTable(each.view, each.table);
        if (!each.panel->isHidden())
            tables.append(each.table);
    }
}

void FaultAnalysisWindow::showLocus()
{
    // From cut 1 to cut 2; the whole recording while cut 2 is not placed or on cut 1.
    const int cut1 = view.cut1Index;
    const int cut2 = view.cut2Index;
    const bool whole = cut2 == 0 || cut2 == cut1;
    const int first = whole ? 0 : std::min(cut1, cut2);
    const int last = whole ? locus.firstSample + locus.size() - 1 : std::max(cut1, cut2);
    if (whole)
        diagramTitle->setText(cut2 == 0 ? tr("Годограф сопротивлений петель (R-X), вся осциллограмма: срез 2 не поставлен")
                                        : tr("Годограф сопротивлений петель (R-X), вся осциллограмма: срезы совпадают"));
    else
        diagramTitle->setText(tr("Годограф сопротивлений петель (R-X) от среза 1 до среза 2: %1 … %2 мс")
                                  .arg(QString::number(view.timeAxis.value(first), 'g', 6),
                                       QString::number(view.timeAxis.value(last), 'g', 6)));
    diagram->showSamples(first, last, cut1);
}

} // namespace VornaLumeto
