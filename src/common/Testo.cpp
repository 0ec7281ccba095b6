#include "common/Testo.h"

#include <algorithm>

namespace quirdal {

QString versioneProgramma()
{
    return QStringLiteral("%1.%2.%3").arg(QUIRDAL_VERSIONE_MAJOR).arg(QUIRDAL_VERSIONE_MINOR).arg(QUIRDAL_VERSIONE_REVISION);
}

QString raddoppiaApici(const QString &testo)
{
    QString r = testo;
    r.replace(QLatin1Char('\''), QStringLiteral("''"));
    return r;
}

QString senzaCaratteriDiControllo(const QString &testo)
{
    const auto controllo = [](QChar c) { return carattereDiControllo(c.unicode()); };
    if (std::none_of(testo.cbegin(), testo.cend(), controllo))
        return testo;
    QString r;
    r.reserve(testo.size());
    for (const QChar c : testo) {
        if (c == u'\t')
            r.append(QLatin1Char(' '));
        else if (!controllo(c))
            r.append(c);
    }
    return r;
}

} // namespace quirdal
