#include "dialogs/recordingtext.h"
#include "dialogs/standardinformation.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPair>
#include <QScrollArea>
#include <QScrollBar>
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

// The standard reader's rows, below the window's own, in a box that scrolls
// when they are many; the window grows by the box's height, and in width up to
// a limit to show them whole.
constexpr int standardRowsHeight = 190;
constexpr int widestStandardRows = 640;

// Captions right-aligned in column 0, values left-aligned in column 1; a caption
// stands at the first line of a value of several lines.
void addRows(QGridLayout* grid, QWidget* parent, const QVector<InformationRow>& rows, Qt::Alignment captionAlignment)
{
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(plainTextLabel(rows.at(row).first, parent), row, 0, 1, 1, captionAlignment);
        grid->addWidget(plainTextLabel(rows.at(row).second, parent), row, 1, 1, 1, Qt::AlignLeft);
    }
}

int addStandardRows(QGridLayout* grid, QWidget* window, const Recording& recording)
{
    auto* scroll = new QScrollArea(window);
    auto* content = new QWidget(scroll);
    auto* rows = new QGridLayout(content);
    rows->setContentsMargins(0, 0, 0, 0);
    addRows(rows, content, standardInformationRows(recording), Qt::AlignRight | Qt::AlignTop);
    rows->setColumnStretch(1, 1);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFixedHeight(standardRowsHeight);
    const int scrollBar = scroll->verticalScrollBar()->sizeHint().width();
    scroll->setMinimumWidth(qMin(content->sizeHint().width() + scrollBar, widestStandardRows));
    grid->addWidget(scroll, grid->rowCount(), 0, 1, 2);
    return standardRowsHeight + grid->verticalSpacing();
}

} // namespace

void COMTRADE_read::showFileInformationWindow()
{
    const SampleRate firstRate = sampleRates.value(0);
    const QVector<InformationRow> rows = {
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
    addRows(grid, window, rows, Qt::AlignRight);
    const int extraHeight = standard.fromStandardReader ? addStandardRows(grid, window, *this) : 0;
    window->setWindowFlags(Qt::WindowCloseButtonHint);
    // Grows past 350 x 300 only where the platform's font would otherwise cut the texts off.
    window->setFixedSize(QSize(350, 300 + extraHeight).expandedTo(window->minimumSizeHint()));
    // Escape closes it too: where no window manager gives it a close button,
    // it would otherwise block the program for good.
    auto* escape = new QShortcut(QKeySequence::Cancel, window);
    connect(escape, &QShortcut::activated, window, &QWidget::close);
    window->move(centredOver(this->window(), window->size()));
    window->show();
}

} // namespace VornaLumeto
