#include "common/Codifica.h"
#include "common/Generale.h"
#include "db/CopiaSicurezza.h"
#include "loading/DatiOperatori.h"
#include "common/Progresso.h"
#include "support/Ambiente.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;
using quirdal::test::finisce;

namespace {

QByteArray riga(const QStringList &campi)
{
    return aWindows1252(QLatin1Char('#') + campi.join(QStringLiteral("#,#")) + QStringLiteral("#\r\n"));
}

const QByteArray kOper = riga({"A", "1", "ENTE UNO", "EF", "11111111111", "ROSSI ANNA", "ALFA", "AA", "01021970", "AA",
                               "1234567", "2001", "101"})
    + riga({"A", "2", "ENTE DUE", "CP", "22222222222", "", "", "", "", "", "", "", "105"});
const QByteArray kCompo =
    riga({"A", "1", "1", "SL", "SEDE LEGALE UNO", "001001", "10100", "VIA UNO 1", "011", "5551234", "", "", "", "", ""})
    + riga({"A", "1", "2", "UL", "SEDE UNO IN GAMMA", "003001", "30100", "VIA GAMMA 2", "030", "/44 55", "", "", "", "",
            ""})
    + riga({"A", "2", "1", "SL", "SEDE LEGALE DUE", "001001", "10100", "VIA DUE 2", "011", "0115550000", "", "", "", "",
            "due@ente.example"});
const QByteArray kSediOcc = riga({"1001", "PALESTRA", "VIA SPORT 1", "003001", "30100", "030", "123456", "", ""});
const QByteArray kSediUtil = riga({"A", "1", "1001"}) + riga({"A", "2", "1001"});
const QByteArray kCorsiPre = riga({"9001", "A", "1", "1", "", "1", "2007", "0", "CORSO VECCHIO", "A", "1", "D", "1", "01"});

class Operatori : public Ambiente {
public:
    ProgressoCaricamento progresso;

    Operatori()
    {
        pronto();
        db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AA','ALFA','01'), ('003','GG','GAMMA','01')"));
        db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AA','10100'), "
                                 "('003001','GAMMA','003','GG','30100')"));
    }
    void file(const QString &nome, const QByteArray &contenuto)
    {
        QFile f(percorso(nome));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(contenuto);
    }
    void tutti()
    {
        file(QStringLiteral("oper.tx1"), kOper);
        file(QStringLiteral("compo.tx1"), kCompo);
        file(QStringLiteral("sediocc.tx1"), kSediOcc);
        file(QStringLiteral("sediutil.tx1"), kSediUtil);
        file(QStringLiteral("corsipre.tx1"), kCorsiPre);
    }
    QString valore(const QString &sql) { return db.valoreScalare(sql).toString(); }
    int conta(const QString &tabella) { return db.valoreScalare(QStringLiteral("SELECT count(*) FROM ") + tabella).toInt(); }
    // Everything the operator tables hold, to compare before and after.
    QString istantanea()
    {
        QString r;
        for (const char *t : {"CorsiOper", "CorsiCompo", "CorsiSediOcc", "CorsiSediOccUtil", "PrecCorsi"}) {
            QSqlQuery q = db.seleziona(QStringLiteral("SELECT * FROM ") + QString::fromLatin1(t) + QStringLiteral(" ORDER BY 1, 2, 3"));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    r += q.value(i).toString() + (q.value(i).isNull() ? QStringLiteral("\x01") : QString()) + QLatin1Char('|');
            r += QLatin1Char('\n');
        }
        return r;
    }
    void stampata(const QString &g, int o, const QString &prov)
    {
        db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) VALUES "
                                 "(?, ?, ?, 1, -1)"),
                  {g, o, prov});
    }
    void installa()
    {
        tutti();
        installaDatiOperatori(*contesto, progresso);
        dialoghi.messaggi.clear();
    }
};

} // namespace

class TestOperatori : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void installazione()
    {
        Operatori a;
        a.tutti();
        installaDatiOperatori(*a.contesto, a.progresso);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QCOMPARE(a.conta(QStringLiteral("CorsiOper")), 2);
        QCOMPARE(a.valore(QStringLiteral("SELECT LegGGNasc || LegMMNasc || LegAAAANasc || '|' || Corrispondenza FROM "
                                         "CorsiOper WHERE Operatore=1")),
                 QStringLiteral("01021970|1"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Tel || '|' || Pref || '|' || Riferimento FROM CorsiCompo WHERE Operatore=1 "
                                         "AND Componente=2")),
                 QStringLiteral("0304455||"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Tel FROM CorsiCompo WHERE Operatore=2")), QStringLiteral("0115550000"));
        QCOMPARE(a.valore(QStringLiteral("SELECT TipoCompo FROM CorsiSediOcc")), QStringLiteral("UO"));
        QVERIFY(a.db.valoreScalare(QStringLiteral("SELECT SedeOcc FROM PrecCorsi")).isNull());
        QCOMPARE(a.valore(QStringLiteral("SELECT NominativoReferente FROM CorsiOper WHERE Operatore=2")), QString());
        QVERIFY(!a.db.valoreScalare(QStringLiteral("SELECT NominativoReferente FROM CorsiOper WHERE Operatore=2")).isNull());
        for (const char *f : {"oper", "compo", "sediocc", "sediutil", "corsipre"})
            QVERIFY2(QFile::exists(a.percorso(QStringLiteral("CAR/") + QString::fromLatin1(f) + QStringLiteral(".car"))), f);
        QVERIFY(!QFile::exists(percorsoCopiaSicurezza(a.percorsoDb())));
    }

    void installazioneSenzaSediOccasionali()
    {
        Operatori a;
        a.file(QStringLiteral("oper.tx1"), kOper);
        a.file(QStringLiteral("compo.tx1"), kCompo);
        a.file(QStringLiteral("corsipre.tx1"), kCorsiPre);
        installaDatiOperatori(*a.contesto, a.progresso);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QCOMPARE(a.conta(QStringLiteral("CorsiOper")), 2);
        QCOMPARE(a.conta(QStringLiteral("CorsiSediOcc")), 0);
    }

    void installazioneFileMancanti_data()
    {
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QString>("verbo");
        QTest::newRow("manca oper") << QStringList{"compo.tx1", "corsipre.tx1"} << "spostare";
        QTest::newRow("manca compo") << QStringList{"oper.tx1", "corsipre.tx1"} << "spostare";
        QTest::newRow("sediocc senza sediutil")
            << QStringList{"oper.tx1", "compo.tx1", "sediocc.tx1", "corsipre.tx1"} << "spostate";
        QTest::newRow("manca corsipre") << QStringList{"oper.tx1", "compo.tx1"} << "spostare";
    }
    void installazioneFileMancanti()
    {
        QFETCH(QStringList, presenti);
        QFETCH(QString, verbo);
        Operatori a;
        for (const QString &f : presenti)
            a.file(f, f == QLatin1String("oper.tx1") ? kOper : f == QLatin1String("compo.tx1") ? kCompo : kSediOcc);
        QVERIFY(finisce([&] { installaDatiOperatori(*a.contesto, a.progresso); }));
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Installazione Base Dati"));
        QCOMPARE(a.dialoghi.ultimo(),
                 QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è "
                                "possibile che si trovino ancora nella cartella temporanea dove è stato scaricato il "
                                "pacchetto di installazione da Internet. In tal caso, ")
                     + verbo + QStringLiteral(" da tale cartella tutti i files .TX1 nella cartella ")
                     + QDir::toNativeSeparators(a.dir.path()) + QStringLiteral(")."));
        QVERIFY(!a.db.aperto());
    }

    // Each leaves no operator, so that the next start is a first start again.
    void installazioneIncoerente_data()
    {
        QTest::addColumn<QString>("vuoto");
        QTest::addColumn<QString>("inizio");
        QTest::newRow("oper vuoto") << "oper.tx1" << "ATTENZIONE: non è presente alcun OPERATORE";
        QTest::newRow("compo vuoto") << "compo.tx1" << "ATTENZIONE: non è presente alcun COMPONENTE";
        QTest::newRow("sediutil vuoto") << "sediutil.tx1" << "ATTENZIONE: il file con i dati di utilizzo delle sedi";
        QTest::newRow("sediocc vuoto") << "sediocc.tx1" << "ATTENZIONE: il file con i dati anagrafici delle sedi";
    }
    void installazioneIncoerente()
    {
        QFETCH(QString, vuoto);
        QFETCH(QString, inizio);
        Operatori a;
        a.tutti();
        a.file(vuoto, {});
        QVERIFY(finisce([&] { installaDatiOperatori(*a.contesto, a.progresso); }));
        QVERIFY2(a.dialoghi.ultimo().startsWith(inizio), qPrintable(a.dialoghi.ultimo()));
        a.apriDb();
        QCOMPARE(a.conta(QStringLiteral("CorsiOper")), 0);
        QCOMPARE(a.conta(QStringLiteral("CorsiSediOcc")), 0);
    }

    void installazioneSenzaSedeLegale()
    {
        Operatori a;
        a.tutti();
        a.file(QStringLiteral("compo.tx1"), kCompo.left(kCompo.lastIndexOf("#A#,#2#")));
        QVERIFY(finisce([&] { installaDatiOperatori(*a.contesto, a.progresso); }));
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Manca la sede legale dell'Operatore A - 2. Impossibile utilizzare il "
                                                     "programma."));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, QStringLiteral("Installazione/Aggiornamento Base Dati"));
        a.apriDb();
        QCOMPARE(a.conta(QStringLiteral("CorsiOper")), 0);
    }

    // A record the columns cannot take: the message, nothing loaded, every file in BAD.
    void installazioneRecordErrato_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("fase");
        QTest::newRow("operatore non numerico")
            << "oper.tx1" << riga({"A", "1x", "ENTE", "EF", "1", "", "", "", "", "", "", "", "101"})
            << "dei dati anagrafici dell' OPERATORE/I";
        QTest::newRow("data di 7 caratteri")
            << "oper.tx1" << riga({"A", "1", "ENTE", "EF", "1", "X", "Y", "ZZ", "0102197", "", "", "", "101"})
            << "dei dati anagrafici dell' OPERATORE/I";
        QTest::newRow("campi mancanti") << "compo.tx1" << riga({"A", "1"}) << "dei dati anagrafici dei COMPONENTI";
        QTest::newRow("chiave duplicata") << "sediocc.tx1" << kSediOcc + kSediOcc << "dei dati anagrafici delle SEDI OCCASIONALI";
        QTest::newRow("riga senza #") << "sediutil.tx1" << QByteArray("A,1,1001\r\n") << "dei dati di utilizzo delle SEDI OCCASIONALI";
    }
    void installazioneRecordErrato()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, fase);
        Operatori a;
        a.tutti();
        a.file(file, contenuto);
        QVERIFY(finisce([&] { installaDatiOperatori(*a.contesto, a.progresso); }));
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Installazione Base Dati"));
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("Errore ")));
        QVERIFY2(a.dialoghi.ultimo().contains(QStringLiteral("\r\ndurante il caricamento ") + fase
                                              + QStringLiteral(". L'operazione di caricamento sarà interrotta.\r\n")),
                 qPrintable(a.dialoghi.ultimo()));
        a.apriDb();
        for (const char *t : {"CorsiOper", "CorsiCompo", "CorsiSediOcc", "CorsiSediOccUtil", "PrecCorsi"})
            QCOMPARE(a.conta(QString::fromLatin1(t)), 0);
        for (const char *f : {"oper", "compo", "sediocc", "sediutil", "corsipre"})
            QVERIFY(QFile::exists(a.percorso(QStringLiteral("BAD/") + QString::fromLatin1(f) + QStringLiteral(".car"))));
    }

    void aggiornamentoOperatoreBloccato()
    {
        Operatori a;
        a.installa();
        a.stampata(QStringLiteral("A"), 1, QStringLiteral("003"));
        a.file(QStringLiteral("oper.tx1"), riga({"A", "1", "NUOVO NOME", "CP", "9", "", "", "", "", "", "", "", "110"}));
        a.file(QStringLiteral("compo.tx1"), kCompo);
        a.dialoghi.risposte << Risposta::Si;
        QVERIFY(aggiornaDatiOperatori(*a.contesto, a.progresso));
        QCOMPARE(a.valore(QStringLiteral("SELECT Denominazione FROM CorsiOper WHERE Operatore=1")), QStringLiteral("ENTE UNO"));
        QFile log(a.percorso(kFileLog));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(daWindows1252(log.readAll()),
                 QStringLiteral("- Operatore A-1 non aggiornato perchè bloccato (ha stampato almeno una domanda "
                                "definitiva)\r\n- Componente A-1-2 SEDE UNO IN GAMMA non aggiornato perchè bloccato "
                                "(rientra in una provincia per la quale è già stata stampata la domanda definitiva)\r\n"));
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("E' stato creato un file di log con nome: ")));
        QVERIFY(a.dialoghi.ultimo().endsWith(QStringLiteral("\r\nVisualizzare subito il file di log?")));
        QCOMPARE(a.piattaforma.aperti, QStringList{a.percorso(kFileLog)});
        QVERIFY(!QFile::exists(percorsoCopiaSicurezza(a.percorsoDb())));
    }

    // The lock is per province: the component in the printed province is refused even
    // though the operator's other application is not printed.
    void aggiornamentoComponentePerProvincia()
    {
        Operatori a;
        a.installa();
        a.stampata(QStringLiteral("A"), 1, QStringLiteral("003"));
        a.db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) VALUES "
                                   "('A', 1, '001', 1, 0)"));
        a.file(QStringLiteral("oper.tx1"), riga({"A", "2", "ENTE DUE BIS", "CP", "2", "", "", "", "", "", "", "", "105"}));
        QByteArray compo = kCompo;
        compo.replace("SEDE UNO IN GAMMA", "GAMMA RINOMINATA").replace("SEDE LEGALE UNO", "SL RINOMINATA");
        a.file(QStringLiteral("compo.tx1"), compo);
        QVERIFY(aggiornaDatiOperatori(*a.contesto, a.progresso));
        QCOMPARE(a.valore(QStringLiteral("SELECT Denominazione FROM CorsiCompo WHERE Operatore=1 AND Componente=2")),
                 QStringLiteral("SEDE UNO IN GAMMA"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Denominazione FROM CorsiCompo WHERE Operatore=1 AND Componente=1")),
                 QStringLiteral("SL RINOMINATA"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Denominazione FROM CorsiOper WHERE Operatore=2")), QStringLiteral("ENTE DUE BIS"));
    }

    void aggiornamentoTieneCioCheLUtenteHaScritto()
    {
        Operatori a;
        a.installa();
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET NominativoReferente='VERDI', ContABI='12345' WHERE Operatore=1"));
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET Tel='999', Email='' WHERE Operatore=1 AND Componente=1"));
        a.file(QStringLiteral("oper.tx1"),
               riga({"A", "1", "ENTE UNO NUOVO", "EF", "1", "ALTRO NOME " + QString(40, QLatin1Char('X')), "BETA", "BB",
                     "03041980", "", "", "", "101"})
                   + riga({"A", "2", "ENTE DUE", "CP", "2", "NERI LUCA", "GAMMA", "GG", "07081975", "", "", "", "105"})
                   + riga({"B", "7", "ENTE NUOVO", "AS", "7", "", "", "", "", "", "", "", "101"}));
        a.file(QStringLiteral("compo.tx1"),
               kCompo + riga({"B", "7", "1", "SL", "SEDE NUOVA", "001001", "10100", "VIA N", "", "1", "", "", "", "", "n@x.it"}));
        QVERIFY(aggiornaDatiOperatori(*a.contesto, a.progresso));
        // A filled LegNome stays, an empty one is filled (cut to the column).
        QCOMPARE(a.valore(QStringLiteral("SELECT LegNome || '|' || LegComNasc || '|' || Denominazione || '|' || "
                                         "NominativoReferente || '|' || ContABI FROM CorsiOper WHERE Operatore=1")),
                 QStringLiteral("ROSSI ANNA|ALFA|ENTE UNO NUOVO|VERDI|12345"));
        QCOMPARE(a.valore(QStringLiteral("SELECT LegNome || '|' || LegGGNasc FROM CorsiOper WHERE Operatore=2")),
                 QStringLiteral("NERI LUCA|07"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Tel || '|' || Email FROM CorsiCompo WHERE Operatore=1 AND Componente=1")),
                 QStringLiteral("999|"));
        QCOMPARE(a.valore(QStringLiteral("SELECT Corrispondenza FROM CorsiOper WHERE GrupOpe='B'")), QStringLiteral("1"));
        QVERIFY(!QFile::exists(a.percorso(kFileLog)));
    }

    void aggiornamentoProvinciaNonTrovata()
    {
        Operatori a;
        a.installa();
        a.file(QStringLiteral("oper.tx1"), kOper);
        a.file(QStringLiteral("compo.tx1"),
               kCompo + riga({"A", "1", "9", "UL", "SEDE IGNOTA", "999999", "", "", "", "", "", "", "", "", ""}));
        QVERIFY(aggiornaDatiOperatori(*a.contesto, a.progresso));
        QVERIFY(a.dialoghi.testiMessaggi().join(QLatin1Char('\n')).contains(
            QStringLiteral("ATTENZIONE: provincia non trovata per il componente A-1-9")));
        QCOMPARE(a.conta(QStringLiteral("CorsiCompo WHERE Componente=9")), 0);
    }

    // A failure in the middle: the database holds exactly what it held.
    void aggiornamentoFallitoLasciaTuttoComEra_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("componente non numerico")
            << "compo.tx1" << kCompo + riga({"A", "1", "tre", "UL", "X", "001001", "", "", "", "", "", "", "", "", ""})
            << "Aggiornamento Base Dati - AggCorsiCompo";
        QTest::newRow("sede non numerica") << "sediocc.tx1" << riga({"10x1", "X", "", "001001", "", "", "", "", ""})
                                           << "Aggiornamento Base Dati - AggCorsiSediOcc";
        QTest::newRow("compo vuoto") << "compo.tx1" << QByteArray() << "Aggiornamento Base Dati";
        QTest::newRow("sediutil vuoto") << "sediutil.tx1" << QByteArray() << "Aggiornamento Base Dati";
    }
    void aggiornamentoFallitoLasciaTuttoComEra()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, titolo);
        Operatori a;
        a.installa();
        const QString prima = a.istantanea();
        a.tutti();
        a.file(QStringLiteral("oper.tx1"), riga({"A", "1", "CAMBIATO", "EF", "1", "", "", "", "", "", "", "", "101"}));
        a.file(file, contenuto);
        QVERIFY(!aggiornaDatiOperatori(*a.contesto, a.progresso));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, titolo);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Ripristino della base dati riuscito"));
        QCOMPARE(a.istantanea(), prima);
        QVERIFY(!QFile::exists(a.percorso(kFileLog)));
    }

    void aggiornamentoFileMancanti()
    {
        Operatori a;
        a.installa();
        a.file(QStringLiteral("oper.tx1"), kOper);
        QVERIFY(!aggiornaDatiOperatori(*a.contesto, a.progresso));
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di "
                                                     "testo necessari."));
    }

    void aggiornamentoBaseDati_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<bool>("riuscito");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("CLIENT") << "CLIENT" << false
                                << "La funzione di Aggiornamento Base Dati è disponibile solo dalle installazioni di tipo SERVER.";
        QTest::newRow("vuota") << "" << false
                               << "ATTENZIONE: impossibile rilevare tipo di installazione in uso (SERVER/CLIENT). \r\n"
                                  "Contattare il servizio di assistenza V.T.Z. riportando questo messaggio.";
        QTest::newRow("SERVER") << "SERVER" << true << "Aggiornamento Base Dati effettuato.";
    }
    void aggiornamentoBaseDati()
    {
        QFETCH(QString, versione);
        QFETCH(bool, riuscito);
        QFETCH(QString, messaggio);
        Operatori a;
        a.installa();
        a.db.riapriInModo(ModoApertura::Condiviso);
        a.tutti();
        a.sessione.gVersione = versione;
        QCOMPARE(aggiornaBaseDati(*a.contesto, a.progresso), riuscito);
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(QFile::exists(a.percorso(QStringLiteral("CAR/CorsiPre.car"))), riuscito);
        QCOMPARE(QFile::exists(a.percorso(QStringLiteral("oper.tx1"))), !riuscito);
        // Shared again afterwards, as the installation opens it.
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    void aggiornamentoBaseDatiFallitoMetteInBad()
    {
        Operatori a;
        a.installa();
        a.tutti();
        a.file(QStringLiteral("compo.tx1"), riga({"A", "x"}));
        a.sessione.gVersione = QStringLiteral("SERVER");
        QVERIFY(!aggiornaBaseDati(*a.contesto, a.progresso));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("BAD/compo.car"))));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("BAD/oper.car"))));
    }

    // Another workstation holds the database: the files are dropped and the program ends.
    void aggiornamentoBaseDatiConClientConnesso()
    {
        Operatori a;
        a.installa();
        a.db.riapriInModo(ModoApertura::Condiviso);
        CorsiDB altra(QStringLiteral("client"));
        altra.apri(a.percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        a.tutti();
        a.sessione.gVersione = QStringLiteral("SERVER");
        QVERIFY(finisce([&] { aggiornaBaseDati(*a.contesto, a.progresso); }));
        QVERIFY(a.dialoghi.ultimo().contains(QStringLiteral("Qualche client potrebbe ancora essere connesso")));
        QVERIFY(QDir(a.dir.path()).entryList({QStringLiteral("*.tx1")}).isEmpty());
    }

    void blocchi()
    {
        Operatori a;
        a.installa();
        QVERIFY(!operatoreBloccato(a.db, QStringLiteral("A"), 1));
        QCOMPARE(componenteBloccato(a.db, QStringLiteral("A"), 1, 2), std::optional<bool>(false));
        QCOMPARE(componenteBloccato(a.db, QStringLiteral("A"), 1, 77), std::nullopt);
        a.stampata(QStringLiteral("A"), 2, QStringLiteral("003"));
        QVERIFY(operatoreBloccato(a.db, QStringLiteral("A"), 2));
        QCOMPARE(componenteBloccato(a.db, QStringLiteral("A"), 1, 2), std::optional<bool>(false));
        // The occasional site in 003 is used by A-2, who printed there.
        QCOMPARE(sedeOccasionaleBloccata(a.db, 1001), std::optional<bool>(true));
        QCOMPARE(sedeOccasionaleBloccata(a.db, 4444), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestOperatori)
#include "tst_operatori.moc"
