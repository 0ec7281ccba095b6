#pragma once
// The rules a course must pass before it is written, in their order, with their messages
// and the field each one takes the user to; and the same rules over every course of an
// application, reporting every problem at once.
#include "common/Verifica.h"
#include "courses/Corso.h"

#include <QList>
#include <functional>
#include <optional>

namespace quirdal {

class CorsiDB;
struct Sessione;

// Objects names of the fields of a year's costs (year 0 to 2) and of the control arrays.
QString campoAnno(const char *campo, int anno);
QString campoElemento(const char *campo, int indice);

// The first rule that fails; valid when the course may be written. inserimento: the course
// has no row yet; memorizzato: it has been written at least once, so its costs are checked.
EsitoVerifica VerifCorso(CorsiDB &db, const Sessione &s, const DatiCorso &d, bool inserimento, bool memorizzato);

// Every rule that fails, in order.
QList<EsitoVerifica> problemiCorso(CorsiDB &db, const Sessione &s, const DatiCorso &d, bool inserimento, bool memorizzato);

// Every stored course of the application (the current operator in the current province, at
// every site) through every rule.
struct ProblemaCorso {
    ChiaveCorso chiave;
    QString messaggio;
    QString campo;
};
// Told how many courses are done of how many, before each and once at the end; false stops
// the check (nothing is returned then).
using AvanzamentoVerifica = std::function<bool(int fatti, int totale)>;
std::optional<QList<ProblemaCorso>> problemiCorsiDomanda(CorsiDB &db, const Sessione &s,
                                                         const AvanzamentoVerifica &avanzamento = {});
// One line of the report: course, merged number, site and the message with its line breaks
// as blanks.
QString rigaProblema(const ProblemaCorso &p);

} // namespace quirdal
