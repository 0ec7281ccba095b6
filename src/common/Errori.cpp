#include "common/Errori.h"
#include "common/Dialoghi.h"
#include "common/Testo.h"

namespace quirdal {

QString testoErroreGenerico(long numero, const QString &descrizione)
{
    return QStringLiteral("Errore ") + QString::number(numero) + CRLF + descrizione + CRLF + CRLF
        + QStringLiteral("Si è verificato un errore imprevisto,")
        + QStringLiteral("scegliere riprova per ritentare l'operazione.");
}

bool conGestoreGenerico(Dialoghi &dialoghi, const std::function<void()> &passo, DopoAnnulla dopo)
{
    for (;;) {
        try {
            passo();
            return true;
        } catch (const Errore &e) {
            const auto r = dialoghi.messaggio(testoErroreGenerico(e.numero(), e.descrizione()), kTitoloProdotto,
                                              Icona::Esclamazione, Pulsanti::RiprovaAnnulla);
            if (r == Risposta::Riprova)
                continue;
            if (dopo == DopoAnnulla::Abbandona)
                return false;
            throw FineProgramma(e.descrizione());
        }
    }
}

} // namespace quirdal
