#include "operator/ui/Operator.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "config/Installazione.h"
#include "operator/ui/FrmSedeLeg.h"
#include "operator/ui/Scelte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quirdal {

namespace {

QGroupBox *riquadro(const QString &titolo, QGridLayout *&griglia)
{
    auto *g = new QGroupBox(titolo);
    griglia = new QGridLayout(g);
    griglia->setColumnStretch(1, 1);
    return g;
}

// Captions of one width on every page, wrapped when long, so that the fields line up.
QLabel *didascalia(const QString &testo)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(true);
    l->setFixedWidth(190);
    return l;
}

QLabel *etichetta(const char *nome)
{
    auto *l = new QLabel;
    l->setObjectName(QString::fromLatin1(nome));
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(60);
    return l;
}

QComboBox *tendina(const char *nome) { return quirdal::tendina(QString::fromLatin1(nome), 30); }

// Day, month and year fields side by side.
QHBoxLayout *rigaData(QLineEdit *gg, QLineEdit *mm, QLineEdit *aaaa)
{
    auto *h = new QHBoxLayout;
    for (QLineEdit *e : {gg, mm})
        e->setFixedWidth(36);
    aaaa->setFixedWidth(56);
    h->addWidget(gg);
    h->addWidget(new QLabel(QStringLiteral("/")));
    h->addWidget(mm);
    h->addWidget(new QLabel(QStringLiteral("/")));
    h->addWidget(aaaa);
    h->addWidget(new QLabel(QStringLiteral("(gg/mm/aaaa)")));
    h->addStretch();
    return h;
}

void imposta(QComboBox *c, const QStringList &voci, const QString &voce)
{
    c->clear();
    c->addItems(voci);
    c->setCurrentIndex(std::max(0, static_cast<int>(voci.indexOf(voce))));
}

} // namespace

QLineEdit *Operator::campo(const char *nome, int lunghezza)
{
    auto *e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    e->setMaxLength(lunghezza);
    return e;
}

Operator::Operator(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Operator"));
    setWindowTitle(kTitoloOperatore);
    auto *lay = new QVBoxLayout(this);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    lay->addWidget(SSTab1, 1);

    // Sezioni 1.1 - 1.2
    auto *p0 = new QWidget;
    auto *l0 = new QVBoxLayout(p0);
    QGridLayout *g = nullptr;
    auto *f11 = riquadro(QStringLiteral("1.1 Codici di identificazione"), g);
    lblGrOpe = etichetta("lblGrOpe");
    lblOpe = etichetta("lblOpe");
    lblCodFisc = etichetta("lblCodFisc");
    auto *codice = new QHBoxLayout;
    codice->addWidget(lblGrOpe);
    codice->addWidget(lblOpe);
    codice->addStretch();
    g->addWidget(didascalia(QStringLiteral("Codice operatore")), 0, 0);
    g->addLayout(codice, 0, 1);
    txtDenomi = campo("txtDenomi", 100);
    g->addWidget(didascalia(QStringLiteral("Denominazione")), 1, 0);
    g->addWidget(txtDenomi, 1, 1);
    cmbTOper = tendina("cmbTOper");
    cmbTOper->hide();
    g->addWidget(cmbTOper, 2, 1);
    g->addWidget(didascalia(QStringLiteral("Codice fiscale")), 3, 0);
    g->addWidget(lblCodFisc, 3, 1, Qt::AlignLeft);
    cmbCorrispondenza = tendina("cmbCorrispondenza");
    g->addWidget(didascalia(QStringLiteral("Componente responsabile della corrispondenza")), 4, 0);
    g->addWidget(cmbCorrispondenza, 4, 1);
    l0->addWidget(f11);
    auto *f12 = riquadro(QStringLiteral("1.2 Legale rappresentante o procuratore firmatario della convenzione"), g);
    txtLegNome = campo("txtLegNome", 35);
    g->addWidget(didascalia(QStringLiteral("Cognome e nome")), 0, 0);
    g->addWidget(txtLegNome, 0, 1);
    txtcomleg = campo("txtcomleg", 30);
    cmdComuNasc = pulsante("cmdComuNasc", QStringLiteral("Comune"));
    cmdStatoEstero = pulsante("cmdStatoEstero", QStringLiteral("Stato Estero"));
    auto *luogo = new QHBoxLayout;
    luogo->addWidget(txtcomleg, 1);
    luogo->addWidget(cmdComuNasc);
    luogo->addWidget(cmdStatoEstero);
    g->addWidget(didascalia(QStringLiteral("Luogo di nascita")), 1, 0);
    g->addLayout(luogo, 1, 1);
    txtProvLeg = campo("txtProvLeg", 2);
    txtProvLeg->setFixedWidth(48);
    g->addWidget(didascalia(QStringLiteral("Provincia")), 2, 0);
    g->addWidget(txtProvLeg, 2, 1, Qt::AlignLeft);
    txtGGLeg = campo("txtGGLeg", 2);
    txtMMLeg = campo("txtMMLeg", 2);
    txtAALeg = campo("txtAALeg", 4);
    g->addWidget(didascalia(QStringLiteral("Data di nascita")), 3, 0);
    g->addLayout(rigaData(txtGGLeg, txtMMLeg, txtAALeg), 3, 1);
    l0->addWidget(f12);
    ckATI = new QCheckBox(QStringLiteral("L'operatore presentatore della domanda agisce/agirà in quanto capofila di "
                                         "ASSOCIAZIONE TEMPORANEA di IMPRESE"));
    ckATI->setObjectName(QStringLiteral("ckATI"));
    ckATI->hide();
    l0->addWidget(ckATI);
    l0->addStretch();
    SSTab1->addTab(p0, QStringLiteral("Sezioni 1.1 - 1.2"));

    // Sezione 1.3/1.4/1.5
    auto *p1 = new QWidget;
    auto *l1 = new QVBoxLayout(p1);
    auto *f13 = riquadro(QStringLiteral("1.3 Estremi per il versamento dei contributi"), g);
    txtContABI = campo("txtContABI", 6);
    txtContCAB = campo("txtContCAB", 6);
    txtContCIN = campo("txtContCIN", 1);
    txtContIBAN = campo("txtContIBAN", 27);
    auto *codici = new QHBoxLayout;
    for (const auto &[testo, e] : {std::pair{"ABI", txtContABI}, std::pair{"CAB", txtContCAB}, std::pair{"CIN", txtContCIN}}) {
        codici->addWidget(new QLabel(QString::fromLatin1(testo)));
        e->setFixedWidth(e == txtContCIN ? 36 : 80);
        codici->addWidget(e);
    }
    codici->addStretch();
    g->addWidget(didascalia(QStringLiteral("Coordinate bancarie")), 0, 0);
    g->addLayout(codici, 0, 1);
    g->addWidget(didascalia(QStringLiteral("IBAN")), 1, 0);
    g->addWidget(txtContIBAN, 1, 1);
    txtDesBanca = campo("txtDesBanca", 30);
    g->addWidget(didascalia(QStringLiteral("Banca")), 2, 0);
    g->addWidget(txtDesBanca, 2, 1);
    txtContAge = campo("txtContAge", 5);
    g->addWidget(didascalia(QStringLiteral("Agenzia n.")), 3, 0);
    g->addWidget(txtContAge, 3, 1, Qt::AlignLeft);
    txtIndirAge = campo("txtIndirAge", 30);
    g->addWidget(didascalia(QStringLiteral("Indirizzo dell'agenzia")), 4, 0);
    g->addWidget(txtIndirAge, 4, 1);
    txtNumCC = campo("txtNumCC", 15);
    g->addWidget(didascalia(QStringLiteral("Conto corrente n.")), 5, 0);
    g->addWidget(txtNumCC, 5, 1);
    txtIntCC = campo("txtIntCC", 30);
    g->addWidget(didascalia(QStringLiteral("Intestato a")), 6, 0);
    g->addWidget(txtIntCC, 6, 1);
    l1->addWidget(f13);
    auto *f14 = riquadro(QStringLiteral("1.4 Sede Legale"), g);
    txtProvCC = campo("txtProvCC", 2);
    txtCodCC = campo("txtCodCC", 7);
    txtAnnCC = campo("txtAnnCC", 4);
    auto *cciaa = new QHBoxLayout;
    for (const auto &[testo, e] : {std::pair{"Prov.", txtProvCC}, std::pair{"Numero", txtCodCC}, std::pair{"Anno", txtAnnCC}}) {
        cciaa->addWidget(new QLabel(QString::fromUtf8(testo)));
        e->setFixedWidth(e == txtProvCC ? 48 : 90);
        cciaa->addWidget(e);
    }
    cciaa->addStretch();
    g->addWidget(didascalia(QStringLiteral("Iscrizione C.C.I.A.A.")), 0, 0);
    g->addLayout(cciaa, 0, 1);
    cmbAEco = tendina("cmbAEco");
    g->addWidget(didascalia(QStringLiteral("Attività economica (ISTAT)")), 1, 0);
    g->addWidget(cmbAEco, 1, 1);
    cmdSedeLeg = pulsante("cmdSedeLeg", QStringLiteral("Dati della Sede Legale..."));
    g->addWidget(cmdSedeLeg, 2, 1, Qt::AlignLeft);
    l1->addWidget(f14);
    auto *f15 = riquadro(QStringLiteral("1.5 Referente pari opportunità"), g);
    txtNominativoReferente = campo("txtNominativoReferente", 30);
    txtCodFiscaleReferente = campo("txtCodFiscaleReferente", 16);
    g->addWidget(didascalia(QStringLiteral("Nominativo")), 0, 0);
    g->addWidget(txtNominativoReferente, 0, 1);
    g->addWidget(didascalia(QStringLiteral("Codice fiscale")), 1, 0);
    g->addWidget(txtCodFiscaleReferente, 1, 1);
    l1->addWidget(f15);
    l1->addStretch();
    SSTab1->addTab(p1, QStringLiteral("Sezione 1.3/1.4/1.5"));

    // Dom. Precedente
    auto *p2 = new QWidget;
    auto *l2 = new QVBoxLayout(p2);
    auto *fp = riquadro(QStringLiteral("Eventuale domanda precedente"), g);
    auto *nota = new QLabel(QStringLiteral("Gli operatori che hanno già presentato la documentazione con un bando precedente "
                                           "indicano soltanto gli estremi di protocollo di quella domanda."));
    nota->setWordWrap(true);
    g->addWidget(nota, 0, 0, 1, 2);
    txtDomPrece = campo("txtDomPrece", 20);
    g->addWidget(didascalia(QStringLiteral("Numero di protocollo")), 1, 0);
    g->addWidget(txtDomPrece, 1, 1);
    txtGGPrece = campo("txtGGPrece", 2);
    txtMMPrece = campo("txtMMPrece", 2);
    txtAAPrece = campo("txtAAPrece", 4);
    g->addWidget(didascalia(QStringLiteral("Data")), 2, 0);
    g->addLayout(rigaData(txtGGPrece, txtMMPrece, txtAAPrece), 2, 1);
    CmbProv = tendina("CmbProv");
    g->addWidget(didascalia(QStringLiteral("Provincia")), 3, 0);
    g->addWidget(CmbProv, 3, 1);
    txtDirettiva = campo("txtDirettiva", 80);
    g->addWidget(didascalia(QStringLiteral("Direttiva")), 4, 0);
    g->addWidget(txtDirettiva, 4, 1);
    txtAnnoDirettiva = campo("txtAnnoDirettiva", 4);
    txtAnnoDirettiva->setFixedWidth(56);
    g->addWidget(didascalia(QStringLiteral("Anno di gestione")), 5, 0);
    g->addWidget(txtAnnoDirettiva, 5, 1, Qt::AlignLeft);
    l2->addWidget(fp);
    l2->addStretch();
    SSTab1->addTab(p2, QStringLiteral("Dom. Precedente"));

    auto *basso = new QHBoxLayout;
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    cmdSalva = pulsante("cmdSalva", QStringLiteral("Salva Modifiche"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    basso->addWidget(cmdAiuto);
    basso->addStretch();
    basso->addWidget(cmdSalva);
    basso->addWidget(cmdEsci);
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);
    lay->addLayout(basso);

    auto *maiuscole = new FiltroMaiuscole(this);
    for (QLineEdit *e : {txtDenomi, txtLegNome, txtcomleg, txtProvLeg, txtProvCC, txtDirettiva})
        maiuscole->applica(e);
    auto *numeri = new FiltroNumerico(m_c.dialoghi, this);
    for (QLineEdit *e :
         {txtGGLeg, txtMMLeg, txtAALeg, txtAnnCC, txtDomPrece, txtGGPrece, txtMMPrece, txtAAPrece, txtAnnoDirettiva})
        numeri->applica(e);
    for (QLineEdit *e : {txtGGLeg, txtMMLeg, txtAALeg, txtGGPrece, txtMMPrece, txtAAPrece})
        alSegnale(e, &QLineEdit::editingFinished, m_c, [e] { e->setText(completaDueCifre(e->text())); });
    txtcomleg->installEventFilter(this);
    connect(txtcomleg, &QLineEdit::editingFinished, this, [this] { protetto(m_c, [this] { luogoLasciato(); }); });
    alSegnale(txtcomleg, &QLineEdit::textChanged, m_c, [this](const QString &t) {
        if (t.isEmpty() && !m_solaLettura) {
            txtProvLeg->clear();
            provinciaNascita(true);
        }
    });

    alClic(cmdComuNasc, m_c, [this] { comuneDiNascita(); });
    alClic(cmdStatoEstero, m_c, [this] { statoDiNascita(); });
    alClic(cmdSedeLeg, m_c, [this] {
        FrmSedeLeg sede(m_c, this);
        if (sede.carica())
            esegui(sede);
    });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 11000 + SSTab1->currentIndex(), this);
    });
    setMinimumWidth(820);
}

bool Operator::carica()
{
    SSTab1->setCurrentIndex(PaginaIdentificazione);
    m_voci = vociOperatore(m_c);
    const std::optional<DatiOperatore> d = caricaOperatore(m_c, m_voci);
    if (!d) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessun Operatore  ") + CRLF
                                   + QStringLiteral("Impossibile gestire la proposta corsi"),
                               kTitoloOperatore, Icona::Esclamazione);
        return false;
    }
    m_caricati = *d;
    mostra(*d);
    m_solaLettura = operatoreInSolaLettura(m_c);
    if (m_solaLettura) {
        m_c.dialoghi.messaggio(QStringLiteral("Domanda già inviata alla Provincia") + CRLF
                                   + QStringLiteral("Non sarà possibile modificare i dati") + CRLF
                                   + QStringLiteral("dell' operatore"),
                               kTitoloOperatore, Icona::Esclamazione);
        // Locked: nothing on the sheet can be changed, so nothing can be saved.
        for (QLineEdit *e : findChildren<QLineEdit *>())
            e->setReadOnly(true);
        for (QComboBox *c : findChildren<QComboBox *>())
            c->setEnabled(false);
        for (QPushButton *b : {cmdSalva, cmdComuNasc, cmdStatoEstero})
            b->setEnabled(false);
    }
    return true;
}

void Operator::mostra(const DatiOperatore &d)
{
    lblGrOpe->setText(d.grupOpe);
    lblOpe->setText(d.operatore);
    lblCodFisc->setText(d.codFisc);
    txtDenomi->setText(d.denominazione);
    txtDenomi->setCursorPosition(0);
    imposta(cmbTOper, m_voci.tipoOper, d.voceTipoOper);
    imposta(cmbCorrispondenza, m_voci.corrispondenza, d.voceCorrispondenza);
    imposta(cmbAEco, m_voci.attEcono, d.voceAttEcono);
    imposta(CmbProv, m_voci.provincePrece, d.voceProvPrece);
    const QList<std::pair<QLineEdit *, QString>> testi = {{txtLegNome, d.legNome},
                                                          {txtcomleg, d.legComNasc},
                                                          {txtProvLeg, d.legProvNasc},
                                                          {txtGGLeg, d.legGG},
                                                          {txtMMLeg, d.legMM},
                                                          {txtAALeg, d.legAAAA},
                                                          {txtContABI, d.contABI},
                                                          {txtContCAB, d.contCAB},
                                                          {txtContCIN, d.contCIN},
                                                          {txtContIBAN, d.contIBAN},
                                                          {txtDesBanca, d.desBanca},
                                                          {txtContAge, d.contAge},
                                                          {txtIndirAge, d.indirAge},
                                                          {txtNumCC, d.numCC},
                                                          {txtIntCC, d.intCC},
                                                          {txtProvCC, d.provCC},
                                                          {txtCodCC, d.codCC},
                                                          {txtAnnCC, d.annCC},
                                                          {txtNominativoReferente, d.nominativoReferente},
                                                          {txtCodFiscaleReferente, d.codFiscaleReferente},
                                                          {txtDomPrece, d.domPrece},
                                                          {txtGGPrece, d.ggPrece},
                                                          {txtMMPrece, d.mmPrece},
                                                          {txtAAPrece, d.aaPrece},
                                                          {txtDirettiva, d.direttiva},
                                                          {txtAnnoDirettiva, d.annoDirettiva}};
    for (const auto &[e, t] : testi) {
        e->setText(t);
        e->setCursorPosition(0); // a long text shows from its start
    }
    provinciaNascita(d.provLegAbilitata);
    m_luogoAllEntrata = d.legComNasc;
}

DatiOperatore Operator::datiSchermo() const
{
    DatiOperatore d;
    d.grupOpe = lblGrOpe->text();
    d.operatore = lblOpe->text();
    d.codFisc = lblCodFisc->text();
    d.denominazione = txtDenomi->text();
    d.voceTipoOper = cmbTOper->currentText();
    d.voceCorrispondenza = cmbCorrispondenza->currentText();
    d.legNome = txtLegNome->text();
    d.legComNasc = txtcomleg->text();
    d.legProvNasc = txtProvLeg->text();
    d.legGG = txtGGLeg->text();
    d.legMM = txtMMLeg->text();
    d.legAAAA = txtAALeg->text();
    d.contABI = txtContABI->text();
    d.contCAB = txtContCAB->text();
    d.contCIN = txtContCIN->text();
    d.contIBAN = txtContIBAN->text();
    d.desBanca = txtDesBanca->text();
    d.contAge = txtContAge->text();
    d.indirAge = txtIndirAge->text();
    d.numCC = txtNumCC->text();
    d.intCC = txtIntCC->text();
    d.provCC = txtProvCC->text();
    d.codCC = txtCodCC->text();
    d.annCC = txtAnnCC->text();
    d.voceAttEcono = cmbAEco->currentText();
    d.nominativoReferente = txtNominativoReferente->text();
    d.codFiscaleReferente = txtCodFiscaleReferente->text();
    d.domPrece = txtDomPrece->text();
    d.ggPrece = txtGGPrece->text();
    d.mmPrece = txtMMPrece->text();
    d.aaPrece = txtAAPrece->text();
    d.voceProvPrece = CmbProv->currentText();
    d.direttiva = txtDirettiva->text();
    d.annoDirettiva = txtAnnoDirettiva->text();
    d.provLegAbilitata = txtProvLeg->isEnabled();
    return d;
}

void Operator::provinciaNascita(bool abilitata) { txtProvLeg->setEnabled(abilitata); }

bool Operator::eventFilter(QObject *o, QEvent *e)
{
    if (o == txtcomleg && e->type() == QEvent::FocusIn)
        m_luogoAllEntrata = txtcomleg->text();
    return QDialog::eventFilter(o, e);
}

void Operator::luogoLasciato()
{
    const QString t = txtcomleg->text();
    if (m_solaLettura || t == m_luogoAllEntrata || t.trimmed().isEmpty())
        return;
    m_luogoAllEntrata = t;
    const EsitoLuogo l = cercaLuogoNascita(m_c, t);
    switch (l.tipo) {
    case LuogoNascita::Comune:
        txtProvLeg->setText(l.sigProv);
        provinciaNascita(true);
        return;
    case LuogoNascita::StatoEstero:
        txtProvLeg->clear();
        provinciaNascita(false);
        return;
    case LuogoNascita::Sconosciuto:
        break;
    }
    const QString titolo = QStringLiteral("Verifica Comune/Stato Estero");
    if (m_c.dialoghi.messaggio(QStringLiteral("Il comune/stato estero inserito non è stato trovato nell'elenco") + CRLF
                                   + QStringLiteral("dei comuni italiani/stati esteri. Mantenere la denominazione inserita ?"),
                               titolo, Icona::Esclamazione, Pulsanti::SiNo)
        != Risposta::Si) {
        txtcomleg->setFocus();
        return;
    }
    const bool estero = m_c.dialoghi.messaggio(QStringLiteral("La denominazione inserita corrisponde ad uno stato estero?") + CRLF
                                                   + QStringLiteral("Rispondendo NO la denominazione sarà considerata un "
                                                                    "comune italiano."),
                                               titolo, Icona::Informazione, Pulsanti::SiNo)
        == Risposta::Si;
    txtProvLeg->clear();
    provinciaNascita(!estero);
    if (!estero)
        txtProvLeg->setFocus();
}

void Operator::comuneDiNascita()
{
    m_c.sessione.gFiltroComuni.clear();
    const auto picker = TabComu(m_c, this);
    scegli(m_c, *picker, m_c.sessione.gComuneScelto);
    const QStringList &s = m_c.sessione.gComuneScelto;
    if (s.size() < 3)
        return;
    txtcomleg->setText(s[1].left(txtcomleg->maxLength()));
    txtProvLeg->setText(s[2]);
    provinciaNascita(true);
    m_luogoAllEntrata = txtcomleg->text();
}

void Operator::statoDiNascita()
{
    const auto picker = TabNaz(m_c, this);
    scegli(m_c, *picker, m_c.sessione.gStatoScelto);
    const QStringList &s = m_c.sessione.gStatoScelto;
    if (s.size() < 2)
        return;
    txtcomleg->setText(s[1].left(txtcomleg->maxLength()));
    txtProvLeg->clear();
    provinciaNascita(false);
    m_luogoAllEntrata = txtcomleg->text();
}

bool Operator::salva()
{
    if (m_solaLettura)
        return false;
    const DatiOperatore d = datiSchermo();
    const EsitoVerifica e = verificaOperatore(d);
    if (!e.valido()) {
        m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
        if (e.pagina >= 0)
            SSTab1->setCurrentIndex(e.pagina);
        if (QWidget *w = findChild<QWidget *>(e.campo))
            w->setFocus();
        return false;
    }
    scriviOperatore(m_c, d);
    m_caricati = d;
    return true;
}

void Operator::esci()
{
    esciDallaScheda(*this, m_c.dialoghi, !m_solaLettura && operatoreCambiato(m_caricati, datiSchermo()),
                    QStringLiteral("Sono stati modificati uno o più dati dell' OPERATORE"), kTitoloOperatore,
                    [this] { return salva(); });
}

void Operator::reject()
{
    protetto(m_c, [this] { esci(); });
}

} // namespace quirdal
