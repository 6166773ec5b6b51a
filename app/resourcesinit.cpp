#include "app/resourcesinit.h"

#include <QApplication>
#include <QFile>

static void initLumetoResources()
{
    Q_INIT_RESOURCE(vornaallprogs);
    Q_INIT_RESOURCE(vornalumeto);
}

namespace VornaLumeto {

void initResources()
{
    initLumetoResources();
}

void applyStyleSheet(QApplication& application)
{
    QFile styleFile(QStringLiteral(":/vornaallprogs_res/vornaallprogs_style.css"));
    if (!styleFile.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = styleFile.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    application.setStyleSheet(QString::fromUtf8(bytes));
}

} // namespace VornaLumeto
