#include "common/Generale.h"
#include "support/Ambiente.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

class TestGenerale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void record_data()
    {
        colonne<QString, QStringList>("riga", "campi");
        QTest::newRow("virgole") << "#A#,#B#,#C#" << QStringList{"A", "B", "C"};
        QTest::newRow("separatori qualsiasi") << "#A#;#B#|#C#" << QStringList{"A", "B", "C"};
        QTest::newRow("campi vuoti") << "#A#,##,#C#" << QStringList{"A", "", "C"};
        QTest::newRow("spazi nel campo") << "# A B #,#C#" << QStringList{" A B ", "C"};
        QTest::newRow("ultimo non chiuso") << "#A#,#B" << QStringList{"A", "B"};
        QTest::newRow("ultimo vuoto") << "#A#,##" << QStringList{"A", ""};
        QTest::newRow("separatore finale") << "#A#," << QStringList{"A"};
        QStringList sessanta, primi;
        for (int i = 0; i < 60; ++i)
            sessanta << u"#%1#"_s.arg(i);
        for (int i = 0; i <= 50; ++i)
            primi << QString::number(i);
        QTest::newRow("oltre 51 campi") << sessanta.join(u',') << primi;
    }
    void record()
    {
        QFETCH(QString, riga);
        QFETCH(QStringList, campi);
        // Always 51 fields, the missing ones empty.
        QCOMPARE(dividiRecord(riga), campi + QList<QString>(51 - campi.size()));
    }

    void email_data()
    {
        colonne<QString, QString>("indirizzo", "messaggio");
        QTest::newRow("valido") << "mario.rossi@cfp-valdoria.it"
                                << "";
        QTest::newRow("virgola prima di tutto") << "a,b@x.it /"
                                                << "L'indirizzo e-mail non può contenere virgole.";
        QTest::newRow("barra") << "a/b@x.it"
                               << "L'indirizzo e-mail non può contenere il carattere '/'.";
        QTest::newRow("punti consecutivi") << "a..b@x.it"
                                           << "L'indirizzo e-mail non può contenere punti consecutivi.";
        const char *spazi = "L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente.";
        const char *punto = "L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non nella forma '@.'";
        QTest::newRow("spazio interno") << "a b@x.it" << spazi;
        QTest::newRow("spazio finale") << "a@x.it " << spazi;
        QTest::newRow("senza chiocciola") << "mario.x.it"
                                          << "L'indirizzo e-mail deve contenere il carattere '@'.";
        QTest::newRow("senza punto dopo @") << "mario@x" << punto;
        QTest::newRow("@.") << "mario@.x.it" << punto;
        QTest::newRow("niente prima di @")
            << "@x.it"
            << "L'indirizzo e-mail deve iniziare con il proprio user-name (es. 'mario.rossi', 'mrossi', ecc.)";
        QTest::newRow("due @ con dominio corretto") << "a@b@x.it"
                                                    << "L'indirizzo e-mail non può contenere più di 1 carattere '@'.";
        QTest::newRow("niente dopo l'ultimo punto")
            << "a@x.it."
            << "Dopo l'ultimo '.' deve essere specificato il provider (es. 'it', 'com', ecc.)";
        QTest::newRow("vuoto") << ""
                               << "E' indispensabile indicare un 'indirizzo e-mail valido.";
    }
    void email()
    {
        QFETCH(QString, indirizzo);
        QFETCH(QString, messaggio);
        QCOMPARE(controllaEmail(indirizzo), messaggio);
    }

    void data_data()
    {
        colonne<QString, QString>("testo", "attesa");
        QTest::newRow("10 caratteri") << "15/03/2009"
                                      << "15/03/2009";
        QTest::newRow("8 cifre") << "15032009"
                                 << "15/03/2009";
        QTest::newRow("altri separatori") << "15-03-2009"
                                          << "15/03/2009";
        QTest::newRow("31 aprile") << "31/04/2009"
                                   << "";
        QTest::newRow("31 giugno") << "31062009"
                                   << "";
        QTest::newRow("29 febbraio bisestile") << "29/02/2008"
                                               << "29/02/2008";
        QTest::newRow("29 febbraio 2000") << "29/02/2000"
                                          << "29/02/2000";
        QTest::newRow("29 febbraio non bisestile") << "29/02/2009"
                                                   << "";
        QTest::newRow("29 febbraio 1900") << "29/02/1900"
                                          << "";
        QTest::newRow("mese 13") << "01/13/2009"
                                 << "";
        QTest::newRow("giorno zero") << "00/01/2009"
                                     << "";
        QTest::newRow("lettere") << "1a/01/2009"
                                 << "";
        QTest::newRow("lunghezza sbagliata") << "1/1/2009"
                                             << "";
        QTest::newRow("vuoto") << ""
                               << "";
    }
    void data()
    {
        QFETCH(QString, testo);
        QFETCH(QString, attesa);
        QCOMPARE(controllaData(testo).value_or(QString()), attesa);
    }

    void telefono_data()
    {
        colonne<QString, QString, QString>("prefisso", "numero", "atteso");
        QTest::newRow("numero che inizia col prefisso") << "011"
                                                        << "0115551234"
                                                        << "0115551234";
        QTest::newRow("3 + 7 cifre") << "011"
                                     << "5551234"
                                     << "0115551234";
        QTest::newRow("oltre 13 cifre") << "01234"
                                        << "567890123"
                                        << "567890123";
        QTest::newRow("esattamente 13") << "0123"
                                        << "567890123"
                                        << "0123567890123";
        QTest::newRow("separatori tolti") << "(011)"
                                          << "555/12 34"
                                          << "0115551234";
        QTest::newRow("prefisso vuoto") << ""
                                        << "555 1234"
                                        << "5551234";
        QTest::newRow("tutto vuoto") << ""
                                     << ""
                                     << "";
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
        QCOMPARE(raddoppiaApici(u"L'AQUILA D'ORO"_s), u"L''AQUILA D''ORO"_s);
        QCOMPARE(raddoppiaApici(u"ROMA"_s), u"ROMA"_s);
        QCOMPARE(raddoppiaApici(QVariant()), QString());
        QCOMPARE(sostituisci(u"a#b#"_s, u"#"_s, u"SHARP"_s), u"aSHARPbSHARP"_s);
        QCOMPARE(sostituisci(u"abc"_s, u"x"_s, u"y"_s), u"abc"_s);
        QCOMPARE(elementoN(u"III.G  Inclusione sociale"_s, u" "_s, 0), u"III.G"_s);
        QCOMPARE(elementoN(u"A  12  NOME"_s, u"  "_s, 1), u"12"_s);
        QCOMPARE(elementoN(QString(), u" "_s, 0), QString());
        QCOMPARE(elementoN(u"a b"_s, u" "_s, 5), QString());
        QCOMPARE(dopoTrattino(u"AL - ALBARESE - X"_s), u"ALBARESE - X"_s);
        QCOMPARE(primaTrattino(u"12   - SEDE-NORD - SL"_s), u"12"_s);
        QCOMPARE(dopoTrattino(QString()), QString());
        QCOMPARE(primaTrattino(QString()), QString());
        QCOMPARE(riempiDavanti(u"12"_s, 4), u"  12"_s);
        QCOMPARE(riempiFinoA(u"12"_s, 4), u"12  "_s);
        QCOMPARE(segnoTroncato(QString(20, u'x'), 20), u" "_s);
        QCOMPARE(segnoTroncato(QString(21, u'x'), 20), u"."_s);
    }

    void riempimenti_data()
    {
        colonne<QString, QString>("lato", "atteso");
        QTest::newRow("dx") << "dx"
                            << "   12";
        QTest::newRow("sx") << "sx"
                            << "12   ";
        QTest::newRow("altro") << "centro"
                               << "";
    }
    void riempimenti()
    {
        QFETCH(QString, lato);
        QFETCH(QString, atteso);
        QCOMPARE(riempi(u"12"_s, 5, lato), atteso);
    }

    void valoriTipizzati()
    {
        QCOMPARE(valoreTipizzato(u"  abc "_s, u"S"_s).toString(), u"abc"_s);
        QCOMPARE(valoreTipizzato(u"12"_s, u"I"_s).typeId(), QMetaType::Short);
        QCOMPARE(valoreTipizzato(u"70000"_s, u"L"_s).toInt(), 70000);
        QCOMPARE(valoreTipizzato(u"12,5"_s, u"DBL"_s).toDouble(), 12.5);
        QCOMPARE(valoreTipizzato(u"-1"_s, u"B"_s).toBool(), true);
        QCOMPARE(valoreTipizzato(u"0"_s, u"B"_s).toBool(), false);
        QCOMPARE(valoreTipizzato(u"29022008"_s, u"D"_s).toDate(), QDate(2008, 2, 29));
        QCOMPARE(maiuscolo('a'), int('A'));
        QCOMPARE(maiuscolo(0xE8), 0xC8); // è
        QCOMPARE(maiuscolo('1'), int('1'));
    }

    void file()
    {
        Ambiente a;
        a.scrivi(u"Comuni.TXT"_s, "x\r\n");
        a.scrivi(u"vuoto.txt"_s, {});
        QCOMPARE(trovaFile(a.dir.path(), u"comuni.txt"_s), a.percorso(u"Comuni.TXT"_s));
        QCOMPARE(trovaFile(a.dir.path(), u"manca.txt"_s), QString());
        QVERIFY(fileHaRighe(a.percorso(u"Comuni.TXT"_s)));
        QVERIFY(fileVuoto(a.percorso(u"manca.txt"_s)));
        QVERIFY(fileVuoto(a.percorso(u"vuoto.txt"_s)));
        QVERIFY(spostaFile(a.percorso(u"Comuni.TXT"_s), a.percorso(u"CAR/Comuni.txt"_s)));
        QVERIFY(!a.esiste(u"Comuni.TXT"_s));
        QCOMPARE(leggiFileTesto(a.percorso(u"CAR"_s), u"Comuni.txt"_s), u"x"_s);
        // A file that is gone cannot be moved again, and what was moved stays.
        QVERIFY(!spostaFile(a.percorso(u"Comuni.TXT"_s), a.percorso(u"CAR/Comuni.txt"_s)));
        QVERIFY(a.esiste(u"CAR/Comuni.txt"_s));
    }
};

QTEST_GUILESS_MAIN(TestGenerale)
#include "tst_generale.moc"
