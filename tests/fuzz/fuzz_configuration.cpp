// Arbitrary bytes as a configuration file.
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VornaLumeto::Recording recording;
    if (!LumetoFuzz::readConfigurationBytes(LumetoFuzz::bytesOf(data, size), recording).isEmpty())
        return 0;
    // The data reader relies on these once the configuration is accepted.
    LumetoFuzz::require(recording.analogChannels.size() == recording.analogCount);
    LumetoFuzz::require(recording.digitalChannels.size() == recording.digitalCount);
    LumetoFuzz::require(recording.totalChannelCount == recording.analogCount + recording.digitalCount);
    LumetoFuzz::require(!recording.sampleRates.isEmpty());
    LumetoFuzz::require(recording.sampleCount() >= 1 && recording.sampleCount() <= 65535);
    return 0;
}
