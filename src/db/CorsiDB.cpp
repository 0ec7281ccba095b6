#include "db/CorsiDB.h"

#include "db/CatalogoConnessione.h"
#include "db/CorsiDBInterno.h"
#include "db/Schema.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace quirdal {

namespace cn = sql::connessione;

using namespace corsidb;

namespace {
// A Null read back as SQLite's driver gives it, whatever the column: a null text. The server's
// driver gives a Null of the column's type, which reads as "0" where a number was left empty.
QVariant letto(const QVariant &v, Motore motore)
{
    if (motore == Motore::PostgreSQL && v.isNull() && v.typeId() != QMetaType::QString)
        return QVariant(QMetaType::fromType<QString>());
    return v;
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
    eseguiSu(q, sql, parametri);
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
            riga.insert(nomi.value(i), letto(q.value(i), motore()));
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
    eseguiSu(q, sql, parametri);
    return q;
}

void CorsiDB::eseguiSu(QSqlQuery &q, const QString &sql, const QVariantList &parametri)
{
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
}

QVariant CorsiDB::valoreScalare(const QString &sql, const QVariantList &parametri)
{
    QSqlQuery q = seleziona(sql, parametri);
    return q.next() ? letto(q.value(0), motore()) : QVariant();
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

} // namespace quirdal
