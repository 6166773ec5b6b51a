#pragma once

#include <QDialog>
#include <QString>

class QLabel;

// The in-house About window: a picture with a block of version and contact lines.
class widget_vorna : public QDialog {
    Q_OBJECT

public:
    widget_vorna(QWidget* parent, Qt::Alignment alignment, int pointSize);

    // The compiler's date text ("May 25 2024", day possibly space-padded) as "25.05.2024".
    static QString buildDateText(const QString& compilerDate);

private:
    void setBackgroundPicture();
    QWidget* buildTextBlock(Qt::Alignment alignment);
    void addLine(QLabel* label, Qt::Alignment alignment);
    QLabel* linkLabel(const QString& target, const QString& text);

    QFont boldFont;
    QWidget* textBlock = nullptr;
};
