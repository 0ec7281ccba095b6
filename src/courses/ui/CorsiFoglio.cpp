// The course sheet's way to the spreadsheet: the application's courses out to a file and back.
#include "courses/ui/Corsi.h"

#include "common/Contesto.h"
#include "courses/Corso.h"
#include "courses/ui/RapportoImportazione.h"

namespace quirdal {

// The file holds what the screen shows: the course being edited is saved (and checked) first.
void Corsi::esportaFoglio()
{
    if (!salvaSilenzioso())
        return;
    esportaInFoglio(m_c);
}

// The import may add and change any course of the application: the course on screen is saved
// first, and after the import the site's list is read again, staying on the same course.
void Corsi::importaFoglio()
{
    if (solaLettura() || !salvaSilenzioso())
        return;
    if (!importaDaFoglio(m_c, this))
        return;
    const ChiaveCorso prima = m_corsi.value(m_indice);
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    if (m_corsi.isEmpty()) {
        pulisci();
        m_stato.modo = Modo::SedeVuota;
        impostaStato();
        return;
    }
    m_indice = std::max(0, static_cast<int>(m_corsi.indexOf(prima)));
    if (m_stato.modo == Modo::SedeVuota)
        m_stato.modo = Modo::Consultazione;
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, m_corsi[m_indice]))
        mostra(*d);
    impostaStato();
}

} // namespace quirdal
