// Control characters never reach a free text: not from a loaded operator or lookup file,
// not from a typed text when the user leaves the field, and not into the transmission
// file from values a restore brought into the database, whose file stays byte for byte
// the reference one.
#include "common/Progresso.h"
#include "common/Testo.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"
#include "operator/Scelte.h"
#include "support/Domanda.h"
#include "transmission/CreaFileTrasm.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// A data file written byte for byte, "@" standing for the bytes under test.
void scriviDati(Ambiente &a, const QString &nome, const QByteArrayList &righe, const QByteArray &byte)
{
    QByteArray b;
    for (QByteArray r : righe)
        b += r.replace('@', byte) + "\r\n";
    QVERIFY(a.scrivi(nome, b));
}

} // namespace

class TestCaratteriDiControllo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A text as the common rule leaves it, and as a typed text is taken on leaving its
    // field ("#" then becomes "SHARP").
    void testoLibero_data()
    {
        colonne<QString, QString, QString>("testo", "pulito", "digitato");
        QTest::newRow("pulito") << "VIA ROMA 1 #2"
                                << "VIA ROMA 1 #2"
                                << "VIA ROMA 1 SHARP2";
        QTest::newRow("NUL") << u"VIA\u0000ROMA"_s << "VIAROMA"
                             << "VIAROMA";
        QTest::newRow("SOH ed ESC") << u"\u0001VIA\u001BROMA"_s << "VIAROMA"
                                    << "VIAROMA";
        QTest::newRow("TAB") << u"VIA\tROMA"_s << "VIA ROMA"
                             << "VIA ROMA";
        QTest::newRow("DEL") << u"VIA\u007FROMA"_s << "VIAROMA"
                             << "VIAROMA";
        QTest::newRow("C1 dal primo all'ultimo") << u"\u0080VIA\u0085RO\u009FMA"_s << "VIAROMA"
                                                 << "VIAROMA";
        QTest::newRow("i cinque indefiniti di Windows-1252") << u"V\u0081I\u008DA\u008F \u0090R\u009DOMA"_s << "VIA ROMA"
                                                             << "VIA ROMA";
        QTest::newRow("a capo restano") << u"RIGA UNO\r\nRIGA\nDUE"_s << u"RIGA UNO\r\nRIGA\nDUE"_s << u"RIGA UNO\r\nRIGA\nDUE"_s;
        QTest::newRow("non controlli") << u"€ … à\u00A0Ÿ"_s << u"€ … à\u00A0Ÿ"_s << u"€ … à\u00A0Ÿ"_s;
        QTest::newRow("solo controlli") << u"\u0001\u0002\u001F"_s << ""
                                        << "";
    }
    void testoLibero()
    {
        QFETCH(QString, testo);
        QFETCH(QString, pulito);
        QFETCH(QString, digitato);
        QCOMPARE(senzaCaratteriDiControllo(testo), pulito);
        QCOMPARE(senzaCancelletto(testo), digitato);
    }

    // Bytes inside a text field of the operator files and of a lookup file, as stored:
    // "@" is where the bytes were; "" when the file is refused.
    void fileCaricati_data()
    {
        colonne<QByteArray, QString>("byte", "salvato");
        QTest::newRow("SOH") << QByteArray("\x01") << "UNO@DUE";
        QTest::newRow("ESC") << QByteArray("\x1B") << "UNO@DUE";
        QTest::newRow("TAB") << QByteArray("\t") << "UNO DUE";
        QTest::newRow("DEL") << QByteArray("\x7F") << "UNO@DUE";
        QTest::newRow("altri C0") << QByteArray("\x02\x07\x08\x0B\x0C\x1A\x1F") << "UNO@DUE";
        QTest::newRow("i cinque indefiniti") << QByteArray("\x81\x8D\x8F\x90\x9D") << "UNO@DUE";
        // The code page's own characters in that range stay.
        QTest::newRow("euro e puntini") << QByteArray("\x80\x85") << "UNO€…DUE";
        QTest::newRow("NUL") << QByteArray(1, '\0') << "";
    }
    void fileCaricati()
    {
        QFETCH(QByteArray, byte);
        QFETCH(QString, salvato);
        const QString atteso = QString(salvato).replace(u'@', QString());
        const bool rifiutato = salvato.isEmpty();
        Ambiente a;
        a.pronto();
        a.db.esegui(u"INSERT INTO Province VALUES ('001','AA','ALFA','01')"_s);
        a.db.esegui(u"INSERT INTO Comuni VALUES ('001001','ALFA','001','AA','10100')"_s);
        scriviDati(a, u"oper.tx1"_s,
                   {"#A#,#1#,#ENTE UNO@DUE#,#EF#,#11111111111#,#ROSSI@ANNA#,#ALFA#,#AA#,#01021970#,#AA#,"
                    "#1234567#,#2001#,#101#"},
                   byte);
        scriviDati(a, u"compo.tx1"_s,
                   {"#A#,#1#,#1#,#SL#,#SEDE LEGALE#,#001001#,#10100#,#VIA UNO@DUE#,#011#,#5551234#,##,##,##,##,#@#"}, byte);
        scriviDati(a, u"corsipre.tx1"_s, {"#9001#,#A#,#1#,#1#,##,#1#,#2007#,#0#,#CORSO UNO@DUE#,#A#,#1#,#D#,#1#,#01#"}, byte);
        ProgressoCaricamento p;
        QCOMPARE(finisce([&] { installaDatiOperatori(*a.contesto, p); }), rifiutato);
        if (rifiutato) {
            QVERIFY2(a.dialoghi.ultimo().contains(u"contiene un carattere nullo"_s), qPrintable(a.dialoghi.ultimo()));
            a.apriDb();
            QCOMPARE(a.conta(u"CorsiOper"_s), 0);
        } else {
            QCOMPARE(a.valore(u"SELECT Denominazione || '|' || LegNome FROM CorsiOper"_s),
                     u"ENTE "_s + atteso + u"|ROSSI"_s + QString(atteso).remove(u"UNO"_s).remove(u"DUE"_s) + u"ANNA"_s);
            QCOMPARE(a.valore(u"SELECT Indirizzo || '|' || Email FROM CorsiCompo"_s),
                     u"VIA "_s + atteso + u'|' + QString(atteso).remove(u"UNO"_s).remove(u"DUE"_s).trimmed());
            QCOMPARE(a.valore(u"SELECT Denomina FROM PrecCorsi"_s), u"CORSO "_s + atteso);
        }

        // A lookup file: the text column cleaned, then cut to its width (Denominazione: 50).
        a.dialoghi.messaggi.clear();
        const QByteArray lungo(47, 'X');
        scriviDati(
            a, u"Comuni.txt"_s,
            {"#INSTALLAZIONE#", "#002001#,#BETA@UNO@DUE#,#001#,#AA#,#10200#", "#002002#,#" + lungo + "@YYYY#,#001#,#AA#,#10300#"},
            byte);
        const bool finito = finisce([&] {
            caricaTabella(*a.contesto, a.percorso(u"Comuni.txt"_s), u"Comuni"_s, terminiChiave(*a.contesto, u"Comuni"_s), p);
        });
        QCOMPARE(finito, rifiutato);
        if (rifiutato) {
            QVERIFY2(a.dialoghi.ultimo().contains(u"contiene un carattere nullo"_s), qPrintable(a.dialoghi.ultimo()));
            return;
        }
        const QString soloSeparatore = QString(atteso).remove(u"UNO"_s).remove(u"DUE"_s);
        QCOMPARE(a.lista(u"SELECT Denominazione FROM Comuni ORDER BY CodComune"_s, u"|"_s),
                 u"BETA"_s + soloSeparatore + atteso + u'|' + (QString::fromLatin1(lungo) + soloSeparatore + u"YYYY"_s).left(50));
    }

    // Values with control characters put straight into the database, as a restore of an
    // older archive would bring them; each comes back to the reference value once they
    // are dropped (a tab where the reference has a blank), so the whole file must be
    // the reference one.
    void valoriSalvatiNelFile_data()
    {
        // valore: the text bound to the statement's one parameter
        colonne<QString, QString, QString, QString>("sql", "valore", "lettura", "salvato");
        QTest::newRow("NUL nel testo del record N")
            << "UPDATE CorsiProp SET Sez34_2 = replace(Sez34_2, 'UNO', ?) WHERE Corso='0001' AND Accorp='0'" << u"U\u0000NO"_s
            << "SELECT Sez34_2 FROM CorsiProp WHERE Corso='0001' AND Accorp='0'" << u"RIGA U\u0000NO\r\nRIGA DUE"_s;
        QTest::newRow("SOH ed ESC nei record B e C")
            << "UPDATE CorsiCompo SET Indirizzo = ? WHERE Componente=1" << u"VIA\u0001 UNO\u001B 1"_s
            << "SELECT Indirizzo FROM CorsiCompo WHERE Componente=1" << u"VIA\u0001 UNO\u001B 1"_s;
        QTest::newRow("TAB nel record A") << "UPDATE CorsiOper SET LegNome = ?" << u"BIANCHI\tMARIA"_s
                                          << "SELECT LegNome FROM CorsiOper" << u"BIANCHI\tMARIA"_s;
        QTest::newRow("DEL e C1 in un testo accentato")
            << "UPDATE CorsiOper SET Denominazione = ?" << u"ENTE\u007F SETTE\u0081\u008D\u008F\u0090\u009D À\u0085"_s
            << "SELECT Denominazione FROM CorsiOper" << u"ENTE\u007F SETTE\u0081\u008D\u008F\u0090\u009D À\u0085"_s;
        QTest::newRow("C1 nel record E") << "UPDATE CorsiProp SET DesQualif = ? WHERE Corso='0001' AND Accorp='0'"
                                         << u"OPERATORE\u0080 GRAFICO\u009F"_s
                                         << "SELECT DesQualif FROM CorsiProp WHERE Corso='0001' AND Accorp='0'"
                                         << u"OPERATORE\u0080 GRAFICO\u009F"_s;
    }
    void valoriSalvatiNelFile()
    {
        QFETCH(QString, sql);
        QFETCH(QString, valore);
        QFETCH(QString, lettura);
        QFETCH(QString, salvato);
        Ambiente a;
        a.pronto();
        preparaDomanda(a);
        // A text on the server cannot hold a NUL at all: no restore can bring one there.
        if (a.suServer() && valore.contains(QChar(0)))
            QSKIP("il server non ammette il carattere NUL in un testo");
        a.db.esegui(sql, {valore});
        QCOMPARE(a.valore(lettura), salvato);
        mCreaFileTrasm m(*a.contesto);
        m.setData(QDate(2009, 11, 30));
        a.sessione.gEmail = u"mario.rossi@ente.example"_s;
        QVERIFY2(m.CreaFile(u"001"_s, u"A"_s, u"7"_s), qPrintable(a.dialoghi.ultimo()));
        const QByteArray file = a.leggi(m.gNomeFileTrasm());
        const QByteArray riferimento = leggiFile(percorsoRiferimento());
        QVERIFY(!riferimento.isEmpty());
        QCOMPARE(file, riferimento);
    }
};

QTEST_GUILESS_MAIN(TestCaratteriDiControllo)
#include "tst_caratteridicontrollo.moc"
