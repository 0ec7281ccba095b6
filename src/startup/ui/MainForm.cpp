#include "startup/ui/MainForm.h"

#include "application/Selezione.h"
#include "application/SelezioneOperatore.h"
#include "application/ui/SchermiSelezione.h"
#include "application/ui/SelOpe.h"
#include "common/Errori.h"
#include "config/ui/FrmOpzioni.h"
#include "db/CorsiDB.h"
#include "db/RiaperturaConnessione.h"
#include "loading/DatiOperatori.h"
#include "loading/ui/FrmInstOper.h"
#include "courses/ui/Corsi.h"
#include "courses/ui/Handi.h"
#include "courses/ui/Riass.h"
#include "operator/ui/Componen.h"
#include "operator/ui/Operator.h"
#include "printing/ui/SchermiStampa.h"
#include "support/ui/FrmBackup.h"
#include "support/ui/FrmEmail.h"
#include "transmission/ServiziRegione.h"
#include "common/Dialoghi.h"
#include "common/Piattaforma.h"
#include "common/Testo.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "config/Installazione.h"
#include "config/SessioneIni.h"
#include "loading/TabelleDecodifica.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace quirdal {

void EtichettaCliccabile::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && isEnabled() && rect().contains(e->position().toPoint()))
        Q_EMIT clicked();
}

MDI_Main::MDI_Main(Contesto &c, QWidget *padre) : QMainWindow(padre), m_c(c), m_menu(c)
{
    setObjectName(QStringLiteral("MDI_Main"));
    Main = new QWidget(this);
    Main->setObjectName(QStringLiteral("Main"));
    setCentralWidget(Main);
    auto *lay = new QVBoxLayout(Main);

    auto *testata = new QFrame;
    testata->setFrameShape(QFrame::StyledPanel);
    auto *ht = new QHBoxLayout(testata);
    auto lbl = [&](const char *nome) {
        auto *l = new QLabel;
        l->setObjectName(QString::fromLatin1(nome));
        ht->addWidget(l);
        return l;
    };
    lblGrOpe = lbl("lblGrOpe");
    lblOpe = lbl("lblOpe");
    lblDenOper = lbl("lblDenOper");
    LblProv = lbl("LblProv");
    lblCompo = lbl("lblCompo");
    ht->addStretch();
    lblNow = lbl("lblNow");
    QFont grassetto = lblDenOper->font();
    grassetto.setBold(true);
    for (QLabel *l : {lblGrOpe, lblOpe, lblDenOper, LblProv})
        l->setFont(grassetto);
    lay->addWidget(testata);

    auto *griglia = new QGridLayout;
    griglia->setHorizontalSpacing(12);
    griglia->setVerticalSpacing(8);
    lay->addLayout(griglia);
    aggiungiVoce(QStringLiteral("cmdConfi"), QStringLiteral("lblConfi"), QStringLiteral("Selezione Operatore"), 0, 0);
    aggiungiVoce(QStringLiteral("cmdSelDoma"), QStringLiteral("lblSelDoma"), QStringLiteral("Selezione Domanda"), 1, 0);
    aggiungiVoce(QStringLiteral("cmdRiepDoma"), QStringLiteral("lblRiepDoma"), QStringLiteral("Riepilogo Domanda"), 2, 0);
    aggiungiVoce(QStringLiteral("cmdOpe"), QStringLiteral("lblSezOpe"), QStringLiteral("Sezione 1 Operatore"), 3, 0);
    aggiungiVoce(QStringLiteral("cmdCompon"), QStringLiteral("lblCompon"), QStringLiteral("Sezione 2\nSedi Interessate"), 4, 0);
    aggiungiVoce(QStringLiteral("cmdCorsi"), QStringLiteral("lblCorsi"), QStringLiteral("Sezione 3 Corsi"), 5, 0);
    aggiungiVoce(QStringLiteral("cmdHandi"), QStringLiteral("lblHandi"), QStringLiteral("Sezione 4 Schede Handicap"), 6, 0);
    aggiungiVoce(QStringLiteral("cmdInvia1"), QStringLiteral("lblInvia1"), QStringLiteral("Stampa / Invio Domanda"), 7, 0);
    aggiungiVoce(QStringLiteral("cmdRiass"), QStringLiteral("lblRiass"), QStringLiteral("Riassegnazione Corsi"), 0, 2);
    aggiungiVoce(QStringLiteral("cmdAggInst"), QStringLiteral("lblAggInst"), QStringLiteral("Aggiorna base dati"), 1, 2);
    aggiungiVoce(QStringLiteral("cmdBackup"), QStringLiteral("lblBackup"), QStringLiteral("Salvataggio/ Recupero Dati"), 2, 2);
    aggiungiVoce(QStringLiteral("cmdOpzioni"), QStringLiteral("lblOpzioni"), QStringLiteral("Opzioni"), 3, 2);
    auto *cmdHelp = aggiungiVoce(QStringLiteral("cmdHelp"), QStringLiteral("lblHelp"), QStringLiteral("Aiuto (tasto F1)"), 4, 2);
    aggiungiVoce(QStringLiteral("cmdMailHelp"), QStringLiteral("lblMailHelp"), QStringLiteral("Contatta l'assistenza"), 5, 2);
    auto *cmdEsci = aggiungiVoce(QStringLiteral("cmdEsci"), QStringLiteral("lblEsci"), QStringLiteral("Esci"), 7, 2);
    griglia->setColumnStretch(1, 1);
    griglia->setColumnStretch(3, 1);

    const QList<QPair<const char *, QStyle::StandardPixmap>> icone = {{"cmdConfi", QStyle::SP_DirHomeIcon},
                                                                      {"cmdSelDoma", QStyle::SP_FileDialogContentsView},
                                                                      {"cmdRiepDoma", QStyle::SP_FileDialogInfoView},
                                                                      {"cmdOpe", QStyle::SP_DirIcon},
                                                                      {"cmdCompon", QStyle::SP_DriveNetIcon},
                                                                      {"cmdCorsi", QStyle::SP_FileDialogListView},
                                                                      {"cmdHandi", QStyle::SP_FileIcon},
                                                                      {"cmdInvia1", QStyle::SP_ArrowRight},
                                                                      {"cmdRiass", QStyle::SP_BrowserReload},
                                                                      {"cmdAggInst", QStyle::SP_ArrowDown},
                                                                      {"cmdBackup", QStyle::SP_DialogSaveButton},
                                                                      {"cmdOpzioni", QStyle::SP_FileDialogDetailedView},
                                                                      {"cmdHelp", QStyle::SP_DialogHelpButton},
                                                                      {"cmdMailHelp", QStyle::SP_MessageBoxInformation},
                                                                      {"cmdEsci", QStyle::SP_DialogCloseButton}};
    for (const auto &[nome, icona] : icone)
        Main->findChild<QPushButton *>(QString::fromLatin1(nome))->setIcon(style()->standardIcon(icona));

    // Functions whose screens come in later releases of this program stay disabled.
    const QStringList pronti = {QStringLiteral("cmdConfi"),   QStringLiteral("cmdSelDoma"),  QStringLiteral("cmdRiepDoma"),
                                QStringLiteral("cmdOpe"),     QStringLiteral("cmdCompon"),   QStringLiteral("cmdCorsi"),
                                QStringLiteral("cmdHandi"),   QStringLiteral("cmdRiass"),    QStringLiteral("cmdAggInst"),
                                QStringLiteral("cmdOpzioni"), QStringLiteral("cmdHelp"),     QStringLiteral("cmdEsci"),
                                QStringLiteral("cmdBackup"),  QStringLiteral("cmdMailHelp"), QStringLiteral("cmdInvia1")};
    for (QPushButton *b : Main->findChildren<QPushButton *>()) {
        const bool attivo = pronti.contains(b->objectName());
        b->setEnabled(attivo);
        if (QLabel *l = m_etichette.value(b))
            l->setEnabled(attivo);
    }
    // Every entry runs its logic behind the error boundary.
    auto collega = [this](const char *nome, std::function<void()> azione) {
        connect(Main->findChild<QPushButton *>(QString::fromLatin1(nome)), &QPushButton::clicked, this,
                [this, azione] { protetto(m_c, azione); });
    };
    collega("cmdConfi", [this] {
        apriSelOpe();
        aggiornaIntestazione();
    });
    collega("cmdSelDoma", [this] { selezioneDomanda(); });
    collega("cmdRiepDoma", [this] { riepilogo(); });
    collega("cmdOpe", [this] {
        Operator scheda(m_c, this);
        if (scheda.carica())
            esegui(scheda);
        aggiornaIntestazione();
    });
    collega("cmdCompon", [this] {
        if (!richiedeDomanda(m_c))
            return;
        Componen scheda(m_c, this);
        if (scheda.carica())
            esegui(scheda);
    });
    collega("cmdCorsi", [this] { sedi(QStringLiteral("C")); });
    collega("cmdHandi", [this] { sedi(QStringLiteral("I")); });
    collega("cmdInvia1", [this] {
        if (!richiedeDomanda(m_c))
            return;
        StTrasm dlg(m_c, this);
        dlg.carica();
        esegui(dlg);
    });
    collega("cmdRiass", [this] {
        // Back to the installation's own mode when the screen closes: left exclusive, the
        // database would shut the clients out until the next start.
        RiaperturaConnessione riapertura(m_c.db, [this](const Errore &e) {
            m_c.dialoghi.messaggio(testoRiaperturaFallita(e), QStringLiteral("Riassegnazione Corsi"), Icona::Critico);
        });
        if (!controllaRiassegnazione(m_c))
            return;
        Riass dlg(m_c, this);
        dlg.carica();
        esegui(dlg);
    });
    collega("cmdAggInst", [this] { aggiornaDaServer(); });
    collega("cmdOpzioni", [this] {
        frmOpzioni dlg(m_c, this);
        esegui(dlg);
        if (dlg.fineProgramma())
            terminaProgramma();
    });
    collega("cmdHelp", [this] { aiuto(); });
    collega("cmdBackup", [this] {
        frmBackup dlg(m_c, this);
        dlg.carica();
        esegui(dlg);
        aggiornaIntestazione(); // a restore may have brought another operator's name
    });
    collega("cmdMailHelp", [this] { apriAssistenza(m_c, this); });
    connect(cmdEsci, &QPushButton::clicked, this, &QWidget::close);

    // Links, calendar, waiting panels.
    auto *basso = new QHBoxLayout;
    struct Link {
        const char *nome;
        const char *testo;
        const char *descrizione;
        const char *indirizzo;
    };
    const Link link[] = {
        {"lblLinkRegione", "Formazione professionale in Regione", "sito della formazione professionale della Regione",
         "https://formazione.regione-valdoria.example/"},
        {"lblLinkFSE", "Fondo Sociale Europeo", "sito del Fondo Sociale Europeo", "https://ec.europa.eu/esf/"},
        {"lblLinkMinistero", "Ministero del Lavoro", "sito del Ministero del Lavoro", "https://www.lavoro.gov.it/"},
        {"lblLinkVTZ", "V.T.Z.", "sito di V.T.Z.", "https://www.vtz.example/"},
    };
    for (const Link &l : link) {
        auto *e = new EtichettaCliccabile(QStringLiteral("<u>%1</u>").arg(QString::fromUtf8(l.testo)));
        e->setObjectName(QString::fromLatin1(l.nome));
        e->setCursor(Qt::PointingHandCursor);
        const QString descr = QString::fromUtf8(l.descrizione), ind = QString::fromLatin1(l.indirizzo);
        connect(e, &EtichettaCliccabile::clicked, this, [this, descr, ind] { protetto(m_c, [&] { collegamento(descr, ind); }); });
        basso->addWidget(e);
    }
    basso->addStretch();
    lblCalendario = new EtichettaCliccabile(QStringLiteral("Mostra calendario"));
    lblCalendario->setObjectName(QStringLiteral("lblCalendario"));
    lblCalendario->setCursor(Qt::PointingHandCursor);
    basso->addWidget(lblCalendario);
    lay->addLayout(basso);
    calendario = new QCalendarWidget;
    calendario->setObjectName(QStringLiteral("calendario"));
    calendario->setSelectedDate(m_c.piattaforma.oggi());
    calendario->hide();
    lay->addWidget(calendario, 0, Qt::AlignRight);
    alSegnale(lblCalendario, &EtichettaCliccabile::clicked, m_c, [this] {
        calendario->setVisible(!calendario->isVisible());
        lblCalendario->setText(calendario->isVisible() ? QStringLiteral("Nascondi calendario")
                                                       : QStringLiteral("Mostra calendario"));
    });

    auto pannello = [&](const char *nome, const QString &testo) {
        auto *p = new QFrame;
        p->setObjectName(QString::fromLatin1(nome));
        p->setFrameShape(QFrame::Box);
        auto *pl = new QHBoxLayout(p);
        pl->addWidget(new QLabel(testo));
        p->hide();
        lay->addWidget(p);
        return p;
    };
    panel_Attesa = pannello("panel_Attesa", QStringLiteral("Controllo dati in corso. Attendere..."));
    pnlAttesa = pannello("pnlAttesa", QStringLiteral("Attendere aggiornamento in corso..."));
    lblAttesaAgg = new QLabel;
    lblAttesaAgg->setObjectName(QStringLiteral("lblAttesaAgg"));
    pnlAttesa->layout()->addWidget(lblAttesaAgg);
    auto *cmdAnnullaAgg = new QPushButton(QStringLiteral("Annulla..."));
    cmdAnnullaAgg->setObjectName(QStringLiteral("cmdAnnullaAgg"));
    pnlAttesa->layout()->addWidget(cmdAnnullaAgg);
    lay->addStretch();

    // The accessibility options style the menu's labels.
    (new StileEtichette(m_c.sessione, this))->applica(Main);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    alSegnale(Timer, &QTimer::timeout, m_c,
              [this] { lblNow->setText(m_c.piattaforma.adesso().time().toString(QStringLiteral("hh:mm"))); });
    Timer->start(1000);
    lblNow->setText(m_c.piattaforma.adesso().time().toString(QStringLiteral("hh:mm")));
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, cmdHelp, &QPushButton::click);
    resize(900, 470);
}

QPushButton *MDI_Main::aggiungiVoce(const QString &pulsante, const QString &etichetta, const QString &testo, int riga,
                                    int colonna)
{
    auto *g = static_cast<QGridLayout *>(Main->layout()->itemAt(1)->layout());
    auto *b = new QPushButton;
    b->setObjectName(pulsante);
    b->setFixedSize(44, 36);
    b->setIconSize(QSize(22, 22));
    b->setToolTip(QString(testo).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    auto *l = new EtichettaCliccabile(testo);
    l->setObjectName(etichetta);
    connect(l, &EtichettaCliccabile::clicked, b, &QPushButton::click);
    m_etichette.insert(b, l);
    g->addWidget(b, riga, colonna);
    g->addWidget(l, riga, colonna + 1);
    return b;
}

void MDI_Main::carica()
{
    const StatoMenu st = m_menu.carica();
    setWindowTitle(st.didascalia);
    if (st.client) {
        for (const char *nome : {"cmdAggInst", "cmdRiass"}) {
            const QString n = QString::fromLatin1(nome);
            auto *b = Main->findChild<QPushButton *>(n);
            b->setEnabled(false);
            QLabel *l = m_etichette.value(b);
            l->setEnabled(false);
            l->setStyleSheet(QStringLiteral("color: grey;"));
        }
    }
}

void MDI_Main::primaAttivazione()
{
    m_menu.primaAttivazione([this] { apriSelOpe(); },
                            [this](int argomento) {
                                if (!fileAiuto(m_c.sessione).isEmpty())
                                    mostraAiuto(m_c.sessione.gFileHelp, argomento, this);
                            });
    aggiornaIntestazione();
}

void MDI_Main::aggiornaIntestazione()
{
    const Intestazione h = m_menu.intestazione();
    lblGrOpe->setText(h.grupOpe);
    lblOpe->setText(h.operatore);
    lblDenOper->setText(h.denominazione);
    lblDenOper->setToolTip(h.tooltip);
    LblProv->setText(h.provincia);
}

void MDI_Main::apriSelOpe()
{
    SelOpe dlg(m_c, this);
    dlg.carica();
    esegui(dlg);
}

void MDI_Main::terminaProgramma()
{
    m_c.db.chiudi();
    close();
}

void MDI_Main::selezioneDomanda()
{
    frmSelDomanda dlg(m_c, this);
    dlg.carica();
    esegui(dlg);
    if (dlg.fineProgramma())
        return terminaProgramma();
    aggiornaIntestazione();
}

void MDI_Main::riepilogo()
{
    if (!richiedeDomanda(m_c))
        return;
    frmRiepDomanda dlg(m_c, this);
    dlg.carica();
    // Shown modally from the start: while it is open nothing on the menu can change the
    // application it shows. The warning of a printed application comes once it is up.
    QMetaObject::invokeMethod(
        &dlg, [this, &dlg] { protetto(m_c, [&dlg] { dlg.avvisaSeStampata(); }); }, Qt::QueuedConnection);
    esegui(dlg);
}

void MDI_Main::sedi(const QString &modo)
{
    if (!controllaAccessoSedi(m_c, modo))
        return;
    SelComp dlg(m_c, this);
    if (!dlg.carica())
        return;
    dlg.setApriSchede([this, &dlg] {
        frmHandi schede(m_c, &dlg);
        schede.carica();
        esegui(schede);
    });
    esegui(dlg);
    if (modo == QLatin1String("C") && dlg.confermata()) {
        Corsi scheda(m_c, this);
        scheda.setStampaCorso([this, &scheda](const ChiaveCorso &k) { stampaBozzaCorso(m_c, k, &scheda); });
        if (scheda.carica())
            esegui(scheda);
    }
}

namespace {
// The progress of the update on the main menu's waiting panel.
class ProgressoMenu : public ProgressoCaricamento {
public:
    explicit ProgressoMenu(QLabel *riga) : m_riga(riga) { }
    void file(const QString &, const QString &tabella, int) override
    {
        m_tabella = tabella;
        record(0);
    }
    void record(int n) override
    {
        m_riga->setText(QStringLiteral("Aggiornamento ") + m_tabella + QStringLiteral(" - ") + QString::number(n));
        QApplication::processEvents();
    }
private:
    QLabel *m_riga;
    QString m_tabella;
};
} // namespace

void MDI_Main::aggiornaDaServer()
{
    if (!richiedeDomanda(m_c))
        return;
    if (m_c.dialoghi.messaggio(QStringLiteral("Attivazione collegamento con Internet.") + CRLF
                                   + QStringLiteral("Procedere solo dopo aver aperto la connessione ")
                                   + QStringLiteral("con il vostro Provider"),
                               QStringLiteral("Aggiornamento Base Dati"), Icona::Informazione, Pulsanti::OkAnnulla)
        != Risposta::Ok)
        return;
    if (m_c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
                                              "connessa alla base dati.")
                                   + CRLF + CRLF + QStringLiteral("Continuare ?"),
                               QStringLiteral("Aggiornamento Base Dati"), Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    const OperazioneLunga lunga(vociMenu());
    if (lunga.rifiutata())
        return;
    frmInstOper scarico(m_c, this);
    QStringList voci;
    for (const VoceOperatore &v : vociOperatori(m_c))
        voci << vocePerScarico(v.grupOpe, v.operatore);
    scarico.riempi(voci);
    scarico.setPrompt(QStringLiteral("Impostare la lista in modo che contenga gli Operatori da aggiornare/inserire"));
    esegui(scarico);
    if (scarico.annullato())
        return;
    pnlAttesa->show();
    struct Nascondi {
        QWidget *p;
        ~Nascondi() { p->hide(); }
    } nascondi{pnlAttesa};
    ProgressoMenu progresso(lblAttesaAgg);
    aggiornaBaseDati(m_c, progresso);
    ripristinaSessione(m_c.sessione, m_c.ini, m_c.db);
    aggiornaIntestazione();
}

QList<QWidget *> MDI_Main::vociMenu() const
{
    QList<QWidget *> r;
    for (auto it = m_etichette.cbegin(); it != m_etichette.cend(); ++it)
        r << it.key() << it.value();
    return r;
}

void MDI_Main::aiuto()
{
    if (fileAiuto(m_c.sessione).isEmpty())
        m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
    else
        mostraAiuto(m_c.sessione.gFileHelp, 10000, this);
}

void MDI_Main::collegamento(const QString &descrizione, const QString &indirizzo)
{
    if (m_c.dialoghi.messaggio(QStringLiteral("Collegamento a ") + descrizione + QLatin1Char('.') + CRLF
                                   + QStringLiteral("Procedere?"),
                               kTitoloProdotto, Icona::Domanda, Pulsanti::SiNo)
        == Risposta::Si)
        m_c.piattaforma.apri(indirizzo);
}

} // namespace quirdal
