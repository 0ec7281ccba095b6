#include "courses/ui/FrmAnno.h"

#include "common/Contesto.h"
#include "common/ui/Confine.h"
#include "common/ui/Filtri.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/CampiCorso.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quirdal {

namespace {

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

const char *const kTitoli[] = {"3.2.1 Preventivo di spesa del corso - Primo Anno",
                               "3.2.2 Preventivo di spesa del corso - Secondo Anno",
                               "3.2.3 Preventivo di spesa del corso - Terzo Anno"};
const char *const kTotali[] = {"Totale PREVENTIVO SPESE - PRIMO ANNO", "Totale PREVENTIVO SPESE - SECONDO ANNO",
                               "Totale PREVENTIVO SPESE - TERZO ANNO"};

} // namespace

FrmAnno::FrmAnno(Contesto &c, const StatoScheda &stato, int y, std::function<qlonglong()> oreAnnue, QWidget *padre)
    : QWidget(padre), m_c(c), m_stato(stato), m_oreAnnue(std::move(oreAnnue))
{
    auto *numeri = new FiltroNumerico(m_c.dialoghi, this);
    auto *importi = new FiltroNumerico(m_c.dialoghi, this, FiltroNumerico::Tipo::Virgola);
    setObjectName(campoAnno("frmAnno", y));
    auto *v = new QVBoxLayout(this);
    auto *titolo = new QLabel(QString::fromUtf8(kTitoli[y]));
    QFont g = titolo->font();
    g.setBold(true);
    titolo->setFont(g);
    v->addWidget(titolo);
    auto *gr = new QGridLayout;
    v->addLayout(gr);
    auto importo = [&](const char *nome) {
        auto *e = campoCorso(campoAnno(nome, y), 14, 110);
        e->setAlignment(Qt::AlignRight);
        e->installEventFilter(this);
        importi->applica(e);
        return e;
    };
    auto conteggio = [&](const char *nome) {
        auto *e = campoCorso(campoAnno(nome, y), 5, 70);
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
    linea(1, QStringLiteral("A1 Spese Generali"), a1 = importo("txtA1"), oreA1 = conteggio("txtNumOreA1"),
          allA1 = conteggio("txtNumAllA1"), totA1 = totale("lbla1Tot"));
    lineaA2 = linea(2, QStringLiteral("A2 Premio"), a2 = importo("txtA2"), oreA2 = conteggio("txtNumOreA2"),
                    allA2 = conteggio("txtNumAllA2"), totA2 = totale("lbla2Tot"));
    auto *lbl16 = new QLabel(QStringLiteral("Reddito Allievi"));
    lbl16->setObjectName(campoAnno("lbl16", y));
    gr->addWidget(lbl16, 3, 0);
    p16 = importo("txt16");
    ore16 = conteggio("txtNumOre16");
    all16 = conteggio("txtNumAll16");
    tot16 = totale("lbl16Tot");
    gr->addWidget(p16, 3, 1);
    gr->addWidget(ore16, 3, 2);
    gr->addWidget(all16, 3, 3);
    gr->addWidget(tot16, 3, 4);
    linea16 = {lbl16, p16, ore16, all16, tot16};
    linea17_3 = linea(4, QStringLiteral("17.3 Contributo Allievi (Euro x Allievi)"), p17_3 = importo("txt17_3"), nullptr,
                      all17_3 = conteggio("txtNumAll17_3"), tot17_3 = totale("lbl17_3Tot"));
    linea17_3.removeAll(nullptr);
    p17_3->setReadOnly(true);
    auto *lTotAnno = new QLabel(QString::fromUtf8(kTotali[y]));
    gr->addWidget(lTotAnno, 5, 0, 1, 4, Qt::AlignRight);
    gr->addWidget(totAnno = totale("lblTotAnno"), 5, 4);
    auto *lPiu = new QLabel(QStringLiteral("Quota dell'operatore da aggiungere al totale generale"));
    auto *lMeno = new QLabel(QStringLiteral("Quota dell'operatore da sottrarre al totale generale"));
    auto *lEnte = new QLabel(QStringLiteral("Ragione Sociale Ente erogatore"));
    piu = importo("txtParam17Piu");
    meno = importo("txtParam17Meno");
    ente = campoCorso(campoAnno("txtEnteErogatore", y), 100);
    gr->addWidget(lPiu, 6, 0, 1, 3);
    gr->addWidget(piu, 6, 3);
    gr->addWidget(lMeno, 7, 0, 1, 3);
    gr->addWidget(meno, 7, 3);
    gr->addWidget(lEnte, 8, 0);
    gr->addWidget(ente, 8, 1, 1, 4);
    lineaQuote = {lPiu, lMeno, lEnte, piu, meno, ente};
    gr->addWidget(new QLabel(QStringLiteral("Totale PREVENTIVO calcolato Euro")), 9, 0, 1, 4, Qt::AlignRight);
    gr->addWidget(tot = totale("lblTot"), 9, 4);
    QFont gt = tot->font();
    gt.setBold(true);
    tot->setFont(gt);
    auto *gruppo = new QGroupBox(QStringLiteral("Dettaglio delle spese"));
    auto *gd = new QGridLayout(gruppo);
    const char *const voci[] = {"a) Preparazione", "b) Realizzazione", "c) Diffusione risultati", "d) Direzione e controllo",
                                "e) Indiretti"};
    gd->addWidget(new QLabel(QStringLiteral("%")), 0, 1);
    gd->addWidget(new QLabel(QStringLiteral("Euro")), 0, 2);
    for (int i = 0; i < 5; ++i) {
        gd->addWidget(new QLabel(QString::fromLatin1(voci[i])), i + 1, 0);
        perc[i] = conteggio(QStringLiteral("txt%1P").arg(70 + i).toLatin1().constData());
        perc[i]->setMaxLength(3);
        dett[i] = campoCorso(campoAnno(QStringLiteral("txt%1").arg(70 + i).toLatin1().constData(), y), 14, 110);
        dett[i]->setReadOnly(true);
        dett[i]->setAlignment(Qt::AlignRight);
        gd->addWidget(perc[i], i + 1, 1);
        gd->addWidget(dett[i], i + 1, 2);
    }
    gd->setColumnStretch(3, 1);
    v->addWidget(gruppo);
    v->addStretch();
    for (QLineEdit *e : findChildren<QLineEdit *>())
        if (!e->isReadOnly())
            alSegnale(e, &QLineEdit::textEdited, m_c, [this, e] {
                if (m_stato.caricando)
                    return;
                // The pupils' contribution follows the participants of line A1.
                if (e == allA1 && m_linee.p17_3)
                    all17_3->setText(allA1->text());
                ricalcola();
            });
}

void FrmAnno::mostra(const SpeseAnno &s)
{
    auto imp = [](QLineEdit *e, Importo v) { mostraImporto(e, v.formato()); };
    auto num = [](QLineEdit *e, qlonglong v) { e->setText(QString::number(v)); };
    imp(a1, s.a1);
    num(oreA1, s.oreA1);
    num(allA1, s.allA1);
    imp(a2, s.a2);
    num(oreA2, s.oreA2);
    num(allA2, s.allA2);
    imp(p16, s.p16);
    num(ore16, s.ore16);
    num(all16, s.all16);
    imp(p17_3, s.p17_3);
    num(all17_3, s.all17_3);
    imp(piu, s.piu);
    imp(meno, s.meno);
    ente->setText(s.enteErogatore);
    for (int i = 0; i < 5; ++i)
        num(perc[i], s.percentuali[i]);
    ricalcola();
}

SpeseAnno FrmAnno::leggi() const
{
    SpeseAnno s;
    s.a1 = importoDigitato(a1->text());
    s.oreA1 = interoDi(oreA1);
    s.allA1 = interoDi(allA1);
    s.a2 = importoDigitato(a2->text());
    s.oreA2 = interoDi(oreA2);
    s.allA2 = interoDi(allA2);
    s.p16 = importoDigitato(p16->text());
    s.ore16 = interoDi(ore16);
    s.all16 = interoDi(all16);
    s.all17_3 = interoDi(all17_3);
    s.p17_3 = m_linee.p17_3 ? CalcolaParam17_3(m_oreAnnue()) : importoDigitato(p17_3->text());
    s.piu = importoDigitato(piu->text());
    s.meno = importoDigitato(meno->text());
    s.enteErogatore = ente->text();
    for (int i = 0; i < 5; ++i)
        s.percentuali[i] = interoDi(perc[i]);
    ArrotondaSpese(s);
    return s;
}

void FrmAnno::aggiornaLinee(const LineeAmmesse &l, bool entroDurata)
{
    m_linee = l;
    setEnabled(entroDurata);
    for (const auto &[linea, aperta] :
         {std::pair{&lineaA2, l.a2}, std::pair{&linea16, l.p16}, std::pair{&lineaQuote, l.quote}, std::pair{&linea17_3, l.p17_3}})
        for (QWidget *w : *linea)
            w->setEnabled(aperta && !m_stato.solaLettura());
    p17_3->setEnabled(false); // computed, never typed
    ricalcola();
}

void FrmAnno::ricalcola()
{
    const SpeseAnno s = soloLineeAmmesse(leggi(), m_linee);
    if (m_linee.p17_3 && !m_stato.caricando)
        mostraImporto(p17_3, s.p17_3.formato());
    const TotaliAnno t = totaliAnno(s);
    // A total past the range of the cents says so where it would show; the save refuses it.
    auto mostraTotale = [](QLabel *l, const Totale &v) { l->setText(v ? v->formato() : kImportoTroppoGrande); };
    mostraTotale(totA1, t.a1);
    mostraTotale(totA2, t.a2);
    mostraTotale(tot16, t.p16);
    mostraTotale(tot17_3, t.p17_3);
    mostraTotale(totAnno, t.anno);
    mostraTotale(tot, t.preventivo);
    for (int i = 0; i < 5; ++i)
        mostraImporto(dett[i], t.preventivo ? s.dettaglio[i].formato() : QString());
}

bool FrmAnno::eventFilter(QObject *o, QEvent *e)
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
            ricalcola();
        });
    }
    return QWidget::eventFilter(o, e);
}

} // namespace quirdal
