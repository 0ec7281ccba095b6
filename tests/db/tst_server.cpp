// What only a database server has: a user and password it checks, a connection that can break,
// other programs connected to the same database, the settings of the server in QUIRDAL.INI
// and the creation of the schema on it. Runs when the run has a server (QUIRDAL_TEST_PG).
#include "config/Installazione.h"
#include "db/CatalogoConnessione.h"
#include "support/Ambiente.h"
#include "support/RigaDiComando.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kPasswordUtente = u"Segreta-17;x"_s;

// A user of its own, with a password, owning a database of its own on which it made the
// schema, as an office's IT person prepares them; gone at the end.
struct UtenteDelServer {
    QString utente = nomeDatabaseNuovo() + u"_u"_s;
    Ambiente a{Motore::PostgreSQL};
    UtenteDelServer()
    {
        amministra(u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(utente, kPasswordUtente));
        amministra(u"CREATE DATABASE %1 OWNER %2"_s.arg(a.nomeDbServer, utente));
        creaDatabase(dove(), QString::fromLatin1(CorsiDB::kPassword));
    }
    ~UtenteDelServer()
    {
        a.db.chiudi();
        eliminaDatabaseServer(a.nomeDbServer);
        amministra(u"DROP ROLE IF EXISTS "_s + utente);
    }
    DatiConnessione dove() const
    {
        DatiConnessione d = serverDiProva(a.nomeDbServer);
        d.utente = utente;
        d.password = kPasswordUtente;
        return d;
    }
};

} // namespace

class TestServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!suPostgres())
            QSKIP("Nessun server PostgreSQL per questa esecuzione (QUIRDAL_TEST_PG)");
    }

    // A wrong address, user, password or database: a message that says which, never the
    // password; the program's connection stays closed.
    void accessoNegato_data()
    {
        colonne<QString, long, QString>("sbaglio", "errore", "inizio");
        QTest::newRow("password errata") << u"password"_s << 3031L << u"Il server della base dati "_s;
        QTest::newRow("utente sconosciuto") << u"utente"_s << 3031L << u"Il server della base dati "_s;
        QTest::newRow("base dati inesistente") << u"base dati"_s << 3024L << u"La base dati '"_s;
        QTest::newRow("server che non risponde") << u"porta"_s << 3151L << u"Impossibile collegarsi al server della base dati "_s;
    }
    void accessoNegato()
    {
        QFETCH(QString, sbaglio);
        QFETCH(long, errore);
        QFETCH(QString, inizio);
        UtenteDelServer u;
        DatiConnessione d = u.dove();
        if (sbaglio == "password"_L1)
            d.password = u"Sbagliata-99"_s;
        else if (sbaglio == "utente"_L1)
            d.utente = u"nessuno_cosi"_s;
        else if (sbaglio == "base dati"_L1)
            d.nomeDb = u"nessuna_cosi"_s;
        else
            d.porta = d.porta == 65535 ? 1 : d.porta + 1;
        CorsiDB db(u"prova"_s);
        try {
            db.apri(d, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            QFAIL("aperta");
        } catch (const Errore &e) {
            QCOMPARE(e.numero(), errore);
            QVERIFY2(e.descrizione().startsWith(inizio), qPrintable(e.descrizione()));
            QVERIFY(!e.descrizione().contains(d.password));
            QVERIFY(!e.descrizione().contains(kPasswordUtente));
        }
        QVERIFY(!db.aperto());
        // Given right, the same user gets in.
        db.apri(u.dove(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        QVERIFY(db.aperto());
    }

    // The settings of the server in QUIRDAL.INI, the password never in clear there, and the
    // start-up's message for a refused one (the program ends on Cancel).
    void impostazioniEAvvio()
    {
        UtenteDelServer u;
        Ambiente &a = u.a;
        a.scriviIni(u"Multiutenza"_s);
        a.scriviAiuto();
        QVERIFY(scriviConnessione(a.ini, u.dove()));
        QVERIFY(!a.leggi(u"QUIRDAL.INI"_s).contains(kPasswordUtente.toUtf8()));
        const DatiConnessione letta = leggiConnessione(a.ini);
        QCOMPARE(letta.motore, Motore::PostgreSQL);
        QCOMPARE(letta.host, u.dove().host);
        QCOMPARE(letta.porta, u.dove().porta);
        QCOMPARE(letta.nomeDb, a.nomeDbServer);
        QCOMPARE(letta.utente, u.utente);
        QCOMPARE(letta.password, kPasswordUtente);
        Inizializza(a.dir.path(), a.ini, a.sessione, a.db, a.dialoghi);
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.motore(), Motore::PostgreSQL);
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        a.db.chiudi();

        DatiConnessione sbagliata = u.dove();
        sbagliata.password = u"Sbagliata-99"_s;
        QVERIFY(scriviConnessione(a.ini, sbagliata));
        QVERIFY(finisce([&] { Inizializza(a.dir.path(), a.ini, a.sessione, a.db, a.dialoghi); }));
        QCOMPARE(a.dialoghi.messaggi.last().pulsanti, Pulsanti::RiprovaAnnulla);
        QVERIFY2(a.dialoghi.ultimo().startsWith(u"Errore 3031\r\nIl server della base dati "_s), qPrintable(a.dialoghi.ultimo()));
        QVERIFY(!a.dialoghi.ultimo().contains(u"Sbagliata-99"_s));

        a.ini.scrivi(u"Installazione"_s, u"PROVIDER"_s, u"Oracle"_s);
        QVERIFY(finisce([&] { Inizializza(a.dir.path(), a.ini, a.sessione, a.db, a.dialoghi); }));
        QCOMPARE(a.dialoghi.ultimo(),
                 u"Il fornitore della base dati 'Oracle' indicato in QUIRDAL.INI non è riconosciuto: "
                 "indicare SQLite o PostgreSQL.\r\nIl programma verrà terminato."_s);
    }

    // The connection breaks (the server put it out): the step fails with a message that offers
    // Retry, and Retry opens it again and does the step. A transaction the break cut off is
    // lost as a whole: its statements are refused until it ends, never run outside it.
    void connessioneInterrotta()
    {
        Pronto a(u"Multiutenza"_s);
        const auto interrompi = [&] {
            amministra(
                u"SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity WHERE datname = '%1'"_s.arg(a.nomeDbServer));
        };
        const QString inserisci = u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', ?, 'X')"_s;
        {
            Transazione t(a.db);
            a.db.esegui(inserisci, {1});
            interrompi();
            QCOMPARE(numeroErrore([&] { a.db.esegui(inserisci, {2}); }), codici::ConnessioneServer);
            QCOMPARE(numeroErrore([&] { a.db.esegui(inserisci, {3}); }), codici::ConnessioneServer);
            QCOMPARE(numeroErrore([&] { t.conferma(); }), codici::ConnessioneServer);
        }
        QVERIFY(!a.db.inTransazione());
        // The next statement opens the connection again: what the cut transaction wrote is not there.
        QCOMPARE(a.conta(u"CorsiOper"_s), 0);
        interrompi();
        a.dialoghi.risposte << Risposta::Riprova;
        QVERIFY(conGestoreGenerico(a.dialoghi, [&] { a.db.esegui(inserisci, {4}); }));
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 QStringList{u"Errore 3151\r\nLa connessione al server della base dati si è interrotta.\r\n\r\n"
                             "Si è verificato un errore imprevisto,scegliere riprova per ritentare l'operazione."_s});
        QCOMPARE(a.lista(u"SELECT Operatore FROM CorsiOper"_s), u"4"_s);
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    // Another program connected to the database (a query tool) holds no lock of ours: the
    // exclusive use looks at the server's sessions and refuses while it is there.
    void altroProgrammaConnesso()
    {
        Pronto a(u"Multiutenza"_s);
        {
            DatiConnessione d = a.connessione();
            QSqlDatabase altro = QSqlDatabase::addDatabase(u"QPSQL"_s, u"altro-programma"_s);
            altro.setHostName(d.host);
            altro.setPort(d.porta);
            altro.setDatabaseName(d.nomeDb);
            altro.setUserName(d.utente);
            altro.setConnectOptions(u"application_name=psql"_s);
            QVERIFY(altro.open());
            Errore e(0, {});
            QVERIFY(!a.db.riconnettiEsclusivo(&e));
            QCOMPARE(e.numero(), codici::DatabaseBloccato);
            QCOMPARE(e.descrizione(), u"La base dati è aperta da un'altra postazione: impossibile aprirla in modo esclusivo."_s);
            QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
            altro.close();
        }
        QSqlDatabase::removeDatabase(u"altro-programma"_s);
        QVERIFY(a.db.riconnettiEsclusivo());
        QCOMPARE(a.db.modo(), ModoApertura::Esclusivo);
    }

    // The server's schema says what each column is: amounts exact, flags flags, the counter
    // its own; and an amount is stored as its exact decimal.
    void tipiDelloSchema()
    {
        Pronto a;
        QHash<QString, int> tipi;
        for (const Colonna &c : a.db.colonne(u"CorsiPropSpese"_s) + a.db.colonne(u"CorsiOper"_s))
            tipi.insert(c.nome, c.tipo);
        QCOMPARE(tipi.value(u"ParamA1"_s), tipiAdo::Currency);
        QCOMPARE(tipi.value(u"ATI"_s), tipiAdo::Boolean);
        QCOMPARE(tipi.value(u"NumOreA1"_s), tipiAdo::Integer);
        QCOMPARE(tipi.value(u"Guid"_s), tipiAdo::VarWChar);
        a.db.esegui(u"INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1) "
                    "VALUES ('A', 1, 1, '0001', '0', 1, ?)"_s,
                    {0.29});
        QCOMPARE(a.valore(u"SELECT CAST(ParamA1 AS VARCHAR) FROM CorsiPropSpese"_s), u"0.29"_s);
        // The counter of the laboratories numbers a row given none.
        a.db.esegui(u"INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente) VALUES ('A', 1, 1)"_s);
        QCOMPARE(a.valore(u"SELECT IdLab FROM CorsiCompoTipoLab"_s), u"1"_s);
        // A yes/no flag as the program writes it, and a yes/no bound as such, which the server
        // would refuse for its smallint if it were sent as a boolean.
        Colonna ati;
        for (const Colonna &c : a.db.colonne(u"CorsiOper"_s))
            if (c.nome == "ATI"_L1)
                ati = c;
        a.db.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, ATI) VALUES ('A', 1, ?)"_s,
                    {CorsiDB::convertiPerColonna(ati, true)});
        a.db.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, ATI) VALUES ('A', 2, ?)"_s, {QVariant(true)});
        QCOMPARE(a.valore(u"SELECT ATI FROM CorsiOper WHERE Operatore = 2"_s), u"1"_s);
        QCOMPARE(a.valore(u"SELECT ATI FROM CorsiOper WHERE Operatore = 1"_s), u"-1"_s);
    }

    // The command line sets a workstation up on the server and makes the schema there, once.
    void rigaDiComando()
    {
        UtenteDelServer u;
        Ambiente &a = u.a;
        eliminaDatabaseServer(a.nomeDbServer);
        amministra(u"CREATE DATABASE %1 OWNER %2"_s.arg(a.nomeDbServer, u.utente));
        a.scriviIni();
        const DatiConnessione d = u.dove();
        const QStringList imposta{u"imposta-installazione"_s,
                                  u"--tipo"_s,
                                  u"Multiutenza"_s,
                                  u"--versione"_s,
                                  u"SERVER"_s,
                                  u"--provider"_s,
                                  u"PostgreSQL"_s,
                                  u"--host"_s,
                                  d.host,
                                  u"--porta"_s,
                                  QString::number(d.porta),
                                  u"--nome-db"_s,
                                  d.nomeDb,
                                  u"--utente"_s,
                                  d.utente,
                                  u"--password"_s,
                                  d.password};
        QCOMPARE(cli(a.dir.path(), imposta).errore(), QString());
        QCOMPARE(a.leggiIni(u"Installazione"_s, u"PROVIDER"_s), u"PostgreSQL"_s);
        QCOMPARE(a.leggiIni(u"BaseDati"_s, u"Utente"_s), u.utente);
        QVERIFY(!a.leggi(u"QUIRDAL.INI"_s).contains(kPasswordUtente.toUtf8()));
        const EsitoCli creata = cli(a.dir.path(), {u"crea-db"_s});
        QCOMPARE(creata.errore(), QString());
        a.db.apri(d, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        QVERIFY(a.db.esisteTabella(u"CorsiProp"_s));
        a.db.chiudi();
        // A database that holds tables is never made again.
        const EsitoCli ancora = cli(a.dir.path(), {u"crea-db"_s});
        QCOMPARE(ancora.codice, 1);
        QVERIFY2(ancora.err.contains(u"contiene già delle tabelle: non viene sovrascritta."_s), qPrintable(ancora.err));
        QVERIFY(!ancora.err.contains(kPasswordUtente));
        // Usage errors: the server's options belong to the server.
        QCOMPARE(cli(a.dir.path(),
                     {u"imposta-installazione"_s, u"--tipo"_s, u"StandAlone"_s, u"--versione"_s, u"SERVER"_s, u"--provider"_s,
                      u"PostgreSQL"_s, u"--host"_s, d.host})
                     .codice,
                 2);
        QCOMPARE(cli(a.dir.path(),
                     {u"imposta-installazione"_s, u"--tipo"_s, u"StandAlone"_s, u"--versione"_s, u"SERVER"_s, u"--database"_s,
                      u"x.mdb"_s, u"--host"_s, d.host})
                     .codice,
                 2);
    }
};

QTEST_GUILESS_MAIN(TestServer)
#include "tst_server.moc"
