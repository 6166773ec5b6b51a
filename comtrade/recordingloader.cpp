#include "comtrade/recordingloader.h"

#include <QCoreApplication>

namespace VornaLumeto {

QString loadSuccessMessage()
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", "Без ошибок");
}

QString loadRecording(const QString&, Recording&) { return QStringLiteral("not built yet"); }

} // namespace VornaLumeto
