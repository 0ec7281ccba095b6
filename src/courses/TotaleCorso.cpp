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

TotaliSede TotaliCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede)
{
    QSqlQuery q = db.seleziona(
        QStringLiteral("SELECT S.*, P.DurataAnnOre AS OreAnno, EXISTS (SELECT 1 FROM AzioneDeroga D WHERE D.CodAsse = "
                       "P.CodAsse AND D.CodMisura = P.CodMisura AND D.CodAzione = P.CodAzione) AS Deroga FROM CorsiPropSpese S "
                       "INNER JOIN CorsiProp P ON P.GrupOpe = S.GrupOpe AND P.Operatore = S.Operatore AND P.SedeInteressata = "
                       "S.SedeInteressata AND P.Corso = S.Corso AND P.Accorp = S.Accorp WHERE S.ProgrAnno = 1 AND S.GrupOpe=? "
                       "AND S.Operatore=? AND (S.SedeInteressata = ? OR (? < 1000 AND S.SedeInteressata > 999 AND "
                       "P.CompoResp = ? AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON M.CodComune = "
                       "O.CodComune WHERE O.SedeOcc = S.SedeInteressata AND M.PROV = ?)))"),
        {s.gGrupOpe, s.numeroOperatore(), sede, sede, sede, s.gProv});
    TotaliSede t;
    auto aggiungi = [](GruppoCorsi &g, Importo totale, qlonglong ore) {
        ++g.schede;
        g.totale += totale;
        g.ore += ore;
    };
    while (q.next()) {
        const Importo totale = totaleRigaSpese([&](const char *c) { return q.value(QString::fromLatin1(c)); });
        const qlonglong ore = q.value(QStringLiteral("OreAnno")).toLongLong();
        aggiungi(q.value(QStringLiteral("SedeInteressata")).toLongLong() == sede ? t.sedeAccreditata : t.sediOccasionali,
                 totale, ore);
        if (q.value(QStringLiteral("Deroga")).toInt() != 0)
            aggiungi(t.azioniInDeroga, totale, ore);
    }
    return t;
}

Importo TotSpeseCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede)
{
    const TotaliSede t = TotaliCorsiSede(db, s, sede);
    return t.sedeAccreditata.totale + t.sediOccasionali.totale;
}

} // namespace quirdal
