// Arbitrary bytes as the configuration of the standard reader (any revision,
// any encoding), with a data file that fits many configurations: short ASCII
// lines, which binary types read as records.
#include "fuzzsupport.h"

#include "comtrade/standard/standardreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray dataFile = QByteArrayLiteral("1,0,100,-200,0,1\n2,1000,,7.5,1,0\n3,2000,99999,1e3,0,0\n"
                                                         "4,3000,-1,2,1,1\n5,4000,3,4,0,1\n6,5000,5,6,1,0\n");
    VornaLumeto::Recording recording;
    if (VornaLumeto::readStandardRecording(QStringLiteral("fuzz.cfg"), LumetoFuzz::bytesOf(data, size),
                                           QStringLiteral("fuzz.dat"), dataFile, recording)
            .ok())
        LumetoFuzz::checkStandardRecording(recording);
    return 0;
}
