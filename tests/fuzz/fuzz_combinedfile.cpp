// Arbitrary bytes as a single-file recording (.cff): section titles, byte
// counts, the configuration and data of any type in one input.
#include "fuzzsupport.h"

#include "comtrade/standard/standardreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VornaLumeto::Recording recording;
    if (VornaLumeto::readCombinedRecording(QStringLiteral("fuzz.cff"), LumetoFuzz::bytesOf(data, size), recording).ok())
        LumetoFuzz::checkStandardRecording(recording);
    return 0;
}
