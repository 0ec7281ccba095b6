#include "db/Aggiornamenti.h"
#include "db/Recordset.h"
#include "support/Ambiente.h"

#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;

namespace {
void corso(CorsiDB &db, int sede, const QString &corso, int statoIter, const QString &codQualif = {})
{
    db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, StatoIter, "
                             "CodQualif, DesQualif) VALUES ('A', 1, ?, ?, '0', ?, ?, 'VECCHIA')"),
              {sede, corso, statoIter, codQualif});
    db.esegui(QStringLiteral("INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                             "ProgrAnno) VALUES ('A', 1, ?, ?, '0', 1)"),
              {sede, corso});
}
int conta(CorsiDB &db, const QString &sql) { return db.valoreScalare(sql).toInt(); }
} // namespace

class TestAggiornamenti : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dataAvvioSuBaseDellaVersionePrecedente()
    {
        Ambiente a;
        a.creaDb(OpzioniNuovoDatabase{true});
        a.apriDb();
        QVERIFY(!a.db.esisteColonna(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio")));
        corso(a.db, 1, QStringLiteral("0001"), 1);
        QVERIFY(aggiornaDataAvvio(a.db));
        QCOMPARE(conta(a.db, QStringLiteral("SELECT count(*) FROM CorsiProp WHERE DataAvvio = ''")), 1);
        Recordset rs(a.db, QStringLiteral("QryCorsi"));
        rs.apri();
        QCOMPARE(rs.nomeCampo(rs.numeroCampi() - 1), QStringLiteral("DataAvvio"));
        QVERIFY(!rs.nullo(QStringLiteral("DataAvvio")));
        const QString definizione = a.db.definizioneQuery(QStringLiteral("QryCorsi"));
        QVERIFY(!aggiornaDataAvvio(a.db));
        QCOMPARE(a.db.definizioneQuery(QStringLiteral("QryCorsi")), definizione);
    }

    void qryCorsiIntattaSeDataAvvioEsiste()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        a.db.sostituisciQuery(QStringLiteral("QryCorsi"), QStringLiteral("SELECT * FROM CorsiProp"));
        const QString definizione = a.db.definizioneQuery(QStringLiteral("QryCorsi"));
        QVERIFY(!aggiornaDataAvvio(a.db));
        QCOMPARE(a.db.definizioneQuery(QStringLiteral("QryCorsi")), definizione);
    }

    void corsiNonPrimiAnni_data()
    {
        QTest::addColumn<QList<int>>("stati");
        QTest::addColumn<int>("rimasti");
        QTest::addColumn<int>("messaggi");
        QTest::newRow("solo primi anni") << QList<int>{1, 1} << 2 << 0;
        QTest::newRow("un secondo anno") << QList<int>{1, 2} << 1 << 1;
        QTest::newRow("secondi e terzi") << QList<int>{3, 2, 1} << 1 << 1;
    }
    void corsiNonPrimiAnni()
    {
        QFETCH(QList<int>, stati);
        QFETCH(int, rimasti);
        QFETCH(int, messaggi);
        Ambiente a;
        a.creaDb();
        a.apriDb();
        for (int i = 0; i < stati.size(); ++i)
            corso(a.db, 1, QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')), stati[i]);
        QCOMPARE(contaCorsiNonPrimiAnni(a.db) > 0 ? 1 : 0, messaggi);
        rimuoviCorsiNonPrimiAnni(a.db);
        QCOMPARE(conta(a.db, QStringLiteral("SELECT count(*) FROM CorsiProp")), rimasti);
        // Their cost rows go with them.
        QCOMPARE(conta(a.db, QStringLiteral("SELECT count(*) FROM CorsiPropSpese")), rimasti);
    }

    void descrizioniQualifiche()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        a.db.esegui(QStringLiteral("INSERT INTO Qualifi VALUES ('Q1', 'OPERATORE GRAFICO')"));
        corso(a.db, 1, QStringLiteral("0001"), 1, QStringLiteral("Q1"));
        corso(a.db, 1, QStringLiteral("0002"), 1, QStringLiteral("QX")); // no longer in the table
        corso(a.db, 1, QStringLiteral("0003"), 1, QString());            // a new qualification
        QCOMPARE(riparaDescrizioniQualifiche(a.db), 1);
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT DesQualif FROM CorsiProp WHERE Corso='0001'")).toString(),
                 QStringLiteral("OPERATORE GRAFICO"));
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT DesQualif FROM CorsiProp WHERE Corso='0002'")).toString(),
                 QStringLiteral("VECCHIA"));
        QCOMPARE(riparaDescrizioniQualifiche(a.db), 0);
    }

    void valoriChkMancanti()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        a.db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001', 'ALFA', '001', 'AA', '10100'), "
                                   "('003001', 'GAMMA', '003', 'GG', '30100')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, CodComune) VALUES "
                                   "('A', 1, 1, '001001')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiSediOcc (SedeOcc, CodComune) VALUES (1001, '003001')"));
        a.db.esegui(QStringLiteral("INSERT INTO Metadati VALUES ('001', 1, 'T', 'Titolo', ''), ('001', 2, 'C', 'Voce', "
                                   "'1'), ('001', 3, 'C', 'Voce', '2'), ('003', 7, 'C', 'Altra', '1')"));
        a.db.esegui(QStringLiteral("INSERT INTO Legami VALUES ('001', 1), ('001', 2), ('001', 3), ('003', 7)"));
        corso(a.db, 1, QStringLiteral("0001"), 1);
        corso(a.db, 1001, QStringLiteral("0002"), 1);
        a.db.esegui(QStringLiteral("INSERT INTO ValoriChk VALUES ('A', 1, 1, '0001', '0', '001', 2, -1)"));
        // Course 0001 lacks item 3 (item 1 is a title); course 0002, in the occasional
        // site's province, lacks item 7.
        QCOMPARE(riparaValoriChk(a.db), 2);
        QCOMPARE(conta(a.db, QStringLiteral("SELECT count(*) FROM ValoriChk WHERE Corso='0002' AND Prov='003' AND "
                                            "ID=7 AND Valore=0")),
                 1);
        QCOMPARE(conta(a.db, QStringLiteral("SELECT Valore FROM ValoriChk WHERE Corso='0001' AND ID=2")), -1);
        QCOMPARE(riparaValoriChk(a.db), 0);
    }
};

QTEST_GUILESS_MAIN(TestAggiornamenti)
#include "tst_aggiornamenti.moc"
