#pragma once
// The columns of a query's rows read by name, each name looked up once for the whole query:
// QSqlQuery::value(name) builds the whole record at every call, which costs more than the
// row itself when a loop reads many columns of many rows. The names are the program's own
// literals, known by their address.
#include <QHash>
#include <QLatin1StringView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace quirdal {

class Colonne {
public:
    explicit Colonne(const QSqlQuery &q) : m_q(q), m_record(q.record()) { }

    // The column of the current row; an invalid value when the query has no such column.
    QVariant operator()(const char *nome) const
    {
        auto it = m_indici.constFind(nome);
        if (it == m_indici.cend())
            it = m_indici.insert(nome, m_record.indexOf(QLatin1StringView(nome)));
        return m_q.value(*it);
    }

private:
    const QSqlQuery &m_q;
    const QSqlRecord m_record;
    mutable QHash<const char *, int> m_indici;
};

} // namespace quirdal
