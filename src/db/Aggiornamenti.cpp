#include "db/Aggiornamenti.h"

#include "db/CatalogoAggiornamenti.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

namespace quirdal {

namespace ag = sql::aggiornamenti;

bool aggiornaDataAvvio(CorsiDB &db)
{
    if (db.esisteColonna(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio")))
        return false;
    Transazione t(db);
    db.aggiungiColonnaTesto(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio"), 10);
    db.esegui(ag::kDataAvvioVuota);
    db.sostituisciQuery(QStringLiteral("QryCorsi"), selectQryCorsi(true, db.motore()));
    t.conferma();
    return true;
}

bool aggiornaSchedeHandicap(CorsiDB &db)
{
    if (db.esisteColonna(QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone")))
        return false;
    Transazione t(db);
    db.esegui(completa(ag::kAggiungiColonnaIntera, {QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone")}));
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

bool schemaPrecedente(CorsiDB &db)
{
    return !db.esisteColonna(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio"))
        || !db.esisteColonna(QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone"))
        || !db.esisteTabella(QStringLiteral("DomandeDefinitive")) || !db.esisteTabella(QStringLiteral("Invii"));
}

int contaCorsiNonPrimiAnni(CorsiDB &db) { return db.valoreScalare(ag::kContaNonPrimiAnni).toInt(); }

int rimuoviCorsiNonPrimiAnni(CorsiDB &db)
{
    // The rows that hang on those courses go with them, so no orphan is left behind.
    Transazione t(db);
    for (const char *figlia : {"CorsiPropSpese", "ValoriChk", "CorsiHandi"})
        db.esegui(completa(ag::kTogliFigliNonPrimiAnni, {QString::fromLatin1(figlia)}));
    const int tolti = db.esegui(ag::kTogliNonPrimiAnni);
    t.conferma();
    return tolti;
}

int riparaDescrizioniQualifiche(CorsiDB &db) { return db.esegui(ag::kRiparaQualifiche); }

int riparaValoriChk(CorsiDB &db) { return db.esegui(ag::kRiparaValoriChk); }

} // namespace quirdal
