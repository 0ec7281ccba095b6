#pragma once
// The money of a course in one place: the total of a yearly cost row, and the totals that
// add those rows up (a site's courses). The summary, the component sheet, the prints and
// the transmission file all come here, so that no two of them can disagree by a cent.
#include "common/Importo.h"

#include <QVariant>
#include <functional>

namespace quirdal {

class CorsiDB;
struct Sessione;

// The cost-row columns the total is made of.
inline const char *const kColonneTotaleSpese[] = {"ParamA1",  "NumOreA1", "NumAllA1",  "ParamA2",
                                                 "NumOreA2", "NumAllA2", "Param16",   "NumOre16",
                                                 "NumAll16", "Param17_3", "NumAll17_3", "Param17Meno"};

// A year's total: ParamA1 × NumOreA1 × NumAllA1 + ParamA2 × NumOreA2 × NumAllA2 +
// Param16 × NumOre16 × NumAll16 − Param17_3 × NumAll17_3 − Param17Meno. campo gives a
// column's value by name; a Null counts as zero.
Importo totaleRigaSpese(const std::function<QVariant(const char *colonna)> &campo);

// The first-year course sheets of a site of the current operator in the current province:
// those held there; for a component, those held at the occasional sites of the province it
// is responsible for; and, among both, those on derogation actions (AzioneDeroga). Each
// group with its count, its total and its annual hours.
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

} // namespace quirdal
