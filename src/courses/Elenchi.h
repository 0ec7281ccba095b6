#pragma once
// The call's classification lists as the course sheet offers them, each depending on the
// choices before it, the hour rules of an action, and the check boxes of section 3.3 that
// the province's metadata describe.
#include "common/Verifica.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quirdal {

class CorsiDB;
struct Sessione;

// A list entry is its code, two blanks and its description; the code is the text before
// the first blank.
QString codiceVoce(const QString &voce);
// The entry of a list whose code is the given one; "" when none (or the code is empty).
QString voceDelCodice(const QStringList &voci, const QString &codice);

// "III.G.06.04": the key of an action.
QString chiaveAzione(const QString &asse, const QString &misura, const QString &azione);

QStringList vociQualifiche(CorsiDB &db);
QStringList vociIndirizzi(CorsiDB &db, const QString &codQualif);
QStringList vociAssi(CorsiDB &db);
QStringList vociMisure(CorsiDB &db, const QString &asse);
QStringList vociAzioni(CorsiDB &db, const QString &asse, const QString &misura);
struct VoceTipologia {
    QString codice, descrizione;
};
QList<VoceTipologia> vociTipologie(CorsiDB &db, const QString &azione);
QStringList vociDestinatari(CorsiDB &db, const QString &azione, const QString &tipologia);
QStringList vociScolarita(CorsiDB &db, const QString &azione, const QString &tipologia);
QStringList vociSettori(CorsiDB &db);
QStringList vociComparti(CorsiDB &db, const QString &settore);
QStringList vociOrari(CorsiDB &db);
QStringList vociCertificazioni(CorsiDB &db);
// The durations in years the call allows for the action and type.
QStringList vociDurate(CorsiDB &db, const QString &azione, const QString &tipologia);
// Code, " - ", description; the institute with code 0 first.
QStringList vociIstituti(CorsiDB &db);
QStringList vociAmbitiTerritoriali(CorsiDB &db);
QStringList vociSettoriProduttivi(CorsiDB &db, const QString &ambito);
QStringList vociFigureProfessionali(CorsiDB &db, const QString &ambito, const QString &settore);
// The components of the operator in the province: number, name, type, address joined with
// " - ".
QStringList vociComponentiResponsabili(CorsiDB &db, const Sessione &s);
// The main courses of the site on the same action, for merging: code, two blanks, name.
QStringList vociCorsiPrincipali(CorsiDB &db, const Sessione &s, const QString &asse, const QString &misura,
                                const QString &azione);
// Previous activities of the operator on the actions the current one replaces, and the
// previous modular courses: group, blank, operator, " - ", progressive, blank, year, blank,
// AccPrec, " - ", name.
QStringList vociCorsiPrecedenti(CorsiDB &db, const Sessione &s, const QString &asse, const QString &misura,
                                const QString &azione);
QStringList vociCorsiModulari(CorsiDB &db, const Sessione &s);

// The situation of the iter: "A" annual, "P" first year of several, "S" a later year.
QString situazioneIter(int durataAnni, int annoCorrente);

// Hour rule of the total hours of the iter, and of the stage hours. Nothing when the rule
// passes. When the call gives no range for the action, the course has no admitted range
// and the rule refuses it.
std::optional<EsitoVerifica> regolaOreTotali(CorsiDB &db, const QString &azione, const QString &tipologia,
                                             const QString &situazione, int durataAnni, qlonglong oreTotali);
std::optional<EsitoVerifica> regolaOreStage(CorsiDB &db, const QString &azione, const QString &situazione, qlonglong oreTotali,
                                            qlonglong oreStage);
// The same rules on the range already read: the total hours' range of the action, type,
// situation and duration (nothing when the call gives none), and the stage range of the
// band of the total hours (shares of the total, or hours when the shares are null).
std::optional<std::pair<qlonglong, qlonglong>> intervalloOreTotali(CorsiDB &db, const QString &azione, const QString &tipologia,
                                                                   const QString &situazione, int durataAnni);
std::optional<EsitoVerifica> regolaOreTotali(const std::optional<std::pair<qlonglong, qlonglong>> &intervallo,
                                             qlonglong oreTotali);
std::optional<EsitoVerifica> regolaOreStage(const QVariant &minPerc, const QVariant &maxPerc, const QVariant &minAss,
                                            const QVariant &maxAss, qlonglong oreTotali, qlonglong oreStage);

// The controls of section 3.3, in the province's order.
struct VoceSezione33 {
    enum Tipo { Titolo, Casella, Etichetta } tipo = Titolo;
    QString testo;
    qlonglong id = 0;
};
QList<VoceSezione33> vociSezione33(CorsiDB &db, const QString &prov);
// The province has the data section 3.3 needs: without them no course can be entered there.
bool sezione33Disponibile(CorsiDB &db, const QString &prov);

} // namespace quirdal
