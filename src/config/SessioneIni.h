#pragma once
// The session as the INI file remembers it (section BaseDati) and the lock flags as the
// database holds them.
#include <QString>

namespace quirdal {

class CorsiDB;
class cFileINI;
struct Sessione;

// Restores operator, province and application from section BaseDati of the INI, with
// the lock flags from the database.
void ripristinaSessione(Sessione &s, cFileINI &ini, CorsiDB &db);
// gOperStampato and gDomandaStampata from the Installazione rows.
void ricalcolaStampate(Sessione &s, CorsiDB &db);
// Province and application belong to an operator: they are kept when the current
// operator has an application in that province, cleared otherwise, in the session and
// in the INI alike; the lock flags follow.
void tieniDomandaDellOperatore(Sessione &s, cFileINI &ini, CorsiDB &db);

// Makes an operator's application in a province current without the INI, for headless
// work on a named application: the operator's name and type, the province, the
// application number and the lock flags. False when the operator or its application in
// that province does not exist; the session then holds no application.
bool impostaDomanda(Sessione &s, CorsiDB &db, const QString &grupOpe, const QString &operatore, const QString &prov);

} // namespace quirdal
