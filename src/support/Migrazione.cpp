#include "support/Migrazione.h"

#include "common/Errori.h"
#include "common/FileTemporanei.h"
#include "common/PuntiArresto.h"
#include "db/Aggiornamenti.h"
#include "db/CatalogoCopie.h"
#include "db/CopiaSicurezza.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "support/Backup.h"

#include <QFileInfo>
#include <QUuid>

namespace quirdal {

namespace {

const QString kDaMigrare = QStringLiteral("da migrare");

QString nomeConnessione(const QString &ruolo) { return ruolo + QUuid::createUuid().toString(QUuid::Id128); }

QString password() { return QString::fromLatin1(CorsiDB::kPassword); }

QString testoRighe(qint64 n) { return n == 1 ? QStringLiteral("1 riga") : QString::number(n) + QStringLiteral(" righe"); }

// The earlier shapes brought up to date, as the start-up and a restore do.
void aggiorna(CorsiDB &db)
{
    aggiornaDataAvvio(db);
    aggiornaSchedeHandicap(db);
    aggiornaInvii(db);
}

// The destination opened exclusively, its schema made first when it has none.
void apriDestinazione(CorsiDB &db, const DatiConnessione &dove)
{
    if (dove.motore == Motore::SQLite) {
        if (!QFileInfo::exists(dove.file))
            creaDatabase(dove, password());
    } else {
        try {
            db.apri(dove, password(), ModoApertura::Esclusivo);
            return;
        } catch (const Errore &e) {
            // A database without the program's tables; one with tables of another program is
            // refused by the creation itself.
            if (e.numero() != codici::NonUnDatabase)
                throw;
        }
        creaDatabase(dove, password());
    }
    db.apri(dove, password(), ModoApertura::Esclusivo);
}

// The agency's tables that hold rows already, each with how many: "CorsiOper (2 righe)".
QStringList datiDellEnte(CorsiDB &db)
{
    QStringList r;
    for (const QString &tabella : tabelleSchema()) {
        if (!tabellaDellEnte(tabella))
            continue;
        const qint64 n = db.valoreScalare(completa(sql::copie::kContaRighe, {tabella}).testo(db.motore())).toLongLong();
        if (n > 0)
            r << tabella + QStringLiteral(" (") + testoRighe(n) + QLatin1Char(')');
    }
    return r;
}

} // namespace

QString testoRigheCopiate(const RigheCopiate &r) { return r.tabella + QStringLiteral(": ") + testoRighe(r.righe); }

EsitoMigrazione migraBaseDati(const QString &file, const DatiConnessione &destinazione)
{
    EsitoMigrazione r;
    const QFileInfo sorgente(file);
    if (!sorgente.isFile()) {
        r.errore = QStringLiteral("Impossibile trovare il file '") + file + QStringLiteral("'.");
        return r;
    }
    if (destinazione.motore == Motore::SQLite && QFileInfo::exists(destinazione.file)
        && sorgente.canonicalFilePath() == QFileInfo(destinazione.file).canonicalFilePath()) {
        r.errore = QStringLiteral("Il file da migrare è la base dati stessa di questa installazione.");
        return r;
    }
    // Nothing of the destination is touched, its schema included, before the file passes.
    r.errore = controllaBaseDatiDelProgramma(file, kDaMigrare);
    if (!r.errore.isEmpty())
        return r;

    const auto lavoro = cartellaTemporaneaPrivata(QStringLiteral("migra"));
    if (!lavoro) {
        r.errore = QStringLiteral("Impossibile creare una cartella temporanea per la copia della base dati da migrare.");
        return r;
    }
    CorsiDB originale(nomeConnessione(QStringLiteral("migrazione-originale-")));
    try {
        originale.apri(file, password(), ModoApertura::Esclusivo);
    } catch (const Errore &e) {
        r.errore = QStringLiteral("La base dati da migrare non si apre: ") + e.descrizione();
        return r;
    }
    const QString copia = lavoro->filePath(QStringLiteral("QUIRDAL.mdb"));
    if (!copiaConsistente(originale, copia, Sostituzione::Mai)) {
        r.errore = QStringLiteral("Impossibile ottenere una copia integra della base dati da migrare.");
        return r;
    }
    CorsiDB dati(nomeConnessione(QStringLiteral("migrazione-copia-")));
    try {
        dati.apri(copia, password(), ModoApertura::Esclusivo);
        aggiorna(dati);
    } catch (const Errore &e) {
        r.errore = QStringLiteral("Impossibile aggiornare la copia della base dati da migrare: ") + e.descrizione();
        return r;
    }

    CorsiDB db(nomeConnessione(QStringLiteral("migrazione-")));
    try {
        apriDestinazione(db, destinazione);
    } catch (const Errore &e) {
        r.errore = QStringLiteral("La base dati di destinazione ") + destinazione.descrizione() + QStringLiteral(" non si apre: ")
            + e.descrizione();
        return r;
    }
    try {
        Transazione t(db);
        const QStringList occupate = datiDellEnte(db);
        if (!occupate.isEmpty()) {
            r.errore = QStringLiteral("La base dati di destinazione ") + destinazione.descrizione()
                + QStringLiteral(" contiene già dati dell'ente: ") + occupate.join(QStringLiteral(", "))
                + QStringLiteral(". La migrazione si fa soltanto in una base dati che non ne ha.");
            return r;
        }
        // An empty file of an earlier release takes the columns the rows bring.
        aggiorna(db);
        for (const QString &tabella : tabelleSchema())
            if (!tabellaDellEnte(tabella))
                db.esegui(completa(sql::copie::kSvuota, {tabella}));
        for (const QString &tabella : tabelleSchema()) {
            r.righe << copiaRighe(dati, db, {tabella});
            puntoDiArresto("migrazione");
        }
        allineaContatori(db);
        t.conferma();
    } catch (const Errore &e) {
        r.righe.clear();
        r.errore = QStringLiteral("Migrazione interrotta: nessun dato è stato copiato nella base dati di destinazione. ")
            + e.descrizione();
    }
    return r;
}

} // namespace quirdal
