// The course record and its money: codes, writes, deletes, the hour rules, the caps, the
// breakdown and the rules a course must pass, over the fixture's application.
#include "support/Domanda.h"
#include "support/RigaDiComando.h"

#include "common/Importo.h"
#include "courses/Corso.h"
#include "courses/Elenchi.h"
#include "courses/Spese.h"
#include "courses/TabelleVerifica.h"
#include "courses/VerificaCorso.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// The fixture's application, not printed, at site 1.
struct AllaSede : Selezionata {
    explicit AllaSede(qlonglong sede = 1) : Selezionata(false) { sessione.impostaSede(QString::number(sede)); }
    DatiCorso corso(const QString &codice, const QString &accorp = u"0"_s)
    {
        return *caricaCorso(db, sessione, {sessione.numeroSede(), codice, accorp});
    }
};

// A new course of the site, copied from a stored one.
DatiCorso nuovo(DatiCorso d, qlonglong sede)
{
    d.chiave = {sede, {}, {}};
    return d;
}

Importo euro(const char *testo) { return *Importo::daTesto(QString::fromLatin1(testo)); }

} // namespace

class TestCorsi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Main courses take the operator's highest code plus one whatever their site; merged
    // courses their main course's code and its highest merged number (as a number) plus one.
    void codiciNuovi_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("accorpato");
        QTest::addColumn<QString>("principale");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("principale dopo il più alto, di altre sedi") << QString() << false << QString() << u"0006/0"_s;
        QTest::newRow("primo corso dell'operatore") << u"DELETE FROM CorsiProp"_s << false << QString() << u"0001/0"_s;
        QTest::newRow("altro operatore non conta")
            << u"UPDATE CorsiProp SET Operatore=8 WHERE Corso='0005'"_s << false << QString() << u"0005/0"_s;
        QTest::newRow("accorpato") << QString() << true << u"0001  OPERATORE GRAFICO"_s << u"0001/2"_s;
        QTest::newRow("accorpati ordinati come numeri")
            << u"UPDATE CorsiProp SET Accorp='9' WHERE Corso='0001' AND Accorp='1'; "
               "INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp) VALUES ('A',7,1,'0001','10')"_s
            << true << u"0001"_s << u"0001/11"_s;
        QTest::newRow("principale inesistente") << QString() << true << u"0099"_s << QString();
    }
    void codiciNuovi()
    {
        QFETCH(QString, sql);
        QFETCH(bool, accorpato);
        QFETCH(QString, principale);
        QFETCH(QString, atteso);
        AllaSede a(3);
        for (const QString &s : sql.split(u"; "_s, Qt::SkipEmptyParts))
            a.db.esegui(s);
        const std::optional<ChiaveCorso> k = ProgrCorso(a.db, a.sessione, accorpato, principale);
        QCOMPARE(k ? k->corso + u'/' + k->accorp : QString(), atteso);
    }

    // Two workstations that each saw the same next code: the code is taken inside the
    // write, so both courses are written, with two codes.
    void dueInserimentiInsieme()
    {
        AllaSede a;
        CorsiDB altra(u"altra"_s);
        altra.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        const DatiCorso d = nuovo(a.corso(u"0002"_s), 1);
        QCOMPARE(ProgrCorso(a.db, a.sessione, false, {})->corso, u"0006"_s);
        QCOMPARE(ProgrCorso(altra, a.sessione, false, {})->corso, u"0006"_s);
        const ChiaveCorso k1 = scriviCorso(altra, a.sessione, a.piattaforma, d);
        const ChiaveCorso k2 = scriviCorso(a.db, a.sessione, a.piattaforma, d);
        QCOMPARE(k1.corso, u"0006"_s);
        QCOMPARE(k2.corso, u"0007"_s);
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiPropSpese WHERE Corso IN ('0006','0007')"_s), u"4"_s);
    }

    // A course and everything that belongs to it go in one transaction; a main course
    // with merged courses stays.
    void cancellazione()
    {
        AllaSede a;
        a.db.esegui(u"INSERT INTO CorsiHandi (GrupOpe, Operatore, SedeInteressata, Corso, Accorp) VALUES ('A',7,1,'0002','0')"_s);
        QVERIFY(!CancellaCorso(a.db, a.sessione, {1, u"0001"_s, u"0"_s}));
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiProp WHERE Corso='0001'"_s), u"2"_s);
        QVERIFY(CancellaCorso(a.db, a.sessione, {1, u"0002"_s, u"0"_s}));
        for (const char *t : {"CorsiProp", "CorsiPropSpese", "ValoriChk", "CorsiHandi"})
            QCOMPARE(a.valore(u"SELECT count(*) FROM %1 WHERE Corso='0002'"_s.arg(QLatin1String(t))), u"0"_s);
        QVERIFY(CancellaCorso(a.db, a.sessione, {1, u"0001"_s, u"1"_s}));
        QVERIFY(CancellaCorso(a.db, a.sessione, {1, u"0001"_s, u"0"_s}));
        QCOMPARE(a.valore(u"SELECT count(*) FROM ValoriChk WHERE Corso='0001'"_s), u"0"_s);
    }

    // A printed application is not written: neither a save nor a delete reaches the file.
    void domandaStampata()
    {
        AllaSede a;
        a.db.esegui(u"UPDATE Installazione SET DomandaStampata=-1"_s);
        ricalcolaStampate(a.sessione, a.db);
        DatiCorso d = a.corso(u"0002"_s);
        d.numAll = 3;
        QCOMPARE(numeroErrore([&] { scriviCorso(a.db, a.sessione, a.piattaforma, d); }), long(codici::Generico));
        QCOMPARE(numeroErrore([&] { scriviCorso(a.db, a.sessione, a.piattaforma, nuovo(d, 1)); }), long(codici::Generico));
        QCOMPARE(numeroErrore([&] { CancellaCorso(a.db, a.sessione, {1, u"0002"_s, u"0"_s}); }), long(codici::Generico));
        QCOMPARE(a.valore(u"SELECT NumAll FROM CorsiProp WHERE Corso='0002'"_s), u"18"_s);
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiProp"_s), u"6"_s);
        QVERIFY(VerifCorso(a.db, a.sessione, DatiCorso{}, true, false).valido());
    }

    // A year no total can be computed for is refused by the first save too, which skips the
    // cap rules, by the report of every problem, and by the write itself: nothing is stored.
    void importoTroppoGrandeMaiScritto()
    {
        AllaSede a;
        corsoPulito(a.db);
        a.db.esegui(u"INSERT INTO AmmissioneSpese VALUES ('II.E','11','01','10',16,1)"_s);
        DatiCorso d = a.corso(u"0002"_s);
        d.spese[1].a1 = euro("99.999.999.999.999");
        d.spese[1].oreA1 = d.spese[1].allA1 = 99999;
        const QString messaggio = u"Importo troppo grande: il totale della spesa 'Spese Generali' (anno 2) supera il massimo "
                                  "calcolabile.\r\nRidurre l'importo, le ore o gli allievi."_s;
        const EsitoVerifica e = VerifCorso(a.db, a.sessione, nuovo(d, 1), true, false);
        QCOMPARE(e.messaggio + u' ' + e.titolo + u' ' + e.campo, messaggio + u" Verifica dati txtA1_1"_s);
        QString scritto;
        try {
            scriviCorso(a.db, a.sessione, a.piattaforma, d);
        } catch (const Errore &x) {
            scritto = QString::number(x.numero()) + u' ' + x.descrizione();
        }
        QCOMPARE(scritto, u"6 "_s + messaggio);
        QCOMPARE(righe(a.db, u"SELECT ParamA1, NumOreA1 FROM CorsiPropSpese WHERE Corso='0002' ORDER BY ProgrAnno"_s),
                 u"9/900,9/900"_s);
        // Line 16 as well, through the 400-euro rule that compares its total.
        d.spese[0].p16 = euro("99.999.999.999.999");
        d.spese[0].ore16 = d.spese[0].all16 = 99999;
        QStringList problemi;
        for (const EsitoVerifica &p : problemiCorso(a.db, a.sessione, d, false, true))
            problemi << p.campo;
        QCOMPARE(problemi.filter(u"txt16_0"_s).size(), 3); // too large, above its cap, above 400 euro a head
        QVERIFY(problemi.contains(u"txtA1_1"_s));
    }

    // Amounts typed in the Italian format are stored exactly, and read back the same.
    void importiScrittiEsatti()
    {
        AllaSede a;
        corsoPulito(a.db);
        DatiCorso d = a.corso(u"0002"_s);
        d.spese[0].a1 = euro("1.234,50");
        d.spese[1].meno = euro("0,10");
        const ChiaveCorso k = scriviCorso(a.db, a.sessione, a.piattaforma, d);
        QCOMPARE(a.valore(u"SELECT ParamA1 FROM CorsiPropSpese WHERE Corso='0002' AND ProgrAnno=1"_s), u"1234.5"_s);
        QCOMPARE(a.valore(u"SELECT Param17Meno FROM CorsiPropSpese WHERE Corso='0002' AND ProgrAnno=2"_s), u"0.1"_s);
        QCOMPARE(a.corso(k.corso).spese[0].a1.formato(), u"1.234,50"_s);
        // Each row written gets a GUID of its own.
        QCOMPARE(a.valore(u"SELECT count(DISTINCT Guid) || ' ' || min(length(Guid)) FROM CorsiPropSpese WHERE Corso='0002'"_s),
                 u"2 32"_s);
    }

    // The total hours within the range of the action (H1), the stage hours within theirs
    // (H2): shares of the total cut down to the hour, or absolute limits.
    void regoleOre_data()
    {
        QTest::addColumn<QString>("limiti");
        QTest::addColumn<qlonglong>("totale");
        QTest::addColumn<qlonglong>("stage"); // -1: the total hours' rule
        QTest::addColumn<QString>("messaggio");
        const QString totale = u"Il TOTALE ORE Iter indicato non rientra nell'intervallo di ore previsto \r\nper l'AZIONE e "
                               "la DURATA TOTALE in anni del corso (900 - 1100)"_s;
        const QString fuori = u"Per l'AZIONE, la DURATA TOTALE e il TOTALE ORE Iter specificati, le ORE DI STAGE devono "
                              "essere comprese tra %1 e %2"_s;
        const QString percento = u"20, 30, NULL, NULL"_s, assolute = u"NULL, NULL, 0, 0"_s;
        QTest::newRow("H1 sotto il minimo") << percento << 899LL << -1LL << totale;
        QTest::newRow("H1 al minimo") << percento << 900LL << -1LL << QString();
        QTest::newRow("H1 al massimo") << percento << 1100LL << -1LL << QString();
        QTest::newRow("H1 sopra il massimo") << percento << 1101LL << -1LL << totale;
        QTest::newRow("1000: 199") << percento << 1000LL << 199LL << fuori.arg(200).arg(300);
        QTest::newRow("1000: 200") << percento << 1000LL << 200LL << QString();
        QTest::newRow("1000: 300") << percento << 1000LL << 300LL << QString();
        QTest::newRow("1000: 301") << percento << 1000LL << 301LL << fuori.arg(200).arg(300);
        QTest::newRow("999: 199") << percento << 999LL << 199LL << QString();
        QTest::newRow("999: 300") << percento << 999LL << 300LL << fuori.arg(199).arg(299);
        QTest::newRow("0 e 0: nessuna") << assolute << 1000LL << 0LL << QString();
        QTest::newRow("0 e 0: una")
            << assolute << 1000LL << 1LL
            << u"Per l'AZIONE, la DURATA TOTALE e il TOTALE ORE Iter specificati non sono ammesse le ORE STAGE."_s;
        QTest::newRow("fuori da ogni riga") << percento << 5000LL << 9999LL << QString();
    }
    void regoleOre()
    {
        QFETCH(QString, limiti);
        QFETCH(qlonglong, totale);
        QFETCH(qlonglong, stage);
        QFETCH(QString, messaggio);
        AllaSede a;
        a.db.esegui(u"INSERT INTO IntervalloOreStage VALUES ('III.G','06','04','10','A',1,900,1100,%1)"_s.arg(limiti));
        const QString azione = u"III.G.06.04"_s;
        const auto e = stage < 0 ? quirdal::regolaOreTotali(a.db, azione, u"10"_s, u"A"_s, 1, totale)
                                 : quirdal::regolaOreStage(a.db, azione, u"A"_s, totale, stage);
        QCOMPARE(e ? e->messaggio : QString(), messaggio);
        QCOMPARE(e ? e->campo : QString(), messaggio.isEmpty() ? QString() : stage < 0 ? u"txtTotIter"_s : u"txtOreStage"_s);
        // The same ranges read once for many courses give the same answer, the second time
        // without reading the database.
        TabelleVerifica t(a.db);
        for (int volta = 0; volta < 2; ++volta) {
            const auto c =
                stage < 0 ? t.oreTotali(azione, u"10"_s, u"A"_s, 1, totale) : t.oreStage(azione, u"A"_s, totale, stage);
            QCOMPARE(c ? c->messaggio : QString(), messaggio);
            QCOMPARE(t.letture(), 1);
        }
        // Another situation of the iter has no range: the course is refused.
        if (stage < 0)
            QVERIFY(quirdal::regolaOreTotali(a.db, azione, u"10"_s, u"P"_s, 1, totale)
                        ->messaggio.endsWith(u"(nessun intervallo previsto)"_s));
    }

    // Caps by band of hours; with several rows in a band, the first whose participant cap
    // holds the participants, above them all the highest; without a row, none that a course
    // could reach.
    void massimali_data()
    {
        QTest::addColumn<qlonglong>("ore");
        QTest::addColumn<qlonglong>("allievi");
        QTest::addColumn<QString>("a1");
        QTest::addColumn<qlonglong>("c1");
        QTest::newRow("riga unica della fascia") << 300LL << 40LL << u"7,50"_s << 20LL;
        QTest::newRow("due righe: 12 allievi") << 800LL << 12LL << u"9,00"_s << 15LL;
        QTest::newRow("due righe: 15 allievi") << 800LL << 15LL << u"9,00"_s << 15LL;
        QTest::newRow("due righe: 16 allievi") << 800LL << 16LL << u"8,25"_s << 25LL;
        QTest::newRow("due righe: oltre ogni C1") << 800LL << 26LL << u"8,25"_s << 25LL;
        QTest::newRow("nessuna riga") << 2000LL << 10LL << u"999.999,00"_s << 9999LL;
    }
    void massimali()
    {
        QFETCH(qlonglong, ore);
        QFETCH(qlonglong, allievi);
        QFETCH(QString, a1);
        QFETCH(qlonglong, c1);
        AllaSede a;
        for (const char *r : {"1, 500, 7.5, 20, NULL, NULL, 2", "501, 1000, 9, 15, 2.5, 3, 2", "501, 1000, 8.25, 25, 2, 3, 2"})
            a.db.esegui(u"INSERT INTO MassimaliPar VALUES ('III.G','06','04','10',%1)"_s.arg(QLatin1String(r)));
        const Massimali m = MaxValParamAC(a.db, u"III.G.06.04"_s, u"10"_s, ore, allievi);
        QCOMPARE(m.a1.formato(), a1);
        QCOMPARE(m.c1, c1);
        // Every band read at once for the checks of many courses: the same caps.
        TabelleVerifica t(a.db);
        for (const qlonglong altre : {ore, 300LL, 800LL, ore}) {
            const Massimali x = t.massimali(u"III.G"_s, u"06"_s, u"04"_s, u"10"_s, altre, allievi);
            const Massimali y = massimaliAnno(a.db, u"III.G"_s, u"06"_s, u"04"_s, u"10"_s, altre, allievi);
            QCOMPARE(x.a1.formato(), y.a1.formato());
            QCOMPARE(x.c1, y.c1);
            QCOMPARE(x.trovati, y.trovati);
        }
        QCOMPARE(t.letture(), 1);
        QCOMPARE(IniNumAll(a.db, u"III.G.06.04"_s, u"10"_s), std::optional<qlonglong>(25));
        QCOMPARE(IniNumAll(a.db, u"III.G.06.04"_s, u"20"_s), std::optional<qlonglong>());
    }

    // The breakdown always adds up to the year's total, the rounding's cents going to b).
    void ripartizione_data()
    {
        QTest::addColumn<QString>("totale");
        QTest::addColumn<QList<qlonglong>>("percentuali");
        QTest::addColumn<QStringList>("attese");
        QTest::newRow("1000 33/33/34") << u"1.000,00"_s << QList<qlonglong>{33, 33, 34, 0, 0}
                                       << QStringList{u"330,00"_s, u"330,00"_s, u"340,00"_s, u"0,00"_s, u"0,00"_s};
        QTest::newRow("100 33/33/33/1") << u"100,00"_s << QList<qlonglong>{33, 33, 33, 1, 0}
                                        << QStringList{u"33,00"_s, u"33,00"_s, u"33,00"_s, u"1,00"_s, u"0,00"_s};
        QTest::newRow("centesimi a b)") << u"0,10"_s << QList<qlonglong>{33, 33, 34, 0, 0}
                                        << QStringList{u"0,03"_s, u"0,04"_s, u"0,03"_s, u"0,00"_s, u"0,00"_s};
        QTest::newRow("non fa 100: nessun resto") << u"0,10"_s << QList<qlonglong>{33, 33, 0, 0, 0}
                                                  << QStringList{u"0,03"_s, u"0,03"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s};
    }
    void ripartizione()
    {
        QFETCH(QString, totale);
        QFETCH(QList<qlonglong>, percentuali);
        QFETCH(QStringList, attese);
        SpeseAnno s;
        s.a1 = *Importo::daTesto(totale);
        s.oreA1 = s.allA1 = 1;
        std::copy(percentuali.begin(), percentuali.end(), s.percentuali.begin());
        ArrotondaSpese(s);
        QStringList r;
        for (const Importo &d : s.dettaglio)
            r << d.formato();
        QCOMPARE(r, attese);
    }

    // Line 17.3: 2 euro an annual hour, at most 300, whatever the participants.
    void linea17_3_data()
    {
        QTest::addColumn<qlonglong>("ore");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("100 ore") << 100LL << u"200,00"_s;
        QTest::newRow("150 ore") << 150LL << u"300,00"_s;
        QTest::newRow("200 ore") << 200LL << u"300,00"_s;
        QTest::newRow("0 ore") << 0LL << u"0,00"_s;
    }
    void linea17_3()
    {
        QFETCH(qlonglong, ore);
        QFETCH(QString, atteso);
        QCOMPARE(CalcolaParam17_3(ore).formato(), atteso);
        Massimali m;
        m.a1 = euro("5,00");
        m.c1 = 20;
        const SpeseAnno zero = speseDiPartenza(m, {false, false, false, true}, 0, ore);
        QCOMPARE(zero.p17_3.formato(), atteso);
        QCOMPARE(zero.all17_3, 0LL);
    }

    // Defaults: the caps of the band, participants within them; no amount proposed without a row.
    void spesePartenza()
    {
        AllaSede a;
        a.db.esegui(u"INSERT INTO MassimaliPar VALUES ('III.G','06','04','10',1,500,7.5,15,NULL,NULL,2)"_s);
        const LineeAmmesse tutte{true, true, true, false};
        const auto riga = [](const SpeseAnno &s) {
            return QStringList{s.a1.formato(), QString::number(s.allA1), QString::number(s.oreA1), s.p16.formato()};
        };
        QCOMPARE(riga(speseDiPartenza(MaxValParamAC(a.db, u"III.G.06.04"_s, u"10"_s, 400, 18), tutte, 18, 400)),
                 (QStringList{u"7,50"_s, u"15"_s, u"400"_s, u"2,00"_s}));
        QCOMPARE(riga(speseDiPartenza(MaxValParamAC(a.db, u"III.G.06.04"_s, u"10"_s, 600, 18), tutte, 18, 600)),
                 (QStringList{u"0,00"_s, u"18"_s, u"600"_s, u"0,00"_s}));
        // The years of a course (IniSpese): each one of the duration, but those whose values were stored.
        auto anni = [](const SpeseIniziali &i) {
            return QList<bool>{i.anni[0].has_value(), i.anni[1].has_value(), i.anni[2].has_value()};
        };
        const SpeseIniziali tre = IniSpese(a.db, u"III.G.06.04"_s, u"10"_s, 3, 400, 18, 1);
        QCOMPARE(anni(tre), (QList<bool>{false, true, true}));
        QCOMPARE(tre.linee, LineeAmmesse{}); // none admitted but A1: line 16 stays at 0
        QCOMPARE(riga(*tre.anni[2]), (QStringList{u"7,50"_s, u"15"_s, u"400"_s, u"0,00"_s}));
        QCOMPARE(anni(IniSpese(a.db, u"III.G.06.04"_s, u"10"_s, 2, 400, 18, 0)), (QList<bool>{true, true, false}));
    }

    // The rules of a stored course, each at its boundary, over the fixture's course 0002/0
    // (clean once its action has an hour range).
    void regole_data()
    {
        QTest::addColumn<std::function<void(Sessione &, DatiCorso &)>>("cambia");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("campo");
        using F = std::function<void(Sessione &, DatiCorso &)>;
        QTest::newRow("pulito") << F([](Sessione &, DatiCorso &) {}) << QString() << QString();
        QTest::newRow("qualifica mancante") << F([](Sessione &, DatiCorso &d) { d.codQualif.clear(); })
                                            << u"Inserire una qualifica"_s << u"cmbQuali"_s;
        QTest::newRow("destinatario doppio") << F([](Sessione &, DatiCorso &d) { d.codDest[1] = d.codDest[0]; })
                                             << u"Non è possibile inserire più volte lo stesso destinatario"_s << u"cmbDest_1"_s;
        QTest::newRow("secondo destinatario su II.E.12.01") << F([](Sessione &, DatiCorso &d) {
            d.codMisura = u"12"_s;
            d.codDest[1] = u"3"_s;
        }) << u"Per l'azione II.E.12.01 è possibile indicare un solo destinatario."_s
                                                            << u"cmbDest_1"_s;
        QTest::newRow("data impossibile") << F([](Sessione &, DatiCorso &d) { d.ggAvvio = u"31"_s, d.mmAvvio = u"02"_s; })
                                          << u"La DATA AVVIO PRESUNTA deve essere una data valida"_s << u"txtGGDataAvvio"_s;
        QTest::newRow("stato oltre la durata")
            << F([](Sessione &, DatiCorso &d) { d.statoIter = 3; })
            << u"Lo STATO ATTUALE deve essere diverso da zero \r\ne minore o uguale alla durata"_s << u"txtStato"_s;
        QTest::newRow("pluriennale non più lungo") << F([](Sessione &, DatiCorso &d) { d.totOreIter = 900; })
                                                   << u"Per corsi pluriennali il TOTALE ORE dell'iter \r\ndeve essere maggiore "
                                                      "della durata annuale del corso"_s
                                                   << u"txtTotIter"_s;
        QTest::newRow("stage oltre il totale") << F([](Sessione &, DatiCorso &d) { d.oreStage = 1801; })
                                               << u"Le ORE STAGE non possono superare il TOTALE ORE Iter."_s << u"txtOreStage"_s;
        QTest::newRow("ore degli anni diverse dal totale")
            << F([](Sessione &, DatiCorso &d) { d.spese[1].oreA1 = 899; })
            << u"La somma delle ore distribuite sulle annualità deve essere uguale alla durata totale dell'iter espressa in "
               "ore (1800)"_s
            << u"txtNumOreA1_0"_s;
        QTest::newRow("nessun allievo") << F([](Sessione &, DatiCorso &d) { d.numAll = 0; }) << u"Inserire gli ALLIEVI PREVISTI"_s
                                        << u"txtNumAll"_s;
        QTest::newRow("un allievo") << F([](Sessione &, DatiCorso &d) {
            d.numAll = 1;
            for (SpeseAnno &a : d.spese)
                a.allA1 = 1, a.allA2 = a.all16 = a.all17_3 = 0;
        }) << QString() << QString();
        QTest::newRow("allievi A1 oltre i previsti")
            << F([](Sessione &, DatiCorso &d) { d.spese[0].allA1 = 19; })
            << u"Il numero di allievi della spesa 'Spese Generali' non può superare\r\nil "
               "numero degli ALLIEVI PREVISTI (18)"_s
            << u"txtNumAllA1_0"_s;
        QTest::newRow("dettaglio a 99%") << F([](Sessione &, DatiCorso &d) { d.spese[1].percentuali[4] = 19; })
                                         << u"Il totale del dettaglio delle spese deve dare 100% "_s << u"txt70P_1"_s;
        QTest::newRow("quota in più e in meno")
            << F([](Sessione &, DatiCorso &d) { d.spese[0].meno = euro("1,00"); })
            << u"Valorizzare la quota dell'operatore solamente in aggiunta o in sottrazione"_s << u"txtParam17Piu_0"_s;
        QTest::newRow("ente erogatore senza quota")
            << F([](Sessione &, DatiCorso &d) { d.spese[0].piu = {}; })
            << u"Non è possibile indicare la ragione sociale dell'ente erogatore se prima non è stata indicata una quota "
               "dell'operatore"_s
            << u"txtEnteErogatore_0"_s;
        QTest::newRow("qualifica OSS senza enti gestori")
            << F([](Sessione &, DatiCorso &d) { d.qss.clear(); })
            << u"E' necessario indicare gli Enti Gestori con il quale viene attivato il corso"_s << u"txtQss"_s;
        QTest::newRow("SPIN a metà") << F([](Sessione &, DatiCorso &d) { d.spinFigura.clear(); })
                                     << u"Indicare la figura professionale di riferimento della ricerca SPIN"_s
                                     << u"cmbFigProf"_s;
        QTest::newRow("ATS richiesta su IV.L.17.01")
            << F([](Sessione &, DatiCorso &d) { d.codAsse = u"IV.L"_s, d.codMisura = u"17"_s, d.codAzione = u"01"_s; })
            << u"Per l'azione selezionata IV.L.17.01 è obbligatoria la costituzione di un' ATS."_s << u"ChkATS"_s;
        const auto ivl = [](DatiCorso &d) { d.codAsse = u"IV.L"_s, d.codMisura = u"17"_s, d.codAzione = u"01"_s; };
        QTest::newRow("nessuna ATS per un operatore CP") << F([ivl](Sessione &s, DatiCorso &d) {
            ivl(d);
            s.gTipoOper = u"CP"_s;
        }) << QString() << QString();
        // Participants' income: 18 participants × 800 hours × 0,50 = 7.200,00, 400 euro a head.
        const auto reddito = [](DatiCorso &d, const char *euro) {
            d.spese[0].p16 = *Importo::daTesto(QString::fromLatin1(euro));
            d.spese[0].ore16 = 800;
            d.spese[0].all16 = 18;
        };
        QTest::newRow("reddito al limite") << F([reddito](Sessione &, DatiCorso &d) { reddito(d, "0,50"); }) << QString()
                                           << QString();
        QTest::newRow("reddito un centesimo l'ora in più")
            << F([reddito](Sessione &, DatiCorso &d) { reddito(d, "0,51"); })
            << u"Il totale della spesa 'Reddito Allievi' non deve superare i 7.200,00 euro. \r\nCorrispondenti a 400 euro "
               "procapite"_s
            << u"txt16_0"_s;
        // The caps of the band (participants up to 15: 9,50; up to 25: 9,00), at each
        // participant cap, and above the highest, which lifts no cap.
        const auto a1 = [](const char *importo, qlonglong allievi) {
            return F([=](Sessione &, DatiCorso &d) {
                d.numAll = 30;
                d.spese[0].a1 = euro(importo);
                d.spese[0].allA1 = allievi;
            });
        };
        const QString oltreA1 = u"Il parametro 'A1' delle spese non deve superare i %1 euro."_s;
        QTest::newRow("15 allievi: A1 al massimale") << a1("9,50", 15) << QString() << QString();
        QTest::newRow("15 allievi: A1 oltre") << a1("9,51", 15) << oltreA1.arg(u"9,50"_s) << u"txtA1_0"_s;
        QTest::newRow("16 allievi: A1 oltre") << a1("9,01", 16) << oltreA1.arg(u"9,00"_s) << u"txtA1_0"_s;
        QTest::newRow("25 allievi, il C1 più alto") << a1("9,00", 25) << QString() << QString();
        QTest::newRow("26 allievi: oltre ogni C1")
            << a1("9,00", 26) << u"Il parametro 'C1' delle spese non deve superare i 25 allievi."_s << u"txtNumAllA1_0"_s;
        QTest::newRow("26 allievi: A1 oltre il massimale del C1 più alto")
            << a1("1.234,50", 26) << oltreA1.arg(u"9,00"_s) << u"txtA1_0"_s;
        // Values no total can hold are refused before any cap is compared with them.
        const QString troppo = u"Importo troppo grande: il totale della spesa '%1' (anno %2) supera il massimo calcolabile."
                               "\r\nRidurre l'importo, le ore o gli allievi."_s;
        QTest::newRow("reddito oltre ogni totale") << F([](Sessione &, DatiCorso &d) {
            d.spese[0].p16 = euro("99.999.999.999.999");
            d.spese[0].ore16 = d.spese[0].all16 = 99999;
        }) << troppo.arg(u"Reddito Allievi"_s, u"1"_s)
                                                   << u"txt16_0"_s;
        QTest::newRow("A1 del secondo anno oltre ogni totale") << F([](Sessione &, DatiCorso &d) {
            d.spese[1].a1 = euro("99.999.999.999.999");
            d.spese[1].oreA1 = 923;
        }) << troppo.arg(u"Spese Generali"_s, u"2"_s) << u"txtA1_1"_s;
        QTest::newRow("reddito oltre su azione che lo ammette") << F([reddito](Sessione &, DatiCorso &d) {
            d.codAsse = u"III.G"_s, d.codMisura = u"06"_s, d.codAzione = u"04"_s;
            d.sez34[2] = u"IMMIGRATI"_s;
            reddito(d, "0,51");
        }) << QString() << QString();
    }
    void regole()
    {
        QFETCH(std::function<void(Sessione &, DatiCorso &)>, cambia);
        QFETCH(QString, messaggio);
        QFETCH(QString, campo);
        AllaSede a;
        corsoPulito(a.db);
        a.db.esegui(u"INSERT INTO IntervalloOreStage VALUES ('II.E','12','01','10','P',2,1000,2000,NULL,NULL,0,400)"_s);
        a.db.esegui(u"INSERT INTO IntervalloOreStage VALUES ('IV.L','17','01','10','P',2,1000,2000,NULL,NULL,0,400)"_s);
        a.db.esegui(u"INSERT INTO IntervalloOreStage VALUES ('III.G','06','04','10','P',2,1000,2000,NULL,NULL,0,400)"_s);
        a.db.esegui(u"INSERT INTO AmmissioneSpese VALUES ('II.E','11','01','10',16,1), ('III.G','06','04','10',16,1)"_s);
        a.db.esegui(u"INSERT INTO MassimaliPar VALUES ('II.E','11','01','10',1,1000,9.5,15,NULL,NULL,1), "
                    "('II.E','11','01','10',1,1000,9,25,NULL,NULL,1)"_s);
        DatiCorso d = a.corso(u"0002"_s);
        cambia(a.sessione, d);
        const EsitoVerifica e = VerifCorso(a.db, a.sessione, d, false, true);
        QCOMPARE(e.messaggio, messaggio);
        QCOMPARE(e.campo, campo);
    }

    // Every course of the application read at once and checked from memory: the data and the
    // problems, in their order, of each course read and checked alone; main and merged
    // courses compared by the hours stored, Null hours as SQL counts them.
    void verificaDiTuttiICorsi_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QStringList>("assenti");
        const QString piuLungo = u"Corso 0001/1 - sede 1: Per i corsi accorpati la durata annuale in ore non deve superare "
                                 "quella del corso principale (%1)"_s;
        const QString piuCorto = u"Corso 0001/0 - sede 1: Non è possibile indicare per il presente corso principale una "
                                 "durata annuale in ore inferiore a quella dei suoi accorpati (%1)"_s;
        QTest::newRow("la domanda com'è") << QString() << QStringList() << QStringList{piuLungo.arg(600), piuCorto.arg(300)};
        QTest::newRow("accorpato più lungo del principale")
            << u"UPDATE CorsiProp SET DurataAnnOre=700 WHERE Corso='0001' AND Accorp='1'"_s
            << QStringList{piuLungo.arg(600), piuCorto.arg(700)} << QStringList();
        QTest::newRow("principale senza ore") << u"UPDATE CorsiProp SET DurataAnnOre=NULL WHERE Corso='0001' AND Accorp='0'"_s
                                              << QStringList{piuLungo.arg(0)} << QStringList();
        QTest::newRow("accorpato senza ore, principale sotto zero")
            << u"UPDATE CorsiProp SET DurataAnnOre=NULL WHERE Accorp='1'; UPDATE CorsiProp SET DurataAnnOre=-5 WHERE Corso='0001'"_s
            << QStringList() << QStringList{piuCorto.arg(0)};
        QTest::newRow("accorpato senza principale")
            << u"DELETE FROM CorsiProp WHERE Corso='0001' AND Accorp='0'"_s
            << QStringList{u"Corso 0001/1 - sede 1: Non trovo il corso principale del presente accorpato."_s} << QStringList();
        QTest::newRow("spese e caselle di un corso cancellato")
            << u"DELETE FROM CorsiProp WHERE Corso='0002'"_s << QStringList() << QStringList{u"Corso 0002/0"_s};
    }
    void verificaDiTuttiICorsi()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, presenti);
        QFETCH(QStringList, assenti);
        AllaSede a;
        for (const QString &s : sql.split(u"; "_s, Qt::SkipEmptyParts))
            a.db.esegui(s);
        QStringList attese;
        QList<DatiCorso> soli;
        // The province's sites of the fixture: components 1 and 2, occasional site 1001.
        QSqlQuery q = a.db.seleziona(u"SELECT SedeInteressata, Corso, Accorp FROM CorsiProp WHERE SedeInteressata IN "
                                     "(1, 2, 1001) ORDER BY SedeInteressata, Corso, CAST(Accorp AS INTEGER)"_s);
        while (q.next()) {
            const ChiaveCorso k{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()};
            soli << *caricaCorso(a.db, a.sessione, k);
            for (const EsitoVerifica &e : problemiCorso(a.db, a.sessione, soli.last(), false, true))
                attese << rigaProblema({k, e.messaggio, e.campo});
        }
        QList<DatiCorso> insieme;
        for (const CorsoDellaDomanda &c : caricaCorsiDomanda(a.db, a.sessione))
            insieme << c.dati;
        QCOMPARE(insieme.size(), soli.size());
        for (qsizetype i = 0; i < soli.size(); ++i)
            QVERIFY2(insieme[i] == soli[i], qPrintable(soli[i].chiave.corso + u'/' + soli[i].chiave.accorp));
        QStringList righe;
        const std::optional<QList<ProblemaCorso>> problemi = problemiCorsiDomanda(a.db, a.sessione);
        for (const ProblemaCorso &p : problemi.value())
            righe << rigaProblema(p);
        QCOMPARE(righe, attese);
        for (const QString &p : presenti)
            QVERIFY2(righe.contains(p), qPrintable(p));
        for (const QString &p : assenti)
            QVERIFY2(righe.filter(p).isEmpty(), qPrintable(p));
    }

    // The command line lists every problem of every course, and says by its status
    // whether there was any.
    void verificaDaRigaDiComando()
    {
        Selezionata a(false);
        corsoPulito(a.db);
        a.db.esegui(u"DELETE FROM CorsiProp WHERE Corso IN ('0004','0005')"_s);
        a.db.esegui(u"UPDATE CorsiOper SET LegGGNasc='01', LegMMNasc='02'"_s);
        a.db.chiudi();
        const QStringList verifica{u"verifica"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s};
        const EsitoCli e = cli(a.dir.path(), verifica);
        const QStringList righe = e.righe();
        QCOMPARE(e.codice, 1);
        QCOMPARE(righe.size(), 12);
        // The checks of the whole application follow the courses' own.
        QCOMPARE(righe.last(),
                 u"Domanda: E' necessario compilare il dato relativo alla DATA PRESUNTA AVVIO CORSO per i "
                 "seguenti corsi: - CORSO: A 7 - 1 - 0001 - QUALIFICA NUOVA - CORSO: A 7 - 1001 - 0003 - "
                 "CORSO IN PALESTRA"_s);
        QCOMPARE(righe.filter(u"Corso 0001/0 - sede 1: "_s).size(), 3);
        QCOMPARE(righe.filter(u"Corso 0001/1 - sede 1: "_s).size(), 4);
        QCOMPARE(righe.filter(u"Corso 0003/0 - sede 1001: "_s).size(), 4);
        QVERIFY(righe.contains(u"Corso 0001/1 - sede 1: La DATA AVVIO PRESUNTA deve essere una data valida"_s));
        QVERIFY(righe.contains(u"Corso 0003/0 - sede 1001: Il TOTALE ORE Iter indicato non rientra nell'intervallo di ore "
                               "previsto per l'AZIONE e la DURATA TOTALE in anni del corso (nessun intervallo previsto)"_s));
        {
            CorsiDB d(u"pulisci"_s);
            d.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            d.esegui(u"DELETE FROM CorsiProp WHERE Corso IN ('0001','0003')"_s);
        }
        const EsitoCli pulita = cli(a.dir.path(), verifica);
        QCOMPARE(pulita.righe(), QStringList());
        QCOMPARE(pulita.codice, 0);
    }
};

QTEST_GUILESS_MAIN(TestCorsi)
#include "tst_corsi.moc"
