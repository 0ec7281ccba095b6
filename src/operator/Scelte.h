#pragma once
// What the small pickers show and how they search: municipalities, foreign states,
// schools, the sites of the application, the responsible component; and the text editor's
// rule for "#".
#include <QList>
#include <QString>
#include <QStringList>

namespace quirdal {

struct Contesto;

// A lookup table as a picker's grid shows it: column headings and rows of texts.
struct ElencoScelta {
    QStringList intestazioni;
    QList<QStringList> righe;
};

// QryComuni by name, restricted to a province when one is given: code, name, province
// abbreviation, postal code.
ElencoScelta elencoComuni(Contesto &c, const QString &prov);
// StatiEsteri: code and name.
ElencoScelta elencoStati(Contesto &c);
// Istituti by name: code and name.
ElencoScelta elencoIstituti(Contesto &c);

// The first of the values after the current one that begins with the text (or, with
// contiene, holds it anywhere), letter case ignored; -1 when none does. Earlier rows are
// never looked at: the search goes on from where the user is.
int cercaDopo(const QStringList &valori, int corrente, const QString &testo, bool contiene);

// The sites of the current operator in the current province, as the site lists show them:
// the components, then the occasional sites ("   (SEDE OCCASIONALE)" at the end).
QStringList vociSediProvincia(Contesto &c);
// The leading code of a site entry and whether it is an occasional site.
struct SedeVoce {
    QString codice;
    bool occasionale = false;
};
SedeVoce leggiVoceSede(const QString &voce);

// The operator's components in the province, for the choice of a responsible component:
// code, name, type and address joined with " - ".
QStringList vociComponentiProvincia(Contesto &c);

// A descriptive text as the transmission file can carry it: every "#" becomes "SHARP",
// a tab a blank, other control characters go (line breaks stay).
QString senzaCancelletto(const QString &testo);

} // namespace quirdal
