#pragma once

namespace VornaLumeto {

// Prepares this process's heap for large recordings; main calls it first, before
// any other work. Channel-sized blocks are kept on the heap rather than in
// mappings of their own, so that memory a closed recording gave up is reused by
// the next one instead of being faulted in afresh.
void setUpProcessMemory();

// For a process that reads recordings one after another and then ends (the
// fault reports): the heap keeps what is freed, so that the next recording
// reuses pages already faulted in rather than fresh ones.
void keepFreedMemory();

// Gives the heap's free pages back to the system; called once a closed tab's
// view is deleted, so that the process shrinks back after a large recording.
void releaseFreedMemory();

} // namespace VornaLumeto
