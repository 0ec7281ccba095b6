#pragma once
// The one database connection of the program, "CorsiDB": an SQLite file or a database on a
// PostgreSQL server, opened shared or exclusive, its password checked, with SQL execution,
// transactions and schema inspection that mean the same on both engines. Errors are thrown as
// quirdal::Errore.
#include "common/Errori.h"
#include "db/DatiConnessione.h"
#include "db/Istruzione.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class QSqlRecord;

namespace quirdal {

namespace codici {
// The database server cannot be reached, or the connection to it broke.
constexpr long ConnessioneServer = 3151;
} // namespace codici

enum class ModoApertura { Condiviso, Esclusivo };

// ADO-style type codes, which the loaders rely on to tell text columns apart.
namespace tipiAdo {
constexpr int SmallInt = 2, Integer = 3, Double = 5, Currency = 6, Date = 7, Boolean = 11, TinyInt = 17, WChar = 130,
              VarWChar = 202, LongVarWChar = 203;
bool eTesto(int tipo);
bool eNumerico(int tipo);
} // namespace tipiAdo

struct Colonna {
    QString nome;           // as the program's schema spells it
    QString nomeEsatto;     // as the database holds it (the server keeps unquoted names in lower case)
    QString tipoDichiarato; // as in the schema, e.g. "VARCHAR(100)"
    int tipo = tipiAdo::VarWChar;
    int dimensione = 0;      // declared text size, 0 when none
    int posizioneChiave = 0; // 1-based position in the primary key, 0 when not a key column
    bool obbligatoria = false;
};

struct InfoTabella {
    QString nome;
    QString tipo; // "TABLE", "VIEW" or "SYSTEM TABLE"
};

class CorsiDB {
public:
    static constexpr const char *kPassword = "ZK58WQD";

    // Each object has a connection of its own: a name of its own unless one is given.
    explicit CorsiDB(QString nomeConnessione = {});
    ~CorsiDB();
    CorsiDB(const CorsiDB &) = delete;
    CorsiDB &operator=(const CorsiDB &) = delete;

    // Opens an existing database (never creates one). Throws on a missing file or database, a
    // server that cannot be reached or refuses the user, a database that is not one of ours,
    // a wrong password, or, exclusive, a database that another connection holds (on the
    // server: any other workstation, or any other program, connected to it).
    void apri(const DatiConnessione &dove, const QString &password, ModoApertura modo);
    void apri(const QString &percorso, const QString &password, ModoApertura modo)
    {
        apri(DatiConnessione::diFile(percorso), password, modo);
    }
    void chiudi();
    bool aperto() const;
    // Same database, password and mode as the last apri().
    void riconnetti();
    // Closes, then reopens exclusive (on the server the same session changes its lock). On
    // failure the previous mode is restored where possible and the error is returned through
    // *errore.
    bool riconnettiEsclusivo(Errore *errore = nullptr);
    // Reopens the same database in the given mode.
    void riapriInModo(ModoApertura modo);

    // The file of an SQLite database; empty on a server.
    const QString &percorso() const { return m_dati.file; }
    const DatiConnessione &dati() const { return m_dati; }
    ModoApertura modo() const { return m_modo; }
    const QString &nomeConnessione() const { return m_nome; }
    QSqlDatabase database() const;

    // The engine behind the connection: the catalogue's statements take its text.
    Motore motore() const { return m_dati.motore; }

    // How long a statement waits for a lock another workstation holds, in milliseconds (0: it
    // is refused at once). By default about 20 s shared and half a second exclusive.
    void impostaAttesa(int millisecondi);

    // A statement of a catalogue, with bound parameters ('?' placeholders). esegui returns
    // the rows affected.
    int esegui(const Istruzione &i, const QVariantList &parametri = {}) { return esegui(i.testo(motore()), parametri); }
    int esegui(const IstruzioneCompleta &i, const QVariantList &parametri = {}) { return esegui(i.testo(motore()), parametri); }
    QSqlQuery seleziona(const Istruzione &i, const QVariantList &parametri = {})
    {
        return seleziona(i.testo(motore()), parametri);
    }
    QSqlQuery seleziona(const IstruzioneCompleta &i, const QVariantList &parametri = {})
    {
        return seleziona(i.testo(motore()), parametri);
    }
    QVariant valoreScalare(const Istruzione &i, const QVariantList &parametri = {})
    {
        return valoreScalare(i.testo(motore()), parametri);
    }
    QList<QVariantMap> righe(const Istruzione &i, const QVariantList &parametri = {})
    {
        return righe(i.testo(motore()), parametri);
    }

    // SQL given as text: scripts the user runs, tests. The program's own statements are in
    // the catalogues.
    int esegui(const QString &sql, const QVariantList &parametri = {});
    QSqlQuery seleziona(const QString &sql, const QVariantList &parametri = {});
    QVariant valoreScalare(const QString &sql, const QVariantList &parametri = {});
    // Every row of a query, each as its columns by name: for reports that read many
    // columns and few rows.
    QList<QVariantMap> righe(const QString &sql, const QVariantList &parametri = {});
    // A column of a row that righe() read. A name the statement does not select is the
    // program's own fault: an error (3265), never read as an empty value.
    static QVariant campo(const QVariantMap &riga, const QString &nome);

    // Write transaction that takes the write lock at once (SQLite's BEGIN IMMEDIATE; on the
    // server the writers' lock), so that no other workstation writes until it ends. A lock not
    // had within the waiting time is DatabaseBloccato. Begun inside another write transaction
    // it is a part of it (a savepoint): confirmed, it waits for the outer one; cancelled, it
    // undoes only its own part. On the server a statement that fails spoils the transaction
    // it is in (the server's rule): what must go on after a failure runs in a part of its own.
    void iniziaTransazione();
    void confermaTransazione();
    void annullaTransazione();
    bool inTransazione() const { return m_transazione; }
    // How many write transactions are open one inside the other (0: none).
    int livelloTransazione() const { return m_livello; }
    // A read transaction: everything read until it ends sees one state of the file,
    // whatever other workstations write meanwhile. False (and nothing begun) when a
    // transaction is already open, which gives the same guarantee.
    bool iniziaLettura();
    void terminaLettura();

    // Schema.
    QList<InfoTabella> elencoTabelle();
    bool esisteTabella(const QString &nome);
    QList<Colonna> colonne(const QString &tabella);
    QList<Colonna> chiavePrimaria(const QString &tabella);
    bool esisteColonna(const QString &tabella, const QString &colonna);
    void aggiungiColonnaTesto(const QString &tabella, const QString &colonna, int dimensione);
    void sostituisciQuery(const QString &nome, const QString &select);
    QString definizioneQuery(const QString &nome);

    // The names of a result's columns as the program's SQL spells them: the server gives back
    // in lower case what was written without quotes. The columns of the source (a table or
    // view) first, then the statement's own words, the columns of the tables it names (as the
    // database describes them), of the whole schema.
    QStringList nomiCampi(const QSqlRecord &r, const QString &sql, const QString &sorgente = {});

    // Converts a value to what the column's declared type holds: a text that is not a
    // number for a numeric column is an error, not a text stored in a number's place.
    static QVariant convertiPerColonna(const Colonna &c, const QVariant &valore);

    // Before a statement run on database() directly (the bulk statements): a connection to the
    // server that broke is opened again, unless a transaction was open on it (that one is lost:
    // told until it ends). Throws when it cannot be.
    void pronta();
    // A driver error of a statement of this connection, as erroreDa, noting a connection to
    // the server that broke.
    Errore errore(const QSqlError &e, const QString &contesto);

    // Turns a driver error into our own (number and Italian description).
    static Errore erroreDa(const QSqlError &e, const QString &contesto = {}, Motore motore = Motore::SQLite);

    // Creates the password record in a freshly created database (used by the schema).
    static void impostaPassword(QSqlDatabase &db, const QString &password);

    // A connection of the given name to a database on a server, for the layer's own uses (the
    // creation of the schema, the program's connection): numbers read exactly, the program's
    // name given to the server. Throws the Italian message of a server that cannot be reached,
    // an unknown database, a refused user or password (never the password itself).
    static QSqlDatabase connettiServer(const DatiConnessione &dove, const QString &nomeConnessione);
    // The name the program's sessions carry on the server.
    static constexpr const char *kNomeApplicazione = "QUIRDAL";

private:
    void apriInterno();
    void apriFile();
    void apriServer();
    void prendiPresenza();
    void lasciaPresenza();
    void prendiPresenzaServer(ModoApertura modo);
    void cambiaModoSulServer(ModoApertura modo);
    void impostaAttesaSessione();
    int attesa() const;
    QVariant perMotore(const QVariant &v) const;
    // Runs sql on q with its parameters bound; throws the statement's error.
    void eseguiSu(QSqlQuery &q, const QString &sql, const QVariantList &parametri);
    void invalidaCache() { m_cacheColonne.clear(); }
    // A table's or view's columns by the server's name, each as the program spells it: as the
    // database describes them, as the schema has them when the database has no such table.
    QHash<QString, QString> nomiColonne(const QString &tabella);
    // On the server: the name of a column as the program spells it, kept beside the column.
    void conservaNome(const QString &tabella, const QString &nomeEsatto, const QString &nome);

    QString m_nome;
    DatiConnessione m_dati;
    QString m_password;
    ModoApertura m_modo = ModoApertura::Condiviso;
    bool m_aperto = false;
    bool m_transazione = false;
    bool m_lettura = false; // the open transaction is a read transaction
    int m_livello = 0;
    bool m_persa = false; // the connection to the server broke
    int m_attesa = -1;    // set by impostaAttesa; -1: the mode's own
    QString m_nomePresenza;
    QHash<QString, QList<Colonna>> m_cacheColonne;
};

// Rolls back unless conferma() was called. Inside another one it is a part of it: see
// CorsiDB::iniziaTransazione.
class Transazione {
public:
    explicit Transazione(CorsiDB &db) : m_db(db) { m_db.iniziaTransazione(); }
    ~Transazione()
    {
        if (!m_fatta) {
            try {
                m_db.annullaTransazione();
            } catch (...) {
            }
        }
    }
    void conferma()
    {
        m_db.confermaTransazione();
        m_fatta = true;
    }
    Transazione(const Transazione &) = delete;
    Transazione &operator=(const Transazione &) = delete;
private:
    CorsiDB &m_db;
    bool m_fatta = false;
};

// A read transaction for the length of a scope.
class Lettura {
public:
    explicit Lettura(CorsiDB &db) : m_db(db), m_propria(db.iniziaLettura()) { }
    ~Lettura()
    {
        if (m_propria) {
            try {
                m_db.terminaLettura();
            } catch (...) {
            }
        }
    }
    Lettura(const Lettura &) = delete;
    Lettura &operator=(const Lettura &) = delete;
private:
    CorsiDB &m_db;
    bool m_propria;
};

} // namespace quirdal
