#pragma once

#include <QString>

namespace VornaLumeto {

// A text of the dialect reader: its messages and the explanations of its
// refusals are the view's, so they share the view's translation context.
QString dialectText(const char* source);

} // namespace VornaLumeto
