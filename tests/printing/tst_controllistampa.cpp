// The checks of the whole application before its final print, each with its exact message.
#include "support/Domanda.h"

#include "printing/ControlliStampa.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kCorr = u" Correggere la situazione, e ritentare la stampa."_s;
const QString kCorrElenco = u" Correggere la situazione, e ritentare la stampa: \r\n\r\n"_s;

// The fixture's application made to pass, with a second component (4) of its own in the province.
void domandaCorretta(Ambiente &a)
{
    for (const char *sql : {
             "UPDATE CorsiOper SET LegGGNasc='01', LegMMNasc='02'",
             "UPDATE CorsiProp SET DataAvvio='01/10/2009'",
             "INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, Tel, "
             "Email, Riferimento, NumLocali) VALUES ('A', 7, 4, 'UL', 'SEDE QUATTRO', '001001', '10100', '0115550004', "
             "'', 'BLU', 1)",
             "INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES ('A', 7, 4, 1, 'LAB')",
             "INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, DesQualif, CodAsse, CodMisura, "
             "CodAzione, CodOra, DurataAnnOre, OreLabEsterni, DurataTotIter, DataAvvio) VALUES ('A', 7, 4, '0006', '0', "
             "'CORSO QUATTRO', 'III.G', '06', '04', 1, 100, 0, 1, '01/10/2009')",
         })
        a.db.esegui(QString::fromUtf8(sql));
}

} // namespace

class TestControlliStampa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void regole_data()
    {
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<QString>("atteso");
        const QString sedeQuattro = u"- A 7 - 4 - SEDE QUATTRO\r\n"_s;
        const QString cap5 = u"Nella Scheda Sede Interessata, per le sedi qui elencate, il CAP se specificato deve essere "
                             "di 5 cifre."_s
            + kCorrElenco;
        const QString trenta = u"Le attività formative svolte in Sedi Occasionali possono raggiungere un monte ore "
                               "complessivo pari al 30% delle ore di corso svolte nella Sede Componente collegata, sulle "
                               "seguenti componenti è stata rilevata una situazione non corretta: \r\n\r\n"_s;
        const QString locali = u"In ogni locale potranno essere svolti corsi per un massimo di 1.200 ore diurne ed un "
                               "massimo di 500 ore preserali/serali. \r\nNelle seguenti sedi non è stato rispettato il "
                               "vincolo:\r\n\r\n"_s;
        const QString avvio = u"E' necessario compilare il dato relativo alla DATA PRESUNTA AVVIO CORSO per i seguenti "
                              "corsi:\r\n\r\n"_s;
        // Course 0003 at the occasional site 1001, answered for by component 4.
        const QString occ = u"UPDATE CorsiProp SET CompoResp=4, DurataAnnOre=%1 WHERE Corso='0003'"_s;
        const QString giorno = u"UPDATE CorsiProp SET CodOra=%1, DurataAnnOre=%2 WHERE Corso='0006'"_s;
        const QString quattroLocali = u"UPDATE CorsiCompo SET NumLocali=4 WHERE Componente=4"_s;

        auto riga = [](const char *nome, const QStringList &sql, const QString &atteso = {}) {
            QTest::newRow(nome) << sql << atteso;
        };
        riga("tutto corretto", {});
        riga("corrispondenza nulla", {u"UPDATE CorsiOper SET Corrispondenza=NULL"_s},
             u"Nella Scheda Operatore deve essere indicato il COMPONENTE RESPONSABILE DELLA CORRISPONDENZA."_s + kCorr);
        const QString legale = u"Nella Scheda Operatore deve essere inserito il LEGALE RAPPRESENTANTE O PROCURATORE "
                               "FIRMATARIO DELLA CONVENZIONE."_s
            + kCorr;
        riga("legale vuoto", {u"UPDATE CorsiOper SET LegNome=''"_s}, legale);
        riga("legale nullo", {u"UPDATE CorsiOper SET LegNome=NULL"_s}, legale);
        const QString nascita = u"Nella Scheda Operatore deve essere inserita una data valida come DATA DI NASCITA DEL "
                                "LEGALE RAPPRESENTANTE O PROCURATORE FIRMATARIO DELLA CONVENZIONE."_s
            + kCorr;
        riga("nascita solo anno", {u"UPDATE CorsiOper SET LegGGNasc='', LegMMNasc=''"_s}, nascita);
        riga("nascita 31 febbraio", {u"UPDATE CorsiOper SET LegGGNasc='31'"_s}, nascita);
        riga("nascita vuota", {u"UPDATE CorsiOper SET LegGGNasc=NULL, LegMMNasc='', LegAAAANasc=''"_s});
        riga("cciaa in parte", {u"UPDATE CorsiOper SET CodCCIAA=''"_s},
             u"Nella Scheda Operatore il gruppo di dati CCIAA va lasciato completamente vuoto o compilato per intero."_s + kCorr);
        riga("cciaa vuota", {u"UPDATE CorsiOper SET CodCCIAA='', ProvCCIAA=NULL, AnnoCCIAA=''"_s});
        riga("referente nullo", {u"UPDATE CorsiOper SET NominativoReferente=NULL"_s},
             u"Nella Scheda Operatore deve essere indicato il NOMINATIVO DEL REFERENTE PARI OPPORTUNITA'."_s + kCorr);
        riga("referente vuoto passa", {u"UPDATE CorsiOper SET NominativoReferente=''"_s});
        riga("cf referente nullo", {u"UPDATE CorsiOper SET CodFiscaleReferente=NULL"_s},
             u"Nella Scheda Operatore deve essere indicato il CODICE FISCALE DEL REFERENTE PARI OPPORTUNITA'."_s + kCorr);
        const QString capLegale = u"Nella Scheda Sede Legale il CAP se specificato deve essere di 5 cifre."_s + kCorr;
        riga("cap legale 4 cifre", {u"UPDATE CorsiCompo SET Cap='1010' WHERE Componente=1"_s}, capLegale);
        riga("cap legale lettera", {u"UPDATE CorsiCompo SET Cap='1O100' WHERE Componente=1"_s}, capLegale);
        riga("cap legale senza comune", {u"UPDATE CorsiCompo SET CodComune='' WHERE Componente=1"_s},
             u"Nella Scheda Sede Legale se il CAP è specificato deve esserlo anche il COMUNE di ubicazione della sede."_s
                 + kCorr);
        riga("email legale", {u"UPDATE CorsiCompo SET Email='sl ente@x.it' WHERE Componente=1"_s},
             u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s);
        riga("riferimento legale", {u"UPDATE CorsiCompo SET Riferimento='' WHERE Componente=1"_s},
             u"Nella Scheda Sede Legale deve essere indicata la PERSONA DI RIFERIMENTO."_s + kCorr);
        riga("telefono legale", {u"UPDATE CorsiCompo SET Tel=NULL WHERE Componente=1"_s},
             u"Nella Scheda Sede Legale deve essere indicato il NUMERO DI TELEFONO."_s + kCorr);
        riga("cap sede 4 cifre", {u"UPDATE CorsiCompo SET Cap='1010' WHERE Componente=4"_s}, cap5 + sedeQuattro);
        riga("cap sede lettera", {u"UPDATE CorsiCompo SET Cap='1010A' WHERE Componente=4"_s}, cap5 + sedeQuattro);
        riga("cap sede vuoto", {u"UPDATE CorsiCompo SET Cap=NULL WHERE Componente=4"_s});
        riga("email sede", {u"UPDATE CorsiCompo SET Email='a,b@x.it' WHERE Componente=4"_s},
             u"- Sede Int. A 7 - 4: L'indirizzo e-mail non può contenere virgole.\r\n"_s);
        riga("riferimento sede", {u"UPDATE CorsiCompo SET Riferimento=NULL WHERE Componente=4"_s},
             u"Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere indicata la PERSONA DI "
             "RIFERIMENTO."_s
                 + kCorrElenco + sedeQuattro);
        riga("telefono sede occasionale", {u"UPDATE CorsiSediOcc SET Tel='' WHERE SedeOcc=1001"_s},
             u"Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere indicato il NUMERO DI "
             "TELEFONO."_s
                 + kCorrElenco + u"- A 7 - 1001 - PALESTRA\r\n"_s);
        riga("30% a 510", {occ.arg(510)});
        riga("30% a 511", {occ.arg(511)}, trenta + sedeQuattro);
        riga("30% azione in deroga", {occ.arg(900), u"INSERT INTO AzioneDeroga VALUES ('III.G', '06', '04')"_s});
        riga("3600 ore diurne", {quattroLocali, giorno.arg(1).arg(3600)});
        riga("3601 ore diurne", {quattroLocali, giorno.arg(1).arg(3601)},
             locali + u"- [ORE DIURNE] \t\tA 7 - 4 - SEDE QUATTRO\r\n"_s);
        riga("1500 ore serali", {quattroLocali, giorno.arg(3).arg(1500)});
        riga("1501 ore serali", {quattroLocali, giorno.arg(2).arg(1501)},
             locali + u"- [ORE PRESERALI E SERALI] \tA 7 - 4 - SEDE QUATTRO\r\n"_s);
        riga("avvio vuoto",
             {u"UPDATE CorsiProp SET DataAvvio='' WHERE Corso='0001' AND Accorp='1'"_s,
              u"UPDATE CorsiProp SET DataAvvio=NULL WHERE Corso='0003'"_s},
             avvio + u"- CORSO: \tA 7 - 1 - 0001 - QUALIFICA NUOVA\r\n- CORSO: \tA 7 - 1001 - 0003 - CORSO IN PALESTRA\r\n"_s);
        riga("corsi solo in altra provincia", {u"DELETE FROM CorsiProp WHERE SedeInteressata IN (1, 4, 1001)"_s});
    }

    void regole()
    {
        QFETCH(QStringList, sql);
        QFETCH(QString, atteso);
        Selezionata a(false);
        domandaCorretta(a);
        for (const QString &s : sql)
            a.db.esegui(s);
        QList<int> passi;
        // The application's own checks, apart from those of its courses (below).
        const EsitoVerifica e = ControllaDatiDomanda(
            a.db, a.sessione, [&](int p) { passi << p; }, false);
        QCOMPARE(e.messaggio, atteso);
        QCOMPARE(e.titolo, atteso.isEmpty() ? QString() : u"Stampa non disponibile"_s);
        QVERIFY(std::is_sorted(passi.begin(), passi.end()));
        QVERIFY(!passi.isEmpty() && passi.first() == 1 && passi.last() <= kPassiControlli);
        // Every problem at once begins with the same first one.
        QCOMPARE(problemiDomandaStampa(a.db, a.sessione, {}, false).value(0), atteso);
        QVERIFY(operatoreHaCorsi(a.db, a.sessione));
    }

    // After the application's checks every stored course goes through the course rules: a
    // course above the caps of its band (18 participants, above every row's participant cap)
    // stops the final print.
    void corsiDellaDomanda_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("atteso");
        const QString caps = u"INSERT INTO MassimaliPar VALUES ('II.E','11','01','10',1,1000,9.5,15,5,5,5), "
                             "('II.E','11','01','10',1,1000,%1,16,5,5,5)"_s;
        QTest::newRow("corsi corretti") << QString() << QString();
        QTest::newRow("entro i massimali") << caps.arg(u"9"_s)
                                           << u"Il corso 0002/0 della sede 1 non supera le verifiche "
                                              "della scheda corso:\r\nIl parametro 'C1' delle spese "
                                              "non deve superare i 16 allievi.\r\nCorreggere la "
                                              "situazione, e ritentare la stampa."_s;
        QTest::newRow("oltre i massimali") << caps.arg(u"8.5"_s)
                                           << u"Il corso 0002/0 della sede 1 non supera le verifiche "
                                              "della scheda corso:\r\nIl parametro 'A1' delle "
                                              "spese non deve superare i 8,50 euro.\r\nCorreggere "
                                              "la situazione, e ritentare la stampa."_s;
    }
    void corsiDellaDomanda()
    {
        QFETCH(QString, sql);
        QFETCH(QString, atteso);
        Selezionata a(false);
        domandaStampabile(a.db);
        domandaCorretta(a);
        a.db.esegui(u"DELETE FROM CorsiProp WHERE SedeInteressata = 4"_s);
        if (!sql.isEmpty())
            a.db.esegui(sql);
        QCOMPARE(ControllaDatiDomanda(a.db, a.sessione).messaggio, atteso);
        // The command line lists the course problems itself, once.
        QCOMPARE(problemiDomandaStampa(a.db, a.sessione, {}, false), QStringList());
    }

    // Every problem is listed, not only the first; an operator without courses is told apart.
    void tuttiIProblemi()
    {
        Selezionata a(false);
        const QStringList p = problemiDomandaStampa(a.db, a.sessione);
        QVERIFY(p[0].contains(u"DATA DI NASCITA"_s));
        QVERIFY(p[1].startsWith(u"E' necessario compilare il dato relativo alla DATA PRESUNTA AVVIO CORSO"_s));
        // Then each problem of the fixture's courses (12 of them, in four courses).
        QCOMPARE(p.size(), 14);
        QCOMPARE(p.filter(u"non supera le verifiche della scheda corso"_s).size(), 12);
        QCOMPARE(problemiDomandaStampa(a.db, a.sessione, {}, false), p.mid(0, 2));
        a.db.esegui(u"DELETE FROM CorsiProp"_s);
        QVERIFY(!operatoreHaCorsi(a.db, a.sessione));
    }
};

QTEST_GUILESS_MAIN(TestControlliStampa)
#include "tst_controllistampa.moc"
