#include "support/ui/FrmMailAggInst.h"

#include "common/Dialoghi.h"
#include "common/ui/Confine.h"
#include "common/Generale.h"
#include "config/Impostazioni.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

frmMailAggInst::frmMailAggInst(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmMailAggInst"));
    setWindowTitle(QStringLiteral("Indirizzo e-mail"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel(QStringLiteral("Indicare il proprio indirizzo di posta elettronica:")));
    txtEMail = new QLineEdit(m_c.utente.leggi(chiaviFP::EMail));
    txtEMail->setObjectName(QStringLiteral("txtEMail"));
    txtEMail->setMaxLength(80);
    txtEMail->setMinimumWidth(360);
    lay->addWidget(txtEMail);
    auto *p = new QHBoxLayout;
    auto *imgConferma = new QPushButton(QStringLiteral("Conferma"));
    imgConferma->setObjectName(QStringLiteral("imgConferma"));
    imgConferma->setDefault(true);
    auto *imgAnnulla = new QPushButton(QStringLiteral("Annulla"));
    imgAnnulla->setObjectName(QStringLiteral("imgAnnulla"));
    p->addStretch();
    p->addWidget(imgConferma);
    p->addWidget(imgAnnulla);
    lay->addLayout(p);
    alClic(imgConferma, m_c, [this] { conferma(); });
    connect(imgAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

void frmMailAggInst::conferma()
{
    const QString e = txtEMail->text();
    if (const QString m = controllaEmail(e); !m.isEmpty()) {
        m_c.dialoghi.messaggio(m, kTitoloEmail, Icona::Critico);
        txtEMail->setFocus();
        return;
    }
    m_c.utente.scrivi(chiaviFP::EMail, e);
    m_c.sessione.gEmailValida = VERO;
    m_indirizzo = e;
    accept();
}

} // namespace quirdal
