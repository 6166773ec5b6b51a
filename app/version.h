#pragma once

#include <QString>

namespace VornaLumeto {

// The project's version, as the build names it (--version, the About window).
QString applicationVersion();

} // namespace VornaLumeto
