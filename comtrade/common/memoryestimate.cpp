#include "comtrade/common/memoryestimate.h"

#include <QFile>

namespace VornaLumeto {
namespace {

constexpr qint64 valueBytes = sizeof(double);
constexpr qint64 pointBytes = 2 * sizeof(double);  // a graph point: time and value

} // namespace

qint64 displayMemoryBytes(qint64 sampleCount, int analogCount, int digitalCount)
{
    const qint64 perAnalog = valueBytes + 2 * pointBytes;
    const qint64 perDigital = 2 * valueBytes + 2 * pointBytes;
    return sampleCount * (analogCount * perAnalog + digitalCount * perDigital);
}

qint64 memAvailableBytes(const QByteArray& meminfo)
{
    for (const QByteArray& line : meminfo.split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        const QList<QByteArray> fields = line.mid(int(qstrlen("MemAvailable:"))).simplified().split(' ');
        bool ok = false;
        const qint64 kilobytes = fields.value(0).toLongLong(&ok);
        return ok && fields.value(1) == "kB" ? kilobytes * 1024 : -1;
    }
    return -1;
}

qint64 availableMemoryBytes()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return -1;
    return memAvailableBytes(meminfo.readAll());
}

} // namespace VornaLumeto
