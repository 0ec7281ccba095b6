#include "operator/ui/Componen.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "config/Installazione.h"
#include "operator/Operatore.h"
#include "operator/ui/Scelte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
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

QLabel *etichetta(const char *nome, bool riquadro = true)
{
    auto *l = new QLabel;
    l->setObjectName(QString::fromLatin1(nome));
    if (riquadro) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(60);
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    return l;
}

QLineEdit *campo(const char *nome, int lunghezza)
{
    auto *e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    e->setMaxLength(lunghezza);
    return e;
}

QTableWidget *griglia(const char *nome, const QStringList &intestazioni)
{
    auto *g = new QTableWidget(0, static_cast<int>(intestazioni.size()));
    g->setObjectName(QString::fromLatin1(nome));
    g->setHorizontalHeaderLabels(intestazioni);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setMinimumHeight(110);
    return g;
}

// A tab page that scrolls rather than clip its fields on a small screen.
QScrollArea *scorrevole(QWidget *pagina)
{
    auto *a = new QScrollArea;
    a->setWidget(pagina);
    a->setWidgetResizable(true);
    a->setFrameShape(QFrame::NoFrame);
    return a;
}

QString troncato(const QString &t, int n) { return t.size() > n ? t.left(n) + QStringLiteral("...") : t; }

const QString kLab = QStringLiteral("Tipologia Laboratorio");

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
        *l = etichetta(l == &lblSedeAccreditata ? "lblSedeAccreditata" : l == &lblSediOccasionali ? "lblSediOccasionali"
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
    auto *f22 = new QGroupBox(QStringLiteral("2.2 Autocertificazione"));
    auto *v22 = new QVBoxLayout(f22);
    grdLab = griglia("grdLab", {QStringLiteral("N. laboratori"), QStringLiteral("Tipologia laboratorio")});
    v22->addWidget(grdLab);
    auto *hl = new QHBoxLayout;
    cmdInsLab = pulsante("cmdInsLab", QStringLiteral("Aggiungi riga"));
    cmdModLab = pulsante("cmdModLab", QStringLiteral("Modifica riga"));
    cmdCancLab = pulsante("cmdCancLab", QStringLiteral("Elimina riga"));
    for (QPushButton *b : {cmdInsLab, cmdModLab, cmdCancLab})
        hl->addWidget(b);
    hl->addStretch();
    v22->addLayout(hl);
    l1->addWidget(f22);
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
    auto *f24 = new QGroupBox(QStringLiteral("2.4 Previsione Ore Corsi Rientranti Nell'Anno Formativo"));
    auto *v24 = new QVBoxLayout(f24);
    grdOre = griglia("grdOre", {QStringLiteral("Direttiva"), QStringLiteral("Ore Diurne"), QStringLiteral("Preserali/Serali")});
    grdOre->horizontalHeader()->setStretchLastSection(false);
    grdOre->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    v24->addWidget(grdOre);
    auto *ht = new QHBoxLayout;
    ht->addWidget(new QLabel(QStringLiteral("Totale ore corsi dichiarate")));
    ht->addStretch();
    for (QLineEdit **e : {&txtTotDiurne, &txtTotSerali}) {
        *e = campo(e == &txtTotDiurne ? "txtTotDiurne" : "txtTotSerali", 10);
        (*e)->setReadOnly(true);
        (*e)->setFixedWidth(90);
        (*e)->setAlignment(Qt::AlignRight);
        ht->addWidget(*e);
    }
    v24->addLayout(ht);
    auto *ho2 = new QHBoxLayout;
    CmdInsOre = pulsante("CmdInsOre", QStringLiteral("Aggiungi riga"));
    CmdOre = pulsante("CmdOre", QStringLiteral("Modifica/Inserisci nella griglia"));
    CmdCancOre = pulsante("CmdCancOre", QStringLiteral("Elimina riga"));
    for (QPushButton *b : {CmdInsOre, CmdOre, CmdCancOre})
        ho2->addWidget(b);
    ho2->addStretch();
    v24->addLayout(ho2);
    PanOre = new QFrame;
    PanOre->setObjectName(QStringLiteral("PanOre"));
    PanOre->setFrameShape(QFrame::StyledPanel);
    auto *gp = new QGridLayout(PanOre);
    CmbDirettiva = new QComboBox;
    CmbDirettiva->setObjectName(QStringLiteral("CmbDirettiva"));
    txtOreDiurne = campo("txtOreDiurne", 5);
    txtOreSerali = campo("txtOreSerali", 5);
    for (QLineEdit *e : {txtOreDiurne, txtOreSerali}) {
        e->setValidator(new QIntValidator(0, 99999, e));
        e->setFixedWidth(80);
    }
    gp->addWidget(new QLabel(QStringLiteral("Direttiva:")), 0, 0);
    gp->addWidget(CmbDirettiva, 0, 1, 1, 3);
    gp->addWidget(new QLabel(QStringLiteral("Ore Diurne:")), 1, 0);
    gp->addWidget(txtOreDiurne, 1, 1);
    gp->addWidget(new QLabel(QStringLiteral("Ore Preserali/Serali:")), 1, 2);
    gp->addWidget(txtOreSerali, 1, 3);
    auto *cmdRispCertConf = pulsante("cmdRispCertConf", QStringLiteral("Conferma"));
    auto *cmdRispCertAnn = pulsante("cmdRispCertAnn", QStringLiteral("Annulla"));
    auto *hp = new QHBoxLayout;
    hp->addStretch();
    hp->addWidget(cmdRispCertConf);
    hp->addWidget(cmdRispCertAnn);
    gp->addLayout(hp, 2, 0, 1, 4);
    PanOre->hide();
    v24->addWidget(PanOre);
    l2->addWidget(f24);
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
    alClic(cmdInsLab, m_c, [this] { nuovoLaboratorio(); });
    alClic(cmdModLab, m_c, [this] { modificaLaboratorio(); });
    alClic(cmdCancLab, m_c, [this] { eliminaLaboratorio(); });
    alClic(CmdInsOre, m_c, [this] { apriPannelloOre(false); });
    alClic(CmdOre, m_c, [this] { apriPannelloOre(true); });
    alClic(CmdCancOre, m_c, [this] { eliminaOre(); });
    alClic(cmdRispCertConf, m_c, [this] { confermaOre(); });
    alClic(cmdRispCertAnn, m_c, [this] { chiudiPannelloOre(); });
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
    CmbDirettiva->clear();
    CmbDirettiva->addItems(vociDirettive(m_c));
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
        for (QWidget *w : std::initializer_list<QWidget *>{cmbTipoCompo, cmdComu, cmdInsLab, cmdModLab, cmdCancLab, CmdInsOre,
                                                           CmdOre, CmdCancOre, ChkDirettive, cmdSalva})
            w->setEnabled(false);
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
    txtDenominazione->setText(d->denominazione);
    cmbTipoCompo->setCurrentIndex(static_cast<int>(m_vociTipo.indexOf(d->voceTipoCompo)));
    if (cmbTipoCompo->currentIndex() < 0 && !d->voceTipoCompo.isEmpty()) {
        cmbTipoCompo->addItem(d->voceTipoCompo);
        cmbTipoCompo->setCurrentIndex(cmbTipoCompo->count() - 1);
    }
    cmbTipoCompo->setEnabled(comp && !m_solaLettura);
    lblCodComune->setText(d->codComune);
    txtComDes->setText(d->comune);
    lblProv->setText(d->sigProv);
    const QList<std::pair<QLineEdit *, QString>> testi = {
        {txtCap, d->cap},       {txtIndirizzo, d->indirizzo},        {txtTel, d->tel},
        {txtFax, d->fax},       {txtRiferimento, d->riferimento},    {txtPostaElettronica, d->email},
        {txtStatoEstero, d->statoEstero}, {txtCittaEstero, d->cittaEstero}, {txtNumLocali, d->numLocali},
        {txtAllieviPrevisti, d->allieviPrevisti}};
    for (const auto &[e, t] : testi) {
        e->setText(t);
        e->setCursorPosition(0);
    }
    ChkDirettive->setChecked(d->direttive);
    for (QWidget *w : m_soloComponente)
        w->setVisible(comp);
    SSTab1->setTabEnabled(PaginaLocali, comp);
    SSTab1->setTabEnabled(PaginaOre, comp);
    lblSedeOcc->setVisible(!comp);
    chiudiPannelloOre();
    if (comp) {
        aggiornaLaboratori();
        aggiornaOre();
        const QStringList r = testiRiepilogo(m_c, d->sede.codice);
        lblSedeAccreditata->setText(r.value(0));
        lblSediOccasionali->setText(r.value(1));
        lblAzioni->setText(r.value(2));
        CmdInsOre->setEnabled(!m_solaLettura && !d->direttive);
        CmdCancOre->setEnabled(!m_solaLettura && !d->direttive);
    }
    m_comuneAllEntrata = d->comune;
    m_caricando = false;
    controllaPulsanti();
}

void Componen::controllaPulsanti()
{
    const bool primo = m_indice <= 0, ultimo = m_indice >= m_sedi.size() - 1;
    cmdFirst->setEnabled(!primo);
    cmdPrevious->setEnabled(!primo);
    cmdNext->setEnabled(!ultimo);
    cmdLast->setEnabled(!ultimo);
}

DatiSede Componen::datiSchermo() const
{
    DatiSede d = m_caricati;
    d.denominazione = txtDenominazione->text();
    d.voceTipoCompo = d.sede.occasionale ? m_caricati.voceTipoCompo : cmbTipoCompo->currentText();
    d.codComune = lblCodComune->text();
    d.comune = txtComDes->text();
    d.sigProv = lblProv->text();
    d.cap = txtCap->text();
    d.indirizzo = txtIndirizzo->text();
    d.tel = txtTel->text();
    d.fax = txtFax->text();
    d.riferimento = txtRiferimento->text();
    d.email = txtPostaElettronica->text().trimmed();
    if (!d.sede.occasionale) {
        d.statoEstero = txtStatoEstero->text();
        d.cittaEstero = txtCittaEstero->text();
        d.numLocali = txtNumLocali->text();
        d.allieviPrevisti = txtAllieviPrevisti->text();
        d.direttive = ChkDirettive->isChecked();
    }
    return d;
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
    if (m_solaLettura || !sedeCambiata(m_caricati, datiSchermo())) {
        accept();
        return;
    }
    const QString testo = componente() ? QStringLiteral("Sono stati modificati uno o più dati della Componente")
                                       : QStringLiteral("Sono stati modificati uno o più dati della Sede Occasionale");
    switch (m_c.dialoghi.messaggio(testo + CRLF + QStringLiteral("Salvare le modifiche ?"), kTitoloComponenti, Icona::Domanda,
                                   Pulsanti::SiNoAnnulla)) {
    case Risposta::Si:
        if (salva())
            accept();
        break;
    case Risposta::No: QDialog::reject(); break;
    default: break;
    }
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

void Componen::aggiornaLaboratori()
{
    const QList<Laboratorio> labs = laboratori(m_c, codice());
    grdLab->setRowCount(static_cast<int>(labs.size()));
    for (int i = 0; i < labs.size(); ++i) {
        auto *n = new QTableWidgetItem(QString::number(labs[i].numero));
        n->setData(Qt::UserRole, labs[i].id);
        n->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdLab->setItem(i, 0, n);
        grdLab->setItem(i, 1, new QTableWidgetItem(labs[i].tipo));
    }
    grdLab->resizeColumnToContents(0);
}

void Componen::aggiornaOre()
{
    const QList<OreDirettiva> ore = orePerDirettiva(m_c, codice());
    grdOre->setRowCount(static_cast<int>(ore.size()));
    qlonglong diurne = 0, serali = 0;
    for (int i = 0; i < ore.size(); ++i) {
        auto *d = new QTableWidgetItem(QString::number(ore[i].codDiret) + QStringLiteral("  ") + ore[i].descrizione);
        d->setData(Qt::UserRole, ore[i].codDiret);
        grdOre->setItem(i, 0, d);
        grdOre->setItem(i, 1, new QTableWidgetItem(QString::number(ore[i].diurne)));
        grdOre->setItem(i, 2, new QTableWidgetItem(QString::number(ore[i].serali)));
        diurne += ore[i].diurne;
        serali += ore[i].serali;
    }
    grdOre->resizeColumnToContents(1);
    grdOre->resizeColumnToContents(2);
    txtTotDiurne->setText(QString::number(diurne));
    txtTotSerali->setText(QString::number(serali));
}

namespace {
// The two prompts of a laboratory; nothing when the user gives up.
std::optional<std::pair<qlonglong, QString>> chiediLaboratorio(Dialoghi &d, const QString &numero, const QString &tipo,
                                                               bool modifica)
{
    std::optional<qlonglong> n;
    for (;;) {
        const std::optional<QString> t = d.chiediTesto(QStringLiteral("Immetti il numero di laboratori"),
                                                       QStringLiteral("Numero Laboratori"), numero);
        if (!t)
            return std::nullopt;
        if ((n = numeroDiLaboratori(*t)))
            break;
        if (d.messaggio(QStringLiteral("Non è stato immesso un numero valido. Reinserire? Scegliendo NO l'attuale inserimento "
                                       "verrà annullato"),
                        QStringLiteral("Numero Laboratori"), Icona::Domanda, Pulsanti::SiNo)
            != Risposta::Si)
            return std::nullopt;
    }
    std::optional<QString> descrizione =
        d.chiediTesto(QStringLiteral("Immetti descrizione tipologia laboratorio (255 caratteri)"), kLab, tipo);
    if (!descrizione || descrizione->trimmed().isEmpty())
        return std::nullopt;
    if (descrizione->size() > kLunghezzaTipoLab) {
        const QString domanda = modifica ? QStringLiteral("Sono stati immessi più di 255 caratteri. Troncare la descrizione? "
                                                          "Scegliendo NO l'attuale modifica verrà annullata")
                                         : QStringLiteral("Sono stati immessi più di 255 caratteri. Troncare la descrizione? "
                                                          "Scegliendo NO l'attuale inserimento verrà annullato");
        if (d.messaggio(domanda, kLab, Icona::Domanda, Pulsanti::SiNo) != Risposta::Si)
            return std::nullopt;
        descrizione->truncate(kLunghezzaTipoLab);
    }
    return std::pair{*n, *descrizione};
}
} // namespace

void Componen::nuovoLaboratorio()
{
    if (const auto lab = chiediLaboratorio(m_c.dialoghi, {}, {}, false)) {
        quirdal::aggiungiLaboratorio(m_c, codice(), lab->first, lab->second);
        aggiornaLaboratori();
    }
}

void Componen::modificaLaboratorio()
{
    if (grdLab->rowCount() == 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessuna riga da modificare!"), kLab, Icona::Esclamazione);
        return;
    }
    const int riga = grdLab->currentRow();
    if (riga < 0 || grdLab->selectedItems().isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare la riga da modificare"), kLab, Icona::Esclamazione);
        return;
    }
    const qlonglong id = grdLab->item(riga, 0)->data(Qt::UserRole).toLongLong();
    if (const auto lab = chiediLaboratorio(m_c.dialoghi, grdLab->item(riga, 0)->text(), grdLab->item(riga, 1)->text(), true)) {
        quirdal::modificaLaboratorio(m_c, id, lab->first, lab->second);
        aggiornaLaboratori();
    }
}

void Componen::eliminaLaboratorio()
{
    if (grdLab->rowCount() == 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessuna riga da eliminare!"), kLab, Icona::Esclamazione);
        return;
    }
    const int riga = grdLab->currentRow();
    if (riga < 0 || grdLab->selectedItems().isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare la riga da eliminare"), kLab, Icona::Esclamazione);
        return;
    }
    if (m_c.dialoghi.messaggio(QStringLiteral("Confermi cancellazione di ") + troncato(grdLab->item(riga, 1)->text(), 50)
                                   + QStringLiteral(" ?"),
                               kLab, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    try {
        quirdal::eliminaLaboratorio(m_c, grdLab->item(riga, 0)->data(Qt::UserRole).toLongLong());
    } catch (const Errore &e) {
        if (e.numero() != codici::RigaCancellata)
            throw;
        m_c.dialoghi.messaggio(QStringLiteral("Il record che si è deciso di eliminare è già stato cancellato da un'altra "
                                              "postazione. "),
                               QStringLiteral("Accesso concorrente"), Icona::Esclamazione);
    }
    aggiornaLaboratori();
}

void Componen::apriPannelloOre(bool modifica)
{
    m_oreInModifica = modifica;
    CmbDirettiva->setEnabled(!modifica);
    CmbDirettiva->setCurrentIndex(-1);
    txtOreDiurne->clear();
    txtOreSerali->clear();
    if (modifica) {
        const int riga = grdOre->currentRow();
        if (riga < 0 || grdOre->selectedItems().isEmpty())
            return; // nothing chosen to change: the panel stays closed
        const QString codDiret = grdOre->item(riga, 0)->data(Qt::UserRole).toString();
        for (int i = 0; i < CmbDirettiva->count(); ++i)
            if (CmbDirettiva->itemText(i).section(QLatin1Char(' '), 0, 0) == codDiret)
                CmbDirettiva->setCurrentIndex(i);
        txtOreDiurne->setText(grdOre->item(riga, 1)->text());
        txtOreSerali->setText(grdOre->item(riga, 2)->text());
    }
    PanOre->show();
    FrmPulsanti->setEnabled(false);
    (modifica ? static_cast<QWidget *>(txtOreDiurne) : CmbDirettiva)->setFocus();
}

void Componen::chiudiPannelloOre()
{
    PanOre->hide();
    FrmPulsanti->setEnabled(true);
    txtOreDiurne->clear();
    txtOreSerali->clear();
}

void Componen::confermaOre()
{
    if (CmbDirettiva->currentIndex() < 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare una direttiva"), QStringLiteral("Verifica dati"), Icona::Esclamazione);
        return;
    }
    salvaOreDirettiva(m_c, codice(), CmbDirettiva->currentText().section(QLatin1Char(' '), 0, 0).toLongLong(),
                      txtOreDiurne->text().toLongLong(), txtOreSerali->text().toLongLong());
    chiudiPannelloOre();
    aggiornaOre();
}

void Componen::eliminaOre()
{
    const int riga = grdOre->currentRow();
    if (riga < 0 || grdOre->selectedItems().isEmpty())
        return;
    const QTableWidgetItem *d = grdOre->item(riga, 0);
    if (m_c.dialoghi.messaggio(QStringLiteral("Cencellare la previsione Ore Corsi Rientranti Nell'Anno Formativo per la "
                                              "direttiva ")
                                   + d->text() + QStringLiteral(" ?"),
                               QStringLiteral("Previsione Ore"), Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    eliminaOreDirettiva(m_c, codice(), d->data(Qt::UserRole).toLongLong());
    aggiornaOre();
}

void Componen::direttiveSpuntate(bool spuntato)
{
    CmdInsOre->setEnabled(!spuntato && !m_solaLettura);
    CmdCancOre->setEnabled(!spuntato && !m_solaLettura);
    if (spuntato && componente()) {
        // As the sheet says: no activity of those directives, so no hours for them.
        eliminaTutteLeOre(m_c, codice());
        chiudiPannelloOre();
        aggiornaOre();
    }
}

} // namespace quirdal
