#include "db/Aggiornamenti.h"

#include "db/CorsiDB.h"
#include "db/Schema.h"

namespace quirdal {

bool aggiornaDataAvvio(CorsiDB &db)
{
    if (db.esisteColonna(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio")))
        return false;
    Transazione t(db);
    db.aggiungiColonnaTesto(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio"), 10);
    db.esegui(QStringLiteral("UPDATE CorsiProp SET DataAvvio=''"));
    db.sostituisciQuery(QStringLiteral("QryCorsi"), selectQryCorsi(true));
    t.conferma();
    return true;
}

bool aggiornaSchedeHandicap(CorsiDB &db)
{
    if (db.esisteColonna(QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone")))
        return false;
    Transazione t(db);
    db.esegui(QStringLiteral("ALTER TABLE CorsiHandi ADD COLUMN NumPersone INTEGER"));
    t.conferma();
    return true;
}

bool aggiornaInvii(CorsiDB &db)
{
    bool creata = false;
    Transazione t(db);
    for (const QString &tabella : {QStringLiteral("DomandeDefinitive"), QStringLiteral("Invii")}) {
        if (db.esisteTabella(tabella))
            continue;
        for (const QString &istruzione : istruzioniTabella(tabella))
            db.esegui(istruzione);
        creata = true;
    }
    t.conferma();
    return creata;
}

int contaCorsiNonPrimiAnni(CorsiDB &db)
{
    return db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiProp WHERE StatoIter <> 1")).toInt();
}

int rimuoviCorsiNonPrimiAnni(CorsiDB &db)
{
    // The rows that hang on those courses go with them, so no orphan is left behind.
    const QString corsiDaTogliere = QStringLiteral(
        " EXISTS (SELECT 1 FROM CorsiProp P WHERE P.StatoIter <> 1 AND P.GrupOpe = %1.GrupOpe AND P.Operatore = "
        "%1.Operatore AND P.SedeInteressata = %1.SedeInteressata AND P.Corso = %1.Corso AND P.Accorp = %1.Accorp)");
    Transazione t(db);
    for (const char *figlia : {"CorsiPropSpese", "ValoriChk", "CorsiHandi"}) {
        const QString nome = QString::fromLatin1(figlia);
        db.esegui(QStringLiteral("DELETE FROM ") + nome + QStringLiteral(" WHERE") + corsiDaTogliere.arg(nome));
    }
    const int tolti = db.esegui(QStringLiteral("DELETE FROM CorsiProp WHERE StatoIter <> 1"));
    t.conferma();
    return tolti;
}

int riparaDescrizioniQualifiche(CorsiDB &db)
{
    return db.esegui(QStringLiteral(
        "UPDATE CorsiProp SET DesQualif = (SELECT Qualifi.DesQualif FROM Qualifi WHERE Qualifi.CodQualif = "
        "CorsiProp.CodQualif) WHERE CodQualif IS NOT NULL AND CodQualif <> '' AND EXISTS (SELECT 1 FROM Qualifi "
        "WHERE Qualifi.CodQualif = CorsiProp.CodQualif) AND DesQualif IS NOT (SELECT Qualifi.DesQualif FROM "
        "Qualifi WHERE Qualifi.CodQualif = CorsiProp.CodQualif)"));
}

int riparaValoriChk(CorsiDB &db)
{
    // The province of a course is that of its site: a component's municipality below
    // 1000, the occasional site's from 1000 up.
    return db.esegui(QStringLiteral(
        "INSERT INTO ValoriChk (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Prov, ID, Valore) "
        "SELECT C.GrupOpe, C.Operatore, C.SedeInteressata, C.Corso, C.Accorp, L.Prov, L.ID, 0 "
        "FROM (SELECT P.GrupOpe, P.Operatore, P.SedeInteressata, P.Corso, P.Accorp, "
        "  CASE WHEN P.SedeInteressata < 1000 THEN "
        "    (SELECT Comuni.PROV FROM CorsiCompo INNER JOIN Comuni ON Comuni.CodComune = CorsiCompo.CodComune "
        "     WHERE CorsiCompo.GrupOpe = P.GrupOpe AND CorsiCompo.Operatore = P.Operatore AND "
        "     CorsiCompo.Componente = P.SedeInteressata) "
        "  ELSE (SELECT Comuni.PROV FROM CorsiSediOcc INNER JOIN Comuni ON Comuni.CodComune = "
        "     CorsiSediOcc.CodComune WHERE CorsiSediOcc.SedeOcc = P.SedeInteressata) END AS Prov "
        "  FROM CorsiProp P) AS C "
        "INNER JOIN Legami L ON L.Prov = C.Prov "
        "INNER JOIN Metadati M ON M.ID = L.ID AND M.Prov = L.Prov AND M.Tipo = 'C' "
        "WHERE NOT EXISTS (SELECT 1 FROM ValoriChk V WHERE V.GrupOpe = C.GrupOpe AND V.Operatore = C.Operatore "
        "AND V.SedeInteressata = C.SedeInteressata AND V.Corso = C.Corso AND V.Accorp = C.Accorp AND V.ID = L.ID)"));
}

} // namespace quirdal
