// The course sheet's actions over the whole application: every course checked, the merged
// courses' summary, the courses out to a spreadsheet and back.
#include "courses/ui/Corsi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/ui/Filtri.h"
#include "courses/Corso.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/RapportoImportazione.h"
#include "courses/ui/RiepiloghiCorsi.h"
#include "courses/ui/Sezione31.h"

#include <QCoreApplication>
#include <QProgressDialog>

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

void Corsi::verificaTutti()
{
    if (!salvaSilenzioso())
        return;
    // Every course read and checked, the sheet kept alive meanwhile; the user can stop it.
    QProgressDialog avanzamento(QStringLiteral("Verifica dei corsi della domanda in corso..."), QStringLiteral("Annulla"), 0, 0,
                                this);
    avanzamento.setObjectName(QStringLiteral("prgVerificaTutti"));
    avanzamento.setWindowTitle(QStringLiteral("Verifica tutti i corsi"));
    avanzamento.setWindowModality(Qt::WindowModal);
    avanzamento.setMinimumDuration(0);
    const std::optional<QList<ProblemaCorso>> trovati =
        problemiCorsiDomanda(m_c.db, m_c.sessione, [&avanzamento](int fatti, int totale) {
            avanzamento.setMaximum(totale);
            avanzamento.setValue(fatti);
            QCoreApplication::processEvents();
            return !avanzamento.wasCanceled();
        });
    avanzamento.reset();
    if (!trovati)
        return;
    const QList<ProblemaCorso> &problemi = *trovati;
    if (problemi.isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessun problema trovato nei corsi della domanda."),
                               QStringLiteral("Verifica tutti i corsi"), Icona::Informazione);
        return;
    }
    const std::optional<ProblemaCorso> scelto = frmProblemiCorsi(m_c, problemi, this);
    if (!scelto)
        return;
    const int i = static_cast<int>(m_corsi.indexOf(scelto->chiave));
    if (i < 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Il corso ") + scelto->chiave.corso + QLatin1Char('/') + scelto->chiave.accorp
                                   + QStringLiteral(" è in un'altra sede (") + QString::number(scelto->chiave.sede)
                                   + QStringLiteral("): aprirlo dalla scelta della sede."),
                               QStringLiteral("Verifica tutti i corsi"), Icona::Informazione);
        return;
    }
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, scelto->chiave)) {
        m_indice = i;
        mostra(*d);
        // Shown as after any move, then taken to the field of the problem chosen.
        primaScheda(m_s31->campoIniziale(false));
        portaInVista(findChild<QWidget *>(scelto->campo));
    }
}

void Corsi::riepilogoAccorpati()
{
    if (!corsoMemorizzato())
        return;
    RAccorp(quirdal::riepilogoAccorpati(m_c.db, m_c.sessione, m_c.sessione.gCorso), this);
}

} // namespace quirdal
