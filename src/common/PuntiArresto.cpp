#include "common/PuntiArresto.h"

// Nothing else lives in this file: a program that defines puntoDiArresto itself
// (SenzaArresti.cpp) must never need this object from the library.
#ifdef QUIRDAL_PUNTI_ARRESTO
#include <QByteArray>
#include <cstdlib>
#endif

namespace quirdal {

void puntoDiArresto([[maybe_unused]] const char *nome)
{
#ifdef QUIRDAL_PUNTI_ARRESTO
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
#endif
}

} // namespace quirdal
