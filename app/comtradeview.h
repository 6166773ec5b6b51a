#pragma once

#include <QString>
#include <QVector>
#include <QWidget>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QMenu;
class QPoint;
class QTabWidget;

namespace VornaLumeto {

class COMTRADE_read;
struct Recording;
struct RecordingReading;

// The tab container: one view per open recording, in tab order.
//   app/comtradeview.cpp         opening, duplicates, tabs, diagram modes, current-tab commands
//   app/tabcsvexport.cpp         a tab title's menu: its recording as CSV
//   app/tabfaultanalysis.cpp     a tab's fault-analysis window, from its title's menu and Ctrl+Shift+A
//   dialogs/signalsdialog.cpp    the displayed-signals and scaling dialog
class comtrade_view : public QWidget {
    Q_OBJECT

public:
    explicit comtrade_view(QWidget* parent);

    static constexpr int maximumOpenRecordings = 50;

    // Opens one recording in a new tab; an empty path asks the user with the file dialog.
    bool openFile(const QString& path);
    // Opens a recording named on the command line, whatever the letter case of its
    // name; returns why it was not opened (a box has told the user where one is due),
    // empty when a tab was added. With standardWithoutAsking, a file the viewer's
    // own reader refuses opens through the standard reader without a question.
    QString openNamedFile(const QString& path, bool standardWithoutAsking = false);
    void closeAllTabs();

    void setVectorDiagramMode(bool on);
    void setFrequencyDiagramMode(bool on);
    bool showFileInfo();
    bool printCurrent();
    bool saveCurrentAsPdf();
    // The two uses of the displayed-signals dialog; its mode is one of them, as a number.
    enum SignalsDialogMode { DisplayedSignalsMode = 0, ScalingMode = 1 };
    bool showSignalsDialog(bool checkAll, int mode, bool analog, bool digital);
    // Asks where to write the recording of the tab as CSV and writes it; false
    // when cancelled or not written (a box says why).
    bool exportTabAsCsv(int index);
    // Shows the fault-analysis window of the tab's recording; false without such a tab.
    bool showFaultAnalysis(int index);
    // Ctrl+Shift+A on the window: the fault analysis of the current tab, in no menu.
    void addFaultAnalysisShortcut(QWidget* window);
    // Whether the view of name's recording fits in the memory the system has;
    // when not, a box says so with the estimate and offers CSV export instead.
    bool fitsInMemory(const QString& name, const Recording& recording);

    QHBoxLayout* tabLayout = nullptr;
    QTabWidget* tabWidget = nullptr;
    QVector<COMTRADE_read*> views;
    QVector<QString> fileNames;
    QVector<QCheckBox*> checkBoxes;
    QMenu* tabMenu = nullptr;  // a tab title's context menu
    QAction* exportCsvAction = nullptr;
    QAction* faultAnalysisAction = nullptr;  // in tabMenu
    bool vectorDiagramOn = false;
    bool frequencyDiagramOn = false;

public slots:
    void slot_close_tab(int index);
    void slot_pushButt_all_yes();
    void slot_pushButt_all_no();
    void slot_pushButt_Ok();
    void slot_pushButt_Exit();

private:
    void addCloseTabKeys();
    // Shows the limit message and returns it when no further recording may open.
    QString refuseBeyondLimit();
    QString chooseFileName(const QString& path);
    // Whether a file that only the standard reader reads opens after a question or at once.
    enum class StandardOffer { Asked, Unasked };
    // Opens a chosen name in a new tab; returns why not, empty when a tab was added.
    QString openChosenFile(const QString& name, StandardOffer offer = StandardOffer::Asked);
    // Why what was read of name goes into no tab (cancelled, refused, too large
    // for the memory there is), after the box that says so; empty when it goes into one.
    QString whyNotShown(const QString& name, const RecordingReading& reading, StandardOffer offer);
    // Whether what was read of name goes into a tab: a recording the viewer's own
    // reader read, or one only the standard reader read that the user takes (or
    // is not asked about, also once the box's check box was ticked); false after
    // the box that says why not.
    bool takesReading(const QString& name, const RecordingReading& reading, StandardOffer offer);
    // Asks where to write a recording (read from recordingPath) as CSV and
    // writes it; false when cancelled or not written (a box says why).
    bool saveRecordingAsCsv(const Recording& recording, const QString& recordingPath);
    void addRecordingTab(COMTRADE_read* view, const QString& name);
    void buildTabMenu();
    void addFaultAnalysisAction();
    void showTabMenu(const QPoint& position);
    COMTRADE_read* currentView() const;
    void followTabMove(int from, int to);
};

} // namespace VornaLumeto
