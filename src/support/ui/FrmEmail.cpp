#include "support/ui/FrmEmail.h"

#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "config/Impostazioni.h"
#include "transmission/CanaleRegione.h"
#include "support/Backup.h"
#include "transmission/Trasferimento.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quirdal {

namespace {
template <typename T>
T *nominato(T *w, const char *nome)
{
    w->setObjectName(QString::fromLatin1(nome));
    return w;
}

// Set while a request runs, cleared however it ends.
struct InCorso {
    bool &b;
    InCorso(bool &x, bool &annulla) : b(x)
    {
        b = true;
        annulla = false;
    }
    ~InCorso() { b = false; }
};
} // namespace

frmEmail::frmEmail(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmEmail"));
    setWindowTitle(QStringLiteral("Contatta l'assistenza"));
    auto *lay = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    txtMittente = nominato(new QLineEdit, "txtMittente");
    txtMittente->setPlaceholderText(QStringLiteral("Indirizzo e-mail..."));
    txtMittente->setMaxLength(80);
    txtOggetto = nominato(new QLineEdit(QStringLiteral("Richiesta di assistenza ") + kNomeBreve), "txtOggetto");
    txtOggetto->setMaxLength(100);
    txtNumTel = nominato(new QLineEdit, "txtNumTel");
    txtNumTel->setMaxLength(30);
    TxtRif = nominato(new QLineEdit, "TxtRif");
    TxtRif->setMaxLength(60);
    TxtProb = nominato(new QPlainTextEdit, "TxtProb");
    TxtMessaggioFX = nominato(new QPlainTextEdit, "TxtMessaggioFX");
    TxtMessaggioFX->setReadOnly(true);
    TxtMessaggioFX->setMaximumHeight(150);
    int riga = 0;
    auto aggiungi = [&](QLabel *etichetta, QWidget *campo) {
        etichetta->setBuddy(campo);
        g->addWidget(etichetta, riga, 0, Qt::AlignTop);
        g->addWidget(campo, riga++, 1);
    };
    aggiungi(new QLabel(QStringLiteral("Mittente:")), txtMittente);
    aggiungi(new QLabel(QStringLiteral("Oggetto:")), txtOggetto);
    aggiungi(nominato(new QLabel(QStringLiteral("Telefono:")), "LblNumTel"), txtNumTel);
    aggiungi(new QLabel(QStringLiteral("Persona di riferimento:")), TxtRif);
    aggiungi(new QLabel(QStringLiteral("Problema riscontrato:")), TxtProb);
    aggiungi(new QLabel(QStringLiteral("Dati del sistema:")), TxtMessaggioFX);
    lay->addLayout(g);
    lblArresto = nominato(new QLabel, "lblArresto");
    lblArresto->setWordWrap(true);
    lblArresto->hide();
    lay->addWidget(lblArresto);
    auto *p = new QHBoxLayout;
    cmdInvia = pulsante("cmdInvia", QStringLiteral("Invia la richiesta"));
    cmdInvia->setDefault(true);
    cmdInviaDB = pulsante("cmdInviaDB", QStringLiteral("Invia con la base dati allegata..."));
    cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    p->addStretch();
    p->addWidget(cmdInvia);
    p->addWidget(cmdInviaDB);
    p->addWidget(cmdEsci);
    lay->addLayout(p);
    alClic(cmdInvia, m_c, [this] { invia(); });
    alClic(cmdInviaDB, m_c, [this] { inviaConBaseDati(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    resize(620, 500);
}

void frmEmail::carica()
{
    try {
        txtMittente->setText(m_c.utente.leggi(chiaviFP::EMail));
        m_dati = raccogliDatiSistema();
        TxtMessaggioFX->setPlainText(testoDatiSistema(m_c.sessione, m_dati));
        const std::optional<RapportoArresto> rapporto = rapportoDaOffrire(m_c);
        lblArresto->setText(rapporto ? notaRapportoArresto(*rapporto) : QString());
        lblArresto->setVisible(rapporto.has_value());
    } catch (const Errore &e) {
        m_c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + CRLF + e.descrizione(),
                               QStringLiteral("Errore durante l'invio della posta"), Icona::Critico);
    }
}

RichiestaAssistenza frmEmail::richiesta() const
{
    return {txtMittente->text(), txtOggetto->text(), txtNumTel->text(), TxtRif->text(), TxtProb->toPlainText()};
}

void frmEmail::vaiAlCampo(const QString &campo)
{
    if (auto *w = findChild<QWidget *>(campo))
        w->setFocus();
}

void frmEmail::invia()
{
    const OperazioneLunga lunga({cmdInvia, cmdInviaDB});
    if (lunga.rifiutata())
        return;
    Trasferimento t(m_c.cartellaProgramma, m_c.utente);
    t.setAnnullamento([this] { return m_annulla; });
    CanaleRegione canale(m_c, t);
    RisultatoAssistenza r;
    {
        const InCorso inCorso(m_inCorso, m_annulla);
        r = inviaRichiesta(m_c, canale, m_dati, richiesta());
    }
    switch (r.esito) {
    case EsitoAssistenza::NonValida:
        vaiAlCampo(r.campo);
        break;
    case EsitoAssistenza::PaginaErrore: {
        Browser b(m_c, this);
        if (r.paginaErrore.isEmpty())
            b.mostraRisposta(r.risposta);
        else
            b.mostraFile(r.paginaErrore);
        esegui(b);
        break;
    }
    case EsitoAssistenza::Inviata:
        accept();
        break;
    default:
        break;
    }
}

void frmEmail::inviaConBaseDati()
{
    const RichiestaAssistenza r = richiesta();
    if (const auto k = controllaRichiesta(r)) {
        m_c.dialoghi.messaggio(k->messaggio, k->titolo, Icona::Critico);
        vaiAlCampo(k->campo);
        return;
    }
    // Asked here, once for this request, however many times LogIn is pressed.
    const std::optional<RapportoArresto> rapporto = offriRapportoArresto(m_c);
    lblArresto->setVisible(rapportoDaOffrire(m_c).has_value());
    Browser b(m_c, this);
    b.impostaRichiesta(m_dati, r, rapporto);
    esegui(b);
    if (b.inviata())
        accept();
}

void frmEmail::esci()
{
    if (m_inCorso)
        m_annulla = true; // stops the request under way
    else
        reject();
}

Browser::Browser(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Browser"));
    setWindowTitle(QStringLiteral("Contatta l'assistenza"));
    auto *lay = new QVBoxLayout(this);
    lblStato = nominato(new QLabel(QStringLiteral("Verifica che la connessione a internet sia attiva e premi il pulsante LogIn")),
                        "lblStato");
    lblStato->setWordWrap(true);
    lay->addWidget(lblStato);
    WebBrowser = nominato(new QTextBrowser, "WebBrowser");
    // Pages of the server are shown, never followed: no link leaves this screen.
    WebBrowser->setOpenLinks(false);
    WebBrowser->setOpenExternalLinks(false);
    lay->addWidget(WebBrowser, 1);
    auto *p = new QHBoxLayout;
    cmdLogIn = pulsante("cmdLogIn", QStringLiteral("LogIn"));
    cmdLogIn->setDefault(true);
    cmdEsci = pulsante("cmdEsci", QStringLiteral("Chiudi"));
    p->addStretch();
    p->addWidget(cmdLogIn);
    p->addWidget(cmdEsci);
    lay->addLayout(p);
    alClic(cmdLogIn, m_c, [this] { logIn(); });
    alClic(cmdEsci, m_c, [this] {
        if (m_inCorso)
            m_annulla = true;
        else
            reject();
    });
    resize(720, 520);
}

void Browser::mostraFile(const QString &file)
{
    cmdLogIn->hide();
    lblStato->setText(QStringLiteral("Informazioni sull'errore restituite dal server:"));
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        WebBrowser->setHtml(daWindows1252(f.readAll()));
}

void Browser::mostraRisposta(const QString &risposta)
{
    if (risposta.contains(QLatin1String("<H")) || risposta.contains(QLatin1String("<h")))
        WebBrowser->setHtml(risposta);
    else
        WebBrowser->setPlainText(risposta);
}

void Browser::impostaRichiesta(const DatiSistema &d, const RichiestaAssistenza &r, const std::optional<RapportoArresto> &rapporto)
{
    m_dati = d;
    m_richiesta = r;
    m_rapporto = rapporto;
    cmdLogIn->show();
}

void Browser::logIn()
{
    const OperazioneLunga lunga({cmdLogIn});
    if (lunga.rifiutata())
        return;
    Trasferimento t(m_c.cartellaProgramma, m_c.utente);
    t.setAnnullamento([this] { return m_annulla; });
    CanaleRegione canale(m_c, t);
    RisultatoAssistenza r;
    {
        const InCorso inCorso(m_inCorso, m_annulla);
        r = quirdal::inviaConBaseDati(
            m_c, canale, m_dati, m_richiesta,
            [this](const QString &testo) {
                lblStato->setText(testo);
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            },
            m_rapporto);
    }
    if (!r.risposta.isEmpty())
        mostraRisposta(r.risposta);
    m_inviata = r.esito == EsitoAssistenza::Inviata;
    if (m_inviata)
        cmdLogIn->hide(); // sent: a second press would send it again
    else
        lblStato->setText(QStringLiteral("Verifica che la connessione a internet sia attiva e premi il pulsante LogIn"));
}

void apriAssistenza(Contesto &c, QWidget *padre)
{
    c.dialoghi.messaggio(QStringLiteral("E' opportuno indicare il numero di telefono, la persona di riferimento e il tipo di "
                                        "problema riscontrato")
                             + CRLF + QStringLiteral("Verrà ora precompilata una mail da inviare all'assitenza V.T.Z."),
                         kTitoloAssistenza, Icona::Informazione);
    frmEmail dlg(c, padre);
    dlg.carica();
    esegui(dlg);
}

} // namespace quirdal
