#pragma once
// A statement prepared once and run for many rows, for the bulk loads: it speaks to
// SQLite directly through the connection's handle (the per-value cost of the generic
// binding is most of a load's time), and falls back to QSqlQuery on another driver.
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace quirdal {

class IstruzionePreparata {
public:
    IstruzionePreparata(CorsiDB &db, const QString &sql);
    ~IstruzionePreparata();
    IstruzionePreparata(const IstruzionePreparata &) = delete;
    IstruzionePreparata &operator=(const IstruzionePreparata &) = delete;

    void legaNullo(int indice);
    void legaTesto(int indice, const QString &testo);
    // Integers and doubles as numbers, texts as texts, an invalid QVariant as Null.
    void lega(int indice, const QVariant &valore);
    void legaTutti(const QVariantList &valori)
    {
        for (int i = 0; i < valori.size(); ++i)
            lega(i, valori[i]);
    }
    // Runs the statement with the values bound; throws on failure. The bindings stay
    // until rebound.
    void esegui();

    // Reading a SELECT row by row: the next row, false at the end (throws on failure).
    bool prossima();
    int numeroColonne() const;
    QString nomeColonna(int i) const;
    // Integers and doubles as numbers, texts as QString, Null as an invalid QVariant.
    QVariant colonna(int i) const;

private:
    QString m_sql;
    sqlite3 *m_h = nullptr;
    sqlite3_stmt *m_st = nullptr;
    std::unique_ptr<QSqlQuery> m_q; // another driver
    bool m_avviata = false;
};

} // namespace quirdal
