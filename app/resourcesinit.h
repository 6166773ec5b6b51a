#pragma once

namespace VornaLumeto {

// Registers the compiled-in resource sets (they live in a static library).
void initResources();

} // namespace VornaLumeto
