#include "db/Consultazioni.h"

#include "db/CorsiDB.h"

namespace quirdal {

QString sigProvProvincia(CorsiDB &db, const QString &prov)
{
    return db.valoreScalare(QStringLiteral("SELECT SigProv FROM Province WHERE PROV = ?"), {prov}).toString();
}

QString sigProvSede(CorsiDB &db, const QString &grupOpe, qlonglong operatore, qlonglong sede)
{
    if (sede < 1000)
        return db.valoreScalare(QStringLiteral("SELECT Comuni.SigProv FROM CorsiCompo INNER JOIN Comuni ON "
                                               "Comuni.CodComune = CorsiCompo.CodComune WHERE CorsiCompo.GrupOpe = ? "
                                               "AND CorsiCompo.Operatore = ? AND CorsiCompo.Componente = ?"),
                                {grupOpe, operatore, sede})
            .toString();
    return db.valoreScalare(QStringLiteral("SELECT Comuni.SigProv FROM CorsiSediOcc INNER JOIN Comuni ON "
                                           "Comuni.CodComune = CorsiSediOcc.CodComune WHERE CorsiSediOcc.SedeOcc = ?"),
                            {sede})
        .toString();
}

} // namespace quirdal
