#include "courses/ui/Handi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "courses/Elenchi.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/IntestazioneSede.h"
#include "db/CorsiDB.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quirdal {

namespace {

const QString kTitolo = QStringLiteral("Schede Handicap");
const QString kNuova = QStringLiteral(" ---- ");

} // namespace

frmHandi::frmHandi(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmHandi"));
    setWindowTitle(QStringLiteral("Sezione 4 - Schede Handicap"));
    const Sessione &s = m_c.sessione;
    auto *lay = new QVBoxLayout(this);
    auto *testa = new IntestazioneSede(s);
    lblHandi = testa->codice(QStringLiteral("Scheda:"), "lblHandi", kNuova);
    lay->addLayout(testa);

    auto *f = new QFormLayout;
    cmbCorso = tendina(QStringLiteral("cmbCorso"), 40);
    cmbCorso->setFont(fontFisso());
    f->addRow(QStringLiteral("Corso a cui si riferisce l'intervento"), cmbCorso);
    txtNumPersone = new QLineEdit;
    txtNumPersone->setObjectName(QStringLiteral("txtNumPersone"));
    txtNumPersone->setMaxLength(4);
    txtNumPersone->setFixedWidth(70);
    (new FiltroNumerico(m_c.dialoghi, this))->applica(txtNumPersone);
    f->addRow(QStringLiteral("Numero di persone portatrici di handicap da integrare"), txtNumPersone);
    for (int i = 0; i < 4; ++i) {
        cmbDest[i] = tendina(campoElemento("cmbDest", i), 40);
        f->addRow(QStringLiteral("Destinatario %1").arg(i + 1), cmbDest[i]);
    }
    lay->addLayout(f);
    lay->addStretch();

    auto *h = new QHBoxLayout;
    cmdNuova = pulsante("cmdNuova", QStringLiteral("Nuova Scheda"));
    CmdVai = pulsante("CmdVai", QStringLiteral("Elenco Schede"));
    cmdSalva = pulsante("cmdSalva", QStringLiteral("Salva Modifiche"));
    cmdElimina = pulsante("cmdElimina", QStringLiteral("Cancella Scheda"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    for (QPushButton *b : {cmdNuova, CmdVai, cmdSalva, cmdElimina})
        h->addWidget(b);
    h->addStretch();
    h->addWidget(cmdEsci);
    lay->addLayout(h);
    alClic(cmdNuova, m_c, [this] {
        if (lascia())
            nuova();
    });
    alClic(CmdVai, m_c, [this] { vai(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdElimina, m_c, [this] { elimina(); });
    connect(cmdEsci, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 330);
}

void frmHandi::carica()
{
    const QStringList destinatari = QStringList{QString()} + vociDestinatariHandicap(m_c.db);
    for (QComboBox *d : cmbDest) {
        d->clear();
        d->addItems(destinatari);
    }
    m_solaLettura = m_c.sessione.gDomandaStampata != 0;
    if (m_solaLettura)
        m_c.dialoghi.messaggio(QStringLiteral("Domanda già inviata alla Provincia.") + CRLF
                                   + QStringLiteral("Non sarà possibile modificare i dati delle schede handicap."),
                               kTitolo, Icona::Esclamazione);
    for (QWidget *w : std::initializer_list<QWidget *>{cmbCorso, txtNumPersone, cmbDest[0], cmbDest[1], cmbDest[2], cmbDest[3]})
        w->setEnabled(!m_solaLettura);
    const QStringList schede = vociEleHandi(m_c.db, m_c.sessione);
    std::optional<SchedaHandicap> prima;
    if (!schede.isEmpty())
        prima = caricaSchedaHandicap(m_c.db, m_c.sessione, schede.first().left(4));
    if (prima)
        mostra(*prima);
    else
        nuova();
}

SchedaHandicap frmHandi::datiSchermo() const
{
    SchedaHandicap h;
    h.handi = m_caricata.handi;
    if (cmbCorso->currentIndex() >= 0)
        h.corso = leggiVoceCorso(cmbCorso->currentText(), m_c.sessione.numeroSede());
    h.numPersone = txtNumPersone->text().trimmed().toLongLong();
    for (int i = 0; i < 4; ++i)
        h.codDest[i] = codiceVoce(cmbDest[i]->currentText());
    return h;
}

void frmHandi::mostra(const SchedaHandicap &h)
{
    m_caricata = h;
    m_corsi = vociCorsiConScheda(m_c.db, m_c.sessione);
    // A sheet whose course no longer admits one still shows its course.
    if (!h.corso.corso.isEmpty()) {
        bool presente = false;
        for (const QString &v : m_corsi)
            presente |= leggiVoceCorso(v, h.corso.sede) == h.corso;
        if (!presente)
            for (const QString &v : vociEleCorsi(m_c.db, m_c.sessione))
                if (leggiVoceCorso(v, h.corso.sede) == h.corso)
                    m_corsi << v;
    }
    cmbCorso->clear();
    cmbCorso->addItems(m_corsi);
    cmbCorso->setCurrentIndex(-1);
    for (int i = 0; i < m_corsi.size(); ++i)
        if (!h.corso.corso.isEmpty() && leggiVoceCorso(m_corsi[i], h.corso.sede) == h.corso)
            cmbCorso->setCurrentIndex(i);
    txtNumPersone->setText(h.numPersone > 0 ? QString::number(h.numPersone) : QString());
    for (int i = 0; i < 4; ++i) {
        QStringList voci;
        for (int j = 0; j < cmbDest[i]->count(); ++j)
            voci << cmbDest[i]->itemText(j);
        cmbDest[i]->setCurrentIndex(std::max(0, static_cast<int>(voci.indexOf(voceDelCodice(voci, h.codDest[i])))));
    }
    lblHandi->setText(h.handi.isEmpty() ? kNuova : h.handi);
    // What the user sees is what a change is measured against.
    m_caricata = datiSchermo();
    aggiornaPulsanti();
}

void frmHandi::nuova()
{
    mostra(SchedaHandicap{});
    if (!m_solaLettura)
        cmbCorso->setFocus();
}

bool frmHandi::invariato() const { return datiSchermo() == m_caricata; }

void frmHandi::aggiornaPulsanti()
{
    const bool nuovaScheda = m_caricata.handi.isEmpty();
    cmdNuova->setEnabled(!m_solaLettura && !nuovaScheda);
    cmdSalva->setEnabled(!m_solaLettura);
    cmdElimina->setEnabled(!m_solaLettura && !nuovaScheda);
    CmdVai->setEnabled(!vociEleHandi(m_c.db, m_c.sessione).isEmpty());
}

bool frmHandi::lascia()
{
    return chiediSeSalvare(m_c.dialoghi, !m_solaLettura && !invariato(),
                           QStringLiteral("Sono stati modificati uno o più dati della scheda handicap"), kTitolo,
                           [this] { return salva(); })
        != Uscita::Resta;
}

bool frmHandi::salva()
{
    const SchedaHandicap h = datiSchermo();
    const EsitoVerifica e = verificaSchedaHandicap(m_c.db, m_c.sessione, h);
    if (!e.valido()) {
        m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
        if (auto *campo = findChild<QWidget *>(e.campo))
            portaInVista(campo);
        return false;
    }
    const QString numero = scriviSchedaHandicap(m_c.db, m_c.sessione, h);
    if (const std::optional<SchedaHandicap> scritta = caricaSchedaHandicap(m_c.db, m_c.sessione, numero))
        mostra(*scritta);
    if (h.handi.isEmpty())
        m_c.dialoghi.messaggio(QStringLiteral("Scheda handicap ") + numero + QStringLiteral(" inserita"), kTitolo,
                               Icona::Informazione);
    return true;
}

void frmHandi::vai()
{
    if (!lascia())
        return;
    EleHandi elenco(m_c, m_caricata.handi, this);
    elenco.carica();
    esegui(elenco);
    if (!elenco.scelta())
        return;
    if (const std::optional<SchedaHandicap> h = caricaSchedaHandicap(m_c.db, m_c.sessione, *elenco.scelta()))
        mostra(*h);
}

void frmHandi::elimina()
{
    if (m_caricata.handi.isEmpty())
        return;
    if (m_c.dialoghi.messaggio(QStringLiteral("Confermi cancellazione scheda handicap?"), kTitolo, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    cancellaSchedaHandicap(m_c.db, m_c.sessione, m_caricata.handi);
    const QStringList schede = vociEleHandi(m_c.db, m_c.sessione);
    std::optional<SchedaHandicap> prossima;
    if (!schede.isEmpty())
        prossima = caricaSchedaHandicap(m_c.db, m_c.sessione, schede.first().left(4));
    if (prossima)
        mostra(*prossima);
    else
        nuova();
}

void frmHandi::reject()
{
    protetto(m_c, [this] {
        if (lascia())
            QDialog::reject();
    });
}

EleHandi::EleHandi(Contesto &c, const QString &corrente, QWidget *padre) : QDialog(padre), m_c(c), m_corrente(corrente)
{
    setObjectName(QStringLiteral("EleHandi"));
    setWindowTitle(QStringLiteral("Elenco schede handicap"));
    auto *v = new QVBoxLayout(this);
    auto *Label1 = new QLabel(QStringLiteral("Schede handicap della sede interessata"));
    Label1->setObjectName(QStringLiteral("Label1"));
    v->addWidget(Label1);
    auto *lst = new QListWidget;
    lst->setObjectName(QStringLiteral("lstAllHandi"));
    lst->setFont(fontFisso());
    v->addWidget(lst);
    auto *h = new QHBoxLayout;
    h->addStretch();
    auto *cmdSele2 = pulsante("cmdSele2", QStringLiteral("Conferma"));
    auto *cmdEsci2 = pulsante("cmdEsci2", QStringLiteral("Esci"));
    h->addWidget(cmdSele2);
    h->addWidget(cmdEsci2);
    v->addLayout(h);
    auto scegli = [this, lst] {
        if (!lst->currentItem())
            return;
        m_scelta = lst->currentItem()->text().left(4);
        accept();
    };
    alClic(cmdSele2, m_c, scegli);
    alSegnale(lst, &QListWidget::itemActivated, m_c, scegli);
    connect(cmdEsci2, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 380);
}

void EleHandi::carica()
{
    auto *lst = findChild<QListWidget *>(QStringLiteral("lstAllHandi"));
    lst->clear();
    const QStringList voci = vociEleHandi(m_c.db, m_c.sessione);
    lst->addItems(voci);
    for (int i = 0; i < voci.size(); ++i)
        if (voci[i].left(4) == m_corrente)
            lst->setCurrentRow(i);
}

} // namespace quirdal
