#include "common/Importo.h"
#include "config/Installazione.h"
#include "db/IstruzionePreparata.h"
#include "db/RiaperturaConnessione.h"
#include "support/Ambiente.h"
#include "support/Detentore.h"

#include <QSqlRecord>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

class TestCorsiDB : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void schemaIspezionato()
    {
        Pronto a;
        QStringList tipi;
        for (const InfoTabella &t : a.db.elencoTabelle())
            if (QStringList{"CorsiProp", "QryCorsi", "MSysQuirdal"}.contains(t.nome))
                tipi << t.nome + u'=' + t.tipo;
        tipi.sort();
        QCOMPARE(tipi, (QStringList{"CorsiProp=TABLE", "MSysQuirdal=SYSTEM TABLE", "QryCorsi=VIEW"}));
        const QList<Colonna> chiave = a.db.chiavePrimaria(u"massimalipar"_s);
        QStringList nomi;
        for (const Colonna &c : chiave)
            nomi << c.nome;
        QCOMPARE(nomi, (QStringList{"CodAsse", "CodMisura", "CodAzione", "CodTipologia", "MinOre", "MaxOre", "ParC1"}));
        QVERIFY(tipiAdo::eTesto(chiave[0].tipo));
        QCOMPARE(chiave[4].tipo, tipiAdo::Integer);
        QCOMPARE(a.db.colonne(u"Comuni"_s).at(0).dimensione, 6);
        QVERIFY(a.db.esisteColonna(u"CORSIPROP"_s, u"dataavvio"_s));
    }

    // Every saved query runs, so none refers to a column the tables lack.
    void querySalvateEseguibili()
    {
        Pronto a;
        for (const QuerySalvata &q : querySalvate())
            QVERIFY2(a.db.seleziona(u"SELECT * FROM "_s + q.nome).record().count() > 0, qPrintable(q.nome));
    }

    // A row read by name keeps Null apart from ""; a number left empty reads as empty, not 0,
    // on either engine; a name the statement does not select is an error, never an empty value.
    void nullDistintoDaVuoto()
    {
        Pronto a;
        a.db.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, LegNome) VALUES ('A', 1, '', NULL)"_s);
        const QVariantMap riga = a.db.righe(u"SELECT Denominazione, LegNome, AttEcono, ATI FROM CorsiOper"_s).value(0);
        QVERIFY(!CorsiDB::campo(riga, u"Denominazione"_s).isNull());
        QCOMPARE(CorsiDB::campo(riga, u"Denominazione"_s).toString(), QString());
        for (const QString &c : {u"LegNome"_s, u"AttEcono"_s, u"ATI"_s}) {
            QVERIFY2(CorsiDB::campo(riga, c).isNull(), qPrintable(c));
            QCOMPARE(CorsiDB::campo(riga, c).toString(), QString());
        }
        QCOMPARE(a.valore(u"SELECT AttEcono FROM CorsiOper"_s), QString());
        QCOMPARE(numeroErrore([&] { CorsiDB::campo(riga, u"CodFisc"_s); }), 3265L);
    }

    void tipiImpostiAlSalvataggio_data()
    {
        colonne<QString, QVariant, long>("colonna", "valore", "errore");
        QTest::newRow("numero come testo") << "AttEcono" << QVariant(u" 12 "_s) << 0L;
        QTest::newRow("testo in campo numerico") << "AttEcono" << QVariant(u"12a"_s) << 3421L;
        QTest::newRow("vuoto in campo numerico") << "AttEcono" << QVariant(QString()) << 3421L;
        QTest::newRow("testo alla misura") << "CodFisc" << QVariant(QString(16, u'X')) << 0L;
        QTest::newRow("testo oltre la misura") << "CodFisc" << QVariant(QString(17, u'X')) << 3163L;
        QTest::newRow("flag") << "ATI" << QVariant(true) << 0L;
    }
    void tipiImpostiAlSalvataggio()
    {
        QFETCH(QString, colonna);
        QFETCH(QVariant, valore);
        QFETCH(long, errore);
        Pronto a;
        a.aggiungiOperatore(u"A"_s, 1, u"UNO"_s);
        Colonna c;
        for (const Colonna &k : a.db.colonne(u"CorsiOper"_s))
            if (k.nome == colonna)
                c = k;
        QVariant convertito;
        QCOMPARE(numeroErrore([&] { convertito = CorsiDB::convertiPerColonna(c, valore); }), errore);
        if (errore != 0)
            return;
        a.db.esegui(u"UPDATE CorsiOper SET %1 = ?"_s.arg(colonna), {convertito});
        // typeof is SQLite's own: the server's column holds nothing but numbers.
        if (colonna == "AttEcono"_L1 && !a.suServer())
            QCOMPARE(a.valore(u"SELECT typeof(AttEcono) FROM CorsiOper"_s), u"integer"_s);
    }

    // Whatever the failure, the file is left as it was and none is made.
    void aperturaDiFileNonValidi_data()
    {
        // contenuto: "db": a database; empty: no file (on the server: no database)
        colonne<QByteArray, QString, long>("contenuto", "password", "errore");
        const QString giusta = QString::fromLatin1(CorsiDB::kPassword);
        QTest::newRow("byte a caso") << QByteArray("\x13\x99 questo non e' un database\x00\x01", 30).repeated(200) << giusta
                                     << 3343L;
        QTest::newRow("password errata") << QByteArray("db") << u"ALTRA"_s << 3031L;
        QTest::newRow("file assente") << QByteArray() << giusta << 3024L;
    }
    void aperturaDiFileNonValidi()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, password);
        QFETCH(long, errore);
        Ambiente a;
        if (a.suServer() && contenuto != "db" && !contenuto.isEmpty())
            QSKIP("Il contenuto di un file: sul server non c'è file");
        if (contenuto == "db")
            a.creaDb();
        else if (!contenuto.isEmpty())
            a.scrivi(u"QUIRDAL.mdb"_s, contenuto);
        const QByteArray prima = a.leggi(u"QUIRDAL.mdb"_s);
        QCOMPARE(numeroErrore([&] { a.db.apri(a.connessione(), password, ModoApertura::Condiviso); }), errore);
        QVERIFY(!a.db.aperto());
        QCOMPARE(a.leggi(u"QUIRDAL.mdb"_s), prima);
        QCOMPARE(a.esiste(u"QUIRDAL.mdb"_s), !contenuto.isEmpty() && !a.suServer());
    }

    // Another workstation connected (another process) decides what this one may open, with the
    // message of each case.
    void presenzaDiUnAltraPostazione_data()
    {
        colonne<QString, ModoApertura, QString>("altra", "modo", "messaggio");
        const QString aperta = u"La base dati è aperta da un'altra postazione: impossibile aprirla in modo esclusivo."_s;
        QTest::newRow("condivisa: esclusiva rifiutata") << u"condiviso"_s << ModoApertura::Esclusivo << aperta;
        QTest::newRow("esclusiva: condivisa rifiutata")
            << u"esclusivo"_s << ModoApertura::Condiviso << u"La base dati è aperta in modo esclusivo da un'altra postazione."_s;
        QTest::newRow("esclusiva: esclusiva rifiutata") << u"esclusivo"_s << ModoApertura::Esclusivo << aperta;
        QTest::newRow("condivisa: condivisa ammessa") << u"condiviso"_s << ModoApertura::Condiviso << QString();
    }
    void presenzaDiUnAltraPostazione()
    {
        QFETCH(QString, altra);
        QFETCH(ModoApertura, modo);
        QFETCH(QString, messaggio);
        Ambiente a;
        a.scriviIni(u"Multiutenza"_s);
        a.creaDb();
        Detentore altro(a.percorsoDb(), altra);
        QCOMPARE(altro.risposta, u"PRONTO"_s);
        QString detto;
        try {
            a.apriDb(modo);
        } catch (const Errore &e) {
            QCOMPARE(e.numero(), codici::DatabaseBloccato);
            detto = e.descrizione();
        }
        QCOMPARE(detto, messaggio);
        QCOMPARE(a.db.aperto(), messaggio.isEmpty());
    }

    // Amounts at their limits come back to the cent, whichever way they are read: SQLite keeps
    // a double, the server an exact number given back as its text.
    void importiAlCentesimo_data()
    {
        colonne<qint64>("centesimi");
        for (const qint64 c :
             {Q_INT64_C(0), Q_INT64_C(1), Q_INT64_C(-1), Q_INT64_C(7), Q_INT64_C(29), Q_INT64_C(57), Q_INT64_C(1005),
              Q_INT64_C(2675), Q_INT64_C(-123456789), Q_INT64_C(99999999999999), Q_INT64_C(-99999999999999)})
            QTest::newRow(qPrintable(Importo::daCentesimi(c).perTrasmissione())) << c;
    }
    void importiAlCentesimo()
    {
        QFETCH(qint64, centesimi);
        Pronto a;
        a.db.esegui(u"INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1) "
                    "VALUES ('A', 1, 1, '0001', '0', 1, ?)"_s,
                    {Importo::daCentesimi(centesimi).perSql()});
        const QString sql = u"SELECT ParamA1 FROM CorsiPropSpese"_s;
        QCOMPARE(Importo::daValore(a.db.valoreScalare(sql)).centesimi(), centesimi);
        const QVariantMap riga = a.db.righe(u"SELECT * FROM CorsiPropSpese"_s).value(0);
        QCOMPARE(Importo::daValore(CorsiDB::campo(riga, u"ParamA1"_s)).centesimi(), centesimi);
        IstruzionePreparata q(a.db, sql);
        QVERIFY(q.prossima());
        QCOMPARE(Importo::daValore(q.colonna(0)).centesimi(), centesimi);
        QVERIFY(!q.prossima());
    }

    // Two workstations each take the highest course code and add one, inside a write
    // transaction: the second is held off while the first holds its transaction (refused at
    // once, with no waiting allowed), and once the first has confirmed, it gets the next code.
    void codiciDiversiDaDuePostazioni()
    {
        Pronto a(u"Multiutenza"_s);
        CorsiDB b(u"seconda"_s);
        b.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        b.impostaAttesa(0);
        const auto prossimo = [](CorsiDB &d) {
            const int massimo =
                d.valoreScalare(u"SELECT MAX(Corso) FROM CorsiProp WHERE GrupOpe = 'A' AND Operatore = 1"_s).toString().toInt();
            const QString codice = u"%1"_s.arg(massimo + 1, 4, 10, QLatin1Char('0'));
            d.esegui(u"INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, StatoIter) "
                     "VALUES ('A', 1, 1, ?, '0', 1)"_s,
                     {codice});
            return codice;
        };
        QString primo;
        {
            Transazione ta(a.db);
            primo = prossimo(a.db);
            try {
                Transazione tb(b);
                QFAIL("la seconda postazione scrive mentre la prima tiene la sua transazione");
            } catch (const Errore &e) {
                QCOMPARE(e.numero(), codici::DatabaseBloccato);
                QVERIFY2(e.descrizione().startsWith(
                             u"La base dati è in uso da un'altra postazione. Riprovare tra qualche istante. ["_s),
                         qPrintable(e.descrizione()));
            }
            QVERIFY(!b.inTransazione());
            ta.conferma();
        }
        Transazione tb(b);
        const QString secondo = prossimo(b);
        tb.conferma();
        QCOMPARE(primo, u"0001"_s);
        QCOMPARE(secondo, u"0002"_s);
        QCOMPARE(a.lista(u"SELECT Corso FROM CorsiProp ORDER BY Corso"_s), u"0001,0002"_s);
    }

    void esclusivaRifiutataMentreUnAltroProcessoLaTiene()
    {
        Pronto a;
        {
            Detentore altro(a.percorsoDb(), u"condiviso"_s);
            QCOMPARE(altro.risposta, u"PRONTO"_s);
            Errore e(0, {});
            QVERIFY(!a.db.riconnettiEsclusivo(&e));
            QCOMPARE(e.numero(), 3260L);
            // Refused, the program keeps its shared connection.
            QVERIFY(a.db.aperto());
            QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        }
        {
            Detentore altro(a.percorsoDb(), u"condiviso"_s);
            QVERIFY(!riconnessioneEsclusiva(a.db, a.dialoghi));
            QVERIFY(a.dialoghi.ultimo().startsWith(u"Errore 3260\r\n"_s));
            QVERIFY(a.dialoghi.ultimo().endsWith(u"\r\nQualche client potrebbe ancora essere connesso alla base dati. \r\n"
                                                 "Il programma uscira a Windows.\r\nChiudere tutti i client, riavviare "
                                                 "l'applicativo SERVER e ritentare l'Operazione."_s));
        }
        QVERIFY(riconnessioneEsclusiva(a.db, a.dialoghi));
        QCOMPARE(a.db.modo(), ModoApertura::Esclusivo);
        QVERIFY(Detentore(a.percorsoDb(), u"condiviso"_s).risposta.startsWith("ERRORE"_L1));
    }

    // After an exclusive reconnection the connection goes back to the mode it had. A reopen
    // that fails (the connection lost meanwhile and the file taken by another workstation)
    // reaches the caller once, whether asked for or at the end of the scope.
    void riaperturaNelModoDiPrima_data()
    {
        colonne<bool, bool, bool, long>("chiusa", "presa", "chiesta", "errore");
        QTest::newRow("ancora esclusiva") << false << false << true << 0L;
        QTest::newRow("chiusa") << true << false << true << 0L;
        QTest::newRow("chiusa, alla fine del blocco") << true << false << false << 0L;
        QTest::newRow("presa da un'altra postazione") << true << true << true << 3260L;
        QTest::newRow("presa, alla fine del blocco") << true << true << false << 3260L;
    }
    void riaperturaNelModoDiPrima()
    {
        QFETCH(bool, chiusa);
        QFETCH(bool, presa);
        QFETCH(bool, chiesta);
        QFETCH(long, errore);
        Pronto a(u"Multiutenza"_s);
        QList<long> segnalati;
        {
            std::optional<Detentore> altro;
            RiaperturaConnessione r(a.db, [&](const Errore &e) { segnalati << e.numero(); });
            QVERIFY(a.db.riconnettiEsclusivo());
            if (chiusa)
                a.db.chiudi();
            if (presa) {
                altro.emplace(a.percorsoDb(), u"esclusivo"_s);
                QCOMPARE(altro->risposta, u"PRONTO"_s);
            }
            if (chiesta) {
                QCOMPARE(r.riapri(), errore == 0);
                QCOMPARE(r.riapri(), errore == 0);
            }
        }
        QCOMPARE(segnalati, errore ? QList<long>{errore} : QList<long>{});
        QCOMPARE(a.db.aperto(), errore == 0);
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    void colonnaEQueryAggiunte()
    {
        Pronto a;
        a.db.aggiungiColonnaTesto(u"Regioni"_s, u"Nota"_s, 20);
        a.db.esegui(u"INSERT INTO Regioni (REGIONE, Nota) VALUES ('01', '')"_s);
        QCOMPARE(a.db.colonne(u"Regioni"_s).last().dimensione, 20);
        // Named as the program named it, on the server too (which keeps it in lower case).
        QCOMPARE(a.db.colonne(u"Regioni"_s).last().nome, u"Nota"_s);
        a.db.sostituisciQuery(u"QryMetadati"_s, u"SELECT REGIONE, Nota FROM Regioni"_s);
        const QVariantMap riga = a.db.righe(u"SELECT * FROM QryMetadati"_s).value(0);
        QCOMPARE(CorsiDB::campo(riga, u"REGIONE"_s).toString(), u"01"_s);
        QVERIFY(!CorsiDB::campo(riga, u"Nota"_s).isNull());
    }

    void transazioneAnnullataSenzaConferma()
    {
        Pronto a;
        {
            Transazione t(a.db);
            a.aggiungiOperatore(u"A"_s, 1, u"UNO"_s);
        }
        QCOMPARE(a.conta(u"CorsiOper"_s), 0);
        // An existing database is never made again.
        QCOMPARE(numeroErrore([&] { creaDatabase(a.connessione(), u"x"_s); }), 3204L);
    }

    // A transaction inside another is a part of it: confirmed, it stays only if the outer one
    // is confirmed; cancelled, it undoes its own part and the outer one goes on.
    void transazioniAnnidate_data()
    {
        QTest::addColumn<bool>("interna");
        QTest::addColumn<bool>("esterna");
        QTest::addColumn<QString>("operatori");
        QTest::newRow("entrambe confermate") << true << true << u"1,2,3"_s;
        QTest::newRow("interna annullata") << false << true << u"1,3"_s;
        QTest::newRow("esterna annullata") << true << false << u""_s;
        QTest::newRow("entrambe annullate") << false << false << u""_s;
    }
    void transazioniAnnidate()
    {
        QFETCH(bool, interna);
        QFETCH(bool, esterna);
        QFETCH(QString, operatori);
        Pronto a;
        {
            Transazione t(a.db);
            a.aggiungiOperatore(u"A"_s, 1, u"UNO"_s);
            {
                Transazione u(a.db);
                QCOMPARE(a.db.livelloTransazione(), 2);
                a.aggiungiOperatore(u"A"_s, 2, u"DUE"_s);
                if (interna)
                    u.conferma();
            }
            QCOMPARE(a.db.livelloTransazione(), 1);
            a.aggiungiOperatore(u"A"_s, 3, u"TRE"_s);
            if (esterna)
                t.conferma();
        }
        QVERIFY(!a.db.inTransazione());
        QCOMPARE(a.lista(u"SELECT Operatore FROM CorsiOper ORDER BY 1"_s), operatori);
    }
};

QTEST_GUILESS_MAIN(TestCorsiDB)
#include "tst_corsidb.moc"
