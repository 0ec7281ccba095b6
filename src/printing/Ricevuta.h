#pragma once
// The receipt of a send, "Ricevuta di trasmissione": one A4 page in the look of the application
// form (its heading, the operator, the province, the application's number, the date and time of
// the reception, the file, its size and SHA-256, the server's reply), written beside the copy in
// the folder Inviati. And the whole send as the screen and the command line run it: the file
// uploaded and kept, then its receipt.
#include "transmission/Invii.h"

#include <QString>
#include <optional>

namespace quirdal {

struct Contesto;
class Trasferimento;

// Writes the receipt of a recorded send; its path, "" when it could not be written (the
// message has been shown).
QString scriviRicevuta(Contesto &c, const Invio &i);
// Opens it in the system's viewer, written again first when it is not there.
bool apriRicevuta(Contesto &c, const Invio &i);

struct EsitoInvioDomanda {
    bool trasmessa = false;     // the server confirmed the reception
    std::optional<Invio> invio; // the send as recorded
    QString ricevuta;           // the receipt's path, when written
};
// InviaFile, then the receipt of the send it recorded, opened when apri.
EsitoInvioDomanda inviaDomanda(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe,
                               const QString &operatore, bool apri = true);

} // namespace quirdal
