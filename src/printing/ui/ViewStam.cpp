// The print running: its progress, its cancel button, the pause between pages; and the draft
// of one course of the course sheet.
#include "printing/ui/SchermiStampa.h"

#include "common/Contesto.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "printing/ui/PezziStampa.h"
#ifdef QUIRDAL_ANTEPRIMA
#include "printing/ui/Anteprima.h"
#endif

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quirdal {

using namespace schermistampa;

ViewStam::ViewStam(Contesto &c, RichiestaStampa richiesta, QWidget *padre)
    : QDialog(padre), m_c(c), m_richiesta(std::move(richiesta))
{
    setObjectName(QStringLiteral("ViewStam"));
    // The PDF is shown by the screens, once this one has closed, rather than by the engine.
    m_mostra = m_richiesta.apriAlTermine;
    m_richiesta.apriAlTermine = false;
    setWindowTitle(QStringLiteral("Compilazione ") + m_richiesta.modo + QStringLiteral(" in corso ..."));
    auto *lay = new QVBoxLayout(this);
    lblPagina = etichetta(QStringLiteral("Preparazione della stampa..."), "lblPagina");
    lblPag = etichetta(QString(), "lblPag");
    lay->addWidget(lblPagina);
    lay->addWidget(lblPag);
    cmAnnStamp = pulsante("cmAnnStamp", QStringLiteral("Annulla"));
    auto *p = new QHBoxLayout;
    p->addStretch();
    p->addWidget(cmAnnStamp);
    lay->addLayout(p);
    connect(cmAnnStamp, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, sizeHint().height());
}

void ViewStam::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_avviata)
        return;
    m_avviata = true;
    // The print starts once the screen is up, so that its progress shows.
    QTimer::singleShot(0, this, [this] { protetto(m_c, [this] { esegui(); }); });
}

void ViewStam::reject()
{
    if (m_inCorso) {
        m_annulla = true;
        return;
    }
    QDialog::reject();
}

void ViewStam::esegui()
{
    m_inCorso = true;
    const Clessidra clessidra;
    struct Fine {
        ViewStam *v;
        ~Fine() { v->m_inCorso = false; }
    } fine{this};
    {
        MotoreStampa motore(m_c, *this);
        m_esito = motore.esegui(m_richiesta);
    }
    m_inCorso = false;
    if (m_esito.stato == EsitoStampa::Stato::Completa)
        accept();
    else
        QDialog::reject();
}

void ViewStam::mostraPdf(QWidget *padre)
{
    if (m_mostra && m_esito.stato == EsitoStampa::Stato::Completa && !m_esito.filePdf.isEmpty())
        mostraStampa(m_c, m_esito.filePdf, padre);
}

void mostraStampa(Contesto &c, const QString &filePdf, QWidget *padre)
{
#ifdef QUIRDAL_ANTEPRIMA
    frmAnteprima anteprima(c, filePdf, padre);
    if (anteprima.caricato()) {
        esegui(anteprima);
        return;
    }
#else
    Q_UNUSED(padre);
#endif
    c.piattaforma.apri(filePdf);
}

void ViewStam::pagina(int n, const QString &sezione)
{
    lblPagina->setText(QStringLiteral("Compilazione della sezione ") + sezione);
    lblPag->setText(QStringLiteral("Pagina ") + QString::number(n));
    QApplication::processEvents();
}

void ViewStam::fase(const QString &testo)
{
    lblPagina->setText(testo);
    lblPag->clear();
    QApplication::processEvents();
}

void ViewStam::attendi(long millisecondi)
{
    // The pause keeps the screen alive, and cancel ends it at once.
    QEventLoop attesa;
    QTimer t;
    t.setSingleShot(true);
    connect(&t, &QTimer::timeout, &attesa, &QEventLoop::quit);
    connect(cmAnnStamp, &QPushButton::clicked, &attesa, &QEventLoop::quit);
    t.start(int(millisecondi));
    attesa.exec();
}

void stampaBozzaCorso(Contesto &c, const ChiaveCorso &k, QWidget *padre)
{
    c.sessione.gModoStampa = kModoBozzaCorso;
    RichiestaStampa r = RichiestaStampa::daSessione(c.sessione);
    r.modo = kModoBozzaCorso;
    r.corso = k;
    ViewStam dlg(c, r, padre);
    esegui(dlg);
    dlg.mostraPdf(padre);
}

} // namespace quirdal
