#pragma once

#include <QStringList>

class QWidget;

namespace VornaLumeto {

// Started from a file manager or the menu, the viewer's standard error goes
// where the user does not look: then the names given on the command line that
// did not open are told in one box as well.
bool standardErrorIsTerminal();

// The lines of standard error about names not opened ("не открыт: …"), in one box over window.
void showNotOpenedNames(QWidget* window, const QStringList& lines);

} // namespace VornaLumeto
