#pragma once
// A statement prepared once and run for many rows, for the bulk loads and the reads of the
// transmission file. It takes one of two roads, with the same results:
// - direct: SQLite's C API on the handle of Qt's driver, a little faster (no QVariant and no
//   bookkeeping of Qt's per value). Compiled in only where the build proved that Qt's
//   SQLite driver and this program use the very same SQLite library
//   (QUIRDAL_SQLITE_CONDIVISO), and the running driver names the same SQLite source: a handle
//   made by one copy of SQLite must never be driven by another copy, as it would be where
//   Qt's plugin carries its own.
// - portable: one QSqlQuery prepared once, values bound by position, run again for each row.
//   Any driver, any platform.
// Both bind integers as integers, reals as reals, anything else as text and an invalid or
// null QVariant as Null, and read back qlonglong, double, QString or an invalid QVariant.
// On a PostgreSQL server only the portable road is there; an exact number (numeric, the
// amounts) reads back as its decimal text.
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace quirdal {

class IstruzionePreparata {
public:
    enum class Via { Diretta, Portabile };

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

    // Reading a SELECT row by row: the next row, false at the end (throws on failure); after
    // the end the next call runs the statement again.
    bool prossima();
    // The columns of a SELECT. Ask once the values are bound: the portable road learns them
    // only by running the statement.
    int numeroColonne();
    QString nomeColonna(int i);
    // Integers and doubles as numbers, texts as QString, Null as an invalid QVariant.
    QVariant colonna(int i) const;

    // The road this statement took.
    Via via() const { return m_st ? Via::Diretta : Via::Portabile; }
    // Whether this build has the direct road.
    static bool viaDirettaCompilata();
    // The road of the statements prepared from now on: the direct one where it is compiled
    // in and the connection is SQLite's, unless the environment says QUIRDAL_SQLITE_PORTABILE=1
    // or a test or benchmark chose the portable one. Asking for the direct road where it is
    // not compiled in leaves the portable one.
    static Via viaScelta();
    static void scegliVia(Via v);

private:
    void avviaLettura();
    void legaPortabile(int indice, const QVariant &valore);

    CorsiDB &m_db;
    QString m_sql;
    sqlite3 *m_h = nullptr;
    sqlite3_stmt *m_st = nullptr;
    std::unique_ptr<QSqlQuery> m_q; // the portable road
    QStringList m_nomi;             // its name of each position, once known ("?": bound by position)
    QStringList m_nomiColonne;      // the names of the columns read, as the program spells them
    bool m_avviata = false;
};

} // namespace quirdal
