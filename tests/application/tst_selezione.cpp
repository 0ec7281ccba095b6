#include "config/SessioneIni.h"
#include "courses/TotaleCorso.h"
#include "application/Selezione.h"
#include "application/SelezioneOperatore.h"
#include "transmission/Domanda.h"

#include <QFile>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;

namespace {

// The application of the transmission fixture, selected: operator A-7, province 001.
void selezionata(Ambiente &a)
{
    a.pronto();
    test::preparaDomanda(a);
    a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"), QStringLiteral("A"));
    a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Oper"), QStringLiteral("7"));
    a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Prov"), QStringLiteral("001"));
    a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Domanda"), QStringLiteral("1"));
    ripristinaSessione(a.sessione, a.ini, a.db);
}

QByteArray ini(Ambiente &a)
{
    QFile f(a.percorso(QStringLiteral("QUIRDAL.INI")));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

const QString kSenzaDomanda =
    QStringLiteral("Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda (Selezione Domanda)");

} // namespace

class TestSelezione : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operatoreGiaCorrente()
    {
        Ambiente a;
        selezionata(a);
        a.aggiungiOperatore(QStringLiteral("B"), 2, QStringLiteral("ALTRO"));
        const QByteArray prima = ini(a);
        a.sessione.gDomanda = 0; // changed meanwhile: the reload puts it back
        confermaOperatore(*a.contesto, QStringLiteral("A  7  ENTE SETTE À"));
        QCOMPARE(ini(a), prima);
        QCOMPARE(a.sessione.gDomanda, short(1));
        QCOMPARE(a.sessione.gDenomOper, QStringLiteral("ENTE SETTE À"));
        // Another operator: its first application, or none.
        confermaOperatore(*a.contesto, QStringLiteral("B  2  ALTRO"));
        QCOMPARE(a.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Prov")), QString());
        QCOMPARE(a.sessione.chiaveOperatore(), (QVariantList{QStringLiteral("B"), 2LL}));
    }

    void provinceUnaVoltaSola()
    {
        Ambiente a;
        selezionata(a);
        // A component and an occasional site in 003, another occasional site in 001.
        const ElencoProvince e = elencoProvince(*a.contesto);
        QCOMPARE(e.voci, (QStringList{"", "AL - ALFA", "GG - GAMMA"}));
        QCOMPARE(e.voci[e.preselezione], QStringLiteral("AL - ALFA"));
        QCOMPARE(e.denominazione, QStringLiteral("ENTE SETTE À"));
    }

    void provinciaNonScelta_data()
    {
        QTest::addColumn<QString>("voce");
        QTest::addColumn<int>("risposta");
        QTest::newRow("voce vuota") << "" << int(Risposta::Si);
        QTest::newRow("solo sedi occasionali, No") << "ZZ - ZETA" << int(Risposta::No);
    }
    void provinciaNonScelta()
    {
        QFETCH(QString, voce);
        QFETCH(int, risposta);
        Ambiente a;
        selezionata(a);
        a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('009','ZZ','ZETA','01')"));
        a.db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('009001','ZETA','009','ZZ','90100')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiSediOcc (SedeOcc, CodComune) VALUES (1009, '009001')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc) VALUES ('A', 7, 1009)"));
        a.dialoghi.risposte << static_cast<Risposta>(risposta);
        bool chiesto = false;
        QCOMPARE(confermaProvincia(*a.contesto, voce, [&](const QString &) { chiesto = true; return std::optional<bool>(true); }),
                 EsitoProvincia::Restare);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare una Provincia o premere Annulla."));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, QStringLiteral("Verifica Dati"));
        QVERIFY(!chiesto);
        QCOMPARE(a.sessione.gProv, QStringLiteral("001"));
    }

    // A province without application: the number first, then the INI and the session.
    void provinciaNuova_data()
    {
        QTest::addColumn<int>("esito"); // 1 number obtained, 0 not, -1 the program ends
        QTest::addColumn<QString>("provDopo");
        QTest::newRow("numero ottenuto") << 1 << "009";
        QTest::newRow("numero non ottenuto") << 0 << "001";
    }
    void provinciaNuova()
    {
        QFETCH(int, esito);
        QFETCH(QString, provDopo);
        Ambiente a;
        selezionata(a);
        a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('009','ZZ','ZETA','01')"));
        a.db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('009001','ZETA','009','ZZ','90100')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, CodComune) VALUES ('A', 7, 9, '009001')"));
        const EsitoProvincia e = confermaProvincia(*a.contesto, QStringLiteral("ZZ - ZETA"), [&](const QString &prov) {
            if (esito == 1)
                a.db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES "
                                           "('A', 7, ?, 1, 'N9')"),
                            {prov});
            return std::optional<bool>(esito == 1);
        });
        QCOMPARE(e, EsitoProvincia::Confermata);
        QCOMPARE(a.sessione.gProv, provDopo);
        QCOMPARE(a.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Prov")), provDopo);
        QCOMPARE(a.sessione.gDomanda, short(1));
    }

    void riepilogoDellaDomanda()
    {
        Ambiente a;
        selezionata(a);
        const Riepilogo r = calcolaRiepilogo(*a.contesto);
        QCOMPARE(r.sedi, 2);  // component 1 and occasional site 1001; 1002 and 3 are in 003
        QCOMPARE(r.corsi, 4); // first years of 0001/0, 0001/1, 0002/0, 0003/0
        QCOMPARE(formatoTotale(r.totale), QStringLiteral("226.534,50"));
        QCOMPARE(r.atti, QStringLiteral("0"));
        salvaAttiATIATS(*a.contesto, QString());
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT AttiATIATS FROM Installazione WHERE Prov='001'")).toString(),
                 QStringLiteral("0"));
        // A component's total takes in the occasional-site courses it is responsible for,
        // in the province of the application only (1002 lies in 003).
        QCOMPARE(formatoTotale(TotSpeseCorsiSede(a.db, a.sessione, 2)), QStringLiteral("0,00"));
        QCOMPARE(formatoTotale(TotSpeseCorsiSede(a.db, a.sessione, 1)), QStringLiteral("226.534,50"));
        a.db.esegui(QStringLiteral("UPDATE CorsiPropSpese SET ParamA1=1 WHERE Corso='0003'"));
        QCOMPARE(formatoTotale(TotSpeseCorsiSede(a.db, a.sessione, 2)), QStringLiteral("4.800,00"));
    }

    void vociDelleSedi()
    {
        Ambiente a;
        selezionata(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET Denominazione='SEDE CON UN NOME MOLTO LUNGO' WHERE Componente=2"));
        a.sessione.gProssimaScheda = QStringLiteral("frmCorsi");
        const ElencoSedi e = elencoSedi(*a.contesto);
        QCOMPARE(e.descrizione, QStringLiteral("Selezionare la Sede Interessata per la gestione dei Corsi"));
        QCOMPARE(e.voci, (QStringList{"1     - SEDE LEGALE           - SL - VIA UNO 1",
                                      "2     - SEDE CON UN NOME MOL. - UL - VIA DUE 2",
                                      "1001  - PALESTRA              - VIA SPORT 1             (SEDE OCCASIONALE)"}));
        QCOMPARE(e.preselezione, 0);
        QVERIFY(confermaSede(*a.contesto, e.voci[2]));
        QCOMPARE(a.sessione.gCompo, QStringLiteral("1001"));
        QCOMPARE(a.sessione.chiaveSede(), (QVariantList{QStringLiteral("A"), 7LL, 1001LL}));
        a.sessione.gProssimaScheda = QStringLiteral("altro");
        QVERIFY(elencoSedi(*a.contesto).anomalia.startsWith(QStringLiteral("ANOMALIA: valore di 'prossima scheda")));
    }

    void sedeSenzaCorsiConSchedaHandicap_data()
    {
        QTest::addColumn<bool>("stampata");
        QTest::addColumn<QString>("inizio");
        QTest::newRow("da compilare") << false << "Impossibile gestire le schede handicap:\r\nnessun corso";
        QTest::newRow("stampata") << true << "Domanda già inviata alla Provincia.\r\nNon sarà possibile modificare";
    }
    void sedeSenzaCorsiConSchedaHandicap()
    {
        QFETCH(bool, stampata);
        QFETCH(QString, inizio);
        Ambiente a;
        selezionata(a);
        a.sessione.gProssimaScheda = QStringLiteral("frmHandi");
        a.sessione.gDomandaStampata = flag(stampata);
        QVERIFY(!confermaSede(*a.contesto, QStringLiteral("1     - SEDE LEGALE")));
        QVERIFY(a.dialoghi.ultimo().startsWith(inizio));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Schede Handicap"));
        a.db.esegui(QStringLiteral("UPDATE CorsiProp SET SchedaHand=1 WHERE Corso='0002'"));
        QVERIFY(confermaSede(*a.contesto, QStringLiteral("1     - SEDE LEGALE")));
    }

    void serveUnaDomanda()
    {
        Ambiente a;
        a.pronto();
        for (const QString &modo : {QStringLiteral("C"), QStringLiteral("I")})
            QVERIFY(!controllaAccessoSedi(*a.contesto, modo));
        QVERIFY(!controllaRiassegnazione(*a.contesto));
        QCOMPARE(a.dialoghi.messaggi.size(), 3);
        for (const auto &m : a.dialoghi.messaggi) {
            QCOMPARE(m.testo, kSenzaDomanda);
            QCOMPARE(m.titolo, QStringLiteral("Funzione non disponibile"));
        }
    }

    void accessoAlleSedi_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("corsi senza sede legale") << "UPDATE CorsiCompo SET TipoCompo='UL'" << "C"
                                                 << "Nessun Componente di tipo SEDE LEGALE nella sezione Componenti";
        QTest::newRow("handicap senza componenti") << "DELETE FROM CorsiCompo" << "I"
                                                   << "Nessun Componente di tipo SEDE LEGALE nella sezione Componenti";
        QTest::newRow("corsi, solo sedi occasionali")
            << "UPDATE CorsiCompo SET CodComune='003001' WHERE Operatore=7" << "C"
            << "ATTENZIONE: per l'Operatore e la Provincia selezionati non sono stati trovati componenti, ma solo sedi "
               "occasionali.\r\nImpossibile gestire corsi.";
        QTest::newRow("handicap, solo sedi occasionali")
            << "UPDATE CorsiCompo SET CodComune='003001' WHERE Operatore=7" << "I"
            << "ATTENZIONE: per l'Operatore e la Provincia selezionati non sono stati trovati componenti, ma solo sedi "
               "occasionali.\r\nImpossibile gestire schede handicap.";
        QTest::newRow("corsi ammessi") << "SELECT 1" << "C" << "";
    }
    void accessoAlleSedi()
    {
        QFETCH(QString, sql);
        QFETCH(QString, modo);
        QFETCH(QString, messaggio);
        Ambiente a;
        selezionata(a);
        a.db.esegui(sql);
        QCOMPARE(controllaAccessoSedi(*a.contesto, modo), messaggio.isEmpty());
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.sessione.gModoCompo, modo);
    }

    void riassegnazione_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("stampata") << "UPDATE Installazione SET DomandaStampata=-1"
                                  << "Domanda già stampata in definitivo.\r\nNon è possibile modificare l'assegnazione dei "
                                     "corsi alle sedi interessate";
        QTest::newRow("senza corsi") << "DELETE FROM CorsiProp" << "Nessun corso inserito per l'Operatore e la Provincia "
                                                                   "selezionati.";
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
        Ambiente a;
        selezionata(a);
        a.db.esegui(QStringLiteral("UPDATE Installazione SET DomandaStampata=0"));
        for (const QString &s : sql.split(QStringLiteral("; ")))
            a.db.esegui(s);
        ripristinaSessione(a.sessione, a.ini, a.db);
        QVERIFY(!controllaRiassegnazione(*a.contesto));
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
    }
};

QTEST_GUILESS_MAIN(TestSelezione)
#include "tst_selezione.moc"
