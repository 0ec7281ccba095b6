#pragma once
// Leaving a data sheet ("Esci", Esc, the window's close): an unchanged sheet closes; a
// changed one asks whether to save. One rule for every sheet, so they all answer alike.
#include <QString>
#include <functional>

class QDialog;

namespace quirdal {

class Dialoghi;

// modificata: the fields differ from the stored record (and the sheet may be written).
// testo: the sheet's first line ("Sono stati modificati uno o più dati ..."), to which the
// question "Salvare le modifiche ?" is added on a line of its own; Yes/No/Cancel. Yes closes
// the sheet once salva() succeeds (a refused save leaves it open on the failing field), No
// closes it without saving, Cancel leaves it open.
void esciDallaScheda(QDialog &scheda, Dialoghi &d, bool modificata, const QString &testo, const QString &titolo,
                     const std::function<bool()> &salva);

} // namespace quirdal
