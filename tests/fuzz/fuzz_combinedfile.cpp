// Arbitrary bytes as a single-file recording (.cff): section titles, byte
// counts, the configuration and data of any type in one input.
#include "fuzzsupport.h"

#include "comtrade/dialect/dialectreader.h"
#include "comtrade/standard/standardreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VornaLumeto::Recording recording;
    const QString message =
        VornaLumeto::readCombinedRecording(QStringLiteral("fuzz.cff"), LumetoFuzz::bytesOf(data, size), recording);
    if (message == VornaLumeto::loadSuccessMessage())
        LumetoFuzz::checkStandardRecording(recording);
    return 0;
}
