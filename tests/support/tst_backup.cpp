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
    return db.valoreScalare(u"SELECT group_concat(Denominazione, ',') FROM (SELECT Denominazione FROM CorsiOper "
                            "ORDER BY GrupOpe, Operatore)"_s).toString();
}

// A connection of its own on the file, for one expression.
CorsiDB &apri(CorsiDB &&d, const QString &file)
{
    d.apri(file, kPassword, ModoApertura::Condiviso);
    return d;
}

QString nomiNelFile(const QString &file)
{
    return nomi(apri(CorsiDB(u"lettura-"_s + QUuid::createUuid().toString(QUuid::Id128)), file));
}

// The one database an archive holds, written out beside it to read it.
QString databaseNellArchivio(const QString &archivio)
{
    const VociZip voci = leggiZip(archivio);
    const QString dove = archivio + u".mdb"_s;
    return voci.size() == 1 && voci[0].first == "QUIRDAL.mdb"_L1 && scriviFile(dove, voci[0].second) ? dove : QString();
}

// A database file of the program with one operator, as bytes; with a password of its own
// or without one of its tables.
QByteArray baseDati(const QString &nome, const QString &password = kPassword, const QString &senzaTabella = {})
{
    QTemporaryDir d;
    const QString f = d.filePath(u"QUIRDAL.mdb"_s);
    creaDatabase(f, password);
    {
        CorsiDB db(u"semina-"_s + QUuid::createUuid().toString(QUuid::Id128));
        db.apri(f, password, ModoApertura::Condiviso);
        db.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, ?)"_s, {nome});
        if (!senzaTabella.isEmpty())
            db.esegui(u"DROP TABLE "_s + senzaTabella);
    }
    return leggiFile(f);
}

// An SQLite file of some other program.
QByteArray sqliteEstraneo()
{
    QTemporaryDir d;
    {
        QSqlDatabase s = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"estraneo"_s);
        s.setDatabaseName(d.filePath(u"altro.db"_s));
        s.open();
        QSqlQuery(s).exec(u"CREATE TABLE Clienti (Nome TEXT)"_s);
        QSqlQuery(s).exec(u"INSERT INTO Clienti VALUES ('Rossi')"_s);
        s.close();
    }
    QSqlDatabase::removeDatabase(u"estraneo"_s);
    return leggiFile(d.filePath(u"altro.db"_s));
}

// A multi-user installation, with operator A/1 when a name is given.
struct Multi : Ambiente {
    explicit Multi(const QString &nome = {})
    {
        pronto(u"Multiutenza"_s);
        if (!nome.isEmpty())
            aggiungiOperatore(u"A"_s, 1, nome);
    }
    // The program's database still open, shared, with these operators.
    void intatta(const QString &attesi)
    {
        QVERIFY(db.aperto());
        QCOMPARE(db.modo(), ModoApertura::Condiviso);
        QCOMPARE(nomi(db), attesi);
    }
};

// Another process on the database, started once it says it is ready.
bool avvia(QProcess &p, const QString &programma, const QStringList &argomenti)
{
    p.start(programma, argomenti);
    return p.waitForReadyRead(30000) && p.readLine().trimmed() == "PRONTO";
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nomeEVolume_data()
    {
        colonne<QString, QString, qint64>("testo", "nome", "volume");
        QTest::newRow("senza estensione") << "C:\\Dati\\copia" << "C:\\Dati\\copia.zip" << qint64(0);
        QTest::newRow("barre") << "/home/ente/copia" << "/home/ente/copia.zip" << qint64(0);
        QTest::newRow("solo il nome") << "copia" << "copia.zip" << qint64(0);
        QTest::newRow("con estensione") << "/home/ente/copia.bak" << "/home/ente/copia.bak" << qint64(0);
        QTest::newRow("punto solo nella cartella") << "C:\\Dati.2009\\copia" << "C:\\Dati.2009\\copia.zip" << qint64(0);
        QTest::newRow("dischetto") << "A:\\QUIRDAL" << "A:\\QUIRDAL.zip" << qint64(1400000);
        QTest::newRow("a: minuscolo") << "a:\\copie\\x.zip" << "a:\\copie\\x.zip" << qint64(1400000);
        QTest::newRow("C:") << "C:\\QUIRDAL.zip" << "C:\\QUIRDAL.zip" << qint64(0);
        QTest::newRow("B:") << "B:\\QUIRDAL.zip" << "B:\\QUIRDAL.zip" << qint64(0);
        QTest::newRow("cartella A") << "/media/A/QUIRDAL.zip" << "/media/A/QUIRDAL.zip" << qint64(0);
    }
    void nomeEVolume()
    {
        QFETCH(QString, testo);
        QFETCH(QString, nome);
        QFETCH(qint64, volume);
        QCOMPARE(nomeArchivioBackup(testo), nome);
        QCOMPARE(grandezzaVolume(nome), volume);
    }

    void salvataggioERecupero()
    {
        Multi a(u"PRIMA"_s);
        const QString zip = a.percorso(u"salvataggio.zip"_s);
        QCOMPARE(salvaDati(*a.contesto, a.percorso(u"salvataggio"_s)), EsitoSalvataggio::Riuscito);
        QCOMPARE(a.dialoghi.ultimo(), u"Backup eseguito con successo."_s);
        QCOMPARE(a.ini.leggi(u"BaseDati"_s, u"FileBackup"_s), QDir::toNativeSeparators(zip));
        const QString salvato = databaseNellArchivio(zip);
        QVERIFY(fileIntegro(salvato));
        QCOMPARE(nomiNelFile(salvato), u"PRIMA"_s);

        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='DOPO'"_s);
        a.aggiungiOperatore(u"A"_s, 2, u"NUOVO"_s);
        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        QCOMPARE(a.dialoghi.ultimo(), u"Recupero eseguito con successo"_s);
        a.intatta(u"PRIMA"_s);
        // The database as it was before the restore.
        const QStringList copie = QDir(a.percorso(u"BackupDB"_s)).entryList(QDir::Files);
        QCOMPARE(copie, QStringList{u"QUIRDAL_20261206-093000.mdb"_s});
        QCOMPARE(nomiNelFile(a.percorso(u"BackupDB/"_s) + copie[0]), u"DOPO,NUOVO"_s);
        QVERIFY(!a.esiste(u"DBUnzip"_s));
    }

    void archivioRifiutato_data()
    {
        colonne<VociZip, QString, QString>("voci", "guasto", "messaggio");
        const QString f = u"Recupero fallito\r\n\r\n"_s;
        const QByteArray buona = baseDati(u"ESTRANEO"_s);
        const VociZip sola{{"QUIRDAL.mdb", buona}};
        QTest::newRow("non un archivio") << sola << "grezzo" << f + "Il file non è un archivio zip valido (";
        QTest::newRow("archivio troncato") << sola << "tronca" << f + "Il file non è un archivio zip valido (";
        QTest::newRow("dati alterati") << sola << "altera" << f + "L'archivio è danneggiato (";
        QTest::newRow("un'altra base SQLite") << VociZip{{"QUIRDAL.mdb", sqliteEstraneo()}} << ""
                                              << f + "Il file dell'archivio non è una base dati del programma oppure è danneggiato.";
        QTest::newRow("senza una tabella") << VociZip{{"QUIRDAL.mdb", baseDati("X", kPassword, "Comuni")}} << ""
                                           << f + "Nella base dati dell'archivio mancano tabelle del programma: Comuni.";
        QTest::newRow("altra password") << VociZip{{"QUIRDAL.mdb", baseDati("X", "ALTRA")}} << ""
                                        << f + "La base dati dell'archivio non si apre: Password non valida.";
        for (const char *nome : {"../QUIRDAL.mdb", "dati/../../QUIRDAL.mdb", "/tmp/QUIRDAL.mdb", "C:\\QUIRDAL.mdb",
                                 "..\\QUIRDAL.mdb", "C:QUIRDAL.mdb"})
            QTest::newRow(nome) << VociZip{{nome, buona}} << ""
                                << f + "L'archivio contiene un nome di file non ammesso: " + nome + ".";
        QTest::newRow("due file") << VociZip{{"QUIRDAL.mdb", buona}, {"leggimi.txt", "x"}} << ""
                                  << f + "L'archivio deve contenere un solo file, la base dati; ne contiene 2.";
        QTest::newRow("altri connessi") << sola << "connesso" << u"Qualche client potrebbe ancora essere connesso alla base "
                                                                 "dati. \r\n\r\nL'operazione non è consentita."_s;
    }
    void archivioRifiutato()
    {
        QFETCH(VociZip, voci);
        QFETCH(QString, guasto);
        QFETCH(QString, messaggio);
        Multi a(u"ATTUALE"_s);
        const QString zip = a.percorso(u"arrivato.zip"_s);
        QVERIFY(scriviZip(zip, voci));
        QByteArray b = leggiFile(zip);
        if (guasto == "grezzo"_L1)
            b = QByteArray(5000, '\x07');
        else if (guasto == "tronca"_L1)
            b.truncate(b.size() / 2);
        else if (guasto == "altera"_L1)
            for (int i = 120; i < 140; ++i)
                b[i] = static_cast<char>(b[i] ^ 0x5A);
        QVERIFY(scriviFile(zip, b));
        QProcess altro; // another workstation, when connected, holds the database open
        if (guasto == "connesso"_L1)
            QVERIFY(avvia(altro, qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {a.percorsoDb(), u"condiviso"_s}));

        // Named as typed, relative to the program folder.
        QCOMPARE(recuperaDati(*a.contesto, u"arrivato.zip"_s, ModoRecupero::Tutto), EsitoRecuperoDati::Rifiutato);
        QVERIFY2(a.dialoghi.ultimo().startsWith(messaggio), qPrintable(a.dialoghi.ultimo()));
        if (!messaggio.endsWith(u'('))
            QCOMPARE(a.dialoghi.ultimo(), messaggio);
        altro.closeWriteChannel();
        QVERIFY(altro.state() == QProcess::NotRunning || altro.waitForFinished(30000));
        a.intatta(u"ATTUALE"_s);
        for (const QString &f : {u"BackupDB"_s, u"DBUnzip"_s, u"../QUIRDAL.mdb"_s})
            QVERIFY2(!a.esiste(f), qPrintable(f));
    }

    // Another workstation commits batches of 20 rows while the backup runs: the archived
    // database is whole and holds whole batches only.
    void backupMentreUnAltroScrive()
    {
        Multi a;
        QProcess altro;
        QVERIFY(avvia(altro, QStringLiteral(QUIRDAL_SCRIVI_DB), {a.percorsoDb(), u"300"_s}));
        const QString zip = a.percorso(u"durante.zip"_s);
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        QVERIFY(altro.waitForFinished(120000));
        QCOMPARE(altro.exitCode(), 0);

        const QString salvato = databaseNellArchivio(zip);
        QVERIFY(fileIntegro(salvato));
        const int righe =
            apri(CorsiDB(u"letto"_s), salvato).valoreScalare(u"SELECT count(*) FROM CorsiOper WHERE GrupOpe='Z'"_s).toInt();
        QVERIFY(righe >= 20);
        QCOMPARE(righe % 20, 0);
    }

    void archivioPrecedenteSostituitoSoloDaUnoIntero()
    {
        Multi a(u"PRIMA"_s);
        const QString zip = a.percorso(u"copia.zip"_s);
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        const QByteArray primo = leggiFile(zip);
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='DOPO'"_s);
        {
            Transazione t(a.db); // a write of the program itself still open: no whole copy now
            QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Fallito);
        }
        QCOMPARE(a.dialoghi.ultimo(), u"Backup fallito\r\n\r\nimpossibile ottenere una copia integra della base dati"_s);
        QCOMPARE(leggiFile(zip), primo);
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        QCOMPARE(nomiNelFile(databaseNellArchivio(zip)), u"DOPO"_s);
    }

    void volumi()
    {
        Multi a(u"IN VOLUMI"_s);
        const QString zip = a.percorso(u"dischetto.zip"_s);
        QCOMPARE(archiviaBaseDati(a.db, zip, 4000), QString());
        const QStringList volumi = volumiArchivio(zip);
        QVERIFY(volumi.size() >= 2);
        QCOMPARE(volumi.first(), a.percorso(u"dischetto.z01"_s));
        QByteArray unito;
        for (const QString &v : volumi) {
            QVERIFY(QFileInfo(v).size() <= 4000);
            if (v != volumi.last())
                QCOMPARE(QFileInfo(v).size(), 4000);
            unito += leggiFile(v);
        }
        QVERIFY(a.scrivi(u"unito.zip"_s, unito));
        QCOMPARE(nomiNelFile(databaseNellArchivio(a.percorso(u"unito.zip"_s))), u"IN VOLUMI"_s);

        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='DOPO'"_s);
        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        QCOMPARE(nomi(a.db), u"IN VOLUMI"_s);
        // One file now: the older volumes would be joined to it.
        QCOMPARE(archiviaBaseDati(a.db, zip, 0), QString());
        QCOMPARE(volumiArchivio(zip), QStringList{zip});
    }

    void recuperoDeiSoliDatiDellOperatore()
    {
        Multi a(u"UNO"_s);
        a.aggiungiOperatore(u"A"_s, 2, u"DUE"_s);
        const QString sede = u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, Denominazione) VALUES ('A', ?, ?, ?)"_s;
        a.db.esegui(sede, {1, 1, u"SEDE SALVATA"_s});
        const QString zip = a.percorso(u"copia.zip"_s);
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione = Denominazione || ' CAMBIATO'"_s);
        a.db.esegui(u"DELETE FROM CorsiCompo"_s);
        a.db.esegui(sede, {1, 2, u"SEDE NUOVA"_s});
        a.db.esegui(sede, {2, 1, u"SEDE DI DUE"_s});

        // The operator chosen, as the selection leaves session and INI.
        a.sessione.impostaOperatore(u"A"_s, u"1"_s);
        a.ini.scrivi(u"BaseDati"_s, u"GrOpe"_s, u"A"_s);
        a.ini.scrivi(u"BaseDati"_s, u"Oper"_s, u"1"_s);
        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Operatore), EsitoRecuperoDati::Riuscito);
        QCOMPARE(nomi(a.db), u"UNO,DUE CAMBIATO"_s);
        QCOMPARE(a.valore(u"SELECT group_concat(Operatore || ':' || Denominazione, ',') FROM "
                          "(SELECT * FROM CorsiCompo ORDER BY Operatore)"_s),
                 u"1:SEDE SALVATA,2:SEDE DI DUE"_s);
        QCOMPARE(a.sessione.gDenomOper, u"UNO"_s);
        QCOMPARE(QDir(a.percorso(u"BackupDB"_s)).entryList(QDir::Files).size(), 1);
    }

    void rigaDiComando()
    {
        Multi a(u"PRIMA"_s);
        a.db.chiudi();
        QString errori;
        auto cli = [&](const QString &argomenti) {
            const EsitoCli e = test::cli(a.dir.path(), argomenti.split(u' '));
            errori = e.err;
            return e.codice;
        };
        QCOMPARE(cli(u"salva"_s), 2);
        QCOMPARE(cli(u"salva copia"_s), 0);
        QVERIFY2(errori.contains(u"Backup eseguito con successo."_s), qPrintable(errori));
        QVERIFY(a.esiste(u"copia.zip"_s));
        a.apriDb();
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='DOPO'"_s);
        a.db.chiudi();
        QVERIFY(a.scrivi(u"rotto.zip"_s, QByteArray(3000, 'x')));
        QCOMPARE(cli(u"recupera rotto.zip"_s), 1);
        QVERIFY2(errori.contains(u"Recupero fallito"_s), qPrintable(errori));
        QCOMPARE(nomiNelFile(a.percorsoDb()), u"DOPO"_s);
        QCOMPARE(cli(u"recupera copia.zip --operatore X"_s), 2);
        QCOMPARE(cli(u"recupera copia.zip"_s), 0);
        QVERIFY2(errori.contains(u"Recupero eseguito con successo"_s), qPrintable(errori));
        QCOMPARE(nomiNelFile(a.percorsoDb()), u"PRIMA"_s);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
