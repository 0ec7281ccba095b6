#pragma once
// The database of the program: every table with its key and columns (the column
// order of a lookup table is the field order of its data file), every saved query as
// a view, and the creation of a new empty database file from them.
#include "db/DatiConnessione.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace quirdal {

struct OpzioniNuovoDatabase {
    // The layout of the previous release: CorsiProp without DataAvvio and the old
    // QryCorsi. Used to check the start-up upgrades.
    bool versionePrecedente = false;
};

// Creates the file (which must not exist), with the schema and the password seal.
// The file is built under a temporary name and renamed when complete.
void creaDatabase(const QString &percorso, const QString &password, const OpzioniNuovoDatabase &opzioni = {});
// The same on either engine: on a server, the schema in its database, which must exist and be
// empty (one that holds tables is refused, as an existing file is), all in one transaction.
void creaDatabase(const DatiConnessione &dove, const QString &password, const OpzioniNuovoDatabase &opzioni = {});

// The statements that build the schema, in order. One script for both engines: on the server
// the types that differ are written as it names them (amounts numeric, yes/no flags the
// smallint domain SINO, the counter an identity column).
QStringList istruzioniSchema(const OpzioniNuovoDatabase &opzioni = {}, Motore motore = Motore::SQLite);

// The statement that makes a saved query (a view) of the given SELECT.
QString istruzioneVista(const QString &nome, const QString &select);

// The names of the schema as the program spells them, by their lower-case form: the tables
// and views, the columns of each, and every column name of the schema (the first spelling
// met). The server gives back in lower case every name written without quotes.
struct NomiSchema {
    QHash<QString, QString> tabelle;
    QHash<QString, QHash<QString, QString>> colonne;
    QHash<QString, QString> tutte;
};
const NomiSchema &nomiSchema();

// The tables of the schema, in its order.
QStringList tabelleSchema();
// The statement that creates one table of the schema (with its indexes' statements after it),
// as a new database gets it: the upgrades create a table added since with the same text.
QStringList istruzioniTabella(const QString &tabella);

// The tables that hold the agency's own data (operators, sites and their child tables,
// previous activities, courses, costs, check values, handicap sheets, applications):
// never loaded from a lookup-table file, whatever the files and flags say. Every other
// table is a lookup table of the call and loads from its file.
bool tabellaDellEnte(const QString &tabella);

// Saved queries: name and SELECT.
struct QuerySalvata {
    QString nome;
    QString select;
    // The server's text where its types make it differ (empty: select).
    QString selectPostgres = {};
    const QString &perMotore(Motore m) const
    {
        return m == Motore::PostgreSQL && !selectPostgres.isEmpty() ? selectPostgres : select;
    }
};
QList<QuerySalvata> querySalvate(bool conDataAvvio = true);
QString selectQryCorsi(bool conDataAvvio, Motore motore = Motore::SQLite);

} // namespace quirdal
