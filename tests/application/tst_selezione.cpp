#include "application/Selezione.h"
#include "application/SelezioneOperatore.h"
#include "courses/Spese.h"
#include "support/Domanda.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
const QString kSenzaDomanda =
    u"Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda (Selezione Domanda)"_s;
}

class TestSelezione : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operatoreGiaCorrente()
    {
        Selezionata a;
        a.aggiungiOperatore(u"B"_s, 2, u"ALTRO"_s);
        const QByteArray prima = a.leggi(u"QUIRDAL.INI"_s);
        a.sessione.gDomanda = 0; // changed meanwhile: the reload puts it back
        confermaOperatore(*a.contesto, u"A  7  ENTE SETTE À"_s);
        QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), prima);
        QCOMPARE(a.sessione.gDomanda, short(1));
        QCOMPARE(a.sessione.gDenomOper, u"ENTE SETTE À"_s);
        // Another operator: its first application, or none.
        confermaOperatore(*a.contesto, u"B  2  ALTRO"_s);
        QCOMPARE(a.ini.leggi(u"BaseDati"_s, u"Prov"_s), QString());
        QCOMPARE(a.sessione.chiaveOperatore(), (QVariantList{u"B"_s, 2LL}));
    }

    void provinceUnaVoltaSola()
    {
        Selezionata a;
        // A component and an occasional site in 003, another occasional site in 001.
        const ElencoProvince e = elencoProvince(*a.contesto);
        QCOMPARE(e.voci, (QStringList{"", "AL - ALFA", "GG - GAMMA"}));
        QCOMPARE(e.voci[e.preselezione], u"AL - ALFA"_s);
        QCOMPARE(e.denominazione, u"ENTE SETTE À"_s);
    }

    // A province without application: the number first, then the INI and the session.
    void sceltaProvincia_data()
    {
        // sede: what the operator has in ZZ; numero: 1 obtained, 0 not, -1 not asked for
        colonne<QString, QString, int, int, QString>("voce", "sede", "risposta", "numero", "provDopo");
        QTest::newRow("voce vuota") << ""
                                    << "occasionale" << int(Risposta::Si) << -1 << "001";
        QTest::newRow("solo sedi occasionali, No") << "ZZ - ZETA"
                                                   << "occasionale" << int(Risposta::No) << -1 << "001";
        QTest::newRow("numero ottenuto") << "ZZ - ZETA"
                                         << "componente" << int(Risposta::Si) << 1 << "009";
        QTest::newRow("numero non ottenuto") << "ZZ - ZETA"
                                             << "componente" << int(Risposta::Si) << 0 << "001";
    }
    void sceltaProvincia()
    {
        QFETCH(QString, voce);
        QFETCH(QString, sede);
        QFETCH(int, risposta);
        QFETCH(int, numero);
        QFETCH(QString, provDopo);
        Selezionata a;
        a.db.esegui(u"INSERT INTO Province VALUES ('009','ZZ','ZETA','01')"_s);
        a.db.esegui(u"INSERT INTO Comuni VALUES ('009001','ZETA','009','ZZ','90100')"_s);
        if (sede == "componente"_L1) {
            a.db.esegui(u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, CodComune) VALUES ('A', 7, 9, '009001')"_s);
        } else {
            a.db.esegui(u"INSERT INTO CorsiSediOcc (SedeOcc, CodComune) VALUES (1009, '009001')"_s);
            a.db.esegui(u"INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc) VALUES ('A', 7, 1009)"_s);
        }
        a.dialoghi.risposte << static_cast<Risposta>(risposta);
        bool chiesto = false;
        const EsitoProvincia e = confermaProvincia(*a.contesto, voce, [&](const QString &prov) {
            chiesto = true;
            if (numero == 1)
                a.db.esegui(u"INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES "
                            "('A', 7, ?, 1, 'N9')"_s,
                            {prov});
            return std::optional<bool>(numero == 1);
        });
        QCOMPARE(chiesto, numero >= 0);
        QCOMPARE(a.sessione.gProv, provDopo);
        QCOMPARE(a.ini.leggi(u"BaseDati"_s, u"Prov"_s), provDopo);
        QCOMPARE(a.sessione.gDomanda, short(1));
        QCOMPARE(e, numero < 0 ? EsitoProvincia::Restare : EsitoProvincia::Confermata);
        if (numero < 0) {
            QCOMPARE(a.dialoghi.ultimo(), u"Selezionare una Provincia o premere Annulla."_s);
            QCOMPARE(a.dialoghi.messaggi.last().titolo, u"Verifica Dati"_s);
        }
    }

    void riepilogoDellaDomanda()
    {
        Selezionata a;
        const Riepilogo r = calcolaRiepilogo(*a.contesto);
        QCOMPARE(r.sedi, 2);  // component 1 and occasional site 1001; 1002 and 3 are in 003
        QCOMPARE(r.corsi, 4); // first years of 0001/0, 0001/1, 0002/0, 0003/0
        QCOMPARE(formatoTotale(r.totale), u"226.534,50"_s);
        QCOMPARE(r.atti, u"0"_s);
        salvaAttiATIATS(*a.contesto, QString());
        QCOMPARE(a.valore(u"SELECT AttiATIATS FROM Installazione WHERE Prov='001'"_s), u"0"_s);
        // A component's total takes in the occasional-site courses it is responsible for,
        // in the province of the application only (1002 lies in 003).
        QCOMPARE(formatoTotale(TotSpeseCorsiSede(a.db, a.sessione, 2)), u"0,00"_s);
        QCOMPARE(formatoTotale(TotSpeseCorsiSede(a.db, a.sessione, 1)), u"226.534,50"_s);
        a.db.esegui(u"UPDATE CorsiPropSpese SET ParamA1=1 WHERE Corso='0003'"_s);
        QCOMPARE(formatoTotale(TotSpeseCorsiSede(a.db, a.sessione, 2)), u"4.800,00"_s);
    }

    void vociDelleSedi()
    {
        Selezionata a;
        a.db.esegui(u"UPDATE CorsiCompo SET Denominazione='SEDE CON UN NOME MOLTO LUNGO' WHERE Componente=2"_s);
        a.sessione.gProssimaScheda = u"frmCorsi"_s;
        const ElencoSedi e = elencoSedi(*a.contesto);
        QCOMPARE(e.descrizione, u"Selezionare la Sede Interessata per la gestione dei Corsi"_s);
        QCOMPARE(e.voci,
                 (QStringList{"1     - SEDE LEGALE           - SL - VIA UNO 1", "2     - SEDE CON UN NOME MOL. - UL - VIA DUE 2",
                              "1001  - PALESTRA              - VIA SPORT 1             (SEDE OCCASIONALE)"}));
        QCOMPARE(e.preselezione, 0);
        QVERIFY(confermaSede(*a.contesto, e.voci[2]));
        QCOMPARE(a.sessione.gCompo, u"1001"_s);
        QCOMPARE(a.sessione.chiaveSede(), (QVariantList{u"A"_s, 7LL, 1001LL}));
        a.sessione.gProssimaScheda = u"altro"_s;
        QVERIFY(elencoSedi(*a.contesto).anomalia.startsWith(u"ANOMALIA: valore di 'prossima scheda"_s));
    }

    void sedeSenzaCorsiConSchedaHandicap_data()
    {
        colonne<bool, QString>("stampata", "inizio");
        QTest::newRow("da compilare") << false << "Impossibile gestire le schede handicap:\r\nnessun corso";
        QTest::newRow("stampata") << true << "Domanda già inviata alla Provincia.\r\nNon sarà possibile modificare";
    }
    void sedeSenzaCorsiConSchedaHandicap()
    {
        QFETCH(bool, stampata);
        QFETCH(QString, inizio);
        Selezionata a;
        a.sessione.gProssimaScheda = u"frmHandi"_s;
        a.sessione.gDomandaStampata = flag(stampata);
        QVERIFY(!confermaSede(*a.contesto, u"1     - SEDE LEGALE"_s));
        QVERIFY(a.dialoghi.ultimo().startsWith(inizio));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, u"Schede Handicap"_s);
        a.db.esegui(u"UPDATE CorsiProp SET SchedaHand=1 WHERE Corso='0002'"_s);
        QVERIFY(confermaSede(*a.contesto, u"1     - SEDE LEGALE"_s));
    }

    void serveUnaDomanda()
    {
        Pronto a;
        QVERIFY(!controllaAccessoSedi(*a.contesto, u"C"_s));
        QVERIFY(!controllaAccessoSedi(*a.contesto, u"I"_s));
        QVERIFY(!controllaRiassegnazione(*a.contesto));
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList(3, kSenzaDomanda));
        for (const auto &m : a.dialoghi.messaggi)
            QCOMPARE(m.titolo, u"Funzione non disponibile"_s);
    }

    void accessoAlleSedi_data()
    {
        colonne<QString, QString, QString>("sql", "modo", "messaggio");
        const char *soloOccasionali = "UPDATE CorsiCompo SET CodComune='003001' WHERE Operatore=7";
        QTest::newRow("corsi senza sede legale") << "UPDATE CorsiCompo SET TipoCompo='UL'"
                                                 << "C"
                                                 << "Nessun Componente di tipo SEDE LEGALE nella sezione Componenti";
        QTest::newRow("handicap senza componenti") << "DELETE FROM CorsiCompo"
                                                   << "I"
                                                   << "Nessun Componente di tipo SEDE LEGALE nella sezione Componenti";
        QTest::newRow("corsi, solo sedi occasionali")
            << soloOccasionali << "C"
            << "ATTENZIONE: per l'Operatore e la Provincia selezionati non sono stati trovati componenti, ma solo sedi "
               "occasionali.\r\nImpossibile gestire corsi.";
        QTest::newRow("handicap, solo sedi occasionali")
            << soloOccasionali << "I"
            << "ATTENZIONE: per l'Operatore e la Provincia selezionati non sono stati trovati componenti, ma solo sedi "
               "occasionali.\r\nImpossibile gestire schede handicap.";
        QTest::newRow("corsi ammessi") << "SELECT 1"
                                       << "C"
                                       << "";
    }
    void accessoAlleSedi()
    {
        QFETCH(QString, sql);
        QFETCH(QString, modo);
        QFETCH(QString, messaggio);
        Selezionata a;
        a.db.esegui(sql);
        QCOMPARE(controllaAccessoSedi(*a.contesto, modo), messaggio.isEmpty());
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.sessione.gModoCompo, modo);
    }

    void riassegnazione_data()
    {
        colonne<QString, QString>("sql", "messaggio");
        QTest::newRow("stampata") << "UPDATE Installazione SET DomandaStampata=-1"
                                  << "Domanda già stampata in definitivo.\r\nNon è possibile modificare l'assegnazione dei "
                                     "corsi alle sedi interessate";
        QTest::newRow("senza corsi") << "DELETE FROM CorsiProp"
                                     << "Nessun corso inserito per l'Operatore e la Provincia selezionati.";
        QTest::newRow("una sola sede")
            << "DELETE FROM CorsiSediOccUtil WHERE SedeOcc=1001; DELETE FROM CorsiCompo WHERE Componente=2"
            << "C'è una sola sede per l'Operatore e la Provincia selezionati. Non è possibile alcuna riassegnazione.";
        QTest::newRow("ammessa, poi No") << "SELECT 1"
                                         << "ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
                                            "connessa alla base dati.\r\nContinuare ?";
    }
    void riassegnazione()
    {
        QFETCH(QString, sql);
        QFETCH(QString, messaggio);
        Selezionata a(false);
        for (const QString &s : sql.split(u"; "_s))
            a.db.esegui(s);
        ripristinaSessione(a.sessione, a.ini, a.db);
        QVERIFY(!controllaRiassegnazione(*a.contesto));
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
    }
};

QTEST_GUILESS_MAIN(TestSelezione)
#include "tst_selezione.moc"
