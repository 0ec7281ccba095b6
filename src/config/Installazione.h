#pragma once
// The installation check of the INI file, the reset, the opening of the connection
// (Inizializza), the exclusive reconnect, and the checks of the two installation
// screens.
#include "db/DatiConnessione.h"

#include <QString>
#include <optional>

namespace quirdal {

class CorsiDB;
class Dialoghi;
class cFileINI;
struct Sessione;

inline const QString kNomeIni = QStringLiteral("QUIRDAL.INI");
inline const QString kTitoloInizializzazione = QStringLiteral("Errore di inizializzazione");

// The recovery text shown for an invalid Tipo.
QString testoImpostazioniNonValide();
// The text of the missing database, for the given path.
QString testoBaseDatiAssente(const QString &percorso);

// Empties Database, NFileDB and Tipo so that the next start asks again.
void reimpostaInstallazione(cFileINI &ini);

enum class EsitoControlloIni { Valido, DaImpostare };
// Checks that QUIRDAL.INI exists in the program folder and that Tipo is valid; binds
// ini to the file and sets gTipoInstallazione. Ends the program (FineProgramma) after
// its message otherwise. DaImpostare: Tipo is empty, the installation screen follows.
EsitoControlloIni controllaInstallazione(const QString &cartellaProgramma, cFileINI &ini, Sessione &s, Dialoghi &d);

// Writes Tipo, Database and NFileDB after the installation screen. Ends the program
// with a clear message when the INI cannot be written (read-only folder).
void salvaInstallazione(cFileINI &ini, const Sessione &s, Dialoghi &d);

// Where the database is, as QUIRDAL.INI says: [Installazione] PROVIDER "SQLite" (also when
// empty) with the file of [BaseDati] Database, or "PostgreSQL" with the server of [BaseDati]
// Host, Porta, NomeDB, Utente and Password (kept scrambled as [CONNESSIONE] PWD is). Throws
// Errore for a PROVIDER it does not know or a port that is not one.
DatiConnessione leggiConnessione(cFileINI &ini);
// Writes PROVIDER and, for a server, its keys (the password scrambled); the file of an SQLite
// database is written by salvaInstallazione. False when the INI cannot be written.
bool scriviConnessione(cFileINI &ini, const DatiConnessione &dove);
// Why a password cannot be kept in QUIRDAL.INI (a blank at either end, which the reader
// trims, or a character the file's code page lacks); empty when it can.
QString passwordNonConservabile(const QString &password);

// The message of an INI file that cannot be written (a read-only folder).
QString testoIniNonScrivibile(const QString &nomeFile);

// Frm_Impostazioni, Salva with a PostgreSQL server: the first field that is wrong, as its
// message and the objectName of the field; nothing when the fields make the connection data,
// which then are in *dove.
struct CampoErrato {
    QString testo;
    QString campo;
};
std::optional<CampoErrato> datiServer(const QString &host, const QString &porta, const QString &nomeDb, const QString &utente,
                                      const QString &password, DatiConnessione *dove);
// The server tried as the workstation's role asks: a SERVER finds the program's database there,
// or an empty database in which it creates the schema; a CLIENT finds the program's database,
// which only a SERVER makes. Throws Errore with the Italian message of a server that cannot be
// reached, a user or password refused, a missing database, one that is not the program's.
// The older shapes of the schema are the start-up's business (only a SERVER upgrades them).
void preparaBaseDatiServer(const DatiConnessione &dove, bool versioneServer);

// Reads the database settings, opens the connection, checks the help file.
void Inizializza(const QString &cartellaProgramma, cFileINI &ini, Sessione &s, CorsiDB &db, Dialoghi &d);

// Closes the connection and reopens it exclusive; on failure shows the message
// ("Qualche client potrebbe ancora essere connesso ...") and returns false.
bool riconnessioneEsclusiva(CorsiDB &db, Dialoghi &d);

// The help file's path, "" when it does not exist.
QString fileAiuto(const Sessione &s);

// Frm_Impostazioni, Salva: the first failing check (text), or nothing when the choice
// is valid, in which case gTipoInstallazione, gPathDB and gNomeFileDB are set.
std::optional<QString> confermaImpostazioni(bool locale, const QString &percorsoDatabase, Sessione &s);
// The path as the read-only field shows it (55 characters and "..." from 56 on) and
// whether the full path goes into the tooltip.
QString percorsoMostrato(const QString &percorso, bool *conTooltip);

// frmServerClient, OK with CLIENT: the local database and data files of the program
// folder are renamed to ".cli", so that a client never loads data of its own.
void rinominaFileClient(const QString &cartellaProgramma);

} // namespace quirdal
