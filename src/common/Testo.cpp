#include "common/Testo.h"

namespace quirdal {

QString versioneProgramma()
{
    return QStringLiteral("%1.%2.%3")
        .arg(QUIRDAL_VERSIONE_MAJOR)
        .arg(QUIRDAL_VERSIONE_MINOR)
        .arg(QUIRDAL_VERSIONE_REVISION);
}

QString raddoppiaApici(const QString &testo)
{
    QString r = testo;
    r.replace(QLatin1Char('\''), QStringLiteral("''"));
    return r;
}

} // namespace quirdal
