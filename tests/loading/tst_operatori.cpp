#include "common/Progresso.h"
#include "loading/DatiOperatori.h"
#include "support/Ambiente.h"

#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QByteArray kOper =
    riga({"A", "1", "ENTE UNO", "EF", "11111111111", "ROSSI ANNA", "ALFA", "AA", "01021970", "AA", "1234567", "2001", "101"})
    + riga({"A", "2", "ENTE DUE", "CP", "22222222222", "", "", "", "", "", "", "", "105"});
const QByteArray kCompo =
    riga({"A", "1", "1", "SL", "SEDE LEGALE UNO", "001001", "10100", "VIA UNO 1", "011", "5551234", "", "", "", "", ""})
    + riga({"A", "1", "2", "UL", "SEDE UNO IN GAMMA", "003001", "30100", "VIA GAMMA 2", "030", "/44 55", "", "", "", "", ""})
    + riga({"A", "2", "1", "SL", "SEDE LEGALE DUE", "001001", "10100", "VIA DUE 2", "011", "0115550000", "", "", "", "",
            "due@ente.example"});
const QByteArray kSediOcc = riga({"1001", "PALESTRA", "VIA SPORT 1", "003001", "30100", "030", "123456", "", ""});
const QMap<QString, QByteArray> kFile = {
    {"oper.tx1", kOper},
    {"compo.tx1", kCompo},
    {"sediocc.tx1", kSediOcc},
    {"sediutil.tx1", riga({"A", "1", "1001"}) + riga({"A", "2", "1001"})},
    {"corsipre.tx1", riga({"9001", "A", "1", "1", "", "1", "2007", "0", "CORSO VECCHIO", "A", "1", "D", "1", "01"})},
};
const char *const kTabelle[] = {"CorsiOper", "CorsiCompo", "CorsiSediOcc", "CorsiSediOccUtil", "PrecCorsi"};

class Operatori : public Ambiente {
public:
    ProgressoCaricamento progresso;

    // installato: every file installed, the install's messages forgotten.
    explicit Operatori(bool installato = false)
    {
        pronto();
        db.esegui(u"INSERT INTO Province VALUES ('001','AA','ALFA','01'), ('003','GG','GAMMA','01')"_s);
        db.esegui(u"INSERT INTO Comuni VALUES ('001001','ALFA','001','AA','10100'), ('003001','GAMMA','003','GG','30100')"_s);
        if (installato) {
            file();
            installaDatiOperatori(*contesto, progresso);
            dialoghi.messaggi.clear();
        }
    }
    void file(const QStringList &nomi = kFile.keys())
    {
        for (const QString &n : nomi)
            scrivi(n, kFile.value(n));
    }
    // True when the install ends the program.
    bool installa()
    {
        return finisce([&] { installaDatiOperatori(*contesto, progresso); });
    }
    bool aggiorna() { return aggiornaDatiOperatori(*contesto, progresso); }
    // Everything the operator tables hold, to compare before and after.
    QString istantanea()
    {
        QString r;
        for (const char *t : kTabelle) {
            QSqlQuery q = db.seleziona(u"SELECT * FROM %1 ORDER BY 1, 2, 3"_s.arg(QString::fromLatin1(t)));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    r += q.value(i).toString() + (q.value(i).isNull() ? u"\x01"_s : QString()) + u'|';
            r += u'\n';
        }
        return r;
    }
    void stampata(const QString &g, int o, const QString &prov, int stampata = -1)
    {
        db.esegui(u"INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) VALUES (?, ?, ?, 1, ?)"_s,
                  {g, o, prov, stampata});
    }
    QString log() { return daWindows1252(leggi(u"AggiornaDB.LOG"_s)); }
};

} // namespace

class TestOperatori : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void installazione()
    {
        Operatori a;
        a.file();
        QVERIFY(!a.installa());
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QCOMPARE(a.conta(u"CorsiOper"_s), 2);
        QCOMPARE(a.valore(u"SELECT LegGGNasc || LegMMNasc || LegAAAANasc || '|' || Corrispondenza FROM CorsiOper "
                          "WHERE Operatore=1"_s),
                 u"01021970|1"_s);
        QCOMPARE(a.valore(u"SELECT Tel || '|' || Pref || '|' || Riferimento FROM CorsiCompo WHERE Operatore=1 AND "
                          "Componente=2"_s),
                 u"0304455||"_s);
        QCOMPARE(a.valore(u"SELECT Tel FROM CorsiCompo WHERE Operatore=2"_s), u"0115550000"_s);
        QCOMPARE(a.valore(u"SELECT TipoCompo FROM CorsiSediOcc"_s), u"UO"_s);
        QVERIFY(a.db.valoreScalare(u"SELECT SedeOcc FROM PrecCorsi"_s).isNull());
        const QVariant referente = a.db.valoreScalare(u"SELECT NominativoReferente FROM CorsiOper WHERE Operatore=2"_s);
        QVERIFY(!referente.isNull() && referente.toString().isEmpty());
        for (const char *f : {"oper", "compo", "sediocc", "sediutil", "corsipre"})
            QVERIFY2(a.esiste(u"CAR/%1.car"_s.arg(QString::fromLatin1(f))), f);
        QVERIFY(!a.esiste(u"QUIRDAL.mdb_BAK"_s)); // no safety copy left behind
    }

    void installazioneFileMancanti_data()
    {
        // verbo empty: the install goes through
        colonne<QStringList, QString>("presenti", "verbo");
        QTest::newRow("manca oper") << QStringList{"compo.tx1", "corsipre.tx1"} << "spostare";
        QTest::newRow("manca compo") << QStringList{"oper.tx1", "corsipre.tx1"} << "spostare";
        QTest::newRow("sediocc senza sediutil")
            << QStringList{"oper.tx1", "compo.tx1", "sediocc.tx1", "corsipre.tx1"} << "spostate";
        QTest::newRow("manca corsipre") << QStringList{"oper.tx1", "compo.tx1"} << "spostare";
        QTest::newRow("senza sedi occasionali") << QStringList{"oper.tx1", "compo.tx1", "corsipre.tx1"} << "";
    }
    void installazioneFileMancanti()
    {
        QFETCH(QStringList, presenti);
        QFETCH(QString, verbo);
        Operatori a;
        a.file(presenti);
        QCOMPARE(a.installa(), !verbo.isEmpty());
        if (verbo.isEmpty()) {
            QVERIFY(a.dialoghi.messaggi.isEmpty());
            QCOMPARE(a.conta(u"CorsiOper"_s), 2);
            QCOMPARE(a.conta(u"CorsiSediOcc"_s), 0);
            return;
        }
        unMessaggio(a.dialoghi,
                    u"ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile "
                    "che si trovino ancora nella cartella temporanea dove è stato scaricato il pacchetto di "
                    "installazione da Internet. In tal caso, %1 da tale cartella tutti i files .TX1 nella cartella "
                    "%2)."_s.arg(verbo, QDir::toNativeSeparators(a.dir.path())),
                    u"Installazione Base Dati"_s, Icona::Critico);
        QVERIFY(!a.db.aperto());
    }

    // The install ends: its one message, nothing loaded, so that the next start is a first
    // start again; a record the columns cannot take also puts every file in BAD.
    void installazioneFallita_data()
    {
        // contiene empty: an inconsistent file, not a bad record
        colonne<QString, QByteArray, QString, QString, QString>("file", "contenuto", "titolo", "inizio", "contiene");
        const char *titolo = "Installazione Base Dati";
        const auto fase = [](const char *f) {
            return u"\r\ndurante il caricamento %1. L'operazione di caricamento sarà interrotta.\r\n"_s.arg(QString::fromUtf8(f));
        };
        QTest::newRow("oper vuoto") << "oper.tx1" << QByteArray() << titolo << "ATTENZIONE: non è presente alcun OPERATORE"
                                    << "";
        QTest::newRow("compo vuoto") << "compo.tx1" << QByteArray() << titolo << "ATTENZIONE: non è presente alcun COMPONENTE"
                                     << "";
        QTest::newRow("sediutil vuoto") << "sediutil.tx1" << QByteArray() << titolo
                                        << "ATTENZIONE: il file con i dati di utilizzo delle sedi"
                                        << "";
        QTest::newRow("sediocc vuoto") << "sediocc.tx1" << QByteArray() << titolo
                                       << "ATTENZIONE: il file con i dati anagrafici delle sedi"
                                       << "";
        QTest::newRow("senza sede legale") << "compo.tx1" << kCompo.left(kCompo.lastIndexOf("#A#,#2#"))
                                           << "Installazione/Aggiornamento Base Dati"
                                           << "Manca la sede legale dell'Operatore A - 2. Impossibile utilizzare il programma."
                                           << "";
        QTest::newRow("operatore non numerico")
            << "oper.tx1" << riga({"A", "1x", "ENTE", "EF", "1", "", "", "", "", "", "", "", "101"}) << titolo << "Errore "
            << fase("dei dati anagrafici dell' OPERATORE/I");
        QTest::newRow("data di 7 caratteri")
            << "oper.tx1" << riga({"A", "1", "ENTE", "EF", "1", "X", "Y", "ZZ", "0102197", "", "", "", "101"}) << titolo
            << "Errore " << fase("dei dati anagrafici dell' OPERATORE/I");
        QTest::newRow("campi mancanti") << "compo.tx1" << riga({"A", "1"}) << titolo << "Errore "
                                        << fase("dei dati anagrafici dei COMPONENTI");
        QTest::newRow("chiave duplicata") << "sediocc.tx1" << kSediOcc + kSediOcc << titolo << "Errore "
                                          << fase("dei dati anagrafici delle SEDI OCCASIONALI");
        QTest::newRow("riga senza #") << "sediutil.tx1" << QByteArray("A,1,1001\r\n") << titolo << "Errore "
                                      << fase("dei dati di utilizzo delle SEDI OCCASIONALI");
    }
    void installazioneFallita()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, titolo);
        QFETCH(QString, inizio);
        QFETCH(QString, contiene);
        Operatori a;
        a.file();
        a.scrivi(file, contenuto);
        QVERIFY(a.installa());
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, titolo);
        const QString m = a.dialoghi.ultimo();
        QVERIFY2(m.startsWith(inizio) && m.contains(contiene), qPrintable(m));
        a.apriDb();
        for (const char *t : kTabelle)
            QCOMPARE(a.conta(QString::fromLatin1(t)), 0);
        for (const char *f : {"oper", "compo", "sediocc", "sediutil", "corsipre"})
            QCOMPARE(a.esiste(u"BAD/%1.car"_s.arg(QString::fromLatin1(f))), !contiene.isEmpty());
    }

    void aggiornamentoOperatoreBloccato()
    {
        Operatori a(true);
        a.stampata(u"A"_s, 1, u"003"_s);
        a.scrivi(u"oper.tx1"_s, riga({"A", "1", "NUOVO NOME", "CP", "9", "", "", "", "", "", "", "", "110"}));
        a.scrivi(u"compo.tx1"_s, kCompo);
        a.dialoghi.risposte << Risposta::Si;
        QVERIFY(a.aggiorna());
        QCOMPARE(a.valore(u"SELECT Denominazione FROM CorsiOper WHERE Operatore=1"_s), u"ENTE UNO"_s);
        QCOMPARE(a.log(),
                 u"- Operatore A-1 non aggiornato perchè bloccato (ha stampato almeno una domanda definitiva)\r\n"
                 "- Componente A-1-2 SEDE UNO IN GAMMA non aggiornato perchè bloccato (rientra in una provincia "
                 "per la quale è già stata stampata la domanda definitiva)\r\n"_s);
        QVERIFY(a.dialoghi.ultimo().startsWith(u"E' stato creato un file di log con nome: "_s));
        QVERIFY(a.dialoghi.ultimo().endsWith(u"\r\nVisualizzare subito il file di log?"_s));
        QCOMPARE(a.piattaforma.aperti, QStringList{a.percorso(u"AggiornaDB.LOG"_s)});
        QVERIFY(!a.esiste(u"QUIRDAL.mdb_BAK"_s));
    }

    // The lock is per province: the component in the printed province is refused even
    // though the operator's other application is not printed.
    void aggiornamentoComponentePerProvincia()
    {
        Operatori a(true);
        a.stampata(u"A"_s, 1, u"003"_s);
        a.stampata(u"A"_s, 1, u"001"_s, 0);
        a.scrivi(u"oper.tx1"_s, riga({"A", "2", "ENTE DUE BIS", "CP", "2", "", "", "", "", "", "", "", "105"}));
        QByteArray compo = kCompo;
        a.scrivi(u"compo.tx1"_s,
                 compo.replace("SEDE UNO IN GAMMA", "GAMMA RINOMINATA").replace("SEDE LEGALE UNO", "SL RINOMINATA"));
        QVERIFY(a.aggiorna());
        QCOMPARE(a.lista(u"SELECT Denominazione FROM CorsiCompo WHERE Operatore=1 ORDER BY Componente"_s, u"|"_s),
                 u"SL RINOMINATA|SEDE UNO IN GAMMA"_s);
        QCOMPARE(a.valore(u"SELECT Denominazione FROM CorsiOper WHERE Operatore=2"_s), u"ENTE DUE BIS"_s);
    }

    void aggiornamentoTieneCioCheLUtenteHaScritto()
    {
        Operatori a(true);
        a.db.esegui(u"UPDATE CorsiOper SET NominativoReferente='VERDI', ContABI='12345' WHERE Operatore=1"_s);
        a.db.esegui(u"UPDATE CorsiCompo SET Tel='999', Email='' WHERE Operatore=1 AND Componente=1"_s);
        a.scrivi(u"oper.tx1"_s,
                 riga({"A", "1", "ENTE UNO NUOVO", "EF", "1", "ALTRO NOME " + QString(40, u'X'), "BETA", "BB", "03041980", "", "",
                       "", "101"})
                     + riga({"A", "2", "ENTE DUE", "CP", "2", "NERI LUCA", "GAMMA", "GG", "07081975", "", "", "", "105"})
                     + riga({"B", "7", "ENTE NUOVO", "AS", "7", "", "", "", "", "", "", "", "101"}));
        a.scrivi(u"compo.tx1"_s,
                 kCompo
                     + riga({"B", "7", "1", "SL", "SEDE NUOVA", "001001", "10100", "VIA N", "", "1", "", "", "", "", "n@x.it"}));
        QVERIFY(a.aggiorna());
        // A filled LegNome stays, an empty one is filled (cut to the column).
        QCOMPARE(a.valore(u"SELECT LegNome || '|' || LegComNasc || '|' || Denominazione || '|' || NominativoReferente "
                          "|| '|' || ContABI FROM CorsiOper WHERE Operatore=1"_s),
                 u"ROSSI ANNA|ALFA|ENTE UNO NUOVO|VERDI|12345"_s);
        QCOMPARE(a.valore(u"SELECT LegNome || '|' || LegGGNasc FROM CorsiOper WHERE Operatore=2"_s), u"NERI LUCA|07"_s);
        QCOMPARE(a.valore(u"SELECT Tel || '|' || Email FROM CorsiCompo WHERE Operatore=1 AND Componente=1"_s), u"999|"_s);
        QCOMPARE(a.valore(u"SELECT Corrispondenza FROM CorsiOper WHERE GrupOpe='B'"_s), u"1"_s);
        QVERIFY(!a.esiste(u"AggiornaDB.LOG"_s));
    }

    void aggiornamentoProvinciaNonTrovata()
    {
        Operatori a(true);
        a.scrivi(u"oper.tx1"_s, kOper);
        a.scrivi(u"compo.tx1"_s,
                 kCompo + riga({"A", "1", "9", "UL", "SEDE IGNOTA", "999999", "", "", "", "", "", "", "", "", ""}));
        QVERIFY(a.aggiorna());
        QVERIFY(a.dialoghi.testiMessaggi().join(u'\n').contains(u"ATTENZIONE: provincia non trovata per il componente A-1-9"_s));
        QCOMPARE(a.conta(u"CorsiCompo WHERE Componente=9"_s), 0);
    }

    // A failure in the middle: the database holds exactly what it held.
    void aggiornamentoFallitoLasciaTuttoComEra_data()
    {
        // contenuto null: the file missing
        colonne<QString, QByteArray, QString, QString>("file", "contenuto", "titolo", "ultimo");
        const char *ripristino = "Ripristino della base dati riuscito";
        QTest::newRow("componente non numerico")
            << "compo.tx1" << kCompo + riga({"A", "1", "tre", "UL", "X", "001001", "", "", "", "", "", "", "", "", ""})
            << "Aggiornamento Base Dati - AggCorsiCompo" << ripristino;
        QTest::newRow("sede non numerica") << "sediocc.tx1" << riga({"10x1", "X", "", "001001", "", "", "", "", ""})
                                           << "Aggiornamento Base Dati - AggCorsiSediOcc" << ripristino;
        QTest::newRow("compo vuoto") << "compo.tx1" << QByteArray("") << "Aggiornamento Base Dati" << ripristino;
        QTest::newRow("sediutil vuoto") << "sediutil.tx1" << QByteArray("") << "Aggiornamento Base Dati" << ripristino;
        QTest::newRow("compo mancante") << "compo.tx1" << QByteArray() << "Aggiornamento Base Dati"
                                        << "ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari.";
    }
    void aggiornamentoFallitoLasciaTuttoComEra()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, titolo);
        QFETCH(QString, ultimo);
        Operatori a(true);
        const QString prima = a.istantanea();
        a.file();
        a.scrivi(u"oper.tx1"_s, riga({"A", "1", "CAMBIATO", "EF", "1", "", "", "", "", "", "", "", "101"}));
        if (contenuto.isNull())
            QFile::remove(a.percorso(file));
        else
            a.scrivi(file, contenuto);
        QVERIFY(!a.aggiorna());
        QCOMPARE(a.dialoghi.messaggi[0].titolo, titolo);
        QCOMPARE(a.dialoghi.ultimo(), ultimo);
        QCOMPARE(a.istantanea(), prima);
        QVERIFY(!a.esiste(u"AggiornaDB.LOG"_s));
    }

    void aggiornamentoBaseDati_data()
    {
        // compo null: the file as installed
        colonne<QString, QString, bool, QString>("versione", "compo", "riuscito", "messaggio");
        QTest::newRow("CLIENT")
            << "CLIENT" << QString() << false
            << "La funzione di Aggiornamento Base Dati è disponibile solo dalle installazioni di tipo SERVER.";
        QTest::newRow("vuota") << "" << QString() << false
                               << "ATTENZIONE: impossibile rilevare tipo di installazione in uso (SERVER/CLIENT). \r\n"
                                  "Contattare il servizio di assistenza V.T.Z. riportando questo messaggio.";
        QTest::newRow("SERVER") << "SERVER" << QString() << true << "Aggiornamento Base Dati effettuato.";
        // A failed update leaves its files in BAD.
        QTest::newRow("SERVER, componente errato") << "SERVER"
                                                   << "#A#,#x#" << false << "Ripristino della base dati riuscito";
    }
    void aggiornamentoBaseDati()
    {
        QFETCH(QString, versione);
        QFETCH(QString, compo);
        QFETCH(bool, riuscito);
        QFETCH(QString, messaggio);
        Operatori a(true);
        a.db.riapriInModo(ModoApertura::Condiviso);
        a.file();
        if (!compo.isNull())
            a.scrivi(u"compo.tx1"_s, compo.toLatin1() + "\r\n");
        a.sessione.gVersione = versione;
        QCOMPARE(aggiornaBaseDati(*a.contesto, a.progresso), riuscito);
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.esiste(u"CAR/CorsiPre.car"_s), riuscito);
        QCOMPARE(a.esiste(u"oper.tx1"_s), !riuscito && compo.isNull());
        QCOMPARE(a.esiste(u"BAD/compo.car"_s) && a.esiste(u"BAD/oper.car"_s), !compo.isNull());
        // Shared again afterwards, as the installation opens it.
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    // Another workstation holds the database: the files are dropped and the program ends.
    void aggiornamentoBaseDatiConClientConnesso()
    {
        Operatori a(true);
        a.db.riapriInModo(ModoApertura::Condiviso);
        CorsiDB altra(u"client"_s);
        altra.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        a.file();
        a.sessione.gVersione = u"SERVER"_s;
        QVERIFY(finisce([&] { aggiornaBaseDati(*a.contesto, a.progresso); }));
        QVERIFY(a.dialoghi.ultimo().contains(u"Qualche client potrebbe ancora essere connesso"_s));
        QVERIFY(QDir(a.dir.path()).entryList({u"*.tx1"_s}).isEmpty());
    }

    void blocchi()
    {
        Operatori a(true);
        QVERIFY(!operatoreBloccato(a.db, u"A"_s, 1));
        QCOMPARE(componenteBloccato(a.db, u"A"_s, 1, 2), std::optional<bool>(false));
        QCOMPARE(componenteBloccato(a.db, u"A"_s, 1, 77), std::nullopt);
        a.stampata(u"A"_s, 2, u"003"_s);
        QVERIFY(operatoreBloccato(a.db, u"A"_s, 2));
        QCOMPARE(componenteBloccato(a.db, u"A"_s, 1, 2), std::optional<bool>(false));
        // The occasional site in 003 is used by A-2, who printed there.
        QCOMPARE(sedeOccasionaleBloccata(a.db, 1001), std::optional<bool>(true));
        QCOMPARE(sedeOccasionaleBloccata(a.db, 4444), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestOperatori)
#include "tst_operatori.moc"
