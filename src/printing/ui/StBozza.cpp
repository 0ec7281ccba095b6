// The print confirmation: the operator and site printed, the notes on the PDF and its reader,
// the pause between pages.
#include "printing/ui/SchermiStampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "printing/ui/PezziStampa.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

using namespace schermistampa;

namespace {

const QString kIndirizzoLettore = QStringLiteral("https://get.adobe.com/it/reader/");

} // namespace

StBozza::StBozza(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("StBozza"));
    const bool finale = definitiva(c.sessione);
    setWindowTitle(finale ? QStringLiteral("Stampa Originale") : QStringLiteral("Stampa Bozza"));
    auto *lay = new QVBoxLayout(this);
    auto *tipo = etichetta(finale ? QStringLiteral("STAMPA DEL MODULO DI DOMANDA ORIGINALE.")
                                  : QStringLiteral("STAMPA DELLA BOZZA DELLA DOMANDA."),
                           "lblTipoStampa");
    QFont f = tipo->font();
    f.setBold(true);
    tipo->setFont(f);
    lay->addWidget(tipo);
    lay->addWidget(operatoreSelezionato(c, true));
    auto *attenzione = new QGroupBox(QStringLiteral("ATTENZIONE"));
    auto *al = new QVBoxLayout(attenzione);
    al->addWidget(etichetta(QStringLiteral("Non verrà prodotta una stampa cartacea, ma un documento PDF.")));
    al->addWidget(etichetta(QStringLiteral("La versione minima richiesta di Acrobat Reader per la stampa del PDF è la 6.0")));
    al->addWidget(etichetta(QStringLiteral("Per visualizzare il documento di stampa verificare la presenza di Acrobat "
                                           "Reader sul PC, altrimenti scaricarlo dal sito")));
    auto *cmdSito = new QPushButton(kIndirizzoLettore);
    cmdSito->setObjectName(QStringLiteral("Label4"));
    cmdSito->setFlat(true);
    cmdSito->setCursor(Qt::PointingHandCursor);
    cmdSito->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline; text-align: left;"));
    al->addWidget(cmdSito);
    lay->addWidget(attenzione);
    auto *intervallo = new QGroupBox(QStringLiteral("Intervallo di stampa"));
    auto *il = new QGridLayout(intervallo);
    txtIntervallo = new QLineEdit(QString::number(c.sessione.gIntervalloStampa / 1000));
    txtIntervallo->setObjectName(QStringLiteral("txtIntervallo"));
    txtIntervallo->setMaxLength(4);
    txtIntervallo->setMaximumWidth(60);
    (new FiltroNumerico(c.dialoghi, this))->applica(txtIntervallo);
    il->addWidget(txtIntervallo, 0, 0);
    il->addWidget(new QLabel(QStringLiteral("secondi.")), 0, 1);
    il->addWidget(etichetta(QStringLiteral("E' possibile impostare un intervallo di stampa nel caso in cui lo spooler "
                                           "della stampante abbia una capacità ridotta di memoria e quindi potrebbe "
                                           "generare degli errori in fase di stampa per una mole di dati  eccessiva.")),
                  1, 0, 1, 3);
    il->addWidget(etichetta(QStringLiteral("Impostando 0 non verrà applicato alcun intervallo.")), 2, 0, 1, 3);
    il->setColumnStretch(2, 1);
    lay->addWidget(intervallo);
    auto *p = new QHBoxLayout;
    auto *cmdSt = pulsante("cmdSt", QStringLiteral("Conferma stampa in formato PDF"));
    cmdSt->setDefault(true);
    auto *cmdAnnSt = pulsante("cmdAnnSt", QStringLiteral("Annulla"));
    p->addStretch();
    p->addWidget(cmdSt);
    p->addWidget(cmdAnnSt);
    lay->addLayout(p);
    resize(600, sizeHint().height());
    alClic(cmdSito, m_c, [this] {
        if (!m_c.piattaforma.apri(kIndirizzoLettore))
            m_c.dialoghi.messaggio(QStringLiteral("Impossibile aprire il sito ") + kIndirizzoLettore,
                                   QStringLiteral("Errore di collegamento"), Icona::Esclamazione);
    });
    alClic(cmdSt, m_c, [this] { conferma(); });
    connect(cmdAnnSt, &QPushButton::clicked, this, &QDialog::reject);
}

void StBozza::conferma()
{
    Sessione &s = m_c.sessione;
    s.gIntervalloStampa = intervalloStampa(txtIntervallo->text());
    const bool finale = definitiva(s);
    s.gModoStampa = finale ? kModoOriginale : kModoBozza;
    RichiestaStampa r = RichiestaStampa::daSessione(s);
    if (finale) {
        r.tipoSede.clear();
        r.sede = 0;
    }
    ViewStam dlg(m_c, r, this);
    esegui(dlg);
    if (finale)
        registraStampaDefinitiva(s, dlg.esito());
    accept();
    // Shown over the screen that asked for the print; a final print only once it is locked
    // and under its own name.
    dlg.mostraPdf(parentWidget());
}

} // namespace quirdal
