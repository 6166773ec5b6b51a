#include "support/linefaultrecordings.h"

#include "comtrade/standardloader.h"
#include "support/standardrecordings.h"

namespace LumetoTest {

QString loadLineFault(const QTemporaryDir& dir, const QString& baseName, const LumetoTools::LineFaultOptions& options,
                      const LumetoTools::RecordingForm& form, VornaLumeto::Recording& recording)
{
    const QString path =
        writeStandardRecording(dir, baseName, LumetoTools::generateLineFaultRecording(options), form);
    return VornaLumeto::loadStandardRecording(path, recording);
}

VornaLumeto::ChannelScaling primaryScaling(const VornaLumeto::Recording& recording, int channel)
{
    const VornaLumeto::AnalogChannel& analog = recording.analogChannels.at(channel);
    double factor = 1.0;
    const VornaLumeto::AnalogScaling scaling = recording.standard.analogScaling.value(channel);
    if (scaling.primaryOrSecondary.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 && scaling.secondary != 0.0)
        factor = scaling.primary / scaling.secondary;
    const QString unit = analog.unit.trimmed();
    if (unit.size() > 1 && (unit.startsWith(QLatin1Char('k')) || unit.startsWith(QChar(0x043A))))
        factor *= 1000.0;
    return {analog.multiplier * factor, analog.offsetAdder * factor};
}

} // namespace LumetoTest
