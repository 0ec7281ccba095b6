#include "db/CorsiDB.h"

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
bool eNumerico(int t)
{
    return t == SmallInt || t == Integer || t == Double || t == Currency || t == Boolean || t == TinyInt;
}
} // namespace tipiAdo

namespace {

const QString kTabellaSistema = QStringLiteral("MSysQuirdal");
// Key of the keyed hash that seals the password in the file; fixed in the program.
const QByteArray kChiaveSigillo = QByteArrayLiteral("QUIRDAL-CorsiDB-sigillo-v1");

QByteArray sigillo(const QString &password, const QByteArray &sale)
{
    return QMessageAuthenticationCode::hash(sale + password.toUtf8(), kChiaveSigillo,
                                            QCryptographicHash::Sha256)
        .toHex();
}

int codiceSqlite(const QSqlError &e)
{
    bool ok = false;
    const int c = e.nativeErrorCode().toInt(&ok);
    return ok ? (c & 0xFF) : -1;
}

void tipoDaDichiarato(Colonna &c)
{
    static const QRegularExpression reDim(QStringLiteral("\\((\\d+)\\)"));
    const QString t = c.tipoDichiarato.toUpper();
    const auto m = reDim.match(t);
    c.dimensione = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (t.startsWith(QLatin1String("VARCHAR")) || t.startsWith(QLatin1String("NVARCHAR")))
        c.tipo = tipiAdo::VarWChar;
    else if (t.startsWith(QLatin1String("CHAR")) || t.startsWith(QLatin1String("NCHAR")))
        c.tipo = tipiAdo::WChar;
    else if (t.startsWith(QLatin1String("TEXT")) || t.startsWith(QLatin1String("MEMO")) || t.isEmpty())
        c.tipo = tipiAdo::LongVarWChar;
    else if (t.startsWith(QLatin1String("SMALLINT")))
        c.tipo = tipiAdo::SmallInt;
    else if (t.startsWith(QLatin1String("TINYINT")) || t.startsWith(QLatin1String("BYTE")))
        c.tipo = tipiAdo::TinyInt;
    else if (t.startsWith(QLatin1String("INT")) || t.startsWith(QLatin1String("LONG"))
             || t.startsWith(QLatin1String("BIGINT")))
        c.tipo = tipiAdo::Integer;
    else if (t.startsWith(QLatin1String("DOUBLE")) || t.startsWith(QLatin1String("REAL"))
             || t.startsWith(QLatin1String("FLOAT")))
        c.tipo = tipiAdo::Double;
    else if (t.startsWith(QLatin1String("DECIMAL")) || t.startsWith(QLatin1String("NUMERIC"))
             || t.startsWith(QLatin1String("CURRENCY")))
        c.tipo = tipiAdo::Currency;
    else if (t.startsWith(QLatin1String("BIT")) || t.startsWith(QLatin1String("BOOL")))
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

Errore CorsiDB::erroreDa(const QSqlError &e, const QString &contesto)
{
    const int c = codiceSqlite(e);
    QString desc;
    long numero = codici::Generico;
    switch (c) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        numero = codici::DatabaseBloccato;
        desc = QStringLiteral("La base dati è in uso da un'altra postazione. Riprovare tra qualche istante.");
        break;
    case 26: // SQLITE_NOTADB
    case 11: // SQLITE_CORRUPT
        numero = codici::NonUnDatabase;
        desc = QStringLiteral("Formato di base dati non riconosciuto o file danneggiato.");
        break;
    case 19: // SQLITE_CONSTRAINT
        numero = 3022;
        desc = QStringLiteral("Le modifiche richieste non sono state apportate perché creerebbero valori "
                              "duplicati nella chiave o violerebbero un vincolo della tabella (")
            + e.databaseText() + QStringLiteral(").");
        break;
    case 8:  // SQLITE_READONLY
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
    if (!contesto.isEmpty())
        desc += QStringLiteral(" [") + contesto + QLatin1Char(']');
    return Errore(numero, desc);
}

void CorsiDB::impostaPassword(QSqlDatabase &db, const QString &password)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + kTabellaSistema
                + QStringLiteral(" (Chiave VARCHAR(50) PRIMARY KEY, Valore TEXT)")))
        throw erroreDa(q.lastError());
    QByteArray sale(16, '\0');
    for (auto &b : sale)
        b = static_cast<char>(QRandomGenerator::system()->bounded(256));
    const QByteArray saleHex = sale.toHex();
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO ") + kTabellaSistema
              + QStringLiteral(" (Chiave, Valore) VALUES ('Sigillo', ?)"));
    q.addBindValue(QString::fromLatin1(saleHex + ':' + sigillo(password, saleHex)));
    if (!q.exec())
        throw erroreDa(q.lastError());
}

void CorsiDB::apri(const QString &percorso, const QString &password, ModoApertura modo)
{
    chiudi();
    m_percorso = percorso;
    m_password = password;
    m_modo = modo;
    apriInterno();
}

void CorsiDB::apriInterno()
{
    const QFileInfo fi(m_percorso);
    if (m_percorso.trimmed().isEmpty() || !fi.exists() || !fi.isFile())
        throw Errore(codici::FileNonTrovato,
                     QStringLiteral("Impossibile trovare il file '") + m_percorso + QStringLiteral("'."));

    // The presence mark first: another workstation's exclusive use is told at once,
    // rather than after the wait for the database's own lock.
    prendiPresenza();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        // mode=rw: an existing file only, never a new empty one in its place.
        const QString uri = QUrl::fromLocalFile(fi.absoluteFilePath()).toString(QUrl::FullyEncoded)
            + QStringLiteral("?mode=rw");
        db.setDatabaseName(uri);
        const int attesa = m_modo == ModoApertura::Esclusivo ? 500 : 20000;
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(attesa));
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
        QSqlDatabase db = database();
        QSqlQuery q(db);
        // WAL does not work over a network share, and the file may be opened either way.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
            throw erroreDa(q.lastError());
        q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        if (!q.exec(QStringLiteral("SELECT Valore FROM ") + kTabellaSistema
                    + QStringLiteral(" WHERE Chiave='Sigillo'"))) {
            const QSqlError se = q.lastError();
            if (codiceSqlite(se) == 1) // no such table: not a file of ours
                throw Errore(codici::NonUnDatabase,
                             QStringLiteral("Il file '") + m_percorso
                                 + QStringLiteral("' non è una base dati del programma."));
            throw erroreDa(se);
        }
        const QString s = q.next() ? q.value(0).toString() : QString();
        q.finish();
        const int dp = s.indexOf(QLatin1Char(':'));
        if (dp <= 0 || sigillo(m_password, s.left(dp).toLatin1()) != s.mid(dp + 1).toLatin1())
            throw Errore(codici::PasswordErrata, QStringLiteral("Password non valida."));

        if (m_modo == ModoApertura::Esclusivo) {
            if (!q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")))
                throw erroreDa(q.lastError());
            // The first write transaction takes the lock, kept until the file is closed.
            if (!q.exec(QStringLiteral("BEGIN EXCLUSIVE")))
                throw erroreDa(q.lastError());
            if (!q.exec(QStringLiteral("COMMIT")))
                throw erroreDa(q.lastError());
        }
    } catch (...) {
        chiudi();
        throw;
    }
}

// Every connection marks its presence on a lock file beside the database (QUIRDAL.ldb):
// shared ones hold a read lock on it, an exclusive one the write lock, so an exclusive
// open fails while any other workstation is connected, even one that is idle and so
// holds no lock on the database itself.
void CorsiDB::prendiPresenza()
{
    const QString file = nomePresenzaDi(m_percorso);
    m_nomePresenza = m_nome + QStringLiteral("#presenza");
    {
        QSqlDatabase p = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nomePresenza);
        p.setDatabaseName(file);
        p.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1")
                                .arg(m_modo == ModoApertura::Esclusivo ? 0 : 2000));
        if (!p.open()) {
            // A read-only folder: no lock file can be kept; carry on without it.
            p = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_nomePresenza);
            m_nomePresenza.clear();
            return;
        }
        QSqlQuery q(p);
        q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS Presenza (x INTEGER)"));
        bool ok;
        if (m_modo == ModoApertura::Esclusivo) {
            ok = q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"))
                && q.exec(QStringLiteral("BEGIN EXCLUSIVE")) && q.exec(QStringLiteral("COMMIT"));
        } else {
            ok = q.exec(QStringLiteral("BEGIN")) && q.exec(QStringLiteral("SELECT count(*) FROM Presenza"))
                && q.next();
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
                             m_modo == ModoApertura::Esclusivo
                                 ? QStringLiteral("La base dati è aperta da un'altra postazione: "
                                                  "impossibile aprirla in modo esclusivo.")
                                 : QStringLiteral("La base dati è aperta in modo esclusivo da un'altra "
                                                  "postazione."));
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
            QSqlQuery(p).exec(QStringLiteral("ROLLBACK"));
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
                if (m_transazione)
                    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(m_nome);
    }
    m_aperto = false;
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
    chiudi();
    m_modo = modo;
    apriInterno();
}

bool CorsiDB::riconnettiEsclusivo(Errore *errore)
{
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

int CorsiDB::esegui(const QString &sql, const QVariantList &parametri)
{
    if (!m_aperto)
        throw Errore(3704, QStringLiteral("Operazione non consentita se la connessione è chiusa."));
    QSqlQuery q(database());
    if (!q.prepare(sql))
        throw erroreDa(q.lastError(), sql);
    for (const QVariant &p : parametri)
        q.addBindValue(p);
    if (!q.exec())
        throw erroreDa(q.lastError(), sql);
    if (sql.trimmed().startsWith(QLatin1String("ALTER"), Qt::CaseInsensitive)
        || sql.trimmed().startsWith(QLatin1String("CREATE"), Qt::CaseInsensitive)
        || sql.trimmed().startsWith(QLatin1String("DROP"), Qt::CaseInsensitive))
        invalidaCache();
    return q.numRowsAffected();
}

QList<QVariantMap> CorsiDB::righe(const QString &sql, const QVariantList &parametri)
{
    QSqlQuery q = seleziona(sql, parametri);
    QList<QVariantMap> r;
    while (q.next()) {
        QVariantMap riga;
        const QSqlRecord rec = q.record();
        for (int i = 0; i < rec.count(); ++i)
            riga.insert(rec.fieldName(i), q.value(i));
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
    if (!m_aperto)
        throw Errore(3704, QStringLiteral("Operazione non consentita se la connessione è chiusa."));
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw erroreDa(q.lastError(), sql);
    for (const QVariant &p : parametri)
        q.addBindValue(p);
    if (!q.exec())
        throw erroreDa(q.lastError(), sql);
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
        esegui(QStringLiteral("SAVEPOINT quirdal_%1").arg(m_livello + 1));
        ++m_livello;
        return;
    }
    esegui(QStringLiteral("BEGIN IMMEDIATE"));
    m_transazione = true;
    m_lettura = false;
    m_livello = 1;
}

void CorsiDB::confermaTransazione()
{
    if (!m_transazione || m_lettura)
        throw Errore(codici::Generico, QStringLiteral("Nessuna transazione da confermare."));
    if (m_livello > 1) {
        esegui(QStringLiteral("RELEASE SAVEPOINT quirdal_%1").arg(m_livello));
        --m_livello;
        return;
    }
    esegui(QStringLiteral("COMMIT"));
    m_transazione = false;
    m_livello = 0;
}

bool CorsiDB::iniziaLettura()
{
    if (m_transazione)
        return false;
    esegui(QStringLiteral("BEGIN DEFERRED"));
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
    esegui(QStringLiteral("COMMIT"));
}

void CorsiDB::annullaTransazione()
{
    if (!m_transazione)
        return;
    invalidaCache();
    if (m_livello > 1) {
        // Only this part: the outer transaction goes on.
        const QString punto = QStringLiteral("quirdal_%1").arg(m_livello);
        --m_livello;
        esegui(QStringLiteral("ROLLBACK TO SAVEPOINT ") + punto);
        esegui(QStringLiteral("RELEASE SAVEPOINT ") + punto);
        return;
    }
    m_transazione = false;
    m_lettura = false;
    m_livello = 0;
    esegui(QStringLiteral("ROLLBACK"));
}

QList<InfoTabella> CorsiDB::elencoTabelle()
{
    QList<InfoTabella> r;
    QSqlQuery q = seleziona(QStringLiteral(
        "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') ORDER BY name COLLATE NOCASE"));
    while (q.next()) {
        const QString nome = q.value(0).toString();
        QString tipo = q.value(1).toString() == QLatin1String("view") ? QStringLiteral("VIEW")
                                                                       : QStringLiteral("TABLE");
        if (nome.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)
            || nome.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            tipo = QStringLiteral("SYSTEM TABLE");
        r.append({nome, tipo});
    }
    return r;
}

bool CorsiDB::esisteTabella(const QString &nome)
{
    return valoreScalare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('table','view') "
                                        "AND name = ? COLLATE NOCASE"),
                         {nome})
               .toInt()
        > 0;
}

QList<Colonna> CorsiDB::colonne(const QString &tabella)
{
    const QString k = tabella.toLower();
    if (auto it = m_cacheColonne.constFind(k); it != m_cacheColonne.constEnd())
        return *it;
    if (!esisteTabella(tabella))
        throw Errore(3078, QStringLiteral("Tabella o query '") + tabella + QStringLiteral("' non trovata."));
    QList<Colonna> r;
    QString nomeQuotato = tabella;
    nomeQuotato.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    QSqlQuery q = seleziona(QStringLiteral("PRAGMA table_info(\"") + nomeQuotato + QStringLiteral("\")"));
    while (q.next()) {
        Colonna c;
        c.nome = q.value(1).toString();
        c.tipoDichiarato = q.value(2).toString();
        c.obbligatoria = q.value(3).toInt() != 0;
        c.posizioneChiave = q.value(5).toInt();
        tipoDaDichiarato(c);
        r.append(c);
    }
    m_cacheColonne.insert(k, r);
    return r;
}

QList<Colonna> CorsiDB::chiavePrimaria(const QString &tabella)
{
    QList<Colonna> r;
    for (const Colonna &c : colonne(tabella))
        if (c.posizioneChiave > 0)
            r.append(c);
    std::sort(r.begin(), r.end(),
              [](const Colonna &a, const Colonna &b) { return a.posizioneChiave < b.posizioneChiave; });
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
    esegui(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 VARCHAR(%3)").arg(tabella, colonna).arg(dimensione));
    invalidaCache();
}

void CorsiDB::sostituisciQuery(const QString &nome, const QString &select)
{
    const bool propria = !m_transazione;
    if (propria)
        iniziaTransazione();
    try {
        esegui(QStringLiteral("DROP VIEW IF EXISTS ") + nome);
        esegui(QStringLiteral("CREATE VIEW ") + nome + QStringLiteral(" AS ") + select);
        if (propria)
            confermaTransazione();
    } catch (...) {
        if (propria)
            annullaTransazione();
        throw;
    }
    invalidaCache();
}

QString CorsiDB::definizioneQuery(const QString &nome)
{
    return valoreScalare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='view' AND name = ? "
                                        "COLLATE NOCASE"),
                         {nome})
        .toString();
}

QVariant CorsiDB::convertiPerColonna(const Colonna &c, const QVariant &valore)
{
    if (valore.isNull() || !valore.isValid())
        return QVariant();
    auto errore = [&]() {
        return Errore(codici::TipoNonCorrispondente,
                      QStringLiteral("Tipo di dati non corrispondente nel campo '") + c.nome
                          + QStringLiteral("' (valore '") + valore.toString() + QStringLiteral("')."));
    };
    if (tipiAdo::eTesto(c.tipo)) {
        const QString t = valore.toString();
        if (c.dimensione > 0 && t.size() > c.dimensione)
            throw Errore(3163, QStringLiteral("Il campo '") + c.nome
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
        if (t == QLatin1String("TRUE") || t == QLatin1String("VERO") || t == QLatin1String("S")
            || t == QLatin1String("-1") || t == QLatin1String("1"))
            return -1;
        if (t == QLatin1String("FALSE") || t == QLatin1String("FALSO") || t == QLatin1String("N")
            || t == QLatin1String("0"))
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
