#pragma once
// The outcome of a check that stops at its first failing rule: the message to show, its
// title and icon, and where the user is taken back to (the field's objectName and the tab
// page that holds it). The screen shows it; the logic only decides it.
#include "common/Dialoghi.h"

#include <QString>

namespace quirdal {

struct EsitoVerifica {
    QString messaggio; // empty: every rule passed
    QString titolo;
    QString campo;   // objectName of the field that gets the focus
    int pagina = -1; // tab page of the field, -1 when the screen has no tabs
    Icona icona = Icona::Critico;

    bool valido() const { return messaggio.isEmpty(); }
    static EsitoVerifica errore(QString messaggio, QString titolo, QString campo, int pagina = -1, Icona icona = Icona::Critico)
    {
        return {std::move(messaggio), std::move(titolo), std::move(campo), pagina, icona};
    }
};

} // namespace quirdal
