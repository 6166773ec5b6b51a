#include "support/gui/modaldriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace LumetoTest {

void whenModalAppears(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, clock, timeoutMs, poll]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            action(modal);
            poll->operator=(nullptr);  // breaks the self-reference
            return;
        }
        if (clock->elapsed() < timeoutMs)
            QTimer::singleShot(5, *poll);
        else
            poll->operator=(nullptr);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace LumetoTest
