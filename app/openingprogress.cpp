#include "app/openingprogress.h"

#include "comtrade/common/readingprogress.h"
#include "comtrade/common/recordingpath.h"
#include "view/comtraderead.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent>

namespace VornaLumeto {
namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::OpeningProgress", source);
}

QString stageText(ReadingProgress::Stage stage)
{
    switch (stage) {
    case ReadingProgress::Stage::StandardData:
        return text("Чтение по стандарту COMTRADE…");
    case ReadingProgress::Stage::FrequencyTracks:
        return text("Расчёт частоты каналов…");
    case ReadingProgress::Stage::DialectData:
        break;
    }
    return text("Чтение файла данных…");
}

// How often the window is brought up to date while the reading runs.
constexpr int refreshMilliseconds = 100;

} // namespace

qint64 recordingFileBytes(const QString& path)
{
    const qint64 bytes = QFileInfo(path).size();
    if (recordingPathKind(path, LetterCase::Any) == RecordingPathKind::Combined)
        return bytes;
    return bytes + QFileInfo(dataFilePath(path)).size();
}

OpeningProgress::OpeningProgress(QWidget* window, const QString& recordingPath)
    : path(recordingPath), dialog(std::make_unique<QProgressDialog>(window))
{
    dialog->setWindowTitle(text("Открытие осциллограммы"));
    dialog->setCancelButtonText(text("Отмена"));
    dialog->setRange(0, 1000);
    dialog->setMinimumDuration(0);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumWidth(420);
}

OpeningProgress::~OpeningProgress() = default;

void OpeningProgress::show(const QString& stage, int permille)
{
    dialog->setLabelText(QFileInfo(path).fileName() + QLatin1Char('\n') + stage);
    dialog->setValue(permille);
    dialog->show();
}

RecordingReading OpeningProgress::read(StandardReading standard)
{
    ReadingProgress progress;
    QEventLoop loop;
    QFutureWatcher<RecordingReading> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    QTimer refresh;
    refresh.setInterval(refreshMilliseconds);
    QObject::connect(&refresh, &QTimer::timeout, &loop,
                     [this, &progress] { show(stageText(progress.stage()), progress.permille()); });
    const QMetaObject::Connection cancel =
        QObject::connect(dialog.get(), &QProgressDialog::canceled, &loop, [&progress] { progress.cancel(); });

    show(stageText(progress.stage()), 0);
    const QString file = path;
    watcher.setFuture(QtConcurrent::run([file, standard, &progress] { return readRecording(file, standard, &progress); }));
    refresh.start();
    loop.exec();
    refresh.stop();
    QObject::disconnect(cancel);
    dialog->hide();
    return watcher.result();
}

bool OpeningProgress::build(COMTRADE_read& view, Recording&& recording)
{
    dialog->reset();
    show(text("Построение графиков…"), 0);
    QCoreApplication::processEvents();
    const bool built = view.buildDisplay(std::move(recording), [this](int permille) {
        dialog->setValue(permille);
        QCoreApplication::processEvents();
        return !dialog->wasCanceled();
    });
    dialog->hide();
    return built;
}

} // namespace VornaLumeto
