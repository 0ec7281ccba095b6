#include "loading/ui/FrmInstOper.h"

#include "common/ui/Clessidra.h"
#include "common/ui/DialoghiQt.h"
#include "common/Dialoghi.h"
#include "common/ui/Confine.h"
#include "common/Testo.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "transmission/ServiziRegione.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quirdal {

frmInstOper::frmInstOper(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmInstOper"));
    setWindowTitle(QStringLiteral("Selezione Operatori"));
    auto *lay = new QVBoxLayout(this);
    lblPrompt = new QLabel(QStringLiteral("Indicare gli Operatori di cui scaricare i dati (gruppo e numero)"));
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    lay->addWidget(lblPrompt);
    auto *g = new QGridLayout;
    TxtGrup = new QLineEdit;
    TxtGrup->setObjectName(QStringLiteral("TxtGrup"));
    TxtGrup->setMaxLength(1);
    TxtGrup->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z]")), TxtGrup));
    TxtOper = new QLineEdit;
    TxtOper->setObjectName(QStringLiteral("TxtOper"));
    TxtOper->setMaxLength(9);
    TxtOper->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), TxtOper));
    auto *CmdIns = new QPushButton(QStringLiteral("Inserisci"));
    CmdIns->setObjectName(QStringLiteral("CmdIns"));
    auto *CmdCanc = new QPushButton(QStringLiteral("Cancella"));
    CmdCanc->setObjectName(QStringLiteral("CmdCanc"));
    g->addWidget(new QLabel(QStringLiteral("Gruppo:")), 0, 0);
    g->addWidget(TxtGrup, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Operatore:")), 0, 2);
    g->addWidget(TxtOper, 0, 3);
    g->addWidget(CmdIns, 0, 4);
    lay->addLayout(g);
    LstElenco = new QListWidget;
    LstElenco->setObjectName(QStringLiteral("LstElenco"));
    LstElenco->setFont(fontFisso());
    lay->addWidget(LstElenco);
    auto *p = new QHBoxLayout;
    p->addWidget(CmdCanc);
    p->addStretch();
    cmdConferma = new QPushButton(QStringLiteral("&CONFERMA"));
    cmdConferma->setObjectName(QStringLiteral("cmdConferma"));
    cmdAnnulla = new QPushButton(QStringLiteral("&ANNULLA"));
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    p->addWidget(cmdConferma);
    p->addWidget(cmdAnnulla);
    lay->addLayout(p);
    alClic(CmdIns, m_c, [this] { inserisci(); });
    alSegnale(TxtOper, &QLineEdit::returnPressed, m_c, [this] { inserisci(); });
    alClic(CmdCanc, m_c, [this] { cancella(); });
    alClic(cmdConferma, m_c, [this] { conferma(); });
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 420);
}

void frmInstOper::riempi(const QStringList &voci)
{
    LstElenco->clear();
    LstElenco->addItems(voci.mid(0, kMassimoOperatoriScarico));
}

void frmInstOper::setPrompt(const QString &testo) { lblPrompt->setText(testo); }

QStringList frmInstOper::voci() const
{
    QStringList r;
    for (int i = 0; i < LstElenco->count(); ++i)
        r << LstElenco->item(i)->text();
    return r;
}

void frmInstOper::inserisci()
{
    if (TxtGrup->text().isEmpty() || TxtOper->text().isEmpty())
        return;
    if (LstElenco->count() >= kMassimoOperatoriScarico)
        m_c.dialoghi.messaggio(QStringLiteral("E' stato raggiunto il limite massimo di aziende scaricabili da Internet"),
                               QStringLiteral("Attenzione"), Icona::Informazione);
    else
        LstElenco->addItem(vocePerScarico(TxtGrup->text().toUpper(), QString::number(TxtOper->text().toLongLong())));
    TxtGrup->clear();
    TxtOper->clear();
    TxtGrup->setFocus();
}

void frmInstOper::cancella() { delete LstElenco->takeItem(LstElenco->currentRow()); }

void frmInstOper::conferma()
{
    if (LstElenco->count() == 0)
        return;
    bool operatori = false, tabelle = false;
    {
        const OperazioneLunga lunga({cmdConferma, cmdAnnulla});
        if (lunga.rifiutata())
            return;
        const Clessidra clessidra;
        Trasferimento t(m_c.cartellaProgramma, m_c.utente);
        // Both requests run: the operators' data come even when the tables' request has
        // failed (its message has been shown), and the other way round.
        tabelle = scaricaTabelle(m_c, t, voci());
        operatori = scaricaDatiOperatori(m_c, t, voci());
    }
    if (operatori) {
        m_scaricato = true;
        frmConferma conferma(tabelle, this);
        esegui(conferma);
        accept();
    }
}

void frmInstOper::reject()
{
    protetto(m_c, [this] {
        if (m_c.sessione.gPrimoAvvio) {
            if (m_c.dialoghi.messaggio(QStringLiteral("Annullando l'operazione di scarico della base dati non sarà "
                                                      "possibile continuare con l'esecuzione della procedura.")
                                           + CRLF + QStringLiteral("Annullare comunque l'operazione?"),
                                       QStringLiteral("PRIMO AVVIO"), Icona::Critico, Pulsanti::SiNo)
                == Risposta::Si) {
                m_fine = true;
                QDialog::reject();
            }
            return;
        }
        m_annullato = true;
        QDialog::reject();
    });
}

frmConferma::frmConferma(bool conTabelle, QWidget *padre) : QDialog(padre)
{
    setObjectName(QStringLiteral("frmConferma"));
    setWindowTitle(QStringLiteral("Scarico completato"));
    auto *lay = new QVBoxLayout(this);
    auto *l = new QLabel(conTabelle ? QStringLiteral("I dati degli operatori e le tabelle di decodifica sono stati "
                                                     "scaricati correttamente e saranno ora caricati nella base dati.")
                                    : QStringLiteral("I dati degli operatori sono stati scaricati correttamente e saranno "
                                                     "ora caricati nella base dati. Le tabelle di decodifica non sono "
                                                     "state scaricate e restano quelle attuali."));
    l->setObjectName(QStringLiteral("lblConferma"));
    l->setWordWrap(true);
    lay->addWidget(l);
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    lay->addWidget(ok, 0, Qt::AlignRight);
    resize(420, sizeHint().height());
}

} // namespace quirdal
