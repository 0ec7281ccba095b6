#include "config/Opzioni.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"

namespace quirdal {

namespace {
const QString kSezInstallazione = QStringLiteral("Installazione");
const QString kSezBaseDati = QStringLiteral("BaseDati");
const QString kTipo = QStringLiteral("Tipo");
const QString kDatabase = QStringLiteral("Database");
const QString kMultiutenza = QStringLiteral("Multiutenza");
const QString kTitoloSalvataggio = QStringLiteral("Salvataggio dati");
} // namespace

ValoriOpzioni caricaOpzioni(Contesto &c)
{
    ValoriOpzioni v;
    v.multiutenza = c.ini.leggi(kSezInstallazione, kTipo) == kMultiutenza;
    v.database = c.ini.leggi(kSezBaseDati, kDatabase);
    const QString email = c.utente.leggi(chiaviFP::EMail);
    if (!email.isEmpty())
        v.email = email;
    // Host names are case-insensitive; anything else is the user's own server.
    const QString server = c.utente.leggi(chiaviFP::ServerMail).trimmed();
    if (server.isEmpty() || server.compare(kServerPostaRegione, Qt::CaseInsensitive) == 0) {
        v.server = ServerPosta::Regione;
    } else if (server.compare(kServerPostaInterno, Qt::CaseInsensitive) == 0) {
        v.server = ServerPosta::Interno;
    } else {
        v.server = ServerPosta::Proprio;
        v.mioServer = server;
    }
    v.sottolinea = c.utente.leggiFlag(chiaviFP::OptSottolinea, false);
    v.aumenta = c.utente.leggiFlag(chiaviFP::OptAumenta, false);
    v.cambia = c.utente.leggiFlag(chiaviFP::OptCambia, true);
    return v;
}

EsitoOpzioni salvaOpzioni(Contesto &c, const ValoriOpzioni &v, bool installazioneCambiata)
{
    if (installazioneCambiata) {
        c.ini.scrivi(kSezInstallazione, kTipo, v.multiutenza ? kMultiutenza : QStringLiteral("StandAlone"));
        c.ini.scrivi(kSezBaseDati, kDatabase, v.database);
    }
    // A wrong address is left out quietly: the rest of the options are still saved.
    if (v.email != kSuggerimentoEmail && controllaEmail(v.email).isEmpty())
        c.utente.scrivi(chiaviFP::EMail, v.email);

    QString server;
    switch (v.server) {
    case ServerPosta::Regione:
        server = kServerPostaRegione;
        break;
    case ServerPosta::Interno:
        server = kServerPostaInterno;
        break;
    case ServerPosta::Proprio:
        server = v.mioServer.trimmed();
        break;
    }
    if (server.isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Indicare l'indirizzo del proprio server di posta."), kTitoloSalvataggio,
                             Icona::Critico);
        return EsitoOpzioni::Fermato;
    }
    c.utente.scrivi(chiaviFP::ServerMail, server);

    // The database and the installation type are taken only at start-up.
    if (installazioneCambiata) {
        c.dialoghi.messaggio(QStringLiteral("Sono state modificate delle impostazioni di installazione.") + CRLF
                                 + QStringLiteral("E' necessario riavviare l'applicativo."),
                             kTitoloSalvataggio, Icona::Informazione);
        c.db.chiudi();
        return EsitoOpzioni::Riavvio;
    }

    c.utente.scriviFlag(chiaviFP::OptSottolinea, v.sottolinea);
    c.utente.scriviFlag(chiaviFP::OptAumenta, v.aumenta);
    c.utente.scriviFlag(chiaviFP::OptCambia, v.cambia);
    c.sessione.gOptSottolinea = flag(v.sottolinea);
    c.sessione.gOptAumenta = flag(v.aumenta);
    c.sessione.gOptCambia = flag(v.cambia);
    return EsitoOpzioni::Salvato;
}

} // namespace quirdal
