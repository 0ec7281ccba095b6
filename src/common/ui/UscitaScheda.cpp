#include "common/ui/UscitaScheda.h"

#include "common/Dialoghi.h"
#include "common/Testo.h"

#include <QDialog>

namespace quirdal {

Uscita chiediSeSalvare(Dialoghi &d, bool modificata, const QString &testo, const QString &titolo,
                       const std::function<bool()> &salva)
{
    if (!modificata)
        return Uscita::Invariata;
    switch (d.messaggio(testo + CRLF + QStringLiteral("Salvare le modifiche ?"), titolo, Icona::Domanda, Pulsanti::SiNoAnnulla)) {
    case Risposta::Si:
        return salva() ? Uscita::Salvata : Uscita::Resta;
    case Risposta::No:
        return Uscita::SenzaSalvare;
    default:
        return Uscita::Resta;
    }
}

void esciDallaScheda(QDialog &scheda, Dialoghi &d, bool modificata, const QString &testo, const QString &titolo,
                     const std::function<bool()> &salva)
{
    switch (chiediSeSalvare(d, modificata, testo, titolo, salva)) {
    case Uscita::Invariata:
    case Uscita::Salvata:
        scheda.accept();
        break;
    // Straight to the dialog's end: the sheet's own reject() is what asked.
    case Uscita::SenzaSalvare:
        scheda.done(QDialog::Rejected);
        break;
    case Uscita::Resta:
        break;
    }
}

} // namespace quirdal
