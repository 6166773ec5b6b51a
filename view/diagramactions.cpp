#include "view/diagramactions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace VornaLumeto {

int checkedChoice(const QActionGroup* group, int fallback)
{
    const QAction* checked = group->checkedAction();
    return checked ? checked->objectName().toInt() : fallback;
}

QAction* addChoice(QMenu* menu, QActionGroup* group, const QString& text, int value)
{
    auto* action = new QAction(text, menu);
    action->setObjectName(QString::number(value));
    action->setCheckable(true);
    group->addAction(action);
    menu->addAction(action);
    return action;
}

} // namespace VornaLumeto
