#include "view/plaintext.h"

#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>

namespace VornaLumeto {

QString literalMenuText(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QLabel* plainTextLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

void showPlainTextCritical(QWidget* parent, const QString& title, const QString& text,
                           const QString& informativeText)
{
    QMessageBox box(QMessageBox::Critical, title, QString(), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    // The informative text does not follow the box's text format, so it goes in escaped.
    if (!informativeText.isEmpty())
        box.setInformativeText(Qt::convertFromPlainText(informativeText, Qt::WhiteSpaceNormal));
    box.exec();
}

} // namespace VornaLumeto
