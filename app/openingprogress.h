#pragma once

#include "comtrade/recordingreader.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace VornaLumeto {

class COMTRADE_read;

// Recordings whose files hold this many bytes or more open with a progress window.
constexpr qint64 progressWindowBytes = 50 * 1024 * 1024;

// The bytes of a recording's files: a configuration and its data file, or a .cff.
qint64 recordingFileBytes(const QString& path);

// The two waits of opening a large recording, reading it and building its
// view, shown in one progress window modal to the main window, whose Cancel
// ends either and leaves everything as it was.
class OpeningProgress {
public:
    OpeningProgress(QWidget* window, const QString& path);
    ~OpeningProgress();

    // Reads the recording on another thread while the window shows how far the
    // reading has come; a cancel ends it with ReadingFailure::Cancelled.
    RecordingReading read(StandardReading standard);
    // Builds the view's display from the recording while the window shows how
    // far that has come; false when cancelled (the view is then good only for deleting).
    bool build(COMTRADE_read& view, Recording&& recording);

private:
    void show(const QString& stage, int permille);

    const QString path;
    std::unique_ptr<QProgressDialog> dialog;
};

} // namespace VornaLumeto
