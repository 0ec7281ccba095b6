#include "support/Domanda.h"
#include "support/RigaDiComando.h"

#include "courses/Handicap.h"
#include "courses/Riassegnazione.h"

#include <QSqlQuery>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Where every row of the operator lies: table, site, course, merged number (and sheet).
QStringList dove(Ambiente &a)
{
    QStringList r;
    const std::pair<const char *, const char *> tabelle[] = {
        {"CorsiProp", "Accorp || '/' || COALESCE(CAST(CompoResp AS VARCHAR), '')"},
        {"CorsiPropSpese", "Accorp || '/'"},
        {"ValoriChk", "Accorp || '/' || ID"},
        {"CorsiHandi", "Accorp || '/' || Handi"},
        {"CorsiPropAziende", "'/'"}};
    for (const auto &[t, coda] : tabelle) {
        QSqlQuery q = a.db.seleziona(u"SELECT SedeInteressata || '/' || Corso || '/' || %1 FROM %2 ORDER BY 1"_s.arg(
            QString::fromLatin1(coda), QString::fromLatin1(t)));
        while (q.next())
            r << QString::fromLatin1(t) + u' ' + q.value(0).toString();
    }
    return r;
}

// The fixture's application, open to changes, with a second merged course, a linked
// company, a handicap sheet on the main course and, at site 2, a course whose sheet already
// has number 0001.
struct Preparata : Ambiente {
    Preparata();
};

Preparata::Preparata()
{
    selezionata(*this, false);
    for (const QString &sql :
         {u"INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, DesQualif, StatoIter) VALUES "
          "('A', 7, 1, '0001', '2', 'SECONDO ACCORPATO', 1), ('A', 7, 2, '0009', '0', 'CORSO DUE', 1)"_s,
          u"INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1) VALUES "
          "('A', 7, 1, '0001', '2', 1, 3)"_s,
          u"INSERT INTO ValoriChk VALUES ('A', 7, 1, '0001', '1', '001', 2, -1), ('A', 7, 1, '0001', '2', '001', 2, 0)"_s,
          u"INSERT INTO CorsiHandi (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Handi, NumPersone, CodDest1) VALUES "
          "('A', 7, 1, '0001', '0', '0001', 2, '1'), ('A', 7, 2, '0009', '0', '0001', 1, '1')"_s,
          u"INSERT INTO CorsiPropAziende VALUES ('A', 7, 1, '0001', 'B', 3, 'P1')"_s})
        db.esegui(sql);
}

} // namespace

class TestRiassegnazione : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A main course moves with its two merged courses, their cost rows, check values, linked
    // company and handicap sheet; the sheet takes the new site's next number; 0002 stays.
    void corsoConAccorpati()
    {
        Preparata a;
        QCOMPARE(riassegnaCorsi(a.db, a.sessione, {1, 2, false, u"0001"_s, {}}), 3);
        const QStringList r = dove(a);
        for (const QString &riga : u"CorsiProp 2/0001/0/,CorsiProp 2/0001/1/,CorsiProp 2/0001/2/,CorsiPropSpese 2/0001/0/,"
                                   "CorsiPropSpese 2/0001/1/,CorsiPropSpese 2/0001/2/,CorsiHandi 2/0001/0/0002,"
                                   "CorsiHandi 2/0009/0/0001,CorsiPropAziende 2/0001//,CorsiProp 1/0002/0/"_s.split(u','))
            QVERIFY2(r.contains(riga), qPrintable(riga + u" in "_s + r.join(u", "_s)));
        QCOMPARE(r.filter(u" 1/0001/"_s), QStringList());
        QCOMPARE(r.filter(u"ValoriChk 2/0001/"_s).size(), 5);
    }

    void elenchi()
    {
        Preparata a;
        a.db.esegui(u"DELETE FROM CorsiProp WHERE SedeInteressata=2"_s);
        const auto voci = [](const QList<SedeRiassegnazione> &sedi) {
            QStringList r;
            for (const SedeRiassegnazione &x : sedi)
                r << x.voce;
            return r;
        };
        const QStringList da = voci(sediConCorsi(a.db, a.sessione)), verso = voci(sediDestinazione(a.db, a.sessione, 1));
        // Site 2 has no course; site 3 and 1002 are in another province.
        QCOMPARE(da,
                 QStringList({u"1 - SEDE LEGALE - SL - VIA UNO 1"_s, u"1001 - PALESTRA - VIA SPORT 1   (SEDE OCCASIONALE)"_s}));
        QCOMPARE(verso,
                 QStringList({u"2 - SEDE DUE - UL - VIA DUE 2"_s, u"1001 - PALESTRA - VIA SPORT 1   (SEDE OCCASIONALE)"_s}));
        QCOMPARE(vociCorsiDaSpostare(a.db, a.sessione, 1), QStringList({u"0001-OPERATORE GRAFICO"_s, u"0002-OSS"_s}));
        QCOMPARE(sedeDellaVoce(verso[1]), 1001);
    }

    // scontro: a row already at the new site clashes with the move, so it fails half way and
    // the whole of it is undone: the last merged course's check value, or a cost row of the
    // second course of the site, after the first has been moved.
    void rifiuti_data()
    {
        colonne<int, int, QString, QString, QString, QString>("da", "verso", "corso", "compo", "messaggio", "scontro");
        const QString sedeDa = u"Selezionare la sede da cui spostare il/i corsi"_s,
                      sedeA = u"Selezionare la sede su cui spostare il/i corsi"_s,
                      corso = u"Selezionare il corso o i corsi da spostare"_s,
                      compo = u"Selezionare il Componente Responsabile dei corsi spostati nella sede occasionale."_s;
        QTest::newRow("sede senza corsi") << 1002 << 1 << ""
                                          << "" << sedeDa << QString();
        QTest::newRow("verso se stessa") << 1 << 1 << "0001"
                                         << "" << sedeA << QString();
        QTest::newRow("verso altra provincia") << 1 << 3 << "0001"
                                               << "" << sedeA << QString();
        QTest::newRow("corso accorpato") << 1 << 2 << "00011"
                                         << "" << corso << QString();
        QTest::newRow("corso di altra sede") << 1 << 2 << "0003"
                                             << "" << corso << QString();
        QTest::newRow("occasionale senza responsabile") << 1 << 1001 << "0001"
                                                        << "" << compo << QString();
        QTest::newRow("responsabile di altra provincia") << 1 << 1001 << "0001"
                                                         << "3" << compo << QString();
        const QString accorpato = u"INSERT INTO ValoriChk VALUES ('A', 7, 2, '0001', '2', '001', 2, 0)"_s,
                      secondo = u"INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                "ProgrAnno) VALUES ('A', 7, 2, '0002', '0', 1)"_s;
        QTest::newRow("guasto a meta") << 1 << 2 << ""
                                       << ""
                                       << "" << accorpato;
        QTest::newRow("guasto al secondo corso") << 1 << 2 << ""
                                                 << ""
                                                 << "" << secondo;
    }
    void rifiuti()
    {
        QFETCH(int, da);
        QFETCH(int, verso);
        QFETCH(QString, corso);
        QFETCH(QString, compo);
        QFETCH(QString, messaggio);
        QFETCH(QString, scontro);
        Preparata a;
        if (!scontro.isEmpty())
            a.db.esegui(scontro);
        const QStringList prima = dove(a);
        const Riassegnazione r{da, verso, corso.isEmpty(), corso, compo};
        QCOMPARE(verificaRiassegnazione(a.db, a.sessione, r).messaggio, messaggio);
        QVERIFY(numeroErrore([&] { riassegnaCorsi(a.db, a.sessione, r); }) != 0);
        QCOMPARE(dove(a), prima);
        QVERIFY(!a.db.inTransazione());
    }

    // To an occasional site the courses take the responsible component; back to a component
    // they lose it.
    void responsabile()
    {
        Preparata a;
        QCOMPARE(riassegnaCorsi(a.db, a.sessione, {1, 1001, false, u"0002"_s, u"2"_s}), 1);
        QVERIFY(dove(a).contains(u"CorsiProp 1001/0002/0/2"_s));
        QCOMPARE(riassegnaCorsi(a.db, a.sessione, {1001, 2, true, {}, {}}), 2);
        QVERIFY(dove(a).contains(u"CorsiProp 2/0002/0/"_s) && dove(a).contains(u"CorsiProp 2/0003/0/"_s));
    }

    void stampata()
    {
        Selezionata a(true);
        QCOMPARE(verificaRiassegnazione(a.db, a.sessione, {1, 2, true, {}, {}}).messaggio,
                 u"Domanda già stampata in definitivo.\r\nNon è possibile modificare l'assegnazione dei corsi alle sedi "
                 "interessate"_s);
    }

    // The command line moves the same way, and refuses the same way.
    void rigaDiComando_data()
    {
        colonne<QString, int, QString, QString>("argomenti", "codice", "sedeDel0001", "errore");
        const QString base = u"riassegna --prov 001 --grupope A --operatore 7 --da 1"_s;
        QTest::newRow("spostato") << "--si " + base + " --a 1001 --corso 0001 --compo-resp 2" << 0 << "1001"
                                  << "RIASSEGNAZIONE EFFETTUATA";
        QTest::newRow("senza conferma") << base + " --a 2 --corso 0001" << 1 << "1"
                                        << "Continuare ?";
        QTest::newRow("senza responsabile") << "--si " + base + " --a 1001 --corso 0001" << 1 << "1"
                                            << "Componente Responsabile";
        QTest::newRow("sede di altra provincia") << "--si " + base + " --a 3 --corso 0001" << 1 << "1"
                                                 << "Selezionare la sede su cui spostare il/i corsi";
        QTest::newRow("opzione mancante") << "--si " + base << 2 << "1"
                                          << "uso:";
    }
    void rigaDiComando()
    {
        QFETCH(QString, argomenti);
        QFETCH(int, codice);
        QFETCH(QString, sedeDel0001);
        QFETCH(QString, errore);
        Preparata a;
        a.db.chiudi();
        const EsitoCli e = cli(a.dir.path(), argomenti.split(u' '));
        QCOMPARE(e.codice, codice);
        QVERIFY2(e.err.contains(errore), qPrintable(e.err));
        a.apriDb();
        QCOMPARE(a.lista(u"SELECT DISTINCT SedeInteressata FROM CorsiProp WHERE Corso='0001' ORDER BY 1"_s), sedeDel0001);
    }
};

QTEST_GUILESS_MAIN(TestRiassegnazione)
#include "tst_riassegnazione.moc"
