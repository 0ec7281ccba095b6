#pragma once
// Which application every other screen works on: the province of the current operator
// (one application per province), its summary, and the site whose courses or handicap
// sheets are managed.
#include "common/Importo.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

namespace quirdal {

struct Contesto;

// --- Province -----------------------------------------------------------------------

struct ElencoProvince {
    QString grupOpe, operatore, denominazione; // the operator shown, as the INI names it
    QStringList voci;                          // "" first, then "SigProv - DesProv", sorted, once each
    int preselezione = 0;
};
ElencoProvince elencoProvince(Contesto &c);

enum class EsitoProvincia { Confermata, Restare, FineProgramma };
// Conferma of the province picker. numeroDomanda opens the application-number screen
// for a province without application and says whether the number was obtained (nullopt:
// the program must end).
EsitoProvincia confermaProvincia(Contesto &c, const QString &voce,
                                 const std::function<std::optional<bool>(const QString &prov)> &numeroDomanda);

// --- Summary ------------------------------------------------------------------------

struct Riepilogo {
    int sedi = 0;                 // components and occasional sites with courses
    int corsi = 0;                // course sheets
    Importo totale;               // requested contribution of all courses
    QString atti;                 // AttiATIATS as shown: "0" when empty
    QVariantList domanda;         // the application summed up: GrupOpe, Operatore, Domanda, Prov
    QString descrizioneProvincia; // of the session's province
};
Riepilogo calcolaRiepilogo(Contesto &c);
// Amounts of the totals, "##,###,###,##0.00" in the Italian way.
QString formatoTotale(Importo v);
// The deeds count of the given application (Riepilogo::domanda): a whole number, empty
// for 0; any other text is an error and nothing is stored.
void salvaAttiATIATS(Contesto &c, const QVariantList &domanda, const QString &valore);
// The same for the current application.
void salvaAttiATIATS(Contesto &c, const QString &valore);

// --- Site -----------------------------------------------------------------------------

struct ElencoSedi {
    QString descrizione;   // the prompt, by the screen that follows
    QString anomalia;      // an unknown next screen: its message
    QStringList voci;      // padded columns, for a fixed-pitch font
    int preselezione = -1; // -1: no entry at all
};
ElencoSedi elencoSedi(Contesto &c);
// Conferma of the site picker: sets gCompo and gDenCompo. For
// the handicap sheets, false with its message when the site has no course that
// provides one.
bool confermaSede(Contesto &c, const QString &voce);

// --- Main-menu entry checks -------------------------------------------------------------

// The functions that need an application: false with the message when none is selected.
bool richiedeDomanda(Contesto &c);
// Courses ("C") or handicap sheets ("I"): the checks before the site picker opens.
bool controllaAccessoSedi(Contesto &c, const QString &modo);
// Course reassignment: the checks and the confirmation before the screen opens.
bool controllaRiassegnazione(Contesto &c);

} // namespace quirdal
