#pragma once

#include "app/basemainwindow.h"

class QAction;
class QMenu;
class QUrl;
class QMenuBar;
class QStatusBar;

namespace VornaLumeto {

class comtrade_view;

class MainWindow : public KelvoLibQt::MainWindow {
    Q_OBJECT

public:
    MainWindow(int kind, QWidget* parent);

    int programKind() const override { return 6; }

    QStatusBar* statusBar = nullptr;
    QMenuBar* menuBar = nullptr;
    QAction* openfileAct = nullptr;
    QAction* openInfoFileAct = nullptr;
    QAction* printerAct = nullptr;
    QAction* save_in_pdfAct = nullptr;
    QAction* exitAct = nullptr;
    QAction* vector_diagrammAct = nullptr;
    QAction* frequency_diagrammAct = nullptr;
    QAction* displayed_signalsAct = nullptr;
    QAction* scale_signalAct = nullptr;
    comtrade_view* recordingTabs = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

public slots:
    void slot_menu_openfile();
    void slot_menu_openInfoFile();
    void slot_menu_printerAct();
    void slot_menu_save_in_pdfAct();
    void slot_menu_exit();
    void slot_menu_vector_diagramm();
    void slot_menu_frequency_diagramm();
    void slot_displayed_signals();
    void slot_scale_signal();

private:
    void buildMenusAndToolbar();
    QAction* addCommand(QMenu* menu, const QString& text, void (MainWindow::*slot)());
};

// The path a dropped URL stands for: the local file for file URLs, otherwise
// the URL text without its first 8 characters (empty when it is not longer).
QString droppedPath(const QUrl& url);

} // namespace VornaLumeto
