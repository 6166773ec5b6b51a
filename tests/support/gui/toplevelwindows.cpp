#include "support/gui/toplevelwindows.h"

#include <QApplication>
#include <QWidget>

namespace LumetoTest {

QWidget* newTopLevelWindow(const QWidgetList& before)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!before.contains(widget) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace LumetoTest
