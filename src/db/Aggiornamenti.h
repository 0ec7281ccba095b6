#pragma once
// Upgrades and repairs run at every start; each tests whether it is needed, so running
// it again changes nothing.
namespace quirdal {

class CorsiDB;

// CorsiProp.DataAvvio (text 10), empty for existing courses, and the new QryCorsi.
// Returns true when the column was added.
bool aggiornaDataAvvio(CorsiDB &db);
// CorsiHandi.NumPersone, the persons a handicap sheet integrates. True when it was added.
bool aggiornaSchedeHandicap(CorsiDB &db);
// The tables of the final forms' fingerprints (DomandeDefinitive) and of the sends (Invii),
// created when missing. True when one was created.
bool aggiornaInvii(CorsiDB &db);
// The schema lacks something the upgrades above add: a database of an earlier release.
bool schemaPrecedente(CorsiDB &db);
// Courses that are not first years: how many there are, and their removal with every row
// that hangs on them. Returns how many were removed.
int contaCorsiNonPrimiAnni(CorsiDB &db);
int rimuoviCorsiNonPrimiAnni(CorsiDB &db);
// DesQualif of every course from Qualifi.
int riparaDescrizioniQualifiche(CorsiDB &db);
// A ValoriChk row (unticked) for every check-list item of the course's province.
int riparaValoriChk(CorsiDB &db);

} // namespace quirdal
