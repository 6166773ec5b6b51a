#include "comtrade/dialect/dialectmessages.h"

#include <QCoreApplication>

namespace VornaLumeto {

QString dialectText(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", source);
}

} // namespace VornaLumeto
