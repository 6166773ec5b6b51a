#pragma once

class QApplication;

namespace VornaLumeto {

// Registers the compiled-in resource sets (they live in a static library).
void initResources();

// Applies the style sheet of the shared resource set; main calls it at start-up.
void applyStyleSheet(QApplication& application);

} // namespace VornaLumeto
