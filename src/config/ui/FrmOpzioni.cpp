#include "config/ui/FrmOpzioni.h"

#include "common/Dialoghi.h"
#include "common/ui/Confine.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quirdal {

namespace {
template <typename T>
T *nominato(T *w, const char *nome)
{
    w->setObjectName(QString::fromLatin1(nome));
    return w;
}
} // namespace

frmOpzioni::frmOpzioni(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmOpzioni"));
    setWindowTitle(QStringLiteral("Opzioni"));
    auto *lay = new QVBoxLayout(this);

    auto *fInstallazione = nominato(new QGroupBox(QStringLiteral("Installazione")), "fInstallazione");
    auto *li = new QGridLayout(fInstallazione);
    optLocale = nominato(new QRadioButton(QStringLiteral("Locale")), "optLocale");
    optMultiutenza = nominato(new QRadioButton(QStringLiteral("In rete (multiutenza)")), "optMultiutenza");
    txtDatabase = nominato(new QLineEdit, "txtDatabase");
    txtDatabase->setMinimumWidth(380);
    auto *cmdSfoglia = nominato(new QPushButton(QStringLiteral("Sfoglia...")), "cmdSfoglia");
    li->addWidget(optLocale, 0, 0);
    li->addWidget(optMultiutenza, 0, 1);
    li->addWidget(new QLabel(QStringLiteral("Database:")), 1, 0);
    li->addWidget(txtDatabase, 1, 1);
    li->addWidget(cmdSfoglia, 1, 2);
    lay->addWidget(fInstallazione);

    auto *fRete = nominato(new QGroupBox(QStringLiteral("Posta elettronica")), "fRete");
    auto *lr = new QGridLayout(fRete);
    txtEMail = nominato(new QLineEdit, "txtEMail");
    optServVTZ = nominato(new QRadioButton(QStringLiteral("Server di posta della Regione")), "optServVTZ");
    optServVTZINT = nominato(new QRadioButton(QStringLiteral("Server di posta interno")), "optServVTZINT");
    optMioServ = nominato(new QRadioButton(QStringLiteral("Proprio server di posta:")), "optMioServ");
    txtMioServ = nominato(new QLineEdit, "txtMioServ");
    lr->addWidget(new QLabel(QStringLiteral("Indirizzo e-mail:")), 0, 0);
    lr->addWidget(txtEMail, 0, 1);
    lr->addWidget(optServVTZ, 1, 0, 1, 2);
    lr->addWidget(optServVTZINT, 2, 0, 1, 2);
    lr->addWidget(optMioServ, 3, 0);
    lr->addWidget(txtMioServ, 3, 1);
    lay->addWidget(fRete);

    auto *fAccessibilita = nominato(new QGroupBox(QStringLiteral("Accessibilità")), "fAccessibilita");
    auto *la = new QVBoxLayout(fAccessibilita);
    ckSottolinea = nominato(new QCheckBox(QStringLiteral("Sottolinea le etichette")), "ckSottolinea");
    ckAumenta = nominato(new QCheckBox(QStringLiteral("Etichette in grassetto")), "ckAumenta");
    ckCambia = nominato(new QCheckBox(QStringLiteral("Cambia il colore delle etichette")), "ckCambia");
    la->addWidget(ckSottolinea);
    la->addWidget(ckAumenta);
    la->addWidget(ckCambia);
    lay->addWidget(fAccessibilita);

    auto *pulsanti = new QHBoxLayout;
    auto *cmdSalva = nominato(new QPushButton(QStringLiteral("Salva")), "cmdSalva");
    cmdSalva->setDefault(true);
    auto *cmdAnnulla = nominato(new QPushButton(QStringLiteral("Annulla")), "cmdAnnulla");
    pulsanti->addStretch();
    pulsanti->addWidget(cmdSalva);
    pulsanti->addWidget(cmdAnnulla);
    lay->addLayout(pulsanti);

    mostra(caricaOpzioni(m_c));

    // Connected after loading, so that only the user's edits count.
    const auto installazione = [this] { m_installazioneCambiata = true; };
    const auto schermo = [this] { m_cambiato = true; };
    alSegnale(optLocale, &QRadioButton::toggled, m_c, installazione);
    alSegnale(optMultiutenza, &QRadioButton::toggled, m_c, installazione);
    alSegnale(txtDatabase, &QLineEdit::textChanged, m_c, installazione);
    alSegnale(txtEMail, &QLineEdit::textChanged, m_c, schermo);
    alSegnale(txtMioServ, &QLineEdit::textChanged, m_c, schermo);
    for (QRadioButton *o : {optServVTZ, optServVTZINT, optMioServ})
        alSegnale(o, &QRadioButton::toggled, m_c, schermo);
    for (QCheckBox *k : {ckSottolinea, ckAumenta, ckCambia})
        alSegnale(k, &QCheckBox::toggled, m_c, schermo);
    connect(optMioServ, &QRadioButton::toggled, txtMioServ, &QLineEdit::setEnabled);
    alClic(cmdSfoglia, m_c, [this] { sfoglia(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdAnnulla, m_c, [this] { annulla(); });
}

void frmOpzioni::mostra(const ValoriOpzioni &v)
{
    (v.multiutenza ? optMultiutenza : optLocale)->setChecked(true);
    txtDatabase->setText(v.database);
    txtEMail->setText(v.email);
    switch (v.server) {
    case ServerPosta::Regione:
        optServVTZ->setChecked(true);
        break;
    case ServerPosta::Interno:
        optServVTZINT->setChecked(true);
        break;
    case ServerPosta::Proprio:
        optMioServ->setChecked(true);
        break;
    }
    txtMioServ->setText(v.mioServer);
    txtMioServ->setEnabled(v.server == ServerPosta::Proprio);
    ckSottolinea->setChecked(v.sottolinea);
    ckAumenta->setChecked(v.aumenta);
    ckCambia->setChecked(v.cambia);
}

ValoriOpzioni frmOpzioni::valori() const
{
    ValoriOpzioni v;
    v.multiutenza = optMultiutenza->isChecked();
    v.database = txtDatabase->text();
    v.email = txtEMail->text();
    v.server = optMioServ->isChecked() ? ServerPosta::Proprio
        : optServVTZINT->isChecked()   ? ServerPosta::Interno
                                       : ServerPosta::Regione;
    v.mioServer = txtMioServ->text();
    v.sottolinea = ckSottolinea->isChecked();
    v.aumenta = ckAumenta->isChecked();
    v.cambia = ckCambia->isChecked();
    return v;
}

void frmOpzioni::sfoglia()
{
    const QString f = m_c.dialoghi.scegliFileDaAprire(QStringLiteral("Scegliere il database"), m_c.cartellaProgramma,
                                                      QStringLiteral("Database Microsoft Access (*.mdb)|*.mdb"));
    if (!f.isEmpty())
        txtDatabase->setText(f);
}

void frmOpzioni::salva()
{
    switch (salvaOpzioni(m_c, valori(), m_installazioneCambiata)) {
    case EsitoOpzioni::Fermato:
        return;
    case EsitoOpzioni::Riavvio:
        m_fine = true;
        QDialog::reject();
        return;
    case EsitoOpzioni::Salvato:
        accept();
        return;
    }
}

void frmOpzioni::annulla()
{
    if ((m_installazioneCambiata || m_cambiato)
        && m_c.dialoghi.messaggio(QStringLiteral("Salvare le modifiche effettuate?"), QStringLiteral("Salvataggio"),
                                  Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si) {
        salva();
        return;
    }
    QDialog::reject();
}

void frmOpzioni::reject()
{
    protetto(m_c, [this] { annulla(); });
}

} // namespace quirdal
