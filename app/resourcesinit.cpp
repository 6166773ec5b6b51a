#include "app/resourcesinit.h"

#include <QtGlobal>

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

} // namespace VornaLumeto
