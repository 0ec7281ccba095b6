#pragma once
// The handicap sheets of a site: one sheet per course whose action and type admit the
// integration of persons with disabilities, numbered "0001" upwards within the site, with
// the number of persons and up to four recipient groups.
#include "common/Verifica.h"
#include "courses/Corso.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace quirdal {

class CorsiDB;
struct Sessione;

struct SchedaHandicap {
    QString handi;     // four digits; empty while the sheet has no row yet
    ChiaveCorso corso; // the course it belongs to
    qlonglong numPersone = 0;
    std::array<QString, 4> codDest; // codes of Destin, empty where none
    bool operator==(const SchedaHandicap &) const = default;
};

// Marks the course as foreseeing a handicap sheet (SchedaHand 1) when the call admits one
// for its action and type, 0 otherwise.
void segnaSchedaHandicap(CorsiDB &db, const Sessione &s, const ChiaveCorso &k);
// The same for every course of the database (courses written by an earlier release, lookup
// tables updated since). Returns how many changed.
int segnaSchedeHandicap(CorsiDB &db);

// The courses of the current site that foresee a sheet: "Corso Accorp - DesQualif".
QStringList vociCorsiConScheda(CorsiDB &db, const Sessione &s);
// The sheets of the current site in number order: "Handi - DesQualif".
QStringList vociEleHandi(CorsiDB &db, const Sessione &s);
// The recipient groups a sheet can name: code, two blanks, description.
QStringList vociDestinatariHandicap(CorsiDB &db);

std::optional<SchedaHandicap> caricaSchedaHandicap(CorsiDB &db, const Sessione &s, const QString &handi);
// The number the next sheet of the site gets: the highest plus one, "0001" for the first.
QString prossimoHandi(CorsiDB &db, const Sessione &s, qlonglong sede);

// The rules a sheet must pass before it is written; the first that fails.
EsitoVerifica verificaSchedaHandicap(CorsiDB &db, const Sessione &s, const SchedaHandicap &h);
// Writes the sheet in one transaction (a new one gets its number inside it) and returns its
// number. Refused with Errore while the application is printed or when a rule fails.
QString scriviSchedaHandicap(CorsiDB &db, const Sessione &s, const SchedaHandicap &h);
// False when the sheet was no longer there.
bool cancellaSchedaHandicap(CorsiDB &db, const Sessione &s, const QString &handi);

} // namespace quirdal
