#pragma once
// The schema a database file holds, compared with the one the program makes itself with
// its own schema code: the same tables with the same columns, keys, indexes and
// constraints, the program's own views, and nothing else — no trigger, view, index or
// table the program does not create. The earlier shapes that the start-up upgrades bring
// up to date (CorsiProp without DataAvvio and the old QryCorsi, CorsiHandi without
// NumPersone, neither DomandeDefinitive nor Invii) pass as well.
#include <QString>
#include <QStringList>

namespace quirdal {

struct EsitoConfrontoSchema {
    // Tables of the program the file lacks, in the schema's order.
    QStringList tabelleMancanti;
    // The first other difference found, in Italian for the user ("contiene il trigger X,
    // che il programma non crea"); empty when there is none.
    QString differenza;
    bool uguale() const { return tabelleMancanti.isEmpty() && differenza.isEmpty(); }
};

// The file is read only. Throws Errore when it cannot be read as a database.
EsitoConfrontoSchema confrontaConSchemaProgramma(const QString &file);

} // namespace quirdal
