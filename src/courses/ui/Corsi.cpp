#include "courses/ui/Corsi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "common/ui/UscitaScheda.h"
#include "config/Installazione.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/IntestazioneSede.h"
#include "db/CorsiDB.h"
#include "operator/Scelte.h"
#include "operator/ui/Scelte.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quirdal {

namespace {

const QString kTitolo = QStringLiteral("Corsi proposti");
const QString kNonValido = QStringLiteral("  (codice non più valido)");
constexpr int kRigheSez34 = 15;

QLineEdit *campo(const QString &nome, int lunghezza = 0, int larghezza = 0)
{
    auto *e = new QLineEdit;
    e->setObjectName(nome);
    if (lunghezza > 0)
        e->setMaxLength(lunghezza);
    if (larghezza > 0)
        e->setFixedWidth(larghezza);
    return e;
}

QLabel *didascalia(const QString &t)
{
    auto *l = new QLabel(t);
    l->setWordWrap(true);
    l->setFixedWidth(190);
    return l;
}

QScrollArea *scorrevole(QWidget *w)
{
    auto *a = new QScrollArea;
    a->setWidget(w);
    a->setWidgetResizable(true);
    a->setFrameShape(QFrame::NoFrame);
    return a;
}

void riempi(QComboBox *c, const QStringList &voci, bool vuotaPrima)
{
    const QSignalBlocker b(c);
    c->clear();
    if (vuotaPrima)
        c->addItem(QString());
    c->addItems(voci);
    c->setCurrentIndex(-1);
}

// Selects the entry of the code; a stored code the list no longer has is shown, marked,
// rather than changed behind the user's back. True when the code fits the list.
bool seleziona(QComboBox *c, const QString &codice)
{
    const QSignalBlocker b(c);
    if (codice.trimmed().isEmpty()) {
        c->setCurrentIndex(c->count() > 0 && c->itemText(0).isEmpty() ? 0 : -1);
        return true;
    }
    for (int i = 0; i < c->count(); ++i)
        if (codiceVoce(c->itemText(i)) == codice.trimmed()) {
            c->setCurrentIndex(i);
            return true;
        }
    c->addItem(codice.trimmed() + kNonValido, QStringLiteral("non valido"));
    c->setCurrentIndex(c->count() - 1);
    return false;
}

QString codice(const QComboBox *c) { return codiceVoce(c->currentText()); }

// The description part of an entry ("code  description").
QString descrizione(const QComboBox *c)
{
    const QString t = c->currentText();
    const qsizetype i = t.indexOf(QStringLiteral("  "));
    return i < 0 ? QString() : t.mid(i + 2).trimmed();
}

bool nonValida(const QComboBox *c) { return c->currentData().toString() == QLatin1String("non valido"); }

qlonglong intero(const QLineEdit *e) { return e->text().trimmed().toLongLong(); }

// An amount as typed: the Italian form, or a plain number with "." as the decimal point;
// anything else is nothing (the field then shows 0,00).
Importo importoDigitato(const QString &t)
{
    if (const auto i = Importo::daTesto(t))
        return *i;
    const QString s = t.trimmed();
    if (s.count(QLatin1Char('.')) == 1 && !s.contains(QLatin1Char(','))) {
        if (const auto i = Importo::daTesto(QString(s).replace(QLatin1Char('.'), QLatin1Char(','))))
            return *i;
    }
    // The key filter turns a typed "." into ",", so "1.234,50" arrives as "1,234,50" and
    // "1.234" as "1,234". An amount has two decimals at most: only a last comma followed by
    // one or two digits is the decimal one, the others mark the thousands.
    if (!s.contains(QLatin1Char('.')) && s.contains(QLatin1Char(',')) && !s.startsWith(QLatin1Char('0'))) {
        const qsizetype ultima = s.lastIndexOf(QLatin1Char(','));
        const qsizetype fine = s.size() - ultima - 1 <= 2 ? ultima : s.size();
        QString g = s;
        for (qsizetype i = 0; i < fine; ++i)
            if (g[i] == QLatin1Char(','))
                g[i] = QLatin1Char('.');
        if (const auto i = Importo::daTesto(g))
            return *i;
    }
    return {};
}

// An amount field takes 14 characters as typed; the grouped form it shows has more (the
// thousands' dots, the decimals) and is never cut to fit: cut, it would read back as
// another amount.
void mostraImporto(QLineEdit *e, const QString &testo)
{
    e->setMaxLength(std::max<int>(14, int(testo.size())));
    e->setText(testo);
}

} // namespace

struct Corsi::Anno {
    QWidget *pagina = nullptr;
    QLineEdit *a1, *oreA1, *allA1, *a2, *oreA2, *allA2, *p16, *ore16, *all16, *p17_3, *all17_3, *piu, *meno, *ente;
    std::array<QLineEdit *, 5> perc, dett;
    QLabel *totA1, *totA2, *tot16, *tot17_3, *totAnno, *tot;
    QList<QWidget *> lineaA2, linea16, lineaQuote, linea17_3;
};

Corsi::Corsi(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Corsi"));
    setWindowTitle(QStringLiteral("Sezione 3 - Corsi Proposti"));
    const Sessione &s = m_c.sessione;
    auto *lay = new QVBoxLayout(this);
    auto *testa = new IntestazioneSede(s);
    lblCorso = testa->codice(QStringLiteral("Corso:"), "lblCorso", QStringLiteral(" ---- "));
    lblAccorp = testa->etichetta("lblAccorp", QStringLiteral(" -- "));
    lblAccorp->setFont(lblCorso->font());
    lay->addLayout(testa);

    m_sezioni = new QWidget;
    auto *ls = new QVBoxLayout(m_sezioni);
    ls->setContentsMargins(0, 0, 0, 0);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    ls->addWidget(SSTab1);
    lay->addWidget(m_sezioni, 1);
    auto sezione = [&](const QString &titolo) {
        auto *t = new QTabWidget;
        SSTab1->addTab(t, titolo);
        return t;
    };
    costruisci31(sezione(QStringLiteral("Sez.3.1")));
    costruisci32(sezione(QStringLiteral("Sez.3.2")));
    costruisci33(sezione(QStringLiteral("Sez.3.3")));
    costruisci34(sezione(QStringLiteral("Sez.3.4")));

    ProgrBarSalva = new QProgressBar;
    ProgrBarSalva->setObjectName(QStringLiteral("ProgrBarSalva"));
    ProgrBarSalva->setMaximumHeight(8);
    ProgrBarSalva->setTextVisible(false);
    ProgrBarSalva->hide();
    lay->addWidget(ProgrBarSalva);

    auto *basso = new QGridLayout;
    cmdFirst = pulsante("cmdFirst", QStringLiteral("Primo Corso"));
    cmdPrevious = pulsante("cmdPrevious", QStringLiteral("Corso Precedente"));
    cmdNext = pulsante("cmdNext", QStringLiteral("Corso Successivo"));
    cmdLast = pulsante("cmdLast", QStringLiteral("Ultimo Corso"));
    CmdVai = pulsante("CmdVai", QStringLiteral("Vai al Corso"));
    cmdInserisci = pulsante("cmdInserisci", QStringLiteral("Inserisci Corso"));
    cmdSalva = pulsante("cmdSalva", QStringLiteral("Salva Modifiche"));
    cmdDuplica = pulsante("cmdDuplica", QStringLiteral("Duplica Corso"));
    cmdElimina = pulsante("cmdElimina", QStringLiteral("Cancella Corso"));
    cmdStampa = pulsante("cmdStampa", QStringLiteral("Stampa Corso"));
    auto *cmdVerifica = pulsante("cmdVerificaTutti", QStringLiteral("Verifica tutti i corsi"));
    auto *cmdAccorpati = pulsante("cmdRiepAccorp", QStringLiteral("Riepilogo accorpati"));
    auto *cmdAiuto = pulsante("cmdAiuto", QStringLiteral("Aiuto"));
    auto *cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    int col = 0;
    for (QPushButton *b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, CmdVai, cmdVerifica, cmdAccorpati})
        basso->addWidget(b, 0, col++);
    col = 0;
    for (QPushButton *b : {cmdInserisci, cmdSalva, cmdDuplica, cmdElimina, cmdStampa, cmdAiuto, cmdEsci})
        basso->addWidget(b, 1, col++);
    lay->addLayout(basso);
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);

    alClic(cmdFirst, m_c, [this] { vai(0); });
    alClic(cmdPrevious, m_c, [this] { vai(m_indice - 1); });
    alClic(cmdNext, m_c, [this] { vai(m_indice + 1); });
    alClic(cmdLast, m_c, [this] { vai(static_cast<int>(m_corsi.size()) - 1); });
    alClic(CmdVai, m_c, [this] { vaiAlCorso(); });
    alClic(cmdInserisci, m_c, [this] { inserisci(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdDuplica, m_c, [this] { duplica(); });
    alClic(cmdElimina, m_c, [this] { elimina(); });
    alClic(cmdStampa, m_c, [this] { stampa(); });
    alClic(cmdVerifica, m_c, [this] { verificaTutti(); });
    alClic(cmdAccorpati, m_c, [this] { riepilogoAccorpati(); });
    alClic(cmdEsci, m_c, [this] { esci(); });
    alClic(cmdAiuto, m_c, [this] {
        if (fileAiuto(m_c.sessione).isEmpty())
            m_c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
        else
            mostraAiuto(m_c.sessione.gFileHelp, 14000 + SSTab1->currentIndex(), this);
    });
    collegaCascata();
    setMinimumWidth(900);
    dimensioneRicordata(this, m_c.utente);
}

void Corsi::costruisci31(QTabWidget *t)
{
    auto pagina = [&](const QString &titolo) {
        auto *w = new QWidget;
        auto *f = new QGridLayout(w);
        f->setColumnStretch(1, 1);
        t->addTab(scorrevole(w), titolo);
        return f;
    };
    auto riga = [](QGridLayout *f, const QString &testo, QWidget *w) {
        const int r = f->rowCount();
        f->addWidget(didascalia(testo), r, 0);
        f->addWidget(w, r, 1);
    };
    auto riga2 = [](QGridLayout *f, const QString &testo, QLayout *l) {
        const int r = f->rowCount();
        f->addWidget(didascalia(testo), r, 0);
        f->addLayout(l, r, 1);
    };
    QGridLayout *f = pagina(QStringLiteral("Sede e qualifica"));
    riga(f, QStringLiteral("Componente responsabile (sede occasionale)"), cmbCompoResp = tendina(QStringLiteral("cmbCompoResp")));
    riga(f, QStringLiteral("Qualifica"), cmbQuali = tendina(QStringLiteral("cmbQuali")));
    auto *hq = new QHBoxLayout;
    chkQuali = new QCheckBox(QStringLiteral("Qualifica nuova"));
    chkQuali->setObjectName(QStringLiteral("chkQuali"));
    txtQuali = campo(QStringLiteral("txtQuali"), 255);
    hq->addWidget(chkQuali);
    hq->addWidget(txtQuali, 1);
    riga2(f, QString(), hq);
    riga(f, QStringLiteral("Asse.Obiettivo specifico"), cmbAsse = tendina(QStringLiteral("cmbAsse")));
    riga(f, QStringLiteral("Attività"), cmbMisura = tendina(QStringLiteral("cmbMisura")));
    riga(f, QStringLiteral("Azione"), cmbAzione = tendina(QStringLiteral("cmbAzione")));
    f->setRowStretch(f->rowCount(), 1);

    f = pagina(QStringLiteral("Accorpamento, indirizzi, tipologia"));
    auto *ha = new QHBoxLayout;
    chkAccorp = new QCheckBox(QStringLiteral("Corso accorpato"));
    chkAccorp->setObjectName(QStringLiteral("chkAccorp"));
    lblEleAcc = new QLabel(QStringLiteral("al corso principale:"));
    lblEleAcc->setObjectName(QStringLiteral("lblEleAcc"));
    cmbAccorp = tendina(QStringLiteral("cmbAccorp"));
    ha->addWidget(chkAccorp);
    ha->addWidget(lblEleAcc);
    ha->addWidget(cmbAccorp, 1);
    riga2(f, QStringLiteral("Accorpamento"), ha);
    for (int i = 0; i < 6; ++i) {
        auto *h = new QHBoxLayout;
        cmbIndi[i] = tendina(campoElemento("cmbIndi", i));
        chkIndi[i] = new QCheckBox(QStringLiteral("Nuovo"));
        chkIndi[i]->setObjectName(campoElemento("chkIndi", i));
        txtIndi[i] = campo(campoElemento("txtIndi", i), 255);
        h->addWidget(cmbIndi[i], 2);
        h->addWidget(chkIndi[i]);
        h->addWidget(txtIndi[i], 1);
        riga2(f, QStringLiteral("Indirizzo %1").arg(i + 1), h);
    }
    riga(f, QStringLiteral("Tipologia del corso"), CmbTipologia = tendina(QStringLiteral("CmbTipologia")));
    f->setRowStretch(f->rowCount(), 1);

    f = pagina(QStringLiteral("Destinatari, scolarità, settore"));
    for (int i = 0; i < 5; ++i)
        riga(f, QStringLiteral("Destinatario %1").arg(i + 1), cmbDest[i] = tendina(campoElemento("cmbDest", i)));
    riga(f, QStringLiteral("Scolarità"), cmbScol = tendina(QStringLiteral("cmbScol")));
    riga(f, QStringLiteral("Settore"), cmbSetto = tendina(QStringLiteral("cmbSetto")));
    riga(f, QStringLiteral("Comparto"), cmbCompa = tendina(QStringLiteral("cmbCompa")));
    riga(f, QStringLiteral("Orario"), cmbOra = tendina(QStringLiteral("cmbOra")));
    riga(f, QStringLiteral("Certificazione"), cmbCert = tendina(QStringLiteral("cmbCert")));
    f->setRowStretch(f->rowCount(), 1);

    f = pagina(QStringLiteral("Durata, allievi, ore"));
    ChkATS = new QCheckBox(QStringLiteral("Associazione temporanea di scopo (ATS)"));
    ChkATS->setObjectName(QStringLiteral("ChkATS"));
    f->addWidget(ChkATS, f->rowCount(), 0, 1, 2);
    riga(f, QStringLiteral("Durata totale dell'iter (anni)"), cmbDurata = tendina(QStringLiteral("cmbDurata")));
    cmbDurata->setMinimumContentsLength(6);
    auto numero = [&](const char *nome, const QString &testo, int lunghezza) {
        auto *e = campo(QString::fromLatin1(nome), lunghezza, 90);
        riga(f, testo, e);
        return e;
    };
    txtStato = numero("txtStato", QStringLiteral("Anno dell'iter"), 1);
    txtNumAll = numero("txtNumAll", QStringLiteral("Allievi previsti"), 4);
    txtDurataAnnOre = numero("txtDurataAnnOre", QStringLiteral("Durata annuale (in ore)"), 5);
    txtTotIter = numero("txtTotIter", QStringLiteral("Totale ore dell'iter"), 5);
    txtOreStage = numero("txtOreStage", QStringLiteral("Ore di stage"), 5);
    txtOreLabEsterni = numero("txtOreLabEsterni", QStringLiteral("Ore in laboratori esterni"), 5);
    auto *hd = new QHBoxLayout;
    txtGGDataAvvio = campo(QStringLiteral("txtGGDataAvvio"), 2, 36);
    txtMMDataAvvio = campo(QStringLiteral("txtMMDataAvvio"), 2, 36);
    txtAAAADataAvvio = campo(QStringLiteral("txtAAAADataAvvio"), 4, 56);
    hd->addWidget(txtGGDataAvvio);
    hd->addWidget(new QLabel(QStringLiteral("/")));
    hd->addWidget(txtMMDataAvvio);
    hd->addWidget(new QLabel(QStringLiteral("/")));
    hd->addWidget(txtAAAADataAvvio);
    hd->addWidget(new QLabel(QStringLiteral("(gg/mm/aaaa)")));
    hd->addStretch();
    riga2(f, QStringLiteral("Data di avvio presunta"), hd);
    f->setRowStretch(f->rowCount(), 1);
    txtStato->setText(QStringLiteral("1"));
    txtStato->setReadOnly(true);
    auto *numeri = new FiltroNumerico(m_c.dialoghi, this);
    for (QLineEdit *e : {txtNumAll, txtDurataAnnOre, txtTotIter, txtOreStage, txtOreLabEsterni, txtGGDataAvvio, txtMMDataAvvio,
                         txtAAAADataAvvio})
        numeri->applica(e);
    for (QLineEdit *e : {txtGGDataAvvio, txtMMDataAvvio})
        alSegnale(e, &QLineEdit::editingFinished, m_c, [e] {
            if (e->text().size() == 1)
                e->setText(QStringLiteral("0") + e->text());
        });
}

void Corsi::costruisci32(QTabWidget *t)
{
    const char *const titoli[] = {"3.2.1 Preventivo di spesa del corso - Primo Anno",
                                  "3.2.2 Preventivo di spesa del corso - Secondo Anno",
                                  "3.2.3 Preventivo di spesa del corso - Terzo Anno"};
    const char *const totali[] = {"Totale PREVENTIVO SPESE - PRIMO ANNO", "Totale PREVENTIVO SPESE - SECONDO ANNO",
                                  "Totale PREVENTIVO SPESE - TERZO ANNO"};
    auto *numeri = new FiltroNumerico(m_c.dialoghi, this);
    auto *importi = new FiltroNumerico(m_c.dialoghi, this, FiltroNumerico::Tipo::Virgola);
    for (int y = 0; y < 3; ++y) {
        auto *a = new Anno;
        m_anni[y] = a;
        auto *w = new QWidget;
        w->setObjectName(campoAnno("frmAnno", y));
        a->pagina = w;
        auto *v = new QVBoxLayout(w);
        auto *titolo = new QLabel(QString::fromUtf8(titoli[y]));
        QFont g = titolo->font();
        g.setBold(true);
        titolo->setFont(g);
        v->addWidget(titolo);
        auto *gr = new QGridLayout;
        v->addLayout(gr);
        auto importo = [&](const char *nome) {
            auto *e = campo(campoAnno(nome, y), 14, 110);
            e->setAlignment(Qt::AlignRight);
            e->installEventFilter(this);
            importi->applica(e);
            return e;
        };
        auto conteggio = [&](const char *nome) {
            auto *e = campo(campoAnno(nome, y), 5, 70);
            e->setAlignment(Qt::AlignRight);
            numeri->applica(e);
            return e;
        };
        auto totale = [&](const char *nome) {
            auto *l = new QLabel(QStringLiteral("0,00"));
            l->setObjectName(campoAnno(nome, y));
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            l->setMinimumWidth(120);
            return l;
        };
        gr->addWidget(new QLabel(QStringLiteral("Euro")), 0, 1);
        gr->addWidget(new QLabel(QStringLiteral("x  Num.Ore")), 0, 2);
        gr->addWidget(new QLabel(QStringLiteral("x  Allievi")), 0, 3);
        auto linea = [&](int r, const QString &testo, QLineEdit *imp, QLineEdit *ore, QLineEdit *all, QLabel *tot) {
            auto *l = new QLabel(testo);
            gr->addWidget(l, r, 0);
            gr->addWidget(imp, r, 1);
            if (ore)
                gr->addWidget(ore, r, 2);
            gr->addWidget(all, r, 3);
            gr->addWidget(tot, r, 4);
            return QList<QWidget *>{l, imp, ore, all, tot};
        };
        linea(1, QStringLiteral("A1 Spese Generali"), a->a1 = importo("txtA1"), a->oreA1 = conteggio("txtNumOreA1"),
              a->allA1 = conteggio("txtNumAllA1"), a->totA1 = totale("lbla1Tot"));
        a->lineaA2 = linea(2, QStringLiteral("A2 Premio"), a->a2 = importo("txtA2"), a->oreA2 = conteggio("txtNumOreA2"),
                           a->allA2 = conteggio("txtNumAllA2"), a->totA2 = totale("lbla2Tot"));
        auto *lbl16 = new QLabel(QStringLiteral("Reddito Allievi"));
        lbl16->setObjectName(campoAnno("lbl16", y));
        gr->addWidget(lbl16, 3, 0);
        a->p16 = importo("txt16");
        a->ore16 = conteggio("txtNumOre16");
        a->all16 = conteggio("txtNumAll16");
        a->tot16 = totale("lbl16Tot");
        gr->addWidget(a->p16, 3, 1);
        gr->addWidget(a->ore16, 3, 2);
        gr->addWidget(a->all16, 3, 3);
        gr->addWidget(a->tot16, 3, 4);
        a->linea16 = {lbl16, a->p16, a->ore16, a->all16, a->tot16};
        a->linea17_3 = linea(4, QStringLiteral("17.3 Contributo Allievi (Euro x Allievi)"), a->p17_3 = importo("txt17_3"),
                             nullptr, a->all17_3 = conteggio("txtNumAll17_3"), a->tot17_3 = totale("lbl17_3Tot"));
        a->linea17_3.removeAll(nullptr);
        a->p17_3->setReadOnly(true);
        auto *lTotAnno = new QLabel(QString::fromUtf8(totali[y]));
        gr->addWidget(lTotAnno, 5, 0, 1, 4, Qt::AlignRight);
        gr->addWidget(a->totAnno = totale("lblTotAnno"), 5, 4);
        auto *lPiu = new QLabel(QStringLiteral("Quota dell'operatore da aggiungere al totale generale"));
        auto *lMeno = new QLabel(QStringLiteral("Quota dell'operatore da sottrarre al totale generale"));
        auto *lEnte = new QLabel(QStringLiteral("Ragione Sociale Ente erogatore"));
        a->piu = importo("txtParam17Piu");
        a->meno = importo("txtParam17Meno");
        a->ente = campo(campoAnno("txtEnteErogatore", y), 100);
        gr->addWidget(lPiu, 6, 0, 1, 3);
        gr->addWidget(a->piu, 6, 3);
        gr->addWidget(lMeno, 7, 0, 1, 3);
        gr->addWidget(a->meno, 7, 3);
        gr->addWidget(lEnte, 8, 0);
        gr->addWidget(a->ente, 8, 1, 1, 4);
        a->lineaQuote = {lPiu, lMeno, lEnte, a->piu, a->meno, a->ente};
        gr->addWidget(new QLabel(QStringLiteral("Totale PREVENTIVO calcolato Euro")), 9, 0, 1, 4, Qt::AlignRight);
        gr->addWidget(a->tot = totale("lblTot"), 9, 4);
        QFont gt = a->tot->font();
        gt.setBold(true);
        a->tot->setFont(gt);
        auto *dett = new QGroupBox(QStringLiteral("Dettaglio delle spese"));
        auto *gd = new QGridLayout(dett);
        const char *const voci[] = {"a) Preparazione", "b) Realizzazione", "c) Diffusione risultati",
                                    "d) Direzione e controllo", "e) Indiretti"};
        gd->addWidget(new QLabel(QStringLiteral("%")), 0, 1);
        gd->addWidget(new QLabel(QStringLiteral("Euro")), 0, 2);
        for (int i = 0; i < 5; ++i) {
            gd->addWidget(new QLabel(QString::fromLatin1(voci[i])), i + 1, 0);
            a->perc[i] = conteggio(QStringLiteral("txt%1P").arg(70 + i).toLatin1().constData());
            a->perc[i]->setMaxLength(3);
            a->dett[i] = campo(campoAnno(QStringLiteral("txt%1").arg(70 + i).toLatin1().constData(), y), 14, 110);
            a->dett[i]->setReadOnly(true);
            a->dett[i]->setAlignment(Qt::AlignRight);
            gd->addWidget(a->perc[i], i + 1, 1);
            gd->addWidget(a->dett[i], i + 1, 2);
        }
        gd->setColumnStretch(3, 1);
        v->addWidget(dett);
        v->addStretch();
        t->addTab(scorrevole(w), QStringLiteral("Anno %1").arg(y + 1));
        for (QLineEdit *e : w->findChildren<QLineEdit *>())
            if (!e->isReadOnly())
                alSegnale(e, &QLineEdit::textEdited, m_c, [this, y, e] {
                    if (m_caricando)
                        return;
                    Anno *an = m_anni[y];
                    if (e == an->allA1 && m_linee.p17_3) {
                        // The pupils' contribution follows the participants of line A1.
                        an->all17_3->setText(an->allA1->text());
                    }
                    ricalcolaAnno(y);
                });
    }
}

void Corsi::costruisci33(QTabWidget *t)
{
    auto *w = new QWidget;
    auto *f = new QGridLayout(w);
    f->setColumnStretch(1, 1);
    auto *hi = new QHBoxLayout;
    cmbCodIsti = tendina(QStringLiteral("cmbCodIsti"));
    auto *CmdCerca = pulsante("CmdCerca", QStringLiteral("Cerca Istituto"));
    hi->addWidget(cmbCodIsti, 1);
    hi->addWidget(CmdCerca);
    f->addWidget(didascalia(QStringLiteral("Istituto scolastico di riferimento")), 0, 0);
    f->addLayout(hi, 0, 1);
    txtIstitutoLibero = campo(QStringLiteral("txtIstitutoLibero"), 255);
    f->addWidget(didascalia(QStringLiteral("Istituto non in elenco")), 1, 0);
    f->addWidget(txtIstitutoLibero, 1, 1);
    chkSPINNonPres = new QCheckBox(QStringLiteral("Ricerca SPIN non presente"));
    chkSPINNonPres->setObjectName(QStringLiteral("chkSPINNonPres"));
    f->addWidget(chkSPINNonPres, 2, 0, 1, 2);
    f->addWidget(didascalia(QStringLiteral("Ambito territoriale (SPIN)")), 3, 0);
    f->addWidget(cmbAmbitoTerr = tendina(QStringLiteral("cmbAmbitoTerr")), 3, 1);
    f->addWidget(didascalia(QStringLiteral("Settore produttivo (SPIN)")), 4, 0);
    f->addWidget(cmbSettProd = tendina(QStringLiteral("cmbSettProd")), 4, 1);
    f->addWidget(didascalia(QStringLiteral("Figura professionale (SPIN)")), 5, 0);
    f->addWidget(cmbFigProf = tendina(QStringLiteral("cmbFigProf")), 5, 1);
    f->setRowStretch(6, 1);
    t->addTab(scorrevole(w), QStringLiteral("Istituto e ricerca SPIN"));
    alClic(CmdCerca, m_c, [this] {
        const auto picker = TabIsti(m_c, this);
        scegli(m_c, *picker, m_c.sessione.gIstitutoScelto);
        const QStringList &s = m_c.sessione.gIstitutoScelto;
        if (s.size() >= 2) {
            seleziona(cmbCodIsti, s[0]);
            txtIstitutoLibero->clear();
        }
    });

    auto *w2 = new QWidget;
    auto *v2 = new QVBoxLayout(w2);
    auto *im = new QGroupBox(QStringLiteral("Innovazione metodologica"));
    auto *him = new QHBoxLayout(im);
    OptIM_S = new QRadioButton(QStringLiteral("Sì"));
    OptIM_S->setObjectName(QStringLiteral("OptIM_S"));
    OptIM_N = new QRadioButton(QStringLiteral("No"));
    OptIM_N->setObjectName(QStringLiteral("OptIM_N"));
    him->addWidget(OptIM_S);
    him->addWidget(OptIM_N);
    him->addStretch();
    v2->addWidget(im);
    chkPO_1 = new QCheckBox(QStringLiteral("Il corso favorisce le pari opportunità"));
    chkPO_1->setObjectName(QStringLiteral("chkPO_1"));
    chkCO_1 = new QCheckBox(QStringLiteral("Capacità organizzativa: il corso è svolto in collaborazione con altri soggetti"));
    chkCO_1->setObjectName(QStringLiteral("chkCO_1"));
    v2->addWidget(chkPO_1);
    v2->addWidget(chkCO_1);
    v2->addWidget(new QLabel(QStringLiteral("Qualifiche socio-sanitarie: Enti Gestori con i quali viene attivato il corso")));
    v2->addWidget(txtQss = campo(QStringLiteral("txtQss"), 255));
    v2->addStretch();
    t->addTab(scorrevole(w2), QStringLiteral("Innovazione, pari opportunità"));

    // The check boxes the province's metadata describe, page after page.
    const QList<VoceSezione33> voci = vociSezione33(m_c.db, m_c.sessione.gProv);
    constexpr int kPerPagina = 14;
    for (int p = 0; p < 4; ++p) {
        auto *pag = new QWidget;
        pag->setObjectName(campoElemento("Frm", p));
        auto *vp = new QVBoxLayout(pag);
        const int da = p * kPerPagina;
        const int a = p == 3 ? static_cast<int>(voci.size()) : std::min<int>(da + kPerPagina, static_cast<int>(voci.size()));
        for (int i = da; i < a; ++i) {
            const VoceSezione33 &x = voci[i];
            if (x.tipo == VoceSezione33::Casella) {
                auto *k = new QCheckBox(x.testo);
                k->setObjectName(QStringLiteral("ChkTipoC_%1").arg(x.id));
                vp->addWidget(k);
                m_caselle33.append({x.id, k});
            } else {
                auto *l = new QLabel(x.testo);
                l->setWordWrap(true);
                if (x.tipo == VoceSezione33::Titolo) {
                    QFont g = l->font();
                    g.setBold(true);
                    l->setFont(g);
                }
                vp->addWidget(l);
            }
        }
        vp->addStretch();
        t->addTab(scorrevole(pag), QStringLiteral("Sez. 3.3 (%1)").arg(p + 1));
    }
}

void Corsi::costruisci34(QTabWidget *t)
{
    m_schede34 = t;
    // Innovative characteristics, modular connection, previous-year course: shown, never
    // edited on this sheet.
    auto *w = new QWidget;
    auto *f = new QGridLayout(w);
    f->setColumnStretch(1, 1);
    f->addWidget(didascalia(QStringLiteral("Corso dell'anno precedente")), 0, 0);
    f->addWidget(cmbCorsoPrec = tendina(QStringLiteral("cmbCorsoPrec")), 0, 1);
    auto *hm = new QHBoxLayout;
    optConModSi = new QRadioButton(QStringLiteral("Sì"));
    optConModSi->setObjectName(QStringLiteral("optConModSi"));
    optConModNo = new QRadioButton(QStringLiteral("No"));
    optConModNo->setObjectName(QStringLiteral("optConModNo"));
    optConModNo->setChecked(true);
    hm->addWidget(optConModSi);
    hm->addWidget(optConModNo);
    hm->addStretch();
    f->addWidget(didascalia(QStringLiteral("Connessione con percorsi modulari")), 1, 0);
    f->addLayout(hm, 1, 1);
    f->addWidget(didascalia(QStringLiteral("Corso modulare 2003/2004")), 2, 0);
    f->addWidget(cmbCorsoMod = tendina(QStringLiteral("cmbCorsoMod")), 2, 1);
    f->setRowStretch(3, 1);
    t->addTab(scorrevole(w), QStringLiteral("Caratteristiche innovative"));
    t->setTabEnabled(0, false);

    m_pagina34Inclusione = new QWidget;
    auto *g = new QGridLayout(m_pagina34Inclusione);
    g->setColumnStretch(1, 1);
    g->addWidget(new QLabel(QStringLiteral("3.4 Inclusione sociale")), 0, 0, 1, 3);
    const char *const etichette[] = {"- Disabilità", "- Giovani a rischio", "- Immigrati", "- Detenuti"};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(new QLabel(QString::fromUtf8(etichette[i])), i + 1, 0);
        txt_34[i] = campo(campoElemento("txt_34", i), kRigheSez34 * FrmTesto::kCaratteriPerRiga);
        g->addWidget(txt_34[i], i + 1, 1);
        auto *b = pulsante(campoElemento("cmd_34", i).toLatin1().constData(), QStringLiteral("Visualizza tutto il testo"));
        b->setAutoDefault(false);
        g->addWidget(b, i + 1, 2);
        alClic(b, m_c, [this, i, etichette] {
            Sessione &s = m_c.sessione;
            s.gTesto = txt_34[i]->text();
            s.gTestoPos = txt_34[i]->cursorPosition();
            s.gTestoTitolo = QString::fromUtf8(etichette[i]);
            s.gTestoMaxRighe = kRigheSez34;
            s.gTestoModo = (m_solaLettura || txt_34[i]->isReadOnly()) ? QStringLiteral("READ") : QStringLiteral("READWRITE");
            FrmTesto testo(m_c, this);
            if (esegui(testo) == QDialog::Accepted)
                txt_34[i]->setText(s.gTesto);
        });
        alSegnale(txt_34[i], &QLineEdit::editingFinished, m_c,
                  [e = txt_34[i]] { e->setText(senzaCancelletto(e->text())); });
    }
    g->setRowStretch(5, 1);
    t->addTab(scorrevole(m_pagina34Inclusione), QStringLiteral("Inclusione sociale"));
    auto *maiuscole = new FiltroMaiuscole(this);
    for (QLineEdit *e : txt_34)
        maiuscole->applica(e);
}

void Corsi::collegaCascata()
{
    auto quando = [this](QComboBox *c, std::function<void()> azione) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, azione] {
            if (!m_caricando)
                protetto(m_c, azione);
        });
    };
    quando(cmbAsse, [this] {
        riempi(cmbMisura, vociMisure(m_c.db, codice(cmbAsse)), false);
        cmbMisura->setCurrentIndex(cmbMisura->count() > 0 ? 0 : -1);
        if (cmbMisura->count() == 0)
            aggiornaAzione();
    });
    quando(cmbMisura, [this] {
        riempi(cmbAzione, vociAzioni(m_c.db, codice(cmbAsse), codice(cmbMisura)), false);
        cmbAzione->setCurrentIndex(cmbAzione->count() > 0 ? 0 : -1);
        if (cmbAzione->count() == 0)
            aggiornaAzione();
    });
    quando(cmbAzione, [this] { aggiornaAzione(); });
    quando(CmbTipologia, [this] {
        const QString azione = chiaveAzione(codice(cmbAsse), codice(cmbMisura), codice(cmbAzione));
        const QString tipo = CmbTipologia->currentData().toString();
        for (QComboBox *d : cmbDest) {
            riempi(d, vociDestinatari(m_c.db, azione, tipo), true);
            d->setCurrentIndex(0);
        }
        riempi(cmbScol, vociScolarita(m_c.db, azione, tipo), false);
        riempi(cmbDurata, vociDurate(m_c.db, azione, tipo), true);
        if (const auto massimo = IniNumAll(m_c.db, azione, tipo); massimo && *massimo != 99 && !m_solaLettura)
            txtNumAll->setText(QString::number(*massimo));
        aggiornaLinee();
    });
    quando(cmbDurata, [this] { spesePredefinite(true); });
    // Hours and participants typed after the duration was chosen: the defaults (caps by band
    // of hours) follow them, until the user types a cost.
    for (QLineEdit *e : {txtDurataAnnOre, txtNumAll})
        connect(e, &QLineEdit::editingFinished, this, [this] {
            if (m_inserimento && m_speseDiPartenza && !m_caricando && cmbDurata->currentText().toInt() > 0)
                protetto(m_c, [this] { spesePredefinite(false); });
        });
    for (Anno *a : m_anni)
        for (QLineEdit *e : a->pagina->findChildren<QLineEdit *>())
            alSegnale(e, &QLineEdit::textEdited, m_c, [this] { m_speseDiPartenza = false; });
    quando(cmbSetto, [this] { riempi(cmbCompa, vociComparti(m_c.db, codice(cmbSetto)), false); });
    quando(cmbQuali, [this] {
        if (cmbQuali->currentIndex() < 0 || cmbQuali->currentText().isEmpty())
            return;
        const QSignalBlocker b(chkQuali);
        chkQuali->setChecked(false);
        txtQuali->clear();
        txtQuali->setEnabled(false);
        const QStringList indirizzi = vociIndirizzi(m_c.db, codice(cmbQuali));
        for (QComboBox *c : cmbIndi)
            riempi(c, indirizzi, true);
    });
    alSegnale(chkQuali, &QCheckBox::toggled, m_c, [this](bool si) {
        if (m_caricando)
            return;
        if (si) {
            const QSignalBlocker b(cmbQuali);
            cmbQuali->setCurrentIndex(-1);
        } else {
            txtQuali->clear();
        }
        txtQuali->setEnabled(si && !m_solaLettura);
    });
    for (int i = 0; i < 6; ++i) {
        quando(cmbIndi[i], [this, i] {
            if (cmbIndi[i]->currentText().isEmpty())
                return;
            const QSignalBlocker b(chkIndi[i]);
            chkIndi[i]->setChecked(false);
            txtIndi[i]->clear();
            txtIndi[i]->setEnabled(false);
        });
        alSegnale(chkIndi[i], &QCheckBox::toggled, m_c, [this, i](bool si) {
            if (m_caricando)
                return;
            if (si) {
                const QSignalBlocker b(cmbIndi[i]);
                cmbIndi[i]->setCurrentIndex(-1);
            } else {
                txtIndi[i]->clear();
            }
            txtIndi[i]->setEnabled(si && !m_solaLettura);
        });
    }
    quando(cmbAmbitoTerr, [this] {
        riempi(cmbSettProd, vociSettoriProduttivi(m_c.db, codice(cmbAmbitoTerr)), false);
        riempi(cmbFigProf, {}, false);
    });
    quando(cmbSettProd, [this] {
        riempi(cmbFigProf, vociFigureProfessionali(m_c.db, codice(cmbAmbitoTerr), codice(cmbSettProd)), false);
    });
    alSegnale(chkSPINNonPres, &QCheckBox::toggled, m_c, [this](bool si) {
        for (QComboBox *c : {cmbAmbitoTerr, cmbSettProd, cmbFigProf}) {
            if (si && !m_caricando) {
                const QSignalBlocker b(c);
                c->setCurrentIndex(-1);
            }
            c->setEnabled(!si && !m_solaLettura);
        }
    });
    quando(cmbCodIsti, [this] {
        if (cmbCodIsti->currentIndex() >= 0 && !cmbCodIsti->currentText().isEmpty())
            txtIstitutoLibero->clear();
    });
    alSegnale(txtIstitutoLibero, &QLineEdit::textEdited, m_c, [this](const QString &t) {
        if (!t.isEmpty()) {
            const QSignalBlocker b(cmbCodIsti);
            cmbCodIsti->setCurrentIndex(-1);
        }
    });
    connect(chkAccorp, &QCheckBox::toggled, this, [this](bool si) {
        if (m_caricando)
            return;
        protetto(m_c, [this, si] {
            if (si)
                riempi(cmbAccorp, vociCorsiPrincipali(m_c.db, m_c.sessione, codice(cmbAsse), codice(cmbMisura), codice(cmbAzione)),
                       true);
            else
                riempi(cmbAccorp, {}, false);
            lblEleAcc->setVisible(true);
            cmbAccorp->setVisible(true);
            cmbAccorp->setEnabled(si);
        });
    });
    for (QLineEdit *e : {txtQuali, txtIstitutoLibero})
        alSegnale(e, &QLineEdit::editingFinished, m_c, [e] { e->setText(senzaCancelletto(e->text())); });
    for (QLineEdit *e : txtIndi)
        alSegnale(e, &QLineEdit::editingFinished, m_c, [e] { e->setText(senzaCancelletto(e->text())); });
}

void Corsi::aggiornaAzione()
{
    const QString azione = chiaveAzione(codice(cmbAsse), codice(cmbMisura), codice(cmbAzione));
    m_pagina34Inclusione->setEnabled(codice(cmbAsse) == QLatin1String("III.G"));
    m_schede34->setTabEnabled(1, codice(cmbAsse) == QLatin1String("III.G"));
    const QSignalBlocker b(CmbTipologia);
    CmbTipologia->clear();
    CmbTipologia->addItem(QString(), QString());
    if (!codice(cmbAzione).isEmpty())
        for (const VoceTipologia &t : vociTipologie(m_c.db, azione))
            CmbTipologia->addItem(t.descrizione, t.codice);
    CmbTipologia->setCurrentIndex(0);
    for (QComboBox *d : cmbDest)
        riempi(d, {}, true);
    riempi(cmbScol, {}, false);
    riempi(cmbDurata, {}, true);
    riempi(cmbCorsoPrec, vociCorsiPrecedenti(m_c.db, m_c.sessione, codice(cmbAsse), codice(cmbMisura), codice(cmbAzione)), true);
    aggiornaLinee();
}

void Corsi::aggiornaLinee()
{
    m_linee = lineeAmmesse(m_c.db, chiaveAzione(codice(cmbAsse), codice(cmbMisura), codice(cmbAzione)),
                           CmbTipologia->currentData().toString());
    const int durata = cmbDurata->currentText().toInt();
    for (int y = 0; y < 3; ++y) {
        Anno *a = m_anni[y];
        a->pagina->setEnabled(y < durata);
        for (const auto &[linea, aperta] : {std::pair{&a->lineaA2, m_linee.a2}, std::pair{&a->linea16, m_linee.p16},
                                            std::pair{&a->lineaQuote, m_linee.quote}, std::pair{&a->linea17_3, m_linee.p17_3}})
            for (QWidget *w : *linea)
                w->setEnabled(aperta && !m_solaLettura);
        a->p17_3->setEnabled(false); // computed, never typed
        ricalcolaAnno(y);
    }
}

void Corsi::spesePredefinite(bool soloAnniSenzaValori)
{
    aggiornaLinee();
    const int anniMemorizzati = soloAnniSenzaValori && m_memorizzato && !m_inserimento ? m_caricati.durataTotIter : 0;
    const SpeseIniziali iniziali =
        IniSpese(m_c.db, chiaveAzione(codice(cmbAsse), codice(cmbMisura), codice(cmbAzione)),
                 CmbTipologia->currentData().toString(), cmbDurata->currentText().toInt(), intero(txtDurataAnnOre),
                 intero(txtNumAll), anniMemorizzati);
    for (int y = 0; y < 3; ++y)
        if (iniziali.anni[y])
            mostraAnno(y, *iniziali.anni[y]);
    m_speseDiPartenza = m_inserimento;
}

void Corsi::mostraAnno(int y, const SpeseAnno &s)
{
    Anno *a = m_anni[y];
    const bool prima = m_caricando;
    m_caricando = true;
    auto imp = [](QLineEdit *e, Importo v) { mostraImporto(e, v.formato()); };
    auto num = [](QLineEdit *e, qlonglong v) { e->setText(QString::number(v)); };
    imp(a->a1, s.a1);
    num(a->oreA1, s.oreA1);
    num(a->allA1, s.allA1);
    imp(a->a2, s.a2);
    num(a->oreA2, s.oreA2);
    num(a->allA2, s.allA2);
    imp(a->p16, s.p16);
    num(a->ore16, s.ore16);
    num(a->all16, s.all16);
    imp(a->p17_3, s.p17_3);
    num(a->all17_3, s.all17_3);
    imp(a->piu, s.piu);
    imp(a->meno, s.meno);
    a->ente->setText(s.enteErogatore);
    for (int i = 0; i < 5; ++i)
        num(a->perc[i], s.percentuali[i]);
    m_caricando = prima;
    ricalcolaAnno(y);
}

SpeseAnno Corsi::leggiAnno(int y) const
{
    const Anno *a = m_anni[y];
    SpeseAnno s;
    s.a1 = importoDigitato(a->a1->text());
    s.oreA1 = intero(a->oreA1);
    s.allA1 = intero(a->allA1);
    s.a2 = importoDigitato(a->a2->text());
    s.oreA2 = intero(a->oreA2);
    s.allA2 = intero(a->allA2);
    s.p16 = importoDigitato(a->p16->text());
    s.ore16 = intero(a->ore16);
    s.all16 = intero(a->all16);
    s.all17_3 = intero(a->all17_3);
    s.p17_3 = m_linee.p17_3 ? CalcolaParam17_3(intero(txtDurataAnnOre)) : importoDigitato(a->p17_3->text());
    s.piu = importoDigitato(a->piu->text());
    s.meno = importoDigitato(a->meno->text());
    s.enteErogatore = a->ente->text();
    for (int i = 0; i < 5; ++i)
        s.percentuali[i] = intero(a->perc[i]);
    ArrotondaSpese(s);
    return s;
}

void Corsi::ricalcolaAnno(int y)
{
    Anno *a = m_anni[y];
    const SpeseAnno s = soloLineeAmmesse(leggiAnno(y), m_linee);
    if (m_linee.p17_3 && !m_caricando)
        mostraImporto(a->p17_3, s.p17_3.formato());
    const TotaliAnno t = totaliAnno(s);
    // A total past the range of the cents says so where it would show; the save refuses it.
    auto mostraTotale = [](QLabel *l, const Totale &v) { l->setText(v ? v->formato() : kImportoTroppoGrande); };
    mostraTotale(a->totA1, t.a1);
    mostraTotale(a->totA2, t.a2);
    mostraTotale(a->tot16, t.p16);
    mostraTotale(a->tot17_3, t.p17_3);
    mostraTotale(a->totAnno, t.anno);
    mostraTotale(a->tot, t.preventivo);
    for (int i = 0; i < 5; ++i)
        mostraImporto(a->dett[i], t.preventivo ? s.dettaglio[i].formato() : QString());
}

bool Corsi::eventFilter(QObject *o, QEvent *e)
{
    // Amounts: typed in their plain form, shown grouped.
    auto *campoImporto = qobject_cast<QLineEdit *>(o);
    const bool entrata = e->type() == QEvent::FocusIn;
    if (campoImporto && !campoImporto->isReadOnly() && (entrata || e->type() == QEvent::FocusOut)) {
        protetto(m_c, [this, campoImporto, entrata] {
            if (entrata) {
                mostraImporto(campoImporto, importoDigitato(campoImporto->text()).formatoSenzaGruppi());
                QMetaObject::invokeMethod(campoImporto, &QLineEdit::selectAll, Qt::QueuedConnection);
                return;
            }
            mostraImporto(campoImporto, importoDigitato(campoImporto->text()).formato());
            for (int y = 0; y < 3; ++y)
                if (m_anni[y] && m_anni[y]->pagina->isAncestorOf(campoImporto))
                    ricalcolaAnno(y);
        });
    }
    return QDialog::eventFilter(o, e);
}

bool Corsi::carica()
{
    Sessione &s = m_c.sessione;
    m_solaLettura = s.gDomandaStampata != 0;
    CorsiDB &db = m_c.db;
    riempi(cmbCompoResp, vociComponentiResponsabili(db, s), true);
    riempi(cmbQuali, vociQualifiche(db), false);
    riempi(cmbAsse, vociAssi(db), false);
    riempi(cmbSetto, vociSettori(db), false);
    riempi(cmbOra, vociOrari(db), false);
    riempi(cmbCert, vociCertificazioni(db), false);
    riempi(cmbCodIsti, vociIstituti(db), false);
    riempi(cmbAmbitoTerr, vociAmbitiTerritoriali(db), false);
    riempi(cmbCorsoMod, vociCorsiModulari(db, s), true);
    m_corsi = corsiDellaSede(db, s);
    if (!m_corsi.isEmpty()) {
        m_vuoto = false;
        m_indice = 0;
        const std::optional<DatiCorso> d = caricaCorso(db, s, m_corsi[0]);
        if (d)
            mostra(*d);
    } else {
        m_vuoto = true;
        pulisci();
    }
    if (m_solaLettura) {
        m_c.dialoghi.messaggio(QStringLiteral("Domanda già inviata alla Provincia") + CRLF
                                   + QStringLiteral("Non sarà possibile modificare i dati dei corsi"),
                               kTitolo, Icona::Esclamazione);
        for (QPushButton *b : {cmdInserisci, cmdElimina, cmdSalva, cmdDuplica})
            b->setEnabled(false);
    }
    impostaStato();
    return true;
}

void Corsi::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    m_schede34->setTabEnabled(0, false);
    if (!m_primaAttivazione)
        return;
    m_primaAttivazione = false;
    if (!m_vuoto || m_solaLettura)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            protetto(m_c, [this] {
                const bool disponibili =
                    m_c.db.valoreScalare(QStringLiteral("SELECT count(*) FROM Legami WHERE Prov=?"), {m_c.sessione.gProv}).toInt()
                    > 0;
                if (!disponibili) {
                    m_c.dialoghi.messaggio(QStringLiteral("Per la provincia selezionata ( ") + m_c.sessione.gDesProv
                                               + QStringLiteral(" ) non sono disponibili informazioni sulla sez. 3.3, "
                                                                "impossibile inserire corsi."),
                                           QStringLiteral("Compilazione Corsi"), Icona::Critico);
                    QDialog::reject();
                    return;
                }
                if (m_c.dialoghi.messaggio(QStringLiteral("Nessun corso.") + CRLF + QStringLiteral("Vuoi inserirne uno ? "),
                                           kTitolo, Icona::Domanda, Pulsanti::SiNo)
                    == Risposta::Si)
                    inserisci();
            });
        },
        Qt::QueuedConnection);
}

void Corsi::pulisci()
{
    m_caricando = true;
    lblCorso->setText(QStringLiteral(" ---- "));
    lblAccorp->setText(QStringLiteral(" -- "));
    for (QComboBox *c : {cmbCompoResp, cmbQuali, cmbAsse, cmbSetto, cmbOra, cmbCert, cmbCodIsti, cmbAmbitoTerr, cmbCorsoMod})
        c->setCurrentIndex(c->count() > 0 && c->itemText(0).isEmpty() ? 0 : -1);
    for (QComboBox *c : {cmbMisura, cmbAzione, cmbScol, cmbCompa, cmbSettProd, cmbFigProf, cmbAccorp})
        riempi(c, {}, false);
    for (QComboBox *c : cmbIndi)
        riempi(c, {}, true);
    for (QLineEdit *e : findChildren<QLineEdit *>())
        if (e != txtStato)
            e->clear();
    for (QCheckBox *k : findChildren<QCheckBox *>())
        k->setChecked(false);
    OptIM_N->setChecked(true);
    optConModNo->setChecked(true);
    m_caricando = false;
    aggiornaAzione();
    for (int y = 0; y < 3; ++y)
        mostraAnno(y, SpeseAnno{});
    // A new course may be merged into a main course: the list shows, and opens on the tick.
    chkAccorp->setEnabled(!m_solaLettura);
    cmbAccorp->setEnabled(false);
    lblEleAcc->setVisible(true);
    cmbAccorp->setVisible(true);
    cmbCompoResp->setEnabled(m_c.sessione.numeroSede() >= 1000 && !m_solaLettura);
    txtQuali->setEnabled(false);
    for (QLineEdit *e : txtIndi)
        e->setEnabled(false);
}

void Corsi::mostra(const DatiCorso &d)
{
    CorsiDB &db = m_c.db;
    bool adatto = true;
    m_caricando = true;
    lblCorso->setText(d.chiave.corso.left(4));
    lblAccorp->setText(d.chiave.accorp);
    m_c.sessione.gCorso = d.chiave.corso;
    m_c.sessione.gAccorp = d.chiave.accorp;
    adatto &= seleziona(cmbCompoResp, d.compoResp);
    cmbCompoResp->setEnabled(m_c.sessione.numeroSede() >= 1000 && !m_solaLettura);
    chkQuali->setChecked(d.qualificaNuova);
    txtQuali->setText(d.qualificaNuova ? d.desQualif : QString());
    txtQuali->setEnabled(d.qualificaNuova && !m_solaLettura);
    if (d.qualificaNuova) {
        cmbQuali->setCurrentIndex(-1);
    } else {
        adatto &= seleziona(cmbQuali, d.codQualif);
    }
    const QStringList indirizzi = d.qualificaNuova ? QStringList{} : vociIndirizzi(db, d.codQualif);
    for (int i = 0; i < 6; ++i) {
        riempi(cmbIndi[i], indirizzi, true);
        chkIndi[i]->setChecked(d.indirizzoNuovo[i]);
        txtIndi[i]->setText(d.indirizzoNuovo[i] ? d.desInd[i] : QString());
        txtIndi[i]->setEnabled(d.indirizzoNuovo[i] && !m_solaLettura);
        if (!d.indirizzoNuovo[i])
            adatto &= seleziona(cmbIndi[i], d.codInd[i]);
    }
    adatto &= seleziona(cmbAsse, d.codAsse);
    riempi(cmbMisura, vociMisure(db, d.codAsse), false);
    adatto &= seleziona(cmbMisura, d.codMisura);
    riempi(cmbAzione, vociAzioni(db, d.codAsse, d.codMisura), false);
    adatto &= seleziona(cmbAzione, d.codAzione);
    const QString azione = d.azione();
    CmbTipologia->clear();
    CmbTipologia->addItem(QString(), QString());
    for (const VoceTipologia &t : vociTipologie(db, azione))
        CmbTipologia->addItem(t.descrizione, t.codice);
    const int it = CmbTipologia->findData(d.codTipologia);
    if (it >= 0) {
        CmbTipologia->setCurrentIndex(it);
    } else {
        if (!d.codTipologia.isEmpty()) {
            CmbTipologia->addItem(d.codTipologia + kNonValido, d.codTipologia);
            adatto = false;
        }
        CmbTipologia->setCurrentIndex(d.codTipologia.isEmpty() ? 0 : CmbTipologia->count() - 1);
    }
    const QStringList destinatari = vociDestinatari(db, azione, d.codTipologia);
    for (int i = 0; i < 5; ++i) {
        riempi(cmbDest[i], destinatari, true);
        adatto &= seleziona(cmbDest[i], d.codDest[i]);
    }
    riempi(cmbScol, vociScolarita(db, azione, d.codTipologia), false);
    adatto &= seleziona(cmbScol, d.codScol);
    riempi(cmbDurata, vociDurate(db, azione, d.codTipologia), true);
    adatto &= seleziona(cmbDurata, d.durataTotIter > 0 ? QString::number(d.durataTotIter) : QString());
    adatto &= seleziona(cmbSetto, d.codSetto);
    riempi(cmbCompa, vociComparti(db, d.codSetto), false);
    adatto &= seleziona(cmbCompa, d.codComp);
    adatto &= seleziona(cmbOra, d.codOra);
    adatto &= seleziona(cmbCert, d.codCert);
    txtNumAll->setText(QString::number(d.numAll));
    txtDurataAnnOre->setText(QString::number(d.durataAnnOre));
    txtTotIter->setText(QString::number(d.totOreIter));
    txtOreStage->setText(QString::number(d.oreStage));
    txtOreLabEsterni->setText(QString::number(d.oreLabEsterni));
    txtGGDataAvvio->setText(d.ggAvvio);
    txtMMDataAvvio->setText(d.mmAvvio);
    txtAAAADataAvvio->setText(d.aaaaAvvio);
    ChkATS->setChecked(d.ats);
    adatto &= seleziona(cmbCodIsti, d.codIsti);
    txtIstitutoLibero->setText(d.istitutoLibero);
    chkSPINNonPres->setChecked(d.spinNonPresente);
    adatto &= seleziona(cmbAmbitoTerr, d.spinAmbito);
    riempi(cmbSettProd, vociSettoriProduttivi(db, d.spinAmbito), false);
    adatto &= seleziona(cmbSettProd, d.spinSettore);
    riempi(cmbFigProf, vociFigureProfessionali(db, d.spinAmbito, d.spinSettore), false);
    adatto &= seleziona(cmbFigProf, d.spinFigura);
    for (QComboBox *c : {cmbAmbitoTerr, cmbSettProd, cmbFigProf})
        c->setEnabled(!d.spinNonPresente && !m_solaLettura);
    (d.im == QLatin1String("S") ? OptIM_S : OptIM_N)->setChecked(true);
    chkPO_1->setChecked(d.po1);
    chkCO_1->setChecked(d.co1);
    txtQss->setText(d.qss);
    for (int i = 0; i < 4; ++i)
        txt_34[i]->setText(d.sez34[i]);
    riempi(cmbCorsoPrec, vociCorsiPrecedenti(db, m_c.sessione, d.codAsse, d.codMisura, d.codAzione), true);
    optConModNo->setChecked(!d.conModulare);
    optConModSi->setChecked(d.conModulare);
    chkAccorp->setChecked(d.accorpato);
    chkAccorp->setEnabled(false); // main or merged is fixed from the first save
    riempi(cmbAccorp, {}, false);
    cmbAccorp->setEnabled(false);
    lblEleAcc->setVisible(false);
    cmbAccorp->setVisible(false);
    for (const auto &[id, k] : m_caselle33)
        k->setChecked(d.valoriChk.value(id, false));
    m_pagina34Inclusione->setEnabled(d.codAsse == QLatin1String("III.G"));
    m_schede34->setTabEnabled(1, d.codAsse == QLatin1String("III.G"));
    m_caricando = false;
    aggiornaLinee();
    for (int y = 0; y < 3; ++y)
        mostraAnno(y, d.spese[y]);
    m_memorizzato = true;
    m_inserimento = false;
    // What was loaded, as the screen reads it back: the reference of the unsaved-change test.
    m_caricati = datiSchermo();
    if (!adatto) {
        if (m_c.dialoghi.messaggio(QStringLiteral("Il corso che si sta cercando di visualizzare presenta delle anomalie.") + CRLF
                                       + QStringLiteral("E' possibile che il precedente tentativo di salvataggio non sia andato "
                                                        "a buon fine.")
                                       + CRLF
                                       + QStringLiteral("Si consiglia di eliminare il corso in questione, quindi reinserirlo al "
                                                        "successivo avvio.")
                                       + CRLF + QStringLiteral("Eliminare il corso?"),
                                   QString(), Icona::Critico, Pulsanti::SiNo)
                == Risposta::Si
            && !m_solaLettura) {
            CancellaCorso(m_c.db, m_c.sessione, d.chiave);
            m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
            m_indice = std::min(m_indice, static_cast<int>(m_corsi.size()) - 1);
            if (m_indice < 0) {
                m_vuoto = true;
                pulisci();
            } else if (const auto altro = caricaCorso(m_c.db, m_c.sessione, m_corsi[m_indice])) {
                mostra(*altro);
            }
        }
    }
    impostaStato();
}

DatiCorso Corsi::datiSchermo() const
{
    DatiCorso d;
    d.chiave = {m_c.sessione.numeroSede(), m_inserimento ? QString() : m_c.sessione.gCorso,
                m_inserimento ? QString() : m_c.sessione.gAccorp};
    if (m_vuoto && !m_inserimento)
        d.chiave.corso.clear();
    d.accorpato = chkAccorp->isChecked();
    d.corsoPrincipale = m_inserimento ? cmbAccorp->currentText().left(4).trimmed() : (d.accorpato ? d.chiave.corso : QString());
    d.compoResp = codice(cmbCompoResp);
    d.qualificaNuova = chkQuali->isChecked();
    if (d.qualificaNuova) {
        d.desQualif = txtQuali->text();
    } else {
        d.codQualif = codice(cmbQuali);
        d.desQualif = nonValida(cmbQuali) ? m_caricati.desQualif : descrizione(cmbQuali);
    }
    for (int i = 0; i < 6; ++i) {
        d.indirizzoNuovo[i] = chkIndi[i]->isChecked();
        if (d.indirizzoNuovo[i]) {
            d.desInd[i] = txtIndi[i]->text();
        } else {
            d.codInd[i] = codice(cmbIndi[i]);
            d.desInd[i] = nonValida(cmbIndi[i]) ? m_caricati.desInd[i] : descrizione(cmbIndi[i]);
        }
    }
    d.codAsse = codice(cmbAsse);
    d.codMisura = codice(cmbMisura);
    d.codAzione = codice(cmbAzione);
    d.codTipologia = CmbTipologia->currentData().toString();
    for (int i = 0; i < 5; ++i)
        d.codDest[i] = codice(cmbDest[i]);
    d.codScol = codice(cmbScol);
    d.codSetto = codice(cmbSetto);
    d.codComp = codice(cmbCompa);
    d.codOra = codice(cmbOra);
    d.codCert = codice(cmbCert);
    d.numAll = intero(txtNumAll);
    d.durataAnnOre = intero(txtDurataAnnOre);
    d.totOreIter = intero(txtTotIter);
    d.oreStage = intero(txtOreStage);
    d.oreLabEsterni = intero(txtOreLabEsterni);
    d.durataTotIter = cmbDurata->currentText().toInt();
    d.statoIter = static_cast<int>(intero(txtStato));
    d.ggAvvio = txtGGDataAvvio->text();
    d.mmAvvio = txtMMDataAvvio->text();
    d.aaaaAvvio = txtAAAADataAvvio->text();
    d.ats = ChkATS->isChecked();
    d.codIsti = codice(cmbCodIsti);
    d.istitutoLibero = txtIstitutoLibero->text();
    d.spinNonPresente = chkSPINNonPres->isChecked();
    if (!d.spinNonPresente) {
        d.spinAmbito = codice(cmbAmbitoTerr);
        d.spinSettore = codice(cmbSettProd);
        d.spinFigura = codice(cmbFigProf);
    }
    d.im = OptIM_S->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    d.po1 = chkPO_1->isChecked();
    d.co1 = chkCO_1->isChecked();
    d.qss = txtQss->text();
    for (int i = 0; i < 4; ++i)
        d.sez34[i] = txt_34[i]->text();
    d.conModulare = optConModSi->isChecked();
    d.corsoModulare = codice(cmbCorsoMod);
    for (int y = 0; y < 3; ++y)
        d.spese[y] = leggiAnno(y);
    for (const auto &[id, k] : m_caselle33)
        d.valoriChk.insert(id, k->isChecked());
    return d;
}

bool Corsi::invariato() const
{
    if (m_vuoto && !m_inserimento)
        return true;
    return !m_inserimento && datiSchermo() == m_caricati;
}

bool Corsi::mostraEsito(const EsitoVerifica &e)
{
    if (e.valido())
        return true;
    Clessidra::togliTutte();
    m_c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
    portaInVista(findChild<QWidget *>(e.campo));
    return false;
}

bool Corsi::verifica(bool inserimento)
{
    return mostraEsito(VerifCorso(m_c.db, m_c.sessione, datiSchermo(), inserimento, m_memorizzato && !inserimento));
}

// The save that precedes a move, an insert, a duplicate, a print: only when something
// changed, after the checks.
bool Corsi::salvaSilenzioso()
{
    if (invariato() || m_solaLettura)
        return true;
    if (m_inserimento)
        return salva();
    if (!verifica(false))
        return false;
    const ChiaveCorso k = scriviCorso(m_c.db, m_c.sessione, m_c.piattaforma, datiSchermo());
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    m_indice = static_cast<int>(m_corsi.indexOf(k));
    return true;
}

bool Corsi::salva()
{
    if (m_solaLettura || (m_vuoto && !m_inserimento))
        return false;
    const Clessidra clessidra;
    const bool nuovo = m_inserimento;
    if (!verifica(nuovo))
        return false;
    ChiaveCorso k;
    {
        // The bar shows while the course is written, not under the message that follows.
        ProgrBarSalva->show();
        ProgrBarSalva->setRange(0, 0);
        struct Barra {
            QProgressBar *b;
            ~Barra() { b->hide(); }
        } barra{ProgrBarSalva};
        k = scriviCorso(m_c.db, m_c.sessione, m_c.piattaforma, datiSchermo());
    }
    m_vuoto = false;
    m_inserimento = false;
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    m_indice = static_cast<int>(m_corsi.indexOf(k));
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, k))
        mostra(*d);
    if (nuovo)
        m_c.dialoghi.messaggio(QStringLiteral("VERIFICHE OK") + CRLF + QStringLiteral("Corso inserito"),
                               QStringLiteral("Inserimento Corso"), Icona::Informazione);
    return true;
}

void Corsi::vai(int indice)
{
    if (m_corsi.isEmpty() || m_inserimento)
        return;
    indice = std::clamp(indice, 0, static_cast<int>(m_corsi.size()) - 1);
    if (!salvaSilenzioso())
        return;
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, m_corsi[indice])) {
        m_indice = indice;
        mostra(*d);
    }
    primaScheda(cmbQuali);
}

void Corsi::vaiAlCorso()
{
    const ChiaveCorso corrente{m_c.sessione.numeroSede(), m_c.sessione.gCorso, m_c.sessione.gAccorp};
    EleCorsi elenco(m_c, corrente, this);
    if (esegui(elenco) != QDialog::Accepted || !elenco.scelto() || *elenco.scelto() == corrente)
        return;
    const ChiaveCorso scelto = *elenco.scelto();
    if (!salvaSilenzioso())
        return;
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    const int i = static_cast<int>(m_corsi.indexOf(scelto));
    if (i >= 0)
        if (const auto d = caricaCorso(m_c.db, m_c.sessione, scelto)) {
            m_indice = i;
            mostra(*d);
        }
    primaScheda(cmbQuali);
}

void Corsi::inserisci()
{
    if (m_solaLettura)
        return;
    if (!m_vuoto && !salvaSilenzioso())
        return;
    m_inserimento = true;
    m_memorizzato = false;
    pulisci();
    m_caricati = DatiCorso{};
    impostaStato();
    primaScheda(m_c.sessione.numeroSede() >= 1000 ? cmbCompoResp : cmbQuali);
}

void Corsi::duplica()
{
    if (m_solaLettura || m_vuoto || m_inserimento)
        return;
    if (!salvaSilenzioso())
        return;
    // Every field stays: the copy becomes a course when it is saved.
    m_inserimento = true;
    m_memorizzato = false;
    lblCorso->setText(QStringLiteral(" ---- "));
    lblAccorp->setText(QStringLiteral(" -- "));
    const bool accorpato = chkAccorp->isChecked();
    m_caricando = true;
    chkAccorp->setEnabled(true);
    lblEleAcc->setVisible(true);
    cmbAccorp->setVisible(true);
    riempi(cmbAccorp, vociCorsiPrincipali(m_c.db, m_c.sessione, codice(cmbAsse), codice(cmbMisura), codice(cmbAzione)), true);
    if (accorpato)
        seleziona(cmbAccorp, m_c.sessione.gCorso);
    cmbAccorp->setEnabled(accorpato);
    m_caricando = false;
    impostaStato();
    primaScheda(nullptr);
    m_c.dialoghi.messaggio(QStringLiteral("Corso duplicato") + CRLF + QStringLiteral("Verifiche OK."), QStringLiteral("Duplica Corso"),
                           Icona::Informazione);
    cmbQuali->setFocus();
}

void Corsi::elimina()
{
    if (m_solaLettura || m_vuoto || m_inserimento)
        return;
    if (m_c.dialoghi.messaggio(QStringLiteral("Confermi cancellazione corso?"), kTitolo, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    const ChiaveCorso k = m_corsi.value(m_indice);
    if (!CancellaCorso(m_c.db, m_c.sessione, k)) {
        m_c.dialoghi.messaggio(QStringLiteral("E' presente un corso accorpato a questo corso") + CRLF
                                   + QStringLiteral("Occorre prima cancellare i corsi accorpati e poi il corso principale"),
                               QStringLiteral("Cancellazione corso"), Icona::Esclamazione);
        return;
    }
    m_corsi = corsiDellaSede(m_c.db, m_c.sessione);
    if (m_corsi.isEmpty()) {
        m_vuoto = true;
        m_indice = -1;
        pulisci();
        impostaStato();
        if (m_c.dialoghi.messaggio(QStringLiteral("Nessun corso ") + CRLF + QStringLiteral(" Vuoi inserirne uno ? "), kTitolo,
                                   Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si)
            inserisci();
        return;
    }
    m_indice = std::min(m_indice, static_cast<int>(m_corsi.size()) - 1);
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, m_corsi[m_indice]))
        mostra(*d);
    primaScheda(cmbQuali);
}

void Corsi::stampa()
{
    if (m_vuoto && !m_inserimento)
        return;
    if (!invariato() && !salva())
        return;
    if (!m_stampa) {
        m_c.dialoghi.messaggio(QStringLiteral("Stampa non disponibile."), QStringLiteral("Stampa Corso"), Icona::Informazione);
        return;
    }
    m_c.sessione.gTipoStampa = QStringLiteral("BOZZA CORSO");
    m_stampa(m_corsi.value(m_indice));
}

void Corsi::esci()
{
    if (m_vuoto && !m_inserimento) {
        accept();
        return;
    }
    const ChiaveCorso k = m_corsi.value(m_indice);
    if (!m_solaLettura && (m_inserimento || CorsoIncompleto(m_c.db, m_c.sessione, k))) {
        if (m_c.dialoghi.messaggio(QStringLiteral("Il corso corrente non è ancora stato salvato in maniera corretta. Uscendo verrà "
                                                  "concellato.")
                                       + CRLF + QStringLiteral("Continuare ?"),
                                   kTitolo, Icona::Informazione, Pulsanti::SiNoAnnulla)
            != Risposta::Si)
            return;
        if (!m_inserimento)
            CancellaCorso(m_c.db, m_c.sessione, k);
        accept();
        return;
    }
    esciDallaScheda(*this, m_c.dialoghi, !m_solaLettura && !invariato(),
                    QStringLiteral("Sono stati modificati uno o più dati del corso"), kTitolo, [this] { return salva(); });
}

void Corsi::reject()
{
    protetto(m_c, [this] { esci(); });
}

void Corsi::impostaStato()
{
    m_sezioni->setEnabled(!m_vuoto || m_inserimento);
    aggiornaPulsanti();
    cmdStampa->setEnabled(!m_vuoto || m_inserimento);
    if (!m_solaLettura) {
        cmdElimina->setEnabled(!m_vuoto && !m_inserimento);
        cmdDuplica->setEnabled(!m_vuoto && !m_inserimento);
        cmdSalva->setEnabled(!m_vuoto || m_inserimento);
        cmdInserisci->setEnabled(!m_inserimento);
    }
    // A printed application: every field stays readable and none can change.
    if (m_solaLettura) {
        for (QLineEdit *e : m_sezioni->findChildren<QLineEdit *>())
            e->setReadOnly(true);
        for (QComboBox *c : m_sezioni->findChildren<QComboBox *>())
            c->setEnabled(false);
        for (QAbstractButton *b : m_sezioni->findChildren<QAbstractButton *>())
            if (!b->objectName().startsWith(QLatin1String("cmd_34")))
                b->setEnabled(false);
    }
}

void Corsi::primaScheda(QWidget *fuoco)
{
    // Every tab and sub-tab back on its first page (the first the course admits), so that a
    // course is always met from its beginning.
    for (QTabWidget *t : findChildren<QTabWidget *>()) {
        int i = 0;
        while (i < t->count() - 1 && !t->isTabEnabled(i))
            ++i;
        t->setCurrentIndex(i);
    }
    if (fuoco)
        fuoco->setFocus();
}

void Corsi::aggiornaPulsanti()
{
    const int n = static_cast<int>(m_corsi.size());
    const bool bloccati = m_inserimento || n <= 1;
    cmdFirst->setEnabled(!bloccati && m_indice > 0);
    cmdPrevious->setEnabled(!bloccati && m_indice > 0);
    cmdNext->setEnabled(!bloccati && m_indice < n - 1);
    cmdLast->setEnabled(!bloccati && m_indice < n - 1);
    CmdVai->setEnabled(!bloccati);
}

void Corsi::verificaTutti()
{
    if (!salvaSilenzioso())
        return;
    const QList<ProblemaCorso> problemi = problemiCorsiDomanda(m_c.db, m_c.sessione);
    if (problemi.isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessun problema trovato nei corsi della domanda."),
                               QStringLiteral("Verifica tutti i corsi"), Icona::Informazione);
        return;
    }
    QDialog elenco(this);
    elenco.setObjectName(QStringLiteral("frmProblemiCorsi"));
    elenco.setWindowTitle(QStringLiteral("Verifica tutti i corsi"));
    auto *v = new QVBoxLayout(&elenco);
    v->addWidget(new QLabel(QStringLiteral("Problemi trovati: %1. Un doppio clic apre il corso (della sede corrente).")
                                .arg(problemi.size())));
    auto *l = new QListWidget;
    l->setObjectName(QStringLiteral("lstProblemi"));
    // A message is read whole, not scrolled sideways.
    l->setWordWrap(true);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setResizeMode(QListView::Adjust);
    for (const ProblemaCorso &p : problemi)
        l->addItem(rigaProblema(p));
    v->addWidget(l);
    auto *chiudi = pulsante("cmdChiudi", QStringLiteral("Chiudi"));
    v->addWidget(chiudi, 0, Qt::AlignRight);
    connect(chiudi, &QPushButton::clicked, &elenco, &QDialog::reject);
    std::optional<ProblemaCorso> scelto;
    alSegnale(l, &QListWidget::itemActivated, m_c, [&](QListWidgetItem *i) {
        scelto = problemi.value(l->row(i));
        elenco.accept();
    });
    elenco.resize(760, 420);
    if (esegui(elenco) != QDialog::Accepted || !scelto)
        return;
    const int i = static_cast<int>(m_corsi.indexOf(scelto->chiave));
    if (i < 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Il corso ") + scelto->chiave.corso + QLatin1Char('/') + scelto->chiave.accorp
                                   + QStringLiteral(" è in un'altra sede (") + QString::number(scelto->chiave.sede)
                                   + QStringLiteral("): aprirlo dalla scelta della sede."),
                               QStringLiteral("Verifica tutti i corsi"), Icona::Informazione);
        return;
    }
    if (const auto d = caricaCorso(m_c.db, m_c.sessione, scelto->chiave)) {
        m_indice = i;
        mostra(*d);
        // Shown as after any move, then taken to the field of the problem chosen.
        primaScheda(cmbQuali);
        portaInVista(findChild<QWidget *>(scelto->campo));
    }
}

void Corsi::riepilogoAccorpati()
{
    if (m_vuoto || m_inserimento)
        return;
    const RiepilogoAccorpati r = quirdal::riepilogoAccorpati(m_c.db, m_c.sessione, m_c.sessione.gCorso);
    QDialog d(this);
    d.setObjectName(QStringLiteral("RAccorp"));
    d.setWindowTitle(QStringLiteral("Riepilogo corsi accorpati"));
    auto *f = new QFormLayout(&d);
    const char *const nomi[] = {"lbl_a11", "lbl_a12", "lbl_a21", "lbl_a22", "lbl_a31", "lbl_a32", "lbl_a41", "lbl_a42"};
    auto riga = [&](const char *nome, const QString &testo, Importo v) {
        auto *l = new QLabel(v.formato());
        l->setObjectName(QString::fromLatin1(nome));
        l->setAlignment(Qt::AlignRight);
        f->addRow(testo, l);
    };
    for (int i = 0; i < 8; ++i) {
        riga(nomi[i], QString::fromLatin1(nomi[i] + 4), r.a[i]);
        if (i % 2 == 1)
            riga(QStringLiteral("lbl_a%1_Tot").arg(i / 2 + 1).toLatin1().constData(), QStringLiteral("Totale a%1").arg(i / 2 + 1),
                 r.a[i - 1] + r.a[i]);
    }
    riga("lbl_a_Tot", QStringLiteral("Totale a"), r.totaleA());
    riga("lbl_b1", QStringLiteral("b1"), r.b1);
    riga("lbl_b2", QStringLiteral("b2"), r.b2);
    riga("lbl_b_Tot", QStringLiteral("Totale b"), r.totaleB());
    riga("lbl_ab_Tot", QStringLiteral("Totale generale"), r.totaleA() + r.totaleB());
    auto *ok = pulsante("cmdOK", QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    f->addRow(ok);
    esegui(d);
}

EleCorsi::EleCorsi(Contesto &c, const ChiaveCorso &corrente, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("EleCorsi"));
    setWindowTitle(QStringLiteral("Elenco corsi"));
    auto *v = new QVBoxLayout(this);
    auto *Label1 = new QLabel(QStringLiteral("Corsi della sede interessata"));
    Label1->setObjectName(QStringLiteral("Label1"));
    v->addWidget(Label1);
    auto *lst = new QListWidget;
    lst->setObjectName(QStringLiteral("lstAllCorsi"));
    lst->setFont(fontFisso());
    const QStringList voci = vociEleCorsi(m_c.db, m_c.sessione);
    lst->addItems(voci);
    for (int i = 0; i < voci.size(); ++i)
        if (leggiVoceCorso(voci[i], corrente.sede) == corrente)
            lst->setCurrentRow(i);
    v->addWidget(lst);
    auto *h = new QHBoxLayout;
    h->addStretch();
    auto *cmdSele2 = pulsante("cmdSele2", QStringLiteral("Conferma"));
    auto *cmdEsci2 = pulsante("cmdEsci2", QStringLiteral("Esci"));
    h->addWidget(cmdSele2);
    h->addWidget(cmdEsci2);
    v->addLayout(h);
    auto scegli = [this, lst, sede = corrente.sede] {
        if (!lst->currentItem())
            return;
        const ChiaveCorso k = leggiVoceCorso(lst->currentItem()->text(), sede);
        m_c.sessione.gCorsoScelto = k.corso;
        m_c.sessione.gAccorpScelto = k.accorp;
        m_scelto = k;
        accept();
    };
    alClic(cmdSele2, m_c, scegli);
    alSegnale(lst, &QListWidget::itemActivated, m_c, scegli);
    connect(cmdEsci2, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 380);
}

} // namespace quirdal
