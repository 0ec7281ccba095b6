#pragma once
// The checks of the whole application before its final print and its sending: the operator
// sheet, the registered office, every site the province's courses use, the 30% rule of the
// occasional sites, the room hours, the start dates and, last, every stored course through the
// course sheet's rules. They only read.
#include "common/Verifica.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace quirdal {

class CorsiDB;
struct Sessione;

inline const QString kTitoloStampaNonDisponibile = QStringLiteral("Stampa non disponibile");
// How many steps the progress of the checks has (the bar goes from 1 to this).
constexpr int kPassiControlli = 10;

// The operator has at least one course, in any province.
bool operatoreHaCorsi(CorsiDB &db, const Sessione &s);

// Every check that fails, in order, one message each (a list check gives one message with
// all its rows). avanzamento, when given, receives the step reached after each group.
// conCorsi: every stored course through the course sheet's rules as the last check (a caller
// that lists those problems itself leaves them out).
QStringList problemiDomandaStampa(CorsiDB &db, const Sessione &s, const std::function<void(int)> &avanzamento = {},
                                  bool conCorsi = true);

// The checks of the application's course hours alone (the occasional sites' 30% and the rooms'
// hours), every one that fails: what an import of courses reports beside its own checks.
QStringList problemiOreDomanda(CorsiDB &db, const Sessione &s);

// The first check that fails, as the send screen shows it (critical, "Stampa non
// disponibile"); valid when every check passes.
EsitoVerifica ControllaDatiDomanda(CorsiDB &db, const Sessione &s, const std::function<void(int)> &avanzamento = {},
                                   bool conCorsi = true);

// A problem of the application on one line, as the command line lists it: its line breaks and
// tabs as single blanks.
QString rigaProblemaDomanda(const QString &messaggio);

// The hour totals of a component of the current operator in the current province.
struct OreComponente {
    qlonglong occasionali = 0, occasionaliDeroga = 0, laboratoriEsterni = 0, diurne = 0, serali = 0;
};
OreComponente oreComponente(CorsiDB &db, const Sessione &s, qlonglong componente);
// A decimal as a whole number, rounded to nearest and halves to even.
qlonglong interoBancario(double v);

} // namespace quirdal
