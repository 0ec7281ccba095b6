#include "config/ui/FrmServerClient.h"

#include "common/Dialoghi.h"
#include "common/ui/Confine.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quirdal {

frmServerClient::frmServerClient(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmServerClient"));
    setWindowTitle(QStringLiteral("Versione dell'applicativo"));
    auto *lay = new QVBoxLayout(this);
    auto *Label2 = new QLabel(QStringLiteral("Scegliere il tipo di installazione: SERVER o CLIENT"));
    Label2->setObjectName(QStringLiteral("Label2"));
    lay->addWidget(Label2);
    auto *Label1 = new QLabel(
        QStringLiteral("L'installazione SERVER contiene la base dati ed esegue i suoi aggiornamenti. Tutte le altre postazioni "
                       "(CLIENT) si collegano al SERVER e lavorano sugli stessi dati, con l'unica limitazione di non poter "
                       "aggiornare la base dati. Un'installazione locale deve scegliere SERVER."));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    lay->addWidget(Label1);
    auto *opz = new QHBoxLayout;
    optServer = new QRadioButton(QStringLiteral("SERVER"));
    optServer->setObjectName(QStringLiteral("optServer"));
    optClient = new QRadioButton(QStringLiteral("CLIENT"));
    optClient->setObjectName(QStringLiteral("optClient"));
    auto *gruppo = new QButtonGroup(this);
    gruppo->addButton(optServer);
    gruppo->addButton(optClient);
    opz->addWidget(optServer);
    opz->addWidget(optClient);
    opz->addStretch();
    lay->addLayout(opz);
    auto *puls = new QHBoxLayout;
    auto *cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdAnnulla = new QPushButton(QStringLiteral("Annulla"));
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    puls->addStretch();
    puls->addWidget(cmdOK);
    puls->addWidget(cmdAnnulla);
    lay->addLayout(puls);
    alClic(cmdOK, m_c, [this] { ok(); });
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // On load no option is chosen and gVersione is emptied.
    m_c.sessione.gVersione.clear();
    resize(520, sizeHint().height());
}

void frmServerClient::ok()
{
    Sessione &s = m_c.sessione;
    if (!optServer->isChecked() && !optClient->isChecked()) {
        m_c.dialoghi.messaggio(QStringLiteral("Scegliere la versione dell'applicativo: SERVER o CLIENT"),
                               QStringLiteral("Controllo dati"), Icona::Critico);
        return;
    }
    if (optClient->isChecked()) {
        s.gVersione = QStringLiteral("CLIENT");
        rinominaFileClient(m_c.cartellaProgramma);
    } else {
        s.gVersione = QStringLiteral("SERVER");
    }
    m_c.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), s.gVersione);
    accept();
}

void frmServerClient::reject()
{
    protetto(m_c, [this] {
        if (m_c.dialoghi.messaggio(QStringLiteral("Si è sicuri di voler interrompere l'installazione?"),
                                   QStringLiteral("Installazione"), Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si) {
            m_fine = true;
            QDialog::reject();
        }
    });
}

} // namespace quirdal
