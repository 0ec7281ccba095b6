#include "db/RiaperturaConnessione.h"

#include "common/Testo.h"

namespace quirdal {

RiaperturaConnessione::RiaperturaConnessione(CorsiDB &db, SeFallisce seFallisce)
    : m_db(db), m_modo(db.modo()), m_aperta(db.aperto()), m_seFallisce(std::move(seFallisce))
{
}

RiaperturaConnessione::~RiaperturaConnessione()
{
    try {
        riapri();
    } catch (...) {
        // Telling the user failed as well: nothing more can be done from here.
    }
}

bool RiaperturaConnessione::riapri()
{
    if (m_esito)
        return *m_esito;
    m_esito = true;
    // A connection that was not open has nothing to go back to.
    if (!m_aperta || (m_db.aperto() && m_db.modo() == m_modo))
        return true;
    try {
        m_db.riapriInModo(m_modo);
    } catch (const Errore &e) {
        m_esito = false;
        if (m_seFallisce)
            m_seFallisce(e);
    }
    return *m_esito;
}

QString testoRiaperturaFallita(const Errore &e)
{
    return QStringLiteral("La base dati non si riapre: riavviare il programma.") + CRLF + CRLF + QStringLiteral("Errore ")
        + QString::number(e.numero()) + CRLF + e.descrizione();
}

} // namespace quirdal
