#include "courses/ui/Corsi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "config/Installazione.h"
#include "courses/Elenchi.h"
#include "courses/Spese.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/EleCorsi.h"
#include "courses/ui/IntestazioneSede.h"
#include "courses/ui/RiepiloghiCorsi.h"
#include "courses/ui/Sezione31.h"
#include "courses/ui/Sezione32.h"
#include "courses/ui/Sezione33.h"
#include "courses/ui/Sezione34.h"
#include "db/CorsiDB.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quirdal {

namespace {
const QString kTitolo = QStringLiteral("Corsi proposti");
} // namespace

Corsi::Corsi(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Corsi"));
    setWindowTitle(QStringLiteral("Sezione 3 - Corsi Proposti"));
    const Sessione &s = m_c.sessione;
    auto *lay = new QVBoxLayout(this);
    auto *testa = new IntestazioneSede(s);
    lblCorso = testa->codice(QStringLiteral("Corso:"), "lblCorso", QStringLiteral(" ---- "));
    lblAccorp = testa->etichetta("lblAccorp", QStringLiteral(" -- "));
    lblAccorp->setFont(lblCorso->font());
    lay->addLayout(testa);

    m_sezioni = new QWidget;
    auto *ls = new QVBoxLayout(m_sezioni);
    ls->setContentsMargins(0, 0, 0, 0);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    ls->addWidget(SSTab1);
    lay->addWidget(m_sezioni, 1);
    m_s31 = new Sezione31(m_c, m_stato);
    SSTab1->addTab(m_s31, QStringLiteral("Sez.3.1"));
    m_s32 = new Sezione32(m_c, m_stato, [this] { return m_s31->oreAnnue(); });
    SSTab1->addTab(m_s32, QStringLiteral("Sez.3.2"));
    m_s33 = new Sezione33(m_c, m_stato);
    SSTab1->addTab(m_s33, QStringLiteral("Sez.3.3"));
    m_s34 = new Sezione34(m_c, m_stato);
    SSTab1->addTab(m_s34, QStringLiteral("Sez.3.4"));

    ProgrBarSalva = new QProgressBar;
    ProgrBarSalva->setObjectName(QStringLiteral("ProgrBarSalva"));
    ProgrBarSalva->setMaximumHeight(8);
    ProgrBarSalva->setTextVisible(false);
    ProgrBarSalva->hide();
    lay->addWidget(ProgrBarSalva);

    auto *basso = new QGridLayout;
    cmdFirst = pulsante("cmdFirst", QStringLiteral("Primo Corso"));
    cmdPrevious = pulsante("cmdPrevious", QStringLiteral("Corso Precedente"));
    cmdNext = pulsante("cmdNext", QStringLiteral("Corso Successivo"));
    cmdLast = pulsante("cmdLast", QStringLiteral("Ultimo Corso"));
    CmdVai = pulsante("CmdVai", QStringLiteral("Vai al Corso"));
    cmdInserisci = pulsante("cmdInserisci", QStringLiteral("Inserisci Corso"));
    cmdSalva = pulsante("cmdSalva", QStringLiteral("Salva Modifiche"));
    cmdDuplica = pulsante("cmdDuplica", QStringLiteral("Duplica Corso"));
    cmdElimina = pulsante("cmdElimina", QStringLiteral("Cancella Corso"));
    cmdStampa = pulsante("cmdStampa", QStringLiteral("Stampa Corso"));
    auto *cmdVerifica = pulsante("cmdVerificaTutti", QStringLiteral("Verifica tutti i corsi"));
    auto *cmdAccorpati = pulsante("cmdRiepAccorp", QStringLiteral("Riepilogo accorpati"));
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    auto *cmdEsporta = pulsante("cmdEsportaFoglio", QStringLiteral("Esporta in foglio di calcolo"));
    cmdImporta = pulsante("cmdImportaFoglio", QStringLiteral("Importa da foglio di calcolo"));
    int col = 0;
    for (QPushButton *b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, CmdVai, cmdVerifica, cmdAccorpati, cmdEsporta})
        basso->addWidget(b, 0, col++);
    col = 0;
    for (QPushButton *b : {cmdInserisci, cmdSalva, cmdDuplica, cmdElimina, cmdStampa, cmdAiuto, cmdEsci, cmdImporta})
        basso->addWidget(b, 1, col++);
    lay->addLayout(basso);
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);

    alClic(cmdFirst, m_c, [this] { vai(0); });
    alClic(cmdPrevious, m_c, [this] { vai(m_indice - 1); });
    alClic(cmdNext, m_c, [this] { vai(m_indice + 1); });
    alClic(cmdLast, m_c, [this] { vai(static_cast<int>(m_corsi.size()) - 1); });
    alClic(CmdVai, m_c, [this] { vaiAlCorso(); });
    alClic(cmdInserisci, m_c, [this] { inserisci(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdDuplica, m_c, [this] { duplica(); });
    alClic(cmdElimina, m_c, [this] { elimina(); });
    alClic(cmdStampa, m_c, [this] { stampa(); });
    alClic(cmdVerifica, m_c, [this] { verificaTutti(); });
    alClic(cmdAccorpati, m_c, [this] { riepilogoAccorpati(); });
    alClic(cmdEsporta, m_c, [this] { esportaFoglio(); });
    alClic(cmdImporta, m_c, [this] { importaFoglio(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 14000 + SSTab1->currentIndex(), this);
    });
    collegaSezioni();
    setMinimumWidth(900);
    dimensioneRicordata(this, m_c.utente);
}

void Corsi::collegaSezioni()
{
    alSegnale(m_s31, &Sezione31::azioneCambiata, m_c, [this] { azioneCambiata(); });
    alSegnale(m_s31, &Sezione31::tipologiaCambiata, m_c, [this] { aggiornaLinee(); });
    alSegnale(m_s31, &Sezione31::durataScelta, m_c, [this] { spesePredefinite(true); });
    // Hours and participants typed after the duration was chosen: the defaults (caps by band
    // of hours) follow them, until the user types a cost.
    alSegnale(m_s31, &Sezione31::oreOAllieviLasciati, m_c, [this] {
        if (inserimento() && m_s32->speseDiPartenza() && m_s31->durata() > 0)
            spesePredefinite(false);
    });
}

// --- The course and the screen ----------------------------------------------------------

void Corsi::pulisci()
{
    {
        const Caricamento caricamento(m_stato);
        lblCorso->setText(QStringLiteral(" ---- "));
        lblAccorp->setText(QStringLiteral(" -- "));
        m_s31->pulisci();
        m_s33->pulisci();
        m_s34->pulisci();
    }
    m_s31->aggiornaAzione();
    azioneCambiata();
    m_s32->pulisci();
}

void Corsi::mostra(const DatiCorso &d)
{
    bool adatto = true;
    {
        const Caricamento caricamento(m_stato);
        lblCorso->setText(d.chiave.corso.left(4));
        lblAccorp->setText(d.chiave.accorp);
        m_c.sessione.gCorso = d.chiave.corso;
        m_c.sessione.gAccorp = d.chiave.accorp;
        adatto &= m_s31->mostra(d);
        adatto &= m_s33->mostra(d);
        m_s34->mostra(d);
    }
    aggiornaLinee();
    m_s32->mostra(d);
    if (!solaLettura())
        m_stato.modo = Modo::Consultazione;
    m_caricati = datiSchermo();
    if (!adatto) {
        if (m_c.dialoghi.messaggio(QStringLiteral("Il corso che si sta cercando di visualizzare presenta delle anomalie.") + CRLF
                                       + QStringLiteral("E' possibile che il precedente tentativo di salvataggio non sia andato "
                                                        "a buon fine.")
                                       + CRLF
                                       + QStringLiteral("Si consiglia di eliminare il corso in questione, quindi reinserirlo al "
                                                        "successivo avvio.")
                                       + CRLF + QStringLiteral("Eliminare il corso?"),
                                   QString(), Icona::Critico, Pulsanti::SiNo)
                == Risposta::Si
            && !solaLettura()) {
            CancellaCorso(m_c.db, m_c.sessione, d.chiave);
            m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
            m_indice = std::min(m_indice, static_cast<int>(m_corsi.size()) - 1);
            if (m_indice < 0) {
                m_stato.modo = Modo::SedeVuota;
                pulisci();
            } else if (const auto altro = caricaCorso(m_c.db, m_c.sessione, m_corsi[m_indice])) {
                mostra(*altro);
            }
        }
    }
    impostaStato();
}

DatiCorso Corsi::datiSchermo() const
{
    DatiCorso d;
    d.chiave = {m_c.sessione.numeroSede(), inserimento() ? QString() : m_c.sessione.gCorso,
                inserimento() ? QString() : m_c.sessione.gAccorp};
    if (nessunCorso())
        d.chiave.corso.clear();
    m_s31->leggi(d, m_caricati, inserimento());
    m_s32->leggi(d);
    m_s33->leggi(d);
    m_s34->leggi(d);
    return d;
}

bool Corsi::invariato() const { return nessunCorso() || (!inserimento() && datiSchermo() == m_caricati); }

// --- The mode ---------------------------------------------------------------------------

bool Corsi::nessunCorso() const
{
    return m_stato.modo == Modo::SedeVuota || (m_stato.modo == Modo::SolaLettura && m_corsi.isEmpty());
}

void Corsi::impostaStato()
{
    m_sezioni->setEnabled(!nessunCorso());
    aggiornaPulsanti();
    cmdStampa->setEnabled(!nessunCorso());
    if (!solaLettura()) {
        cmdElimina->setEnabled(m_stato.modo == Modo::Consultazione);
        cmdDuplica->setEnabled(m_stato.modo == Modo::Consultazione);
        cmdSalva->setEnabled(!nessunCorso());
        cmdInserisci->setEnabled(!inserimento());
        return;
    }
    // A printed application: every field stays readable and none can change.
    for (QLineEdit *e : m_sezioni->findChildren<QLineEdit *>())
        e->setReadOnly(true);
    for (QComboBox *c : m_sezioni->findChildren<QComboBox *>())
        c->setEnabled(false);
    for (QAbstractButton *b : m_sezioni->findChildren<QAbstractButton *>())
        if (!b->objectName().startsWith(QLatin1String("cmd_34")))
            b->setEnabled(false);
}

void Corsi::aggiornaPulsanti()
{
    const int n = static_cast<int>(m_corsi.size());
    const bool bloccati = inserimento() || n <= 1;
    cmdFirst->setEnabled(!bloccati && m_indice > 0);
    cmdPrevious->setEnabled(!bloccati && m_indice > 0);
    cmdNext->setEnabled(!bloccati && m_indice < n - 1);
    cmdLast->setEnabled(!bloccati && m_indice < n - 1);
    CmdVai->setEnabled(!bloccati);
}

void Corsi::primaScheda(QWidget *fuoco)
{
    // Every tab and sub-tab back on its first page (the first the course admits), so that a
    // course is always met from its beginning.
    for (QTabWidget *t : findChildren<QTabWidget *>()) {
        int i = 0;
        while (i < t->count() - 1 && !t->isTabEnabled(i))
            ++i;
        t->setCurrentIndex(i);
    }
    if (fuoco)
        fuoco->setFocus();
}

// --- What one section's choice changes in the others ------------------------------------

void Corsi::azioneCambiata()
{
    m_s34->perAzione(m_s31->asse(), m_s31->misura(), m_s31->codiceAzione());
    aggiornaLinee();
}

void Corsi::aggiornaLinee() { m_s32->aggiornaLinee(lineeAmmesse(m_c.db, m_s31->azione(), m_s31->tipologia()), m_s31->durata()); }

void Corsi::spesePredefinite(bool soloAnniSenzaValori)
{
    aggiornaLinee();
    const int anniMemorizzati = soloAnniSenzaValori && corsoMemorizzato() ? m_caricati.durataTotIter : 0;
    m_s32->mostraIniziali(IniSpese(m_c.db, m_s31->azione(), m_s31->tipologia(), m_s31->durata(), m_s31->oreAnnue(),
                                   m_s31->allievi(), anniMemorizzati),
                          inserimento());
}

// --- Opening ----------------------------------------------------------------------------

bool Corsi::carica()
{
    Sessione &s = m_c.sessione;
    m_s31->riempiListe();
    m_s33->riempiListe();
    m_s34->riempiListe();
    m_corsi = corsiDellaSede(m_c.db, s);
    if (s.gDomandaStampata != 0)
        m_stato.modo = Modo::SolaLettura;
    else
        m_stato.modo = m_corsi.isEmpty() ? Modo::SedeVuota : Modo::Consultazione;
    if (!m_corsi.isEmpty()) {
        m_indice = 0;
        if (const std::optional<DatiCorso> d = caricaCorso(m_c.db, s, m_corsi[0]))
            mostra(*d);
    } else {
        pulisci();
    }
    if (solaLettura()) {
        m_c.dialoghi.messaggio(QStringLiteral("Domanda già inviata alla Provincia") + CRLF
                                   + QStringLiteral("Non sarà possibile modificare i dati dei corsi"),
                               kTitolo, Icona::Esclamazione);
        for (QPushButton *b : {cmdInserisci, cmdElimina, cmdSalva, cmdDuplica, cmdImporta})
            b->setEnabled(false);
    }
    impostaStato();
    return true;
}

void Corsi::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    m_s34->chiudiCaratteristiche();
    if (m_giaMostrata)
        return;
    m_giaMostrata = true;
    if (m_stato.modo != Modo::SedeVuota)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            protetto(m_c, [this] {
                const bool disponibili = sezione33Disponibile(m_c.db, m_c.sessione.gProv);
                if (!disponibili) {
                    m_c.dialoghi.messaggio(QStringLiteral("Per la provincia selezionata ( ") + m_c.sessione.gDesProv
                                               + QStringLiteral(" ) non sono disponibili informazioni sulla sez. 3.3, "
                                                                "impossibile inserire corsi."),
                                           QStringLiteral("Compilazione Corsi"), Icona::Critico);
                    QDialog::reject();
                    return;
                }
                if (m_c.dialoghi.messaggio(QStringLiteral("Nessun corso.") + CRLF + QStringLiteral("Vuoi inserirne uno ? "),
                                           kTitolo, Icona::Domanda, Pulsanti::SiNo)
                    == Risposta::Si)
                    inserisci();
            });
        },
        Qt::QueuedConnection);
}

// --- The buttons ------------------------------------------------------------------------

bool Corsi::mostraEsito(const EsitoVerifica &e)
{
    if (e.valido())
        return true;
    Clessidra::togliTutte();
    m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
    portaInVista(findChild<QWidget *>(e.campo));
    return false;
}

bool Corsi::verifica(bool inserimento)
{
    return mostraEsito(VerifCorso(m_c.db, m_c.sessione, datiSchermo(), inserimento, corsoMemorizzato() && !inserimento));
}

// The save that precedes a move, an insert, a duplicate, a print: only when something
// changed, after the checks.
bool Corsi::salvaSilenzioso()
{
    if (invariato() || solaLettura())
        return true;
    if (inserimento())
        return salva();
    if (!verifica(false))
        return false;
    const std::optional<ChiaveCorso> k = scrivi(datiSchermo());
    if (!k)
        return false;
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    m_indice = static_cast<int>(m_corsi.indexOf(*k));
    return true;
}

std::optional<ChiaveCorso> Corsi::scrivi(const DatiCorso &d)
{
    try {
        return scriviCorso(m_c.db, m_c.sessione, m_c.piattaforma, d);
    } catch (const Errore &e) {
        if (e.numero() != codici::RigaCancellata)
            throw;
    }
    const QString titolo = QStringLiteral("Accesso concorrente");
    ProgrBarSalva->hide();
    Clessidra::togliTutte();
    if (m_c.dialoghi.messaggio(QStringLiteral("Il record che si sta cercando di aggiornare è stato cancellato da un altro "
                                              "operatore.")
                                   + CRLF + QStringLiteral("Reinserire il record?"),
                               titolo, Icona::Esclamazione, Pulsanti::SiNo)
        != Risposta::Si) {
        ricarica();
        return std::nullopt;
    }
    const ChiaveCorso k = reinserisciCorso(m_c.db, m_c.sessione, m_c.piattaforma, d);
    QString testo = QStringLiteral("Corso reinserito.");
    // Its code given meanwhile to another course: the user must know it by its new one.
    if (k.corso != d.chiave.corso || k.accorp != d.chiave.accorp)
        testo += CRLF + QStringLiteral("Il codice ") + d.chiave.corso + QLatin1Char(' ') + d.chiave.accorp
            + QStringLiteral(" è stato assegnato nel frattempo a un altro corso: il corso ha ora il codice ") + k.corso
            + QLatin1Char(' ') + k.accorp + QLatin1Char('.');
    m_c.dialoghi.messaggio(testo, titolo, Icona::Informazione);
    return k;
}

void Corsi::ricarica()
{
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    if (m_corsi.isEmpty()) {
        m_stato.modo = Modo::SedeVuota;
        m_indice = -1;
        pulisci();
        impostaStato();
        return;
    }
    m_indice = std::clamp(m_indice, 0, static_cast<int>(m_corsi.size()) - 1);
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, m_corsi[m_indice]))
        mostra(*d);
    primaScheda(m_s31->campoIniziale(false));
}

bool Corsi::salva()
{
    if (solaLettura() || nessunCorso())
        return false;
    const Clessidra clessidra;
    const bool nuovo = inserimento();
    if (!verifica(nuovo))
        return false;
    std::optional<ChiaveCorso> k;
    {
        // The bar shows while the course is written, not under the message that follows.
        ProgrBarSalva->show();
        ProgrBarSalva->setRange(0, 0);
        struct Barra {
            QProgressBar *b;
            ~Barra() { b->hide(); }
        } barra{ProgrBarSalva};
        k = scrivi(datiSchermo());
    }
    if (!k)
        return false;
    m_stato.modo = Modo::Consultazione;
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    m_indice = static_cast<int>(m_corsi.indexOf(*k));
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, *k))
        mostra(*d);
    if (nuovo)
        m_c.dialoghi.messaggio(QStringLiteral("VERIFICHE OK") + CRLF + QStringLiteral("Corso inserito"),
                               QStringLiteral("Inserimento Corso"), Icona::Informazione);
    return true;
}

void Corsi::vai(int indice)
{
    if (m_corsi.isEmpty() || inserimento())
        return;
    indice = std::clamp(indice, 0, static_cast<int>(m_corsi.size()) - 1);
    if (!salvaSilenzioso())
        return;
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, m_corsi[indice])) {
        m_indice = indice;
        mostra(*d);
    }
    primaScheda(m_s31->campoIniziale(false));
}

void Corsi::vaiAlCorso()
{
    const ChiaveCorso corrente{m_c.sessione.numeroSede(), m_c.sessione.gCorso, m_c.sessione.gAccorp};
    EleCorsi elenco(m_c, corrente, this);
    if (esegui(elenco) != QDialog::Accepted || !elenco.scelto() || *elenco.scelto() == corrente)
        return;
    const ChiaveCorso scelto = *elenco.scelto();
    if (!salvaSilenzioso())
        return;
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    const int i = static_cast<int>(m_corsi.indexOf(scelto));
    if (i >= 0)
        if (const auto d = caricaCorso(m_c.db, m_c.sessione, scelto)) {
            m_indice = i;
            mostra(*d);
        }
    primaScheda(m_s31->campoIniziale(false));
}

void Corsi::inserisci()
{
    if (solaLettura())
        return;
    if (m_stato.modo != Modo::SedeVuota && !salvaSilenzioso())
        return;
    m_stato.modo = Modo::Inserimento;
    pulisci();
    m_caricati = DatiCorso{};
    impostaStato();
    primaScheda(m_s31->campoIniziale(m_c.sessione.numeroSede() >= 1000));
}

void Corsi::duplica()
{
    if (m_stato.modo != Modo::Consultazione)
        return;
    if (!salvaSilenzioso())
        return;
    // Every field stays: the copy becomes a course when it is saved.
    m_stato.modo = Modo::Inserimento;
    lblCorso->setText(QStringLiteral(" ---- "));
    lblAccorp->setText(QStringLiteral(" -- "));
    {
        const Caricamento caricamento(m_stato);
        m_s31->preparaCopia();
    }
    impostaStato();
    primaScheda(nullptr);
    m_c.dialoghi.messaggio(QStringLiteral("Corso duplicato") + CRLF + QStringLiteral("Verifiche OK."),
                           QStringLiteral("Duplica Corso"), Icona::Informazione);
    m_s31->campoIniziale(false)->setFocus();
}

void Corsi::elimina()
{
    if (m_stato.modo != Modo::Consultazione)
        return;
    if (m_c.dialoghi.messaggio(QStringLiteral("Confermi cancellazione corso?"), kTitolo, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    const ChiaveCorso k = m_corsi.value(m_indice);
    if (!CancellaCorso(m_c.db, m_c.sessione, k)) {
        m_c.dialoghi.messaggio(QStringLiteral("E' presente un corso accorpato a questo corso") + CRLF
                                   + QStringLiteral("Occorre prima cancellare i corsi accorpati e poi il corso principale"),
                               QStringLiteral("Cancellazione corso"), Icona::Esclamazione);
        return;
    }
    ricarica();
    if (m_corsi.isEmpty()
        && m_c.dialoghi.messaggio(QStringLiteral("Nessun corso ") + CRLF + QStringLiteral(" Vuoi inserirne uno ? "), kTitolo,
                                  Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si)
        inserisci();
}

void Corsi::stampa()
{
    if (nessunCorso())
        return;
    if (!invariato() && !salva())
        return;
    if (!m_stampa) {
        m_c.dialoghi.messaggio(QStringLiteral("Stampa non disponibile."), QStringLiteral("Stampa Corso"), Icona::Informazione);
        return;
    }
    m_c.sessione.gTipoStampa = QStringLiteral("BOZZA CORSO");
    m_stampa(m_corsi.value(m_indice));
}

void Corsi::esci()
{
    if (nessunCorso()) {
        accept();
        return;
    }
    const ChiaveCorso k = m_corsi.value(m_indice);
    if (!solaLettura() && (inserimento() || CorsoIncompleto(m_c.db, m_c.sessione, k))) {
        if (m_c.dialoghi.messaggio(
                QStringLiteral("Il corso corrente non è ancora stato salvato in maniera corretta. Uscendo verrà "
                               "concellato.")
                    + CRLF + QStringLiteral("Continuare ?"),
                kTitolo, Icona::Informazione, Pulsanti::SiNoAnnulla)
            != Risposta::Si)
            return;
        if (!inserimento())
            CancellaCorso(m_c.db, m_c.sessione, k);
        accept();
        return;
    }
    esciDallaScheda(*this, m_c.dialoghi, !solaLettura() && !invariato(),
                    QStringLiteral("Sono stati modificati uno o più dati del corso"), kTitolo, [this] { return salva(); });
}

void Corsi::reject()
{
    protetto(m_c, [this] { esci(); });
}

} // namespace quirdal
