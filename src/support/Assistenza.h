#pragma once
// The assistance request: the facts about the computer it carries, the checks of the
// form, the post and the judgement of its reply, and the request with the database
// attached. The transfer to the region's server comes in through CanaleAssistenza,
// implemented where the transfer layer lives.
#include "common/Arresto.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace quirdal {

struct Contesto;
struct Sessione;

using CampiModulo = QList<std::pair<QString, QString>>;

// One post as the transfer layer reports it.
struct EsitoInvio {
    bool completato = false;    // a whole reply arrived
    QString risposta;           // its text
    QString erroreTrasmissione; // a failed transfer, worded by the transfer layer
    QString server;             // host (and port) of the address used
    QString servizio;           // its path
};

class CanaleAssistenza {
public:
    virtual ~CanaleAssistenza() = default;
    // A form post of the fields, in their order, with the form services' header block.
    virtual EsitoInvio postaModulo(const QString &indirizzo, const CampiModulo &campi) = 0;
    // A post of the body to the region's secure upload service.
    virtual EsitoInvio postaUpload(const QByteArray &corpo, const QString &tipoContenuto) = 0;
};

inline const QString kTitoloAssistenza = QStringLiteral("Contatta l'assistenza");

// The facts the screen gathers when it opens.
struct DatiSistema {
    QString sistemaOperativo; // "WINDOWS 10 (build ...)", or the system found
    QString browser;          // "Internet Explorer ver. ..." or "Internet Explorer non trovato" ...
    QString memoria;          // "Total RAM = n MB" ... one line each
};
DatiSistema raccogliDatiSistema();
// The memory report from the text of /proc/meminfo (the platform's figures elsewhere).
QString memoriaDaMeminfo(const QString &meminfo);
// The read-only text of the screen: heading, operator, version, system, memory, browser.
QString testoDatiSistema(const Sessione &s, const DatiSistema &d);

struct RichiestaAssistenza {
    QString mittente, oggetto, telefono, riferimento, problema;
};

// The first failing check: message, title and the objectName of the field to go back to.
struct ControlloRichiesta {
    QString messaggio, titolo, campo;
};
std::optional<ControlloRichiesta> controllaRichiesta(const RichiestaAssistenza &r);

// The fields of the post, in their order ("&cp=" always empty).
CampiModulo campiRichiesta(const Sessione &s, const DatiSistema &d, const RichiestaAssistenza &r);

// One part of a multipart/form-data body: a field, or a file when nomeFile is given.
struct ParteModulo {
    QString nome;
    QByteArray valore;
    QString nomeFile;
};
// The body of the parts in their order; a boundary that occurs in no part, written to *confine.
QByteArray corpoMultipart(const QList<ParteModulo> &parti, QByteArray *confine);

// QUIRDAL_dd-mm-yyyy.zip
QString nomeArchivioAssistenza(const QDate &giorno);
// The help desk's address: CONNESSIONE/HELPDESK of the INI, or the one built in.
QString indirizzoHelpDesk(Contesto &c);

enum class EsitoAssistenza {
    Inviata,      // an ordinary reply, shown to the user
    NonValida,    // a check failed; nothing was sent
    PaginaErrore, // the server answered with an HTML page, written to ErrServer.html
    ErroreServer, // the server answered "ERRORE ..." (or nothing)
    NonInviata    // the transfer failed, or the database could not be archived
};
struct RisultatoAssistenza {
    EsitoAssistenza esito = EsitoAssistenza::NonInviata;
    QString risposta;     // the reply, for the browser screen
    QString paginaErrore; // ErrServer.html when written
    QString campo;        // the field of a failed check
};

// InviaMail: the checks (a valid sender becomes the stored E-Mail), the post, the reply
// judged, with their messages.
RisultatoAssistenza inviaRichiesta(Contesto &c, CanaleAssistenza &canale, const DatiSistema &d, const RichiestaAssistenza &r);

// The request with the database attached: the same checks; the database free of other
// users (held exclusive meanwhile); a consistent copy archived in the program folder as
// QUIRDAL_dd-mm-yyyy.zip, an older one of that name replaced only by a whole one; the
// connection back as it was; then the upload of the fields, the archive and the help
// desk's address. stato receives the texts of the screen's label. With a crash report
// the archive that travels also holds it as QUIRDAL-arresto.log (the one in the program
// folder stays the database alone, for a restore), and once the request has gone that
// report is not offered again.
RisultatoAssistenza inviaConBaseDati(Contesto &c, CanaleAssistenza &canale, const DatiSistema &d, const RichiestaAssistenza &r,
                                     const std::function<void(const QString &)> &stato = {},
                                     const std::optional<RapportoArresto> &rapporto = std::nullopt);

// The latest crash report of the program folder, unless it has already been offered to
// a request (declined, or sent with one).
std::optional<RapportoArresto> rapportoDaOffrire(Contesto &c);
// The note of the request screen while such a report waits.
QString notaRapportoArresto(const RapportoArresto &r);
// Offers the waiting report for the request with the database (Yes/No): the report when
// the user wants it attached; a No is final, that report is not offered again.
std::optional<RapportoArresto> offriRapportoArresto(Contesto &c);

} // namespace quirdal
