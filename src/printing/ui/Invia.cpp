// "Invio domanda": what sending the application involves, then the delivery screen.
#include "printing/ui/SchermiStampa.h"

#include "common/Contesto.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "printing/ui/PezziStampa.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

using namespace schermistampa;

Invia::Invia(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Invia"));
    setWindowTitle(QStringLiteral("Invio domanda"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(operatoreSelezionato(c, false));
    auto *titolo = etichetta(QStringLiteral("INVIO ALLA PROVINCIA DELLA DOMANDA"));
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    lay->addWidget(titolo);
    lay->addWidget(etichetta(QStringLiteral("Operazioni che dovranno essere effettuate:")));
    lay->addWidget(etichetta(QStringLiteral("1.  Copia della domanda su floppy disk")));
    lay->addWidget(etichetta(QStringLiteral("2.  Stampa del modulo di domanda originale e in copia  da        consegnare "
                                            "agli uffici provinciali")));
    lay->addWidget(etichetta(QStringLiteral("3.  Invio della domanda alla Provincia tramite INTERNET")));
    auto *attenzione = etichetta(QStringLiteral("ATTENZIONE ! ! !"));
    attenzione->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    lay->addWidget(attenzione);
    lay->addWidget(etichetta(QStringLiteral("Dopo aver inviato la domanda NON SARA' PIU' POSSIBILE MODIFICARE NESSUN "
                                            "DATO")));
    auto *p = new QHBoxLayout;
    auto *cmdConf = pulsante("cmdConf", QStringLiteral("Conferma"));
    auto *cmdAnnul = pulsante("cmdAnnul", QStringLiteral("Annulla"));
    p->addStretch();
    p->addWidget(cmdConf);
    p->addWidget(cmdAnnul);
    lay->addLayout(p);
    alClic(cmdConf, m_c, [this] {
        Trasmis dlg(m_c, this);
        {
            const Clessidra clessidra;
            dlg.carica();
        }
        esegui(dlg);
        accept();
    });
    connect(cmdAnnul, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace quirdal
