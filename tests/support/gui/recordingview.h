#pragma once

// Header only: the view lives in the widgets library, which only the GUI tests link.
#include "comtrade/dialect/dialectreader.h"
#include "support/diagramrecordings.h"
#include "support/readings.h"
#include "view/comtraderead.h"

#include <QDebug>

#include <memory>

namespace LumetoTest {

// Writes the recording and loads it into a fresh top-level view; a load failure is printed so
// that the test's own checks explain themselves.
inline std::unique_ptr<VornaLumeto::COMTRADE_read> openRecordingView(
    const QTemporaryDir& dir, const QString& baseName, const TestRecording& recording)
{
    auto view = std::make_unique<VornaLumeto::COMTRADE_read>(nullptr);
    const QString message = view->load(writeAsciiRecording(dir, baseName, recording));
    if (message != VornaLumeto::loadSuccessMessage())
        qWarning() << message;
    return view;
}

// Reads the file through the standard reader into a fresh top-level view and builds its display.
inline std::unique_ptr<VornaLumeto::COMTRADE_read> openStandardView(const QString& path)
{
    auto view = std::make_unique<VornaLumeto::COMTRADE_read>(nullptr);
    VornaLumeto::Recording recording;
    const QString message = loadStandard(path, recording);
    if (message != VornaLumeto::loadSuccessMessage())
        qWarning() << message;
    else
        view->buildDisplay(std::move(recording));
    return view;
}

} // namespace LumetoTest
