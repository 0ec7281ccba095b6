// Backup and restore of the database: the archive's name and the diskette volumes, a
// restore that keeps the current database and takes only a whole database of the
// program, a backup that archives a consistent copy while others write, an older archive
// replaced only by a whole one, the operator-only restore, the command line.
#include "db/CopiaSicurezza.h"
#include "support/Ambiente.h"
#include "support/Archivio.h"
#include "support/Backup.h"
#include "support/RigaDiComando.h"
#include "support/Zip.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kPassword = QString::fromLatin1(CorsiDB::kPassword);

QString nomi(CorsiDB &db)
{
    return db
        .valoreScalare(QStringLiteral("SELECT group_concat(Denominazione, ',') FROM (SELECT Denominazione FROM CorsiOper "
                                      "ORDER BY GrupOpe, Operatore)"))
        .toString();
}

QString nomiNelFile(const QString &file, const QString &password = kPassword)
{
    CorsiDB d(QStringLiteral("lettura-") + QUuid::createUuid().toString(QUuid::Id128));
    d.apri(file, password, ModoApertura::Condiviso);
    return nomi(d);
}

QByteArray contenuto(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void scrivi(const QString &file, const QByteArray &dati)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(dati), dati.size());
}

// The one database an archive holds, written out to read it.
QString databaseNellArchivio(const QString &archivio, const QString &dove)
{
    const VociZip voci = leggiZip(archivio);
    if (voci.size() != 1 || voci[0].first != QLatin1String("QUIRDAL.mdb"))
        return {};
    QFile f(dove);
    if (!f.open(QIODevice::WriteOnly) || f.write(voci[0].second) != voci[0].second.size())
        return {};
    return dove;
}

// A database file of the program with one operator, as bytes; with a password of its own
// or without one of its tables.
QByteArray baseDati(const QString &nome, const QString &password = kPassword, const QString &senzaTabella = {})
{
    QTemporaryDir d;
    const QString f = d.filePath(QStringLiteral("QUIRDAL.mdb"));
    creaDatabase(f, password);
    {
        CorsiDB db(QStringLiteral("semina-") + QUuid::createUuid().toString(QUuid::Id128));
        db.apri(f, password, ModoApertura::Condiviso);
        db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, ?)"), {nome});
        if (!senzaTabella.isEmpty())
            db.esegui(QStringLiteral("DROP TABLE ") + senzaTabella);
    }
    return contenuto(f);
}

// An SQLite file of some other program.
QByteArray sqliteEstraneo()
{
    QTemporaryDir d;
    const QString f = d.filePath(QStringLiteral("altro.db"));
    {
        QSqlDatabase s = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("estraneo"));
        s.setDatabaseName(f);
        s.open();
        QSqlQuery(s).exec(QStringLiteral("CREATE TABLE Clienti (Nome TEXT)"));
        QSqlQuery(s).exec(QStringLiteral("INSERT INTO Clienti VALUES ('Rossi')"));
        s.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("estraneo"));
    return contenuto(f);
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nomeArchivio_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("nome");
        QTest::newRow("senza estensione") << "C:\\Dati\\copia" << "C:\\Dati\\copia.zip";
        QTest::newRow("barre") << "/home/ente/copia" << "/home/ente/copia.zip";
        QTest::newRow("solo il nome") << "copia" << "copia.zip";
        QTest::newRow("con estensione") << "/home/ente/copia.bak" << "/home/ente/copia.bak";
        QTest::newRow("punto solo nella cartella") << "C:\\Dati.2009\\copia" << "C:\\Dati.2009\\copia.zip";
        QTest::newRow("dischetto") << "A:\\QUIRDAL" << "A:\\QUIRDAL.zip";
    }
    void nomeArchivio()
    {
        QFETCH(QString, testo);
        QFETCH(QString, nome);
        QCOMPARE(nomeArchivioBackup(testo), nome);
    }

    void volumeDelDischetto_data()
    {
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<qint64>("volume");
        QTest::newRow("A:") << "A:\\QUIRDAL.zip" << qint64(1400000);
        QTest::newRow("a: minuscolo") << "a:\\copie\\x.zip" << qint64(1400000);
        QTest::newRow("C:") << "C:\\QUIRDAL.zip" << qint64(0);
        QTest::newRow("B:") << "B:\\QUIRDAL.zip" << qint64(0);
        QTest::newRow("cartella A") << "/media/A/QUIRDAL.zip" << qint64(0);
    }
    void volumeDelDischetto()
    {
        QFETCH(QString, percorso);
        QFETCH(qint64, volume);
        QCOMPARE(grandezzaVolume(percorso), volume);
    }

    void salvataggioERecupero()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("PRIMA"));
        const QString zip = a.percorso(QStringLiteral("salvataggio.zip"));
        QCOMPARE(salvaDati(*a.contesto, a.percorso(QStringLiteral("salvataggio"))), EsitoSalvataggio::Riuscito);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Backup eseguito con successo."));
        QCOMPARE(a.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup")), QDir::toNativeSeparators(zip));
        const QString salvato = databaseNellArchivio(zip, a.percorso(QStringLiteral("letto.mdb")));
        QVERIFY(fileIntegro(salvato));
        QCOMPARE(nomiNelFile(salvato), QStringLiteral("PRIMA"));

        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='DOPO'"));
        a.aggiungiOperatore(QStringLiteral("A"), 2, QStringLiteral("NUOVO"));
        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Recupero eseguito con successo"));
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        QCOMPARE(nomi(a.db), QStringLiteral("PRIMA"));
        // The database as it was before the restore.
        const QStringList copie = QDir(a.percorso(QStringLiteral("BackupDB"))).entryList(QDir::Files);
        QCOMPARE(copie, QStringList{QStringLiteral("QUIRDAL_20261206-093000.mdb")});
        QCOMPARE(nomiNelFile(a.percorso(QStringLiteral("BackupDB/")) + copie[0]), QStringLiteral("DOPO,NUOVO"));
        QVERIFY(!QFileInfo::exists(a.percorso(QStringLiteral("DBUnzip"))));
    }

    void archivioRifiutato_data()
    {
        QTest::addColumn<VociZip>("voci");
        QTest::addColumn<QByteArray>("grezzo"); // the file itself, when there are no entries
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("messaggio");
        const QString f = QStringLiteral("Recupero fallito\r\n\r\n");
        const QByteArray buona = baseDati(QStringLiteral("ESTRANEO"));
        QTest::newRow("non un archivio") << VociZip{} << QByteArray(5000, '\x07') << ""
                                         << f + "Il file non è un archivio zip valido (";
        QTest::newRow("archivio troncato") << VociZip{{"QUIRDAL.mdb", buona}} << QByteArray() << "tronca"
                                           << f + "Il file non è un archivio zip valido (";
        QTest::newRow("dati alterati") << VociZip{{"QUIRDAL.mdb", buona}} << QByteArray() << "altera"
                                       << f + "L'archivio è danneggiato (";
        QTest::newRow("un'altra base SQLite") << VociZip{{"QUIRDAL.mdb", sqliteEstraneo()}} << QByteArray() << ""
                                              << f + "Il file dell'archivio non è una base dati del programma oppure è danneggiato.";
        QTest::newRow("senza una tabella") << VociZip{{"QUIRDAL.mdb", baseDati("X", kPassword, "Comuni")}} << QByteArray() << ""
                                           << f + "Nella base dati dell'archivio mancano tabelle del programma: Comuni.";
        QTest::newRow("altra password") << VociZip{{"QUIRDAL.mdb", baseDati("X", "ALTRA")}} << QByteArray() << ""
                                        << f + "La base dati dell'archivio non si apre: Password non valida.";
        for (const char *nome : {"../QUIRDAL.mdb", "dati/../../QUIRDAL.mdb", "/tmp/QUIRDAL.mdb", "C:\\QUIRDAL.mdb",
                                 "..\\QUIRDAL.mdb", "C:QUIRDAL.mdb"})
            QTest::newRow(nome) << VociZip{{nome, buona}} << QByteArray() << ""
                                << f + "L'archivio contiene un nome di file non ammesso: " + nome + ".";
        QTest::newRow("due file") << VociZip{{"QUIRDAL.mdb", buona}, {"leggimi.txt", "x"}} << QByteArray() << ""
                                  << f + "L'archivio deve contenere un solo file, la base dati; ne contiene 2.";
    }
    void archivioRifiutato()
    {
        QFETCH(VociZip, voci);
        QFETCH(QByteArray, grezzo);
        QFETCH(QString, guasto);
        QFETCH(QString, messaggio);
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("ATTUALE"));
        const QString zip = a.percorso(QStringLiteral("arrivato.zip"));
        if (voci.isEmpty())
            scrivi(zip, grezzo);
        else
            QVERIFY(scriviZip(zip, voci));
        QByteArray b = contenuto(zip);
        if (guasto == QLatin1String("tronca"))
            b.truncate(b.size() / 2);
        else if (guasto == QLatin1String("altera"))
            for (int i = 120; i < 140; ++i)
                b[i] = static_cast<char>(b[i] ^ 0x5A);
        scrivi(zip, b);

        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Tutto), EsitoRecuperoDati::Rifiutato);
        QVERIFY2(a.dialoghi.ultimo().startsWith(messaggio), qPrintable(a.dialoghi.ultimo()));
        if (!messaggio.endsWith(QLatin1Char('(')))
            QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        QCOMPARE(nomi(a.db), QStringLiteral("ATTUALE"));
        QVERIFY(!QFileInfo::exists(a.percorso(QStringLiteral("BackupDB"))));
        QVERIFY(!QFileInfo::exists(a.percorso(QStringLiteral("DBUnzip"))));
        QVERIFY(!QFileInfo::exists(a.dir.path() + QStringLiteral("/../QUIRDAL.mdb")));
    }

    void recuperoRifiutatoSeAltriSonoConnessi()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("ATTUALE"));
        QVERIFY(scriviZip(a.percorso(QStringLiteral("copia.zip")), {{"QUIRDAL.mdb", baseDati(QStringLiteral("COPIA"))}}));
        QProcess altro;
        altro.start(qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {a.percorsoDb(), QStringLiteral("condiviso")});
        QVERIFY(altro.waitForReadyRead(30000));
        QCOMPARE(altro.readLine().trimmed(), QByteArray("PRONTO"));

        QCOMPARE(recuperaDati(*a.contesto, QStringLiteral("copia.zip"), ModoRecupero::Tutto), EsitoRecuperoDati::Rifiutato);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Qualche client potrebbe ancora essere connesso alla base dati. \r\n\r\n"
                                                     "L'operazione non è consentita."));
        altro.closeWriteChannel();
        QVERIFY(altro.waitForFinished(30000));
        QVERIFY(a.db.aperto());
        QCOMPARE(nomi(a.db), QStringLiteral("ATTUALE"));
    }

    // Another workstation commits batches of 20 rows while the backup runs: the archived
    // database is whole and holds whole batches only.
    void backupMentreUnAltroScrive()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        QProcess altro;
        altro.start(QStringLiteral(QUIRDAL_SCRIVI_DB), {a.percorsoDb(), QStringLiteral("300")});
        QVERIFY(altro.waitForReadyRead(30000));
        QCOMPARE(altro.readLine().trimmed(), QByteArray("PRONTO"));
        const QString zip = a.percorso(QStringLiteral("durante.zip"));
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        QVERIFY(altro.waitForFinished(120000));
        QCOMPARE(altro.exitCode(), 0);

        const QString salvato = databaseNellArchivio(zip, a.percorso(QStringLiteral("letto.mdb")));
        QVERIFY(fileIntegro(salvato));
        CorsiDB letto(QStringLiteral("letto"));
        letto.apri(salvato, kPassword, ModoApertura::Condiviso);
        const int righe = letto.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiOper WHERE GrupOpe='Z'")).toInt();
        QVERIFY(righe >= 20);
        QCOMPARE(righe % 20, 0);
    }

    void archivioPrecedenteSostituitoSoloDaUnoIntero()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("PRIMA"));
        const QString zip = a.percorso(QStringLiteral("copia.zip"));
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        const QByteArray primo = contenuto(zip);
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='DOPO'"));
        {
            Transazione t(a.db); // a write of the program itself still open: no whole copy now
            QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Fallito);
        }
        QCOMPARE(a.dialoghi.ultimo(),
                 QStringLiteral("Backup fallito\r\n\r\nimpossibile ottenere una copia integra della base dati"));
        QCOMPARE(contenuto(zip), primo);
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        QCOMPARE(nomiNelFile(databaseNellArchivio(zip, a.percorso(QStringLiteral("letto.mdb")))), QStringLiteral("DOPO"));
    }

    void volumi()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("IN VOLUMI"));
        const QString zip = a.percorso(QStringLiteral("dischetto.zip"));
        QCOMPARE(archiviaBaseDati(a.db, zip, 4000), QString());
        const QStringList volumi = volumiArchivio(zip);
        QVERIFY(volumi.size() >= 2);
        QCOMPARE(volumi.first(), a.percorso(QStringLiteral("dischetto.z01")));
        QByteArray unito;
        for (const QString &v : volumi) {
            QVERIFY(QFileInfo(v).size() <= 4000);
            if (v != volumi.last())
                QCOMPARE(QFileInfo(v).size(), 4000);
            unito += contenuto(v);
        }
        scrivi(a.percorso(QStringLiteral("unito.zip")), unito);
        QCOMPARE(nomiNelFile(databaseNellArchivio(a.percorso(QStringLiteral("unito.zip")), a.percorso(QStringLiteral("l.mdb")))),
                 QStringLiteral("IN VOLUMI"));

        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='DOPO'"));
        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        QCOMPARE(nomi(a.db), QStringLiteral("IN VOLUMI"));
        // One file now: the older volumes would be joined to it.
        QCOMPARE(archiviaBaseDati(a.db, zip, 0), QString());
        QCOMPARE(volumiArchivio(zip), QStringList{zip});
    }

    void recuperoDeiSoliDatiDellOperatore()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("UNO"));
        a.aggiungiOperatore(QStringLiteral("A"), 2, QStringLiteral("DUE"));
        const QString sede = QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, Denominazione) VALUES (?, ?, ?, ?)");
        a.db.esegui(sede, {QStringLiteral("A"), 1, 1, QStringLiteral("SEDE SALVATA")});
        const QString zip = a.percorso(QStringLiteral("copia.zip"));
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione = Denominazione || ' CAMBIATO'"));
        a.db.esegui(QStringLiteral("DELETE FROM CorsiCompo"));
        a.db.esegui(sede, {QStringLiteral("A"), 1, 2, QStringLiteral("SEDE NUOVA")});
        a.db.esegui(sede, {QStringLiteral("A"), 2, 1, QStringLiteral("SEDE DI DUE")});

        // The operator chosen, as the selection leaves session and INI.
        a.sessione.impostaOperatore(QStringLiteral("A"), QStringLiteral("1"));
        a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"), QStringLiteral("A"));
        a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Oper"), QStringLiteral("1"));
        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Operatore), EsitoRecuperoDati::Riuscito);
        QCOMPARE(nomi(a.db), QStringLiteral("UNO,DUE CAMBIATO"));
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT group_concat(Operatore || ':' || Denominazione, ',') FROM "
                                                   "(SELECT * FROM CorsiCompo ORDER BY Operatore)"))
                     .toString(),
                 QStringLiteral("1:SEDE SALVATA,2:SEDE DI DUE"));
        QCOMPARE(a.sessione.gDenomOper, QStringLiteral("UNO"));
        QCOMPARE(QDir(a.percorso(QStringLiteral("BackupDB"))).entryList(QDir::Files).size(), 1);
    }

    void rigaDiComando()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("PRIMA"));
        a.db.chiudi();
        QString errori;
        auto cli = [&](const QStringList &argomenti) {
            const EsitoCli e = test::cli(a.dir.path(), argomenti);
            errori = e.err;
            return e.codice;
        };
        QCOMPARE(cli({QStringLiteral("salva")}), 2);
        QCOMPARE(cli({QStringLiteral("salva"), QStringLiteral("copia")}), 0);
        QVERIFY2(errori.contains(QStringLiteral("Backup eseguito con successo.")), qPrintable(errori));
        QVERIFY(QFileInfo::exists(a.percorso(QStringLiteral("copia.zip"))));
        a.apriDb();
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='DOPO'"));
        a.db.chiudi();
        scrivi(a.percorso(QStringLiteral("rotto.zip")), QByteArray(3000, 'x'));
        QCOMPARE(cli({QStringLiteral("recupera"), QStringLiteral("rotto.zip")}), 1);
        QVERIFY2(errori.contains(QStringLiteral("Recupero fallito")), qPrintable(errori));
        QCOMPARE(nomiNelFile(a.percorsoDb()), QStringLiteral("DOPO"));
        QCOMPARE(cli({QStringLiteral("recupera"), QStringLiteral("copia.zip"), QStringLiteral("--operatore"), QStringLiteral("X")}), 2);
        QCOMPARE(cli({QStringLiteral("recupera"), QStringLiteral("copia.zip")}), 0);
        QVERIFY2(errori.contains(QStringLiteral("Recupero eseguito con successo")), qPrintable(errori));
        QCOMPARE(nomiNelFile(a.percorsoDb()), QStringLiteral("PRIMA"));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
