#include "application/ui/SelOpe.h"

#include "application/SelezioneOperatore.h"
#include "common/ui/Confine.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

SelOpe::SelOpe(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("SelOpe"));
    setWindowTitle(QStringLiteral("Selezione Operatore"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel(QStringLiteral("Selezionare l' Operatore per cui si desidera gestire la proposta corsi")));
    cmbOpe = new QComboBox;
    cmbOpe->setObjectName(QStringLiteral("cmbOpe"));
    cmbOpe->setMinimumWidth(480);
    lay->addWidget(cmbOpe);
    auto *puls = new QHBoxLayout;
    auto *cmdConfer = new QPushButton(QStringLiteral("Conferma"));
    cmdConfer->setObjectName(QStringLiteral("cmdConfer"));
    cmdConfer->setDefault(true);
    auto *cmdAnnul = new QPushButton(QStringLiteral("Annulla"));
    cmdAnnul->setObjectName(QStringLiteral("cmdAnnul"));
    puls->addStretch();
    puls->addWidget(cmdConfer);
    puls->addWidget(cmdAnnul);
    lay->addLayout(puls);
    connect(cmdConfer, &QPushButton::clicked, this, [this] { protetto(m_c, [this] { conferma(); }); });
    connect(cmdAnnul, &QPushButton::clicked, this, &QDialog::reject);
    cmdAnnul->setEnabled(!m_c.sessione.gSelOpeAvvio);
}

void SelOpe::carica()
{
    cmbOpe->clear();
    const QList<VoceOperatore> voci = vociOperatori(m_c);
    for (const VoceOperatore &v : voci)
        cmbOpe->addItem(v.testo);
    cmbOpe->setCurrentIndex(voceCorrente(voci, m_c));
}

void SelOpe::conferma()
{
    if (cmbOpe->currentIndex() < 0)
        return;
    confermaOperatore(m_c, cmbOpe->currentText());
    accept();
}

} // namespace quirdal
