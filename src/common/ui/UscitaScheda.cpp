#include "common/ui/UscitaScheda.h"

#include "common/Dialoghi.h"
#include "common/Testo.h"

#include <QDialog>

namespace quirdal {

void esciDallaScheda(QDialog &scheda, Dialoghi &d, bool modificata, const QString &testo, const QString &titolo,
                     const std::function<bool()> &salva)
{
    if (!modificata) {
        scheda.accept();
        return;
    }
    switch (d.messaggio(testo + CRLF + QStringLiteral("Salvare le modifiche ?"), titolo, Icona::Domanda,
                        Pulsanti::SiNoAnnulla)) {
    case Risposta::Si:
        if (salva())
            scheda.accept();
        break;
    // Straight to the dialog's end: the sheet's own reject() is what asked.
    case Risposta::No: scheda.done(QDialog::Rejected); break;
    default: break;
    }
}

} // namespace quirdal
