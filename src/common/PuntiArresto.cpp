#include "common/PuntiArresto.h"

#ifdef QUIRDAL_PUNTI_ARRESTO
#include <QByteArray>
#include <QHash>
#include <cstdlib>

namespace quirdal {

void puntoDiArresto(const char *nome)
{
    static const QByteArray richiesta = qgetenv("QUIRDAL_ARRESTO");
    if (richiesta.isEmpty())
        return;
    const qsizetype dp = richiesta.indexOf(':');
    const QByteArray punto = dp < 0 ? richiesta : richiesta.left(dp);
    if (punto != nome)
        return;
    static qint64 passaggi = 0;
    const qint64 dopo = dp < 0 ? 1 : richiesta.mid(dp + 1).toLongLong();
    if (++passaggi >= dopo)
        std::_Exit(137); // no destructor, no flush: what a kill leaves behind
}

} // namespace quirdal
#endif
