#include "view/faultanalysiswindow.h"

#include "view/comtraderead.h"
#include "view/faultsummary.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace VornaLumeto {

void FaultAnalysisWindow::showSummary()
{
    const ThreePhaseSetup& setup = setups.at(current);
    const FaultSummary summary = faultSummary(
        report, view.timeAxis, {primary.hasVoltages(), primary.hasCurrents(), setup.line});
    summaryTitle->setText(summary.title);
    summaryDetails->setText(summary.details.join(QLatin1Char('\n')));
    summaryDetails->setVisible(!summary.details.isEmpty());
    lineDataLink->setVisible(summary.lineDataWanted);
    windowCutButton->setVisible(report.event == SetEvent::Fault && report.window);
    summaryPanel->show();
}

void FaultAnalysisWindow::cutAtReportWindow()
{
    if (current < 0 || !report.window)
        return;
    view.putCut1On(report.window->first + report.window->count - 1);
}

} // namespace VornaLumeto
