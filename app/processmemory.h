#pragma once

namespace VornaLumeto {

// Prepares this process's heap for large recordings; main calls it first, before
// any other work. Channel-sized blocks are kept on the heap rather than in
// mappings of their own, so that memory a closed recording gave up is reused by
// the next one instead of being faulted in afresh.
void setUpProcessMemory();

// Gives the heap's free pages back to the system; called once a closed tab's
// view is deleted, so that the process shrinks back after a large recording.
void releaseFreedMemory();

} // namespace VornaLumeto
