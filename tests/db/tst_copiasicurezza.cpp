// The safety copy of the database and its restore: consistent, checked, and put back by a
// rename over the database, so that no crash leaves the folder without a whole database.
#include "db/CopiaSicurezza.h"
#include "support/Ambiente.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;

namespace {
QString nomi(CorsiDB &db) { return test::unisci(db, QStringLiteral("SELECT Denominazione FROM CorsiOper ORDER BY Operatore")); }

// What only a copy of the file can show.
#define SOLO_FILE(a)                                                                                                             \
    if ((a).suServer())                                                                                                          \
        QSKIP("Una copia del file della base dati: sul server la transazione del caricamento ne prende il posto");
} // namespace

class TestCopiaSicurezza : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The file is copied beside the database and put back. On the server no copy is kept: the
    // load's own transaction, left open by a load that stopped half-way, is undone.
    void copiaERipristino()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("PRIMA"));
        QVERIFY(copiaSicurezza(a.db));
        const QString bak = a.percorsoDb() + QStringLiteral("_BAK");
        QCOMPARE(fileIntegro(bak), !a.suServer());
        if (a.suServer())
            a.db.iniziaTransazione();
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='DOPO'"));
        a.aggiungiOperatore(QStringLiteral("A"), 2, QStringLiteral("NUOVO"));
        QVERIFY(ripristinaCopiaSicurezza(a.db, a.percorsoDb()));
        QVERIFY(a.db.aperto());
        QVERIFY(!a.db.inTransazione());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        QCOMPARE(nomi(a.db), QStringLiteral("PRIMA"));
        QVERIFY(!QFile::exists(bak)); // used, it is gone
    }

    void copiaDanneggiataRifiutata_data()
    {
        QTest::addColumn<QByteArray>("copia");
        QTest::newRow("byte a caso") << QByteArray(8192, '\x07');
        QTest::newRow("vuota") << QByteArray();
        QTest::newRow("troncata") << QByteArray("SQLite format 3\0", 16) + QByteArray(100, '\0');
    }
    void copiaDanneggiataRifiutata()
    {
        QFETCH(QByteArray, copia);
        Ambiente a;
        SOLO_FILE(a);
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("ATTUALE"));
        QFile b(a.percorsoDb() + QStringLiteral("_BAK"));
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write(copia);
        b.close();
        QVERIFY(!ripristinaCopiaSicurezza(a.db, a.percorsoDb()));
        QVERIFY(a.db.aperto());
        QCOMPARE(nomi(a.db), QStringLiteral("ATTUALE"));
    }

    void copiaRifiutataDuranteUnaScrittura()
    {
        Ambiente a;
        SOLO_FILE(a);
        a.pronto();
        Transazione t(a.db);
        QVERIFY(!copiaSicurezza(a.db));
        QVERIFY(!QFile::exists(a.percorsoDb() + QStringLiteral("_BAK")));
    }

    // The process dies after the copy is checked and written beside the database, right
    // before the rename: the database is the old one, whole.
    void ripristinoInterrottoPrimaDellaRidenominazione()
    {
        Ambiente a;
        SOLO_FILE(a);
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("COPIA"));
        QVERIFY(copiaSicurezza(a.db));
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='ATTUALE'"));
        a.db.chiudi();
        QProcess p;
        p.setProcessEnvironment([] {
            auto e = QProcessEnvironment::systemEnvironment();
            e.insert(QStringLiteral("QUIRDAL_ARRESTO"), QStringLiteral("sostituzione"));
            return e;
        }());
        p.start(qEnvironmentVariable("QUIRDAL_TEST_CLI"),
                {QStringLiteral("--cartella"), a.dir.path(), QStringLiteral("ripristina-copia")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 137); // stopped at the point, not finished
        QVERIFY(fileIntegro(a.percorsoDb()));
        a.apriDb();
        QCOMPARE(nomi(a.db), QStringLiteral("ATTUALE"));
        a.db.chiudi();
        // The copy is still there, and a restore that runs to the end takes it.
        QCOMPARE(QProcess::execute(qEnvironmentVariable("QUIRDAL_TEST_CLI"),
                                   {QStringLiteral("--cartella"), a.dir.path(), QStringLiteral("ripristina-copia")}),
                 0);
        a.apriDb();
        QCOMPARE(nomi(a.db), QStringLiteral("COPIA"));
    }
};

QTEST_GUILESS_MAIN(TestCopiaSicurezza)
#include "tst_copiasicurezza.moc"
