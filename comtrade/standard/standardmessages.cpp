#include "comtrade/standard/standardmessages.h"

#include <QCoreApplication>

namespace VornaLumeto {

QString standardText(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::StandardRecording", source);
}

QString standardFileProblem(const QString& fileName, const QString& reason)
{
    return standardText("Ошибка в файле «%1»: %2").arg(fileName, reason);
}

QString standardLineProblem(const QString& fileName, qint64 lineNumber, const QString& reason)
{
    return standardText("Ошибка в файле «%1», в строке №%2: %3").arg(fileName).arg(lineNumber).arg(reason);
}

QString standardByteProblem(const QString& fileName, qint64 byteOffset, const QString& reason)
{
    return standardText("Ошибка в файле «%1», со смещения %2 байт: %3").arg(fileName).arg(byteOffset).arg(reason);
}

} // namespace VornaLumeto
