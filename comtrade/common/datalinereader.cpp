#include "comtrade/common/datalinereader.h"

#include "comtrade/common/readingprogress.h"

#include <QIODevice>

#include <cstring>

namespace VornaLumeto {
namespace {

// Small enough to stay in the processor's cache between reading and parsing.
constexpr qint64 largestChunk = 256 * 1024;
constexpr qint64 smallestChunk = 4 * 1024;

// A small file gets a buffer of about its size; a longer line grows it.
qsizetype chunkBytesFor(const QIODevice& device, qint64 end)
{
    const qint64 left = device.isSequential() ? largestChunk : (end >= 0 ? end : device.size()) - device.pos();
    return qsizetype(qBound(smallestChunk, left, largestChunk));
}

} // namespace

DataLineReader::DataLineReader(QIODevice& ioDevice, qint64 endPosition, ReadingProgress* readingProgress)
    : device(ioDevice), end(endPosition), progress(readingProgress), buffer(size_t(chunkBytesFor(ioDevice, endPosition) + paddingBytes))
{
}

DataLine DataLineReader::next()
{
    for (;;) {
        const char* const unread = buffer.data() + start;
        const char* const lineFeed = static_cast<const char*>(std::memchr(unread, '\n', size_t(filled - start)));
        if (lineFeed) {
            start = lineFeed + 1 - buffer.data();
            return {unread, lineFeed + 1};
        }
        if (!readMore()) {
            const qsizetype lineStart = start;
            start = filled;
            return {buffer.data() + lineStart, buffer.data() + filled};
        }
    }
}

// Moves the unfinished line to the front, grows the buffer when that line
// fills it, and appends what the device has. False at the end of the device.
bool DataLineReader::readMore()
{
    if (deviceAtEnd)
        return false;
    if (progress && progress->isCancelled()) {
        // What is left of the buffer is dropped: the caller sees the lines end.
        start = filled = 0;
        buffer[0] = 0;
        deviceAtEnd = true;
        return false;
    }
    const qsizetype pending = filled - start;
    std::memmove(buffer.data(), buffer.data() + start, size_t(pending));
    start = 0;
    filled = pending;
    // The bytes after the moved line are left over from before; should the
    // device have nothing more, the line must still end in the promised 0.
    buffer[size_t(filled)] = 0;
    const qsizetype capacity = qsizetype(buffer.size()) - paddingBytes;
    if (filled == capacity)
        buffer.resize(size_t(2 * capacity + paddingBytes));
    qint64 room = qsizetype(buffer.size()) - paddingBytes - filled;
    if (end >= 0)
        room = qMin(room, end - device.pos());
    const qint64 read = room > 0 ? device.read(buffer.data() + filled, room) : 0;
    if (read <= 0) {
        deviceAtEnd = true;
        return false;
    }
    filled += read;
    buffer[size_t(filled)] = 0;
    if (progress)
        progress->advance(read);
    return true;
}

} // namespace VornaLumeto
