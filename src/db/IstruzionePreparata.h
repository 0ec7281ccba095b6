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

// Rows written to a PostgreSQL server many at a time, for the bulk loads: the values of each
// column gathered as one array in the server's array syntax, and a statement that takes one
// array per column ("?::type[]", one for each column in order: INSERT ... SELECT * FROM
// unnest(...)) run once per block. On a server a row costs a round trip, most of what a row
// costs: per block it is next to nothing. Values are bound as IstruzionePreparata binds them
// and each is written as Qt's driver writes it for a statement of one row, so that the server
// reads the same value either way.
class BloccoDiRighe {
public:
    // The server's limit is far off: the block is sent at this many rows, or characters.
    static constexpr int kRighe = 5000;
    static constexpr qsizetype kCaratteri = qsizetype(1) << 21;

    BloccoDiRighe(CorsiDB &db, const QString &sql, int colonne);
    BloccoDiRighe(const BloccoDiRighe &) = delete;
    BloccoDiRighe &operator=(const BloccoDiRighe &) = delete;

    // The values of the next row: every column once (bound again, the last binding holds).
    void legaNullo(int indice);
    void legaTesto(int indice, const QString &testo);
    void lega(int indice, const QVariant &valore);
    // The row bound is added to the block. Throws when a column was left unbound.
    void aggiungi();
    int righe() const { return m_righe; }
    bool pieno() const { return m_righe >= kRighe || m_caratteri >= kCaratteri; }
    // Runs the statement on the rows added (none: nothing) and empties the block, a row bound
    // and not added included. Throws the server's error; the block is emptied all the same.
    void invia();

private:
    QString &valore(int indice);

    CorsiDB &m_db;
    QString m_sql;
    std::unique_ptr<QSqlQuery> m_q;
    QStringList m_vettori;     // each column's array so far: "{" and the elements of the rows added
    QList<qsizetype> m_inizio; // where the next row's element begins in each
    QList<bool> m_legata;      // the next row's columns bound
    int m_righe = 0;
    qsizetype m_caratteri = 0;
};

} // namespace quirdal
