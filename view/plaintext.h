#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace VornaLumeto {

// Texts taken from a recording (station and channel names, units, file names)
// are shown exactly as written: never read as markup, never with an "&" taken
// for a shortcut mark.

// The text to give a menu entry, an action or a tab so that it shows text as
// written: every "&" doubled.
QString literalMenuText(const QString& text);

// A label that shows its text as written, however much that looks like HTML.
QLabel* plainTextLabel(const QString& text, QWidget* parent = nullptr);

// A critical message box with one Ok button whose text is shown as written; an
// informative text, when given, is shown as written below it.
void showPlainTextCritical(QWidget* parent, const QString& title, const QString& text,
                           const QString& informativeText = QString());

// The same box with a second button beside Ok, which stays the default and the
// Escape button; true when the user pressed the second one. With a check-box
// text, the box has a check box, unticked, whose state goes into checked.
bool askPlainTextCritical(QWidget* parent, const QString& title, const QString& text,
                          const QString& informativeText, const QString& otherButton,
                          const QString& checkBoxText = QString(), bool* checked = nullptr);

// A warning box with one Ok button whose text is shown as written.
void showPlainTextWarning(QWidget* parent, const QString& title, const QString& text);

} // namespace VornaLumeto
