#pragma once

#include <functional>

class QWidget;

namespace LumetoTest {

// Calls action with the next modal widget as soon as one is shown (a message
// box, a file dialog, an input dialog ...), polling every few milliseconds.
// Call it right before the call that opens the dialog, so a test never waits
// for a person; the action must close the widget (accept, reject, done).
void whenModalAppears(std::function<void(QWidget*)> action, int timeoutMs = 10000);

} // namespace LumetoTest
