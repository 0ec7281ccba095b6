#pragma once
// An office's data moved from a database file of the program into another database of the
// program, normally the one on the office's server: the file checked as a restore checks an
// archive, an earlier shape of it brought up to date as a restore does, and its rows copied
// into a destination that holds none of the agency's data yet, all of them or none.
#include "db/CopiaTraBasiDati.h"
#include "db/DatiConnessione.h"

#include <QList>
#include <QString>

namespace quirdal {

struct EsitoMigrazione {
    // Why nothing was moved, in Italian; empty when everything was.
    QString errore;
    // The rows copied, table by table in the schema's order.
    QList<RigheCopiate> righe;
    bool riuscita() const { return errore.isEmpty(); }
};

// The destination's schema is made first when it has none (an SQLite file that does not
// exist yet, a server database without tables), as a new database is made. A destination
// that holds any of the agency's own data (operators, sites, courses, applications, sends) is
// refused; the tables of the call it may hold already are replaced by the file's, which its
// data refer to. Both databases are held exclusively until the end: a workstation still
// writing in the file would lose what it writes after the copy. The file itself is never
// changed: the rows come from a private copy of it, taken in one moment and upgraded there.
// The rows go into the destination in one transaction, which a failure or a stop undoes whole.
EsitoMigrazione migraBaseDati(const QString &file, const DatiConnessione &destinazione);

// "CorsiOper: 1 riga", "Comuni: 120 righe".
QString testoRigheCopiate(const RigheCopiate &r);

} // namespace quirdal
