#pragma once
// After an exclusive reconnection (a restore, a database update, a reassignment), the
// connection goes back to the mode it had before: left exclusive, the database would shut
// the other workstations out until the next start. A reopen that fails is never kept
// quiet: it goes to the caller, who tells the user, since the program is then without its
// connection or still holds the database exclusively.
#include "common/Errori.h"
#include "db/CorsiDB.h"

#include <functional>
#include <optional>

namespace quirdal {

class RiaperturaConnessione {
public:
    using SeFallisce = std::function<void(const Errore &)>;

    // Made before the exclusive reconnection: the mode to go back to is the one of now.
    RiaperturaConnessione(CorsiDB &db, SeFallisce seFallisce);
    // riapri(), when not called before; nothing is thrown.
    ~RiaperturaConnessione();
    RiaperturaConnessione(const RiaperturaConnessione &) = delete;
    RiaperturaConnessione &operator=(const RiaperturaConnessione &) = delete;

    // The connection back in its mode, reopened when it is closed or in another mode. Done
    // once: false when the reopen failed, after handing the error to seFallisce; a later
    // call only repeats the answer.
    bool riapri();
    ModoApertura modo() const { return m_modo; }

private:
    CorsiDB &m_db;
    ModoApertura m_modo;
    bool m_aperta;
    SeFallisce m_seFallisce;
    std::optional<bool> m_esito;
};

// What the user is told when the connection could not be put back.
QString testoRiaperturaFallita(const Errore &e);

} // namespace quirdal
