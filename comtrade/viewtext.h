#pragma once

#include <QString>

namespace VornaLumeto {

// A text the user sees with a recording: the loader's messages and what the
// view and its windows show share the view's translation context.
QString viewText(const char* source);

} // namespace VornaLumeto
