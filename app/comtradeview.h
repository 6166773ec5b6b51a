#pragma once

#include <QString>
#include <QVector>
#include <QWidget>

class QCheckBox;
class QHBoxLayout;
class QTabWidget;

namespace VornaLumeto {

class COMTRADE_read;

// The tab container: one view per open recording, in tab order.
//   app/comtradeview.cpp         opening, duplicates, tabs, diagram modes, current-tab commands
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
    // empty when a tab was added.
    QString openNamedFile(const QString& path);
    void closeAllTabs();

    void setVectorDiagramMode(bool on);
    void setFrequencyDiagramMode(bool on);
    bool showFileInfo();
    bool printCurrent();
    bool saveCurrentAsPdf();
    bool showSignalsDialog(bool checkAll, int mode, bool analog, bool digital);

    QHBoxLayout* tabLayout = nullptr;
    QTabWidget* tabWidget = nullptr;
    QVector<COMTRADE_read*> views;
    QVector<QString> fileNames;
    QVector<QCheckBox*> checkBoxes;
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
    // Opens a chosen name in a new tab; returns why not, empty when a tab was added.
    QString openChosenFile(const QString& name);
    COMTRADE_read* currentView() const;
    void followTabMove(int from, int to);
};

} // namespace VornaLumeto
