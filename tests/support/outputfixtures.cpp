#include "support/outputfixtures.h"

#include "support/testfiles.h"

#include <QTextCodec>
#include <QtMath>

namespace LumetoTest {

namespace {

QByteArray configurationText(const HeaderRecording& header)
{
    const QString text = QStringLiteral(
        "%1,%2\n"
        "3,2A,1D\n"
        "1,Ua,A,,kV,0.1,0,0,-32767,32767\n"
        "2,Ia,A,,A,1,0,0,-32767,32767\n"
        "1,Trip,0\n"
        "50\n"
        "1\n"
        "1000,%3\n"
        "%4\n"
        "%5\n"
        "ASCII\n")
        .arg(header.stationName).arg(header.recorderId).arg(header.sampleCount)
        .arg(header.startStamp, header.triggerStamp);
    return QTextCodec::codecForName("Windows-1251")->fromUnicode(text);
}

QByteArray dataText(int sampleCount)
{
    QByteArray text;
    for (int i = 0; i < sampleCount; ++i) {
        const double phase = 2.0 * M_PI * i / 20.0;
        text += QByteArray::number(i + 1) + ',' + QByteArray::number(i * 1000) + ','
                + QByteArray::number(qRound(1000 * qSin(phase))) + ','
                + QByteArray::number(qRound(300 * qSin(phase - M_PI / 6))) + ','
                + (i >= sampleCount / 2 ? '1' : '0') + '\n';
    }
    return text;
}

} // namespace

QString writeHeaderRecording(const QTemporaryDir& dir, const QString& name,
                             const HeaderRecording& header)
{
    writeFile(dir, name + QStringLiteral(".dat"), dataText(header.sampleCount));
    return writeFile(dir, name + QStringLiteral(".cfg"), configurationText(header));
}

} // namespace LumetoTest
