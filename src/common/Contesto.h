#pragma once
// What every screen and every operation works with, owned by main (or by a test): the
// program folder, the session, the connection, the INI file, the dialogs, the platform
// and the per-user settings.
#include <QString>

namespace quirdal {

class CorsiDB;
class Dialoghi;
class Piattaforma;
class cFileINI;
class ImpostazioniUtente;
struct Sessione;

struct Contesto {
    QString cartellaProgramma;
    Sessione &sessione;
    CorsiDB &db;
    cFileINI &ini;
    Dialoghi &dialoghi;
    Piattaforma &piattaforma;
    ImpostazioniUtente &utente;
};

} // namespace quirdal
