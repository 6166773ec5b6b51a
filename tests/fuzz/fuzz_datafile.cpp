// Arbitrary bytes as the data file of a fixed small configuration:
// 2 analog and 1 digital channel, 16 samples. A file that fails must be
// explained to the user.
#include "fuzzsupport.h"

#include "comtrade/dialect/loadfailure.h"

namespace {

const char configuration[] =
    "Fuzz,1\n"
    "3,2A,1D\n"
    "1,Ua,A,,kV,0.1,0,0,-32767,32767\n"
    "2,Ia,B,,A,1,-0.5,0,-32767,32767\n"
    "1,Trip,0\n"
    "50\n"
    "1\n"
    "1000,16\n"
    "05/03/2021,09:07:03.250000\n"
    "05/03/2021,09:07:03.300000\n"
    "ASCII\n";

VornaLumeto::Recording configuredRecording()
{
    VornaLumeto::Recording recording;
    LumetoFuzz::require(LumetoFuzz::readConfigurationBytes(configuration, recording).isEmpty());
    return recording;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const VornaLumeto::Recording configured = configuredRecording();
    VornaLumeto::Recording recording = configured;
    VornaLumeto::LoadFailure failure;
    if (LumetoFuzz::readDataBytes(LumetoFuzz::bytesOf(data, size), recording, &failure).isEmpty())
        LumetoFuzz::checkLoadedRecording(recording);
    else  // the error box can always say why a data file failed
        LumetoFuzz::require(!VornaLumeto::explainLoadFailure(failure).isEmpty());
    return 0;
}
