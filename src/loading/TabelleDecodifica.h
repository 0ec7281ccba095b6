#pragma once
// Installation and update of the call's lookup tables from their text files, driven by
// the database schema: every table that has a file is loaded, records matched on the
// table's primary key.
#include "common/Progresso.h"

#include <QString>
#include <QStringList>

namespace quirdal {

struct Contesto;

inline const QString kTitoloTabelle = QStringLiteral("Installazione/Aggiornamento tabelle di decodifica");
inline const QString kTitoloFlagTabelle = QStringLiteral("Installa/Aggiorna tabelle di decodifica");

// A primary-key column as a key term: name + "=" for numbers, name + "='" for texts.
QStringList terminiChiave(Contesto &c, const QString &tabella);

// The table pass (at start-up, and in the database update after a download). Ends the
// program (FineProgramma) where the loader says so.
void passoTabelle(Contesto &c, ProgressoCaricamento &progresso);

// Loads one file into one table, in one transaction: a failing record leaves the table
// as it was before the file. Returns the records loaded (0 for a missing or skipped file).
int caricaTabella(Contesto &c, const QString &percorsoFile, const QString &tabella, const QStringList &chiavi,
                  ProgressoCaricamento &progresso);

} // namespace quirdal
