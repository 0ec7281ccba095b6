#pragma once
// The money of a course in one place: a year of costs as the sheet holds it and a
// CorsiPropSpese row stores it, read from such a row; its line totals, the year's totals,
// the course's and a site's; the caps and defaults of a year and its breakdown. The course
// sheet, its checks, the summary, the component sheet, the prints and the transmission
// file all come here, so that no two of them can disagree by a cent: no amount is
// multiplied anywhere else.
#include "common/Importo.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <array>
#include <functional>
#include <optional>

class QSqlQuery;

namespace quirdal {

class CorsiDB;
struct Sessione;

// One year of costs.
struct SpeseAnno {
    Importo a1;
    qlonglong oreA1 = 0, allA1 = 0;
    Importo a2;
    qlonglong oreA2 = 0, allA2 = 0;
    Importo p16;
    qlonglong ore16 = 0, all16 = 0;
    Importo p17_3;
    qlonglong all17_3 = 0;
    Importo piu, meno;
    QString enteErogatore;
    std::array<qlonglong, 5> percentuali{}; // a) to e), whole percentages
    std::array<Importo, 5> dettaglio{};     // a) to e)
    bool operator==(const SpeseAnno &) const = default;
};

// --- A row read -------------------------------------------------------------------------

// A column of a CorsiPropSpese row (or of the view QryCorsiPropSpese) by its name; a
// missing column or a Null counts as zero.
using CampoRiga = std::function<QVariant(const char *colonna)>;
SpeseAnno leggiSpese(const CampoRiga &campo);
SpeseAnno leggiSpese(const QSqlQuery &q); // its current row
SpeseAnno leggiSpese(const QVariantMap &riga);
// The columns the totals are made of: a row where every one is Null (an outer join that
// found no cost row) has no costs at all, which is not the same as costs of 0.
inline const char *const kColonneTotaleSpese[] = {"ParamA1", "NumOreA1", "NumAllA1", "ParamA2",   "NumOreA2",   "NumAllA2",
                                                  "Param16", "NumOre16", "NumAll16", "Param17_3", "NumAll17_3", "Param17Meno"};

// --- Totals -----------------------------------------------------------------------------

// A total, or nothing when it does not fit in the range of the cents: values a user can
// type (14 digits of euro, 5 of hours, 5 of participants) go well past it.
using Totale = std::optional<Importo>;
// What a total label shows instead of a total that cannot be computed.
inline const QString kImportoTroppoGrande = QStringLiteral("Importo troppo grande");

// Amount × hours × participants: lines A1, A2, 16 and the lines of the merged-course summary.
Totale totaleLinea(Importo importo, qlonglong ore, qlonglong allievi);
// Amount × participants: line 17.3.
Totale totaleLinea(Importo importo, qlonglong allievi);

struct TotaliAnno {
    Totale a1, a2, p16, p17_3;
    Totale anno;       // A1 + A2 + 16 − 17.3: "Totale PREVENTIVO SPESE"
    Totale preventivo; // the above less the operator's share to subtract: "Totale PREVENTIVO calcolato"
};
TotaliAnno totaliAnno(const SpeseAnno &s);

// The first total of a year (0 to 2) that cannot be computed: the field that takes the user
// to it (its objectName without the year) and the message that names it; nothing when
// every total can be.
struct ImportoEccessivo {
    const char *campo;
    QString messaggio;
};
std::optional<ImportoEccessivo> importoEccessivo(const SpeseAnno &s, int anno);

// The totals of stored rows, where one out of range raises Errore (Traboccamento).
Importo totaleAnno(const SpeseAnno &s);
Importo totalePreventivo(const SpeseAnno &s);
// A course: the computed totals of its years.
Importo totaleCorso(const QList<SpeseAnno> &anni);
// The highest "Reddito Allievi" total of a year: 400 euro a participant.
Importo tettoRedditoAllievi(qlonglong allievi);

// The first-year costs of the courses of a site of the current operator in the current
// province (TotSpeseCorsiSede): those held there; for a component, those held at the
// occasional sites of the province it is responsible for; and, among both, those on
// derogation actions (AzioneDeroga). Each group with its count, its total and its annual hours.
struct GruppoCorsi {
    int schede = 0;
    Importo totale;
    qlonglong ore = 0;
};
struct TotaliSede {
    GruppoCorsi sedeAccreditata, sediOccasionali, azioniInDeroga;
};
TotaliSede TotaliCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede);
// The first-year total of the courses held at a site (the two first groups above).
Importo TotSpeseCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede);

// --- Lines, caps and defaults -----------------------------------------------------------

// The lines an action and type admit, besides A1 which is always open.
struct LineeAmmesse {
    bool a2 = false, p16 = false, quote = false, p17_3 = false;
    bool operator==(const LineeAmmesse &) const = default;
};
LineeAmmesse lineeAmmesse(CorsiDB &db, const QString &azione, const QString &tipologia);
// A closed line counts for nothing: its values become 0.
SpeseAnno soloLineeAmmesse(SpeseAnno s, const LineeAmmesse &l);

// The caps of an action and type for a band of hours (the row whose participant cap fits,
// when the band has several; above every cap, the row of the highest). Without a row:
// 999999.00 and 9999.
struct Massimali {
    Importo a1, a2, b;
    qlonglong c1 = 0, c2 = 0;
    bool trovati = false;
};
// A caps row read from the first five columns ParA1, ParC1, ParA2, ParC2, ParB; and the row
// chosen among those of a band for the participants.
Massimali massimaliDaRiga(const QSqlQuery &q);
Massimali sceltaMassimali(const QList<Massimali> &righe, qlonglong allievi);
Massimali MaxValParamAC(CorsiDB &db, const QString &azione, const QString &tipologia, qlonglong ore, qlonglong allievi);
// The caps by the action's parts, as the cap rules select them.
Massimali massimaliAnno(CorsiDB &db, const QString &asse, const QString &misura, const QString &azione, const QString &tipologia,
                        qlonglong oreA1, qlonglong allieviA1);
// The highest participants the caps allow for the action and type; nothing when none.
std::optional<qlonglong> IniNumAll(CorsiDB &db, const QString &azione, const QString &tipologia);
// The highest annual hours the caps cover for the action and type; nothing when none.
std::optional<qlonglong> oreMassimeAzione(CorsiDB &db, const QString &azione, const QString &tipologia);

// Line 17.3 per participant: 2 euro per annual hour, at most 300 euro.
Importo CalcolaParam17_3(qlonglong oreAnnue);

// A year filled with the defaults of the caps: A1 (and A2, 16, where open) at their caps
// (0 without a caps row), participants within the caps, every line's hours the annual
// hours, 17.3 computed.
SpeseAnno speseDiPartenza(const Massimali &m, const LineeAmmesse &l, qlonglong allievi, qlonglong oreAnnue);

// The defaults of the years of a course (IniSpese): the lines the action and type admit,
// and each year of the duration (at most three) filled from the caps for the annual hours
// and participants, except the first anniConservati years, whose stored values stay.
struct SpeseIniziali {
    LineeAmmesse linee;
    std::array<std::optional<SpeseAnno>, 3> anni; // nothing: the year keeps what it has
};
SpeseIniziali IniSpese(CorsiDB &db, const QString &azione, const QString &tipologia, int durata, qlonglong oreAnnue,
                       qlonglong allievi, int anniConservati);

// The breakdown a) to e) from the percentages of the year's computed total; when every
// percentage is given, b) takes what makes the five add up exactly to the total. A total
// that cannot be computed leaves the breakdown at 0.
void ArrotondaSpese(SpeseAnno &s);

} // namespace quirdal
