#include "startup/Avvio.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Testo.h"
#include "common/Sessione.h"
#include "config/CartellaProgramma.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "config/SessioneIni.h"
#include "courses/Handicap.h"
#include "db/Aggiornamenti.h"
#include "db/CorsiDB.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"
#include "printing/Stampa.h"
#include "startup/CatalogoAvvio.h"

#include <QDir>
#include <QtGlobal>

namespace quirdal {

Avvio::Avvio(Contesto &c, VistaAvvio &vista, PassiAvvio passi) : m_c(c), m_vista(vista), m_passi(std::move(passi)) { }

void Avvio::passoDati(const char *nome, const std::function<void()> &passo)
{
    try {
        passo();
    } catch (const Errore &e) {
        qWarning("Avvio: passo %s interrotto: %ld %s", nome, e.numero(), qPrintable(e.descrizione()));
    }
}

void Avvio::preparaCartella()
{
    if (m_passi.cartellaModello.isEmpty())
        return;
    if (!cartellaDaPreparare(m_c.cartellaProgramma)) {
        // A folder an older package prepared gets this package's help; the program works
        // without it, so a failure is only noted.
        try {
            aggiornaAiuto(m_c.cartellaProgramma, m_passi.cartellaModello);
        } catch (const Errore &e) {
            qWarning("Avvio: aiuto non aggiornato: %s", qPrintable(e.descrizione()));
        }
        return;
    }
    try {
        quirdal::preparaCartella(m_c.cartellaProgramma, m_passi.cartellaModello);
    } catch (const Errore &e) {
        m_c.dialoghi.messaggio(QStringLiteral("Impossibile preparare la cartella del programma ")
                                   + QDir::toNativeSeparators(m_c.cartellaProgramma) + QLatin1Char('.') + CRLF + e.descrizione()
                                   + CRLF + QStringLiteral("La procedura verrà terminata."),
                               kTitoloInizializzazione, Icona::Critico);
        throw FineProgramma(QStringLiteral("cartella del programma non preparata"));
    }
}

void Avvio::controllaIni()
{
    if (controllaInstallazione(m_c.cartellaProgramma, m_c.ini, m_c.sessione, m_c.dialoghi) == EsitoControlloIni::DaImpostare) {
        if (m_splash) {
            m_vista.chiudiSplash();
            m_splash = false;
        }
        m_vista.mostraImpostazioni(m_c);
        salvaInstallazione(m_c.ini, m_c.sessione, m_c.dialoghi);
    }
}

void Avvio::apriBaseDati() { Inizializza(m_c.cartellaProgramma, m_c.ini, m_c.sessione, m_c.db, m_c.dialoghi); }

void Avvio::aggiornaStruttura()
{
    // Only the SERVER changes the schema every workstation shares: a CLIENT that finds it of
    // an earlier release ends, as it does on an empty database.
    passoDati("Versione", [&] {
        if (m_c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")) != QLatin1String("CLIENT")
            || !schemaPrecedente(m_c.db))
            return;
        m_c.dialoghi.messaggio(QStringLiteral("E' stata effettuata una connessione ad una Base Dati di una versione "
                                              "precedente del programma. E' impossibile continuare l'esecuzione del "
                                              "programma da una installazione di tipo CLIENT.")
                                   + CRLF
                                   + QStringLiteral("Per procedere, avviare la procedura dall'installazione di tipo SERVER, "
                                                    "che aggiornerà la Base Dati; sarà poi possibile avviare le "
                                                    "installazioni CLIENT."),
                               QStringLiteral("Installazione Versione Client"), Icona::Critico);
        throw FineProgramma(QStringLiteral("base dati di una versione precedente su CLIENT"));
    });
    passoDati("DataAvvio", [&] { aggiornaDataAvvio(m_c.db); });
    passoDati("SchedeHandicap", [&] { aggiornaSchedeHandicap(m_c.db); });
    passoDati("Invii", [&] { aggiornaInvii(m_c.db); });
    passoDati("CorsiNonPrimiAnni", [&] {
        if (contaCorsiNonPrimiAnni(m_c.db) == 0)
            return;
        m_c.dialoghi.messaggio(
            QStringLiteral("ATTENZIONE: è stato rilevato l'inserimento di corsi secondi o terzi anni. Con il presente "
                           "applicativo è possibile richiedere finanziamento esclusivamente per corsi annuali o primi "
                           "anni, le attività pregresse (secondi, terzi anni e corsi reiterati) potranno essere "
                           "richiesti con la procedura «WZQ 2009 - Attività Pregresse» disponibile a breve termine. Le "
                           "attività pregresse rilevate saranno cancellate."),
            kTitoloProdotto, Icona::Critico);
        rimuoviCorsiNonPrimiAnni(m_c.db);
    });
}

void Avvio::tabelle()
{
    passoDati("Tabelle", [&] {
        if (m_passi.tabelle)
            m_passi.tabelle(m_c);
        else
            passoTabelle(m_c, m_vista);
    });
}

void Avvio::controllaBaseVuota()
{
    passoDati("BaseVuota", [&] {
        Sessione &s = m_c.sessione;
        const bool vuota = m_c.db.valoreScalare(sql::avvio::kNumeroOperatori).toInt() == 0;
        if (!vuota) {
            s.gAiutoIniziale = FALSO;
            return;
        }
        m_vista.fase(QStringLiteral("INSTALLAZIONE"), QStringLiteral("Attendere..."));
        s.gAiutoIniziale = VERO;
        if (m_c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")) == QLatin1String("CLIENT")) {
            m_vista.mostraAvvisoClient();
            throw FineProgramma(QStringLiteral("base dati vuota su CLIENT"));
        }
        s.gPrimoAvvio = VERO;
        m_vista.attendi(false);
        if (m_passi.scaricaPrimoAvvio)
            m_passi.scaricaPrimoAvvio(m_c);
        tabelle();
        if (m_passi.installaOperatori)
            m_passi.installaOperatori(m_c);
        else
            installaDatiOperatori(m_c, m_vista);
    });
}

void Avvio::ripristinaSessione()
{
    m_c.sessione.gDenomOper.clear();
    passoDati("Sessione", [&] { quirdal::ripristinaSessione(m_c.sessione, m_c.ini, m_c.db); });
}

void Avvio::riparaDati()
{
    passoDati("DesQualif", [&] { riparaDescrizioniQualifiche(m_c.db); });
    passoDati("SchedaHand", [&] { segnaSchedeHandicap(m_c.db); });
    passoDati("ValoriChk", [&] { riparaValoriChk(m_c.db); });
}

void Avvio::completaStampe()
{
    passoDati("StampaDefinitiva", [&] { completaStampeDefinitive(m_c); });
}

void Avvio::esegui()
{
    preparaCartella();
    QDir::setCurrent(m_c.cartellaProgramma);
    m_vista.mostraSplash();
    m_splash = true;
    m_vista.caricaImmagini();
    controllaIni();
    apriBaseDati();
    aggiornaStruttura();
    tabelle();
    controllaBaseVuota();
    ripristinaSessione();
    riparaDati();
    completaStampe();
    if (m_splash) {
        m_vista.chiudiSplash();
        m_splash = false;
    }
    // The caller closes the start-up screen once the main window is shown.
    m_vista.mostraFinestraPrincipale(m_c);
}

} // namespace quirdal
