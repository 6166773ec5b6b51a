#include "dialogs/recordingtext.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QGridLayout>
#include <QLabel>
#include <QPair>

namespace VornaLumeto {

void COMTRADE_read::showFileInformationWindow()
{
    const SampleRate firstRate = sampleRates.value(0);
    const QVector<QPair<QString, QString>> rows = {
        {tr("Имя регистратора: "), stationName},
        {tr("Номер регистратора: "), QString::number(quint32(recorderId))},
        {tr("Общее количество каналов: "), QString::number(totalChannelCount)},
        {tr("Количество аналоговых каналов: "), QString::number(analogCount)},
        {tr("Количество дискретных каналов: "), QString::number(digitalCount)},
        {tr("Частота сети: "), QString::number(quint32(lineFrequency))},
        {tr("Частота дискретизации (Гц): "), QString::number(quint32(firstRate.rate))},
        {tr("Номер последней выборки: "), QString::number(quint32(firstRate.endSample))},
        {tr("Время первого значения в файле: "), timeStampText(startTime)},
        {tr("Время пуска: "), timeStampText(triggerTime)},
        {tr("Длительность: "), durationText(rawTimeAxis)},
    };

    // Parentless and application-modal: it blocks the program until closed, then frees itself.
    auto* window = new QWidget;
    auto* grid = new QGridLayout(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->setAttribute(Qt::WA_DeleteOnClose);
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(plainTextLabel(rows.at(row).first, window), row, 0, 1, 1, Qt::AlignRight);
        grid->addWidget(plainTextLabel(rows.at(row).second, window), row, 1, 1, 1, Qt::AlignLeft);
    }
    window->setWindowFlags(Qt::WindowCloseButtonHint);
    // Grows past 350 x 300 only where the platform's font would otherwise cut the texts off.
    window->setFixedSize(QSize(350, 300).expandedTo(window->minimumSizeHint()));
    window->show();
}

} // namespace VornaLumeto
