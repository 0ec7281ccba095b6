#include "transmission/ui/SchermiInternet.h"

#include "common/Dialoghi.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/Generale.h"
#include "common/ui/DialoghiQt.h"
#include "config/Impostazioni.h"
#include "config/Installazione.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "support/ui/FrmMailAggInst.h"
#include "printing/Ricevuta.h"
#include "transmission/ServiziRegione.h"

#include <QApplication>
#include <QBrush>
#include <QLocale>
#include <QTreeWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quirdal {

namespace {
QLabel *etichetta(const QString &testo, bool aCapo = true)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(aCapo);
    return l;
}
} // namespace

FrmnReg::FrmnReg(Contesto &c, QString prov, QWidget *padre) : QDialog(padre), m_c(c), m_prov(std::move(prov))
{
    setObjectName(QStringLiteral("FrmnReg"));
    setWindowTitle(QStringLiteral("Recupero numero Domanda"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(etichetta(QStringLiteral("Procedere solo dopo aver aperto la connessione con il vostro Provider")));
    lay->addWidget(etichetta(QStringLiteral("( ATTENZIONE premendo Annulla non sarà possibile selezionare la fase e "
                                            "l'operatore selezionato.)")));
    lblAttesa = etichetta(QStringLiteral("Recupero del numero di domanda dal server sicuro in corso, attendere..."));
    lblAttesa->setObjectName(QStringLiteral("lblAttesa"));
    lblAttesa->hide();
    lay->addWidget(lblAttesa);
    PgrBar = new QProgressBar;
    PgrBar->setObjectName(QStringLiteral("PgrBar"));
    PgrBar->setRange(0, 0);
    PgrBar->hide();
    lay->addWidget(PgrBar);
    auto *p = new QHBoxLayout;
    auto *CmdnReg = pulsante("CmdnReg", QStringLiteral("Recupera numero domanda"));
    CmdnReg->setDefault(true);
    auto *Command2 = pulsante("Command2", QStringLiteral("Annulla"));
    p->addStretch();
    p->addWidget(CmdnReg);
    p->addWidget(Command2);
    lay->addLayout(p);
    alClic(CmdnReg, m_c, [this] { richiedi(); });
    alClic(Command2, m_c, [this] {
        if (m_inCorso)
            m_annulla = true;
        else
            reject();
    });
    resize(480, sizeHint().height());
}

void FrmnReg::richiedi()
{
    const OperazioneLunga lunga({findChild<QPushButton *>(QStringLiteral("CmdnReg"))});
    if (lunga.rifiutata())
        return;
    lblAttesa->show();
    PgrBar->show();
    Trasferimento t(m_c.cartellaProgramma, m_c.utente);
    m_inCorso = true;
    m_annulla = false;
    struct Fine {
        FrmnReg *f;
        ~Fine()
        {
            f->m_inCorso = false;
            f->lblAttesa->hide();
            f->PgrBar->hide();
        }
    } fine{this};
    t.setAnnullamento([this] { return m_annulla; });
    const EsitoRecupero e = recuperaNumeroDomanda(m_c, t, m_prov, m_c.sessione.gGrupOpe, m_c.sessione.gOperatore, [this] {
        frmMailAggInst prompt(m_c, this);
        esegui(prompt);
        return prompt.indirizzo();
    });
    if (e == EsitoRecupero::Ottenuto) {
        m_ottenuto = true;
        accept();
    } else if (e == EsitoRecupero::FineProgramma) {
        m_fine = true;
        reject();
    }
}

frmInet::frmInet(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmInet"));
    setWindowTitle(QStringLiteral("Invio delle domande"));
    auto *lay = new QVBoxLayout(this);
    auto *riga = new QHBoxLayout;
    riga->addWidget(new QLabel(QStringLiteral("Mittente:")));
    txFrom = new QLineEdit;
    txFrom->setObjectName(QStringLiteral("txFrom"));
    txFrom->setMaxLength(80);
    riga->addWidget(txFrom, 1);
    lay->addLayout(riga);
    lay->addWidget(etichetta(QStringLiteral("Inserire il proprio indirizzo di posta elettronica, così da ottenere una "
                                            "conferma della ricezione dei questionari compilati.")));
    lblPercent = new QLabel;
    lblPercent->setObjectName(QStringLiteral("lblPercent"));
    lblPercent->hide(); // shown only while the export step runs
    lay->addWidget(lblPercent);
    // The earlier sends, each with its receipt.
    lay->addWidget(new QLabel(QStringLiteral("Invii precedenti della domanda:")));
    lstInvii = new QTreeWidget;
    lstInvii->setObjectName(QStringLiteral("lstInvii"));
    lstInvii->setRootIsDecorated(false);
    lstInvii->setSelectionMode(QAbstractItemView::SingleSelection);
    lstInvii->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Ora"), QStringLiteral("File"),
                               QStringLiteral("Dimensione"), QStringLiteral("Impronta"), QStringLiteral("Copia")});
    lay->addWidget(lstInvii, 1);
    cmdRicevuta = pulsante("cmdRicevuta", QStringLiteral("Apri ricevuta"));
    cmdRicevuta->setEnabled(false);
    auto *rigaRicevuta = new QHBoxLayout;
    rigaRicevuta->addStretch();
    rigaRicevuta->addWidget(cmdRicevuta);
    lay->addLayout(rigaRicevuta);
    alClic(cmdRicevuta, m_c, [this] { apriRicevutaScelta(); });
    alSegnale(lstInvii, &QTreeWidget::itemDoubleClicked, m_c, [this] { apriRicevutaScelta(); });
    alSegnale(lstInvii, &QTreeWidget::itemSelectionChanged, m_c,
              [this] { cmdRicevuta->setEnabled(!lstInvii->selectedItems().isEmpty()); });
    auto *p = new QGridLayout;
    Cmd_Send = pulsante("Cmd_Send", QStringLiteral("Invia"));
    Cmd_Send->setDefault(true);
    auto *Cmd_Esci = pulsante("Cmd_Esci", QStringLiteral("Esci"));
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    auto *CmdProxy = pulsante("CmdProxy", QStringLiteral("Imposta Proxy"));
    auto *CmdORBIDE = pulsante("CmdORBIDE", QStringLiteral("Ritenta trasmissione ORBIDE"));
    p->addWidget(Cmd_Send, 0, 0);
    p->addWidget(Cmd_Esci, 0, 1);
    p->addWidget(cmdAiuto, 0, 2);
    p->addWidget(CmdORBIDE, 1, 0, 1, 2);
    p->addWidget(CmdProxy, 1, 2);
    lay->addLayout(p);
    alClic(Cmd_Send, m_c, [this] { invia(); });
    alClic(Cmd_Esci, m_c, [this] {
        if (m_inCorso)
            m_annulla = true; // stops the request under way
        else
            reject();
    });
    alClic(CmdORBIDE, m_c, [this] { orbide(); });
    alClic(CmdProxy, m_c, [this] {
        FrmProxy proxy(m_c, this);
        esegui(proxy);
    });
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 19000, this);
    });
    // The sender is the stored address, offered as the field is first entered.
    txFrom->setText(m_c.utente.leggi(chiaviFP::EMail));
    caricaInvii();
    resize(640, sizeHint().height());
}

void frmInet::caricaInvii()
{
    const Sessione &s = m_c.sessione;
    m_invii = inviiDomanda(m_c.db, s.gProv, s.gGrupOpe, s.numeroOperatore());
    lstInvii->clear();
    const QLocale italiano(QLocale::Italian);
    for (qsizetype n = 0; n < m_invii.size(); ++n) {
        const Invio &i = m_invii[n];
        auto *voce = new QTreeWidgetItem(
            lstInvii,
            {i.dataOra.toString(QStringLiteral("dd/MM/yyyy")), i.dataOra.toString(QStringLiteral("HH:mm:ss")), i.nomeFile,
             italiano.toString(i.dimensione), i.sha256.left(12), testoStatoCopia(statoCopia(m_c.cartellaProgramma, i))});
        voce->setData(0, Qt::UserRole, static_cast<int>(n));
        voce->setToolTip(4, i.sha256);
        voce->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        if (!voce->text(5).isEmpty())
            voce->setForeground(5, QBrush(Qt::red));
    }
    for (int colonna = 0; colonna < lstInvii->columnCount(); ++colonna)
        lstInvii->resizeColumnToContents(colonna);
}

void frmInet::apriRicevutaScelta()
{
    const QList<QTreeWidgetItem *> scelte = lstInvii->selectedItems();
    if (scelte.isEmpty())
        return;
    const int n = scelte.first()->data(0, Qt::UserRole).toInt();
    if (n >= 0 && n < m_invii.size())
        apriRicevuta(m_c, m_invii[n]);
}

void frmInet::invia()
{
    const OperazioneLunga lunga({findChild<QPushButton *>(QStringLiteral("CmdORBIDE")),
                                 findChild<QPushButton *>(QStringLiteral("CmdProxy")), cmdRicevuta, lstInvii});
    if (lunga.rifiutata())
        return;
    Cmd_Send->setEnabled(false);
    const QString e = txFrom->text();
    if (const QString m = controllaEmail(e); !m.isEmpty()) {
        m_c.dialoghi.messaggio(m, kTitoloEmail, Icona::Critico);
        Cmd_Send->setEnabled(true);
        return;
    }
    m_c.utente.scrivi(chiaviFP::EMail, e);
    {
        Clessidra c;
        Trasferimento t(m_c.cartellaProgramma, m_c.utente);
        m_inCorso = true;
        m_annulla = false;
        t.setAnnullamento([this] { return m_annulla; });
        struct Fine {
            bool &b;
            ~Fine() { b = false; }
        } fine{m_inCorso};
        if (!VerificaVersione(m_c, t)) {
            Cmd_Send->setEnabled(true);
            return;
        }
        m_c.sessione.gEmail = e;
        // The receipt of a confirmed send opens in the viewer.
        inviaDomanda(m_c, t, m_c.sessione.gProv, m_c.sessione.gGrupOpe, m_c.sessione.gOperatore);
    }
    Cmd_Send->setEnabled(true);
    accept();
}

void frmInet::orbide()
{
    const OperazioneLunga lunga(
        {Cmd_Send, findChild<QPushButton *>(QStringLiteral("CmdORBIDE")), findChild<QPushButton *>(QStringLiteral("CmdProxy"))});
    if (lunga.rifiutata())
        return;
    Trasferimento t(m_c.cartellaProgramma, m_c.utente);
    if (!VerificaVersione(m_c, t))
        return;
    Clessidra c;
    lblPercent->setText(QStringLiteral("0"));
    lblPercent->show();
    lblPercent->repaint();
    // Hidden again however the step ends.
    struct Nascondi {
        QLabel *l;
        ~Nascondi() { l->hide(); }
    } nascondi{lblPercent};
    passoEsportazione(m_c);
}

FrmProxy::FrmProxy(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("FrmProxy"));
    setWindowTitle(QStringLiteral("Impostazione Proxy"));
    auto *lay = new QVBoxLayout(this);
    optWindows = new QRadioButton(QStringLiteral("Impostazioni correnti di Windows (scelta consigliata)"));
    optWindows->setObjectName(QStringLiteral("optProxy_0"));
    optServer = new QRadioButton(QStringLiteral("Utilizza un server Proxy"));
    optServer->setObjectName(QStringLiteral("optProxy_1"));
    lay->addWidget(optWindows);
    lay->addWidget(optServer);
    auto *g = new QGridLayout;
    txtproxy = new QLineEdit;
    txtproxy->setObjectName(QStringLiteral("txtproxy"));
    TxtPorta = new QLineEdit;
    TxtPorta->setObjectName(QStringLiteral("TxtPorta"));
    TxtPorta->setValidator(new QIntValidator(1, 65535, TxtPorta));
    g->addWidget(new QLabel(QStringLiteral("Indirizzo:")), 0, 0);
    g->addWidget(txtproxy, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Porta:")), 1, 0);
    g->addWidget(TxtPorta, 1, 1);
    lay->addLayout(g);
    auto *p = new QHBoxLayout;
    auto *CmdControlla = pulsante("CmdControlla", QStringLiteral("Analizza Connessione"));
    auto *ImgOk = pulsante("ImgOk", QStringLiteral("Salva le impostazioni"));
    ImgOk->setDefault(true);
    auto *ImgAnn = pulsante("ImgAnn", QStringLiteral("Esci"));
    p->addWidget(CmdControlla);
    p->addStretch();
    p->addWidget(ImgOk);
    p->addWidget(ImgAnn);
    lay->addLayout(p);
    alClic(ImgOk, m_c, [this] { salva(); });
    connect(ImgAnn, &QPushButton::clicked, this, &QDialog::reject);
    alClic(CmdControlla, m_c, [this] { analizza(); });
    auto abilita = [this] {
        txtproxy->setEnabled(optServer->isChecked());
        TxtPorta->setEnabled(optServer->isChecked());
    };
    alSegnale(optServer, &QRadioButton::toggled, m_c, abilita);
    const QString proxy = m_c.utente.leggi(chiaviFP::Proxy);
    (proxy.isEmpty() ? optWindows : optServer)->setChecked(true);
    txtproxy->setText(proxy);
    TxtPorta->setText(m_c.utente.leggi(chiaviFP::Porta));
    abilita();
}

void FrmProxy::salva()
{
    if (optServer->isChecked()) {
        if (TxtPorta->text().trimmed().isEmpty()) {
            m_c.dialoghi.messaggio(QStringLiteral("Specificare una porta per il server Proxy"), QStringLiteral("PROXY"),
                                   Icona::Critico);
            return;
        }
        if (txtproxy->text().trimmed().isEmpty()) {
            m_c.dialoghi.messaggio(QStringLiteral("Specificare un server Proxy"), QStringLiteral("PROXY"), Icona::Critico);
            return;
        }
        m_c.utente.scrivi(chiaviFP::Proxy, txtproxy->text().trimmed());
        m_c.utente.scrivi(chiaviFP::Porta, TxtPorta->text().trimmed());
    } else {
        m_c.utente.scrivi(chiaviFP::Proxy, QString());
        m_c.utente.scrivi(chiaviFP::Porta, QString());
    }
    accept();
}

void FrmProxy::analizza()
{
    QString t;
    if (ControllaStato(m_c, 1))
        t = QStringLiteral("La connessione ad Internet avviene tramite Modem.");
    else if (ControllaStato(m_c, 4))
        t = QStringLiteral("La connessione ad Internet avviene tramite un Server Proxy. ");
    else
        t = QStringLiteral("La connessione ad Internet avviene tramite la rete locale, senza server Proxy.");
    m_c.dialoghi.messaggio(t, QStringLiteral("Verifica Connessione"), Icona::Informazione);
}

} // namespace quirdal
