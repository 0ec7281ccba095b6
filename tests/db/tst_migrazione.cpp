// An office's database file moved into the database of an installation (the server's, or an
// empty file) with quirdal-cli migra: the file checked before anything is written, its rows
// and amounts carried over whole, all of them or none, never into a database that already
// holds the agency's data.
#include "common/Importo.h"
#include "support/Colonne.h"
#include "support/Domanda.h"
#include "support/RigaDiComando.h"
#include "support/Zip.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <algorithm>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kPassword = QString::fromLatin1(CorsiDB::kPassword);

// The amounts of a course's costs at the edges of what binary numbers keep: written as the
// program writes them, they must come back to the cent.
const QList<QPair<QString, qint64>> kImporti = {{u"ParamA1"_s, 1},      {u"ParamA2"_s, 29},         {u"Param16"_s, 115},
                                                {u"Param17Piu"_s, 435}, {u"Param17Meno"_s, 100005}, {u"Param70"_s, 99999999999}};

// A database file of the program holding the application of tests/data/domanda.sql, its
// amounts set to kImporti: in the layout of the previous release when asked, with the given
// statements run before the application goes in and after.
struct Sorgente : Ambiente {
    explicit Sorgente(bool precedente = false, const QStringList &prima = {}, const QStringList &poi = {})
        : Ambiente(Motore::SQLite, u"sorgente"_s)
    {
        OpzioniNuovoDatabase o;
        o.versionePrecedente = precedente;
        creaDb(o);
        apriDb();
        for (const QString &s : prima)
            db.esegui(s);
        preparaDomanda(*this);
        for (const auto &[colonna, centesimi] : kImporti)
            db.esegui(u"UPDATE CorsiPropSpese SET %1=? WHERE Corso='0001' AND Accorp='0' AND ProgrAnno=1"_s.arg(colonna),
                      {Importo::daCentesimi(centesimi).perSql()});
        for (const QString &s : poi)
            db.esegui(s);
        db.chiudi();
    }
};

// The rows of a table over the given columns, one text each, in an order of their own (the
// engines sort texts differently). Numbers are compared as numbers: the server's exact ones
// come as text.
QStringList righe(CorsiDB &db, const QString &tabella, const QList<Colonna> &colonne)
{
    QStringList nomi;
    for (const Colonna &c : colonne)
        nomi << c.nome;
    QSqlQuery q = db.seleziona(u"SELECT "_s + nomi.join(u", "_s) + u" FROM "_s + tabella);
    QStringList r;
    while (q.next()) {
        QStringList valori;
        for (int i = 0; i < colonne.size(); ++i) {
            const QVariant v = q.value(i);
            const int tipo = colonne[i].tipo;
            valori << (v.isNull()                                                 ? u"NULL"_s
                           : tipo == tipiAdo::Double || tipo == tipiAdo::Currency ? QString::number(v.toDouble(), 'g', 17)
                           : tipiAdo::eNumerico(tipo)                             ? QString::number(v.toLongLong())
                                                                                  : u"'"_s + v.toString() + u"'"_s);
        }
        r << valori.join(u"|"_s);
    }
    std::sort(r.begin(), r.end());
    return r;
}

// Everything the database holds, table by table, over the columns of the model's tables.
QString contenuto(CorsiDB &db, CorsiDB &modello)
{
    QString r;
    for (const QString &tabella : tabelleSchema())
        r += tabella + u": "_s + righe(db, tabella, modello.colonne(tabella)).join(u"; "_s) + u"\n"_s;
    return r;
}
QString contenuto(CorsiDB &db) { return contenuto(db, db); }

// The temporary folders of the program's operations left in the folder.
QStringList residui(const QString &cartella)
{
    return QDir(cartella).entryList({u"QUIRDAL-*"_s}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// The installation the file moves into, on the run's engine: a database without the program's
// schema (an empty database on the server, as createdb leaves it; no file for SQLite), or
// with it when asked, as crea-db leaves it.
struct Destinazione : Ambiente {
    explicit Destinazione(bool conSchema, const QString &versione = u"SERVER"_s) : Ambiente(u"destinazione"_s)
    {
        scriviIni(u"Multiutenza"_s, versione);
        if (conSchema)
            creaDb();
        else if (suServer())
            creaDatabaseServer(nomeDbServer);
    }

    // The database has no table at all: nothing of the program was made in it.
    bool senzaTabelle() const { return suServer() ? tabelleSulServer() == 0 : !QFile::exists(percorsoDb()); }
    qint64 tabelleSulServer() const
    {
        const QString nome = u"conta-"_s + QUuid::createUuid().toString(QUuid::Id128);
        qint64 n = -1;
        {
            QSqlDatabase d = CorsiDB::connettiServer(connessione(), nome);
            QSqlQuery q(d);
            if (q.exec(u"SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()"_s) && q.next())
                n = q.value(0).toLongLong();
            q.finish();
            d.close();
        }
        QSqlDatabase::removeDatabase(nome);
        return n;
    }

    // How the messages name the database.
    QString nome() const
    {
        const DatiConnessione c = connessione();
        return suServer() ? u"'%1' sul server %2:%3 (utente '%4')"_s.arg(c.nomeDb, c.host, QString::number(c.porta), c.utente)
                          : u"'"_s + percorsoDb() + u"'"_s;
    }

    EsitoCli migra(const QString &file) { return cli(dir.path(), {u"migra"_s, u"--da"_s, file}); }

    // The sessions a killed workstation left on the server put out, waiting until they are gone:
    // its transaction is then undone for certain, never still pending.
    void sessioniChiuse()
    {
        if (suServer())
            amministra(u"SELECT pg_terminate_backend(pid, 60000) FROM pg_stat_activity WHERE datname = '%1'"_s.arg(nomeDbServer));
    }
};

QString fallita(const QString &motivo) { return u"[ERRORE] Migrazione base dati: Migrazione fallita\n\n"_s + motivo + u"\n"_s; }

// "Tabella: N righe", as the command reports them, for every table of the schema.
QStringList righeAttese(CorsiDB &sorgente)
{
    QStringList r;
    for (const QString &tabella : tabelleSchema()) {
        const qint64 n =
            sorgente.esisteTabella(tabella) ? sorgente.valoreScalare(u"SELECT count(*) FROM "_s + tabella).toLongLong() : 0;
        r << tabella + (n == 1 ? u": 1 riga"_s : u": %1 righe"_s.arg(n));
    }
    return r;
}

// Starts a process that holds the database open, as another workstation does.
bool tieni(QProcess &p, const QString &file)
{
    p.start(qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {file, u"condiviso"_s});
    return p.waitForReadyRead(30000) && p.readLine().trimmed() == "PRONTO";
}

void lascia(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.closeWriteChannel();
    p.waitForFinished(30000);
}

} // namespace

class TestMigrazione : public QObject {
    Q_OBJECT
    // The system's temporary folder of this test and of the programs it starts, so that what
    // a migration leaves there is seen, and goes with the test.
    QTemporaryDir m_temporanea;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temporanea.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temporanea.path()));
        QCOMPARE(QDir::tempPath(), m_temporanea.path());
    }

    // The application moves whole: every table's rows, the amounts to the cent, the report of
    // the rows per table; an earlier layout of the file is brought up to date on the way.
    void migrazioneCompleta_data()
    {
        colonne<bool, QStringList, bool, QStringList, QStringList, QString>("conSchema", "seminaDestinazione", "precedente",
                                                                            "prima", "poi", "dateAvvio");
        const QString date = u"15/09/2009,,01/10/2009,,,"_s;
        QTest::newRow("schema da creare") << false << QStringList() << false << QStringList() << QStringList() << date;
        QTest::newRow("schema già creato") << true << QStringList() << false << QStringList() << QStringList() << date;
        QTest::newRow("tabelle del bando già caricate")
            << true
            << QStringList{u"INSERT INTO Province (PROV, DesProv) VALUES ('099', 'ALTRA')"_s,
                           u"INSERT INTO Comuni (CodComune, Denominazione, PROV) VALUES ('099001', 'ALTROVE', '099')"_s}
            << false << QStringList() << QStringList() << date;
        // An earlier release's file: its courses get an empty start date, as the upgrade gives them.
        QTest::newRow("versione precedente, senza DataAvvio")
            << false << QStringList() << true << QStringList{u"ALTER TABLE CorsiProp ADD COLUMN DataAvvio VARCHAR(10)"_s}
            << QStringList{u"ALTER TABLE CorsiProp DROP COLUMN DataAvvio"_s} << u",,,,,"_s;
        QTest::newRow("senza NumPersone") << true << QStringList() << false << QStringList()
                                          << QStringList{u"ALTER TABLE CorsiHandi DROP COLUMN NumPersone"_s} << date;
        QTest::newRow("senza le tabelle degli invii")
            << false << QStringList() << false << QStringList()
            << QStringList{u"DROP TABLE Invii"_s, u"DROP TABLE DomandeDefinitive"_s} << date;
    }
    void migrazioneCompleta()
    {
        QFETCH(bool, conSchema);
        QFETCH(QStringList, seminaDestinazione);
        QFETCH(bool, precedente);
        QFETCH(QStringList, prima);
        QFETCH(QStringList, poi);
        QFETCH(QString, dateAvvio);
        Sorgente s(precedente, prima, poi);
        const QByteArray file = s.leggi(u"QUIRDAL.mdb"_s);
        Destinazione a(conSchema);
        if (!seminaDestinazione.isEmpty()) {
            a.apriDb();
            for (const QString &istruzione : seminaDestinazione)
                a.db.esegui(istruzione);
            a.db.chiudi();
        }

        const EsitoCli e = a.migra(s.percorsoDb());
        QCOMPARE(e.errore(), QString());
        QVERIFY2(e.err.startsWith(u"[INFO] Migrazione base dati: Migrazione eseguita con successo in "_s + a.nome()),
                 qPrintable(e.err));
        s.apriDb();
        QCOMPARE(e.righe(), righeAttese(s.db));
        for (const QString &riga : {u"CorsiOper: 1 riga"_s, u"CorsiProp: 6 righe"_s, u"Comuni: 3 righe"_s})
            QVERIFY2(e.righe().contains(riga), qPrintable(riga));

        a.apriDb();
        for (const QString &tabella : tabelleSchema()) {
            if (!s.db.esisteTabella(tabella)) {
                QCOMPARE(a.conta(tabella), 0);
                continue;
            }
            const QList<Colonna> colonne = s.db.colonne(tabella);
            QCOMPARE(righe(a.db, tabella, colonne), righe(s.db, tabella, colonne));
        }
        for (const auto &[colonna, centesimi] : kImporti)
            QCOMPARE(Importo::daValore(
                         a.db.valoreScalare(
                             u"SELECT %1 FROM CorsiPropSpese WHERE Corso='0001' AND Accorp='0' AND ProgrAnno=1"_s.arg(colonna)))
                         .centesimi(),
                     centesimi);
        QCOMPARE(a.lista(u"SELECT COALESCE(DataAvvio, 'NULL') FROM CorsiProp ORDER BY Corso, Accorp, SedeInteressata"_s),
                 dateAvvio);
        // The next laboratory gets a number of its own, after the copied ones.
        a.db.esegui(
            u"INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES ('A', 7, 1, 1, 'NUOVO')"_s);
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiCompoTipoLab WHERE IdLab > (SELECT max(IdLab) FROM CorsiCompoTipoLab "
                          "WHERE TipoLab <> 'NUOVO') AND TipoLab = 'NUOVO'"_s),
                 u"1"_s);
        a.db.chiudi();

        s.db.chiudi();
        QCOMPARE(s.leggi(u"QUIRDAL.mdb"_s), file); // the file itself is never changed
        QCOMPARE(residui(m_temporanea.path()), QStringList());
    }

    // A file that is not a database of the program, or that cannot be taken whole, is refused
    // before anything of the destination is made.
    void sorgenteRifiutata_data()
    {
        colonne<QString, QString>("caso", "motivo");
        const QString nonDelProgramma = u"Il file da migrare non è una base dati del programma oppure è danneggiato."_s;
        const QString struttura = u"La base dati da migrare non ha la struttura prevista dal programma: "_s;
        QTest::newRow("file mancante") << "mancante" << u"Impossibile trovare il file '%1'."_s;
        QTest::newRow("una cartella") << "cartella" << u"Impossibile trovare il file '%1'."_s;
        QTest::newRow("file vuoto") << "vuoto" << nonDelProgramma;
        QTest::newRow("byte a caso") << "caso" << nonDelProgramma;
        QTest::newRow("l'archivio zip di un salvataggio") << "zip" << nonDelProgramma;
        QTest::newRow("un'altra base SQLite") << "estranea" << nonDelProgramma;
        QTest::newRow("senza una tabella") << "DROP TABLE Comuni"
                                           << u"Nella base dati da migrare mancano tabelle del programma: Comuni."_s;
        QTest::newRow("trigger") << "CREATE TRIGGER Cancella AFTER UPDATE ON CorsiProp BEGIN DELETE FROM CorsiOper; END"
                                 << struttura + u"contiene il trigger Cancella, che il programma non crea."_s;
        QTest::newRow("colonna in più") << "ALTER TABLE CorsiOper ADD COLUMN Nota TEXT"
                                        << struttura + u"la tabella CorsiOper ha la colonna Nota, che il programma non crea."_s;
        QTest::newRow("altra password") << "password" << u"La base dati da migrare non si apre: Password non valida."_s;
        QTest::newRow("aperta da un'altra postazione")
            << "tenuta"
            << u"La base dati da migrare non si apre: La base dati è aperta da un'altra postazione: impossibile aprirla "
               "in modo esclusivo."_s;
        // Only a file can be both: a server's database is never the file named.
        if (!suPostgres())
            QTest::newRow("la base dati stessa dell'installazione")
                << "stessa" << u"Il file da migrare è la base dati stessa di questa installazione."_s;
    }
    void sorgenteRifiutata()
    {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        Sorgente s;
        Destinazione a(caso == "stessa"_L1);
        QString file = s.percorsoDb();
        QProcess altro;
        if (caso == "mancante"_L1) {
            file = s.percorso(u"manca.mdb"_s);
        } else if (caso == "cartella"_L1) {
            file = s.percorso(u"cartella.mdb"_s);
            QVERIFY(QDir().mkpath(file));
        } else if (caso == "vuoto"_L1 || caso == "caso"_L1) {
            QVERIFY(scriviFile(file, caso == "vuoto"_L1 ? QByteArray() : QByteArray(8192, '\x07')));
        } else if (caso == "zip"_L1) {
            const QByteArray db = leggiFile(file);
            file = s.percorso(u"QUIRDAL.zip"_s);
            QVERIFY(scriviZip(file, {{u"QUIRDAL.mdb"_s, db}}));
        } else if (caso == "estranea"_L1) {
            QVERIFY(QFile::remove(file));
            {
                QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"estranea"_s);
                d.setDatabaseName(file);
                QVERIFY(d.open());
                QSqlQuery q(d);
                QVERIFY(q.exec(u"CREATE TABLE Clienti (Nome TEXT)"_s));
                QVERIFY(q.exec(u"INSERT INTO Clienti VALUES ('ROSSI')"_s));
                q.finish();
                d.close();
            }
            QSqlDatabase::removeDatabase(u"estranea"_s);
        } else if (caso == "password"_L1) {
            QVERIFY(QFile::remove(file));
            creaDatabase(file, u"ALTRA"_s);
        } else if (caso == "tenuta"_L1) {
            QVERIFY(tieni(altro, file));
        } else if (caso == "stessa"_L1) {
            file = a.percorsoDb();
        } else {
            s.apriDb();
            s.db.esegui(caso);
            s.db.chiudi();
        }
        const QString prima = caso == "stessa"_L1 ? [&] {
            a.apriDb();
            const QString c = contenuto(a.db);
            a.db.chiudi();
            return c;
        }()
                                                  : QString();

        const EsitoCli e = a.migra(file);
        lascia(altro);
        QCOMPARE(e.codice, 1);
        QCOMPARE(e.err, fallita(motivo.contains(u"%1"_s) ? motivo.arg(file) : motivo));
        QCOMPARE(e.out, QString());
        if (caso == "stessa"_L1) {
            a.apriDb();
            QCOMPARE(contenuto(a.db), prima);
        } else {
            QVERIFY(a.senzaTabelle());
        }
        QCOMPARE(residui(m_temporanea.path()), QStringList());
    }

    // A destination that already holds the agency's data, or that another workstation holds,
    // is left exactly as it was; so is anything asked of a CLIENT.
    void destinazioneRifiutata_data()
    {
        colonne<QStringList, QString, QString>("semina", "versione", "motivo");
        const QString contiene = u"La base dati di destinazione %1 contiene già dati dell'ente: "_s;
        const QString soltanto = u". La migrazione si fa soltanto in una base dati che non ne ha."_s;
        const QString operatore = u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('B', %1, 'GIA'' QUI')"_s;
        QTest::newRow("un operatore") << QStringList{operatore.arg(1)} << "SERVER"
                                      << contiene + u"CorsiOper (1 riga)"_s + soltanto;
        QTest::newRow("operatori e un invio")
            << QStringList{operatore.arg(1), operatore.arg(2),
                           u"INSERT INTO Invii (GrupOpe, Operatore, Prov, Copia, Sha256) VALUES ('B', 1, '001', 'c', 'h')"_s}
            << "SERVER" << contiene + u"CorsiOper (2 righe), Invii (1 riga)"_s + soltanto;
        QTest::newRow("soltanto un invio registrato")
            << QStringList{u"INSERT INTO Invii (GrupOpe, Operatore, Prov, Copia, Sha256) VALUES ('B', 1, '001', 'c', 'h')"_s}
            << "SERVER" << contiene + u"Invii (1 riga)"_s + soltanto;
        QTest::newRow("un'altra postazione collegata")
            << QStringList{u"tieni"_s} << "SERVER"
            << u"La base dati di destinazione %1 non si apre: La base dati è aperta da un'altra postazione: impossibile "
               "aprirla in modo esclusivo."_s;
        QTest::newRow("postazione CLIENT") << QStringList() << "CLIENT"
                                           << u"La migrazione della base dati si esegue dalla postazione SERVER."_s;
    }
    void destinazioneRifiutata()
    {
        QFETCH(QStringList, semina);
        QFETCH(QString, versione);
        QFETCH(QString, motivo);
        Sorgente s;
        Destinazione a(true, versione);
        a.apriDb();
        QProcess altro;
        if (semina == QStringList{u"tieni"_s}) {
            a.aggiungiOperatore(u"B"_s, 1, u"GIA' QUI"_s);
            QVERIFY(tieni(altro, a.percorsoDb()));
        } else {
            for (const QString &istruzione : semina)
                a.db.esegui(istruzione);
        }
        const QString prima = contenuto(a.db);
        a.db.chiudi();

        const EsitoCli e = a.migra(s.percorsoDb());
        lascia(altro);
        QCOMPARE(e.codice, 1);
        QCOMPARE(e.err, fallita(motivo.contains(u"%1"_s) ? motivo.arg(a.nome()) : motivo));
        QCOMPARE(e.out, QString());
        a.apriDb();
        QCOMPARE(contenuto(a.db), prima);
        QCOMPARE(residui(m_temporanea.path()), QStringList());
    }

    // On the server, a database that holds another program's tables is not made the program's.
    void destinazioneDiUnAltroProgramma()
    {
        Sorgente s;
        Destinazione a(false);
        QString motivo;
        if (a.suServer()) {
            amministra(u"CREATE TABLE Clienti (Nome TEXT)"_s, a.nomeDbServer);
            motivo = u"La base dati di destinazione %1 non si apre: La base dati %1 contiene già delle tabelle: non viene "
                     "sovrascritta."_s.arg(a.nome());
        } else {
            QVERIFY(scriviFile(a.percorsoDb(), QByteArray(4096, '\x07')));
            motivo = u"La base dati di destinazione %1 non si apre: Formato di base dati non riconosciuto o file "
                     "danneggiato."_s.arg(a.nome());
        }
        const QByteArray file = a.leggi(u"QUIRDAL.mdb"_s);
        const EsitoCli e = a.migra(s.percorsoDb());
        QCOMPARE(e.codice, 1);
        QCOMPARE(e.err, fallita(motivo));
        QCOMPARE(e.out, QString());
        if (a.suServer())
            QCOMPARE(a.tabelleSulServer(), 1);
        else
            QCOMPARE(a.leggi(u"QUIRDAL.mdb"_s), file);
    }

    // Stopped dead half-way, as by a crash or a power cut: the destination holds none of the
    // rows, and the next migration, run to the end, moves them all and clears what the stopped
    // one left in the temporary folder.
    void migrazioneInterrotta_data()
    {
        colonne<int, bool>("tabelle", "conSchema");
        const int tutte = static_cast<int>(tabelleSchema().size());
        QTest::newRow("dopo la prima tabella, schema appena creato") << 1 << false;
        QTest::newRow("a metà delle tabelle") << tutte / 2 << true;
        QTest::newRow("dopo l'ultima tabella, prima della conferma") << tutte << false;
    }
    void migrazioneInterrotta()
    {
        QFETCH(int, tabelle);
        QFETCH(bool, conSchema);
        Sorgente s;
        Destinazione a(conSchema);

        qputenv("QUIRDAL_ARRESTO", u"migrazione:%1"_s.arg(tabelle).toUtf8());
        const EsitoCli fermata = a.migra(s.percorsoDb());
        qunsetenv("QUIRDAL_ARRESTO");
        QCOMPARE(fermata.codice, 137); // stopped at the point, not finished
        QCOMPARE(residui(m_temporanea.path()).size(), 1);
        a.sessioniChiuse();
        a.apriDb();
        for (const QString &tabella : tabelleSchema())
            QVERIFY2(a.conta(tabella) == 0, qPrintable(tabella));
        a.db.chiudi();

        const EsitoCli e = a.migra(s.percorsoDb());
        QCOMPARE(e.errore(), QString());
        s.apriDb();
        QCOMPARE(e.righe(), righeAttese(s.db));
        a.apriDb();
        QCOMPARE(contenuto(a.db, s.db), contenuto(s.db));
        QCOMPARE(residui(m_temporanea.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestMigrazione)
#include "tst_migrazione.moc"
