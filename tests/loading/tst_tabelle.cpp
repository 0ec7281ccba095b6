#include "common/Errori.h"
#include "common/Progresso.h"
#include "loading/TabelleDecodifica.h"
#include "support/Ambiente.h"

#include <QDirIterator>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// What the pass shows: its phases, and each table it loads with the last record count.
class ProgressoFinto : public ProgressoCaricamento {
public:
    QStringList traccia;
    QString tabella;
    void fase(const QString &t, const QString &r) override { traccia << t + u'|' + r; }
    void file(const QString &, const QString &t, int) override { traccia << (tabella = t); }
    void record(int n) override { traccia.last() = tabella + u':' + QString::number(n); }
};

const QByteArray kProvince = "#X#\r\n#001#,#AL#,#ALBARESE#,#01#\r\n#002#,#BO#,#BORGALTO#,#01#\r\n";

// A program folder with an old province and region, and the files "name=content".
void prepara(Ambiente &a, const QByteArrayList &file)
{
    a.pronto();
    a.db.esegui(u"INSERT INTO Province VALUES ('009', 'ZZ', 'VECCHIA', '01')"_s);
    a.db.esegui(u"INSERT INTO Regioni VALUES ('01', 'VECCHIA REGIONE')"_s);
    for (const QByteArray &f : file) {
        const qsizetype uguale = f.indexOf('=');
        a.scrivi(QString::fromLatin1(f.left(uguale)), f.mid(uguale + 1));
    }
}

// A Comuni.txt of the municipalities da..a ("000001" for 1), each named nome and its number.
QByteArray comuni(int da, int a, const QByteArray &nome = "COMUNE ")
{
    QByteArray r = "#X#\r\n";
    for (int i = da; i <= a; ++i)
        r += "#" + QByteArray::number(i).rightJustified(6, '0') + "#,#" + nome + QByteArray::number(i)
            + "#,#001#,#AL#,#10100#\r\n";
    return r;
}

// Destin records numbered da..a.
QByteArray righeDestin(int da, int a)
{
    QByteArray r;
    for (int i = da; i <= a; ++i)
        r += "#" + QByteArray::number(i) + "#,#DESTINATARI " + QByteArray::number(i) + "#\r\n";
    return r;
}

// The lookup tables the rows touch, and the mode the pass is left in.
QString statoTabelle(Ambiente &a)
{
    QStringList t;
    for (const char *q : {"Province: PROV || SigProv", "Regioni: REGIONE || ' ' || Descrizione",
                          "Comuni: CodComune || '|' || Denominazione || '|' || coalesce(PROV, '<null>') || '|' || SigProv "
                          "|| '|' || coalesce(Cap, '<null>')"}) {
        const QStringList p = QString::fromLatin1(q).split(u": "_s);
        t << a.lista(u"SELECT %1 AS x FROM %2 ORDER BY 1"_s.arg(p[1], p[0]));
    }
    return t.join(u" / "_s) + (a.sessione.gInstallaTabelle == VERO ? u" / installa"_s : u" / aggiorna"_s);
}

// The files left in the folder, apart from the program's own.
QStringList fileRimasti(Ambiente &a)
{
    QStringList r;
    for (QDirIterator it(a.dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString f = QDir(a.dir.path()).relativeFilePath(it.next());
        if (!f.startsWith(u"QUIRDAL."_s) && f != u"utente.ini"_s)
            r << f;
    }
    r.sort();
    return r;
}

} // namespace

class TestTabelle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void carica_data()
    {
        // messaggio: the start of the one message, empty for none
        colonne<QByteArrayList, QStringList, QString, QStringList, QString>("file", "traccia", "stato", "rimasti", "messaggio");
        const QString inst = u"INSTALLAZIONE TABELLE|Attendere ...."_s, agg = u"AGGIORNAMENTO TABELLE|Attendere ...."_s;
        // A table without its file is left as it was, in install mode too.
        QTest::newRow("installazione") << QByteArrayList{"installa.tab=", "Province.txt=" + kProvince}
                                       << QStringList{inst, "Province:2"} << "001AL,002BO / 01 VECCHIA REGIONE /  / installa"
                                       << QStringList{"CAR/Province.txt"} << "";
        // The flag and the data files are found whatever their case; records update or add.
        QTest::newRow("aggiornamento") << QByteArrayList{"AGGIORNA.TAB=", "province.TXT=" + kProvince}
                                       << QStringList{agg, "Province:2"} << "001AL,002BO,009ZZ / 01 VECCHIA REGIONE /  / aggiorna"
                                       << QStringList{"CAR/Province.txt"} << "";
        // A record whose key is there overwrites every other column, one (Regioni) or more.
        QTest::newRow("aggiornamento sovrascrive")
            << QByteArrayList{"aggiorna.tab=", "Regioni.txt=#X#\r\n#01#,#NUOVA#\r\n",
                              "Province.txt=#X#\r\n#009#,#ZY#,#N#,#02#\r\n"}
            << QStringList{agg, "Regioni:1", "Province:1"} << "009ZY / 01 NUOVA /  / aggiorna"
            << QStringList{"CAR/Province.txt", "CAR/Regioni.txt"} << "";
        QTest::newRow("solo intestazione, installazione svuota")
            << QByteArrayList{"installa.tab=", "Province.txt=#solo intestazione#\r\n"} << QStringList{inst, "Province:0"}
            << " / 01 VECCHIA REGIONE /  / installa" << QStringList{"CAR/Province.txt"} << "";
        QTest::newRow("solo intestazione, aggiornamento lascia")
            << QByteArrayList{"aggiorna.tab=", "Province.txt=#solo intestazione#\r\n"} << QStringList{agg, "Province:0"}
            << "009ZZ / 01 VECCHIA REGIONE /  / aggiorna" << QStringList{"CAR/Province.txt"} << "";
        // The header's mode holds for its table and stays for the next ones (the tables are
        // walked from the last to the first: Regioni before Province).
        QTest::newRow("modo dell'intestazione alla tabella seguente")
            << QByteArrayList{"aggiorna.tab=", "Regioni.txt=#INSTALLAZIONE#\r\n#02#,#ALTRA#\r\n", "Province.txt=" + kProvince}
            << QStringList{agg, "Regioni:1", "Province:2"} << "001AL,002BO / 02 ALTRA /  / installa"
            << QStringList{"CAR/Province.txt", "CAR/Regioni.txt"} << "";
        QTest::newRow("entrambi i flag") << QByteArrayList{"installa.tab=", "aggiorna.tab=", "Province.txt=" + kProvince}
                                         << QStringList{} << "009ZZ / 01 VECCHIA REGIONE /  / aggiorna"
                                         << QStringList{"Province.txt", "aggiorna.tab", "installa.tab"}
                                         << "Rilevata presenza di entrambi i files INSTALLA.TAB e AGGIORNA.TAB. Ambiguità";
        QTest::newRow("nessun flag") << QByteArrayList{"Province.txt=" + kProvince} << QStringList{}
                                     << "009ZZ / 01 VECCHIA REGIONE /  / aggiorna" << QStringList{"Province.txt"} << "";
        // CodComune is text 6, SigProv text 2; the last field is not closed by "#".
        QTest::newRow("valori null e testi tagliati")
            << QByteArrayList{"installa.tab=",
                              "Comuni.txt=#INSTALLAZIONE#\n#0010019999#,# SANT'ELIA #,#null#,#ALX#,#10100\n"
                              "#001002#,#CASTELL\xc0#,#001#,#AL#,#NULL#\n"}
            << QStringList{inst, "Comuni:2"}
            << "009ZZ / 01 VECCHIA REGIONE / 001001|SANT'ELIA|<null>|AL|10100,001002|CASTELLÀ|001|AL|<null> / installa"
            << QStringList{"CAR/Comuni.txt"} << "";
        // Every character a value may carry reaches the table as it is, wherever it is quoted
        // or escaped on the way; a key met twice in an update: the later record holds.
        QTest::newRow("virgolette, barre e graffe")
            << QByteArrayList{"aggiorna.tab=", "Regioni.txt=#X#\r\n#06#,#A \"B\" \\C, {D} 'E' NULL\\#\r\n"}
            << QStringList{agg, "Regioni:1"} << "009ZZ / 01 VECCHIA REGIONE,06 A \"B\" \\C, {D} 'E' NULL\\ /  / aggiorna"
            << QStringList{"CAR/Regioni.txt"} << "";
        QTest::newRow("stessa chiave due volte")
            << QByteArrayList{"aggiorna.tab=", "Province.txt=#X#\r\n#009#,#AA#,#N#,#01#\r\n#009#,#BB#,#N#,#01#\r\n"}
            << QStringList{agg, "Province:2"} << "009BB / 01 VECCHIA REGIONE /  / aggiorna" << QStringList{"CAR/Province.txt"}
            << "";
        QByteArray sessanta = "Regioni.txt=#X#\r\n#05#,#QUINTA#";
        for (int i = 2; i < 60; ++i)
            sessanta += ",#extra" + QByteArray::number(i) + '#';
        QTest::newRow("sessanta campi") << QByteArrayList{"aggiorna.tab=", sessanta + "\r\n"} << QStringList{agg, "Regioni:1"}
                                        << "009ZZ / 01 VECCHIA REGIONE,05 QUINTA /  / aggiorna" << QStringList{"CAR/Regioni.txt"}
                                        << "";
    }
    void carica()
    {
        QFETCH(QByteArrayList, file);
        QFETCH(QStringList, traccia);
        QFETCH(QString, stato);
        QFETCH(QStringList, rimasti);
        QFETCH(QString, messaggio);
        Ambiente a;
        prepara(a, file);
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(p.traccia, traccia);
        QCOMPARE(statoTabelle(a), stato);
        QCOMPARE(fileRimasti(a), rimasti);
        QCOMPARE(a.dialoghi.messaggi.size(), messaggio.isEmpty() ? 0 : 1);
        if (!messaggio.isEmpty()) {
            QVERIFY(a.dialoghi.ultimo().startsWith(messaggio));
            QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
        }
    }

    // A failing record: the message, the program ends, the table is as before the file
    // and no other table was touched: Regioni came first and was loaded whole, the failed
    // file stays to be loaded again.
    void recordErrato_data()
    {
        colonne<QByteArrayList, QString, int, QString>("file", "tabella", "record", "stato");
        const QByteArray regioni = "Regioni.txt=#X#\r\n#03#,#NUOVA#\r\n";
        QTest::newRow("chiave duplicata in installazione")
            << QByteArrayList{"installa.tab=", regioni, "Province.txt=#X#\r\n#001#,#AL#,#A#,#01#\r\n#001#,#AL#,#B#,#01#\r\n"}
            << "Province" << 2 << "009ZZ / 03 NUOVA /  / installa";
        QTest::newRow("byte a caso") << QByteArrayList{"aggiorna.tab=", regioni,
                                                       "Province.txt=#X#\r\n\x8f\x01\x99zz\xff\r\n\x02\x03#"}
                                     << "Province" << 1 << "009ZZ / 01 VECCHIA REGIONE,03 NUOVA /  / aggiorna";
        QTest::newRow("testo in campo numerico")
            << QByteArrayList{"installa.tab=", "Destin.txt=#X#\r\n#1#,#GIOVANI#\r\n#due#,#ADULTI#\r\n"} << "Destin" << 2
            << "009ZZ / 01 VECCHIA REGIONE /  / installa";
        // Far into a long file, after many records already written.
        QTest::newRow("chiave duplicata al record 7000")
            << QByteArrayList{"installa.tab=", regioni,
                              "Comuni.txt=" + comuni(1, 6999) + "#000001#,#DOPPIO#,#001#,#AL#,#10100#\r\n"}
            << "Comuni" << 7000 << "009ZZ / 03 NUOVA /  / installa";
        QTest::newRow("testo in campo numerico al record 6001")
            << QByteArrayList{"installa.tab=", "Destin.txt=#X#\r\n" + righeDestin(1, 6000) + "#x#,#ADULTI#\r\n"} << "Destin"
            << 6001 << "009ZZ / 01 VECCHIA REGIONE /  / installa";
    }
    void recordErrato()
    {
        QFETCH(QByteArrayList, file);
        QFETCH(QString, tabella);
        QFETCH(int, record);
        QFETCH(QString, stato);
        Ambiente a;
        prepara(a, file);
        ProgressoFinto p;
        QVERIFY(finisce([&] { passoTabelle(*a.contesto, p); }));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, u"Installazione/Aggiornamento tabelle di decodifica"_s);
        QVERIFY(a.dialoghi.ultimo().startsWith(u"Errore "_s));
        QVERIFY(a.dialoghi.ultimo().endsWith(
            u"\r\ndurante l'aggiornamento della tabella %1, record %2.\r\nImpossibile continuare."_s.arg(tabella).arg(record)));
        QVERIFY(!a.db.aperto());
        a.apriDb();
        QCOMPARE(statoTabelle(a), stato);
        QCOMPARE(a.conta(u"Destin"_s), 0);
        QVERIFY(a.esiste(tabella + u".txt"_s));
    }

    // Many thousands of records, installed, then half of them overwritten and as many added.
    void molteRighe()
    {
        Ambiente a;
        prepara(a, {"installa.tab=", "Comuni.txt=" + comuni(1, 12000)});
        ProgressoFinto p;
        passoTabelle(*a.contesto, p);
        QCOMPARE(p.traccia.last(), u"Comuni:12000"_s);
        a.scrivi(u"aggiorna.tab"_s, {});
        a.scrivi(u"Comuni.txt"_s, comuni(6001, 18000, "NUOVO "));
        passoTabelle(*a.contesto, p);
        QCOMPARE(p.traccia.last(), u"Comuni:12000"_s);
        QCOMPARE(a.conta(u"Comuni"_s), 18000);
        QCOMPARE(a.lista(u"SELECT Denominazione FROM Comuni WHERE CodComune IN ('000001', '006000', '006001', '018000') "
                         "ORDER BY CodComune"_s),
                 u"COMUNE 1,COMUNE 6000,NUOVO 6001,NUOVO 18000"_s);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    void fileVuoto_data()
    {
        colonne<int, bool>("risposta", "fine");
        QTest::newRow("Sì prosegue") << int(Risposta::Si) << false;
        QTest::newRow("No termina") << int(Risposta::No) << true;
    }
    void fileVuoto()
    {
        QFETCH(int, risposta);
        QFETCH(bool, fine);
        Ambiente a;
        prepara(a, {"installa.tab=", "Regioni.txt=", "Province.txt=" + kProvince});
        a.dialoghi.risposte.enqueue(static_cast<Risposta>(risposta));
        ProgressoFinto p;
        QCOMPARE(finisce([&] { passoTabelle(*a.contesto, p); }), fine);
        QCOMPARE(a.dialoghi.messaggi[0].testo,
                 u"ATTENZIONE: il file %1 è vuoto. Continuare l'operazione di aggiornamento sulle altre tabelle "
                 "(scegliendo No il programma uscirà a Windows) ?"_s.arg(a.percorso(u"Regioni.txt"_s)));
        QCOMPARE(a.db.aperto(), !fine);
        if (!fine)
            QCOMPARE(statoTabelle(a), u"001AL,002BO / 01 VECCHIA REGIONE /  / installa"_s);
    }
};

QTEST_GUILESS_MAIN(TestTabelle)
#include "tst_tabelle.moc"
