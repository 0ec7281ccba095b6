// Faults met in the files: a birth date that is not eight digits, a decimal comma in a
// lookup file, Null counts and amounts in the transmission file, and a download from the
// command line that stopped at the first failed request.
#include "common/Codifica.h"
#include "common/Progresso.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"
#include "support/RigaDiComando.h"
#include "support/ServerFinto.h"
#include "transmission/CreaFileTrasm.h"
#include "support/Domanda.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

void scrivi(Ambiente &a, const QString &nome, const QStringList &righe)
{
    QByteArray b;
    for (const QString &r : righe)
        b += aWindows1252(r) + "\r\n";
    QFile f(a.percorso(nome));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(b);
}

// The files of one operator, A-1, born on the given date.
void fileOperatore(Ambiente &a, const QString &nascita)
{
    scrivi(a, QStringLiteral("oper.tx1"),
           {QStringLiteral("#A#,#1#,#ENTE UNO#,#EF#,#11111111111#,#ROSSI ANNA#,#ALFA#,#AA#,#%1#,#AA#,#1234567#,#2001#,"
                           "#101#")
                .arg(nascita)});
    scrivi(a, QStringLiteral("compo.tx1"),
           {QStringLiteral("#A#,#1#,#1#,#SL#,#SEDE LEGALE#,#001001#,#10100#,#VIA UNO 1#,#011#,#5551234#,##,##,##,##,##")});
    scrivi(a, QStringLiteral("corsipre.tx1"),
           {QStringLiteral("#9001#,#A#,#1#,#1#,##,#1#,#2007#,#0#,#CORSO VECCHIO#,#A#,#1#,#D#,#1#,#01#")});
}

QString nascita(Ambiente &a)
{
    return a.db.valoreScalare(QStringLiteral("SELECT LegGGNasc || '|' || LegMMNasc || '|' || LegAAAANasc FROM CorsiOper"))
        .toString();
}

QList<QStringList> record(const QString &file, const QString &tipo)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    QList<QStringList> r;
    for (const QString &riga : daWindows1252(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (riga.startsWith(u'#' + tipo + u'#'))
            r << riga.mid(1, riga.size() - 2).split(QStringLiteral("#,#"));
    return r;
}

} // namespace

class TestDifettiFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A birth date is eight digits or nothing, on install and on update alike.
    void dataDiNascita_data()
    {
        QTest::addColumn<bool>("aggiornamento");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("salvata"); // "" when the record is refused
        const QList<QPair<const char *, const char *>> date = {
            {"01021970", "01|02|1970"}, {"", "||"},      {"1/2/1970", ""}, {"0102197O", ""}, {"1021970", ""},
            {"010219700", ""},          {"01 21970", ""}};
        for (const bool agg : {false, true})
            for (const auto &[d, s] : date)
                QTest::addRow("%s '%s'", agg ? "aggiornamento" : "installazione", d) << agg << d << s;
    }
    void dataDiNascita()
    {
        QFETCH(bool, aggiornamento);
        QFETCH(QString, data);
        QFETCH(QString, salvata);
        Ambiente a;
        a.pronto();
        a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AA','ALFA','01')"));
        a.db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AA','10100')"));
        ProgressoCaricamento p;
        if (aggiornamento) {
            fileOperatore(a, QString());
            installaDatiOperatori(*a.contesto, p);
        }
        fileOperatore(a, data);
        const QString prima = nascita(a);
        bool caricato = false;
        if (aggiornamento)
            caricato = aggiornaDatiOperatori(*a.contesto, p);
        else
            caricato = !finisce([&] { installaDatiOperatori(*a.contesto, p); });
        QCOMPARE(caricato, !salvata.isEmpty());
        if (caricato) {
            QCOMPARE(a.dialoghi.messaggi.size(), 0);
            QCOMPARE(nascita(a), salvata);
            return;
        }
        QCOMPARE(a.dialoghi.messaggi[0].titolo,
                 aggiornamento ? QStringLiteral("Aggiornamento Base Dati - AggCorsiOper")
                               : QStringLiteral("Installazione Base Dati"));
        const QString testo = a.dialoghi.messaggi[0].testo;
        QVERIFY2(testo.startsWith(QStringLiteral("Errore 3421 --> data non valida nel campo 8")), qPrintable(testo));
        QVERIFY2(testo.contains(u'\'' + data + u'\''), qPrintable(testo));
        if (aggiornamento) {
            QCOMPARE(nascita(a), prima); // as before the update
        } else {
            a.apriDb();
            QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiOper")).toInt(), 0);
        }
    }

    // A number in a lookup file takes "." or "," before its decimals.
    void decimaliNeiFileTabella_data()
    {
        QTest::addColumn<QString>("parA1");
        QTest::addColumn<QString>("minOre");
        QTest::addColumn<double>("atteso"); // ParA1; -1 when the file is refused
        QTest::newRow("virgola") << "12,50"
                                 << "1" << 12.5;
        QTest::newRow("punto") << "12.50"
                               << "1" << 12.5;
        QTest::newRow("intero") << "12"
                                << "1" << 12.0;
        QTest::newRow("virgola in un intero") << "6,25"
                                              << "1,0" << 6.25;
        QTest::newRow("punto e virgola insieme") << "1.234,50"
                                                 << "1" << -1.0;
        QTest::newRow("due virgole") << "12,5,0"
                                     << "1" << -1.0;
    }
    void decimaliNeiFileTabella()
    {
        QFETCH(QString, parA1);
        QFETCH(QString, minOre);
        QFETCH(double, atteso);
        Ambiente a;
        a.pronto();
        const QString file = a.percorso(QStringLiteral("MassimaliPar.txt"));
        scrivi(a, QStringLiteral("MassimaliPar.txt"),
               {QStringLiteral("#INSTALLAZIONE#"),
                QStringLiteral("#I.A#,#01#,#01#,#10#,#%1#,#100#,#%2#,#15#,#6,00#,#5#,#NULL#").arg(minOre, parA1)});
        ProgressoCaricamento p;
        const bool finito = finisce([&] {
            caricaTabella(*a.contesto, file, QStringLiteral("MassimaliPar"),
                          terminiChiave(*a.contesto, QStringLiteral("MassimaliPar")), p);
        });
        QCOMPARE(finito, atteso < 0);
        if (finito) {
            QVERIFY2(a.dialoghi.ultimo().startsWith(QStringLiteral("Errore 3421 --> Tipo di dati non corrispondente nel campo "
                                                                   "'ParA1'")),
                     qPrintable(a.dialoghi.ultimo()));
            return;
        }
        QSqlQuery q = a.db.seleziona(QStringLiteral("SELECT ParA1, MinOre, ParA2 FROM MassimaliPar"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toDouble(), atteso);
        QCOMPARE(q.value(1).toInt(), 1);
        QCOMPARE(q.value(2).toDouble(), 6.0);
    }

    // A Null count or amount is an empty value; a zero stays 0 and 0.00.
    void valoriNulliNelFileDiTrasmissione_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("corso"); // Corso + Accorp
        QTest::addColumn<QList<int>>("posizioni");
        QTest::addColumn<QStringList>("valori");
        QList<int> spese;
        for (int i = 9; i <= 32; ++i)
            spese << i;
        spese.removeOne(22); // EnteErogatore, a text
        QTest::newRow("F di un corso senza spese") << "F"
                                                   << "00060" << spese << QStringList(spese.size(), QString());
        QTest::newRow("E di un corso senza spese: ore A1 e importo")
            << "E"
            << "00060" << QList<int>{44, 46} << QStringList{QString(), QString()};
        QTest::newRow("F con A2 nulli e altri a zero")
            << "F"
            << "00011" << QList<int>{12, 13, 14, 15, 16, 21} << QStringList{"", "", "", "0.00", "0", "0.00"};
        QTest::newRow("E con spese a zero") << "E"
                                            << "00030" << QList<int>{44, 46} << QStringList{"400", "0.00"};
    }
    void valoriNulliNelFileDiTrasmissione()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, corso);
        QFETCH(QList<int>, posizioni);
        QFETCH(QStringList, valori);
        Ambiente a;
        a.pronto();
        preparaDomanda(a);
        a.db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, DesQualif, "
                                   "NumAll, ATS) VALUES ('A', 7, 1, '0006', '0', 'CORSO SENZA SPESE', 12, 0)"));
        mCreaFileTrasm m(*a.contesto);
        m.setData(QDate(2009, 11, 30));
        QVERIFY2(m.CreaFile(QStringLiteral("001"), QStringLiteral("A"), QStringLiteral("7")), qPrintable(a.dialoghi.ultimo()));
        QStringList riga;
        for (const QStringList &r : record(a.percorso(m.gNomeFileTrasm()), tipo))
            if (r.value(tipo == u'F' ? 7 : 10) + r.value(tipo == u'F' ? 8 : 11) == corso)
                riga = r;
        QCOMPARE(riga.size(), tipo == u'F' ? 34 : 55);
        QStringList letti;
        for (int i : posizioni)
            letti << riga[i];
        QCOMPARE(letti, valori);
    }

    // From the command line the operators' data come even when the tables do not.
    void scaricoDaRigaDiComando()
    {
        ServerFinto server({QStringLiteral("--guasto"), QStringLiteral("aggiornatabelle:errore")});
        Ambiente a;
        a.pronto();
        server.configura(a.ini, a.dir.path());
        a.db.chiudi();
        const EsitoCli e = cli(a.dir.path(), {QStringLiteral("scarica"), QStringLiteral("--operatori"), QStringLiteral("A:101")});
        const QString &err = e.err;
        QCOMPARE(e.codice, 1); // one request failed
        QVERIFY2(err.contains(QStringLiteral("Installazione base dati - scarico tabelle di decodifica")), qPrintable(err));
        QVERIFY2(QFile::exists(a.percorso(QStringLiteral("oper.tx1"))), qPrintable(err));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("compo.tx1"))));
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("aggiorna.tab"))));
    }
};

QTEST_GUILESS_MAIN(TestDifettiFile)
#include "tst_difetti_file.moc"
