#include "db/IstruzionePreparata.h"

#include "db/CatalogoConnessione.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSize>

#include <atomic>

#ifdef QUIRDAL_SQLITE_CONDIVISO
#include <sqlite3.h>
#endif

namespace quirdal {

namespace {

// The road chosen for the next statements; -1 until the environment has been read.
std::atomic<int> g_via{-1};

// What the SQL names in a message about it.
QString contesto(const QString &sql) { return sql.left(120); }

// A text as both roads bind it: a null QString is an empty text, not Null (Qt's driver would
// make it Null).
QString testoPerSqlite(const QString &testo) { return testo.isNull() ? QStringLiteral("") : testo; }

// A value as both roads bind it: integers as qlonglong, reals as double, Null as an invalid
// QVariant, anything else as its text.
QVariant perSqlite(const QVariant &valore)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    switch (valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return valore.toLongLong();
    case QMetaType::Double:
        return valore.toDouble();
    case QMetaType::QString:
        if (!static_cast<const QString *>(valore.constData())->isNull())
            return valore;
        [[fallthrough]];
    default:
        return testoPerSqlite(valore.toString());
    }
}

#ifdef QUIRDAL_SQLITE_CONDIVISO
// The build proved that Qt's driver loads this program's SQLite; the running process must
// agree (a driver plugin swapped at run time would not): the SQLite behind the connection
// names the same source as this one. Asked once per process.
bool stessaSqlite(const QSqlDatabase &d)
{
    static std::atomic<int> esito{-1};
    int e = esito.load();
    if (e < 0) {
        QSqlQuery q(d);
        if (!q.exec(sql::connessione::kSorgenteSqlite.testo()) || !q.next())
            return false;
        e = q.value(0).toString() == QString::fromLatin1(sqlite3_sourceid()) ? 1 : 0;
        if (!e)
            qWarning("SQLite del driver Qt diversa da quella del programma: istruzioni sulla via portabile");
        esito.store(e);
    }
    return e == 1;
}

Errore erroreSqlite(sqlite3 *h, const QString &sql)
{
    QSqlError e(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::StatementError,
                QString::number(sqlite3_extended_errcode(h)));
    return CorsiDB::erroreDa(e, contesto(sql));
}
#endif

} // namespace

bool IstruzionePreparata::viaDirettaCompilata()
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    return true;
#else
    return false;
#endif
}

IstruzionePreparata::Via IstruzionePreparata::viaScelta()
{
    int v = g_via.load();
    if (v < 0) {
        v = static_cast<int>(viaDirettaCompilata() && qEnvironmentVariableIntValue("QUIRDAL_SQLITE_PORTABILE") == 0
                                 ? Via::Diretta
                                 : Via::Portabile);
        int atteso = -1;
        if (!g_via.compare_exchange_strong(atteso, v))
            v = atteso;
    }
    return static_cast<Via>(v);
}

void IstruzionePreparata::scegliVia(Via v) { g_via.store(static_cast<int>(viaDirettaCompilata() ? v : Via::Portabile)); }

IstruzionePreparata::IstruzionePreparata(CorsiDB &db, const QString &sql) : m_db(db), m_sql(sql)
{
    db.pronta();
    QSqlDatabase d = db.database();
#ifdef QUIRDAL_SQLITE_CONDIVISO
    const QVariant h = viaScelta() == Via::Diretta && d.isValid() && d.driver() ? d.driver()->handle() : QVariant();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0 && stessaSqlite(d))
        m_h = *static_cast<sqlite3 *const *>(h.constData());
    if (m_h) {
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v2(m_h, u.constData(), static_cast<int>(u.size()), &m_st, nullptr) != SQLITE_OK)
            throw erroreSqlite(m_h, sql);
        return;
    }
#endif
    m_q = std::make_unique<QSqlQuery>(d);
    if (!m_q->prepare(sql))
        throw db.errore(m_q->lastError(), contesto(sql));
}

IstruzionePreparata::~IstruzionePreparata()
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st)
        sqlite3_finalize(m_st);
#endif
}

void IstruzionePreparata::legaNullo(int indice)
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st) {
        sqlite3_bind_null(m_st, indice + 1);
        return;
    }
#endif
    legaPortabile(indice, QVariant());
}

void IstruzionePreparata::legaTesto(int indice, const QString &testo)
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st) {
        sqlite3_bind_text16(m_st, indice + 1, testo.utf16(), static_cast<int>(testo.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
        return;
    }
#endif
    legaPortabile(indice, testoPerSqlite(testo));
}

void IstruzionePreparata::lega(int indice, const QVariant &valore)
{
    const QVariant v = perSqlite(valore);
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st) {
        switch (v.typeId()) {
        case QMetaType::UnknownType:
            sqlite3_bind_null(m_st, indice + 1);
            break;
        case QMetaType::LongLong:
            sqlite3_bind_int64(m_st, indice + 1, v.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(m_st, indice + 1, v.toDouble());
            break;
        default:
            legaTesto(indice, v.toString());
            break;
        }
        return;
    }
#endif
    legaPortabile(indice, v);
}

// Qt's positional binding files every value under a name it formats anew each time (in Qt
// 6.4 that is most of the portable road's cost per row). Binding by that name is a lookup:
// so the first value of a position is bound by position, and Qt's name for it is used from
// then on only once binding through it has been seen to reach that very position.
void IstruzionePreparata::legaPortabile(int indice, const QVariant &valore)
{
    if (indice < m_nomi.size()) {
        const QString &nome = m_nomi[indice];
        if (nome.size() > 1)
            m_q->bindValue(nome, valore);
        else
            m_q->bindValue(indice, valore);
        return;
    }
    if (indice > m_nomi.size()) {
        // A position skipped: bound by position like any it does not know.
        m_q->bindValue(indice, valore);
        return;
    }
    const QVariant sonda = QVariant::fromValue(QSize(-1, -1)); // no value this class binds
    m_q->bindValue(indice, sonda);
    const QString nome = QLatin1Char(':') + QString::number(indice);
    m_q->bindValue(nome, valore);
    if (m_q->boundValue(indice) == valore && m_q->boundValue(indice).typeId() == valore.typeId()) {
        m_nomi << nome;
    } else {
        m_nomi << QStringLiteral("?");
        m_q->bindValue(indice, valore);
    }
}

void IstruzionePreparata::esegui()
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st) {
        const int rc = sqlite3_step(m_st);
        sqlite3_reset(m_st);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            throw erroreSqlite(m_h, m_sql);
        return;
    }
#endif
    if (!m_q->exec())
        throw m_db.errore(m_q->lastError(), contesto(m_sql));
    // A statement that gave rows is put back at once, as on the direct road: no read stays
    // open on the connection. (Qt's driver resets one that ran to its end by itself.)
    if (m_q->isSelect())
        m_q->finish();
}

void IstruzionePreparata::avviaLettura()
{
    if (m_avviata)
        return;
    // On the server a forward-only query reads its rows one at a time from the connection, and
    // any other statement run meanwhile loses them: there the rows come whole.
    m_q->setForwardOnly(m_db.motore() != Motore::PostgreSQL);
    if (!m_q->exec())
        throw m_db.errore(m_q->lastError(), contesto(m_sql));
    m_avviata = true;
}

bool IstruzionePreparata::prossima()
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st) {
        m_avviata = true;
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW)
            return true;
        sqlite3_reset(m_st);
        m_avviata = false;
        if (rc != SQLITE_DONE)
            throw erroreSqlite(m_h, m_sql);
        return false;
    }
#endif
    avviaLettura();
    if (m_q->next())
        return true;
    m_avviata = false;
    const QSqlError e = m_q->lastError();
    m_q->finish();
    if (e.isValid())
        throw m_db.errore(e, contesto(m_sql));
    return false;
}

int IstruzionePreparata::numeroColonne()
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st)
        return sqlite3_column_count(m_st);
#endif
    avviaLettura();
    return m_q->record().count();
}

QString IstruzionePreparata::nomeColonna(int i)
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st)
        return QString::fromUtf8(sqlite3_column_name(m_st, i));
#endif
    avviaLettura();
    // The server gives back in lower case the names written without quotes: the names as the
    // program's SQL spells them, as SQLite gives them.
    if (m_nomiColonne.isEmpty())
        m_nomiColonne = m_db.nomiCampi(m_q->record(), m_sql);
    return m_nomiColonne.value(i);
}

QVariant IstruzionePreparata::colonna(int i) const
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (m_st) {
        switch (sqlite3_column_type(m_st, i)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_st, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_st, i));
        case SQLITE_NULL:
            return QVariant();
        default: {
            const void *t = sqlite3_column_text16(m_st, i);
            const int n = sqlite3_column_bytes16(m_st, i);
            return QString(reinterpret_cast<const QChar *>(t), n / 2);
        }
        }
    }
#endif
    // Qt's driver gives Null as a null QString and a blob as bytes: the direct road's values.
    const QVariant v = m_q->value(i);
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    // The server's integers come as int or unsigned: as SQLite's, qlonglong.
    case QMetaType::Int:
        return qlonglong(*static_cast<const int *>(v.constData()));
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::ULongLong:
        return v.toLongLong();
    case QMetaType::Bool:
        return qlonglong(v.toBool() ? 1 : 0);
    default:
        return v;
    }
}

BloccoDiRighe::BloccoDiRighe(CorsiDB &db, const QString &sql, int colonne)
    : m_db(db), m_sql(sql), m_vettori(colonne, QStringLiteral("{")), m_inizio(colonne, 1), m_legata(colonne, false)
{
    db.pronta();
    m_q = std::make_unique<QSqlQuery>(db.database());
    if (!m_q->prepare(sql))
        throw db.errore(m_q->lastError(), contesto(sql));
}

// The element of the column for the row being bound, emptied: after the rows already added.
QString &BloccoDiRighe::valore(int indice)
{
    QString &v = m_vettori[indice];
    v.truncate(m_inizio[indice]);
    if (m_righe)
        v += QLatin1Char(',');
    m_legata[indice] = true;
    return v;
}

void BloccoDiRighe::legaNullo(int indice) { valore(indice) += QLatin1String("NULL"); }

void BloccoDiRighe::legaTesto(int indice, const QString &testo)
{
    // Quoted, with "\" and '"' escaped: any text is one element as it is (a null text is an
    // empty one, as on the other road).
    QString &v = valore(indice);
    v.reserve(v.size() + testo.size() + 2);
    v += QLatin1Char('"');
    qsizetype da = 0;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar ch = testo[i];
        if (ch == u'"' || ch == u'\\') {
            v.append(testo.constData() + da, i - da);
            v += QLatin1Char('\\');
            da = i;
        }
    }
    v.append(testo.constData() + da, testo.size() - da);
    v += QLatin1Char('"');
}

void BloccoDiRighe::lega(int indice, const QVariant &valore)
{
    const QVariant v = perSqlite(valore);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        legaNullo(indice);
        return;
    case QMetaType::LongLong:
        this->valore(indice) += QString::number(v.toLongLong());
        return;
    case QMetaType::QString:
        legaTesto(indice, *static_cast<const QString *>(v.constData()));
        return;
    default: {
        // A real number as the driver writes it for one row: the same digits.
        QSqlField campo(QString(), v.metaType());
        campo.setValue(v);
        const QString t = m_db.database().driver()->formatValue(campo);
        if (t.startsWith(QLatin1Char('\'')))
            legaTesto(indice, t.mid(1, t.size() - 2).replace(QLatin1String("''"), QLatin1String("'")));
        else
            this->valore(indice) += QLatin1Char('"') + t + QLatin1Char('"');
        return;
    }
    }
}

void BloccoDiRighe::aggiungi()
{
    if (m_legata.contains(false))
        throw Errore(codici::Generico, QStringLiteral("Riga incompleta per ") + contesto(m_sql));
    for (qsizetype i = 0; i < m_vettori.size(); ++i) {
        m_caratteri += m_vettori[i].size() - m_inizio[i];
        m_inizio[i] = m_vettori[i].size();
        m_legata[i] = false;
    }
    ++m_righe;
}

void BloccoDiRighe::invia()
{
    const int righe = m_righe;
    for (qsizetype i = 0; i < m_vettori.size(); ++i) {
        m_vettori[i].truncate(m_inizio[i]);
        m_vettori[i] += QLatin1Char('}');
        m_q->bindValue(static_cast<int>(i), m_vettori[i]);
        m_vettori[i] = QStringLiteral("{");
        m_inizio[i] = 1;
        m_legata[i] = false;
    }
    m_righe = 0;
    m_caratteri = 0;
    if (righe == 0)
        return;
    m_db.pronta();
    const bool ok = m_q->exec();
    // The arrays bound go with the statement's text: nothing of them is kept.
    for (qsizetype i = 0; i < m_vettori.size(); ++i)
        m_q->bindValue(static_cast<int>(i), QVariant());
    if (!ok)
        throw m_db.errore(m_q->lastError(), contesto(m_sql));
}

} // namespace quirdal
