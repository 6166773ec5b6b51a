#include "app/comtradeview.h"

#include "app/openingprogress.h"
#include "app/processmemory.h"
#include "app/settingspaths.h"
#include "app/viewersettings.h"
#include "comtrade/common/memoryestimate.h"
#include "comtrade/common/recordingpath.h"
#include "comtrade/recordingreader.h"
#include "comtrade/standard/standardsummary.h"
#include "view/comtraderead.h"
#include "view/plaintext.h"
#include "view/tooltips.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCodec>
#include <QTextDocument>
#include <QTextStream>

#include <memory>

namespace VornaLumeto {

comtrade_view::comtrade_view(QWidget* parent) : QWidget(parent)
{
    tabLayout = new QHBoxLayout(this);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->setSpacing(0);
    tabWidget = new QTabWidget(this);
    tabWidget->setMovable(true);
    tabWidget->setTabsClosable(true);
    tabLayout->addWidget(tabWidget);
    connect(tabWidget, &QTabWidget::tabCloseRequested, this, &comtrade_view::slot_close_tab);
    // Dragged tabs keep the parallel lists in tab order, so every tab index
    // still names the recording the user sees there.
    connect(tabWidget->tabBar(), &QTabBar::tabMoved, this, &comtrade_view::followTabMove);
    addCloseTabKeys();
    buildTabMenu();
}

// The platform's Close keys (Ctrl+W) close the current tab as its close button does.
void comtrade_view::addCloseTabKeys()
{
    auto* closeTab = new QAction(this);
    closeTab->setShortcuts(QKeySequence::Close);
    addAction(closeTab);
    connect(closeTab, &QAction::triggered, this, [this] { slot_close_tab(tabWidget->currentIndex()); });
}

void comtrade_view::followTabMove(int from, int to)
{
    views.move(from, to);
    if (from < fileNames.size() && to < fileNames.size())
        fileNames.move(from, to);
}

namespace {

// The last-directory file holds one line in Windows-1251 without a terminator.
QTextCodec* lastDirectoryCodec()
{
    return QTextCodec::codecForName("Windows-1251");
}

QString readLastDirectory()
{
    QFile directoryFile(lastDirectoryFile());
    if (!directoryFile.open(QIODevice::ReadOnly))
        return QString();
    QTextStream stream(&directoryFile);
    stream.setCodec(lastDirectoryCodec());
    return stream.readLine();
}

void rememberDirectoryOf(const QString& chosenFile)
{
    QFile directoryFile(lastDirectoryFile());
    directoryFile.remove();
    if (directoryFile.open(QIODevice::WriteOnly))
        directoryFile.write(lastDirectoryCodec()->fromUnicode(
            chosenFile.left(chosenFile.lastIndexOf(QLatin1Char('/')) + 1)));
}

} // namespace

QString comtrade_view::chooseFileName(const QString& path)
{
    // A dropped single-file recording (.cff) goes to the standard reader; any
    // other drop must end in "cfg", as ever.
    if (!path.isEmpty())
        return recordingPathKind(path, LetterCase::Exact) == RecordingPathKind::Other ? QString() : path;

    const QString name = QFileDialog::getOpenFileName(this, tr("Выбрать файл"), readLastDirectory(),
                                                      tr("COMTRADE (*.cfg)"));
    if (!name.isEmpty())
        rememberDirectoryOf(name);
    return name;
}

bool comtrade_view::openFile(const QString& path)
{
    if (!refuseBeyondLimit().isEmpty())
        return false;
    const QString name = chooseFileName(path);
    return !name.isEmpty() && openChosenFile(name).isEmpty();
}

QString comtrade_view::openNamedFile(const QString& path, bool standardWithoutAsking)
{
    const QString refused = refuseBeyondLimit();
    if (!refused.isEmpty())
        return refused;
    return openChosenFile(path, standardWithoutAsking ? StandardOffer::Unasked : StandardOffer::Asked);
}

QString comtrade_view::refuseBeyondLimit()
{
    if (views.size() <= maximumOpenRecordings - 1)
        return QString();
    const QString message = tr("Открыто максимальное количество осциллограмм");
    QMessageBox::critical(this, tr("Ошибка"), message, QMessageBox::Ok);
    return message;
}

namespace {

// Loading blocks the window for up to seconds: it shows a busy cursor, and
// is drawn again first so that a closed dialog does not stay on screen.
void showBusy(QWidget* window)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    window->repaint();
}

// Memory as the user reads it: gigabytes with one decimal, or whole megabytes.
QString memoryText(qint64 bytes)
{
    constexpr double megabyte = 1024.0 * 1024.0;
    constexpr double gigabyte = 1024.0 * megabyte;
    if (bytes >= gigabyte)
        return comtrade_view::tr("%1 ГБ").arg(QString::number(bytes / gigabyte, 'f', 1));
    return comtrade_view::tr("%1 МБ").arg(QString::number(qRound64(bytes / megabyte)));
}

QString paragraphs(const QString& first, const QString& second)
{
    return first.isEmpty() ? second : first + QStringLiteral("\n\n") + second;
}

// Which file a box is about: two files dropped at once give two boxes.
QString fileParagraph(const QString& path)
{
    const QFileInfo file(path);
    return comtrade_view::tr("Файл «%1» в папке %2.").arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

RecordingReading readShowingTheWait(QWidget* window, const QString& name, OpeningProgress* progress)
{
    if (progress)
        return progress->read(StandardReading::WhenRefused);
    showBusy(window);
    RecordingReading reading = readRecording(name, StandardReading::WhenRefused);
    QApplication::restoreOverrideCursor();
    return reading;
}

// False when the progress window's Cancel stopped it; the busy cursor stays on for the tab.
bool buildShowingTheWait(QWidget* window, COMTRADE_read& view, Recording&& recording, OpeningProgress* progress)
{
    if (progress && !progress->build(view, std::move(recording)))
        return false;
    showBusy(window);
    if (!progress)
        view.buildDisplay(std::move(recording));
    return true;
}

// Why a file did not open, for the command line: the viewer's own reader's
// message where it refused the file, the standard reader's for a .cff.
QString refusalOf(const RecordingReading& reading)
{
    return reading.dialectRefusal.ok() ? reading.result.message : reading.dialectRefusal.message;
}

} // namespace

QString comtrade_view::openChosenFile(const QString& name, StandardOffer offer)
{
    const int open = fileNames.indexOf(name);
    if (open >= 0) {
        tabWidget->setCurrentIndex(open);
        return tr("Уже открыт");
    }

    // A large recording shows its waits in a progress window, a small one a busy cursor.
    const std::unique_ptr<OpeningProgress> progress =
        recordingFileBytes(name) >= progressWindowBytes ? std::make_unique<OpeningProgress>(window(), name) : nullptr;
    // Read whole before any box, so that a box offers only what really opens.
    RecordingReading reading = readShowingTheWait(window(), name, progress.get());
    const QString refusal = whyNotShown(name, reading, offer);
    if (!refusal.isEmpty()) {
        reading.recording = Recording();
        releaseFreedMemory();
        return refusal;
    }
    auto* view = new COMTRADE_read(this);
    if (!buildShowingTheWait(window(), *view, std::move(reading.recording), progress.get())) {
        delete view;
        releaseFreedMemory();
        return tr("Открытие отменено");
    }
    views.append(view);
    addRecordingTab(view, name);
    return QString();
}

QString comtrade_view::whyNotShown(const QString& name, const RecordingReading& reading, StandardOffer offer)
{
    if (reading.result.failure == ReadingFailure::Cancelled)
        return tr("Открытие отменено");
    if (!takesReading(name, reading, offer))
        return refusalOf(reading);
    if (!fitsInMemory(name, reading.recording))
        return tr("Не хватает памяти, чтобы показать осциллограмму");
    return QString();
}

bool comtrade_view::fitsInMemory(const QString& name, const Recording& recording)
{
    const qint64 needed = displayMemoryBytes(recording.timeAxis.size(), recording.analogCount, recording.digitalCount);
    const qint64 available = availableMemoryBytes();
    if (available < 0 || needed <= available)
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Не хватает памяти"),
                    tr("Чтобы показать осциллограмму, нужно около %1 памяти, а свободно %2: система может закрыть "
                       "программу.")
                        .arg(memoryText(needed), memoryText(available)),
                    QMessageBox::Cancel, this);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(Qt::convertFromPlainText(
        paragraphs(fileParagraph(name), tr("Вместо показа осциллограмму можно записать в файл CSV.")),
        Qt::WhiteSpaceNormal));
    QPushButton* exportButton = box.addButton(tr("Экспорт в CSV…"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == exportButton)
        saveRecordingAsCsv(recording, name);
    return false;
}

bool comtrade_view::takesReading(const QString& name, const RecordingReading& reading, StandardOffer offer)
{
    if (!reading.ok() && reading.dialectRefusal.ok()) {
        showPlainTextCritical(this, tr("Ошибка"), reading.result.message);
        return false;
    }
    if (!reading.ok()) {
        const QString why = paragraphs(explainLoadFailure(reading.dialectFailure),
                                       tr("По стандарту COMTRADE файл тоже не читается: %1").arg(reading.result.message));
        showPlainTextCritical(this, tr("Ошибка"), reading.dialectRefusal.message, paragraphs(fileParagraph(name), why));
        return false;
    }
    if (!reading.readByStandardAfterRefusal() || offer == StandardOffer::Unasked || opensStandardFilesUnasked())
        return true;
    bool unaskedFromNowOn = false;
    const bool taken = askPlainTextCritical(
        this, tr("Ошибка"), reading.dialectRefusal.message,
        paragraphs(fileParagraph(name), describeStandardRecording(reading.recording)), tr("Открыть по стандарту"),
        tr("Открывать такие файлы по стандарту без вопроса"), &unaskedFromNowOn);
    if (taken && unaskedFromNowOn)
        setOpensStandardFilesUnasked(true);
    return taken;
}

// The view is the last of views; the busy cursor is on.
void comtrade_view::addRecordingTab(COMTRADE_read* view, const QString& name)
{
    fileNames.append(name);
    if (vectorDiagramOn)
        view->showVectorDiagram();
    if (frequencyDiagramOn)
        view->showFrequencyDiagram();
    const QString title = literalMenuText(name.mid(name.lastIndexOf(QLatin1Char('/')) + 1));
    const int tab = tabWidget->addTab(view, title);
    tabWidget->setTabToolTip(tab, plainToolTip(name));
    tabWidget->setCurrentIndex(views.size() - 1);
    view->setObjectName(name);
    QApplication::restoreOverrideCursor();
    // What of the file the tab does not show, said once the tab is there.
    const QString warnings = describeWarnings(*view);
    if (!warnings.isEmpty())
        showPlainTextWarning(this, tr("Предупреждение"), warnings);
}

void comtrade_view::slot_close_tab(int index)
{
    if (index < 0 || index >= views.size())
        return;
    tabWidget->removeTab(index);
    // Queued: the memory goes back once the view is really gone, after its deleteLater.
    connect(views.at(index), &QObject::destroyed, this, &releaseFreedMemory, Qt::QueuedConnection);
    views.at(index)->deleteLater();
    views.remove(index);
    if (index < fileNames.size())
        fileNames.remove(index);
}

void comtrade_view::closeAllTabs()
{
    tabWidget->clear();
    while (!views.isEmpty())
        views.takeLast()->deleteLater();
}

COMTRADE_read* comtrade_view::currentView() const
{
    const int index = tabWidget->currentIndex();
    return index >= 0 && index < views.size() ? views.at(index) : nullptr;
}

void comtrade_view::setVectorDiagramMode(bool on)
{
    vectorDiagramOn = on;
    for (COMTRADE_read* view : qAsConst(views))
        on ? view->showVectorDiagram() : view->hideVectorDiagram();
}

void comtrade_view::setFrequencyDiagramMode(bool on)
{
    frequencyDiagramOn = on;
    for (COMTRADE_read* view : qAsConst(views))
        on ? view->showFrequencyDiagram() : view->hideFrequencyDiagram();
}

bool comtrade_view::showFileInfo()
{
    COMTRADE_read* view = currentView();
    if (!view)
        return false;
    view->showFileInformationWindow();
    return true;
}

bool comtrade_view::printCurrent()
{
    COMTRADE_read* view = currentView();
    if (!view)
        return false;
    view->printOrExport(COMTRADE_read::PrintMode);
    return true;
}

bool comtrade_view::saveCurrentAsPdf()
{
    COMTRADE_read* view = currentView();
    if (!view)
        return false;
    view->printOrExport(COMTRADE_read::PdfMode);
    return true;
}

} // namespace VornaLumeto
