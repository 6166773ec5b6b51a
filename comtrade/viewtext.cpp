#include "comtrade/viewtext.h"

#include <QCoreApplication>

namespace VornaLumeto {

QString viewText(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", source);
}

} // namespace VornaLumeto
