#include "db/CorsiDB.h"

#include "db/CatalogoConnessione.h"
#include "db/Schema.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>

#include <cmath>

namespace quirdal {

namespace tipiAdo {
bool eTesto(int t) { return t == 129 || t == 130 || t == 200 || t == 201 || t == 202 || t == 203; }
bool eNumerico(int t) { return t == SmallInt || t == Integer || t == Double || t == Currency || t == Boolean || t == TinyInt; }
} // namespace tipiAdo

namespace cn = sql::connessione;

namespace {

// Key of the keyed hash that seals the password in the database; fixed in the program.
const QByteArray kChiaveSigillo = QByteArrayLiteral("QUIRDAL-CorsiDB-sigillo-v1");

const QString kAltraPostazioneEsclusiva =
    QStringLiteral("La base dati è aperta da un'altra postazione: impossibile aprirla in modo esclusivo.");
const QString kApertaInEsclusiva = QStringLiteral("La base dati è aperta in modo esclusivo da un'altra postazione.");
const QString kInUso = QStringLiteral("La base dati è in uso da un'altra postazione. Riprovare tra qualche istante.");
const QString kConnessioneInterrotta = QStringLiteral("La connessione al server della base dati si è interrotta.");

QByteArray sigillo(const QString &password, const QByteArray &sale)
{
    return QMessageAuthenticationCode::hash(sale + password.toUtf8(), kChiaveSigillo, QCryptographicHash::Sha256).toHex();
}

int codiceSqlite(const QSqlError &e)
{
    bool ok = false;
    const int c = e.nativeErrorCode().toInt(&ok);
    return ok ? (c & 0xFF) : -1;
}

// The server's message without its severity word ("ERROR:  ") and the lines of detail.
QString testoServer(const QSqlError &e)
{
    static const QRegularExpression gravita(QStringLiteral("^\\s*[A-Z]+:\\s+"));
    QString t = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
    t = t.section(QLatin1Char('\n'), 0, 0).trimmed();
    t.remove(gravita);
    return t;
}

void tipoDaDichiarato(Colonna &c)
{
    static const QRegularExpression reDim(QStringLiteral("\\((\\d+)\\)"));
    const QString t = c.tipoDichiarato.toUpper();
    const auto m = reDim.match(t);
    c.dimensione = m.hasMatch() ? m.captured(1).toInt() : 0;
    // The server names its types in full: "character varying(6)", "character(2)".
    if (t.startsWith(QLatin1String("VARCHAR")) || t.startsWith(QLatin1String("NVARCHAR"))
        || t.startsWith(QLatin1String("CHARACTER VARYING")))
        c.tipo = tipiAdo::VarWChar;
    else if (t.startsWith(QLatin1String("CHAR")) || t.startsWith(QLatin1String("NCHAR")))
        c.tipo = tipiAdo::WChar;
    else if (t.startsWith(QLatin1String("TEXT")) || t.startsWith(QLatin1String("MEMO")) || t.isEmpty())
        c.tipo = tipiAdo::LongVarWChar;
    else if (t.startsWith(QLatin1String("SMALLINT")))
        c.tipo = tipiAdo::SmallInt;
    else if (t.startsWith(QLatin1String("TINYINT")) || t.startsWith(QLatin1String("BYTE")))
        c.tipo = tipiAdo::TinyInt;
    else if (t.startsWith(QLatin1String("INT")) || t.startsWith(QLatin1String("LONG")) || t.startsWith(QLatin1String("BIGINT")))
        c.tipo = tipiAdo::Integer;
    else if (t.startsWith(QLatin1String("DOUBLE")) || t.startsWith(QLatin1String("REAL")) || t.startsWith(QLatin1String("FLOAT")))
        c.tipo = tipiAdo::Double;
    else if (t.startsWith(QLatin1String("DECIMAL")) || t.startsWith(QLatin1String("NUMERIC"))
             || t.startsWith(QLatin1String("CURRENCY")))
        c.tipo = tipiAdo::Currency;
    // SINO: the server's yes/no flag (a smallint that says what it is for).
    else if (t.startsWith(QLatin1String("BIT")) || t.startsWith(QLatin1String("BOOL")) || t == QLatin1String("SINO"))
        c.tipo = tipiAdo::Boolean;
    else if (t.startsWith(QLatin1String("DATE")))
        c.tipo = tipiAdo::Date;
    else
        c.tipo = tipiAdo::LongVarWChar;
}

QString nomePresenzaDi(const QString &percorso)
{
    const QFileInfo fi(percorso);
    return fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".ldb"));
}

// Why a connection to the server was not made, from the text of libpq and of the server (in
// English or Italian, as their language is set): the one place where a message is read,
// since a refused connection carries no SQLSTATE to the driver.
Errore erroreApertura(const QSqlError &e, const DatiConnessione &d)
{
    const QString t = (e.databaseText() + QLatin1Char(' ') + e.driverText()).toLower();
    auto c = [&](const char *parola) { return t.contains(QLatin1String(parola)); };
    const QString server = d.host + QLatin1Char(':') + QString::number(d.porta);
    if ((c("role \"") && c("does not exist")) || (c("ruolo \"") && c("non esiste")) || c("password authentication")
        || c("autenticazione con password") || c("no password supplied") || c("nessuna password") || c("authentication failed")
        || c("autenticazione fallita") || c("pg_hba.conf"))
        return Errore(codici::PasswordErrata,
                      QStringLiteral("Il server della base dati ") + server + QStringLiteral(" non accetta l'utente '") + d.utente
                          + QStringLiteral("' con la password indicata."));
    if ((c("database \"") && (c("does not exist") || c("non esiste"))))
        return Errore(codici::FileNonTrovato,
                      QStringLiteral("La base dati '") + d.nomeDb + QStringLiteral("' non esiste sul server ") + server
                          + QLatin1Char('.'));
    if (c("too many") || c("troppi"))
        return Errore(codici::ConnessioneServer,
                      QStringLiteral("Il server della base dati ") + server + QStringLiteral(" non accetta altre connessioni."));
    return Errore(codici::ConnessioneServer,
                  QStringLiteral("Impossibile collegarsi al server della base dati ") + server
                      + QStringLiteral(": il server non risponde o l'indirizzo è errato (") + testoServer(e)
                      + QStringLiteral(")."));
}

} // namespace

CorsiDB::CorsiDB(QString nomeConnessione) : m_nome(std::move(nomeConnessione))
{
    static QAtomicInt contatore;
    if (m_nome.isEmpty())
        m_nome = QStringLiteral("CorsiDB-%1").arg(contatore.fetchAndAddRelaxed(1) + 1);
}

CorsiDB::~CorsiDB()
{
    try {
        chiudi();
    } catch (...) {
    }
}

QSqlDatabase CorsiDB::database() const { return QSqlDatabase::database(m_nome, false); }

bool CorsiDB::aperto() const { return m_aperto; }

Errore CorsiDB::erroreDa(const QSqlError &e, const QString &contesto, Motore motore)
{
    QString desc;
    long numero = codici::Generico;
    auto duplicato = [&](const QString &dettaglio) {
        numero = 3022;
        desc = QStringLiteral("Le modifiche richieste non sono state apportate perché creerebbero valori "
                              "duplicati nella chiave o violerebbero un vincolo della tabella (")
            + dettaglio + QStringLiteral(").");
    };
    if (motore == Motore::PostgreSQL) {
        // SQLSTATE: its class (two characters) says most.
        const QString s = e.nativeErrorCode();
        if (s.startsWith(QLatin1String("23"))) {
            duplicato(testoServer(e));
        } else if (s == QLatin1String("55P03") || s == QLatin1String("40P01") || s == QLatin1String("40001")) {
            numero = codici::DatabaseBloccato;
            desc = kInUso;
        } else if (s == QLatin1String("22001")) {
            numero = 3163;
            desc = QStringLiteral("Il campo è troppo piccolo per accettare la quantità di dati che si è tentato di "
                                  "aggiungere (")
                + testoServer(e) + QStringLiteral(").");
        } else if (s == QLatin1String("22P02") || s == QLatin1String("22003") || s == QLatin1String("22018")) {
            numero = codici::TipoNonCorrispondente;
            desc = QStringLiteral("Tipo di dati non corrispondente (") + testoServer(e) + QStringLiteral(").");
        } else if (s == QLatin1String("25006")) {
            numero = 3051;
            desc = QStringLiteral("La base dati è di sola lettura: impossibile salvare le modifiche.");
        } else if (s.isEmpty() || s.startsWith(QLatin1String("08")) || s.startsWith(QLatin1String("57P"))) {
            numero = codici::ConnessioneServer;
            desc = kConnessioneInterrotta;
        } else if (s == QLatin1String("53300")) {
            numero = codici::ConnessioneServer;
            desc = QStringLiteral("Il server della base dati non accetta altre connessioni.");
        } else {
            desc = testoServer(e);
        }
    } else {
        switch (codiceSqlite(e)) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            numero = codici::DatabaseBloccato;
            desc = kInUso;
            break;
        case 26: // SQLITE_NOTADB
        case 11: // SQLITE_CORRUPT
            numero = codici::NonUnDatabase;
            desc = QStringLiteral("Formato di base dati non riconosciuto o file danneggiato.");
            break;
        case 19: // SQLITE_CONSTRAINT
            duplicato(e.databaseText());
            break;
        case 8: // SQLITE_READONLY
            numero = 3051;
            desc = QStringLiteral("La base dati è di sola lettura: impossibile salvare le modifiche.");
            break;
        case 14: // SQLITE_CANTOPEN
            numero = codici::FileNonTrovato;
            desc = QStringLiteral("Impossibile aprire il file della base dati.");
            break;
        default:
            desc = e.databaseText().isEmpty() ? e.text() : e.databaseText();
            break;
        }
    }
    if (!contesto.isEmpty())
        desc += QStringLiteral(" [") + contesto + QLatin1Char(']');
    return Errore(numero, desc);
}

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

void CorsiDB::pronta()
{
    if (!m_aperto)
        throw Errore(3704, QStringLiteral("Operazione non consentita se la connessione è chiusa."));
    if (!m_persa)
        return;
    // What was written in the transaction the break cut off is gone: every statement of it
    // is refused until the transaction ends, rather than run outside it.
    if (m_transazione)
        throw Errore(codici::ConnessioneServer,
                     kConnessioneInterrotta + QStringLiteral(" Le modifiche in corso non sono state salvate."));
    try {
        riconnetti();
    } catch (...) {
        // Still out of reach: the next statement tries again.
        m_aperto = true;
        m_persa = true;
        throw;
    }
}

Errore CorsiDB::errore(const QSqlError &e, const QString &sql)
{
    if (motore() == Motore::PostgreSQL) {
        const QString s = e.nativeErrorCode();
        bool persa = s.startsWith(QLatin1String("08")) || s.startsWith(QLatin1String("57P"));
        if (s.isEmpty()) {
            // No answer of the server: see whether it still answers at all.
            QSqlQuery prova(database());
            persa = !prova.exec(cn::kProva.testo(Motore::PostgreSQL));
        }
        if (persa) {
            m_persa = true;
            return Errore(codici::ConnessioneServer, kConnessioneInterrotta);
        }
    }
    return erroreDa(e, sql, motore());
}

// Values as both engines take them: a yes/no bound as 1/0, as SQLite's driver binds it (the
// server would refuse a boolean for its smallint flags).
QVariant CorsiDB::perMotore(const QVariant &v) const
{
    if (motore() == Motore::PostgreSQL && v.typeId() == QMetaType::Bool && !v.isNull())
        return QVariant(v.toBool() ? qlonglong(1) : qlonglong(0));
    return v;
}

int CorsiDB::esegui(const QString &sql, const QVariantList &parametri)
{
    pronta();
    QSqlQuery q(database());
    bool ok;
    if (motore() == Motore::PostgreSQL && parametri.isEmpty()) {
        // Sent as it is: the server prepares only queries, not the statements that begin a
        // transaction or change the schema.
        ok = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            throw errore(q.lastError(), sql);
        for (const QVariant &p : parametri)
            q.addBindValue(perMotore(p));
        ok = q.exec();
    }
    if (!ok)
        throw errore(q.lastError(), sql);
    // A change of the schema: the columns read before may be others now.
    static const QRegularExpression schema(QStringLiteral("^\\s*(ALTER|CREATE|DROP)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (schema.match(sql).hasMatch())
        invalidaCache();
    return q.numRowsAffected();
}

QList<QVariantMap> CorsiDB::righe(const QString &sql, const QVariantList &parametri)
{
    QSqlQuery q = seleziona(sql, parametri);
    QList<QVariantMap> r;
    QStringList nomi;
    while (q.next()) {
        const QSqlRecord rec = q.record();
        if (nomi.isEmpty())
            nomi = nomiCampi(rec, sql);
        QVariantMap riga;
        for (int i = 0; i < rec.count(); ++i)
            riga.insert(nomi.value(i), q.value(i));
        r << riga;
    }
    return r;
}

QVariant CorsiDB::campo(const QVariantMap &riga, const QString &nome)
{
    const auto i = riga.constFind(nome);
    if (i == riga.cend())
        throw Errore(3265, QStringLiteral("Elemento '") + nome + QStringLiteral("' non trovato nell'insieme."));
    return *i;
}

QSqlQuery CorsiDB::seleziona(const QString &sql, const QVariantList &parametri)
{
    pronta();
    QSqlQuery q(database());
    // On the server a forward-only query reads its rows one at a time from the connection, and
    // any other statement run meanwhile (the usual case: a look-up per row) loses them.
    q.setForwardOnly(motore() != Motore::PostgreSQL);
    bool ok;
    if (motore() == Motore::PostgreSQL && parametri.isEmpty()) {
        ok = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            throw errore(q.lastError(), sql);
        for (const QVariant &p : parametri)
            q.addBindValue(perMotore(p));
        ok = q.exec();
    }
    if (!ok)
        throw errore(q.lastError(), sql);
    return q;
}

QVariant CorsiDB::valoreScalare(const QString &sql, const QVariantList &parametri)
{
    QSqlQuery q = seleziona(sql, parametri);
    return q.next() ? q.value(0) : QVariant();
}

void CorsiDB::iniziaTransazione()
{
    if (m_transazione && m_lettura)
        throw Errore(codici::Generico, QStringLiteral("Transazione di sola lettura in corso."));
    if (m_transazione) {
        esegui(completa(cn::kPuntoDiRipresa, {QString::number(m_livello + 1)}));
        ++m_livello;
        return;
    }
    esegui(cn::kIniziaScrittura);
    m_transazione = true;
    m_lettura = false;
    m_livello = 1;
    if (motore() == Motore::PostgreSQL) {
        try {
            esegui(cn::kAttendiScrittori);
        } catch (...) {
            try {
                esegui(cn::kAnnulla);
            } catch (const Errore &) {
            }
            m_transazione = false;
            m_livello = 0;
            throw;
        }
    }
}

void CorsiDB::confermaTransazione()
{
    if (!m_transazione || m_lettura)
        throw Errore(codici::Generico, QStringLiteral("Nessuna transazione da confermare."));
    if (m_livello > 1) {
        esegui(completa(cn::kRilasciaPunto, {QString::number(m_livello)}));
        --m_livello;
        return;
    }
    esegui(cn::kConferma);
    m_transazione = false;
    m_livello = 0;
}

bool CorsiDB::iniziaLettura()
{
    if (m_transazione)
        return false;
    esegui(cn::kIniziaLettura);
    m_transazione = true;
    m_lettura = true;
    return true;
}

void CorsiDB::terminaLettura()
{
    if (!m_transazione)
        return;
    m_transazione = false;
    m_lettura = false;
    if (m_persa)
        return;
    esegui(cn::kConferma);
}

void CorsiDB::annullaTransazione()
{
    if (!m_transazione)
        return;
    invalidaCache();
    if (m_persa) {
        // Nothing left on the server to undo: only the count of the parts.
        if (--m_livello <= 0) {
            m_transazione = false;
            m_lettura = false;
            m_livello = 0;
        }
        return;
    }
    if (m_livello > 1) {
        // Only this part: the outer transaction goes on.
        const QString punto = QString::number(m_livello);
        --m_livello;
        esegui(completa(cn::kTornaAlPunto, {punto}));
        esegui(completa(cn::kRilasciaPunto, {punto}));
        return;
    }
    m_transazione = false;
    m_lettura = false;
    m_livello = 0;
    esegui(cn::kAnnulla);
}

QList<InfoTabella> CorsiDB::elencoTabelle()
{
    QList<InfoTabella> r;
    QSqlQuery q = seleziona(cn::kElencoTabelle);
    const NomiSchema &nomi = nomiSchema();
    while (q.next()) {
        QString nome = q.value(0).toString();
        if (motore() == Motore::PostgreSQL)
            nome = nomi.tabelle.value(nome.toLower(), nome);
        QString tipo = q.value(1).toString() == QLatin1String("view") ? QStringLiteral("VIEW") : QStringLiteral("TABLE");
        if (nome.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)
            || nome.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            tipo = QStringLiteral("SYSTEM TABLE");
        r.append({nome, tipo});
    }
    // In the order of SQLite's NOCASE, whatever the server's collation.
    if (motore() == Motore::PostgreSQL)
        std::stable_sort(r.begin(), r.end(),
                         [](const InfoTabella &a, const InfoTabella &b) { return a.nome.toLower() < b.nome.toLower(); });
    return r;
}

bool CorsiDB::esisteTabella(const QString &nome) { return valoreScalare(cn::kEsisteTabella, {nome}).toInt() > 0; }

QList<Colonna> CorsiDB::colonne(const QString &tabella)
{
    const QString k = tabella.toLower();
    if (auto it = m_cacheColonne.constFind(k); it != m_cacheColonne.constEnd())
        return *it;
    if (!esisteTabella(tabella))
        throw Errore(3078, QStringLiteral("Tabella o query '") + tabella + QStringLiteral("' non trovata."));
    const QHash<QString, QString> nomi = nomiSchema().colonne.value(k);
    QList<Colonna> r;
    QSqlQuery q = seleziona(cn::kColonne, {tabella});
    while (q.next()) {
        Colonna c;
        c.nomeEsatto = q.value(0).toString();
        c.nome = motore() == Motore::PostgreSQL ? nomi.value(c.nomeEsatto.toLower(), c.nomeEsatto) : c.nomeEsatto;
        c.tipoDichiarato = q.value(1).toString();
        c.obbligatoria = q.value(2).toInt() != 0;
        c.posizioneChiave = q.value(3).toInt();
        tipoDaDichiarato(c);
        r.append(c);
    }
    m_cacheColonne.insert(k, r);
    return r;
}

QStringList CorsiDB::nomiCampi(const QSqlRecord &r, const QString &sql, const QString &sorgente) const
{
    QStringList nomi;
    for (int i = 0; i < r.count(); ++i)
        nomi << r.fieldName(i);
    if (motore() != Motore::PostgreSQL)
        return nomi;
    const NomiSchema &schema = nomiSchema();
    // The statement's words, each lower-cased to its first spelling, and the tables it names.
    static const QRegularExpression parola(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QHash<QString, QString> parole;
    QStringList tabelle;
    if (!sorgente.isEmpty())
        tabelle << sorgente.trimmed().toLower();
    for (auto it = parola.globalMatch(sql); it.hasNext();) {
        const QString p = it.next().captured();
        const QString m = p.toLower();
        if (!parole.contains(m))
            parole.insert(m, p);
        if (schema.colonne.contains(m) && !tabelle.contains(m))
            tabelle << m;
    }
    for (QString &n : nomi) {
        // A name the server kept in capitals was quoted: it is as written.
        if (n != n.toLower())
            continue;
        QString trovato;
        if (!sorgente.isEmpty())
            trovato = schema.colonne.value(tabelle.constFirst()).value(n);
        if (trovato.isEmpty())
            trovato = parole.value(n);
        for (qsizetype t = 0; trovato.isEmpty() && t < tabelle.size(); ++t)
            trovato = schema.colonne.value(tabelle[t]).value(n);
        if (trovato.isEmpty())
            trovato = schema.tutte.value(n);
        if (!trovato.isEmpty())
            n = trovato;
    }
    return nomi;
}

QList<Colonna> CorsiDB::chiavePrimaria(const QString &tabella)
{
    QList<Colonna> r;
    for (const Colonna &c : colonne(tabella))
        if (c.posizioneChiave > 0)
            r.append(c);
    std::sort(r.begin(), r.end(), [](const Colonna &a, const Colonna &b) { return a.posizioneChiave < b.posizioneChiave; });
    return r;
}

bool CorsiDB::esisteColonna(const QString &tabella, const QString &colonna)
{
    for (const Colonna &c : colonne(tabella))
        if (c.nome.compare(colonna, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void CorsiDB::aggiungiColonnaTesto(const QString &tabella, const QString &colonna, int dimensione)
{
    // Nullable, and a zero-length text is a value like any other.
    esegui(completa(cn::kAggiungiColonnaTesto, {tabella, colonna, QString::number(dimensione)}));
    invalidaCache();
}

void CorsiDB::sostituisciQuery(const QString &nome, const QString &select)
{
    const bool propria = !m_transazione;
    if (propria)
        iniziaTransazione();
    try {
        esegui(completa(cn::kEliminaVista, {nome}));
        esegui(istruzioneVista(nome, select));
        if (propria)
            confermaTransazione();
    } catch (...) {
        if (propria)
            annullaTransazione();
        throw;
    }
    invalidaCache();
}

QString CorsiDB::definizioneQuery(const QString &nome) { return valoreScalare(cn::kDefinizioneQuery, {nome}).toString(); }

QVariant CorsiDB::convertiPerColonna(const Colonna &c, const QVariant &valore)
{
    if (valore.isNull() || !valore.isValid())
        return QVariant();
    auto errore = [&]() {
        return Errore(codici::TipoNonCorrispondente,
                      QStringLiteral("Tipo di dati non corrispondente nel campo '") + c.nome + QStringLiteral("' (valore '")
                          + valore.toString() + QStringLiteral("')."));
    };
    if (tipiAdo::eTesto(c.tipo)) {
        const QString t = valore.toString();
        if (c.dimensione > 0 && t.size() > c.dimensione)
            throw Errore(3163,
                         QStringLiteral("Il campo '") + c.nome
                             + QStringLiteral("' è troppo piccolo per accettare la quantità di dati "
                                              "che si è tentato di aggiungere (%1 caratteri su %2).")
                                   .arg(t.size())
                                   .arg(c.dimensione));
        return t;
    }
    if (c.tipo == tipiAdo::Date)
        return valore;
    if (c.tipo == tipiAdo::Boolean) {
        const QString t = valore.toString().trimmed().toUpper();
        if (valore.typeId() == QMetaType::Bool)
            return valore.toBool() ? -1 : 0;
        if (t == QLatin1String("TRUE") || t == QLatin1String("VERO") || t == QLatin1String("S") || t == QLatin1String("-1")
            || t == QLatin1String("1"))
            return -1;
        if (t == QLatin1String("FALSE") || t == QLatin1String("FALSO") || t == QLatin1String("N") || t == QLatin1String("0"))
            return 0;
        throw errore();
    }
    // Numbers: an empty text is no number.
    const QString t = valore.toString().trimmed();
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        throw errore();
    if (c.tipo == tipiAdo::Double || c.tipo == tipiAdo::Currency)
        return d;
    const double arrotondato = std::nearbyint(d); // halves to even
    double min = -2147483648.0, max = 2147483647.0;
    if (c.tipo == tipiAdo::SmallInt) {
        min = -32768;
        max = 32767;
    } else if (c.tipo == tipiAdo::TinyInt) {
        min = 0;
        max = 255;
    }
    if (arrotondato < min || arrotondato > max)
        throw Errore(codici::TipoNonCorrispondente,
                     QStringLiteral("Valore fuori dall'intervallo consentito nel campo '") + c.nome
                         + QStringLiteral("' (valore '") + t + QStringLiteral("')."));
    return static_cast<qlonglong>(arrotondato);
}

} // namespace quirdal
