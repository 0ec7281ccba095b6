#pragma once
// The operator's registered office (its component of type "SL"): the contact data the
// user completes, their checks and their write, which survives the row being deleted by
// another workstation meanwhile.
#include "common/Verifica.h"

#include <QString>
#include <optional>

namespace quirdal {

struct Contesto;

struct DatiSedeLegale {
    // Shown only.
    QString componente, denominazione, codComune, comune, sigProv, indirizzo;
    // Edited.
    QString cap, tel, fax, riferimento, email;

    bool operator==(const DatiSedeLegale &) const = default;
};

inline const QString kTitoloSedeLegale = QStringLiteral("Sede Legale");
inline const QString kTitoloAccessoConcorrente = QStringLiteral("Accesso concorrente");

// The registered office of the current operator; nothing when it has none.
std::optional<DatiSedeLegale> caricaSedeLegale(Contesto &c);

// The checks of the save, in their order. The e-mail check also sets gEmailValida.
EsitoVerifica verificaSedeLegale(Contesto &c, const DatiSedeLegale &d);

// Writes the edited fields (the prefixes emptied). Raises Errore with
// codici::RigaCancellata when the row is gone, any other Errore as it comes; refused
// while the operator's data are locked.
void scriviSedeLegale(Contesto &c, const DatiSedeLegale &d);
// Puts the row back with its key, its type "SL" and the sheet's values.
void reinserisciSedeLegale(Contesto &c, const DatiSedeLegale &d);

// Whether the edited fields differ.
bool sedeLegaleCambiata(const DatiSedeLegale &caricati, const DatiSedeLegale &attuali);

} // namespace quirdal
