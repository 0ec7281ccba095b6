#pragma once
// Leaving a data sheet or its record ("Esci", Esc, the window's close, a move to another
// record): an unchanged sheet is left at once; a changed one asks whether to save. One rule
// for every sheet, so they all answer alike.
#include <QString>
#include <functional>

class QDialog;

namespace quirdal {

class Dialoghi;

enum class Uscita {
    Invariata,    // nothing to save
    Salvata,      // Yes, and the save succeeded
    SenzaSalvare, // No: the changes are dropped
    Resta,        // Cancel, or a save refused (its message shown): the user stays
};

// modificata: the fields differ from the stored record (and the sheet may be written).
// testo: the sheet's first line ("Sono stati modificati uno o più dati ..."), to which the
// question "Salvare le modifiche ?" is added on a line of its own; Yes/No/Cancel.
Uscita chiediSeSalvare(Dialoghi &d, bool modificata, const QString &testo, const QString &titolo,
                       const std::function<bool()> &salva);

// The same for leaving the sheet itself: closed (accepted) unchanged or saved, closed
// (rejected) without saving, left open otherwise.
void esciDallaScheda(QDialog &scheda, Dialoghi &d, bool modificata, const QString &testo, const QString &titolo,
                     const std::function<bool()> &salva);

} // namespace quirdal
