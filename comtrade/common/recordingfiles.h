#pragma once

#include "comtrade/common/textencoding.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

namespace VornaLumeto {

// The files of one recording, each opened once for all the readers that try
// it: the configuration (or the single .cff file) read whole, and the data
// file beside a configuration, opened when a reader first asks for it.
class RecordingFiles {
public:
    explicit RecordingFiles(const QString& path);

    const QString& path() const { return filePath; }
    // The configuration (or single file) could be opened for reading.
    bool isOpen() const { return opened; }
    const QByteArray& bytes() const { return fileBytes; }
    // What the configuration's bytes show of their text encoding, found on first use.
    const EncodingGuess& encodingGuess();

    // The data file beside the configuration, opened read-only on first use
    // (isOpen() says whether that worked) and at its start on every call.
    QFile& data();

private:
    QString filePath;
    bool opened = false;
    QByteArray fileBytes;
    std::optional<EncodingGuess> guess;
    std::unique_ptr<QFile> dataFile;
};

} // namespace VornaLumeto
