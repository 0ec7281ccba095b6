// "Stampa Bozza" / "Stampa Originale": every site, or for a draft one site chosen from those
// with courses.
#include "printing/ui/SchermiStampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "db/CorsiDB.h"
#include "printing/ui/PezziStampa.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quirdal {

using namespace schermistampa;

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

} // namespace quirdal
