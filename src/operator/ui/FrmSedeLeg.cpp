#include "operator/ui/FrmSedeLeg.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "config/Installazione.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

namespace {
QLabel *etichetta(const char *nome)
{
    auto *l = new QLabel;
    l->setObjectName(QString::fromLatin1(nome));
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(60);
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}
} // namespace

FrmSedeLeg::FrmSedeLeg(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("FrmSedeLeg"));
    setWindowTitle(kTitoloSedeLegale);
    auto *lay = new QVBoxLayout(this);
    auto *fOper = new QGroupBox(QStringLiteral("Operatore selezionato"));
    auto *ho = new QHBoxLayout(fOper);
    for (const auto &[nome, testo] :
         {std::pair{"lblGrOpe", &m_c.sessione.gGrupOpe}, std::pair{"lblOpe", &m_c.sessione.gOperatore},
          std::pair{"lblDenOpe", &m_c.sessione.gDenomOper}}) {
        auto *l = etichetta(nome);
        l->setText(*testo);
        ho->addWidget(l, QByteArray(nome) == "lblDenOpe" ? 1 : 0);
    }
    lay->addWidget(fOper);

    auto *f = new QGroupBox(QStringLiteral("2.1 Dati anagrafici riferiti alla sede interessata"));
    auto *g = new QGridLayout(f);
    g->setColumnStretch(1, 1);
    auto campo = [](const char *nome, int lunghezza, bool modificabile) {
        auto *e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(nome));
        e->setMaxLength(lunghezza);
        if (!modificabile) {
            // Shown only: disabled on a grey background.
            e->setEnabled(false);
            e->setStyleSheet(QStringLiteral("QLineEdit:disabled { background: #d8d8d8; color: black; }"));
        }
        return e;
    };
    int r = 0;
    auto riga = [&](const QString &testo, QWidget *w, Qt::Alignment a = {}) {
        auto *l = new QLabel(testo);
        l->setWordWrap(true);
        l->setFixedWidth(190);
        g->addWidget(l, r, 0);
        g->addWidget(w, r++, 1, a);
    };
    riga(QStringLiteral("Progressivo  anagrafico regionale della sede interessata"), lblComponente = etichetta("lblComponente"),
         Qt::AlignLeft);
    riga(QStringLiteral("Denominazione"), txtDenominazione = campo("txtDenominazione", 100, false));
    auto *comune = new QWidget;
    auto *hc = new QHBoxLayout(comune);
    hc->setContentsMargins(0, 0, 0, 0);
    txtComDes = campo("txtComDes", 30, false);
    lblCodComune = etichetta("lblCodComune");
    lblProv = etichetta("lblProv");
    hc->addWidget(txtComDes, 1);
    hc->addWidget(new QLabel(QStringLiteral("codice istat")));
    hc->addWidget(lblCodComune);
    hc->addWidget(new QLabel(QStringLiteral("Prov.")));
    hc->addWidget(lblProv);
    riga(QStringLiteral("Comune"), comune);
    riga(QStringLiteral("Indirizzo"), txtIndirizzo = campo("txtIndirizzo", 50, false));
    txtCap = campo("txtCap", 5, true);
    txtCap->setFixedWidth(80);
    riga(QStringLiteral("C.A.P."), txtCap, Qt::AlignLeft);
    riga(QStringLiteral("Telefono"), txtTel = campo("txtTel", 13, true));
    riga(QStringLiteral("Fax"), txtFax = campo("txtFax", 15, true));
    riga(QStringLiteral("Persone di riferimento"), txtRiferimento = campo("txtRiferimento", 30, true));
    riga(QStringLiteral("Indirizzo di posta elettronica"), txtPostaElettronica = campo("txtPostaElettronica", 80, true));
    lay->addWidget(f);

    auto *basso = new QHBoxLayout;
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    cmdSalva = pulsante("cmdSalva", QStringLiteral("Salva Modifiche"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    basso->addWidget(cmdAiuto);
    basso->addStretch();
    basso->addWidget(cmdSalva);
    basso->addWidget(cmdEsci);
    for (QPushButton *b : {cmdAiuto, cmdSalva, cmdEsci})
        b->setAutoDefault(false);
    lay->addLayout(basso);

    (new FiltroNumerico(m_c.dialoghi, this))->applica(txtCap);
    auto *telefoni = new FiltroNumerico(m_c.dialoghi, this, FiltroNumerico::Tipo::Telefono);
    for (QLineEdit *e : {txtTel, txtFax})
        telefoni->applica(e);
    auto *maiuscole = new FiltroMaiuscole(this);
    for (QLineEdit *e : {txtRiferimento, txtDenominazione, txtComDes, txtIndirizzo})
        maiuscole->applica(e);
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 12000, this);
    });
    resize(680, sizeHint().height());
}

bool FrmSedeLeg::carica()
{
    const std::optional<DatiSedeLegale> d = caricaSedeLegale(m_c);
    if (!d) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessuna Sede Legale per l'Operatore selezionato.") + CRLF
                                   + QStringLiteral("Impossibile gestire la proposta corsi"),
                               kTitoloSedeLegale, Icona::Critico);
        return false;
    }
    m_caricati = *d;
    mostra(*d);
    m_solaLettura = m_c.sessione.gOperStampato != 0;
    if (m_solaLettura) {
        m_c.dialoghi.messaggio(QStringLiteral("Domande già inviate alla Provincia") + CRLF
                                   + QStringLiteral("Non sarà possibile modificare i dati della Sede Legale"),
                               QStringLiteral("Anagrafica Sede Legale"), Icona::Esclamazione);
        for (QLineEdit *e : {txtCap, txtTel, txtFax, txtRiferimento, txtPostaElettronica})
            e->setReadOnly(true);
        cmdSalva->setEnabled(false);
    }
    return true;
}

void FrmSedeLeg::mostra(const DatiSedeLegale &d)
{
    lblComponente->setText(d.componente);
    txtDenominazione->setText(d.denominazione);
    lblCodComune->setText(d.codComune);
    txtComDes->setText(d.comune);
    lblProv->setText(d.sigProv);
    txtIndirizzo->setText(d.indirizzo);
    txtCap->setText(d.cap);
    txtTel->setText(d.tel);
    txtFax->setText(d.fax);
    txtRiferimento->setText(d.riferimento);
    txtPostaElettronica->setText(d.email);
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->setCursorPosition(0);
}

DatiSedeLegale FrmSedeLeg::datiSchermo() const
{
    DatiSedeLegale d = m_caricati;
    d.cap = txtCap->text();
    d.tel = txtTel->text();
    d.fax = txtFax->text();
    d.riferimento = txtRiferimento->text();
    d.email = txtPostaElettronica->text().trimmed();
    return d;
}

bool FrmSedeLeg::salva()
{
    if (m_solaLettura)
        return false;
    const DatiSedeLegale d = datiSchermo();
    const EsitoVerifica e = verificaSedeLegale(m_c, d);
    if (!e.valido()) {
        m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
        if (QWidget *w = findChild<QWidget *>(e.campo))
            w->setFocus();
        return false;
    }
    return scrivi(d);
}

// The write with its own handling of another workstation's doings: a row deleted
// meanwhile can be put back, any other failure retried or given up.
bool FrmSedeLeg::scrivi(const DatiSedeLegale &d)
{
    for (;;) {
        try {
            scriviSedeLegale(m_c, d);
            m_caricati = d;
            return true;
        } catch (const Errore &e) {
            if (e.numero() == codici::RigaCancellata) {
                if (m_c.dialoghi.messaggio(QStringLiteral("Il record che si sta cercando di aggiornare è stato cancellato da "
                                                          "un altro operatore.")
                                               + CRLF + QStringLiteral("Reinserire il record?"),
                                           kTitoloAccessoConcorrente, Icona::Esclamazione, Pulsanti::SiNo)
                    == Risposta::Si) {
                    reinserisciSedeLegale(m_c, d);
                    m_caricati = d;
                    m_c.dialoghi.messaggio(QStringLiteral("Sede legale reinserita."), kTitoloAccessoConcorrente,
                                           Icona::Informazione);
                    return true;
                }
                if (!carica())
                    QDialog::reject();
                return false;
            }
            if (m_c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + CRLF + e.descrizione() + CRLF
                                           + CRLF
                                           + QStringLiteral("Si è verificato un errore inaspettato durante l'aggiornamento "
                                                            "del record.")
                                           + CRLF
                                           + QStringLiteral("Scegliere riprova per cercare di ripetere l'operazione, "
                                                            "altrimenti annullare."),
                                       kTitoloAccessoConcorrente, Icona::Esclamazione, Pulsanti::RiprovaAnnulla)
                == Risposta::Riprova)
                continue;
            QDialog::reject();
            return false;
        }
    }
}

void FrmSedeLeg::esci()
{
    esciDallaScheda(*this, m_c.dialoghi, !m_solaLettura && sedeLegaleCambiata(m_caricati, datiSchermo()),
                    QStringLiteral("Sono stati modificati uno o più dati della SEDE LEGALE"),
                    QStringLiteral("Anagrafica Sede legale"), [this] { return salva(); });
}

void FrmSedeLeg::reject()
{
    protetto(m_c, [this] { esci(); });
}

} // namespace quirdal
