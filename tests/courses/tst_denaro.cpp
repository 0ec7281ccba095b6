// The money of an application read the five ways a user meets it: the course sheet's
// labels, the site totals, the summary screen, the draft print and the transmission file.
// On 100 courses generated with awkward costs (odd cents, line 17.3 with several
// participants, the operator's share, courses of two and three years) every one agrees to
// the cent with the sums worked out here in plain integers.
#include "application/ui/SchermiSelezione.h"
#include "courses/Spese.h"
#include "courses/ui/Corsi.h"
#include "printing/Stampa.h"
#include "support/Bando.h"
#include "support/Domanda.h"
#include "support/GuidaModali.h"
#include "support/Pdf.h"
#include "transmission/CreaFileTrasm.h"

#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// The cents of an amount as the program shows it ("-1.234,05") or writes it ("1234.05"),
// read here rather than by the program's own reader.
qint64 centesimi(QString t)
{
    t = t.trimmed();
    if (t.contains(u','))
        t.remove(u'.').replace(u',', u'.');
    const bool negativo = t.startsWith(u'-');
    const QStringList parti = t.mid(negativo ? 1 : 0).split(u'.');
    bool interi = false, decimali = false;
    const qint64 c = parti.value(0).toLongLong(&interi) * 100 + parti.value(1).toLongLong(&decimali);
    if (!interi || !decimali || parti.size() != 2 || parti[1].size() != 2)
        qFatal("importo illeggibile: %s", qPrintable(t));
    return negativo ? -c : c;
}

// One year's costs in cents and counts, with its totals by the rule of the call.
struct Anno {
    qint64 a1, oreA1, allA1, a2, oreA2, allA2, p16, ore16, all16, p17_3, all17_3, piu, meno;
    qint64 totale() const { return a1 * oreA1 * allA1 + a2 * oreA2 * allA2 + p16 * ore16 * all16 - p17_3 * all17_3; }
    qint64 calcolato() const { return totale() - meno; }
};
struct Corso {
    qlonglong sede, compoResp;
    QString codice;
    QList<Anno> anni;
    qint64 totale() const
    {
        qint64 t = 0;
        for (const Anno &a : anni)
            t += a.calcolato();
        return t;
    }
};

// The application of the fixture with its courses in province 001 replaced by 100 others
// at components 1 and 2 and at the occasional site 1001 (answered for by 1 or 2), each a
// copy of course 0001 or 0002 with costs of its own, written as the sheet writes them; every
// line is admitted, so that the sheet counts what is stored.
QList<Corso> genera(CorsiDB &db)
{
    for (const char *sql :
         {"CREATE TEMP TABLE Modello1 AS SELECT * FROM CorsiProp WHERE Accorp = '0' AND Corso = '0001'",
          "CREATE TEMP TABLE Modello2 AS SELECT * FROM CorsiProp WHERE Accorp = '0' AND Corso = '0002'",
          "DELETE FROM CorsiPropSpese WHERE SedeInteressata IN (1, 2, 1001)",
          "DELETE FROM ValoriChk WHERE SedeInteressata IN (1, 2, 1001)",
          "DELETE FROM CorsiProp WHERE SedeInteressata IN (1, 2, 1001)",
          "INSERT INTO AmmissioneSpese SELECT DISTINCT CodAsse, CodMisura, CodAzione, CodTipologia, C, S FROM (SELECT * FROM "
          "Modello1 UNION ALL SELECT * FROM Modello2) AS m, (SELECT 2 AS C, 2 AS S UNION SELECT 16, 1 UNION SELECT 17, 1 UNION "
          "SELECT 17, 3) AS v",
          "INSERT INTO IntervalloOreStage (CodAsse, CodMisura, CodAzione, CodTipologia, SitIter, ProgrAnno, MinOre, MaxOre, "
          "min_ore_stage_ass, max_ore_stage_ass) SELECT DISTINCT CodAsse, CodMisura, CodAzione, CodTipologia, 'G', N, 1, 9000, "
          "0, 400 FROM (SELECT * FROM Modello1 UNION ALL SELECT * FROM Modello2) AS m, (SELECT 1 AS N UNION SELECT 2 UNION "
          "SELECT 3) AS v"})
        db.esegui(QString::fromLatin1(sql));
    QRandomGenerator g(20091130);
    auto dispari = [&g](int euro) { return qint64(g.bounded(euro)) * 100 + 2 * g.bounded(50) + 1; };
    auto aVolte = [&g](int percento, qint64 v) { return int(g.bounded(100)) < percento ? v : 0; };
    QList<Corso> corsi;
    for (int i = 0; i < 100; ++i) {
        Corso c;
        c.sede = QList<qlonglong>{1, 2, 1001}[g.bounded(3)];
        c.compoResp = c.sede == 1001 ? 1 + g.bounded(2) : 0;
        c.codice = QString::number(6 + i).rightJustified(4, u'0');
        const qint64 ore = 20 + g.bounded(400); // line 17.3 is 2 euro an hour up to 150 hours, 300 euro above
        const int durata = 1 + i % 3;
        const QString modello = u"Modello"_s + QString::number(1 + i % 2);
        db.esegui(u"UPDATE %1 SET SedeInteressata=?, Corso=?, CompoResp=?, NumAll=30, DurataAnnOre=?, DurataTotIter=?, "
                  "TotOreIter=?"_s.arg(modello),
                  {c.sede, c.codice, c.compoResp ? QVariant(c.compoResp) : QVariant(), ore, durata, ore * durata});
        db.esegui(u"INSERT INTO CorsiProp SELECT * FROM "_s + modello);
        for (int anno = 1; anno <= durata; ++anno) {
            Anno a{dispari(200),
                   ore,
                   1 + g.bounded(30),
                   aVolte(50, dispari(40)),
                   ore,
                   1 + g.bounded(10),
                   aVolte(50, dispari(5)),
                   ore,
                   1 + g.bounded(30),
                   std::min<qint64>(ore * 200, 30000),
                   aVolte(60, 2 + g.bounded(20)),
                   0,
                   0};
            (g.bounded(2) ? a.meno : a.piu) = aVolte(40, dispari(5000));
            c.anni << a;
            QVariantList v{c.sede, c.codice, anno};
            for (qint64 x :
                 {a.a1, a.oreA1, a.allA1, a.a2, a.oreA2, a.allA2, a.p16, a.ore16, a.all16, a.piu, a.meno, a.p17_3, a.all17_3})
                v << x;
            db.esegui(u"INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1, "
                      "NumOreA1, NumAllA1, ParamA2, NumOreA2, NumAllA2, Param16, NumOre16, NumAll16, Param17Piu, Param17Meno, "
                      "Param17_3, NumAll17_3, Param70P, EnteErogatore, Guid) VALUES ('A', 7, ?, ?, '0', ?, ?/100.0, ?, ?, "
                      "?/100.0, ?, ?, ?/100.0, ?, ?, ?/100.0, ?/100.0, ?/100.0, ?, 100, '', '')"_s,
                      v);
        }
        corsi << c;
    }
    return corsi;
}

QString testo(QWidget *w, const QString &nome) { return trova(w, nome)->property("text").toString(); }

} // namespace

class TestDenaro : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void centoCorsiAlCentesimo()
    {
        Selezionata a; // printed: the sheet only shows, and moving on never writes
        listeDelBando(*a.contesto);
        const QList<Corso> corsi = genera(a.db);
        qint64 domanda = 0;
        QHash<qlonglong, qint64> sedi; // component -> first years of its courses and of those it answers for
        QHash<QString, QList<qint64>> anni;
        for (const Corso &c : corsi) {
            domanda += c.anni[0].calcolato();
            sedi[c.sede == 1001 ? c.compoResp : c.sede] += c.anni[0].calcolato();
            for (const Anno &y : c.anni)
                anni[c.codice] << y.calcolato();
        }

        // The course sheet, site by site, course by course.
        for (const qlonglong sede : {1, 2, 1001}) {
            a.sessione.impostaSede(QString::number(sede));
            Corsi f(*a.contesto);
            QVERIFY(f.carica());
            f.show();
            for (const Corso &c : corsi) {
                if (c.sede != sede)
                    continue;
                QCOMPARE(testo(&f, u"lblCorso"_s).trimmed(), c.codice);
                for (int y = 0; y < 3; ++y) {
                    const Anno zero{};
                    const Anno &x = y < c.anni.size() ? c.anni[y] : zero;
                    QCOMPARE(centesimi(testo(&f, u"lblTotAnno_%1"_s.arg(y))), x.totale());
                    QCOMPARE(centesimi(testo(&f, u"lblTot_%1"_s.arg(y))), x.calcolato());
                }
                clicca(&f, u"cmdNext"_s);
            }
            QCOMPARE(a.dialoghi.testiMessaggi(),
                     QStringList{u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s});
            a.dialoghi.messaggi.clear();
        }

        // The site totals, the component sheet's and the print's.
        for (const qlonglong sede : {1, 2})
            QCOMPARE(TotSpeseCorsiSede(a.db, a.sessione, sede).centesimi(), sedi[sede]);

        // The summary screen.
        {
            frmRiepDomanda r(*a.contesto);
            r.carica();
            QCOMPARE(testo(&r, u"txtNumCarCORSI"_s), u"100"_s);
            QCOMPARE(centesimi(testo(&r, u"txtTotCORSI"_s)), domanda);
            QCOMPARE(centesimi(testo(&r, u"txtTotCOMPL"_s)), domanda);
        }

        // The transmission file: one record E a year of each course, the year's total in value 46.
        {
            mCreaFileTrasm m(*a.contesto);
            m.setData(QDate(2009, 11, 30));
            QVERIFY(m.CreaFile(u"001"_s, u"A"_s, u"7"_s));
            QHash<QString, QList<qint64>> trasmessi;
            for (const QString &riga : daWindows1252(a.leggi(m.gNomeFileTrasm())).split(u"\r\n"_s, Qt::SkipEmptyParts)) {
                const QStringList v = riga.mid(1, riga.size() - 2).split(u"#,#"_s);
                if (v.value(0) == u"E"_s)
                    trasmessi[v.value(10)] << centesimi(v.value(46));
            }
            QCOMPARE(trasmessi, anni);
        }

        // The draft print: each course's years and total, the sites and the whole in the summary.
        {
            a.db.esegui(u"UPDATE Installazione SET DomandaStampata=0"_s);
            a.sessione.gDomandaStampata = 0;
            AvanzamentoStampa silenzioso;
            RichiestaStampa q;
            q.apriAlTermine = false;
            const EsitoStampa e = MotoreStampa(*a.contesto, silenzioso).esegui(q);
            QCOMPARE(e.stato, EsitoStampa::Stato::Completa);
            const QString pdf = testoPdf(e.filePdf);
            static const QRegularExpression corso(u"CORSO (\\d{4}) / 0: PREVENTIVO DI SPESA"_s);
            static const QRegularExpression importo(
                u"(Totale anno|Totale PREVENTIVO SPESE del corso \\(euro\\))\\s+(-?[\\d.]+,\\d\\d)"_s);
            QHash<QString, QList<qint64>> stampati, totali;
            QString codice;
            for (const QString &riga : pdf.split(u'\n')) {
                if (const auto m = corso.match(riga); m.hasMatch())
                    codice = m.captured(1);
                else if (const auto t = importo.match(riga); t.hasMatch())
                    (t.captured(1) == u"Totale anno"_s ? stampati : totali)[codice] << centesimi(t.captured(2));
            }
            QCOMPARE(stampati, anni);
            for (const Corso &c : corsi)
                QCOMPARE(totali.value(c.codice), QList<qint64>{c.totale()});
            const auto quadro =
                QRegularExpression(u"Contributo complessivo richiesto \\(primo anno, euro\\)\\s+([\\d.]+,\\d\\d)"_s).match(pdf);
            QVERIFY(quadro.hasMatch());
            QCOMPARE(centesimi(quadro.captured(1)), domanda);
            for (const qlonglong sede : {1, 2}) {
                const auto r =
                    QRegularExpression(u"\\n\\s*%1\\s+SEDE[^\\n]*\\s(\\d+)\\s+([\\d.]+,\\d\\d)\\s*\\n"_s.arg(sede)).match(pdf);
                QVERIFY2(r.hasMatch(), qPrintable(QString::number(sede)));
                QCOMPARE(centesimi(r.captured(2)), sedi[sede]);
            }
            QFile::remove(e.filePdf);
        }
    }
};

QTEST_MAIN(TestDenaro)
#include "tst_denaro.moc"
