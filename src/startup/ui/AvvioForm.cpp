#include "startup/ui/AvvioForm.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "config/ui/FrmImpostazioni.h"
#include "startup/ui/MainForm.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

AvvioForm::AvvioForm(QWidget *padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Avvio"));
    setWindowTitle(QStringLiteral("QUIRDAL"));
    auto *lay = new QVBoxLayout(this);
    auto etichetta = [&](const char *nome) {
        auto *l = new QLabel;
        l->setObjectName(QString::fromLatin1(nome));
        lay->addWidget(l);
        return l;
    };
    lblTitolo = etichetta("lblTitolo");
    QFont f = lblTitolo->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 3);
    lblTitolo->setFont(f);
    Label4 = etichetta("Label4");
    lblFile = etichetta("lblFile");
    lblTabe = etichetta("lblTabe");
    lblNRec = etichetta("lblNRec");
    ProgBar = new QProgressBar;
    ProgBar->setObjectName(QStringLiteral("ProgBar"));
    lay->addWidget(ProgBar);
    resize(460, 200);
}

AvvioForm::~AvvioForm() = default;

void AvvioForm::mostraSplash()
{
    auto *s = new QWidget(nullptr, Qt::SplashScreen);
    s->setObjectName(QStringLiteral("SplashScreen"));
    auto *lay = new QVBoxLayout(s);
    auto *t = new QLabel(QStringLiteral("QUIRDAL"));
    QFont f = t->font();
    f.setPointSize(f.pointSize() * 2);
    f.setBold(true);
    t->setFont(f);
    t->setAlignment(Qt::AlignCenter);
    lay->addWidget(t);
    auto *sotto = new QLabel(QStringLiteral("Proposta di corsi di formazione - Fondo Sociale Europeo"));
    sotto->setAlignment(Qt::AlignCenter);
    lay->addWidget(sotto);
    auto *ver = new QLabel(QStringLiteral("Ver. ") + versioneProgramma());
    ver->setObjectName(QStringLiteral("lblVersione"));
    ver->setAlignment(Qt::AlignCenter);
    lay->addWidget(ver);
    s->resize(420, 180);
    s->show();
    m_splash.reset(s);
    QApplication::processEvents();
}

void AvvioForm::chiudiSplash() { m_splash.reset(); }

void AvvioForm::mostraImpostazioni(Contesto &c)
{
    Frm_Impostazioni dlg(c);
    const int esito = esegui(dlg);
    if (dlg.fineProgramma() || esito != QDialog::Accepted)
        throw FineProgramma(QStringLiteral("installazione interrotta"));
}

void AvvioForm::mostraAvvisoClient()
{
    QDialog dlg;
    dlg.setObjectName(QStringLiteral("FrmAvviso"));
    dlg.setWindowTitle(QStringLiteral("Installazione Versione Client"));
    auto *lay = new QVBoxLayout(&dlg);
    for (const QString &t :
         {QStringLiteral("E' stata effettuata una connessione ad una Base Dati VUOTA. E' impossibile continuare "
                         "l'esecuzione del programma da una installazione di tipo CLIENT."),
          QStringLiteral("Per procedere, completare il primo avvio della procedura dall'installazione di tipo "
                         "SERVER, sarà poi possibile avviare le installazioni CLIENT.")}) {
        auto *l = new QLabel(t);
        l->setWordWrap(true);
        lay->addWidget(l);
    }
    auto *ok = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(ok, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    lay->addWidget(ok);
    dlg.resize(460, dlg.sizeHint().height());
    esegui(dlg);
}

void AvvioForm::fase(const QString &t, const QString &riga2)
{
    show();
    lblTitolo->setText(t);
    Label4->setText(riga2);
    QApplication::processEvents();
}

void AvvioForm::file(const QString &percorso, const QString &tabella, int totale)
{
    show();
    lblFile->setText(QFileInfo(percorso).fileName());
    lblTabe->setText(tabella);
    ProgBar->setRange(0, std::max(totale, 1));
    ProgBar->setValue(0);
    QApplication::processEvents();
}

void AvvioForm::record(int caricati)
{
    lblNRec->setText(QString::number(caricati));
    ProgBar->setValue(std::min(caricati, ProgBar->maximum()));
    QApplication::processEvents();
}

void AvvioForm::attendi(bool clessidra) { m_clessidra.mostra(clessidra); }

void AvvioForm::mostraFinestraPrincipale(Contesto &c)
{
    {
        const Clessidra clessidra;
        m_main = std::make_unique<MDI_Main>(c);
        m_main->carica();
    }
    m_main->show();
    hide();
    // Before the event loop: a failure here offers Retry, or ends the program.
    conGestoreGenerico(c.dialoghi, [this] { m_main->primaAttivazione(); });
}

std::unique_ptr<MDI_Main> AvvioForm::prendiFinestraPrincipale() { return std::move(m_main); }

} // namespace quirdal
