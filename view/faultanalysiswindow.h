#pragma once

#include "analysis/cutanalysis.h"
#include "analysis/faultreport.h"
#include "analysis/impedancelocus.h"
#include "analysis/instrumentscaling.h"
#include "analysis/threephasesetup.h"
#include "view/faultanalysistables.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSettings;
class QTableWidget;
class QVBoxLayout;

namespace VornaLumeto {

class COMTRADE_read;
class ImpedanceDiagram;

// "Анализ аварии": a window of its own beside one view, over the period that
// ends at cut 1 of a three-phase set: phasors, symmetrical components, power,
// the six loop impedances, and the R-X diagram of the loops from cut 1 to
// cut 2. It follows every placement of either cut and closes with its tab (a
// child of the view). Cut 2 on the first sample, where loading and every
// relayout put it, counts as not placed: the diagram then shows the whole
// recording, as it does when the cuts coincide.
//
// Implementation files, by concern:
//   view/faultanalysiswindow.cpp   construction, choice of set, the sets dialog, primary or secondary
//   view/faultanalysissummary.cpp  the fault report of the set at the top, cut 1 to its window
//   view/faultanalysisfollow.cpp   the tables and the diagram at the cuts
//   view/faultanalysisoutput.cpp   copy of the tables, the diagram as PNG or PDF
class FaultAnalysisWindow : public QWidget {
    Q_OBJECT

public:
    // The view's window, made when it has none, shown and raised: one per view.
    static FaultAnalysisWindow* showFor(COMTRADE_read* view);

    // The diagram leaves out a loop's points whose current is below this share
    // of the loop's largest in the recording: after the trip, noise over noise.
    static constexpr double locusCurrentShare = 0.02;

    explicit FaultAnalysisWindow(COMTRADE_read& view);
    ~FaultAnalysisWindow() override;

    // The tables and the diagram at the view's cuts.
    void followCuts();
    // The tables as Ctrl+C copies them: tab-separated, a heading line first.
    QString tablesText() const;
    void copyTables();
    // Asks for a PNG or PDF file and writes the diagram into it.
    void saveDiagram();
    // "Трёхфазные группы", modal; OK stores the sets and shows them here.
    void editSets();
    // Cut 1 on the last sample of the report's window (the visible window
    // scrolled to it where needed): the tables and the diagram then show what
    // the summary used.
    void cutAtReportWindow();
    // The fault report of the chosen set, made when the set or its line data changes.
    const FaultReport& shownReport() const { return report; }

    // Above everything else: the fault summary of the chosen set.
    QVBoxLayout* summaryLayout = nullptr;
    QFrame* summaryPanel = nullptr;
    QLabel* summaryTitle = nullptr;
    QLabel* summaryDetails = nullptr;
    QLabel* lineDataLink = nullptr;  // to the sets dialog, where the distances need the line's data
    QPushButton* windowCutButton = nullptr;
    QComboBox* setBox = nullptr;
    QPushButton* setsButton = nullptr;
    QComboBox* sideBox = nullptr;  // primary, secondary
    QWidget* noSetsPanel = nullptr;  // in place of content while the recording has no set
    QWidget* content = nullptr;    // everything of a set
    QLabel* windowLabel = nullptr;
    QLabel* notesLabel = nullptr;
    QWidget* voltagePanel = nullptr;
    QWidget* currentPanel = nullptr;
    QWidget* powerPanel = nullptr;
    QWidget* loopPanel = nullptr;
    QWidget* diagramPanel = nullptr;
    QLabel* diagramTitle = nullptr;
    QTableWidget* voltageTableView = nullptr;
    QTableWidget* currentTableView = nullptr;
    QTableWidget* powerTableView = nullptr;
    QTableWidget* loopTableView = nullptr;
    ImpedanceDiagram* diagram = nullptr;

private:
    QWidget* buildSummary();
    QWidget* buildControls();
    QWidget* buildNoSets();
    QWidget* buildContent();
    QWidget* buildTables(QWidget* parent);
    QWidget* buildDiagram(QWidget* parent);
    QWidget* tablePanel(const QString& title, QTableWidget*& table, const QStringList& widest, int rows,
                        QWidget* parent);
    void showSetups(const QVector<ThreePhaseSetup>& newSetups, const QString& keepName);
    void chooseSet(int index);
    void chooseSide(ValueSide side);
    void showLocus();
    void showTables(const CutAnalysis& analysis);
    void showSummary();

    COMTRADE_read& view;
    std::unique_ptr<QSettings> settings;
    QVector<ThreePhaseSetup> setups;
    int current = -1;
    SetScaling scaling;
    SetSignals primary;       // the set's series in primary volts and amperes
    AnalysisDisplay display;
    ImpedanceLocus locus;     // every sample of the recording, primary ohms
    FaultReport report;       // of the chosen set, in primary values
    QVector<TextTable> tables;
    QString heading;          // the first line Ctrl+C copies
};

} // namespace VornaLumeto
