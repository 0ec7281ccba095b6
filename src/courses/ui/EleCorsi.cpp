#include "courses/ui/EleCorsi.h"

#include "common/Contesto.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

EleCorsi::EleCorsi(Contesto &c, const ChiaveCorso &corrente, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("EleCorsi"));
    setWindowTitle(QStringLiteral("Elenco corsi"));
    auto *v = new QVBoxLayout(this);
    auto *Label1 = new QLabel(QStringLiteral("Corsi della sede interessata"));
    Label1->setObjectName(QStringLiteral("Label1"));
    v->addWidget(Label1);
    auto *lst = new QListWidget;
    lst->setObjectName(QStringLiteral("lstAllCorsi"));
    lst->setFont(fontFisso());
    const QStringList voci = vociEleCorsi(m_c.db, m_c.sessione);
    lst->addItems(voci);
    for (int i = 0; i < voci.size(); ++i)
        if (leggiVoceCorso(voci[i], corrente.sede) == corrente)
            lst->setCurrentRow(i);
    v->addWidget(lst);
    auto *h = new QHBoxLayout;
    h->addStretch();
    auto *cmdSele2 = pulsante("cmdSele2", QStringLiteral("Conferma"));
    auto *cmdEsci2 = pulsante("cmdEsci2", QStringLiteral("Esci"));
    h->addWidget(cmdSele2);
    h->addWidget(cmdEsci2);
    v->addLayout(h);
    auto scegli = [this, lst, sede = corrente.sede] {
        if (!lst->currentItem())
            return;
        const ChiaveCorso k = leggiVoceCorso(lst->currentItem()->text(), sede);
        m_c.sessione.gCorsoScelto = k.corso;
        m_c.sessione.gAccorpScelto = k.accorp;
        m_scelto = k;
        accept();
    };
    alClic(cmdSele2, m_c, scegli);
    alSegnale(lst, &QListWidget::itemActivated, m_c, scegli);
    connect(cmdEsci2, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 380);
}

} // namespace quirdal
