#include "courses/TotaleCorso.h"

#include "common/Sessione.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>

namespace quirdal {

Importo totaleRigaSpese(const std::function<QVariant(const char *colonna)> &campo)
{
    auto conteggio = [&](const char *c) {
        const QVariant v = campo(c);
        return v.isNull() ? qint64(0) : v.toLongLong();
    };
    auto importo = [&](const char *c) { return Importo::daValore(campo(c)); };
    return importo("ParamA1").per(conteggio("NumOreA1")).per(conteggio("NumAllA1"))
        + importo("ParamA2").per(conteggio("NumOreA2")).per(conteggio("NumAllA2"))
        + importo("Param16").per(conteggio("NumOre16")).per(conteggio("NumAll16"))
        - importo("Param17_3").per(conteggio("NumAll17_3")) - importo("Param17Meno");
}

Importo TotSpeseCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede)
{
    QSqlQuery q = db.seleziona(
        QStringLiteral("SELECT * FROM QryCorsiPropSpese S WHERE ProgrAnno = 1 AND GrupOpe=? AND Operatore=? AND "
                       "(SedeInteressata = ? OR (? < 1000 AND SedeInteressata > 999 AND CompoResp = ? AND EXISTS "
                       "(SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON M.CodComune = O.CodComune WHERE O.SedeOcc "
                       "= S.SedeInteressata AND M.PROV = ?)))"),
        {s.gGrupOpe, s.numeroOperatore(), sede, sede, sede, s.gProv});
    Importo t;
    while (q.next())
        t += totaleRigaSpese([&](const char *c) { return q.value(QString::fromLatin1(c)); });
    return t;
}

} // namespace quirdal
