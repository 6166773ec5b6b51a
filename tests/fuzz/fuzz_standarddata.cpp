// Arbitrary bytes as the data file of the standard reader: the first byte
// chooses one of its configurations (each revision's ASCII, BINARY, BINARY32,
// FLOAT32; three analog channels and seventeen digital ones, so two digital
// words), the rest is the data.
#include "fuzzsupport.h"

#include "comtrade/standard/standardreader.h"

namespace {

QByteArray configuration(const QByteArray& revision, const QByteArray& type, const QByteArray& rates)
{
    QByteArray text = "Fuzz,1" + revision + "\n20,3A,17D\n"
                      "1,Ua,A,,kV,0.1,0,0,-32767,32767,1,1,P\n"
                      "2,Ib,B,,A,1.5,-2,0,-32767,32767,1,1,S\n"
                      "3,F,,,Hz,0.01,0,0,-32767,32767,1,1,P\n";
    for (int d = 1; d <= 17; ++d)
        text += QByteArray::number(d) + ",D" + QByteArray::number(d) + ",,,0\n";
    return text + "50\n" + rates + "05/03/2021,09:07:03.250000\n05/03/2021,09:07:03.300000\n" + type + "\n1\n";
}

const QByteArray severalRates = "2\n4000,10\n1000,20\n";
const QByteArray noRates = "0\n0,0\n";

const QByteArray configurations[] = {
    configuration("", "ASCII", severalRates),          configuration(",1999", "ASCII", severalRates),
    configuration(",2013", "ASCII", noRates),          configuration(",1999", "BINARY", severalRates),
    configuration(",2013", "BINARY", noRates),         configuration(",2013", "BINARY32", severalRates),
    configuration(",2013", "FLOAT32", severalRates),   configuration(",2013", "FLOAT32", noRates),
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray& chosen = configurations[data[0] % (sizeof configurations / sizeof configurations[0])];
    VornaLumeto::Recording recording;
    if (VornaLumeto::readStandardRecording(QStringLiteral("fuzz.cfg"), chosen, QStringLiteral("fuzz.dat"),
                                           LumetoFuzz::bytesOf(data + 1, size - 1), recording)
            .ok())
        LumetoFuzz::checkStandardRecording(recording);
    return 0;
}
