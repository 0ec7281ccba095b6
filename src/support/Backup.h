#pragma once
// Backup of the database into a zip archive and its restore, with the messages of the
// backup screen; the command line runs the same functions. A backup archives a
// consistent copy taken while the program holds the database; a restore checks the
// archived database before anything changes, keeps a copy of the current one in
// "BackupDB", and replaces the database by rename with the connection held exclusive.
#include <QString>

namespace quirdal {

class CorsiDB;
class ProgressoCaricamento;
struct Contesto;
struct Sessione;
class cFileINI;

inline const QString kNomeBreve = QStringLiteral("QUIRDAL");
inline const QString kCartellaCopiaAttuale = QStringLiteral("BackupDB");

// "Backup Predefinito (QUIRDAL.zip)|QUIRDAL.zip|WinZip File (*.zip)|*.zip"
QString filtroArchivi();
// The archive the screen shows first: "FileBackup" of the INI, else the default archive
// on drive "a:" where the machine has one, else in the program folder.
QString archivioIniziale(const QString &cartellaProgramma, cFileINI &ini);
// The path split at its last separator into folder and name; a name without "." gets
// ".zip". The text is otherwise kept as typed.
QString nomeArchivioBackup(const QString &testo);

// A consistent copy of the open database archived under the database's file name.
// "" on success, else why not (the older archive is then untouched).
QString archiviaBaseDati(CorsiDB &db, const QString &archivio, qint64 grandezzaVolume = 0);

// Checks a database before it takes the place of ours: it opens with the program's
// password, passes PRAGMA integrity_check and holds exactly the program's schema (the
// current one or an earlier one the start-up upgrades bring up to date): no trigger,
// view, index or table the program does not create. "" when it does, else why not.
QString controllaBaseDatiArchiviata(const QString &file);
// The same check of any database file of the program that is to fill a database of ours,
// named in the messages by quale ("dell'archivio", "da migrare").
QString controllaBaseDatiDelProgramma(const QString &file, const QString &quale);

// The message of a database that others still hold.
QString testoClientConnessi();

// cmdConfermaBak: the archive named by the text (".zip" added to a name without
// extension, volumes for drive "A:"), "FileBackup" written, the messages shown. A name
// that is the database, its journal or lock file, the INI file, a folder or an existing
// file that is not an archive is refused, whatever case, links or ".." it is written with.
// progresso: the hourglass while the archive is written.
enum class EsitoSalvataggio { Riuscito, NomeMancante, Fallito };
EsitoSalvataggio salvaDati(Contesto &c, const QString &testo, ProgressoCaricamento *progresso = nullptr);

// cmdConfermaZip. Tutto (optAll): the archived database replaces the current one.
// Operatore (optSost): only the current operator's data are taken from the archived
// database, in one transaction; the other operators' data and the tables of the call
// stay as they are. Either way the sends recorded (Invii) are never taken back: those the
// restored data lack are recorded again. Either way the current database is first copied to "BackupDB",
// under a name no earlier copy has. The archive is extracted into a private temporary
// folder; a restore that would unlock applications printed in final form names them and
// goes on only when the user answers Yes (Annullato otherwise, nothing changed).
// progresso: the hourglass and how much of the archive is extracted.
enum class ModoRecupero { Tutto, Operatore };
enum class EsitoRecuperoDati { Riuscito, NomeMancante, Rifiutato, Annullato, Fallito };
EsitoRecuperoDati recuperaDati(Contesto &c, const QString &testo, ModoRecupero modo, ProgressoCaricamento *progresso = nullptr);

// The current operator's data taken from another database file (checked by the caller),
// in one transaction: every table with GrupOpe and Operatore that the file has (its sends
// added to those recorded here), and the occasional sites the operator uses that this
// database lacks.
void sostituisciDatiOperatore(CorsiDB &db, const QString &file, const QString &grupOpe, qlonglong operatore);

} // namespace quirdal
