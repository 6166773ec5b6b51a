#pragma once

namespace VornaLumeto {

// Prepares this process's memory for large recordings; main calls it first,
// before any other work, with its own argv.
//
// A 255-channel recording needs about a gigabyte, filled once while loading.
// Faulting that in page by page costs several times the parsing itself, so the
// C library is asked to back its heap with transparent huge pages. That
// setting is read only when a program starts: when the environment does not
// name it yet, the program starts itself again with it (and goes on as it is
// if that fails). A setting the user gave, including "off", is kept.
//
// Freed memory then stays in the process for the next recording instead of
// going back to the system: fresh pages cost far more than reused ones, so
// opening a second large recording (or reopening one) is several times faster.
void setUpProcessMemory(char** argv);

} // namespace VornaLumeto
