// Whole-file oddities of the data files, and lookup files that name the agency's own
// tables: nothing is lost or replaced silently.
#include "common/Generale.h"
#include "common/Progresso.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"
#include "support/Ambiente.h"
#include "support/Memoria.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;
using quirdal::test::finisce;

namespace {

struct Cartella : Ambiente {
    ProgressoCaricamento progresso;
    Cartella()
    {
        pronto();
        db.esegui(QStringLiteral("INSERT INTO Province VALUES ('009', 'ZZ', 'VECCHIA', '01')"));
        db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AL','10100')"));
    }
    void scrivi(const QString &nome, const QByteArray &byte)
    {
        QFile f(percorso(nome));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(byte);
    }
    QString valore(const QString &sql) { return db.valoreScalare(sql).toString(); }
    QString province() { return lista(QStringLiteral("SELECT PROV || SigProv FROM Province ORDER BY PROV")); }
    // What the agency's own tables hold.
    QString tabelleDellEnte()
    {
        return lista(QStringLiteral("SELECT NumDoma || DomandaStampata FROM Installazione ORDER BY Prov"))
            + lista(QStringLiteral("SELECT Corso FROM CorsiProp ORDER BY Corso, Accorp"))
            + lista(QStringLiteral("SELECT Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"));
    }
    // Three operators, each with its registered office, in the given line ends.
    void operatori(const QByteArray &fine, const QByteArray &inizio = {})
    {
        QByteArray oper = inizio, compo;
        for (const char *n : {"1", "2", "3"}) {
            oper += "#A#,#" + QByteArray(n) + "#,#ENTE " + n + "#,#EF#,#1#,##,##,##,##,##,##,##,#101#" + fine;
            compo += "#A#,#" + QByteArray(n) + "#,#1#,#SL#,#SEDE#,#001001#,#10100#,#VIA#,##,##,##,##,##,##,##" + fine;
        }
        scrivi(QStringLiteral("oper.tx1"), oper);
        scrivi(QStringLiteral("compo.tx1"), compo);
        scrivi(QStringLiteral("corsipre.tx1"), "#9001#,#A#,#1#,#1#,##,#1#,#2007#,#0#,#X#,#A#,#1#,#D#,#1#,#01#" + fine);
    }
};

} // namespace

class TestFileAnomali : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void righe_data()
    {
        QTest::addColumn<QByteArray>("byte");
        QTest::addColumn<QStringList>("righe");
        QTest::newRow("CR LF, LF, CR") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("righe vuote") << QByteArray("a\r\r\n\nb\r\n") << QStringList{"a", "", "", "b"};
        QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF#x#\r\n") << QStringList{"#x#"};
        QTest::newRow("BOM solo all'inizio")
            << QByteArray("a\n\xEF\xBB\xBF") << QStringList{"a", QString::fromLatin1("\xEF\xBB\xBF")};
        // CR the last byte of a piece read, LF the first of the next: one line end.
        QTest::newRow("CR LF a cavallo") << QByteArray(65535, 'x') + "\r\nb\rc" << QStringList{QString(65535, 'x'), "b", "c"};
        QTest::newRow("riga lunga") << QByteArray(200000, 'y') + "\nz" << QStringList{QString(200000, 'y'), "z"};
    }
    void righe()
    {
        QFETCH(QByteArray, byte);
        QFETCH(QStringList, righe);
        QBuffer b(&byte);
        b.open(QIODevice::ReadOnly);
        LettoreRighe l(b);
        QStringList lette;
        QByteArray r;
        while (l.prossima(r))
            lette << QString::fromLatin1(r);
        QCOMPARE(lette, righe);
        QCOMPARE(l.numero(), righe.size());
    }

    // Line ends of any kind, and a byte-order mark before the header, load every record
    // in the mode the header gives.
    void tabelle_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("province");
        const QByteArray righe[] = {"#001#,#AL#,#ALBARESE#,#01#", "#002#,#BO#,#BORGALTO#,#01#"};
        QTest::newRow("solo CR") << "#X#\r" + righe[0] + "\r" + righe[1] + "\r"
                                 << "001AL,002BO";
        QTest::newRow("solo LF") << "#X#\n" + righe[0] + "\n" + righe[1] << "001AL,002BO";
        QTest::newRow("misti") << "#X#\r\n" + righe[0] + "\r" + righe[1] + "\n"
                               << "001AL,002BO";
        QTest::newRow("BOM e AGGIORNAMENTO") << "\xEF\xBB\xBF#AGGIORNAMENTO#\r\n" + righe[0] + "\r\n"
                                             << "001AL,009ZZ";
    }
    void tabelle()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, province);
        Cartella a;
        a.scrivi(QStringLiteral("installa.tab"), "");
        a.scrivi(QStringLiteral("Province.txt"), contenuto);
        passoTabelle(*a.contesto, a.progresso);
        QCOMPARE(a.province(), province);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    void operatori_data()
    {
        QTest::addColumn<QByteArray>("fine");
        QTest::addColumn<QByteArray>("inizio");
        QTest::newRow("solo CR") << QByteArray("\r") << QByteArray();
        QTest::newRow("solo LF") << QByteArray("\n") << QByteArray();
        QTest::newRow("BOM") << QByteArray("\r\n") << QByteArray("\xEF\xBB\xBF");
    }
    void operatori()
    {
        QFETCH(QByteArray, fine);
        QFETCH(QByteArray, inizio);
        Cartella a;
        a.operatori(fine, inizio);
        QVERIFY2(!finisce([&] { installaDatiOperatori(*a.contesto, a.progresso); }), qPrintable(a.dialoghi.ultimo()));
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QCOMPARE(a.lista(QStringLiteral("SELECT Operatore || Denominazione FROM CorsiOper ORDER BY Operatore")),
                 QStringLiteral("1ENTE 1,2ENTE 2,3ENTE 3"));
        QCOMPARE(a.valore(QStringLiteral("SELECT count(*) FROM CorsiCompo")), QStringLiteral("3"));
    }

    // A NUL byte makes the record bad, as any other bad record.
    void carattereNulloTabella()
    {
        Cartella a;
        a.scrivi(QStringLiteral("installa.tab"), "");
        a.scrivi(QStringLiteral("Province.txt"), QByteArray("#X#\r\n#001#,#A\0L#,#ALFA#,#01#\r\n", 30));
        QVERIFY(finisce([&] { passoTabelle(*a.contesto, a.progresso); }));
        QVERIFY2(a.dialoghi.ultimo().contains(QStringLiteral("la riga 2 del file contiene un carattere nullo\r\ndurante "
                                                             "l'aggiornamento della tabella Province, record 1.")),
                 qPrintable(a.dialoghi.ultimo()));
        a.apriDb();
        QCOMPARE(a.province(), QStringLiteral("009ZZ"));
    }

    void carattereNulloOperatori()
    {
        Cartella a;
        a.operatori("\r\n");
        QFile oper(a.percorso(QStringLiteral("oper.tx1")));
        QVERIFY(oper.open(QIODevice::ReadWrite));
        QByteArray byte = oper.readAll();
        byte.replace("ENTE 2", QByteArray("EN\0E 2", 6));
        oper.seek(0);
        oper.write(byte);
        oper.close();
        QVERIFY(finisce([&] { installaDatiOperatori(*a.contesto, a.progresso); }));
        QVERIFY2(a.dialoghi.ultimo().contains(QStringLiteral("la riga 2 del file oper.tx1 contiene un carattere nullo\r\n"
                                                             "durante il caricamento dei dati anagrafici dell' OPERATORE/I")),
                 qPrintable(a.dialoghi.ultimo()));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("BAD/oper.car"))));
        a.apriDb();
        QCOMPARE(a.valore(QStringLiteral("SELECT count(*) FROM CorsiOper")), QStringLiteral("0"));
    }

    // The agency's own tables are never loaded from a lookup file, whatever the flag and
    // the header say; any other table of the database still loads from its file.
    void tabelleDellEnte()
    {
        Cartella a;
        a.db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata, "
                                   "NumDoma) VALUES ('A', 1, '001', 1, -1, '123')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, 'ENTE')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp) VALUES "
                                   "('A', 1, 1, '0001', '0')"));
        const QString prima = a.tabelleDellEnte();
        QCOMPARE(prima, QStringLiteral("123-10001ENTE"));
        a.scrivi(QStringLiteral("installa.tab"), "");
        for (const char *t : {"Installazione.txt", "CorsiProp.txt", "corsioper.TXT", "ValoriChk.txt", "CorsiCompo.txt"})
            a.scrivi(QString::fromLatin1(t), "#INSTALLAZIONE#\r\n"); // would empty the table
        a.scrivi(QStringLiteral("Province.txt"), "#X#\r\n#001#,#AL#,#ALFA#,#01#\r\n");
        a.scrivi(QStringLiteral("Legami.txt"), "#X#\r\n#001#,#7#\r\n");
        passoTabelle(*a.contesto, a.progresso);
        QCOMPARE(a.tabelleDellEnte(), prima);
        QCOMPARE(a.province(), QStringLiteral("001AL"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Prov || ID FROM Legami")), QStringLiteral("0017"));
        QCOMPARE(
            caricaTabella(*a.contesto, a.percorso(QStringLiteral("CorsiProp.txt")), QStringLiteral("CorsiProp"), {}, a.progresso),
            0);
        QCOMPARE(a.valore(QStringLiteral("SELECT count(*) FROM CorsiProp")), QStringLiteral("1"));
    }

    // A load reads a record at a time: its memory does not grow with the file.
    void fileGrande()
    {
        Cartella a;
        a.scrivi(QStringLiteral("installa.tab"), "");
        QFile f(a.percorso(QStringLiteral("Certif.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#INSTALLAZIONE#\r\n");
        const QByteArray descrizione(250, 'D');
        for (int i = 0; i < 125000; ++i) // 32 MB
            f.write("#" + QByteArray::number(i) + "#,#" + descrizione + "#\r\n");
        f.close();
        const test::PiccoMemoria picco;
        passoTabelle(*a.contesto, a.progresso);
        QVERIFY2(picco.crescitaMB() < 24, qPrintable(QString::number(picco.crescitaMB())));
        QCOMPARE(a.valore(QStringLiteral("SELECT count(*) FROM Certif")), QStringLiteral("125000"));
    }
};

QTEST_GUILESS_MAIN(TestFileAnomali)
#include "tst_file_anomali.moc"
