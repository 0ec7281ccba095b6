#pragma once
// The cost estimate of a course, year by year: the cost lines with their caps and
// defaults, the lines the action admits, the year's total and its breakdown, all in exact
// cents.
#include "common/Importo.h"

#include <QString>
#include <array>

namespace quirdal {

class CorsiDB;

// One year of costs, as the sheet holds it and a CorsiPropSpese row stores it.
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

// Lines A1 + A2 + 16 − 17.3 ("Totale PREVENTIVO SPESE").
Importo totaleAnno(const SpeseAnno &s);
// The year's total less the operator's share to subtract ("Totale PREVENTIVO calcolato"):
// the one course-total formula.
Importo totalePreventivo(const SpeseAnno &s);

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
Massimali MaxValParamAC(CorsiDB &db, const QString &azione, const QString &tipologia, qlonglong ore, qlonglong allievi);
// The caps by the action's parts, as the cap rules select them.
Massimali massimaliAnno(CorsiDB &db, const QString &asse, const QString &misura, const QString &azione,
                        const QString &tipologia, qlonglong oreA1, qlonglong allieviA1);
// The highest participants the caps allow for the action and type; nothing when none.
std::optional<qlonglong> IniNumAll(CorsiDB &db, const QString &azione, const QString &tipologia);
// The highest annual hours the caps cover for the action and type; nothing when none.
std::optional<qlonglong> oreMassimeAzione(CorsiDB &db, const QString &azione, const QString &tipologia);

// Line 17.3 per participant: 2 euro per annual hour, at most 300 euro.
Importo CalcolaParam17_3(qlonglong oreAnnue);

// A year filled with the defaults of the caps: A1 (and A2, 16, where open) at their caps
// (0 without a caps row),
// participants within the caps, every line's hours the annual hours, 17.3 computed.
SpeseAnno speseDiPartenza(const Massimali &m, const LineeAmmesse &l, qlonglong allievi, qlonglong oreAnnue);

// The breakdown a) to e) from the percentages of the year's total; when every percentage
// is given, b) takes what makes the five add up exactly to the total.
void ArrotondaSpese(SpeseAnno &s);

} // namespace quirdal
