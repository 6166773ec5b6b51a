// Arbitrary bytes as the configuration of the standard reader (any revision,
// any encoding), with a data file that fits many configurations: short ASCII
// lines, which binary types read as records. The three-phase sets found in what
// it reads name channels it has, each role its own channel.
#include "fuzzsupport.h"

#include "analysis/instrumentscaling.h"
#include "analysis/setupstore.h"
#include "comtrade/standard/standardreader.h"

namespace {

void checkSets(const VornaLumeto::Recording& recording)
{
    for (const VornaLumeto::ThreePhaseSetup& setup : VornaLumeto::foundSetups(recording)) {
        QVector<int> channels;
        for (int channel : setup.set.channels) {
            LumetoFuzz::require(channel >= -1 && channel < recording.analogChannels.size());
            LumetoFuzz::require(channel < 0 || !channels.contains(channel));
            channels.append(channel);
        }
        VornaLumeto::setScaling(recording, setup);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray dataFile = QByteArrayLiteral("1,0,100,-200,0,1\n2,1000,,7.5,1,0\n3,2000,99999,1e3,0,0\n"
                                                         "4,3000,-1,2,1,1\n5,4000,3,4,0,1\n6,5000,5,6,1,0\n");
    VornaLumeto::Recording recording;
    if (VornaLumeto::readStandardRecording(QStringLiteral("fuzz.cfg"), LumetoFuzz::bytesOf(data, size),
                                           QStringLiteral("fuzz.dat"), dataFile, recording)
            .ok()) {
        LumetoFuzz::checkStandardRecording(recording);
        checkSets(recording);
    }
    return 0;
}
