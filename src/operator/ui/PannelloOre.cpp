#include "operator/ui/PannelloOre.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "operator/Componente.h"
#include "operator/ui/CampiScheda.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quirdal {

PannelloOre::PannelloOre(Contesto &c, QWidget *padre)
    : QGroupBox(QStringLiteral("2.4 Previsione Ore Corsi Rientranti Nell'Anno Formativo"), padre), m_c(c)
{
    auto *v24 = new QVBoxLayout(this);
    grdOre = griglia("grdOre", {QStringLiteral("Direttiva"), QStringLiteral("Ore Diurne"), QStringLiteral("Preserali/Serali")});
    grdOre->horizontalHeader()->setStretchLastSection(false);
    grdOre->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    v24->addWidget(grdOre);
    auto *ht = new QHBoxLayout;
    ht->addWidget(new QLabel(QStringLiteral("Totale ore corsi dichiarate")));
    ht->addStretch();
    for (QLineEdit **e : {&txtTotDiurne, &txtTotSerali}) {
        *e = campo(e == &txtTotDiurne ? "txtTotDiurne" : "txtTotSerali", 10);
        (*e)->setReadOnly(true);
        (*e)->setFixedWidth(90);
        (*e)->setAlignment(Qt::AlignRight);
        ht->addWidget(*e);
    }
    v24->addLayout(ht);
    auto *ho2 = new QHBoxLayout;
    CmdInsOre = pulsante("CmdInsOre", QStringLiteral("Aggiungi riga"));
    CmdOre = pulsante("CmdOre", QStringLiteral("Modifica/Inserisci nella griglia"));
    CmdCancOre = pulsante("CmdCancOre", QStringLiteral("Elimina riga"));
    for (QPushButton *b : {CmdInsOre, CmdOre, CmdCancOre})
        ho2->addWidget(b);
    ho2->addStretch();
    v24->addLayout(ho2);

    PanOre = new QFrame;
    PanOre->setObjectName(QStringLiteral("PanOre"));
    PanOre->setFrameShape(QFrame::StyledPanel);
    auto *gp = new QGridLayout(PanOre);
    CmbDirettiva = new QComboBox;
    CmbDirettiva->setObjectName(QStringLiteral("CmbDirettiva"));
    txtOreDiurne = campo("txtOreDiurne", 5);
    txtOreSerali = campo("txtOreSerali", 5);
    for (QLineEdit *e : {txtOreDiurne, txtOreSerali}) {
        e->setValidator(new QIntValidator(0, 99999, e));
        e->setFixedWidth(80);
    }
    gp->addWidget(new QLabel(QStringLiteral("Direttiva:")), 0, 0);
    gp->addWidget(CmbDirettiva, 0, 1, 1, 3);
    gp->addWidget(new QLabel(QStringLiteral("Ore Diurne:")), 1, 0);
    gp->addWidget(txtOreDiurne, 1, 1);
    gp->addWidget(new QLabel(QStringLiteral("Ore Preserali/Serali:")), 1, 2);
    gp->addWidget(txtOreSerali, 1, 3);
    auto *cmdRispCertConf = pulsante("cmdRispCertConf", QStringLiteral("Conferma"));
    auto *cmdRispCertAnn = pulsante("cmdRispCertAnn", QStringLiteral("Annulla"));
    auto *hp = new QHBoxLayout;
    hp->addStretch();
    hp->addWidget(cmdRispCertConf);
    hp->addWidget(cmdRispCertAnn);
    gp->addLayout(hp, 2, 0, 1, 4);
    PanOre->hide();
    v24->addWidget(PanOre);

    alClic(CmdInsOre, m_c, [this] { apriPannello(false); });
    alClic(CmdOre, m_c, [this] { apriPannello(true); });
    alClic(CmdCancOre, m_c, [this] { elimina(); });
    alClic(cmdRispCertConf, m_c, [this] { conferma(); });
    alClic(cmdRispCertAnn, m_c, [this] { chiudiPannello(); });
}

void PannelloOre::impostaDirettive(const QStringList &voci)
{
    CmbDirettiva->clear();
    CmbDirettiva->addItems(voci);
}

void PannelloOre::mostra(qlonglong componente)
{
    m_componente = componente;
    aggiorna();
}

void PannelloOre::abilitaRighe(bool si)
{
    CmdInsOre->setEnabled(si);
    CmdCancOre->setEnabled(si);
}

void PannelloOre::blocca()
{
    for (QPushButton *b : {CmdInsOre, CmdOre, CmdCancOre})
        b->setEnabled(false);
}

void PannelloOre::aggiorna()
{
    const QList<OreDirettiva> ore = orePerDirettiva(m_c, m_componente);
    grdOre->setRowCount(static_cast<int>(ore.size()));
    qlonglong diurne = 0, serali = 0;
    for (int i = 0; i < ore.size(); ++i) {
        auto *d = new QTableWidgetItem(QString::number(ore[i].codDiret) + QStringLiteral("  ") + ore[i].descrizione);
        d->setData(Qt::UserRole, ore[i].codDiret);
        grdOre->setItem(i, 0, d);
        grdOre->setItem(i, 1, new QTableWidgetItem(QString::number(ore[i].diurne)));
        grdOre->setItem(i, 2, new QTableWidgetItem(QString::number(ore[i].serali)));
        diurne += ore[i].diurne;
        serali += ore[i].serali;
    }
    grdOre->resizeColumnToContents(1);
    grdOre->resizeColumnToContents(2);
    txtTotDiurne->setText(QString::number(diurne));
    txtTotSerali->setText(QString::number(serali));
}

void PannelloOre::apriPannello(bool modifica)
{
    CmbDirettiva->setEnabled(!modifica);
    CmbDirettiva->setCurrentIndex(-1);
    txtOreDiurne->clear();
    txtOreSerali->clear();
    if (modifica) {
        const int riga = grdOre->currentRow();
        if (riga < 0 || grdOre->selectedItems().isEmpty())
            return; // nothing chosen to change: the panel stays closed
        const QString codDiret = grdOre->item(riga, 0)->data(Qt::UserRole).toString();
        for (int i = 0; i < CmbDirettiva->count(); ++i)
            if (CmbDirettiva->itemText(i).section(QLatin1Char(' '), 0, 0) == codDiret)
                CmbDirettiva->setCurrentIndex(i);
        txtOreDiurne->setText(grdOre->item(riga, 1)->text());
        txtOreSerali->setText(grdOre->item(riga, 2)->text());
    }
    PanOre->show();
    Q_EMIT pannelloAperto(true);
    (modifica ? static_cast<QWidget *>(txtOreDiurne) : CmbDirettiva)->setFocus();
}

void PannelloOre::chiudiPannello()
{
    PanOre->hide();
    Q_EMIT pannelloAperto(false);
    txtOreDiurne->clear();
    txtOreSerali->clear();
}

void PannelloOre::conferma()
{
    if (CmbDirettiva->currentIndex() < 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare una direttiva"), QStringLiteral("Verifica dati"), Icona::Esclamazione);
        return;
    }
    salvaOreDirettiva(m_c, m_componente, CmbDirettiva->currentText().section(QLatin1Char(' '), 0, 0).toLongLong(),
                      txtOreDiurne->text().toLongLong(), txtOreSerali->text().toLongLong());
    chiudiPannello();
    aggiorna();
}

void PannelloOre::elimina()
{
    const int riga = grdOre->currentRow();
    if (riga < 0 || grdOre->selectedItems().isEmpty())
        return;
    const QTableWidgetItem *d = grdOre->item(riga, 0);
    if (m_c.dialoghi.messaggio(QStringLiteral("Cencellare la previsione Ore Corsi Rientranti Nell'Anno Formativo per la "
                                              "direttiva ")
                                   + d->text() + QStringLiteral(" ?"),
                               QStringLiteral("Previsione Ore"), Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    eliminaOreDirettiva(m_c, m_componente, d->data(Qt::UserRole).toLongLong());
    aggiorna();
}

void PannelloOre::eliminaTutte()
{
    eliminaTutteLeOre(m_c, m_componente);
    chiudiPannello();
    aggiorna();
}

} // namespace quirdal
