#include "dialogs/printpage.h"
#include "dialogs/recordingtext.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"

#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>

namespace VornaLumeto {

namespace {

bool userAcceptsPrinting(QPrinter& printer, QWidget* view)
{
    QPrintDialog dialog(&printer, view);
    dialog.setWindowTitle(COMTRADE_read::tr("Распечатать документ"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection);
    return dialog.exec() == QDialog::Accepted;
}

// Empty when the user cancels. The dialog's own overwrite question stays on.
QString choosePdfFile(const QString& stationName, const TimeStamp& trigger, QWidget* view)
{
    const QDir workingDirectory = QDir::current();
    const QStringList existing = workingDirectory.entryList({QStringLiteral("*.pdf")},
                                                            QDir::NoFilter, QDir::NoSort);
    const QString proposed = uniquePdfName(defaultPdfName(stationName, trigger), existing);
    return QFileDialog::getSaveFileName(view, COMTRADE_read::tr("Сохранить в формате pdf"),
                                        workingDirectory.path() + QLatin1Char('/') + proposed,
                                        QStringLiteral("*.pdf"));
}

void paintPage(QPainter& painter, const COMTRADE_read& view, const QPixmap& screenshot)
{
    const QRect viewport = painter.viewport();
    const PrintPageGeometry geometry = printPageGeometry(screenshot.size(), viewport.size());
    QFont font;
    font.setPixelSize(16);
    painter.setFont(font);
    const int headerWidth = viewport.width() - geometry.headerRect.left();
    painter.drawText(geometry.headerRect, Qt::AlignLeft | Qt::AlignTop,
                     fittedPrintHeaderText(view.stationName, printedRecorderId(view), view.triggerTime,
                                           painter.fontMetrics(), headerWidth));
    // The PDF writer would otherwise store the picture as JPEG, which blurs thin coloured traces.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    if (!geometry.imageRect.isEmpty())
        painter.drawPixmap(geometry.imageRect, screenshot);
}

} // namespace

int COMTRADE_read::printOrExport(int mode)
{
    if (mode != PrintMode && mode != PdfMode)
        return 0;

    // Taken before any dialog covers the view.
    const QPixmap grabbed = grab();
    const QPixmap screenshot = grabbed.copy(screenshotCrop(grabbed.size()));

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (mode == PrintMode && !userAcceptsPrinting(printer, this))
        return 0;
    if (mode == PdfMode) {
        const QString fileName = choosePdfFile(stationName, triggerTime, this);
        if (fileName.isEmpty())
            return 0;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        // A PDF that could not be written must not look saved.
        if (mode == PdfMode)
            showPlainTextCritical(this, tr("Ошибка"),
                                  tr("Не удалось сохранить файл ") + printer.outputFileName());
        return 0;
    }
    paintPage(painter, *this, screenshot);
    painter.end();
    return mode;
}

} // namespace VornaLumeto
