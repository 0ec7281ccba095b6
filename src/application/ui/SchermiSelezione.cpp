#include "application/ui/SchermiSelezione.h"

#include "application/Selezione.h"
#include "common/Dialoghi.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "config/Installazione.h"
#include "db/CorsiDB.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "transmission/ui/SchermiInternet.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

namespace {
QLabel *etichetta(const char *nome, const QString &testo = {})
{
    auto *l = new QLabel(testo);
    l->setObjectName(QString::fromLatin1(nome));
    return l;
}
QHBoxLayout *rigaPulsanti(QPushButton *a, QPushButton *b)
{
    auto *p = new QHBoxLayout;
    p->addStretch();
    p->addWidget(a);
    p->addWidget(b);
    return p;
}
} // namespace

frmSelDomanda::frmSelDomanda(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmSelDomanda"));
    setWindowTitle(QStringLiteral("Selezione Domanda"));
    auto *lay = new QVBoxLayout(this);
    auto *riepilogo = new QGroupBox(QStringLiteral("Riepilogo dati Operatore"));
    auto *h = new QHBoxLayout(riepilogo);
    h->addWidget(lblGrOpe = etichetta("lblGrOpe"));
    h->addWidget(lblOpe = etichetta("lblOpe"));
    h->addWidget(lblDenOpe = etichetta("lblDenOpe"), 1);
    lay->addWidget(riepilogo);
    lay->addWidget(new QLabel(QStringLiteral("Provincia della domanda:")));
    cmbProvince = new QComboBox;
    cmbProvince->setObjectName(QStringLiteral("cmbProvince"));
    cmbProvince->setMinimumWidth(360);
    lay->addWidget(cmbProvince);
    auto *cmdConferma = pulsante("cmdConferma", QStringLiteral("Conferma"));
    cmdConferma->setDefault(true);
    auto *cmdAnnulla = pulsante("cmdAnnulla", QStringLiteral("Annulla"));
    lay->addLayout(rigaPulsanti(cmdConferma, cmdAnnulla));
    connect(cmdConferma, &QPushButton::clicked, this, [this] { protetto(m_c, [this] { conferma(); }); });
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSelDomanda::carica()
{
    const ElencoProvince e = elencoProvince(m_c);
    lblGrOpe->setText(e.grupOpe);
    lblOpe->setText(e.operatore);
    lblDenOpe->setText(e.denominazione);
    cmbProvince->clear();
    cmbProvince->addItems(e.voci);
    cmbProvince->setCurrentIndex(e.preselezione);
}

void frmSelDomanda::conferma()
{
    const EsitoProvincia e =
        confermaProvincia(m_c, cmbProvince->currentText(), [this](const QString &prov) -> std::optional<bool> {
            FrmnReg numero(m_c, prov, this);
            esegui(numero);
            if (numero.fineProgramma())
                return std::nullopt;
            return numero.ottenuto();
        });
    if (e == EsitoProvincia::Restare) {
        cmbProvince->setFocus();
        return;
    }
    m_fine = e == EsitoProvincia::FineProgramma;
    accept();
}

frmRiepDomanda::frmRiepDomanda(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmRiepDomanda"));
    setWindowTitle(QStringLiteral("Riepilogo dati della domanda (schede allegate e totale finanziario)"));
    const Sessione &s = m_c.sessione;
    auto *lay = new QVBoxLayout(this);
    auto *testa = new QHBoxLayout;
    testa->addWidget(etichetta("lblGrOpe", s.gGrupOpe));
    testa->addWidget(etichetta("lblOpe", s.gOperatore));
    testa->addWidget(etichetta("lblDenOpe", s.gDenomOper), 1);
    testa->addSpacing(12);
    testa->addWidget(lblDescrProv = etichetta("lblDescrProv"));
    lay->addLayout(testa);
    auto *f = new QFormLayout;
    // Long captions wrap beside fields of one width.
    f->setRowWrapPolicy(QFormLayout::DontWrapRows);
    f->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto campo = [&](const char *nome, const QString &valore) {
        auto *e = new QLineEdit(valore);
        e->setObjectName(QString::fromLatin1(nome));
        e->setEnabled(false);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(170);
        return e;
    };
    f->addRow(QStringLiteral("schede di IDENTIFICAZIONE DELLA SEDE INTERESSATA"), txtNumIdSEDE = campo("txtNumIdSEDE", {}));
    f->addRow(QStringLiteral("schede di CARATTERISTICHE DEI CORSI"), txtNumCarCORSI = campo("txtNumCarCORSI", {}));
    f->addRow(QStringLiteral("per un TOTALE di"), txtTotCORSI = campo("txtTotCORSI", {}));
    // The handicap line exists but stays hidden: its sheets add nothing to the total.
    auto *numHand = campo("txtNumHAND", QStringLiteral("0"));
    auto *totHand = campo("txtTotHAND", formatoTotale(Importo()));
    numHand->hide();
    totHand->hide();
    txtNumATIATS = new QLineEdit;
    txtNumATIATS->setObjectName(QStringLiteral("txtNumATIATS"));
    txtNumATIATS->setMaxLength(4);
    txtNumATIATS->setAlignment(Qt::AlignRight);
    txtNumATIATS->setFixedWidth(170);
    (new FiltroNumerico(m_c.dialoghi, this))->applica(txtNumATIATS);
    txtNumATIATS->installEventFilter(this);
    auto *atti =
        new QLabel(QStringLiteral("atti costitutivi o lettere di impegno, a firma congiunta, per costituire ATS/Accordo, "
                                  "con specifica dei corsi interessati"));
    atti->setWordWrap(true);
    atti->setMinimumWidth(420);
    atti->setMinimumHeight(atti->heightForWidth(420));
    f->addRow(atti, txtNumATIATS);
    f->addRow(QStringLiteral("Il totale complessivo del contributo richiesto"), txtTotCOMPL = campo("txtTotCOMPL", {}));
    lay->addLayout(f);
    auto *p = new QHBoxLayout;
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    auto *cmdConferma = pulsante("cmdConferma", QStringLiteral("Conferma dati"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci dalla Scheda Riepilogo"));
    p->addWidget(cmdAiuto);
    p->addStretch();
    p->addWidget(cmdConferma);
    p->addWidget(cmdEsci);
    lay->addLayout(p);
    connect(cmdConferma, &QPushButton::clicked, this, [this] { protetto(m_c, [this] { confermaDati(); }); });
    connect(cmdEsci, &QPushButton::clicked, this, &QDialog::reject);
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 10300, this);
    });
    if (s.gDomandaStampata)
        txtNumATIATS->setEnabled(false);
    resize(640, sizeHint().height());
}

void frmRiepDomanda::carica()
{
    const Riepilogo r = calcolaRiepilogo(m_c);
    lblDescrProv->setText(r.descrizioneProvincia);
    txtNumIdSEDE->setText(QString::number(r.sedi));
    txtNumCarCORSI->setText(QString::number(r.corsi));
    txtTotCORSI->setText(formatoTotale(r.totale));
    txtTotCOMPL->setText(formatoTotale(r.totale));
    txtNumATIATS->setText(r.atti);
    m_attiSalvati = r.atti;
    m_domanda = r.domanda;
}

void frmRiepDomanda::avvisaSeStampata()
{
    if (m_c.sessione.gDomandaStampata)
        m_c.dialoghi.messaggio(QStringLiteral("Domanda già inviata alla Provincia") + CRLF
                                   + QStringLiteral("Non sarà possibile effettuare modifiche"),
                               QStringLiteral("Riepilogo Domanda"), Icona::Esclamazione);
}

bool frmRiepDomanda::eventFilter(QObject *o, QEvent *e)
{
    if (o == txtNumATIATS) {
        // A zero is cleared on entering, an empty box becomes 0 on leaving.
        if (e->type() == QEvent::FocusIn && txtNumATIATS->text().toInt() == 0)
            txtNumATIATS->clear();
        else if (e->type() == QEvent::FocusOut && txtNumATIATS->text().trimmed().isEmpty())
            txtNumATIATS->setText(QStringLiteral("0"));
    }
    return QDialog::eventFilter(o, e);
}

void frmRiepDomanda::confermaDati()
{
    if (txtNumATIATS->text().trimmed().isEmpty())
        txtNumATIATS->setText(QStringLiteral("0"));
    salvaAttiATIATS(m_c, m_domanda, txtNumATIATS->text());
    accept();
}

void frmRiepDomanda::reject()
{
    const QString attuale = txtNumATIATS->text().trimmed().isEmpty() ? QStringLiteral("0") : txtNumATIATS->text();
    if (attuale.toInt() == m_attiSalvati.toInt()) {
        QDialog::reject();
        return;
    }
    protetto(m_c, [this] {
        // Yes confirms, which saves and closes.
        if (chiediSeSalvare(m_c.dialoghi, true, QStringLiteral("Sono stati modificati uno o più dati."),
                            QStringLiteral("Riepilogo dati domanda"),
                            [this] {
                                confermaDati();
                                return true;
                            })
            == Uscita::SenzaSalvare)
            QDialog::reject();
    });
}

SelComp::SelComp(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("SelComp"));
    setWindowTitle(QStringLiteral("Selezione SEDE INTERESSATA"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(lblDescri = etichetta("lblDescri"));
    cmbCompo = new QComboBox;
    cmbCompo->setObjectName(QStringLiteral("cmbCompo"));
    QFont fisso(QStringLiteral("DejaVu Sans Mono"));
    fisso.setStyleHint(QFont::Monospace);
    cmbCompo->setFont(fisso);
    lay->addWidget(cmbCompo);
    auto *cmdConfer = pulsante("cmdConfer", QStringLiteral("Conferma"));
    cmdConfer->setDefault(true);
    auto *cmdAnnul = pulsante("cmdAnnul", QStringLiteral("Annulla"));
    lay->addLayout(rigaPulsanti(cmdConfer, cmdAnnul));
    connect(cmdConfer, &QPushButton::clicked, this, [this] { protetto(m_c, [this] { conferma(); }); });
    connect(cmdAnnul, &QPushButton::clicked, this, &QDialog::reject);
}

bool SelComp::carica()
{
    const ElencoSedi e = elencoSedi(m_c);
    lblDescri->setText(e.descrizione);
    cmbCompo->clear();
    cmbCompo->addItems(e.voci);
    cmbCompo->setCurrentIndex(e.preselezione);
    m_pronta = false;
    if (!e.anomalia.isEmpty()) {
        m_c.dialoghi.messaggio(e.anomalia, QStringLiteral("Selezione SEDE INTERESSATA"), Icona::Critico);
        return false;
    }
    if (e.voci.isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: nessuna sede interessata trovata per l'Operatore e la Provincia "
                                              "selezionati.")
                                   + CRLF + QStringLiteral("Impossibile gestire corsi."),
                               QStringLiteral("Funzione non disponibile"), Icona::Critico);
        return false;
    }
    m_pronta = true;
    return true;
}

void SelComp::conferma()
{
    if (cmbCompo->currentIndex() < 0)
        return;
    if (!confermaSede(m_c, cmbCompo->currentText()))
        return;
    m_confermata = true;
    // In handicap mode the picker stays open on a valid choice, under the sheets of the site.
    if (m_c.sessione.gProssimaScheda != QLatin1String("frmHandi"))
        accept();
    else if (m_apriSchede)
        m_apriSchede();
}

} // namespace quirdal
