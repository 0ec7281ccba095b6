#include "db/CopiaSicurezza.h"

#include "common/Errori.h"
#include "common/PuntiArresto.h"
#include "db/CatalogoCopie.h"
#include "db/CorsiDB.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace quirdal {

QString percorsoCopiaSicurezza(const QString &percorsoDb) { return percorsoDb + QStringLiteral("_BAK"); }

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
            ok = q.exec(sql::copie::kVerificaIntegrita.testo()) && q.next()
                && q.value(0).toString() == QLatin1String("ok")
                && q.exec(sql::copie::kFileDelProgramma.testo()) && q.next()
                && q.value(0).toInt() == 1;
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
        // A copy of a server's database is another matter (its rows written into a new file
        // of the program); the statement has no text there, and the copy is refused.
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

bool copiaSicurezza(CorsiDB &db) { return copiaConsistente(db, percorsoCopiaSicurezza(db.percorso())); }

bool sostituisciDatabase(CorsiDB &db, const QString &percorsoDb, const QString &copia)
{
    if (!fileIntegro(copia))
        return false;
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
    const QString bak = percorsoCopiaSicurezza(percorsoDb);
    if (!sostituisciDatabase(db, percorsoDb, bak))
        return false;
    QFile::remove(bak);
    return true;
}

} // namespace quirdal
