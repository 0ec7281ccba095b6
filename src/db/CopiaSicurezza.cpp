#include "db/CopiaSicurezza.h"

#include "common/Errori.h"
#include "common/PuntiArresto.h"
#include "db/CatalogoCopie.h"
#include "db/CopiaTraBasiDati.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace quirdal {

QString percorsoCopiaSicurezza(const QString &percorsoDb)
{
    // A database on a server has no file beside which to keep one.
    return percorsoDb.isEmpty() ? QString() : percorsoDb + QStringLiteral("_BAK");
}

void togliCopiaSicurezza(const QString &percorsoDb)
{
    const QString copia = percorsoCopiaSicurezza(percorsoDb);
    if (!copia.isEmpty())
        QFile::remove(copia);
}

bool fileIntegro(const QString &file)
{
    if (!QFileInfo(file).isFile())
        return false;
    const QString nome = QStringLiteral("verifica-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        d.setDatabaseName(file);
        d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (d.open()) {
            QSqlQuery q(d);
            // A database of the program (an empty file would pass the check as an empty database).
            ok = q.exec(sql::copie::kVerificaIntegrita.testo()) && q.next() && q.value(0).toString() == QLatin1String("ok")
                && q.exec(sql::copie::kFileDelProgramma.testo()) && q.next() && q.value(0).toInt() == 1;
            q.finish();
            d.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return ok;
}

bool copiaConsistente(CorsiDB &db, const QString &destinazione, Sostituzione sostituzione)
{
    if (!db.aperto() || db.inTransazione())
        return false;
    const QFileInfo esistente(destinazione);
    if (sostituzione == Sostituzione::Mai && (esistente.exists() || esistente.isSymLink()))
        return false;
    const QString temporaneo = destinazione + QStringLiteral(".tmp");
    QFile::remove(temporaneo);
    try {
        // A server's database becomes a new file of the program holding its rows.
        if (db.motore() == Motore::PostgreSQL)
            scriviInFile(db, temporaneo);
        else
            db.esegui(sql::copie::kCopiaInFile, {temporaneo});
    } catch (const Errore &) {
        QFile::remove(temporaneo);
        return false;
    }
    if (!fileIntegro(temporaneo)) {
        QFile::remove(temporaneo);
        return false;
    }
    if (sostituzione == Sostituzione::Mai) {
        // A rename that never replaces: a file made meanwhile under that name stays as it is.
        const bool ok = QFile::rename(temporaneo, destinazione);
        QFile::remove(temporaneo);
        return ok;
    }
    // Renamed over the older file in one step: the older one stays until the new one is whole.
    QSaveFile fuori(destinazione);
    QFile dentro(temporaneo);
    bool ok = fuori.open(QIODevice::WriteOnly) && dentro.open(QIODevice::ReadOnly);
    while (ok && !dentro.atEnd()) {
        const QByteArray pezzo = dentro.read(1 << 20);
        ok = !pezzo.isEmpty() && fuori.write(pezzo) == pezzo.size();
    }
    dentro.close();
    ok = ok && fuori.commit();
    if (!ok)
        fuori.cancelWriting();
    QFile::remove(temporaneo);
    return ok;
}

bool copiaSicurezza(CorsiDB &db)
{
    // On the server the load's own transaction is the way back: the server undoes it whole,
    // also when the connection breaks half-way.
    if (db.motore() == Motore::PostgreSQL)
        return true;
    return copiaConsistente(db, percorsoCopiaSicurezza(db.percorso()));
}

namespace {

// The server's data replaced by the file's in one transaction: all of them or, on any
// failure, none.
bool sostituisciSulServer(CorsiDB &db, const QString &copia)
{
    CorsiDB file(QStringLiteral("sostituzione-") + QUuid::createUuid().toString(QUuid::Id128));
    try {
        file.apri(copia, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        Transazione t(db);
        for (const QString &tabella : tabelleSchema())
            db.esegui(completa(sql::copie::kSvuota, {tabella}));
        copiaRighe(file, db);
        allineaContatori(db);
        puntoDiArresto("sostituzione");
        t.conferma();
        return true;
    } catch (const Errore &) {
        return false;
    }
}

} // namespace

bool sostituisciDatabase(CorsiDB &db, const QString &percorsoDb, const QString &copia)
{
    if (!fileIntegro(copia))
        return false;
    if (db.motore() == Motore::PostgreSQL)
        return db.aperto() && sostituisciSulServer(db, copia);
    const bool eraAperto = db.aperto();
    db.chiudi();
    QSaveFile fuori(percorsoDb);
    QFile dentro(copia);
    bool ok = fuori.open(QIODevice::WriteOnly) && dentro.open(QIODevice::ReadOnly);
    while (ok && !dentro.atEnd()) {
        const QByteArray pezzo = dentro.read(1 << 20);
        ok = !pezzo.isEmpty() && fuori.write(pezzo) == pezzo.size();
    }
    if (ok) {
        puntoDiArresto("sostituzione");
        // A journal left by an interrupted write belongs to the file being replaced:
        // replayed onto the copy it would corrupt it.
        QFile::remove(percorsoDb + QStringLiteral("-journal"));
        ok = fuori.commit();
    } else {
        fuori.cancelWriting();
    }
    if (eraAperto || ok) {
        try {
            db.riconnetti();
        } catch (const Errore &) {
            return false;
        }
    }
    return ok && db.aperto();
}

bool ripristinaCopiaSicurezza(CorsiDB &db, const QString &percorsoDb)
{
    if (db.motore() == Motore::PostgreSQL) {
        // Nothing to put back: the server undid the unfinished transaction itself. Whole again
        // once the connection is.
        try {
            if (!db.aperto() || db.inTransazione())
                db.riconnetti();
            return true;
        } catch (const Errore &) {
            return false;
        }
    }
    const QString bak = percorsoCopiaSicurezza(percorsoDb);
    if (!sostituisciDatabase(db, percorsoDb, bak))
        return false;
    QFile::remove(bak);
    return true;
}

} // namespace quirdal
