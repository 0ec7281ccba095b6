#include "cli/DialoghiCli.h"

#include <QFileInfo>
#include <QTextStream>

namespace quirdal {

Risposta DialoghiCli::messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti)
{
    QString t = testo;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const char *tipo = icona == Icona::Critico ? "ERRORE"
        : icona == Icona::Esclamazione         ? "ATTENZIONE"
        : icona == Icona::Domanda              ? "DOMANDA"
                                               : "INFO";
    QTextStream err(stderr);
    err << '[' << tipo << "] " << (titolo.isEmpty() ? kTitoloProdotto : titolo) << ": " << t << '\n';
    const bool si = m_scelta == Scelta::Si;
    Risposta r = Risposta::Ok;
    switch (pulsanti) {
    case Pulsanti::Ok:
        r = Risposta::Ok;
        break;
    case Pulsanti::OkAnnulla:
        r = si ? Risposta::Ok : Risposta::Annulla;
        break;
    case Pulsanti::SiNo:
    case Pulsanti::SiNoAnnulla:
        r = si ? Risposta::Si : Risposta::No;
        break;
    case Pulsanti::RiprovaAnnulla:
        // A lasting failure must not retry for ever.
        r = si && m_riprove++ < 3 ? Risposta::Riprova : Risposta::Annulla;
        break;
    }
    if (pulsanti != Pulsanti::Ok)
        err << "  -> "
            << (r == Risposta::Si            ? "Sì"
                    : r == Risposta::No      ? "No"
                    : r == Risposta::Riprova ? "Riprova"
                    : r == Risposta::Ok      ? "OK"
                                             : "Annulla")
            << '\n';
    return r;
}

void ProgressoCli::file(const QString &percorso, const QString &tabella, int totale)
{
    QTextStream(stderr) << tabella << ": " << totale << " record da " << QFileInfo(percorso).fileName() << '\n';
}

} // namespace quirdal
