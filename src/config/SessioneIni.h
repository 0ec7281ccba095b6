#pragma once
// The session as the INI file remembers it (section BaseDati) and the lock flags as the
// database holds them.
namespace quirdal {

class CorsiDB;
class cFileINI;
struct Sessione;

// Restores operator, province and application from section BaseDati of the INI, with
// the lock flags from the database.
void ripristinaSessione(Sessione &s, cFileINI &ini, CorsiDB &db);
// gOperStampato and gDomandaStampata from the Installazione rows.
void ricalcolaStampate(Sessione &s, CorsiDB &db);

} // namespace quirdal
