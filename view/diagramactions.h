#pragma once

#include <QString>

class QAction;
class QActionGroup;
class QMenu;

namespace VornaLumeto {

// The panels keep their choices only as checked actions whose object names carry the value.
int checkedChoice(const QActionGroup* group, int fallback);

// A checkable member of an exclusive group, shown in menu and owned by it,
// whose object name is the value it chooses.
QAction* addChoice(QMenu* menu, QActionGroup* group, const QString& text, int value);

} // namespace VornaLumeto
