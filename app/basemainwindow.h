#pragma once

#include <QMainWindow>

namespace KelvoLibQt {

// In-house base of the programs' main windows.
class MainWindow : public QMainWindow {
public:
    MainWindow(int /*unused*/, QWidget* parent) : QMainWindow(parent, Qt::WindowFlags()) {}

    // Identifies the program built on this window.
    virtual int programKind() const = 0;
};

} // namespace KelvoLibQt
