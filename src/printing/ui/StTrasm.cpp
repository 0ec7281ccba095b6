// "Stampa Modulo e Trasmissione Dati": the draft print, and the send after the checks of the
// whole application with the waiting panel and its bar.
#include "printing/ui/SchermiStampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "db/CorsiDB.h"
#include "printing/ControlliStampa.h"
#include "printing/ui/PezziStampa.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quirdal {

using namespace schermistampa;

StTrasm::StTrasm(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("StTrasm"));
    setWindowTitle(QStringLiteral("Stampa Modulo e Trasmissione Dati"));
    auto *lay = new QVBoxLayout(this);
    auto *titolo = etichetta(QStringLiteral("STAMPA DEL MODULO DI DOMANDA E TRASMISSIONE DEI DATI ALLA PROVINCIA VIA "
                                            "INTERNET"),
                             "Label12");
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    lay->addWidget(titolo);
    auto *gruppo = new QGroupBox;
    gruppo->setObjectName(QStringLiteral("Gruppo"));
    auto *gl = new QVBoxLayout(gruppo);
    gl->addWidget(etichetta(QStringLiteral("Produrre una stampa in formato bozza per controllare la correttezza dei dati "
                                           "immessi.")));
    gl->addWidget(etichetta(QStringLiteral("Una volta prodotta la stampa in formato definitivo non sarà più possibile "
                                           "modificare i dati della domanda."),
                            "Label3"));
    lay->addWidget(gruppo);
    auto *g = new QGridLayout;
    auto *cmdStBozza = pulsante("cmdStBozza", QString());
    cmdStBozza->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    voce(g, 0, cmdStBozza, "LblStBozza", QStringLiteral("Stampa Bozza"));
    cmdInvia1 = pulsante("cmdInvia1", QString());
    cmdInvia1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    LblInvia1 = voce(g, 1, cmdInvia1, "LblInvia1", QStringLiteral("Stampa Definitivo Invio Domanda"));
    auto *cmdRitorna = pulsante("cmdRitorna", QString());
    cmdRitorna->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    voce(g, 2, cmdRitorna, "LblRitorna", QStringLiteral("Ritorna alla schermata principale"));
    g->setColumnStretch(1, 1);
    lay->addLayout(g);
    panel_Attesa = new QGroupBox;
    panel_Attesa->setObjectName(QStringLiteral("panel_Attesa"));
    auto *pl = new QVBoxLayout(panel_Attesa);
    pl->addWidget(new QLabel(QStringLiteral("Controllo dati in corso. Attendere...")));
    PB1 = new QProgressBar;
    PB1->setObjectName(QStringLiteral("PB1"));
    PB1->setRange(1, kPassiControlli);
    pl->addWidget(PB1);
    panel_Attesa->hide();
    lay->addWidget(panel_Attesa);
    (new StileEtichette(m_c.sessione, this))->applica(this);
    alClic(cmdStBozza, m_c, [this] { stampaBozza(); });
    alClic(cmdInvia1, m_c, [this] { invia(); });
    connect(cmdRitorna, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, sizeHint().height());
}

void StTrasm::carica()
{
    // Only the SERVER installation prints the final form and sends.
    attivo(cmdInvia1, LblInvia1, m_c.sessione.gVersione == QLatin1String("SERVER"));
}

void StTrasm::stampaBozza()
{
    m_c.sessione.gTipoStampa = kStampaBozza;
    SelBozza dlg(m_c, this);
    dlg.carica();
    esegui(dlg);
}

bool StTrasm::ControllaDatiDomanda()
{
    PB1->setValue(1);
    panel_Attesa->show();
    const Clessidra clessidra;
    struct Ripristina {
        QWidget *p;
        ~Ripristina() { p->hide(); }
    } ripristina{panel_Attesa};
    QApplication::processEvents();
    EsitoVerifica e;
    try {
        e = quirdal::ControllaDatiDomanda(m_c.db, m_c.sessione, [this](int passo) {
            PB1->setValue(passo);
            QApplication::processEvents();
        });
    } catch (const Errore &err) {
        // A failed read is not a passed check: the send stops with the error.
        e = EsitoVerifica::errore(QStringLiteral("Errore ") + QString::number(err.numero()) + CRLF + err.descrizione(),
                                  kTitoloStampaNonDisponibile, QString());
    }
    if (e.valido())
        return true;
    m_c.dialoghi.messaggio(e.messaggio, e.titolo, Icona::Critico);
    return false;
}

void StTrasm::invia()
{
    if (!operatoreHaCorsi(m_c.db, m_c.sessione)) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessun corso: impossibile inviare la domanda!"), QStringLiteral("Invio domanda"),
                               Icona::Critico);
        return;
    }
    if (!ControllaDatiDomanda())
        return;
    Invia dlg(m_c, this);
    esegui(dlg);
}

} // namespace quirdal
