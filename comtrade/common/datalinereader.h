#pragma once

#include <QtGlobal>

#include <vector>

class QIODevice;

namespace VornaLumeto {

class ReadingProgress;

// One line in the reader's buffer: [begin, end), with its terminator.
struct DataLine {
    const char* begin = nullptr;
    const char* end = nullptr;

    bool isEmpty() const { return begin == end; }
};

// Hands out the lines of a device one after the other, split exactly as
// QIODevice::readLine splits them (a line ends after its LF, the last one at
// the end of the device), but without copying each line out of a buffer.
class DataLineReader {
public:
    // Bytes after the end of every line that may be read, so that fields can
    // be read a word at a time. The byte right after the last line is 0.
    static constexpr int paddingBytes = 16;

    // Reads from the device's position on, up to the position end when one is
    // given; the bytes read advance progress, when given, and its cancel ends
    // the lines early.
    explicit DataLineReader(QIODevice& device, qint64 end = -1, ReadingProgress* progress = nullptr);

    // The next line; it stays valid until the next call. Empty at the end of
    // the device, and after the reading was cancelled.
    DataLine next();

private:
    bool readMore();

    QIODevice& device;
    const qint64 end;
    ReadingProgress* const progress;
    std::vector<char> buffer;
    qsizetype start = 0;    // first byte not yet handed out
    qsizetype filled = 0;   // end of the bytes read
    bool deviceAtEnd = false;
};

} // namespace VornaLumeto
