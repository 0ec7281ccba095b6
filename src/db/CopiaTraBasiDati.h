#pragma once
// Rows moved between two databases of the program, whatever engine each is on: how a server's
// data become a file of the program (backup, safety copy) and how a file's data go onto a
// server (restore, the move from the shared file to the server).
#include <QList>
#include <QString>
#include <QVariantList>

namespace quirdal {

class CorsiDB;

struct RigheCopiate {
    QString tabella;
    qint64 righe = 0;
};

// Copies the rows of the given tables (all the schema's when empty) from one database into
// the other, over the columns both have: an older database may lack a column added since.
// With an operator's key (GrupOpe, Operatore) only that operator's rows, of the tables that
// have those columns. The destination takes them as they come: the caller empties it first
// and holds its transaction. Throws on the first row refused.
QList<RigheCopiate> copiaRighe(CorsiDB &da, CorsiDB &a, const QStringList &tabelle = {},
                               const QVariantList &chiaveOperatore = {});

// Puts the counters of the destination (the laboratories' numbers) past the highest number
// copied, so that the next row it numbers is a new one. Nothing to do on SQLite.
void allineaContatori(CorsiDB &db);

// The whole of a database written into a new file of the program, read in one snapshot:
// its schema, its password, its rows. The file must not exist.
void scriviInFile(CorsiDB &da, const QString &file);

} // namespace quirdal
