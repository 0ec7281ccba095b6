#include "printing/ui/SchermiStampa.h"

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
#include "db/CorsiDB.h"
#include "config/Impostazioni.h"
#include "printing/ControlliStampa.h"
#include "support/ui/FrmMailAggInst.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/ui/SchermiInternet.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTimer>
#include <QVBoxLayout>

namespace quirdal {

namespace {

const QString kStampaBozza = QStringLiteral("Stampa Bozza");
const QString kIndirizzoLettore = QStringLiteral("https://get.adobe.com/it/reader/");

// A label that does what its button does when clicked.
class Didascalia : public QLabel {
public:
    Didascalia(const QString &testo, QAbstractButton *pulsante) : QLabel(testo), m_p(pulsante) { setWordWrap(true); }

protected:
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && isEnabled() && m_p->isEnabled())
            m_p->click();
    }

private:
    QAbstractButton *m_p;
};

QLabel *etichetta(const QString &testo, const char *nome = nullptr)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(true);
    if (nome)
        l->setObjectName(QString::fromLatin1(nome));
    return l;
}

// A menu-like entry: the button and its caption beside it.
QLabel *voce(QGridLayout *g, int riga, QPushButton *b, const char *nomeEtichetta, const QString &testo)
{
    b->setMinimumSize(44, 36);
    auto *l = new Didascalia(testo, b);
    l->setObjectName(QString::fromLatin1(nomeEtichetta));
    g->addWidget(b, riga, 0);
    g->addWidget(l, riga, 1);
    return l;
}

void attivo(QPushButton *b, QLabel *l, bool si)
{
    b->setEnabled(si);
    l->setEnabled(si);
    l->setStyleSheet(si ? QStringLiteral("color: blue;") : QStringLiteral("color: grey;"));
}

// The frame "Operatore selezionato" of the print and send screens.
QGroupBox *operatoreSelezionato(Contesto &c, bool conSede)
{
    const Sessione &s = c.sessione;
    auto *f = new QGroupBox(QStringLiteral("Operatore selezionato"));
    auto *g = new QGridLayout(f);
    auto valore = [](const QString &testo, const char *nome) {
        auto *l = etichetta(testo, nome);
        QFont b = l->font();
        b.setBold(true);
        l->setFont(b);
        return l;
    };
    g->addWidget(new QLabel(QStringLiteral("Operatore:")), 0, 0);
    g->addWidget(valore(s.gGrupOpe, "lblGrOpe"), 0, 1);
    g->addWidget(valore(s.gOperatore, "lblOpe"), 0, 2);
    const QString nome = s.gDenomOper.isEmpty()
        ? c.db.valoreScalare(QStringLiteral("SELECT Denominazione FROM CorsiOper WHERE GrupOpe = ? AND Operatore = ?"),
                             s.chiaveOperatore())
              .toString()
        : s.gDenomOper;
    g->addWidget(valore(nome, "lblDenOpe"), 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Provincia:")), 1, 0);
    g->addWidget(valore(s.gDesProv, "lblDesProv"), 1, 1, 1, 3);
    if (conSede) {
        const bool tutte = s.gTipoSede.isEmpty();
        g->addWidget(new QLabel(QStringLiteral("Sede:")), 2, 0);
        g->addWidget(valore(tutte ? QStringLiteral("Tutte") : s.gCompo, "lblCompo"), 2, 1);
        g->addWidget(valore(tutte ? QString() : s.gDenCompo, "lblDenCompo"), 2, 2, 1, 2);
    }
    g->setColumnStretch(3, 1);
    return f;
}

bool definitiva(const Sessione &s) { return s.gTipoStampa != kStampaBozza; }

} // namespace

// --- StTrasm ------------------------------------------------------------------------

StTrasm::StTrasm(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("StTrasm"));
    setWindowTitle(QStringLiteral("Stampa Modulo e Trasmissione Dati"));
    auto *lay = new QVBoxLayout(this);
    auto *titolo = etichetta(QStringLiteral("STAMPA DEL MODULO DI DOMANDA E TRASMISSIONE DEI DATI ALLA PROVINCIA VIA "
                                            "INTERNET"),
                             "Label12");
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    lay->addWidget(titolo);
    auto *gruppo = new QGroupBox;
    gruppo->setObjectName(QStringLiteral("Gruppo"));
    auto *gl = new QVBoxLayout(gruppo);
    gl->addWidget(etichetta(QStringLiteral("Produrre una stampa in formato bozza per controllare la correttezza dei dati "
                                           "immessi.")));
    gl->addWidget(etichetta(QStringLiteral("Una volta prodotta la stampa in formato definitivo non sarà più possibile "
                                           "modificare i dati della domanda."),
                            "Label3"));
    lay->addWidget(gruppo);
    auto *g = new QGridLayout;
    auto *cmdStBozza = pulsante("cmdStBozza", QString());
    cmdStBozza->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    voce(g, 0, cmdStBozza, "LblStBozza", QStringLiteral("Stampa Bozza"));
    cmdInvia1 = pulsante("cmdInvia1", QString());
    cmdInvia1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    LblInvia1 = voce(g, 1, cmdInvia1, "LblInvia1", QStringLiteral("Stampa Definitivo Invio Domanda"));
    auto *cmdRitorna = pulsante("cmdRitorna", QString());
    cmdRitorna->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    voce(g, 2, cmdRitorna, "LblRitorna", QStringLiteral("Ritorna alla schermata principale"));
    g->setColumnStretch(1, 1);
    lay->addLayout(g);
    panel_Attesa = new QGroupBox;
    panel_Attesa->setObjectName(QStringLiteral("panel_Attesa"));
    auto *pl = new QVBoxLayout(panel_Attesa);
    pl->addWidget(new QLabel(QStringLiteral("Controllo dati in corso. Attendere...")));
    PB1 = new QProgressBar;
    PB1->setObjectName(QStringLiteral("PB1"));
    PB1->setRange(1, kPassiControlli);
    pl->addWidget(PB1);
    panel_Attesa->hide();
    lay->addWidget(panel_Attesa);
    (new StileEtichette(m_c.sessione, this))->applica(this);
    alClic(cmdStBozza, m_c, [this] { stampaBozza(); });
    alClic(cmdInvia1, m_c, [this] { invia(); });
    connect(cmdRitorna, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, sizeHint().height());
}

void StTrasm::carica()
{
    // Only the SERVER installation prints the final form and sends.
    attivo(cmdInvia1, LblInvia1, m_c.sessione.gVersione == QLatin1String("SERVER"));
}

void StTrasm::stampaBozza()
{
    m_c.sessione.gTipoStampa = kStampaBozza;
    SelBozza dlg(m_c, this);
    dlg.carica();
    esegui(dlg);
}

bool StTrasm::ControllaDatiDomanda()
{
    PB1->setValue(1);
    panel_Attesa->show();
    const Clessidra clessidra;
    struct Ripristina {
        QWidget *p;
        ~Ripristina() { p->hide(); }
    } ripristina{panel_Attesa};
    QApplication::processEvents();
    EsitoVerifica e;
    try {
        e = quirdal::ControllaDatiDomanda(m_c.db, m_c.sessione, [this](int passo) {
            PB1->setValue(passo);
            QApplication::processEvents();
        });
    } catch (const Errore &err) {
        // A failed read is not a passed check: the send stops with the error.
        e = EsitoVerifica::errore(QStringLiteral("Errore ") + QString::number(err.numero()) + CRLF + err.descrizione(),
                                  kTitoloStampaNonDisponibile, QString());
    }
    if (e.valido())
        return true;
    m_c.dialoghi.messaggio(e.messaggio, e.titolo, Icona::Critico);
    return false;
}

void StTrasm::invia()
{
    if (!operatoreHaCorsi(m_c.db, m_c.sessione)) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessun corso: impossibile inviare la domanda!"),
                               QStringLiteral("Invio domanda"), Icona::Critico);
        return;
    }
    if (!ControllaDatiDomanda())
        return;
    Invia dlg(m_c, this);
    esegui(dlg);
}

// --- SelBozza -----------------------------------------------------------------------

SelBozza::SelBozza(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("SelBozza"));
    const bool finale = definitiva(c.sessione);
    setWindowTitle(finale ? QStringLiteral("Stampa Originale") : QStringLiteral("Stampa Bozza"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(etichetta(finale ? QStringLiteral("Stampa del modulo di domanda originale.")
                                    : QStringLiteral("Stampa della bozza della domanda."),
                             "lblTipoStampa"));
    lay->addWidget(new QLabel(QStringLiteral("Opzioni possibili:")));
    OpzTuttiComp = new QRadioButton(QStringLiteral("Stampa di tutte le sedi che hanno gestito corsi"));
    OpzTuttiComp->setObjectName(QStringLiteral("OpzTuttiComp"));
    OpzTuttiComp->setChecked(true);
    OpzSelcomp = new QRadioButton(QStringLiteral("Seleziona la sede per cui si desidera stampare la bozza"));
    OpzSelcomp->setObjectName(QStringLiteral("OpzSelcomp"));
    cmbCompoSt = new QComboBox;
    cmbCompoSt->setObjectName(QStringLiteral("cmbCompoSt"));
    cmbCompoSt->setEnabled(false);
    lay->addWidget(OpzTuttiComp);
    lay->addWidget(OpzSelcomp);
    lay->addWidget(cmbCompoSt);
    connect(OpzSelcomp, &QRadioButton::toggled, cmbCompoSt, &QWidget::setEnabled);
    if (finale) {
        // The final print always covers every site.
        OpzSelcomp->setEnabled(false);
    }
    auto *p = new QHBoxLayout;
    auto *cmdConfe = pulsante("cmdConfe", QStringLiteral("Conferma"));
    cmdConfe->setDefault(true);
    auto *cmdAnnul = pulsante("cmdAnnul", QStringLiteral("Annulla"));
    p->addStretch();
    p->addWidget(cmdConfe);
    p->addWidget(cmdAnnul);
    lay->addLayout(p);
    alClic(cmdConfe, m_c, [this] { conferma(); });
    connect(cmdAnnul, &QPushButton::clicked, this, &QDialog::reject);
}

void SelBozza::carica()
{
    cmbCompoSt->clear();
    cmbCompoSt->addItems(vociSediStampa(m_c.db, m_c.sessione));
}

void SelBozza::conferma()
{
    if (OpzSelcomp->isChecked() && cmbCompoSt->currentIndex() < 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare la sede da stampare."), windowTitle(), Icona::Esclamazione);
        return;
    }
    scegliSedeStampa(m_c.sessione, OpzSelcomp->isChecked() ? cmbCompoSt->currentText() : QString());
    StBozza dlg(m_c, this);
    esegui(dlg);
    accept();
}

// --- StBozza ------------------------------------------------------------------------

StBozza::StBozza(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("StBozza"));
    const bool finale = definitiva(c.sessione);
    setWindowTitle(finale ? QStringLiteral("Stampa Originale") : QStringLiteral("Stampa Bozza"));
    auto *lay = new QVBoxLayout(this);
    auto *tipo = etichetta(finale ? QStringLiteral("STAMPA DEL MODULO DI DOMANDA ORIGINALE.")
                                  : QStringLiteral("STAMPA DELLA BOZZA DELLA DOMANDA."),
                           "lblTipoStampa");
    QFont f = tipo->font();
    f.setBold(true);
    tipo->setFont(f);
    lay->addWidget(tipo);
    lay->addWidget(operatoreSelezionato(c, true));
    auto *attenzione = new QGroupBox(QStringLiteral("ATTENZIONE"));
    auto *al = new QVBoxLayout(attenzione);
    al->addWidget(etichetta(QStringLiteral("Non verrà prodotta una stampa cartacea, ma un documento PDF.")));
    al->addWidget(etichetta(QStringLiteral("La versione minima richiesta di Acrobat Reader per la stampa del PDF è la 6.0")));
    al->addWidget(etichetta(QStringLiteral("Per visualizzare il documento di stampa verificare la presenza di Acrobat "
                                           "Reader sul PC, altrimenti scaricarlo dal sito")));
    auto *cmdSito = new QPushButton(kIndirizzoLettore);
    cmdSito->setObjectName(QStringLiteral("Label4"));
    cmdSito->setFlat(true);
    cmdSito->setCursor(Qt::PointingHandCursor);
    cmdSito->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline; text-align: left;"));
    al->addWidget(cmdSito);
    lay->addWidget(attenzione);
    auto *intervallo = new QGroupBox(QStringLiteral("Intervallo di stampa"));
    auto *il = new QGridLayout(intervallo);
    txtIntervallo = new QLineEdit(QString::number(c.sessione.gIntervalloStampa / 1000));
    txtIntervallo->setObjectName(QStringLiteral("txtIntervallo"));
    txtIntervallo->setMaxLength(4);
    txtIntervallo->setMaximumWidth(60);
    (new FiltroNumerico(c.dialoghi, this))->applica(txtIntervallo);
    il->addWidget(txtIntervallo, 0, 0);
    il->addWidget(new QLabel(QStringLiteral("secondi.")), 0, 1);
    il->addWidget(etichetta(QStringLiteral("E' possibile impostare un intervallo di stampa nel caso in cui lo spooler "
                                           "della stampante abbia una capacità ridotta di memoria e quindi potrebbe "
                                           "generare degli errori in fase di stampa per una mole di dati  eccessiva.")),
                  1, 0, 1, 3);
    il->addWidget(etichetta(QStringLiteral("Impostando 0 non verrà applicato alcun intervallo.")), 2, 0, 1, 3);
    il->setColumnStretch(2, 1);
    lay->addWidget(intervallo);
    auto *p = new QHBoxLayout;
    auto *cmdSt = pulsante("cmdSt", QStringLiteral("Conferma stampa in formato PDF"));
    cmdSt->setDefault(true);
    auto *cmdAnnSt = pulsante("cmdAnnSt", QStringLiteral("Annulla"));
    p->addStretch();
    p->addWidget(cmdSt);
    p->addWidget(cmdAnnSt);
    lay->addLayout(p);
    resize(600, sizeHint().height());
    alClic(cmdSito, m_c, [this] {
        if (!m_c.piattaforma.apri(kIndirizzoLettore))
            m_c.dialoghi.messaggio(QStringLiteral("Impossibile aprire il sito ") + kIndirizzoLettore,
                                   QStringLiteral("Errore di collegamento"), Icona::Esclamazione);
    });
    alClic(cmdSt, m_c, [this] { conferma(); });
    connect(cmdAnnSt, &QPushButton::clicked, this, &QDialog::reject);
}

void StBozza::conferma()
{
    Sessione &s = m_c.sessione;
    s.gIntervalloStampa = intervalloStampa(txtIntervallo->text());
    const bool finale = definitiva(s);
    s.gModoStampa = finale ? kModoOriginale : kModoBozza;
    RichiestaStampa r = RichiestaStampa::daSessione(s);
    if (finale) {
        r.tipoSede.clear();
        r.sede = 0;
    }
    ViewStam dlg(m_c, r, this);
    esegui(dlg);
    if (finale)
        registraStampaDefinitiva(s, dlg.esito());
    accept();
}

// --- ViewStam -----------------------------------------------------------------------

ViewStam::ViewStam(Contesto &c, RichiestaStampa richiesta, QWidget *padre)
    : QDialog(padre), m_c(c), m_richiesta(std::move(richiesta))
{
    setObjectName(QStringLiteral("ViewStam"));
    setWindowTitle(QStringLiteral("Compilazione ") + m_richiesta.modo + QStringLiteral(" in corso ..."));
    auto *lay = new QVBoxLayout(this);
    lblPagina = etichetta(QStringLiteral("Preparazione della stampa..."), "lblPagina");
    lblPag = etichetta(QString(), "lblPag");
    lay->addWidget(lblPagina);
    lay->addWidget(lblPag);
    cmAnnStamp = pulsante("cmAnnStamp", QStringLiteral("Annulla"));
    auto *p = new QHBoxLayout;
    p->addStretch();
    p->addWidget(cmAnnStamp);
    lay->addLayout(p);
    connect(cmAnnStamp, &QPushButton::clicked, this, &ViewStam::reject);
    resize(420, sizeHint().height());
}

void ViewStam::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_avviata)
        return;
    m_avviata = true;
    // The print starts once the screen is up, so that its progress shows.
    QTimer::singleShot(0, this, [this] { protetto(m_c, [this] { esegui(); }); });
}

void ViewStam::reject()
{
    if (m_inCorso) {
        m_annulla = true;
        return;
    }
    QDialog::reject();
}

void ViewStam::esegui()
{
    m_inCorso = true;
    const Clessidra clessidra;
    struct Fine {
        ViewStam *v;
        ~Fine() { v->m_inCorso = false; }
    } fine{this};
    {
        MotoreStampa motore(m_c, *this);
        m_esito = motore.esegui(m_richiesta);
    }
    m_inCorso = false;
    if (m_esito.stato == EsitoStampa::Stato::Completa)
        accept();
    else
        QDialog::reject();
}

void ViewStam::pagina(int n, const QString &sezione)
{
    lblPagina->setText(QStringLiteral("Compilazione della sezione ") + sezione);
    lblPag->setText(QStringLiteral("Pagina ") + QString::number(n));
    QApplication::processEvents();
}

void ViewStam::fase(const QString &testo)
{
    lblPagina->setText(testo);
    lblPag->clear();
    QApplication::processEvents();
}

void ViewStam::attendi(long millisecondi)
{
    // The pause keeps the screen alive, and cancel ends it at once.
    QEventLoop attesa;
    QTimer t;
    t.setSingleShot(true);
    connect(&t, &QTimer::timeout, &attesa, &QEventLoop::quit);
    connect(cmAnnStamp, &QPushButton::clicked, &attesa, &QEventLoop::quit);
    t.start(int(millisecondi));
    attesa.exec();
}

// --- Invia --------------------------------------------------------------------------

Invia::Invia(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Invia"));
    setWindowTitle(QStringLiteral("Invio domanda"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(operatoreSelezionato(c, false));
    auto *titolo = etichetta(QStringLiteral("INVIO ALLA PROVINCIA DELLA DOMANDA"));
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    lay->addWidget(titolo);
    lay->addWidget(etichetta(QStringLiteral("Operazioni che dovranno essere effettuate:")));
    lay->addWidget(etichetta(QStringLiteral("1.  Copia della domanda su floppy disk")));
    lay->addWidget(etichetta(QStringLiteral("2.  Stampa del modulo di domanda originale e in copia  da        consegnare "
                                            "agli uffici provinciali")));
    lay->addWidget(etichetta(QStringLiteral("3.  Invio della domanda alla Provincia tramite INTERNET")));
    auto *attenzione = etichetta(QStringLiteral("ATTENZIONE ! ! !"));
    attenzione->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    lay->addWidget(attenzione);
    lay->addWidget(etichetta(QStringLiteral("Dopo aver inviato la domanda NON SARA' PIU' POSSIBILE MODIFICARE NESSUN "
                                            "DATO")));
    auto *p = new QHBoxLayout;
    auto *cmdConf = pulsante("cmdConf", QStringLiteral("Conferma"));
    auto *cmdAnnul = pulsante("cmdAnnul", QStringLiteral("Annulla"));
    p->addStretch();
    p->addWidget(cmdConf);
    p->addWidget(cmdAnnul);
    lay->addLayout(p);
    alClic(cmdConf, m_c, [this] {
        Trasmis dlg(m_c, this);
        {
            const Clessidra clessidra;
            dlg.carica();
        }
        esegui(dlg);
        accept();
    });
    connect(cmdAnnul, &QPushButton::clicked, this, &QDialog::reject);
}

// --- Trasmis ------------------------------------------------------------------------

Trasmis::Trasmis(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Trasmis"));
    setWindowTitle(QStringLiteral("Invio Domanda"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(operatoreSelezionato(c, false));
    auto *g = new QGridLayout;
    cmdStampa = pulsante("cmdStampa", QString());
    cmdStampa->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    lblStampa = voce(g, 0, cmdStampa, "lblStampa",
                     QStringLiteral("Stampa dei moduli di domanda originale da consegnare agli uffici provinciali (*)"));
    cmdSalva = pulsante("cmdSalva", QString());
    cmdSalva->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    lblSalva = voce(g, 1, cmdSalva, "lblSalva", QStringLiteral("Copia delle domande su floppy disk"));
    cmdSend = pulsante("cmdSend", QString());
    cmdSend->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    lblSend = voce(g, 2, cmdSend, "lblSend", QStringLiteral("Invio delle domande alla Provincia tramite INTERNET"));
    cmdEsci = pulsante("cmdEsci", QString());
    cmdEsci->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    lblEsci = voce(g, 3, cmdEsci, "lblEsci", QStringLiteral("Annulla Invio Domanda"));
    g->setColumnStretch(1, 1);
    lay->addLayout(g);
    lay->addWidget(etichetta(QStringLiteral("(*): verrà stampata una domanda (\"originale\") per ogni progetto "
                                            "dell'Operatore"),
                             "Label2"));
    (new StileEtichette(m_c.sessione, this))->applica(this);
    alClic(cmdStampa, m_c, [this] { stampa(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdSend, m_c, [this] { invia(); });
    connect(cmdEsci, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, sizeHint().height());
}

void Trasmis::carica() { AggiornaTrasmis(); }

void Trasmis::AggiornaTrasmis()
{
    const bool stampata = TrasDoma(m_c.db, m_c.sessione);
    attivo(cmdStampa, lblStampa, true);
    attivo(cmdEsci, lblEsci, true);
    attivo(cmdSend, lblSend, stampata);
    attivo(cmdSalva, lblSalva, stampata);
    lblEsci->setText(stampata ? QStringLiteral("Esci") : QStringLiteral("Annulla Invio Domanda"));
}

void Trasmis::stampa()
{
    Sessione &s = m_c.sessione;
    iniziaStampaDefinitiva(s);
    SelBozza dlg(m_c, this);
    dlg.carica();
    esegui(dlg);
    AggiornaTrasmis();
}

void Trasmis::salva()
{
    Sessione &s = m_c.sessione;
    s.gEmailValida = FALSO;
    frmMailAggInst mail(m_c, this);
    esegui(mail);
    if (mail.indirizzo().isEmpty() || s.gEmailValida == FALSO) {
        m_c.dialoghi.messaggio(QStringLiteral("E' necessario specificare un indirizzo di posta") + CRLF
                                   + QStringLiteral("elettronica per poter procedere al salvataggio dei dati."),
                               QStringLiteral("Salvataggio dati"), Icona::Esclamazione);
        return;
    }
    // The diskette drive where there is one, otherwise a folder the user picks.
    QString cartella;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.rootPath().compare(QStringLiteral("A:/"), Qt::CaseInsensitive) == 0 && v.isReady())
            cartella = v.rootPath();
    if (!cartella.isEmpty())
        m_c.dialoghi.messaggio(QStringLiteral("Copia di sicurezza dei dati") + CRLF
                                   + QStringLiteral("Inserire un floppy nel drive A:"),
                               QStringLiteral("Copia su floppy disk"), Icona::Informazione);
    s.gEmail = m_c.utente.leggi(chiaviFP::EMail);
    mCreaFileTrasm modulo(m_c);
    bool creato = false;
    {
        const Clessidra clessidra;
        creato = modulo.CreaFile(s.gProv, s.gGrupOpe, s.gOperatore);
    }
    if (!creato) {
        m_c.dialoghi.messaggio(QStringLiteral("Creazione file di trasmissione fallita."),
                               QStringLiteral("Crea File di Trasmissione"), Icona::Critico);
        return;
    }
    const QString nome = QFileInfo(modulo.gNomeFileTrasm()).fileName();
    QString destinazione;
    if (!cartella.isEmpty()) {
        destinazione = QDir(cartella).filePath(nome);
    } else {
        destinazione = m_c.dialoghi.scegliFileDaSalvare(QStringLiteral("Copia della domanda"),
                                                        QDir::home().filePath(nome),
                                                        QStringLiteral("File di trasmissione|*.*"));
        if (destinazione.isEmpty())
            return;
    }
    QFile origine(QDir(m_c.cartellaProgramma).filePath(nome));
    QSaveFile copia(destinazione);
    QByteArray dati;
    const bool letto = origine.open(QIODevice::ReadOnly) && !(dati = origine.readAll()).isEmpty();
    if (!letto || !copia.open(QIODevice::WriteOnly) || copia.write(dati) != dati.size() || !copia.commit()) {
        m_c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(75) + CRLF
                                   + QStringLiteral("Impossibile copiare il file in ")
                                   + QDir::toNativeSeparators(destinazione)
                                   + (letto ? QStringLiteral(": ") + copia.errorString() : QString()),
                               QStringLiteral("Errore"), Icona::Critico);
        return;
    }
    m_c.dialoghi.messaggio(QStringLiteral("Copia dei dati effettuata.") + CRLF + QStringLiteral("Copiato 1 files."),
                           QStringLiteral("Copia su floppy disk"), Icona::Informazione);
}

void Trasmis::invia()
{
    if (m_c.dialoghi.messaggio(QStringLiteral("Attivazione collegamento con Internet") + CRLF
                                   + QStringLiteral("Procedere solo dopo aver aperto la connessione ") + CRLF
                                   + QStringLiteral("con il vostro Provider"),
                               QStringLiteral("Trasmissione dati"), Icona::Informazione, Pulsanti::OkAnnulla)
        != Risposta::Ok)
        return;
    frmInet dlg(m_c, this);
    esegui(dlg);
}

void stampaBozzaCorso(Contesto &c, const ChiaveCorso &k, QWidget *padre)
{
    c.sessione.gModoStampa = kModoBozzaCorso;
    RichiestaStampa r = RichiestaStampa::daSessione(c.sessione);
    r.modo = kModoBozzaCorso;
    r.corso = k;
    ViewStam dlg(c, r, padre);
    esegui(dlg);
}

} // namespace quirdal
