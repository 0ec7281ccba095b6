#include "db/Aggiornamenti.h"
#include "db/ConfrontoSchema.h"
#include "support/Ambiente.h"

#include <QSqlRecord>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
// A database of the current version (or of the previous one), open.
struct Base : Ambiente {
    explicit Base(bool precedente = false, const QString &connessione = u"CorsiDB"_s) : Ambiente(connessione)
    {
        creaDb(OpzioniNuovoDatabase{precedente});
        apriDb();
    }
    void corso(int sede, const QString &corso, int statoIter, const QString &codQualif = {})
    {
        db.esegui(u"INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, StatoIter, CodQualif, "
                  "DesQualif) VALUES ('A', 1, ?, ?, '0', ?, ?, 'VECCHIA')"_s,
                  {sede, corso, statoIter, codQualif});
        db.esegui(u"INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno) "
                  "VALUES ('A', 1, ?, ?, '0', 1)"_s,
                  {sede, corso});
    }
};
// A table's columns: name, declared type, required, place in the key.
QString descrizione(CorsiDB &db, const QString &tabella)
{
    QStringList r;
    for (const Colonna &c : db.colonne(tabella))
        r << u"%1 %2 %3 %4"_s.arg(c.nome, c.tipoDichiarato).arg(c.obbligatoria).arg(c.posizioneChiave);
    return r.join(u", "_s);
}
} // namespace

class TestAggiornamenti : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dataAvvioSuBaseDellaVersionePrecedente()
    {
        Base a(true);
        QVERIFY(!a.db.esisteColonna(u"CorsiProp"_s, u"DataAvvio"_s));
        a.corso(1, u"0001"_s, 1);
        QVERIFY(aggiornaDataAvvio(a.db));
        QCOMPARE(a.conta(u"CorsiProp WHERE DataAvvio = ''"_s), 1);
        const QString tutte = u"SELECT * FROM QryCorsi"_s;
        QSqlQuery q = a.db.seleziona(tutte);
        QVERIFY(q.next());
        // The columns as the program names them (the server's own names are in lower case).
        QCOMPARE(a.db.nomiCampi(q.record(), tutte).constLast(), u"DataAvvio"_s);
        QVERIFY(!q.value(u"DataAvvio"_s).isNull());
        // Once there, a second run changes nothing.
        const QString definizione = a.db.definizioneQuery(u"QryCorsi"_s);
        QVERIFY(!aggiornaDataAvvio(a.db));
        QCOMPARE(a.db.definizioneQuery(u"QryCorsi"_s), definizione);
    }

    void qryCorsiIntattaSeDataAvvioEsiste()
    {
        Base a;
        a.db.sostituisciQuery(u"QryCorsi"_s, u"SELECT * FROM CorsiProp"_s);
        const QString definizione = a.db.definizioneQuery(u"QryCorsi"_s);
        // SQLite keeps the text as written; the server its own reading of it.
        if (a.suServer())
            QVERIFY2(definizione.endsWith(u"FROM corsiprop;"_s), qPrintable(definizione));
        else
            QCOMPARE(definizione, u"CREATE VIEW QryCorsi AS SELECT * FROM CorsiProp"_s);
        QVERIFY(!aggiornaDataAvvio(a.db));
        QCOMPARE(a.db.definizioneQuery(u"QryCorsi"_s), definizione);
    }

    // The tables of the sends on a database made before them: created as a new database has
    // them, once; a file with one of the two and not the other is no shape the program made.
    void tabelleDegliInvii_data()
    {
        colonne<QStringList, bool, QStringList>("tolte", "create", "mancanti");
        QTest::newRow("già presenti") << QStringList() << false << QStringList();
        QTest::newRow("base precedente") << QStringList{u"Invii"_s, u"DomandeDefinitive"_s} << true << QStringList();
        QTest::newRow("solo una") << QStringList{u"Invii"_s} << true << QStringList{u"Invii"_s};
    }
    void tabelleDegliInvii()
    {
        QFETCH(QStringList, tolte);
        QFETCH(bool, create);
        QFETCH(QStringList, mancanti);
        Base a;
        for (const QString &t : tolte)
            a.db.esegui(u"DROP TABLE "_s + t);
        // The file as an archive brings it: the earlier shape passes, half of it does not. (A
        // database on the server is no file an archive brings.)
        if (!a.suServer()) {
            a.db.chiudi();
            const EsitoConfrontoSchema prima = confrontaConSchemaProgramma(a.percorsoDb());
            QCOMPARE(prima.tabelleMancanti, mancanti);
            QCOMPARE(prima.differenza.isEmpty(), mancanti.isEmpty());
            a.apriDb();
        }
        QCOMPARE(aggiornaInvii(a.db), create);
        QVERIFY(!aggiornaInvii(a.db));
        a.db.esegui(u"INSERT INTO Invii (GrupOpe, Operatore, Prov, Copia, Sha256) VALUES ('A', 1, '001', 'c', 'h')"_s);
        // Their columns and keys as a new database has them.
        Base nuova(false, u"nuova"_s);
        for (const QString &t : {u"Invii"_s, u"DomandeDefinitive"_s})
            QCOMPARE(descrizione(a.db, t), descrizione(nuova.db, t));
        if (!a.suServer()) {
            a.db.chiudi();
            QVERIFY(confrontaConSchemaProgramma(a.percorsoDb()).uguale());
        }
    }

    void corsiNonPrimiAnni_data()
    {
        colonne<QList<int>, int>("stati", "rimasti");
        QTest::newRow("solo primi anni") << QList<int>{1, 1} << 2;
        QTest::newRow("un secondo anno") << QList<int>{1, 2} << 1;
        QTest::newRow("secondi e terzi") << QList<int>{3, 2, 1} << 1;
    }
    void corsiNonPrimiAnni()
    {
        QFETCH(QList<int>, stati);
        QFETCH(int, rimasti);
        Base a;
        for (int i = 0; i < stati.size(); ++i)
            a.corso(1, u"000"_s + QString::number(i + 1), stati[i]);
        QCOMPARE(contaCorsiNonPrimiAnni(a.db), stati.size() - rimasti);
        rimuoviCorsiNonPrimiAnni(a.db);
        QCOMPARE(a.conta(u"CorsiProp"_s), rimasti);
        QCOMPARE(a.conta(u"CorsiPropSpese"_s), rimasti); // their cost rows go with them
    }

    void descrizioniQualifiche()
    {
        Base a;
        a.db.esegui(u"INSERT INTO Qualifi VALUES ('Q1', 'OPERATORE GRAFICO')"_s);
        a.corso(1, u"0001"_s, 1, u"Q1"_s);
        a.corso(1, u"0002"_s, 1, u"QX"_s);   // no longer in the table
        a.corso(1, u"0003"_s, 1, QString()); // a new qualification
        QCOMPARE(riparaDescrizioniQualifiche(a.db), 1);
        QCOMPARE(a.lista(u"SELECT DesQualif FROM CorsiProp ORDER BY Corso"_s, u"|"_s), u"OPERATORE GRAFICO|VECCHIA|VECCHIA"_s);
        QCOMPARE(riparaDescrizioniQualifiche(a.db), 0);
    }

    void valoriChkMancanti()
    {
        Base a;
        for (const char *sql : {"INSERT INTO Comuni VALUES ('001001', 'ALFA', '001', 'AA', '10100'), "
                                "('003001', 'GAMMA', '003', 'GG', '30100')",
                                "INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, CodComune) VALUES ('A', 1, 1, '001001')",
                                "INSERT INTO CorsiSediOcc (SedeOcc, CodComune) VALUES (1001, '003001')",
                                "INSERT INTO Metadati VALUES ('001', 1, 'T', 'Titolo', ''), ('001', 2, 'C', 'Voce', '1'), "
                                "('001', 3, 'C', 'Voce', '2'), ('003', 7, 'C', 'Altra', '1')",
                                "INSERT INTO Legami VALUES ('001', 1), ('001', 2), ('001', 3), ('003', 7)",
                                "INSERT INTO ValoriChk VALUES ('A', 1, 1, '0001', '0', '001', 2, -1)"})
            a.db.esegui(QString::fromLatin1(sql));
        a.corso(1, u"0001"_s, 1);
        a.corso(1001, u"0002"_s, 1);
        // Course 0001 lacks item 3 (item 1 is a title); course 0002, in the occasional
        // site's province, lacks item 7.
        QCOMPARE(riparaValoriChk(a.db), 2);
        QCOMPARE(a.conta(u"ValoriChk WHERE Corso='0002' AND Prov='003' AND ID=7 AND Valore=0"_s), 1);
        QCOMPARE(a.valore(u"SELECT Valore FROM ValoriChk WHERE Corso='0001' AND ID=2"_s), u"-1"_s);
        QCOMPARE(riparaValoriChk(a.db), 0);
    }
};

QTEST_GUILESS_MAIN(TestAggiornamenti)
#include "tst_aggiornamenti.moc"
