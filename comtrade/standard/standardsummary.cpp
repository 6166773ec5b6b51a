#include "comtrade/standard/standardsummary.h"

#include "comtrade/standard/standardmessages.h"

#include <QStringList>

namespace VornaLumeto {
namespace {

QString leftOutChannels(const StandardDescription& description)
{
    if (description.analogLeftOut == 0 && description.digitalLeftOut == 0)
        return QString();
    return standardText("Каналов в файле: аналоговых %1, дискретных %2; программа показывает не больше 255, "
                        "не показаны: аналоговых %3, дискретных %4.")
        .arg(description.fileAnalogCount)
        .arg(description.fileDigitalCount)
        .arg(description.analogLeftOut)
        .arg(description.digitalLeftOut);
}

QString fewerSamples(const StandardDescription& description)
{
    if (description.promisedSamples == 0 || description.readSamples >= description.promisedSamples)
        return QString();
    return standardText("Отсчётов в файле данных: %1 из %2, объявленных в конфигурации.")
        .arg(description.readSamples)
        .arg(description.promisedSamples);
}

} // namespace

QString describeStandardFormat(int revisionYear, const QString& dataType)
{
    return standardText("Файл записан по редакции %1 года, данные %2.").arg(revisionYear).arg(dataType);
}

QString describeStandardRecording(const Recording& recording)
{
    const StandardDescription& description = recording.standard;
    QStringList sentences{describeStandardFormat(description.revisionYear, description.dataType),
                          describeWarnings(recording)};
    sentences.removeAll(QString());
    return sentences.join(QLatin1Char(' '));
}

QString describeWarnings(const Recording& recording)
{
    QStringList sentences = QStringList{leftOutChannels(recording.standard), fewerSamples(recording.standard)}
                            + recording.standard.notes;
    sentences.removeAll(QString());
    return sentences.join(QLatin1Char(' '));
}

} // namespace VornaLumeto
