#pragma once

namespace VornaLumeto {

// Keeps freed memory in the process for the next recording instead of handing
// it back to the system. A large recording needs about a gigabyte; fresh pages
// from the system cost far more than reused ones, so opening a second large
// recording (or reopening one) is several times faster.
void keepFreedMemoryForReuse();

} // namespace VornaLumeto
