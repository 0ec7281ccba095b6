#pragma once
// The options a user may change after installation: installation type and database
// (QUIRDAL.INI), e-mail address and mail server, the accessibility options of the
// labels (per-user settings). What is read and how it is saved; frmOpzioni only shows it.
#include <QString>

namespace quirdal {

struct Contesto;

inline const QString kServerPostaRegione = QStringLiteral("smtp.regione-valdoria.example");
inline const QString kServerPostaInterno = QStringLiteral("smtp.vtz.example");
// Shown in place of an address when none is stored; never saved as one.
inline const QString kSuggerimentoEmail = QStringLiteral("Indirizzo e-mail...");

enum class ServerPosta { Regione, Interno, Proprio };

struct ValoriOpzioni {
    bool multiutenza = false;
    QString database;
    QString email = kSuggerimentoEmail;
    ServerPosta server = ServerPosta::Regione;
    QString mioServer; // only with ServerPosta::Proprio
    bool sottolinea = false;
    bool aumenta = false;
    bool cambia = true;
};

// Salvato: all stored, the screen closes. Fermato: a message was shown, the screen
// stays. Riavvio: the installation changed, the connection is closed and the program
// must end.
enum class EsitoOpzioni { Salvato, Fermato, Riavvio };

ValoriOpzioni caricaOpzioni(Contesto &c);
EsitoOpzioni salvaOpzioni(Contesto &c, const ValoriOpzioni &v, bool installazioneCambiata);

} // namespace quirdal
