#pragma once
// Every command of quirdal-cli. A command is a class derived from Comando in the file of
// its group; to add one, write its class there and add it to the group's list below.
#include "cli/Comando.h"

#include <memory>
#include <vector>

namespace quirdal {

using ElencoComandi = std::vector<std::unique_ptr<Comando>>;

// The set-up of a workstation: prepara-cartella, imposta-installazione, crea-db.
ElencoComandi comandiInstallazione();
// The loads of lookup tables and operators: carica-tabelle, carica-operatori, aggiorna-db.
ElencoComandi comandiCaricamento();
// The region's server: imposta-server, verifica-versione, scarica, numero-domanda,
// crea-file-trasmissione, invia, invii.
ElencoComandi comandiServer();
// The database's copies: salva, recupera, ripristina-copia, migra.
ElencoComandi comandiDati();
// The application: verifica, stampa.
ElencoComandi comandiDomanda();
// The move of courses between sites: riassegna.
ElencoComandi comandiRiassegna();
// The courses in and out of a spreadsheet: esporta-corsi, importa-corsi.
ElencoComandi comandiFoglio();
// A script of SQL statements: esegui-sql.
ElencoComandi comandiSql();

// Only a SERVER installation loads and downloads data and moves courses: on a CLIENT the
// function is refused with its message (false).
bool soloSuServer(Contesto &c, const QString &funzione);

// All of them, in the order of their names.
const ElencoComandi &comandi();
// The command of that name, nullptr when there is none.
const Comando *trovaComando(const QString &nome);

} // namespace quirdal
