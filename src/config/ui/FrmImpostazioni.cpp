#include "config/ui/FrmImpostazioni.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "config/ui/FrmServerClient.h"
#include "db/CorsiDB.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quirdal {

Frm_Impostazioni::Frm_Impostazioni(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Frm_Impostazioni"));
    setWindowTitle(QStringLiteral("Impostazioni modalità di funzionamento"));
    auto *lay = new QVBoxLayout(this);

    auto *Label1 = new QLabel(
        QStringLiteral("Scegliere la modalità di funzionamento: Indicare se la procedura sarà utilitzzata in ambiente locale o "
                       "in rete (multiutenza). Le impostazioni potranno anche essere cambiate in un secondo momento."));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    lay->addWidget(Label1);
    auto *modi = new QHBoxLayout;
    opt_Locale = new QRadioButton(QStringLiteral("Locale"));
    opt_Locale->setObjectName(QStringLiteral("opt_Locale"));
    opt_Locale->setChecked(true);
    opt_InRete = new QRadioButton(QStringLiteral("In rete"));
    opt_InRete->setObjectName(QStringLiteral("opt_InRete"));
    modi->addWidget(opt_Locale);
    modi->addWidget(opt_InRete);
    modi->addStretch();
    lay->addLayout(modi);

    // Where a network installation keeps its database.
    auto *gMotore = new QGroupBox(QStringLiteral("Base dati in rete"));
    fMotore = gMotore;
    fMotore->setObjectName(QStringLiteral("fMotore"));
    auto *layMotore = new QVBoxLayout(gMotore);
    auto *lblMotore = new QLabel(
        QStringLiteral("Le postazioni in rete possono condividere un file della base dati in una cartella di rete, oppure "
                       "una base dati su un server PostgreSQL dell'ufficio."));
    lblMotore->setObjectName(QStringLiteral("lblMotore"));
    lblMotore->setWordWrap(true);
    layMotore->addWidget(lblMotore);
    auto *motori = new QHBoxLayout;
    optFileCondiviso = new QRadioButton(QStringLiteral("File condiviso in rete"));
    optFileCondiviso->setObjectName(QStringLiteral("optFileCondiviso"));
    optFileCondiviso->setChecked(true);
    optServerDb = new QRadioButton(QStringLiteral("Server PostgreSQL"));
    optServerDb->setObjectName(QStringLiteral("optServerDb"));
    motori->addWidget(optFileCondiviso);
    motori->addWidget(optServerDb);
    motori->addStretch();
    layMotore->addLayout(motori);
    lay->addWidget(fMotore);

    Label2 = new QLabel(
        QStringLiteral("Indicare ora il percorso completo del database selezionandolo dalla relativa finestra di dialogo "
                       "premendo il pulsante \"Sfoglia...\"."));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    lay->addWidget(Label2);
    auto *riga = new QHBoxLayout;
    txtDatabase = new QLineEdit;
    txtDatabase->setObjectName(QStringLiteral("txtDatabase"));
    txtDatabase->setReadOnly(true);
    txtDatabase->setMinimumWidth(420);
    cmdSfoglia = new QPushButton(QStringLiteral("Sfoglia..."));
    cmdSfoglia->setObjectName(QStringLiteral("cmdSfoglia"));
    riga->addWidget(txtDatabase, 1);
    riga->addWidget(cmdSfoglia);
    lay->addLayout(riga);

    auto *gServer = new QGroupBox(QStringLiteral("Server PostgreSQL"));
    fServer = gServer;
    fServer->setObjectName(QStringLiteral("fServer"));
    auto *griglia = new QGridLayout(gServer);
    auto campo = [&](const char *nome, const QString &etichetta, int riga, int colonna, const QString &aiuto = {}) {
        auto *t = new QLineEdit;
        t->setObjectName(QString::fromLatin1(nome));
        t->setToolTip(aiuto);
        auto *l = new QLabel(etichetta);
        l->setBuddy(t);
        griglia->addWidget(l, riga, colonna);
        griglia->addWidget(t, riga, colonna + 1);
        return t;
    };
    txtHost = campo("txtHost", QStringLiteral("&Server:"), 0, 0,
                    QStringLiteral("Il nome o l'indirizzo del server, oppure la cartella che contiene il suo socket"));
    txtPorta = campo("txtPorta", QStringLiteral("P&orta:"), 0, 2);
    txtPorta->setMaxLength(5);
    txtPorta->setText(QStringLiteral("5432"));
    txtNomeDb = campo("txtNomeDb", QStringLiteral("&Base dati:"), 1, 0);
    txtUtente = campo("txtUtente", QStringLiteral("&Utente:"), 2, 0);
    txtPassword = campo("txtPassword", QStringLiteral("Pass&word:"), 3, 0);
    txtPassword->setEchoMode(QLineEdit::Password);
    griglia->setColumnStretch(1, 1);
    lay->addWidget(fServer);

    auto *pulsanti = new QHBoxLayout;
    auto *Cmd_Ok = new QPushButton(QStringLiteral("Salva"));
    Cmd_Ok->setObjectName(QStringLiteral("Cmd_Ok"));
    Cmd_Ok->setDefault(true);
    auto *cmdEsci = new QPushButton(QStringLiteral("Esci dall'installazione"));
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    auto *cmdHelp = new QPushButton(QStringLiteral("Help"));
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    pulsanti->addWidget(cmdHelp);
    pulsanti->addStretch();
    pulsanti->addWidget(Cmd_Ok);
    pulsanti->addWidget(cmdEsci);
    lay->addLayout(pulsanti);

    alClic(cmdSfoglia, m_c, [this] { sfoglia(); });
    alClic(Cmd_Ok, m_c, [this] { salva(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    alClic(cmdHelp, m_c, [this] { aiuto(); });
    alSegnale(opt_InRete, &QRadioButton::toggled, m_c, [this] { aggiornaCampi(); });
    alSegnale(optServerDb, &QRadioButton::toggled, m_c, [this] { aggiornaCampi(); });

    // A server named in QUIRDAL.INI (an installation set again after its server refused it) is
    // offered again as it was, so that only what was wrong is retyped.
    try {
        const DatiConnessione dove = leggiConnessione(m_c.ini);
        if (dove.motore == Motore::PostgreSQL) {
            opt_InRete->setChecked(true);
            optServerDb->setChecked(true);
            txtHost->setText(dove.host);
            txtPorta->setText(QString::number(dove.porta));
            txtNomeDb->setText(dove.nomeDb);
            txtUtente->setText(dove.utente);
            txtPassword->setText(dove.password);
        }
    } catch (const Errore &) {
        // Settings that cannot be read are simply not offered.
    }
    aggiornaCampi();

    // On load the help file is checked as at start-up.
    m_c.sessione.gFileHelp =
        m_c.cartellaProgramma + QLatin1Char('/') + m_c.ini.leggi(QStringLiteral("Help"), QStringLiteral("FILEHELP"));
    if (fileAiuto(m_c.sessione).isEmpty())
        m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Imposta Aiuto"),
                               Icona::Esclamazione);
    resize(620, sizeHint().height());
}

void Frm_Impostazioni::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_attivato)
        return;
    m_attivato = true;
    if (m_c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")).isEmpty())
        QTimer::singleShot(0, this, [this] {
            protetto(m_c, [this] {
                frmServerClient sc(m_c, this);
                esegui(sc);
                if (sc.fineProgramma()) {
                    m_fine = true;
                    QDialog::reject();
                }
            });
        });
}

void Frm_Impostazioni::sfoglia()
{
    const QString f = m_c.dialoghi.scegliFileDaAprire(QStringLiteral("Scegliere il database"), m_c.cartellaProgramma,
                                                      QStringLiteral("Microsoft Access Database (*.mdb)|*.mdb"));
    if (f.isEmpty())
        return;
    m_percorso = f;
    bool tooltip = false;
    txtDatabase->setText(percorsoMostrato(f, &tooltip));
    txtDatabase->setToolTip(tooltip ? f : QString());
}

void Frm_Impostazioni::aggiornaCampi()
{
    const bool inRete = opt_InRete->isChecked();
    const bool server = inRete && optServerDb->isChecked();
    fMotore->setEnabled(inRete);
    fServer->setEnabled(server);
    Label2->setEnabled(!server);
    txtDatabase->setEnabled(!server);
    cmdSfoglia->setEnabled(!server);
}

void Frm_Impostazioni::salva()
{
    if (opt_InRete->isChecked() && optServerDb->isChecked()) {
        salvaServer();
        return;
    }
    if (const auto errore = confermaImpostazioni(opt_Locale->isChecked(), m_percorso, m_c.sessione)) {
        m_c.dialoghi.messaggio(*errore, QStringLiteral("Controllo dati"), Icona::Critico);
        return;
    }
    if (scriviMotore(DatiConnessione::diFile(m_c.sessione.gPathDB)))
        accept();
}

void Frm_Impostazioni::salvaServer()
{
    Sessione &s = m_c.sessione;
    s.gTipoInstallazione = QStringLiteral("Multiutenza");
    DatiConnessione dove;
    if (const auto errato =
            datiServer(txtHost->text(), txtPorta->text(), txtNomeDb->text(), txtUtente->text(), txtPassword->text(), &dove)) {
        m_c.dialoghi.messaggio(errato->testo, QStringLiteral("Controllo dati"), Icona::Critico);
        if (auto *campo = findChild<QLineEdit *>(errato->campo))
            campo->setFocus();
        return;
    }
    const bool versioneServer =
        m_c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")) != QLatin1String("CLIENT");
    try {
        const Clessidra clessidra;
        preparaBaseDatiServer(dove, versioneServer);
    } catch (const Errore &e) {
        m_c.dialoghi.messaggio(e.descrizione(), QStringLiteral("Connessione alla base dati"), Icona::Critico);
        // The field the refusal points at, ready to be typed over.
        QLineEdit *campo = txtNomeDb; // a database missing, or not the program's
        if (e.numero() == codici::PasswordErrata)
            campo = txtPassword;
        else if (e.numero() == codici::ConnessioneServer)
            campo = txtHost;
        campo->setFocus();
        campo->selectAll();
        return;
    }
    s.gPathDB.clear();
    s.gNomeFileDB.clear();
    if (scriviMotore(dove))
        accept();
}

bool Frm_Impostazioni::scriviMotore(const DatiConnessione &dove)
{
    if (scriviConnessione(m_c.ini, dove))
        return true;
    m_c.dialoghi.messaggio(testoIniNonScrivibile(m_c.ini.NomeFile()), kTitoloInizializzazione, Icona::Critico);
    m_fine = true;
    QDialog::reject();
    return false;
}

void Frm_Impostazioni::esci()
{
    if (m_c.dialoghi.messaggio(QStringLiteral("Si è sicuri di voler interrompere l'installazione?"),
                               QStringLiteral("Installazione"), Icona::Domanda, Pulsanti::SiNo)
        == Risposta::Si) {
        m_fine = true;
        QDialog::reject();
    }
}

void Frm_Impostazioni::reject()
{
    protetto(m_c, [this] { esci(); });
}

void Frm_Impostazioni::aiuto()
{
    if (fileAiuto(m_c.sessione).isEmpty())
        m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
    else
        mostraAiuto(m_c.sessione.gFileHelp, 15000, this);
}

} // namespace quirdal
