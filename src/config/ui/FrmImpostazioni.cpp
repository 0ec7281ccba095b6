#include "config/ui/FrmImpostazioni.h"

#include "common/Dialoghi.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "config/ui/FrmServerClient.h"
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

    auto *Label2 = new QLabel(
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
    auto *cmdSfoglia = new QPushButton(QStringLiteral("Sfoglia..."));
    cmdSfoglia->setObjectName(QStringLiteral("cmdSfoglia"));
    riga->addWidget(txtDatabase, 1);
    riga->addWidget(cmdSfoglia);
    lay->addLayout(riga);

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

void Frm_Impostazioni::salva()
{
    if (const auto errore = confermaImpostazioni(opt_Locale->isChecked(), m_percorso, m_c.sessione)) {
        m_c.dialoghi.messaggio(*errore, QStringLiteral("Controllo dati"), Icona::Critico);
        return;
    }
    accept();
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
