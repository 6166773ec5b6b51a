#include "view/faultanalysiswindow.h"

#include "view/comtraderead.h"
#include "view/impedancediagram.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace VornaLumeto {

QString FaultAnalysisWindow::tablesText() const
{
    if (tables.isEmpty())
        return QString();
    return heading + QStringLiteral("\n\n") + tabSeparated(tables);
}

void FaultAnalysisWindow::copyTables()
{
    const QString text = tablesText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void FaultAnalysisWindow::saveDiagram()
{
    // Beside the recording, named after it.
    const QFileInfo recording(view.objectName());
    const QString proposed = recording.fileName().isEmpty()
                                 ? QStringLiteral("rx.png")
                                 : recording.absolutePath() + QLatin1Char('/') + recording.completeBaseName()
                                       + QStringLiteral("-rx.png");
    const QString pngFilter = tr("PNG (*.png)");
    const QString pdfFilter = tr("PDF (*.pdf)");
    QString filter = pngFilter;
    QString path = QFileDialog::getSaveFileName(this, tr("Сохранить диаграмму R-X"), proposed,
                                                pngFilter + QStringLiteral(";;") + pdfFilter, &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter == pdfFilter ? QStringLiteral(".pdf") : QStringLiteral(".png");
    if (!diagram->saveImage(path))
        QMessageBox::critical(this, tr("Ошибка"), tr("Не удалось записать файл %1").arg(path), QMessageBox::Ok);
}

} // namespace VornaLumeto
