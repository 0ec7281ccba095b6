#include "common/Generale.h"
#include "support/Ambiente.h"

#include <QFile>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;

class TestGenerale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void record_data()
    {
        QTest::addColumn<QString>("riga");
        QTest::addColumn<QStringList>("campi");
        QTest::newRow("virgole") << "#A#,#B#,#C#" << QStringList{"A", "B", "C"};
        QTest::newRow("separatori qualsiasi") << "#A#;#B#|#C#" << QStringList{"A", "B", "C"};
        QTest::newRow("campi vuoti") << "#A#,##,#C#" << QStringList{"A", "", "C"};
        QTest::newRow("spazi nel campo") << "# A B #,#C#" << QStringList{" A B ", "C"};
        QTest::newRow("ultimo non chiuso") << "#A#,#B" << QStringList{"A", "B"};
        QTest::newRow("ultimo vuoto") << "#A#,##" << QStringList{"A", ""};
        QTest::newRow("separatore finale") << "#A#," << QStringList{"A"};
    }
    void record()
    {
        QFETCH(QString, riga);
        QFETCH(QStringList, campi);
        const QStringList r = dividiRecord(riga);
        QCOMPARE(r.size(), kCampiRecord);
        QCOMPARE(r.mid(0, campi.size()), campi);
        for (int i = static_cast<int>(campi.size()); i < kCampiRecord; ++i)
            QCOMPARE(r[i], QString());
    }
    void recordTroppiCampi()
    {
        QStringList c;
        for (int i = 0; i < 60; ++i)
            c << QStringLiteral("#%1#").arg(i);
        const QStringList r = dividiRecord(c.join(QLatin1Char(',')));
        QCOMPARE(r.size(), kCampiRecord);
        QCOMPARE(r.last(), QStringLiteral("50"));
    }

    void email_data()
    {
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("valido") << "mario.rossi@cfp-valdoria.it" << "";
        QTest::newRow("virgola prima di tutto") << "a,b@x.it /" << "L'indirizzo e-mail non può contenere virgole.";
        QTest::newRow("barra") << "a/b@x.it" << "L'indirizzo e-mail non può contenere il carattere '/'.";
        QTest::newRow("punti consecutivi") << "a..b@x.it" << "L'indirizzo e-mail non può contenere punti consecutivi.";
        QTest::newRow("spazio interno") << "a b@x.it"
                                        << "L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente.";
        QTest::newRow("spazio finale") << "a@x.it "
                                       << "L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente.";
        QTest::newRow("senza chiocciola") << "mario.x.it" << "L'indirizzo e-mail deve contenere il carattere '@'.";
        QTest::newRow("senza punto dopo @")
            << "mario@x" << "L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non nella forma '@.'";
        QTest::newRow("@.") << "mario@.x.it"
                            << "L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non nella forma '@.'";
        QTest::newRow("niente prima di @")
            << "@x.it" << "L'indirizzo e-mail deve iniziare con il proprio user-name (es. 'mario.rossi', 'mrossi', ecc.)";
        QTest::newRow("due @ con dominio corretto") << "a@b@x.it"
                                                    << "L'indirizzo e-mail non può contenere più di 1 carattere '@'.";
        QTest::newRow("niente dopo l'ultimo punto")
            << "a@x.it." << "Dopo l'ultimo '.' deve essere specificato il provider (es. 'it', 'com', ecc.)";
        QTest::newRow("vuoto") << "" << "E' indispensabile indicare un 'indirizzo e-mail valido.";
    }
    void email()
    {
        QFETCH(QString, indirizzo);
        QFETCH(QString, messaggio);
        QCOMPARE(controllaEmail(indirizzo), messaggio);
    }

    void data_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("attesa");
        QTest::newRow("10 caratteri") << "15/03/2009" << "15/03/2009";
        QTest::newRow("8 cifre") << "15032009" << "15/03/2009";
        QTest::newRow("altri separatori") << "15-03-2009" << "15/03/2009";
        QTest::newRow("31 aprile") << "31/04/2009" << "";
        QTest::newRow("31 giugno") << "31062009" << "";
        QTest::newRow("29 febbraio bisestile") << "29/02/2008" << "29/02/2008";
        QTest::newRow("29 febbraio 2000") << "29/02/2000" << "29/02/2000";
        QTest::newRow("29 febbraio non bisestile") << "29/02/2009" << "";
        QTest::newRow("29 febbraio 1900") << "29/02/1900" << "";
        QTest::newRow("mese 13") << "01/13/2009" << "";
        QTest::newRow("giorno zero") << "00/01/2009" << "";
        QTest::newRow("lettere") << "1a/01/2009" << "";
        QTest::newRow("lunghezza sbagliata") << "1/1/2009" << "";
        QTest::newRow("vuoto") << "" << "";
    }
    void data()
    {
        QFETCH(QString, testo);
        QFETCH(QString, attesa);
        QCOMPARE(controllaData(testo).value_or(QString()), attesa);
    }

    void telefono_data()
    {
        QTest::addColumn<QString>("prefisso");
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("numero che inizia col prefisso") << "011" << "0115551234" << "0115551234";
        QTest::newRow("3 + 7 cifre") << "011" << "5551234" << "0115551234";
        QTest::newRow("oltre 13 cifre") << "01234" << "567890123" << "567890123";
        QTest::newRow("esattamente 13") << "0123" << "567890123" << "0123567890123";
        QTest::newRow("separatori tolti") << "(011)" << "555/12 34" << "0115551234";
        QTest::newRow("prefisso vuoto") << "" << "555 1234" << "5551234";
        QTest::newRow("tutto vuoto") << "" << "" << "";
    }
    void telefono()
    {
        QFETCH(QString, prefisso);
        QFETCH(QString, numero);
        QFETCH(QString, atteso);
        QCOMPARE(unisciTelefono(prefisso, numero, 13), atteso);
    }

    void testi()
    {
        QCOMPARE(raddoppiaApici(QStringLiteral("L'AQUILA D'ORO")), QStringLiteral("L''AQUILA D''ORO"));
        QCOMPARE(raddoppiaApici(QStringLiteral("ROMA")), QStringLiteral("ROMA"));
        QCOMPARE(raddoppiaApici(QVariant()), QString());
        QCOMPARE(sostituisci(QStringLiteral("a#b#"), QStringLiteral("#"), QStringLiteral("SHARP")), QStringLiteral("aSHARPbSHARP"));
        QCOMPARE(sostituisci(QStringLiteral("abc"), QStringLiteral("x"), QStringLiteral("y")), QStringLiteral("abc"));
        QCOMPARE(elementoN(QStringLiteral("III.G  Inclusione sociale"), QStringLiteral(" "), 0), QStringLiteral("III.G"));
        QCOMPARE(elementoN(QStringLiteral("A  12  NOME"), QStringLiteral("  "), 1), QStringLiteral("12"));
        QCOMPARE(elementoN(QString(), QStringLiteral(" "), 0), QString());
        QCOMPARE(elementoN(QStringLiteral("a b"), QStringLiteral(" "), 5), QString());
        QCOMPARE(dopoTrattino(QStringLiteral("AL - ALBARESE - X")), QStringLiteral("ALBARESE - X"));
        QCOMPARE(primaTrattino(QStringLiteral("12   - SEDE-NORD - SL")), QStringLiteral("12"));
        QCOMPARE(dopoTrattino(QString()), QString());
        QCOMPARE(primaTrattino(QString()), QString());
    }

    void riempimenti_data()
    {
        QTest::addColumn<QString>("lato");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("dx") << "dx" << "   12";
        QTest::newRow("sx") << "sx" << "12   ";
        QTest::newRow("altro") << "centro" << "";
    }
    void riempimenti()
    {
        QFETCH(QString, lato);
        QFETCH(QString, atteso);
        QCOMPARE(riempi(QStringLiteral("12"), 5, lato), atteso);
        QCOMPARE(riempiDavanti(QStringLiteral("12"), 4), QStringLiteral("  12"));
        QCOMPARE(riempiFinoA(QStringLiteral("12"), 4), QStringLiteral("12  "));
        QCOMPARE(segnoTroncato(QString(20, QLatin1Char('x')), 20), QStringLiteral(" "));
        QCOMPARE(segnoTroncato(QString(21, QLatin1Char('x')), 20), QStringLiteral("."));
    }

    void valoriTipizzati()
    {
        QCOMPARE(valoreTipizzato(QStringLiteral("  abc "), QStringLiteral("S")).toString(), QStringLiteral("abc"));
        QCOMPARE(valoreTipizzato(QStringLiteral("12"), QStringLiteral("I")).typeId(), QMetaType::Short);
        QCOMPARE(valoreTipizzato(QStringLiteral("70000"), QStringLiteral("L")).toInt(), 70000);
        QCOMPARE(valoreTipizzato(QStringLiteral("12,5"), QStringLiteral("DBL")).toDouble(), 12.5);
        QCOMPARE(valoreTipizzato(QStringLiteral("-1"), QStringLiteral("B")).toBool(), true);
        QCOMPARE(valoreTipizzato(QStringLiteral("0"), QStringLiteral("B")).toBool(), false);
        QCOMPARE(valoreTipizzato(QStringLiteral("29022008"), QStringLiteral("D")).toDate(), QDate(2008, 2, 29));
        QCOMPARE(maiuscolo('a'), int('A'));
        QCOMPARE(maiuscolo(0xE8), 0xC8); // è
        QCOMPARE(maiuscolo('1'), int('1'));
    }

    void file()
    {
        Ambiente a;
        QFile f(a.percorso(QStringLiteral("Comuni.TXT")));
        f.open(QIODevice::WriteOnly);
        f.write("x\r\n");
        f.close();
        QCOMPARE(trovaFile(a.dir.path(), QStringLiteral("comuni.txt")), a.percorso(QStringLiteral("Comuni.TXT")));
        QCOMPARE(trovaFile(a.dir.path(), QStringLiteral("manca.txt")), QString());
        QVERIFY(fileHaRighe(a.percorso(QStringLiteral("Comuni.TXT"))));
        QVERIFY(fileVuoto(a.percorso(QStringLiteral("manca.txt"))));
        QFile v(a.percorso(QStringLiteral("vuoto.txt")));
        v.open(QIODevice::WriteOnly);
        v.close();
        QVERIFY(fileVuoto(a.percorso(QStringLiteral("vuoto.txt"))));
        QVERIFY(spostaFile(a.percorso(QStringLiteral("Comuni.TXT")), a.percorso(QStringLiteral("CAR/Comuni.txt"))));
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("Comuni.TXT"))));
        QCOMPARE(leggiFileTesto(a.percorso(QStringLiteral("CAR")), QStringLiteral("Comuni.txt")), QStringLiteral("x"));
        QVERIFY(!spostaFile(a.percorso(QStringLiteral("Comuni.TXT")), a.percorso(QStringLiteral("CAR/Comuni.txt"))));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("CAR/Comuni.txt"))));
    }
};

QTEST_GUILESS_MAIN(TestGenerale)
#include "tst_generale.moc"
