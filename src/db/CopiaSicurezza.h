#pragma once
// Copies of the database file: consistent while the program holds it, checked by the
// database's own integrity check, and put back in place of the database in one rename,
// so that no moment leaves the program folder without a whole database.
#include <QString>

namespace quirdal {

class CorsiDB;

QString percorsoCopiaSicurezza(const QString &percorsoDb); // path + "_BAK"
// Removes the safety copy of a file database; a database on a server has none.
void togliCopiaSicurezza(const QString &percorsoDb);

// The file opens as a database of the program and passes PRAGMA integrity_check.
bool fileIntegro(const QString &file);

// A consistent copy of the open database (written by the database itself while no write
// is pending), checked, under the given name; an older file there is replaced only by a
// good copy, and with Sostituzione::Mai never (false then, the older file untouched).
// False, and nothing changed, on any failure.
enum class Sostituzione { Ammessa, Mai };
bool copiaConsistente(CorsiDB &db, const QString &destinazione, Sostituzione sostituzione = Sostituzione::Ammessa);

// The "_BAK" copy taken before a bulk load.
bool copiaSicurezza(CorsiDB &db);

// Puts a checked copy in place of the database: the connection is closed, the copy
// written beside the database and renamed over it in one step, and the connection
// reopened as it was. The copy itself is left where it is. False when the copy is not a
// whole database (nothing is touched then) or the replacement failed (the old file is
// still there, whole).
bool sostituisciDatabase(CorsiDB &db, const QString &percorsoDb, const QString &copia);

// Puts the "_BAK" copy back and removes it once the database has been replaced.
bool ripristinaCopiaSicurezza(CorsiDB &db, const QString &percorsoDb);

} // namespace quirdal
