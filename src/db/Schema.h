#pragma once
// The database of the program: every table with its key and columns (the column
// order of a lookup table is the field order of its data file), every saved query as
// a view, and the creation of a new empty database file from them.
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
void creaDatabase(const QString &percorso, const QString &password,
                  const OpzioniNuovoDatabase &opzioni = {});

// The statements that build the schema, in order.
QStringList istruzioniSchema(const OpzioniNuovoDatabase &opzioni = {});

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
};
QList<QuerySalvata> querySalvate(bool conDataAvvio = true);
QString selectQryCorsi(bool conDataAvvio);

} // namespace quirdal
