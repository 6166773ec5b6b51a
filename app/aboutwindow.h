#pragma once

#include <QDialog>

// The in-house About window: a picture with a block of version and contact lines.
class widget_vorna : public QDialog {
    Q_OBJECT

public:
    widget_vorna(QWidget* parent, Qt::Alignment alignment, int pointSize);
};
