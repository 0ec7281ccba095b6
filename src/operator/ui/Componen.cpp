#include "operator/ui/Componen.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "config/Installazione.h"
#include "operator/Operatore.h"
#include "operator/ui/CampiScheda.h"
#include "operator/ui/PannelloLaboratori.h"
#include "operator/ui/PannelloOre.h"
#include "operator/ui/Scelte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quirdal {

namespace {

QLabel *didascalia(const QString &testo)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(true);
    l->setFixedWidth(200);
    return l;
}

struct Accreditamento {
    const char *casella, *certificato, *gg, *mm, *aa;
    const char *didascalia;
};
const Accreditamento kAccreditamenti[] = {
    {"chkMA", "txtMA_nCert", "txtGGMA", "txtMMMA", "txtAAMA", "Obbligo formativo"},
    {"chkMB", "txtMB_nCert", "txtGGMB", "txtMMMB", "txtAAMB", "Formazione superiore"},
    {"chkMC", "txtMC_nCert", "txtGGMC", "txtMMMC", "txtAAMC", "Formazione continua"},
    {"chkMIO", "txtMIO_nCert", "txtGGMIO", "txtMMMIO", "txtAAMIO", "Informazione orientativa"},
    {"chkt_AD", "txttAD_nCert", "txtGGtAD", "txtMMtAD", "txtAAtAD", "Formazione continua a domanda individuale"},
    {"chkt_D", "txttD_nCert", "txtGGtD", "txtMMtD", "txtAAtD", "Svantaggio"},
    {"chkt_H", "txttH_nCert", "txtGGtH", "txtMMtH", "txtAAtH", "Handicap"},
    {"chkt_FAD", "txttFAD_nCert", "txtGGtFAD", "txtMMtFAD", "txtAAtFAD", "Formazione a distanza"},
    {"chkt_INN", "txttINN_nCert", "txtGGtINN", "txtMMtINN", "txtAAtINN", "Innovazione"},
};

} // namespace

Componen::Componen(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Componen"));
    setWindowTitle(QStringLiteral("Sez.2 - Sedi Interessate (Facoltà e Sedi Operative)"));
    const Sessione &s = m_c.sessione;
    auto *lay = new QVBoxLayout(this);
    auto *fOper = new QGroupBox(QStringLiteral("Operatore selezionato"));
    auto *ho = new QHBoxLayout(fOper);
    for (const auto &[nome, testo] : {std::pair{"lblGrOpe", s.gGrupOpe}, std::pair{"lblOpe", s.gOperatore},
                                      std::pair{"lblDenOpe", s.gDenomOper}, std::pair{"lblDesProv", s.gDesProv}}) {
        auto *l = etichetta(nome);
        l->setText(testo);
        ho->addWidget(l, QByteArray(nome) == "lblDenOpe" ? 1 : 0);
    }
    lay->addWidget(fOper);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    lay->addWidget(SSTab1, 1);

    // Sez. 2.1
    auto *p0 = new QWidget;
    auto *g = new QGridLayout(p0);
    g->setColumnStretch(1, 1);
    int r = 0;
    auto riga = [&](QGridLayout *gr, int &rr, const QString &testo, QWidget *w, Qt::Alignment a = {}) {
        auto *l = didascalia(testo);
        gr->addWidget(l, rr, 0);
        gr->addWidget(w, rr++, 1, a);
        return l;
    };
    riga(g, r, QStringLiteral("Progressivo  anagrafico regionale della sede interessata"),
         lblComponente = etichetta("lblComponente"), Qt::AlignLeft);
    lblSedeOcc = etichetta("lblSedeOcc", false);
    lblSedeOcc->setText(QStringLiteral("SEDE OCCASIONALE"));
    QFont grassetto = lblSedeOcc->font();
    grassetto.setBold(true);
    lblSedeOcc->setFont(grassetto);
    g->addWidget(lblSedeOcc, 0, 1, Qt::AlignRight);
    riga(g, r, QStringLiteral("Denominazione"), txtDenominazione = campo("txtDenominazione", 100));
    cmbTipoCompo = new QComboBox;
    cmbTipoCompo->setObjectName(QStringLiteral("cmbTipoCompo"));
    riga(g, r, QStringLiteral("Tipo di sede interessata"), cmbTipoCompo);
    auto *wComune = new QWidget;
    auto *hc = new QHBoxLayout(wComune);
    hc->setContentsMargins(0, 0, 0, 0);
    txtComDes = campo("txtComDes", 30);
    cmdComu = pulsante("cmdComu", QStringLiteral("..."));
    cmdComu->setFixedWidth(36);
    cmdComu->setToolTip(QStringLiteral("Scegli il comune dall'elenco"));
    lblCodComune = etichetta("lblCodComune");
    lblProv = etichetta("lblProv");
    hc->addWidget(txtComDes, 1);
    hc->addWidget(cmdComu);
    hc->addWidget(new QLabel(QStringLiteral("codice istat")));
    hc->addWidget(lblCodComune);
    hc->addWidget(new QLabel(QStringLiteral("Prov.")));
    hc->addWidget(lblProv);
    riga(g, r, QStringLiteral("Comune"), wComune);
    riga(g, r, QStringLiteral("C.A.P."), txtCap = campo("txtCap", 5), Qt::AlignLeft);
    txtCap->setFixedWidth(80);
    riga(g, r, QStringLiteral("Indirizzo"), txtIndirizzo = campo("txtIndirizzo", 50));
    riga(g, r, QStringLiteral("Telefono"), txtTel = campo("txtTel", 13));
    riga(g, r, QStringLiteral("Fax"), txtFax = campo("txtFax", 15));
    riga(g, r, QStringLiteral("Persone di riferimento"), txtRiferimento = campo("txtRiferimento", 30));
    riga(g, r, QStringLiteral("Indirizzo di posta elettronica"), txtPostaElettronica = campo("txtPostaElettronica", 80));
    txtStatoEstero = campo("txtStatoEstero", 30);
    txtCittaEstero = campo("txtCittaEstero", 30);
    m_soloComponente << riga(g, r, QStringLiteral("Stato Estero"), txtStatoEstero) << txtStatoEstero;
    m_soloComponente << riga(g, r, QStringLiteral("Città Estera"), txtCittaEstero) << txtCittaEstero;
    for (QLabel **l : {&lblSedeAccreditata, &lblSediOccasionali, &lblAzioni}) {
        *l = etichetta(l == &lblSedeAccreditata       ? "lblSedeAccreditata"
                           : l == &lblSediOccasionali ? "lblSediOccasionali"
                                                      : "lblAzioni",
                       false);
        (*l)->setWordWrap(true);
        g->addWidget(*l, r++, 0, 1, 2);
        m_soloComponente << *l;
    }
    g->setRowStretch(r, 1);
    SSTab1->addTab(scorrevole(p0), QStringLiteral("Sez. 2.1"));

    // Sez. 2.2/2.3
    auto *p1 = new QWidget;
    auto *l1 = new QVBoxLayout(p1);
    auto *gl = new QGridLayout;
    gl->setColumnStretch(1, 1);
    int r1 = 0;
    txtNumLocali = campo("txtNumLocali", 4);
    txtAllieviPrevisti = campo("txtAllieviPrevisti", 4);
    for (QLineEdit *e : {txtNumLocali, txtAllieviPrevisti}) {
        e->setValidator(new QIntValidator(0, 9999, e));
        e->setFixedWidth(70);
    }
    auto *dl = new QLabel(QStringLiteral("Numero totale dei locali (aule / laboratori) :"));
    auto *da = new QLabel(QStringLiteral("Allievi contemporaneamente previsti nella sede in riferimento alla legge "
                                         "sull'edilizia scolastica:"));
    da->setWordWrap(true);
    gl->addWidget(dl, r1, 0);
    gl->addWidget(txtNumLocali, r1++, 1, Qt::AlignLeft);
    gl->addWidget(da, r1, 0);
    gl->addWidget(txtAllieviPrevisti, r1++, 1, Qt::AlignLeft);
    l1->addLayout(gl);
    m_laboratori = new PannelloLaboratori(m_c);
    l1->addWidget(m_laboratori);
    auto *f23 = new QGroupBox(QStringLiteral("2.3 Accreditamento"));
    auto *g23 = new QGridLayout(f23);
    g23->addWidget(new QLabel(QStringLiteral("Numero certificato")), 0, 1);
    g23->addWidget(new QLabel(QStringLiteral("Data certificato")), 0, 2);
    int r23 = 1;
    for (const Accreditamento &a : kAccreditamenti) {
        if (r23 == 1 || QByteArray(a.casella) == "chkt_AD") {
            auto *t = new QLabel(r23 == 1 ? QStringLiteral("Macrotipologia") : QStringLiteral("Tipologia"));
            t->setFont(grassetto);
            g23->addWidget(t, r23++, 0);
        }
        auto *k = new QCheckBox(QString::fromUtf8(a.didascalia));
        k->setObjectName(QString::fromLatin1(a.casella));
        auto *cert = campo(a.certificato, 10);
        auto *gg = campo(a.gg, 2), *mm = campo(a.mm, 2), *aa = campo(a.aa, 4);
        auto *hd = new QHBoxLayout;
        for (QLineEdit *e : {gg, mm, aa}) {
            e->setFixedWidth(e == aa ? 56 : 36);
            e->setValidator(new QIntValidator(0, 9999, e));
            hd->addWidget(e);
        }
        hd->addStretch();
        for (QLineEdit *e : {gg, mm})
            alSegnale(e, &QLineEdit::editingFinished, m_c, [e] { e->setText(completaDueCifre(e->text())); });
        g23->addWidget(k, r23, 0);
        g23->addWidget(cert, r23, 1);
        g23->addLayout(hd, r23++, 2);
        auto abilita = [cert, gg, mm, aa](bool si) {
            for (QLineEdit *e : {cert, gg, mm, aa}) {
                if (!si)
                    e->clear();
                e->setEnabled(si);
            }
        };
        alSegnale(k, &QCheckBox::toggled, m_c, abilita);
        abilita(false);
    }
    auto *nota = new QLabel(QStringLiteral("L'accreditamento non è richiesto per presentare la proposta dei corsi: "
                                           "diventa obbligatorio al momento dell'affidamento delle attività approvate."));
    nota->setWordWrap(true);
    g23->addWidget(nota, r23, 0, 1, 3);
    l1->addWidget(f23);
    SSTab1->addTab(scorrevole(p1), QStringLiteral("Sez. 2.2/2.3"));

    // Sez. 2.4
    auto *p2 = new QWidget;
    auto *l2 = new QVBoxLayout(p2);
    ChkDirettive = new QCheckBox(QStringLiteral("Nessuna attività delle direttive elencate è prevista in questa sede "
                                                "nell'anno formativo"));
    ChkDirettive->setObjectName(QStringLiteral("ChkDirettive"));
    l2->addWidget(ChkDirettive);
    m_ore = new PannelloOre(m_c);
    l2->addWidget(m_ore);
    l2->addStretch();
    SSTab1->addTab(scorrevole(p2), QStringLiteral("Sez. 2.4"));

    FrmPulsanti = new QFrame;
    FrmPulsanti->setObjectName(QStringLiteral("FrmPulsanti"));
    auto *gb = new QGridLayout(FrmPulsanti);
    gb->setContentsMargins(0, 0, 0, 0);
    cmdFirst = pulsante("cmdFirst", QStringLiteral("Prima Sede Interessata"));
    cmdPrevious = pulsante("cmdPrevious", QStringLiteral("Sede Interessata Precedente"));
    cmdNext = pulsante("cmdNext", QStringLiteral("Sede Interessata Successiva"));
    cmdLast = pulsante("cmdLast", QStringLiteral("Ultima Sede Interessata"));
    CmdVai = pulsante("CmdVai", QStringLiteral("Vai alla Sede Interessata"));
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    cmdSalva = pulsante("cmdSalva", QStringLiteral("Salva Modifiche"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    int colonna = 0;
    for (QPushButton *b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, CmdVai})
        gb->addWidget(b, 0, colonna++);
    colonna = 2;
    for (QPushButton *b : {cmdAiuto, cmdSalva, cmdEsci})
        gb->addWidget(b, 1, colonna++);
    lay->addWidget(FrmPulsanti);
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);

    (new FiltroNumerico(m_c.dialoghi, this))->applica(txtCap);
    auto *telefoni = new FiltroNumerico(m_c.dialoghi, this, FiltroNumerico::Tipo::Telefono);
    for (QLineEdit *e : {txtTel, txtFax})
        telefoni->applica(e);
    auto *maiuscole = new FiltroMaiuscole(this);
    for (QLineEdit *e : {txtDenominazione, txtComDes, txtIndirizzo, txtRiferimento, txtStatoEstero, txtCittaEstero})
        maiuscole->applica(e);

    txtComDes->installEventFilter(this);
    connect(txtComDes, &QLineEdit::editingFinished, this, [this] { protetto(m_c, [this] { comuneLasciato(); }); });
    alSegnale(txtComDes, &QLineEdit::textChanged, m_c, [this](const QString &t) {
        if (t.isEmpty() && !m_caricando && !m_solaLettura) {
            lblCodComune->clear();
            lblProv->clear();
            txtCap->clear();
        }
    });
    for (QLineEdit *estero : {txtStatoEstero, txtCittaEstero})
        alSegnale(estero, &QLineEdit::textEdited, m_c, [this](const QString &t) {
            // A foreign address and an Italian municipality exclude each other.
            if (!t.isEmpty() && !m_solaLettura)
                comune({}, {}, {}, {});
        });

    alClic(cmdFirst, m_c, [this] { vai(0); });
    alClic(cmdPrevious, m_c, [this] { vai(m_indice - 1); });
    alClic(cmdNext, m_c, [this] { vai(m_indice + 1); });
    alClic(cmdLast, m_c, [this] { vai(static_cast<int>(m_sedi.size()) - 1); });
    alClic(CmdVai, m_c, [this] { vaiAllaSede(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 13000 + SSTab1->currentIndex(), this);
    });
    alClic(cmdComu, m_c, [this] { sceltaComune(); });
    connect(m_ore, &PannelloOre::pannelloAperto, FrmPulsanti,
            [this](bool aperto) { protetto(m_c, [this, aperto] { FrmPulsanti->setEnabled(!aperto); }); });
    connect(ChkDirettive, &QCheckBox::toggled, this, [this](bool si) {
        if (!m_caricando)
            protetto(m_c, [this, si] { direttiveSpuntate(si); });
    });
    setMinimumWidth(860);
    dimensioneRicordata(this, m_c.utente);
}

qlonglong Componen::codice() const { return m_indice >= 0 ? m_sedi[m_indice].codice : 0; }
bool Componen::componente() const { return m_indice >= 0 && !m_sedi[m_indice].occasionale; }

bool Componen::carica()
{
    SSTab1->setCurrentIndex(PaginaDatiSede);
    m_vociTipo = vociTipoCompo(m_c);
    cmbTipoCompo->clear();
    cmbTipoCompo->addItems(m_vociTipo);
    m_ore->impostaDirettive(vociDirettive(m_c));
    m_sedi = sequenzaSedi(m_c);
    if (m_sedi.isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: nessun componente e nessuna sede occasionale trovata per l'Operatore "
                                              "e per la Provincia selezionati. ")
                                   + CRLF + QStringLiteral("Impossibile gestire corsi."),
                               kTitoloComponenti, Icona::Critico);
        return false;
    }
    mostraSede(0);
    m_solaLettura = m_c.sessione.gDomandaStampata != 0;
    if (m_solaLettura) {
        m_c.dialoghi.messaggio(QStringLiteral("Domanda già inviata alla Provincia") + CRLF
                                   + QStringLiteral("Non sarà possibile modificare i dati delle Sedi Interessate"),
                               kTitoloComponenti, Icona::Esclamazione);
        for (QLineEdit *e : findChildren<QLineEdit *>())
            e->setReadOnly(true);
        for (QWidget *w : std::initializer_list<QWidget *>{cmbTipoCompo, cmdComu, ChkDirettive, cmdSalva})
            w->setEnabled(false);
        m_laboratori->blocca();
        m_ore->blocca();
        for (QCheckBox *k : findChildren<QCheckBox *>())
            k->setEnabled(false);
    }
    return true;
}

void Componen::mostraSede(int indice)
{
    const std::optional<DatiSede> d = caricaSede(m_c, m_sedi.value(indice), m_vociTipo);
    if (!d)
        throw Errore(codici::RigaCancellata, QStringLiteral("La sede interessata è stata cancellata da un'altra postazione."));
    m_caricando = true;
    m_indice = indice;
    m_caricati = *d;
    const bool comp = !d->sede.occasionale;
    lblComponente->setText(QString::number(d->sede.codice));
    mostraDati(*d);
    cmbTipoCompo->setEnabled(comp && !m_solaLettura);
    for (QWidget *w : m_soloComponente)
        w->setVisible(comp);
    SSTab1->setTabEnabled(PaginaLocali, comp);
    SSTab1->setTabEnabled(PaginaOre, comp);
    lblSedeOcc->setVisible(!comp);
    m_ore->chiudiPannello();
    if (comp) {
        m_laboratori->mostra(d->sede.codice);
        m_ore->mostra(d->sede.codice);
        const QStringList r = testiRiepilogo(m_c, d->sede.codice);
        lblSedeAccreditata->setText(r.value(0));
        lblSediOccasionali->setText(r.value(1));
        lblAzioni->setText(r.value(2));
        m_ore->abilitaRighe(!m_solaLettura && !d->direttive);
    }
    m_comuneAllEntrata = d->comune;
    m_caricando = false;
    controllaPulsanti();
}

// --- The form and its record -----------------------------------------------------------
// The one place where the sheet's fields and DatiSede meet, both ways.

// A text of the record and the field that shows it.
struct Componen::CampoTesto {
    QLineEdit *campo;
    QString DatiSede::*dato;
    bool soloComponente; // an occasional site has no such field: the record's value stays
    bool dallInizio;     // shown from its first character
};

QList<Componen::CampoTesto> Componen::campiTesto() const
{
    return {{txtDenominazione, &DatiSede::denominazione, false, false},
            {txtComDes, &DatiSede::comune, false, false},
            {txtCap, &DatiSede::cap, false, true},
            {txtIndirizzo, &DatiSede::indirizzo, false, true},
            {txtTel, &DatiSede::tel, false, true},
            {txtFax, &DatiSede::fax, false, true},
            {txtRiferimento, &DatiSede::riferimento, false, true},
            {txtPostaElettronica, &DatiSede::email, false, true},
            {txtStatoEstero, &DatiSede::statoEstero, true, true},
            {txtCittaEstero, &DatiSede::cittaEstero, true, true},
            {txtNumLocali, &DatiSede::numLocali, true, true},
            {txtAllieviPrevisti, &DatiSede::allieviPrevisti, true, true}};
}

void Componen::mostraDati(const DatiSede &d)
{
    for (const CampoTesto &t : campiTesto()) {
        t.campo->setText(d.*t.dato);
        if (t.dallInizio)
            t.campo->setCursorPosition(0);
    }
    lblCodComune->setText(d.codComune);
    lblProv->setText(d.sigProv);
    cmbTipoCompo->setCurrentIndex(static_cast<int>(m_vociTipo.indexOf(d.voceTipoCompo)));
    if (cmbTipoCompo->currentIndex() < 0 && !d.voceTipoCompo.isEmpty()) {
        cmbTipoCompo->addItem(d.voceTipoCompo);
        cmbTipoCompo->setCurrentIndex(cmbTipoCompo->count() - 1);
    }
    ChkDirettive->setChecked(d.direttive);
}

DatiSede Componen::datiSchermo() const
{
    DatiSede d = m_caricati;
    const bool comp = !d.sede.occasionale;
    for (const CampoTesto &t : campiTesto())
        if (comp || !t.soloComponente)
            d.*t.dato = t.campo->text();
    d.email = d.email.trimmed(); // blanks typed around an address are not part of it
    d.codComune = lblCodComune->text();
    d.sigProv = lblProv->text();
    // The type and the directives are a component's: an occasional site keeps its record's.
    if (comp) {
        d.voceTipoCompo = cmbTipoCompo->currentText();
        d.direttive = ChkDirettive->isChecked();
    }
    return d;
}

// --- Sites ---------------------------------------------------------------------------------

void Componen::controllaPulsanti()
{
    const bool primo = m_indice <= 0, ultimo = m_indice >= m_sedi.size() - 1;
    cmdFirst->setEnabled(!primo);
    cmdPrevious->setEnabled(!primo);
    cmdNext->setEnabled(!ultimo);
    cmdLast->setEnabled(!ultimo);
}

bool Componen::mostraEsito(const EsitoVerifica &e)
{
    if (e.valido())
        return true;
    m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
    if (e.pagina >= 0)
        SSTab1->setCurrentIndex(e.pagina);
    if (QWidget *w = findChild<QWidget *>(e.campo))
        w->setFocus();
    return false;
}

bool Componen::lasciaSede()
{
    if (m_solaLettura)
        return true; // a printed application: nothing is written, not even on a move
    const DatiSede d = datiSchermo();
    if (!mostraEsito(verificaSede(m_c, d, false)))
        return false;
    if (sedeCambiata(m_caricati, d)) {
        scriviSede(m_c, d);
        m_caricati = d;
    }
    return true;
}

void Componen::vai(int indice)
{
    if (m_sedi.isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("ANOMALIA: nessun componente e nessuna sede occ. trovati per l'Operatore e la "
                                              "Provincia selezionati. Contattare il V.T.Z. riportando questo messaggio."),
                               kTitoloComponenti, Icona::Critico);
        return;
    }
    indice = std::clamp(indice, 0, static_cast<int>(m_sedi.size()) - 1);
    if (indice == m_indice || !lasciaSede())
        return;
    mostraSede(indice);
}

void Componen::vaiAllaSede()
{
    if (!lasciaSede())
        return;
    m_c.sessione.gSedeScelta.clear();
    m_c.sessione.gSedeSceltaOcc = 0;
    FrmEleSedi elenco(m_c, this);
    elenco.carica();
    if (esegui(elenco) != QDialog::Accepted || m_c.sessione.gSedeScelta.isEmpty())
        return;
    const Sede scelta{m_c.sessione.gSedeScelta.toLongLong(), m_c.sessione.gSedeSceltaOcc != 0};
    const int i = static_cast<int>(m_sedi.indexOf(scelta));
    if (i >= 0)
        mostraSede(i);
}

bool Componen::salva()
{
    if (m_solaLettura)
        return false;
    const DatiSede d = datiSchermo();
    if (!mostraEsito(verificaSede(m_c, d, true)))
        return false;
    scriviSede(m_c, d);
    m_caricati = d;
    return true;
}

void Componen::esci()
{
    esciDallaScheda(*this, m_c.dialoghi, !m_solaLettura && sedeCambiata(m_caricati, datiSchermo()),
                    componente() ? QStringLiteral("Sono stati modificati uno o più dati della Componente")
                                 : QStringLiteral("Sono stati modificati uno o più dati della Sede Occasionale"),
                    kTitoloComponenti, [this] { return salva(); });
}

void Componen::reject()
{
    protetto(m_c, [this] { esci(); });
}

bool Componen::eventFilter(QObject *o, QEvent *e)
{
    if (o == txtComDes && e->type() == QEvent::FocusIn)
        m_comuneAllEntrata = txtComDes->text();
    return QDialog::eventFilter(o, e);
}

void Componen::comune(const QString &nome, const QString &codice, const QString &sigProv, const QString &cap)
{
    m_caricando = true;
    txtComDes->setText(nome);
    lblCodComune->setText(codice);
    lblProv->setText(sigProv);
    txtCap->setText(cap);
    if (!nome.isEmpty()) {
        txtStatoEstero->clear();
        txtCittaEstero->clear();
    }
    m_comuneAllEntrata = nome;
    m_caricando = false;
}

void Componen::comuneLasciato()
{
    const QString t = txtComDes->text();
    if (m_solaLettura || t == m_comuneAllEntrata || t.trimmed().isEmpty())
        return;
    if (const auto trovato = cercaComuneInProvincia(m_c, t)) {
        comune(t, trovato->codice, trovato->sigProv, trovato->cap);
        return;
    }
    m_c.dialoghi.messaggio(QStringLiteral("Il comune inserito non è stato trovato nell'elenco dei comuni italiani rientranti "
                                          "nella provincia selezionata (")
                               + m_c.sessione.gDesProv + QStringLiteral("). Selezionarne un'altro, oppure cancellarlo."),
                           QStringLiteral("Verifica Comune"), Icona::Critico);
    // The site's stored municipality comes back, with its postal code.
    m_caricando = true;
    txtComDes->setText(m_caricati.comune);
    lblCodComune->setText(m_caricati.codComune);
    lblProv->setText(m_caricati.sigProv);
    txtCap->setText(m_caricati.cap);
    m_comuneAllEntrata = m_caricati.comune;
    m_caricando = false;
}

void Componen::sceltaComune()
{
    m_c.sessione.gFiltroComuni = m_c.sessione.gProv;
    const auto picker = TabComu(m_c, this);
    scegli(m_c, *picker, m_c.sessione.gComuneScelto);
    const QStringList &s = m_c.sessione.gComuneScelto;
    if (s.size() < 3)
        return;
    comune(s[1].left(txtComDes->maxLength()), s[0], s[2], txtCap->text());
}

void Componen::direttiveSpuntate(bool spuntato)
{
    m_ore->abilitaRighe(!spuntato && !m_solaLettura);
    // As the sheet says: no activity of those directives, so no hours for them.
    if (spuntato && componente())
        m_ore->eliminaTutte();
}

} // namespace quirdal
