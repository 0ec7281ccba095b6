#include "common/Codifica.h"
#include "common/Errori.h"
#include "loading/TabelleDecodifica.h"
#include "support/Ambiente.h"

#include <QFile>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;
using quirdal::test::finisce;

namespace {

class ProgressoFinto : public ProgressoCaricamento {
public:
    QStringList tabelle;
    QStringList fasi;
    int ultimo = -1;
    void fase(const QString &t, const QString &r) override { fasi << t + QLatin1Char('|') + r; }
    void file(const QString &, const QString &tabella, int) override { tabelle << tabella; }
    void record(int n) override { ultimo = n; }
};

void scrivi(Ambiente &a, const QString &nome, const QByteArray &contenuto)
{
    QFile f(a.percorso(nome));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(contenuto);
}

QString tutte(Ambiente &a, const QString &sql)
{
    return a.db.valoreScalare(sql).toString();
}

const QByteArray kProvince = "#X#\r\n#001#,#AL#,#ALBARESE#,#01#\r\n#002#,#BO#,#BORGALTO#,#01#\r\n";

} // namespace

class TestTabelle : public QObject {
    Q_OBJECT

    void prepara(Ambiente &a)
    {
        a.pronto();
        a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('009', 'ZZ', 'VECCHIA', '01')"));
        a.db.esegui(QStringLiteral("INSERT INTO Regioni VALUES ('01', 'VECCHIA REGIONE')"));
    }

private Q_SLOTS:
    void installazione()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("installa.tab"), "");
        scrivi(a, QStringLiteral("Province.txt"), kProvince);
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(tutte(a, QStringLiteral("SELECT group_concat(PROV || SigProv, ',') FROM (SELECT * FROM Province ORDER BY PROV)")),
                 QStringLiteral("001AL,002BO"));
        QCOMPARE(p.fasi, QStringList{QStringLiteral("INSTALLAZIONE TABELLE|Attendere ....")});
        QCOMPARE(p.tabelle, QStringList{QStringLiteral("Province")});
        QCOMPARE(p.ultimo, 2);
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("installa.tab"))));
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("Province.txt"))));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("CAR/Province.txt"))));
        // A table without its file is left as it was, in install mode too.
        QCOMPARE(tutte(a, QStringLiteral("SELECT Descrizione FROM Regioni")), QStringLiteral("VECCHIA REGIONE"));
    }

    void aggiornamento()
    {
        Ambiente a;
        prepara(a);
        a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001', 'XX', 'DA SOVRASCRIVERE', '01')"));
        scrivi(a, QStringLiteral("AGGIORNA.TAB"), "");
        scrivi(a, QStringLiteral("province.TXT"), kProvince);
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(tutte(a, QStringLiteral("SELECT group_concat(PROV || SigProv, ',') FROM (SELECT * FROM Province ORDER BY PROV)")),
                 QStringLiteral("001AL,002BO,009ZZ"));
        QCOMPARE(p.fasi, QStringList{QStringLiteral("AGGIORNAMENTO TABELLE|Attendere ....")});
    }

    void intestazioneSoloInstallaOAggiorna_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("righe");
        QTest::newRow("installazione svuota") << "installa.tab" << "0";
        QTest::newRow("aggiornamento lascia") << "aggiorna.tab" << "1";
    }
    void intestazioneSoloInstallaOAggiorna()
    {
        QFETCH(QString, flag);
        QFETCH(QString, righe);
        Ambiente a;
        prepara(a);
        scrivi(a, flag, "");
        scrivi(a, QStringLiteral("Province.txt"), "#solo intestazione#\r\n");
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(tutte(a, QStringLiteral("SELECT count(*) FROM Province")), righe);
    }

    // The header's mode holds for its table and stays for the next ones.
    void modoDellIntestazionePassaAllaTabellaSeguente()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("aggiorna.tab"), "");
        // Tables are walked from the last to the first: Regioni before Province.
        scrivi(a, QStringLiteral("Regioni.txt"), "#INSTALLAZIONE#\r\n#02#,#ALTRA#\r\n");
        scrivi(a, QStringLiteral("Province.txt"), kProvince);
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(p.tabelle, (QStringList{"Regioni", "Province"}));
        QCOMPARE(tutte(a, QStringLiteral("SELECT group_concat(REGIONE) FROM Regioni")), QStringLiteral("02"));
        QCOMPARE(tutte(a, QStringLiteral("SELECT count(*) FROM Province WHERE PROV='009'")), QStringLiteral("0"));
        QCOMPARE(a.sessione.gInstallaTabelle, VERO);
    }

    void entrambiIFlag()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("installa.tab"), "");
        scrivi(a, QStringLiteral("aggiorna.tab"), "");
        scrivi(a, QStringLiteral("Province.txt"), kProvince);
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
        QVERIFY(a.dialoghi.ultimo().startsWith(
            QStringLiteral("Rilevata presenza di entrambi i files INSTALLA.TAB e AGGIORNA.TAB. Ambiguità")));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("installa.tab"))));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("aggiorna.tab"))));
        QCOMPARE(tutte(a, QStringLiteral("SELECT group_concat(PROV) FROM Province")), QStringLiteral("009"));
    }

    void nessunFlagNessunCaricamento()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("Province.txt"), kProvince);
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QVERIFY(p.tabelle.isEmpty());
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("Province.txt"))));
    }

    void valoriNullETestiTagliati()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("installa.tab"), "");
        // CodComune is text 6, SigProv text 2; the last field is not closed by "#".
        scrivi(a, QStringLiteral("Comuni.txt"),
               "#INSTALLAZIONE#\n#0010019999#,# SANT'ELIA #,#null#,#ALX#,#10100\n#001002#,#CASTELL\xc0#,#001#,#AL#,#NULL#\n");
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(tutte(a, QStringLiteral("SELECT CodComune || '|' || Denominazione || '|' || ifnull(PROV,'<null>') || '|' "
                                         "|| SigProv || '|' || Cap FROM Comuni WHERE CodComune='001001'")),
                 QStringLiteral("001001|SANT'ELIA|<null>|AL|10100"));
        QCOMPARE(tutte(a, QStringLiteral("SELECT Denominazione FROM Comuni WHERE CodComune='001002'")),
                 QStringLiteral("CASTELLÀ"));
        QVERIFY(a.db.valoreScalare(QStringLiteral("SELECT Cap FROM Comuni WHERE CodComune='001002'")).isNull());
    }

    // A failing record: the message, the program ends, the table is as before the file
    // and no other table was touched.
    void recordErrato_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<int>("record");
        QTest::newRow("chiave duplicata in installazione")
            << "installa.tab" << QByteArray("#X#\r\n#001#,#AL#,#A#,#01#\r\n#001#,#AL#,#B#,#01#\r\n") << 2;
        QTest::newRow("byte a caso") << "aggiorna.tab" << QByteArray("#X#\r\n\x8f\x01\x99zz\xff\r\n\x02\x03#") << 1;
    }
    void recordErrato()
    {
        QFETCH(QString, flag);
        QFETCH(QByteArray, contenuto);
        QFETCH(int, record);
        Ambiente a;
        prepara(a);
        scrivi(a, flag, "");
        scrivi(a, QStringLiteral("Regioni.txt"), "#X#\r\n#03#,#NUOVA#\r\n");
        scrivi(a, QStringLiteral("Province.txt"), contenuto);
        ProgressoFinto p;
        QVERIFY(finisce([&] { passoTabelle(*a.contesto, p); }));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, QStringLiteral("Installazione/Aggiornamento tabelle di decodifica"));
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("Errore ")));
        QVERIFY(a.dialoghi.ultimo().endsWith(
            QStringLiteral("\r\ndurante l'aggiornamento della tabella Province, record %1.\r\nImpossibile continuare.").arg(record)));
        QVERIFY(!a.db.aperto());
        a.apriDb();
        QCOMPARE(tutte(a, QStringLiteral("SELECT group_concat(PROV) FROM Province")), QStringLiteral("009"));
        // Regioni came first and was loaded whole; Province's file stays to be loaded again.
        QCOMPARE(tutte(a, QStringLiteral("SELECT count(*) FROM Regioni WHERE REGIONE='03'")), QStringLiteral("1"));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("Province.txt"))));
    }

    void testoInCampoNumerico()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("installa.tab"), "");
        scrivi(a, QStringLiteral("Destin.txt"), "#X#\r\n#1#,#GIOVANI#\r\n#due#,#ADULTI#\r\n");
        ProgressoFinto p;
        QVERIFY(finisce([&] { passoTabelle(*a.contesto, p); }));
        QVERIFY(a.dialoghi.ultimo().contains(QStringLiteral("Destin, record 2.")));
        a.apriDb();
        QCOMPARE(tutte(a, QStringLiteral("SELECT count(*) FROM Destin")), QStringLiteral("0"));
    }

    void sessantaCampi()
    {
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("aggiorna.tab"), "");
        QByteArray riga = "#05#,#QUINTA#";
        for (int i = 2; i < 60; ++i)
            riga += ",#extra" + QByteArray::number(i) + '#';
        scrivi(a, QStringLiteral("Regioni.txt"), "#X#\r\n" + riga + "\r\n");
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(tutte(a, QStringLiteral("SELECT Descrizione FROM Regioni WHERE REGIONE='05'")), QStringLiteral("QUINTA"));
    }

    void fileVuoto_data()
    {
        QTest::addColumn<int>("risposta");
        QTest::addColumn<bool>("fine");
        QTest::newRow("Sì prosegue") << int(Risposta::Si) << false;
        QTest::newRow("No termina") << int(Risposta::No) << true;
    }
    void fileVuoto()
    {
        QFETCH(int, risposta);
        QFETCH(bool, fine);
        Ambiente a;
        prepara(a);
        scrivi(a, QStringLiteral("installa.tab"), "");
        scrivi(a, QStringLiteral("Regioni.txt"), "");
        scrivi(a, QStringLiteral("Province.txt"), kProvince);
        a.dialoghi.risposte.enqueue(static_cast<Risposta>(risposta));
        ProgressoFinto p;
        QCOMPARE(finisce([&] { passoTabelle(*a.contesto, p); }), fine);
        QCOMPARE(a.dialoghi.messaggi[0].testo,
                 QStringLiteral("ATTENZIONE: il file ") + a.percorso(QStringLiteral("Regioni.txt"))
                     + QStringLiteral(" è vuoto. Continuare l'operazione di aggiornamento sulle altre tabelle "
                                      "(scegliendo No il programma uscirà a Windows) ?"));
        QCOMPARE(a.db.aperto(), !fine);
        if (!fine) {
            QCOMPARE(tutte(a, QStringLiteral("SELECT Descrizione FROM Regioni")), QStringLiteral("VECCHIA REGIONE"));
            QCOMPARE(tutte(a, QStringLiteral("SELECT count(*) FROM Province")), QStringLiteral("2"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTabelle)
#include "tst_tabelle.moc"
