#include "view/plaintext.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
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

namespace {

void setPlainTexts(QMessageBox& box, const QString& text, const QString& informativeText)
{
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    // The informative text does not follow the box's text format, so it goes in escaped.
    if (!informativeText.isEmpty())
        box.setInformativeText(Qt::convertFromPlainText(informativeText, Qt::WhiteSpaceNormal));
}

} // namespace

void showPlainTextCritical(QWidget* parent, const QString& title, const QString& text,
                           const QString& informativeText)
{
    QMessageBox box(QMessageBox::Critical, title, QString(), QMessageBox::Ok, parent);
    setPlainTexts(box, text, informativeText);
    box.exec();
}

bool askPlainTextCritical(QWidget* parent, const QString& title, const QString& text,
                          const QString& informativeText, const QString& otherButton,
                          const QString& checkBoxText, bool* checked)
{
    QMessageBox box(QMessageBox::Critical, title, QString(), QMessageBox::Ok, parent);
    setPlainTexts(box, text, informativeText);
    QPushButton* other = box.addButton(otherButton, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    if (!checkBoxText.isEmpty())
        box.setCheckBox(new QCheckBox(checkBoxText, &box));
    box.exec();
    if (checked)
        *checked = box.checkBox() && box.checkBox()->isChecked();
    return box.clickedButton() == other;
}

void showPlainTextWarning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, QString(), QMessageBox::Ok, parent);
    setPlainTexts(box, text, QString());
    box.exec();
}

} // namespace VornaLumeto
