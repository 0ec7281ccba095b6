// Opening and closing the connection on either engine: the file and its presence marks, the
// server and its advisory locks, the exclusive reconnection.
#include "db/CorsiDB.h"

#include "db/CatalogoConnessione.h"
#include "db/CorsiDBInterno.h"
#include "db/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>

namespace quirdal {

namespace cn = sql::connessione;
using namespace corsidb;

void CorsiDB::impostaPassword(QSqlDatabase &db, const QString &password)
{
    QSqlQuery q(db);
    if (!q.exec(cn::kCreaSigillo.testo()))
        throw erroreDa(q.lastError());
    QByteArray sale(16, '\0');
    for (auto &b : sale)
        b = static_cast<char>(QRandomGenerator::system()->bounded(256));
    const QByteArray saleHex = sale.toHex();
    q.prepare(cn::kScriviSigillo.testo());
    q.addBindValue(QString::fromLatin1(saleHex + ':' + sigillo(password, saleHex)));
    if (!q.exec())
        throw erroreDa(q.lastError());
}

QSqlDatabase CorsiDB::connettiServer(const DatiConnessione &d, const QString &nomeConnessione)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nomeConnessione);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(nomeConnessione);
        throw Errore(codici::ConnessioneServer,
                     QStringLiteral("Manca il driver QPSQL di Qt per collegarsi a PostgreSQL "
                                    "(pacchetto libqt6sql6-psql)."));
    }
    db.setHostName(d.host);
    db.setPort(d.porta);
    db.setDatabaseName(d.nomeDb);
    db.setUserName(d.utente);
    db.setPassword(d.password);
    // A server that does not answer is told within seconds, not after the system's timeout.
    db.setConnectOptions(QStringLiteral("application_name=%1;connect_timeout=10").arg(QLatin1String(kNomeApplicazione)));
    // numeric (the amounts) as its exact decimal text, never through a double.
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!db.open()) {
        const Errore e = erroreApertura(db.lastError(), d);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(nomeConnessione);
        throw e;
    }
    return db;
}

void CorsiDB::apri(const DatiConnessione &dove, const QString &password, ModoApertura modo)
{
    chiudi();
    m_dati = dove;
    m_password = password;
    m_modo = modo;
    apriInterno();
}

void CorsiDB::apriInterno()
{
    if (m_dati.motore == Motore::PostgreSQL)
        apriServer();
    else
        apriFile();
}

int CorsiDB::attesa() const
{
    const int a = m_attesa >= 0 ? m_attesa : (m_modo == ModoApertura::Esclusivo ? 500 : 20000);
    // The server's lock_timeout 0 would wait for ever: the shortest wait it has instead.
    return m_dati.motore == Motore::PostgreSQL ? std::max(a, 1) : a;
}

void CorsiDB::impostaAttesaSessione() { esegui(completa(cn::kAttesa, {QString::number(attesa())})); }

void CorsiDB::impostaAttesa(int millisecondi)
{
    m_attesa = std::max(millisecondi, 0);
    if (m_aperto && !m_persa)
        impostaAttesaSessione();
}

void CorsiDB::apriFile()
{
    const QFileInfo fi(m_dati.file);
    if (m_dati.file.trimmed().isEmpty() || !fi.exists() || !fi.isFile())
        throw Errore(codici::FileNonTrovato,
                     QStringLiteral("Impossibile trovare il file '") + m_dati.file + QStringLiteral("'."));

    // The presence mark first: another workstation's exclusive use is told at once,
    // rather than after the wait for the database's own lock.
    prendiPresenza();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        // mode=rw: an existing file only, never a new empty one in its place.
        const QString uri = QUrl::fromLocalFile(fi.absoluteFilePath()).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw");
        db.setDatabaseName(uri);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(attesa()));
        if (!db.open()) {
            const Errore e = erroreDa(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_nome);
            lasciaPresenza();
            throw e;
        }
    }
    m_aperto = true;
    invalidaCache();
    try {
        QSqlQuery q(database());
        // WAL does not work over a network share: the classic journal, always.
        if (!q.exec(cn::kGiornale.testo()))
            throw erroreDa(q.lastError());
        q.exec(cn::kSincrono.testo());
        if (!q.exec(cn::kLeggiSigillo.testo())) {
            const QSqlError se = q.lastError();
            if (codiceSqlite(se) == 1) // no such table: not a file of ours
                throw Errore(codici::NonUnDatabase,
                             QStringLiteral("Il file '") + m_dati.file + QStringLiteral("' non è una base dati del programma."));
            throw erroreDa(se);
        }
        const QString s = q.next() ? q.value(0).toString() : QString();
        q.finish();
        const int dp = s.indexOf(QLatin1Char(':'));
        if (dp <= 0 || sigillo(m_password, s.left(dp).toLatin1()) != s.mid(dp + 1).toLatin1())
            throw Errore(codici::PasswordErrata, QStringLiteral("Password non valida."));

        if (m_modo == ModoApertura::Esclusivo) {
            if (!q.exec(cn::kModoEsclusivo.testo()))
                throw erroreDa(q.lastError());
            // The first write transaction takes the lock, kept until the file is closed.
            if (!q.exec(cn::kPrendiEsclusivo.testo()))
                throw erroreDa(q.lastError());
            if (!q.exec(cn::kConferma.testo()))
                throw erroreDa(q.lastError());
        }
    } catch (...) {
        chiudi();
        throw;
    }
}

void CorsiDB::apriServer()
{
    connettiServer(m_dati, m_nome);
    m_aperto = true;
    m_persa = false;
    invalidaCache();
    try {
        impostaAttesaSessione();
        prendiPresenzaServer(m_modo);
        QSqlQuery q(database());
        if (!q.exec(cn::kLeggiSigillo.testo(Motore::PostgreSQL))) {
            const QSqlError se = q.lastError();
            if (se.nativeErrorCode() == QLatin1String("42P01")) // no such table: not a database of ours
                throw Errore(codici::NonUnDatabase,
                             QStringLiteral("La base dati ") + m_dati.descrizione()
                                 + QStringLiteral(" non è una base dati del programma."));
            throw erroreDa(se, {}, Motore::PostgreSQL);
        }
        const QString s = q.next() ? q.value(0).toString() : QString();
        q.finish();
        const int dp = s.indexOf(QLatin1Char(':'));
        if (dp <= 0 || sigillo(m_password, s.left(dp).toLatin1()) != s.mid(dp + 1).toLatin1())
            throw Errore(codici::PasswordErrata, QStringLiteral("Password non valida."));
    } catch (...) {
        chiudi();
        throw;
    }
}

// On the server the presence is a session lock on the database's key: shared for a shared
// connection, exclusive for an exclusive one, which also looks for sessions of other programs.
// A session's own lock never stands in its way, so a change of mode takes the new lock before
// it lets the old one go.
void CorsiDB::prendiPresenzaServer(ModoApertura modo)
{
    if (modo == ModoApertura::Esclusivo) {
        bool ok = valoreScalare(cn::kPresenzaEsclusiva).toBool();
        if (ok && valoreScalare(cn::kAltriProgrammi, {QString::fromLatin1(kNomeApplicazione)}).toLongLong() > 0) {
            esegui(cn::kLasciaEsclusiva);
            ok = false;
        }
        if (!ok)
            throw Errore(codici::DatabaseBloccato, kAltraPostazioneEsclusiva);
    } else if (!valoreScalare(cn::kPresenzaCondivisa).toBool()) {
        throw Errore(codici::DatabaseBloccato, kApertaInEsclusiva);
    }
}

void CorsiDB::cambiaModoSulServer(ModoApertura modo)
{
    if (modo == m_modo)
        return;
    prendiPresenzaServer(modo);
    esegui(modo == ModoApertura::Esclusivo ? cn::kLasciaCondivisa : cn::kLasciaEsclusiva);
    m_modo = modo;
    impostaAttesaSessione();
}

// Every connection marks its presence on a lock file beside the database (QUIRDAL.ldb):
// shared ones hold a read lock on it, an exclusive one the write lock, so an exclusive
// open fails while any other workstation is connected, even one that is idle and so
// holds no lock on the database itself.
void CorsiDB::prendiPresenza()
{
    const QString file = nomePresenzaDi(m_dati.file);
    m_nomePresenza = m_nome + QStringLiteral("#presenza");
    {
        QSqlDatabase p = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nomePresenza);
        p.setDatabaseName(file);
        p.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_modo == ModoApertura::Esclusivo ? 0 : 2000));
        if (!p.open()) {
            // A read-only folder: no lock file can be kept; carry on without it.
            p = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_nomePresenza);
            m_nomePresenza.clear();
            return;
        }
        QSqlQuery q(p);
        q.exec(cn::kCreaPresenza.testo());
        bool ok;
        if (m_modo == ModoApertura::Esclusivo) {
            ok = q.exec(cn::kModoEsclusivo.testo()) && q.exec(cn::kPrendiEsclusivo.testo()) && q.exec(cn::kConferma.testo());
        } else {
            ok = q.exec(cn::kIniziaLettura.testo()) && q.exec(cn::kLeggiPresenza.testo()) && q.next();
        }
        q.finish();
        if (!ok) {
            const bool bloccato = codiceSqlite(q.lastError()) == 5 || codiceSqlite(q.lastError()) == 6;
            p.close();
            p = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_nomePresenza);
            m_nomePresenza.clear();
            if (bloccato)
                throw Errore(codici::DatabaseBloccato,
                             m_modo == ModoApertura::Esclusivo ? kAltraPostazioneEsclusiva : kApertaInEsclusiva);
        }
    }
}

void CorsiDB::lasciaPresenza()
{
    if (m_nomePresenza.isEmpty())
        return;
    {
        QSqlDatabase p = QSqlDatabase::database(m_nomePresenza, false);
        if (p.isOpen()) {
            QSqlQuery(p).exec(cn::kAnnulla.testo());
            p.close();
        }
    }
    QSqlDatabase::removeDatabase(m_nomePresenza);
    m_nomePresenza.clear();
}

void CorsiDB::chiudi()
{
    lasciaPresenza();
    if (QSqlDatabase::contains(m_nome)) {
        {
            QSqlDatabase db = database();
            if (db.isOpen()) {
                QSqlQuery q(db);
                if (m_transazione && !m_persa)
                    q.exec(cn::kAnnulla.testo(motore()));
                // The server lets a session's locks go when it notices the session is gone:
                // let them go now, so that the next open (this program's or another's) finds
                // them free.
                if (motore() == Motore::PostgreSQL && !m_persa)
                    q.exec(cn::kLasciaTutto.testo(Motore::PostgreSQL));
                q.finish();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(m_nome);
    }
    m_aperto = false;
    m_persa = false;
    m_transazione = false;
    m_lettura = false;
    m_livello = 0;
    invalidaCache();
}

void CorsiDB::riconnetti()
{
    chiudi();
    apriInterno();
}

void CorsiDB::riapriInModo(ModoApertura modo)
{
    if (motore() == Motore::PostgreSQL && m_aperto && !m_persa && !m_transazione) {
        cambiaModoSulServer(modo);
        return;
    }
    chiudi();
    m_modo = modo;
    apriInterno();
}

bool CorsiDB::riconnettiEsclusivo(Errore *errore)
{
    if (motore() == Motore::PostgreSQL && m_aperto && !m_persa && !m_transazione) {
        try {
            cambiaModoSulServer(ModoApertura::Esclusivo);
            return true;
        } catch (const Errore &e) {
            if (errore)
                *errore = e;
            return false;
        }
    }
    const ModoApertura prima = m_modo;
    chiudi();
    m_modo = ModoApertura::Esclusivo;
    try {
        apriInterno();
        return true;
    } catch (const Errore &e) {
        if (errore)
            *errore = e;
    }
    // Do not leave the program without its connection: go back to the previous mode.
    m_modo = prima;
    try {
        apriInterno();
    } catch (const Errore &) {
    }
    return false;
}

} // namespace quirdal
