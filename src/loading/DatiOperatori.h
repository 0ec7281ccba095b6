#pragma once
// The operators' master data from the region's files (oper.tx1, compo.tx1, sediocc.tx1,
// sediutil.tx1, corsipre.tx1, percmod.tx1): installed into an empty database, or
// updated while every record of an application printed in final form stays as it is.
// Both walk the table of files in loading/FileOperatori.h: {file, table, phase, reader}.
#include "db/Consultazioni.h" // the lock tests the loads apply

#include <QString>
#include <optional>

namespace quirdal {

class CorsiDB;
class ProgressoCaricamento;
struct Contesto;

inline const QString kTitoloInstallazioneDb = QStringLiteral("Installazione Base Dati");
inline const QString kTitoloAggiornamentoDb = QStringLiteral("Aggiornamento Base Dati");
inline const QString kFileLog = QStringLiteral("AggiornaDB.LOG");

// First start: ends the program (FineProgramma) on missing or inconsistent files,
// after its message, leaving no operator in the database.
void installaDatiOperatori(Contesto &c, ProgressoCaricamento &progresso);

// Update on a SERVER installation: true on success; on failure the database is as it
// was before.
bool aggiornaDatiOperatori(Contesto &c, ProgressoCaricamento &progresso);

// After an update, the data files go to CAR (done) or BAD (refused), as "name.car".
void archiviaFileDatiOperatori(const QString &cartella, bool riuscito);

// The main menu's database update after a download: exclusive reconnect, lookup tables,
// then the operators' update, the files archived in CAR or set aside in BAD. False when
// refused or failed.
bool aggiornaBaseDati(Contesto &c, ProgressoCaricamento &progresso);

} // namespace quirdal
