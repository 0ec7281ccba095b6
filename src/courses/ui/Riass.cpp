#include "courses/ui/Riass.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "config/Installazione.h"
#include "courses/Riassegnazione.h"
#include "operator/ui/Scelte.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quirdal {

namespace {
const QString kTitolo = QStringLiteral("Riassegnazione Corsi");

} // namespace

Riass::Riass(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Riass"));
    setWindowTitle(kTitolo);
    auto *lay = new QVBoxLayout(this);
    auto *f = new QFormLayout;
    cmbSedeDa = tendina(QStringLiteral("cmbSedeDa"), 50);
    cmbSedeA = tendina(QStringLiteral("cmbSedeA"), 50);
    f->addRow(QStringLiteral("Sede da cui spostare i corsi"), cmbSedeDa);
    f->addRow(QStringLiteral("Sede su cui spostare i corsi"), cmbSedeA);
    lay->addLayout(f);
    OpzTuttiCorsi = new QRadioButton(QStringLiteral("Tutti i corsi della sede"));
    OpzTuttiCorsi->setObjectName(QStringLiteral("OpzTuttiCorsi"));
    OpzCorso = new QRadioButton(QStringLiteral("Solo il corso"));
    OpzCorso->setObjectName(QStringLiteral("OpzCorso"));
    cmbCorso = tendina(QStringLiteral("cmbCorso"), 50);
    lay->addWidget(OpzTuttiCorsi);
    auto *riga = new QHBoxLayout;
    riga->addWidget(OpzCorso);
    riga->addWidget(cmbCorso, 1);
    lay->addLayout(riga);
    lay->addStretch();
    auto *h = new QHBoxLayout;
    auto *cmdConfer = pulsante("cmdConfer", QStringLiteral("Conferma"));
    auto *cmdAnnul = pulsante("cmdAnnul", QStringLiteral("Annulla"));
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    cmdConfer->setDefault(true);
    cmdAiuto->setAutoDefault(false);
    h->addWidget(cmdAiuto);
    h->addStretch();
    h->addWidget(cmdConfer);
    h->addWidget(cmdAnnul);
    lay->addLayout(h);

    connect(cmbSedeDa, &QComboBox::activated, this, [this] { protetto(m_c, [this] { sedeDaScelta(); }); });
    alSegnale(OpzTuttiCorsi, &QRadioButton::toggled, m_c, [this](bool tutti) {
        if (tutti)
            cmbCorso->setCurrentIndex(-1);
        cmbCorso->setEnabled(!tutti);
    });
    alClic(cmdConfer, m_c, [this] { conferma(); });
    connect(cmdAnnul, &QPushButton::clicked, this, &QDialog::reject);
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 17000, this);
    });
    resize(720, 260);
}

void Riass::carica()
{
    cmbSedeDa->clear();
    for (const SedeRiassegnazione &x : sediConCorsi(m_c.db, m_c.sessione))
        cmbSedeDa->addItem(x.voce);
    cmbSedeDa->setCurrentIndex(-1);
    cmbSedeA->clear();
    cmbCorso->clear();
    OpzTuttiCorsi->setChecked(true);
    cmbCorso->setEnabled(false);
}

void Riass::sedeDaScelta()
{
    const qlonglong da = sedeDellaVoce(cmbSedeDa->currentText());
    cmbCorso->clear();
    cmbCorso->addItems(vociCorsiDaSpostare(m_c.db, m_c.sessione, da));
    cmbCorso->setCurrentIndex(-1);
    cmbSedeA->clear();
    for (const SedeRiassegnazione &x : sediDestinazione(m_c.db, m_c.sessione, da))
        cmbSedeA->addItem(x.voce);
    cmbSedeA->setCurrentIndex(-1);
}

void Riass::conferma()
{
    auto rifiuta = [this](const QString &testo, QWidget *campo) {
        m_c.dialoghi.messaggio(testo, kTitolo, Icona::Esclamazione);
        campo->setFocus();
    };
    if (cmbSedeDa->currentIndex() < 0)
        return rifiuta(QStringLiteral("Selezionare la sede da cui spostare il/i corsi"), cmbSedeDa);
    if (cmbSedeA->currentIndex() < 0)
        return rifiuta(QStringLiteral("Selezionare la sede su cui spostare il/i corsi"), cmbSedeA);
    if (OpzCorso->isChecked() && cmbCorso->currentIndex() < 0)
        return rifiuta(QStringLiteral("Selezionare il corso o i corsi da spostare"), cmbCorso);
    Riassegnazione r;
    r.da = sedeDellaVoce(cmbSedeDa->currentText());
    r.a = sedeDellaVoce(cmbSedeA->currentText());
    r.tutti = !OpzCorso->isChecked();
    r.corso = r.tutti ? QString() : cmbCorso->currentText().left(4);
    if (serveCompoResp(r.da, r.a)) {
        CompoRes scelta(m_c, this);
        scelta.carica();
        esegui(scelta);
        if (scelta.componente().isEmpty())
            return;
        r.compoResp = scelta.componente();
    }
    const EsitoVerifica e = verificaRiassegnazione(m_c.db, m_c.sessione, r);
    if (!e.valido()) {
        if (QWidget *campo = findChild<QWidget *>(e.campo))
            return rifiuta(e.messaggio, campo);
        m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
        return;
    }
    riassegnaCorsi(m_c.db, m_c.sessione, r);
    m_c.dialoghi.messaggio(QStringLiteral("RIASSEGNAZIONE EFFETTUATA. Sono stati spostati anche gli eventuali accorpati."),
                           kTitolo, Icona::Informazione);
    carica();
}

} // namespace quirdal
