#include "dialogs/recordingtext.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPair>
#include <QShortcut>

namespace VornaLumeto {
namespace {

// Where a window of the given size stands centred over host (the main window),
// rather than wherever the platform puts a window without a parent.
QPoint centredOver(const QWidget* host, const QSize& size)
{
    QRect placed(QPoint(), size);
    placed.moveCenter(host->frameGeometry().center());
    return placed.topLeft();
}

} // namespace

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
    // Escape closes it too: where no window manager gives it a close button,
    // it would otherwise block the program for good.
    auto* escape = new QShortcut(QKeySequence::Cancel, window);
    connect(escape, &QShortcut::activated, window, &QWidget::close);
    window->move(centredOver(this->window(), window->size()));
    window->show();
}

} // namespace VornaLumeto
