#pragma once

namespace VornaLumeto {

// Prepares this process's memory for large recordings; main calls it first,
// before any other work, with its own argv.
//
// A 255-channel recording needs about 0.7 GB of fresh memory, filled once while
// loading. On the virtual machines this runs on, faulting it in page by page
// costs more than the rest of the first open, and 2 MB pages cost far less per
// byte than 4 KB ones, so the C library is asked to back its heap with
// transparent huge pages. That setting is read only when a program starts: when
// the environment does not name it yet, the program starts itself again with
// it (and goes on as it is if that fails). A setting the user gave, including
// "off", is kept. Channel-sized blocks are kept on that heap as well.
void setUpProcessMemory(char** argv);

// Gives the heap's free pages back to the system; called once a closed tab's
// view is deleted, so that the process shrinks back after a large recording.
void releaseFreedMemory();

} // namespace VornaLumeto
