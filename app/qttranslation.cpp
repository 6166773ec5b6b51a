#include "app/qttranslation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace VornaLumeto {

bool installQtTranslation(QTranslator& translator, const QString& directory)
{
    return translator.load(QStringLiteral("qtbase_ru"), directory) && QCoreApplication::installTranslator(&translator);
}

} // namespace VornaLumeto
