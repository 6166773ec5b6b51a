#pragma once

#include <QWidgetList>

namespace LumetoTest {

// The first visible top-level window that is not in before; nullptr when there is none.
QWidget* newTopLevelWindow(const QWidgetList& before);

} // namespace LumetoTest
