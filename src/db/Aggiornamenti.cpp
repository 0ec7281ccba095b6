#include "db/Aggiornamenti.h"

#include "db/CatalogoAggiornamenti.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QStringList>

namespace quirdal {

namespace ag = sql::aggiornamenti;

namespace {
// What each upgrade looks for: the one test, shared by the upgrade and by schemaPrecedente.
bool mancaDataAvvio(CorsiDB &db) { return !db.esisteColonna(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio")); }
bool mancaNumPersone(CorsiDB &db) { return !db.esisteColonna(QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone")); }
const QStringList &tabelleInvii()
{
    static const QStringList t = {QStringLiteral("DomandeDefinitive"), QStringLiteral("Invii")};
    return t;
}
} // namespace

bool schemaPrecedente(CorsiDB &db)
{
    if (mancaDataAvvio(db) || mancaNumPersone(db))
        return true;
    for (const QString &tabella : tabelleInvii())
        if (!db.esisteTabella(tabella))
            return true;
    return false;
}

bool aggiornaDataAvvio(CorsiDB &db)
{
    if (!mancaDataAvvio(db))
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
    if (!mancaNumPersone(db))
        return false;
    Transazione t(db);
    db.esegui(completa(ag::kAggiungiColonnaIntera, {QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone")}));
    // The saved query of the sheets selects CorsiHandi.*: a server fixes a view's columns when
    // it is made, so it is made again to show the new one (SQLite reads the star each time).
    for (const QuerySalvata &q : querySalvate())
        if (q.nome == QLatin1String("qryhandi"))
            db.sostituisciQuery(q.nome, q.perMotore(db.motore()));
    t.conferma();
    return true;
}

bool aggiornaInvii(CorsiDB &db)
{
    bool creata = false;
    Transazione t(db);
    for (const QString &tabella : tabelleInvii()) {
        if (db.esisteTabella(tabella))
            continue;
        for (const QString &istruzione : istruzioniTabella(tabella))
            db.esegui(istruzione);
        creata = true;
    }
    t.conferma();
    return creata;
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
