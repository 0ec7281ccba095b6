#include "db/IstruzionePreparata.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

namespace quirdal {

namespace {
Errore erroreSqlite(sqlite3 *h, const QString &sql)
{
    QSqlError e(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::StatementError,
                QString::number(sqlite3_extended_errcode(h)));
    return CorsiDB::erroreDa(e, sql.left(120));
}
} // namespace

IstruzionePreparata::IstruzionePreparata(CorsiDB &db, const QString &sql) : m_sql(sql)
{
    QSqlDatabase d = db.database();
    const QVariant h = d.isValid() && d.driver() ? d.driver()->handle() : QVariant();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        m_h = *static_cast<sqlite3 *const *>(h.constData());
    if (m_h) {
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v2(m_h, u.constData(), static_cast<int>(u.size()), &m_st, nullptr) != SQLITE_OK)
            throw erroreSqlite(m_h, sql);
        return;
    }
    m_q = std::make_unique<QSqlQuery>(d);
    if (!m_q->prepare(sql))
        throw CorsiDB::erroreDa(m_q->lastError(), sql);
}

IstruzionePreparata::~IstruzionePreparata()
{
    if (m_st)
        sqlite3_finalize(m_st);
}

void IstruzionePreparata::legaNullo(int indice)
{
    if (m_st)
        sqlite3_bind_null(m_st, indice + 1);
    else
        m_q->bindValue(indice, QVariant());
}

void IstruzionePreparata::legaTesto(int indice, const QString &testo)
{
    if (!m_st) {
        m_q->bindValue(indice, testo);
        return;
    }
    sqlite3_bind_text16(m_st, indice + 1, testo.utf16(), static_cast<int>(testo.size() * sizeof(char16_t)),
                        SQLITE_TRANSIENT);
}

void IstruzionePreparata::lega(int indice, const QVariant &valore)
{
    if (!m_st) {
        m_q->bindValue(indice, valore);
        return;
    }
    if (!valore.isValid() || valore.isNull()) {
        sqlite3_bind_null(m_st, indice + 1);
        return;
    }
    switch (valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Bool:
        sqlite3_bind_int64(m_st, indice + 1, valore.toLongLong());
        break;
    case QMetaType::Double:
        sqlite3_bind_double(m_st, indice + 1, valore.toDouble());
        break;
    default:
        legaTesto(indice, valore.toString());
        break;
    }
}

void IstruzionePreparata::esegui()
{
    if (!m_st) {
        if (!m_q->exec())
            throw CorsiDB::erroreDa(m_q->lastError(), m_sql);
        return;
    }
    const int rc = sqlite3_step(m_st);
    sqlite3_reset(m_st);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw erroreSqlite(m_h, m_sql);
}

bool IstruzionePreparata::prossima()
{
    if (!m_st) {
        if (!m_avviata) {
            m_avviata = true;
            m_q->setForwardOnly(true);
            if (!m_q->exec())
                throw CorsiDB::erroreDa(m_q->lastError(), m_sql);
        }
        return m_q->next();
    }
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

int IstruzionePreparata::numeroColonne() const
{
    return m_st ? sqlite3_column_count(m_st) : m_q->record().count();
}

QString IstruzionePreparata::nomeColonna(int i) const
{
    if (!m_st)
        return m_q->record().fieldName(i);
    return QString::fromUtf8(sqlite3_column_name(m_st, i));
}

QVariant IstruzionePreparata::colonna(int i) const
{
    if (!m_st)
        return m_q->value(i);
    switch (sqlite3_column_type(m_st, i)) {
    case SQLITE_INTEGER: return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_st, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_st, i));
    case SQLITE_NULL: return QVariant();
    default: {
        const void *t = sqlite3_column_text16(m_st, i);
        const int n = sqlite3_column_bytes16(m_st, i);
        return QString(reinterpret_cast<const QChar *>(t), n / 2);
    }
    }
}

} // namespace quirdal
