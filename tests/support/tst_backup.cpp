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
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <sys/time.h>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kPassword = QString::fromLatin1(CorsiDB::kPassword);

QString nomi(CorsiDB &db) { return unisci(db, u"SELECT Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"_s); }

// A connection of its own on the database, for one expression.
CorsiDB &apri(CorsiDB &&d, const DatiConnessione &dove)
{
    d.apri(dove, kPassword, ModoApertura::Condiviso);
    return d;
}
CorsiDB &apri(CorsiDB &&d, const QString &file) { return apri(std::move(d), DatiConnessione::diFile(file)); }

QString nomiIn(const DatiConnessione &dove)
{
    return nomi(apri(CorsiDB(u"lettura-"_s + QUuid::createUuid().toString(QUuid::Id128)), dove));
}
QString nomiNelFile(const QString &file) { return nomiIn(DatiConnessione::diFile(file)); }

// The one database an archive holds, written out beside it to read it.
QString databaseNellArchivio(const QString &archivio)
{
    const VociZip voci = leggiZip(archivio);
    const QString dove = archivio + u".mdb"_s;
    return voci.size() == 1 && voci[0].first == "QUIRDAL.mdb"_L1 && scriviFile(dove, voci[0].second) ? dove : QString();
}

// A database file of the program with one operator, as bytes: with a password of its own,
// in the layout of the previous release, with the statements given run on it afterwards.
QByteArray baseDati(const QString &nome, const QString &password = kPassword, const QStringList &poi = {},
                    bool precedente = false)
{
    QTemporaryDir d;
    const QString f = d.filePath(u"QUIRDAL.mdb"_s);
    OpzioniNuovoDatabase o;
    o.versionePrecedente = precedente;
    creaDatabase(f, password, o);
    {
        CorsiDB db(u"semina-"_s + QUuid::createUuid().toString(QUuid::Id128));
        db.apri(f, password, ModoApertura::Condiviso);
        db.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, ?)"_s, {nome});
        for (const QString &istruzione : poi)
            db.esegui(istruzione);
    }
    return leggiFile(f);
}

// The id of a process that has ended.
qint64 pidFinito()
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {u"-functions"_s});
    const qint64 pid = p.waitForStarted() ? p.processId() : 0;
    p.waitForFinished();
    return pid;
}

// The entries of a folder whose name matches.
QStringList vociDi(const QString &cartella, const QString &modello)
{
    const QRegularExpression re(modello);
    QStringList r;
    for (const QString &n : QDir(cartella).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        if (re.match(n).hasMatch())
            r << n;
    return r;
}

// Last changed two hours ago.
bool invecchia(const QString &percorso)
{
    const timeval ora[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
    return utimes(QFile::encodeName(percorso).constData(), ora) == 0;
}

// An archive whose one entry declares a size it does not hold: the uncompressed size in
// both the local and the central header.
QByteArray conGrandezzaDichiarata(QByteArray zip, quint32 grandezza)
{
    auto scrivi = [&](qsizetype dove) {
        for (int i = 0; i < 4; ++i)
            zip[dove + i] = static_cast<char>((grandezza >> (8 * i)) & 0xFF);
    };
    scrivi(22);
    scrivi(zip.indexOf(QByteArray("PK\x01\x02", 4)) + 24);
    return zip;
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
    // The system's temporary folder of this test and of the programs it starts, so that
    // what the operations leave there is seen, and goes with the test.
    QTemporaryDir m_temporanea;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temporanea.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temporanea.path()));
        QCOMPARE(QDir::tempPath(), m_temporanea.path());
    }

    void nomeEVolume_data()
    {
        colonne<QString, QString, qint64>("testo", "nome", "volume");
        QTest::newRow("senza estensione") << "C:\\Dati\\copia"
                                          << "C:\\Dati\\copia.zip" << qint64(0);
        QTest::newRow("barre") << "/home/ente/copia"
                               << "/home/ente/copia.zip" << qint64(0);
        QTest::newRow("solo il nome") << "copia"
                                      << "copia.zip" << qint64(0);
        QTest::newRow("con estensione") << "/home/ente/copia.bak"
                                        << "/home/ente/copia.bak" << qint64(0);
        QTest::newRow("punto solo nella cartella") << "C:\\Dati.2009\\copia"
                                                   << "C:\\Dati.2009\\copia.zip" << qint64(0);
        QTest::newRow("dischetto") << "A:\\QUIRDAL"
                                   << "A:\\QUIRDAL.zip" << qint64(1400000);
        QTest::newRow("a: minuscolo") << "a:\\copie\\x.zip"
                                      << "a:\\copie\\x.zip" << qint64(1400000);
        QTest::newRow("C:") << "C:\\QUIRDAL.zip"
                            << "C:\\QUIRDAL.zip" << qint64(0);
        QTest::newRow("B:") << "B:\\QUIRDAL.zip"
                            << "B:\\QUIRDAL.zip" << qint64(0);
        QTest::newRow("cartella A") << "/media/A/QUIRDAL.zip"
                                    << "/media/A/QUIRDAL.zip" << qint64(0);
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
        QTest::newRow("un'altra base SQLite")
            << VociZip{{"QUIRDAL.mdb", sqliteEstraneo()}} << ""
            << f + "Il file dell'archivio non è una base dati del programma oppure è danneggiato.";
        QTest::newRow("senza una tabella") << VociZip{{"QUIRDAL.mdb", baseDati("X", kPassword, {"DROP TABLE Comuni"})}} << ""
                                           << f + "Nella base dati dell'archivio mancano tabelle del programma: Comuni.";
        QTest::newRow("altra password") << VociZip{{"QUIRDAL.mdb", baseDati("X", "ALTRA")}} << ""
                                        << f + "La base dati dell'archivio non si apre: Password non valida.";
        for (const char *nome : {"../QUIRDAL.mdb", "dati/../../QUIRDAL.mdb", "/tmp/QUIRDAL.mdb", "C:\\QUIRDAL.mdb",
                                 "..\\QUIRDAL.mdb", "C:QUIRDAL.mdb"})
            QTest::newRow(nome) << VociZip{{nome, buona}} << ""
                                << f + "L'archivio contiene un nome di file non ammesso: " + nome + ".";
        // The schema is the program's own, and nothing else.
        const QString s = f + u"La base dati dell'archivio non ha la struttura prevista dal programma: "_s;
        auto con = [](const QStringList &poi) { return VociZip{{"QUIRDAL.mdb", baseDati(u"X"_s, kPassword, poi)}}; };
        QTest::newRow("trigger") << con({"CREATE TRIGGER Cancella AFTER UPDATE ON CorsiProp BEGIN DELETE FROM "
                                         "CorsiPropSpese; DELETE FROM CorsiOper; END"})
                                 << "" << s + "contiene il trigger Cancella, che il programma non crea.";
        QTest::newRow("vista al posto di una tabella")
            << con({"DROP TABLE CorsiPropSpese", "CREATE VIEW CorsiPropSpese AS SELECT * FROM CorsiProp"}) << ""
            << s + "CorsiPropSpese è una vista al posto di una tabella.";
        QTest::newRow("tabella in più") << con({"CREATE TABLE Appunti (Testo TEXT)"}) << ""
                                        << s + "contiene la tabella Appunti, che il programma non crea.";
        QTest::newRow("indice in più") << con({"CREATE INDEX Veloce ON CorsiOper (Denominazione)"}) << ""
                                       << s + "contiene l'indice Veloce, che il programma non crea.";
        QTest::newRow("vista in più") << con({"CREATE VIEW Riepilogo AS SELECT * FROM CorsiOper"}) << ""
                                      << s + "contiene la vista Riepilogo, che il programma non crea.";
        QTest::newRow("colonna mancante") << con({"ALTER TABLE CorsiOper DROP COLUMN ATI"}) << ""
                                          << s + "nella tabella CorsiOper manca la colonna ATI.";
        QTest::newRow("colonna in più") << con({"ALTER TABLE CorsiOper ADD COLUMN Nota TEXT"}) << ""
                                        << s + "la tabella CorsiOper ha la colonna Nota, che il programma non crea.";
        QTest::newRow("colonna di un altro tipo")
            << con({"DROP TABLE Regioni", "CREATE TABLE Regioni (REGIONE VARCHAR(2) NOT NULL PRIMARY KEY, Descrizione TEXT)"})
            << "" << s + "la colonna Descrizione della tabella Regioni non è definita come nel programma.";
        QTest::newRow("vincolo in più") << con(
            {"DROP TABLE Regioni",
             "CREATE TABLE Regioni (REGIONE VARCHAR(2) NOT NULL PRIMARY KEY, Descrizione VARCHAR(50) CHECK (0))"})
                                        << "" << s + "la tabella Regioni non ha le chiavi, gli indici o i vincoli del programma.";
        QTest::newRow("vista del programma cambiata")
            << con({"DROP VIEW QryCorsi", "CREATE VIEW QryCorsi AS SELECT * FROM CorsiProp"}) << ""
            << s + "la vista QryCorsi è diversa da quella del programma.";
        QTest::newRow("indice del programma cambiato")
            << con({"DROP INDEX Comuni_Prov", "CREATE INDEX Comuni_Prov ON Comuni (Cap)"}) << ""
            << s + "l'indice Comuni_Prov è diverso da quello del programma.";
        // Refused on what the archive declares and on the first bytes, before anything is written.
        QTest::newRow("grandezza dichiarata enorme") << sola << "dichiara"
                                                     << f
                + "Il file contenuto nell'archivio è troppo grande per essere una base dati del programma (3840 MB; "
                  "al massimo 1024 MB).";
        QTest::newRow("zeri al posto della base dati")
            << VociZip{{"QUIRDAL.mdb", QByteArray(200000, '\0')}} << ""
            << f + "Il file dell'archivio non è una base dati del programma oppure è danneggiato.";
        QTest::newRow("due file") << VociZip{{"QUIRDAL.mdb", buona}, {"leggimi.txt", "x"}} << ""
                                  << f + "L'archivio deve contenere un solo file, la base dati; ne contiene 2.";
        QTest::newRow("altri connessi") << sola << "connesso"
                                        << u"Qualche client potrebbe ancora essere connesso alla base "
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
        else if (guasto == "dichiara"_L1)
            b = conGrandezzaDichiarata(b, 0xF0000000u);
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
        // Nor anything left in the temporary folder.
        QCOMPARE(vociDi(QDir::tempPath(), u"^QUIRDAL-"_s), QStringList());
    }

    // What the archive declares and its first bytes are checked before a byte is written:
    // the folder stays empty and no progress is ever told.
    void estrazioneRifiutataPrimaDiScrivere_data()
    {
        colonne<QByteArray, qint64, QString>("dati", "massimo", "errore");
        const QByteArray buona = baseDati(u"X"_s);
        QTest::newRow("oltre il limite") << buona << qint64(4096)
                                         << u"Il file contenuto nell'archivio è troppo grande per essere una base dati del "
                                            "programma (%1 KB; al massimo 4 KB)."_s.arg((buona.size() + 1023) / 1024);
        QTest::newRow("zeri") << QByteArray(300000, '\0') << kGrandezzaMassimaBaseDati
                              << "Il file dell'archivio non è una base dati del programma oppure è danneggiato.";
        QTest::newRow("testo") << QByteArray("SQLite format 2\0 e poi altro") << kGrandezzaMassimaBaseDati
                               << "Il file dell'archivio non è una base dati del programma oppure è danneggiato.";
        QTest::newRow("più corto dell'intestazione") << QByteArray("SQLite") << kGrandezzaMassimaBaseDati
                                                     << "Il file dell'archivio non è una base dati del programma oppure è "
                                                        "danneggiato.";
        QTest::newRow("una base dati entro il limite") << buona << kGrandezzaMassimaBaseDati << "";
    }
    void estrazioneRifiutataPrimaDiScrivere()
    {
        QFETCH(QByteArray, dati);
        QFETCH(qint64, massimo);
        QFETCH(QString, errore);
        QTemporaryDir d;
        const QString zip = d.filePath(u"arrivato.zip"_s), cartella = d.filePath(u"estratto"_s);
        QVERIFY(scriviZip(zip, {{"QUIRDAL.mdb", dati}}) && QDir().mkpath(cartella));
        int avanzamenti = 0;
        OpzioniEstrazione o;
        o.grandezzaMassima = massimo;
        o.avanzamento = [&](qint64 fatti, qint64 totale) {
            ++avanzamenti;
            QVERIFY(fatti <= totale);
        };
        const FileEstratto e = estraiFileUnico(zip, cartella, o);
        QCOMPARE(e.errore, errore);
        if (errore.isEmpty()) {
            QCOMPARE(leggiFile(e.file), dati);
            QVERIFY(avanzamenti > 0);
        } else {
            QCOMPARE(QDir(cartella).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
            QCOMPARE(avanzamenti, 0);
        }
    }

    // Archives of the previous releases still restore, and come out upgraded.
    void archivioDiUnaVersionePrecedente_data()
    {
        colonne<bool, QStringList>("precedente", "poi");
        QTest::newRow("senza DataAvvio") << true << QStringList();
        QTest::newRow("senza NumPersone") << false << QStringList{u"ALTER TABLE CorsiHandi DROP COLUMN NumPersone"_s};
        QTest::newRow("senza entrambe") << true << QStringList{u"ALTER TABLE CorsiHandi DROP COLUMN NumPersone"_s};
        QTest::newRow("senza le tabelle degli invii")
            << false << QStringList{u"DROP TABLE Invii"_s, u"DROP TABLE DomandeDefinitive"_s};
        QTest::newRow("già aggiornata dal programma")
            << true
            << QStringList{u"ALTER TABLE CorsiHandi DROP COLUMN NumPersone"_s,
                           u"ALTER TABLE CorsiProp ADD COLUMN DataAvvio VARCHAR(10)"_s, u"DROP VIEW QryCorsi"_s,
                           u"CREATE VIEW QryCorsi AS "_s + selectQryCorsi(true),
                           u"ALTER TABLE CorsiHandi ADD COLUMN NumPersone INTEGER"_s};
    }
    void archivioDiUnaVersionePrecedente()
    {
        QFETCH(bool, precedente);
        QFETCH(QStringList, poi);
        Multi a(u"ATTUALE"_s);
        QVERIFY(scriviZip(a.percorso(u"vecchio.zip"_s), {{"QUIRDAL.mdb", baseDati(u"DI IERI"_s, kPassword, poi, precedente)}}));
        QCOMPARE(recuperaDati(*a.contesto, u"vecchio.zip"_s, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        a.intatta(u"DI IERI"_s);
        QVERIFY(a.db.esisteColonna(u"CorsiProp"_s, u"DataAvvio"_s));
        QVERIFY(a.db.esisteColonna(u"CorsiHandi"_s, u"NumPersone"_s));
        QVERIFY(a.db.esisteColonna(u"QryCorsi"_s, u"DataAvvio"_s));
        // SQLite keeps the view's text as written; the server its own reading, in lower case.
        QVERIFY(a.db.definizioneQuery(u"QryCorsi"_s)
                    .contains(u"DataAvvio"_s, a.suServer() ? Qt::CaseInsensitive : Qt::CaseSensitive));
        QVERIFY(a.db.esisteTabella(u"Invii"_s) && a.db.esisteTabella(u"DomandeDefinitive"_s));
    }

    // A restore takes back the data, never the record of what was sent: the sends recorded
    // since the backup stay, and those the archive records come back.
    void recuperoConservaGliInvii_data()
    {
        colonne<bool, bool, QString>("tutto", "archivioSenzaInvii", "attesi");
        QTest::newRow("tutto") << true << false << "A1-001-dopo,A1-001-prima,A2-001-dopo";
        QTest::newRow("solo l'operatore") << false << false << "A1-001-dopo,A1-001-prima,A2-001-dopo";
        QTest::newRow("tutto, archivio di una versione precedente") << true << true << "A1-001-dopo,A2-001-dopo";
        QTest::newRow("solo l'operatore, archivio di una versione precedente") << false << true << "A1-001-dopo,A2-001-dopo";
    }
    void recuperoConservaGliInvii()
    {
        QFETCH(bool, tutto);
        QFETCH(bool, archivioSenzaInvii);
        QFETCH(QString, attesi);
        Multi a(u"UNO"_s);
        a.aggiungiOperatore(u"A"_s, 2, u"DUE"_s);
        const QString invio = u"INSERT INTO Invii (GrupOpe, Operatore, Prov, Copia, Sha256) VALUES ('A', ?, '001', ?, 'h')"_s;
        a.db.esegui(invio, {1, u"prima"_s});
        const QString zip = a.percorso(u"copia.zip"_s);
        if (archivioSenzaInvii)
            QVERIFY(scriviZip(
                zip,
                {{"QUIRDAL.mdb", baseDati(u"UNO"_s, kPassword, {u"DROP TABLE Invii"_s, u"DROP TABLE DomandeDefinitive"_s})}}));
        else
            QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        a.db.esegui(u"DELETE FROM Invii"_s);
        a.db.esegui(invio, {1, u"dopo"_s});
        a.db.esegui(invio, {2, u"dopo"_s});
        a.sessione.impostaOperatore(u"A"_s, u"1"_s);
        a.ini.scrivi(u"BaseDati"_s, u"GrOpe"_s, u"A"_s);
        a.ini.scrivi(u"BaseDati"_s, u"Oper"_s, u"1"_s);
        QCOMPARE(recuperaDati(*a.contesto, zip, tutto ? ModoRecupero::Tutto : ModoRecupero::Operatore),
                 EsitoRecuperoDati::Riuscito);
        QCOMPARE(a.lista(u"SELECT GrupOpe || CAST(Operatore AS VARCHAR(10)) || '-' || Prov || '-' || Copia FROM Invii "
                         "ORDER BY Operatore, Copia"_s),
                 attesi);
    }

    // A restore that would take back the lock of an application printed in final form names
    // it and asks; No changes nothing.
    void recuperoCheSblocca_data()
    {
        colonne<ModoRecupero, QString, Risposta, bool>("modo", "bloccata", "risposta", "domanda");
        QTest::newRow("tutto, no") << ModoRecupero::Tutto << "A1" << Risposta::No << true;
        QTest::newRow("tutto, sì") << ModoRecupero::Tutto << "A1" << Risposta::Si << true;
        QTest::newRow("operatore, no") << ModoRecupero::Operatore << "A1" << Risposta::No << true;
        QTest::newRow("operatore, sì") << ModoRecupero::Operatore << "A1" << Risposta::Si << true;
        QTest::newRow("bloccata anche nell'archivio") << ModoRecupero::Tutto << "A1 archivio" << Risposta::No << false;
        QTest::newRow("operatore, di un altro operatore") << ModoRecupero::Operatore << "A2" << Risposta::No << false;
        QTest::newRow("tutto, di un altro operatore") << ModoRecupero::Tutto << "A2" << Risposta::Si << true;
    }
    void recuperoCheSblocca()
    {
        QFETCH(ModoRecupero, modo);
        QFETCH(QString, bloccata);
        QFETCH(Risposta, risposta);
        QFETCH(bool, domanda);
        Multi a(u"UNO"_s);
        a.aggiungiOperatore(u"A"_s, 2, u"DUE"_s);
        a.db.esegui(u"INSERT INTO Province (PROV, SigProv, DesProv, Regione) VALUES ('001', 'TO', 'TORINO', '01')"_s);
        a.db.esegui(u"INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) VALUES "
                    "('A', 1, '001', 1, 0), ('A', 2, '001', 1, 0)"_s);
        const int operatore = bloccata.startsWith(u"A2"_s) ? 2 : 1;
        const QString blocca = u"UPDATE Installazione SET DomandaStampata = -1 WHERE Operatore = ?"_s;
        if (bloccata.endsWith(u"archivio"_s))
            a.db.esegui(blocca, {operatore});
        QCOMPARE(salvaDati(*a.contesto, u"copia"_s), EsitoSalvataggio::Riuscito);
        a.db.esegui(blocca, {operatore});
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione = Denominazione || ' DOPO'"_s);
        a.sessione.impostaOperatore(u"A"_s, u"1"_s);
        a.dialoghi.messaggi.clear();
        a.dialoghi.risposte.enqueue(risposta);

        const EsitoRecuperoDati e = recuperaDati(*a.contesto, u"copia.zip"_s, modo);
        const QString denominazione = operatore == 1 ? u"UNO"_s : u"DUE"_s;
        if (domanda) {
            QCOMPARE(a.dialoghi.messaggi.first().testo,
                     u"Il recupero sbloccherà queste domande, già stampate in definitivo: nell'archivio non risultano "
                     "stampate e dopo il recupero i loro dati torneranno modificabili.\r\n\r\n- operatore A/%1 %2 DOPO, "
                     "provincia di TORINO\r\n\r\nContinuare il recupero?"_s.arg(operatore)
                         .arg(denominazione));
            QCOMPARE(a.dialoghi.messaggi.first().titolo, u"QUIRDAL"_s);
            QCOMPARE(a.dialoghi.messaggi.first().icona, Icona::Domanda);
            QCOMPARE(a.dialoghi.messaggi.first().pulsanti, Pulsanti::SiNo);
        }
        const bool recuperato = !domanda || risposta == Risposta::Si;
        QCOMPARE(e, recuperato ? EsitoRecuperoDati::Riuscito : EsitoRecuperoDati::Annullato);
        QCOMPARE(a.dialoghi.messaggi.size(), (domanda ? 1 : 0) + (recuperato ? 1 : 0));
        QCOMPARE(a.dialoghi.ultimo() == u"Recupero eseguito con successo"_s, recuperato);
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        const bool sbloccata = recuperato && domanda;
        QCOMPARE(a.valore(u"SELECT DomandaStampata FROM Installazione WHERE Operatore = ?"_s, {operatore}),
                 sbloccata ? u"0"_s : u"-1"_s);
        if (!recuperato) {
            QCOMPARE(nomi(a.db), u"UNO DOPO,DUE DOPO"_s);
            QVERIFY(!a.esiste(u"BackupDB"_s));
        } else {
            QCOMPARE(nomi(a.db), modo == ModoRecupero::Tutto ? u"UNO,DUE"_s : u"UNO,DUE DOPO"_s);
        }
    }

    // Two restores within the same second (the clock stands still): each keeps its copy.
    void dueRecuperiNelloStessoSecondo()
    {
        Multi a(u"SALVATO"_s);
        QCOMPARE(salvaDati(*a.contesto, u"copia"_s), EsitoSalvataggio::Riuscito);
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='PRIMA DEL PRIMO'"_s);
        QCOMPARE(recuperaDati(*a.contesto, u"copia.zip"_s, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='PRIMA DEL SECONDO'"_s);
        QCOMPARE(recuperaDati(*a.contesto, u"copia.zip"_s, ModoRecupero::Operatore), EsitoRecuperoDati::Rifiutato);
        a.sessione.impostaOperatore(u"A"_s, u"1"_s);
        QCOMPARE(recuperaDati(*a.contesto, u"copia.zip"_s, ModoRecupero::Operatore), EsitoRecuperoDati::Riuscito);
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='PRIMA DEL TERZO'"_s);
        QCOMPARE(recuperaDati(*a.contesto, u"copia.zip"_s, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        const QString copie = a.percorso(u"BackupDB/"_s);
        QCOMPARE(QDir(copie).entryList(QDir::Files, QDir::Name),
                 (QStringList{u"QUIRDAL_20261206-093000.mdb"_s, u"QUIRDAL_20261206-093000_2.mdb"_s,
                              u"QUIRDAL_20261206-093000_3.mdb"_s}));
        QCOMPARE(nomiNelFile(copie + u"QUIRDAL_20261206-093000.mdb"_s), u"PRIMA DEL PRIMO"_s);
        QCOMPARE(nomiNelFile(copie + u"QUIRDAL_20261206-093000_2.mdb"_s), u"PRIMA DEL SECONDO"_s);
        QCOMPARE(nomiNelFile(copie + u"QUIRDAL_20261206-093000_3.mdb"_s), u"PRIMA DEL TERZO"_s);
        a.intatta(u"SALVATO"_s);
    }

    // The program folder's DBUnzip is never emptied nor followed: an archive kept there
    // restores and stays, a link there leads nowhere.
    void cartellaDBUnzip_data()
    {
        colonne<bool>("collegamento");
        QTest::newRow("cartella con l'archivio") << false;
        QTest::newRow("collegamento a un'altra cartella") << true;
    }
    void cartellaDBUnzip()
    {
        QFETCH(bool, collegamento);
        Multi a(u"SALVATO"_s);
        QTemporaryDir altrove;
        QVERIFY(scriviFile(altrove.filePath(u"importante.txt"_s), "da non perdere"));
        if (collegamento)
            QVERIFY(QFile::link(altrove.path(), a.percorso(u"DBUnzip"_s)));
        else
            QVERIFY(QDir(a.dir.path()).mkdir(u"DBUnzip"_s) && a.scrivi(u"DBUnzip/importante.txt"_s, "da non perdere"));
        const QString zip = collegamento ? u"copia.zip"_s : u"DBUnzip/copia.zip"_s;
        QCOMPARE(salvaDati(*a.contesto, zip), EsitoSalvataggio::Riuscito);
        const QStringList prima = QDir(altrove.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='DOPO'"_s);

        QCOMPARE(recuperaDati(*a.contesto, zip, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        a.intatta(u"SALVATO"_s);
        QVERIFY(a.esiste(zip));
        QCOMPARE(a.leggi(u"DBUnzip/importante.txt"_s), QByteArray("da non perdere"));
        QCOMPARE(QFileInfo(a.percorso(u"DBUnzip"_s)).isSymLink(), collegamento);
        QCOMPARE(QDir(altrove.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), prima);
    }

    // A backup never writes over the database, its files, the INI or a file that is not an
    // archive, however the name is written; nothing changes and nothing is recorded.
    void destinazioneRifiutata_data()
    {
        colonne<QString, QString, QString>("testo", "prepara", "motivo");
        const QString basedati = u"il file @ è la base dati del programma: scegliere un altro nome per l'archivio"_s;
        QTest::newRow("la base dati") << "QUIRDAL.mdb"
                                      << "" << basedati;
        QTest::newRow("maiuscole diverse") << "quirdal.MDB"
                                           << "" << basedati;
        QTest::newRow("attraverso ..") << "BackupDB/../QUIRDAL.mdb"
                                       << "" << basedati;
        QTest::newRow("un collegamento alla base dati") << "collegamento.zip"
                                                        << "collegamento" << basedati;
        QTest::newRow("il giornale") << "QUIRDAL.mdb-journal"
                                     << ""
                                     << "il file @ è il giornale della base dati: scegliere un altro nome per l'archivio";
        QTest::newRow("il file di blocco") << "QUIRDAL.ldb"
                                           << ""
                                           << "il file @ è il file di blocco della base dati: scegliere un altro nome "
                                              "per l'archivio";
        QTest::newRow("la copia di sicurezza") << "QUIRDAL.mdb_BAK"
                                               << ""
                                               << "il file @ è la copia di sicurezza della base dati: scegliere un altro "
                                                  "nome per l'archivio";
        QTest::newRow("l'INI") << "QUIRDAL.INI"
                               << ""
                               << "il file @ è il file di configurazione del programma: scegliere un altro nome per "
                                  "l'archivio";
        QTest::newRow("la cartella del programma") << "."
                                                   << ""
                                                   << "il percorso @ è la cartella del programma: indicare il nome di un "
                                                      "file per l'archivio";
        QTest::newRow("un'altra cartella") << "CAR.2009"
                                           << "cartella"
                                           << "il percorso @ è una cartella: indicare il nome di un file per l'archivio";
        QTest::newRow("un file che non è un archivio") << "QUIRDAL.html"
                                                       << ""
                                                       << "il file @ esiste già e non è un archivio di backup: non viene "
                                                          "sovrascritto";
    }
    void destinazioneRifiutata()
    {
        QFETCH(QString, testo);
        QFETCH(QString, prepara);
        QFETCH(QString, motivo);
        Multi a(u"INTATTA"_s);
        // A database on the server has no file, journal, lock file or safety copy in the folder.
        if (a.suServer() && !motivo.contains(u"file di configurazione"_s) && !motivo.contains(u"il percorso"_s)
            && !motivo.contains(u"non è un archivio"_s))
            QSKIP("Un file della base dati: sul server non ce n'è");
        if (prepara == "collegamento"_L1)
            QVERIFY(QFile::link(a.percorsoDb(), a.percorso(testo)));
        else if (prepara == "cartella"_L1)
            QVERIFY(QDir(a.dir.path()).mkdir(testo));
        const QString file = a.percorso(testo);
        const bool esisteva = QFileInfo::exists(file);
        const QByteArray prima = leggiFile(file), ini = a.leggi(u"QUIRDAL.INI"_s), db = leggiFile(a.percorsoDb());

        QCOMPARE(salvaDati(*a.contesto, testo), EsitoSalvataggio::Fallito);
        unMessaggio(a.dialoghi,
                    u"Backup fallito\r\n\r\n"_s + motivo.replace(u'@', QDir::toNativeSeparators(QDir::cleanPath(file))),
                    u"QUIRDAL"_s, Icona::Critico);
        a.intatta(u"INTATTA"_s);
        QCOMPARE(leggiFile(a.percorsoDb()), db);
        QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), ini);
        QCOMPARE(QFileInfo::exists(file), esisteva);
        QCOMPARE(leggiFile(file), prima);
        QCOMPARE(vociDi(a.dir.path(), u"\\.tmp$"_s), QStringList());
    }

    // Leftovers of a process that no longer runs go at the next run of the same operation;
    // those of a running one, of another operation or of another program stay.
    void residuiDiProcessiFiniti_data()
    {
        colonne<QString, QByteArray, bool, bool>("nome", "contenuto", "vecchia", "rimossa");
        const QByteArray db = "SQLite format 3\0 ...";
        QTest::newRow("salvataggio, processo finito") << "QUIRDAL-salva-%f-AbC123" << db << false << true;
        QTest::newRow("salvataggio, processo vivo") << "QUIRDAL-salva-%v-AbC123" << db << true << false;
        QTest::newRow("recupero, processo finito") << "QUIRDAL-recupera-%f-x1Y2z3" << db << false << true;
        QTest::newRow("recupero, processo vivo") << "QUIRDAL-recupera-%v-x1Y2z3" << db << true << false;
        QTest::newRow("altro programma") << "ALTRO-salva-%f-AbC123" << db << true << false;
        QTest::newRow("versione precedente, ferma da ore") << "QUIRDAL-Qw3rTy" << db << true << true;
        QTest::newRow("versione precedente, con un archivio") << "QUIRDAL-Qw3rTy" << QByteArray("PK\x03\x04") << true << true;
        QTest::newRow("versione precedente, recente") << "QUIRDAL-Qw3rTy" << db << false << false;
        QTest::newRow("versione precedente, altri file") << "QUIRDAL-Qw3rTy" << QByteArray("appunti") << true << false;
    }
    void residuiDiProcessiFiniti()
    {
        QFETCH(QString, nome);
        QFETCH(QByteArray, contenuto);
        QFETCH(bool, vecchia);
        QFETCH(bool, rimossa);
        QProcess vivo;
        vivo.start(u"cat"_s, QStringList());
        QVERIFY(vivo.waitForStarted());
        nome.replace(u"%f"_s, QString::number(pidFinito())).replace(u"%v"_s, QString::number(vivo.processId()));
        const QString cartella = QDir(QDir::tempPath()).filePath(nome);
        QVERIFY(QDir().mkpath(cartella) && scriviFile(cartella + u"/QUIRDAL.mdb"_s, contenuto));
        if (vecchia)
            QVERIFY(invecchia(cartella + u"/QUIRDAL.mdb"_s) && invecchia(cartella));

        Multi a(u"UNO"_s);
        QCOMPARE(salvaDati(*a.contesto, u"copia"_s), EsitoSalvataggio::Riuscito);
        QCOMPARE(recuperaDati(*a.contesto, u"copia.zip"_s, ModoRecupero::Tutto), EsitoRecuperoDati::Riuscito);
        QCOMPARE(QFileInfo::exists(cartella), !rimossa);
        vivo.closeWriteChannel();
        QVERIFY(vivo.waitForFinished());
        QDir(cartella).removeRecursively();
        // The operations' own folders go when they end.
        QCOMPARE(vociDi(QDir::tempPath(), u"^QUIRDAL-(salva|recupera)-"_s), QStringList());
    }

    // A backup killed at each of its steps: the older archive whole, the leftover readable
    // by the user only and removed by the next backup, which then replaces the archive.
    void salvataggioInterrotto_data()
    {
        colonne<QString, QString, bool, bool>("punto", "residuo", "nelTemporaneo", "archivioIntatto");
        QTest::newRow("con la copia della base dati") << "copia-salvataggio"
                                                      << "^QUIRDAL-salva-\\d+-[A-Za-z0-9]{6}$" << true << true;
        QTest::newRow("con l'archivio scritto, non al suo posto") << "archivio-scritto"
                                                                  << "^copia\\.zip\\.\\d+\\.tmp$" << false << true;
        QTest::newRow("durante la scrittura dell'INI") << "scrittura-ini"
                                                       << "^QUIRDAL\\.INI\\.\\d+\\.tmp$" << false << false;
    }
    void salvataggioInterrotto()
    {
        QFETCH(QString, punto);
        QFETCH(QString, residuo);
        QFETCH(bool, nelTemporaneo);
        QFETCH(bool, archivioIntatto);
        Multi a(u"PRIMA"_s);
        a.db.chiudi();
        auto salva = [&] { return test::cli(a.dir.path(), {u"salva"_s, u"copia"_s}).codice; };
        QCOMPARE(salva(), 0);
        const QByteArray primo = a.leggi(u"copia.zip"_s), ini = a.leggi(u"QUIRDAL.INI"_s);
        a.apriDb();
        a.db.esegui(u"UPDATE CorsiOper SET Denominazione='DOPO'"_s);
        a.db.chiudi();

        qputenv("QUIRDAL_ARRESTO", punto.toUtf8());
        const int codice = salva();
        qunsetenv("QUIRDAL_ARRESTO");
        QCOMPARE(codice, 137);
        const QString cartella = nelTemporaneo ? QDir::tempPath() : a.dir.path();
        const QStringList residui = vociDi(cartella, residuo);
        QCOMPARE(residui.size(), 1);
        if (nelTemporaneo)
            QCOMPARE(QFileInfo(QDir(cartella).filePath(residui[0])).permissions()
                         & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                            | QFile::ExeOther),
                     QFile::Permissions());
        QCOMPARE(a.leggi(u"copia.zip"_s) == primo, archivioIntatto);
        QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), ini);
        QCOMPARE(nomiIn(a.connessione()), u"DOPO"_s);

        QCOMPARE(salva(), 0);
        QCOMPARE(vociDi(cartella, residuo), QStringList());
        QCOMPARE(nomiNelFile(databaseNellArchivio(a.percorso(u"copia.zip"_s))), u"DOPO"_s);
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
        QCOMPARE(a.lista(u"SELECT CAST(Operatore AS VARCHAR(10)) || ':' || Denominazione FROM CorsiCompo ORDER BY Operatore"_s),
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
        QCOMPARE(nomiIn(a.connessione()), u"DOPO"_s);
        QCOMPARE(cli(u"recupera copia.zip --operatore X"_s), 2);
        QCOMPARE(cli(u"recupera copia.zip"_s), 0);
        QVERIFY2(errori.contains(u"Recupero eseguito con successo"_s), qPrintable(errori));
        QCOMPARE(nomiIn(a.connessione()), u"PRIMA"_s);

        // An application printed since the backup: the restore goes on only with --si.
        a.apriDb();
        a.db.esegui(u"INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) VALUES "
                    "('A', 1, '001', 1, -1)"_s);
        a.db.chiudi();
        for (const QString &operatore : {QString(), u" --operatore A:1"_s}) {
            QCOMPARE(cli(u"recupera copia.zip"_s + operatore), 1);
            QVERIFY2(errori.contains(u"[DOMANDA] QUIRDAL: Il recupero sbloccherà queste domande"_s), qPrintable(errori));
            QVERIFY2(errori.contains(u"- operatore A/1 PRIMA, provincia di 001"_s), qPrintable(errori));
            QVERIFY2(!errori.contains(u"Recupero eseguito"_s), qPrintable(errori));
            QCOMPARE(apri(CorsiDB(u"lettura"_s), a.connessione()).valoreScalare(u"SELECT DomandaStampata FROM Installazione"_s),
                     QVariant(-1));
        }
        QCOMPARE(cli(u"--si recupera copia.zip --operatore A:1"_s), 0);
        QVERIFY2(errori.contains(u"Recupero eseguito con successo"_s), qPrintable(errori));
        QCOMPARE(apri(CorsiDB(u"lettura"_s), a.connessione()).valoreScalare(u"SELECT count(*) FROM Installazione"_s),
                 QVariant(0));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
