#include "support/Domanda.h"
#include "support/RigaDiComando.h"
#include "support/ServerFinto.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Record lines of a data file: every line but the header.
int righeDati(const QString &file)
{
    const QList<QByteArray> righe = leggiFile(file).split('\n');
    return int(std::count_if(righe.begin() + 1, righe.end(), [](const QByteArray &r) { return !r.trimmed().isEmpty(); }));
}

// The fixture's application, in a folder the command line opens on its own.
struct ConDomanda : Ambiente {
    explicit ConDomanda(const QString &connessione, const QString &tipo = u"StandAlone"_s) : Ambiente(connessione)
    {
        pronto(tipo);
        preparaDomanda(*this);
        db.chiudi();
    }
    EsitoCli cli(const QStringList &argomenti) { return test::cli(dir.path(), argomenti); }
};

// Every command, its usage line, a command line it accepts (what is required first, then
// an option that may be repeated by mistake), and what is missing without its first item.
struct Uso {
    QString comando, uso;
    QStringList accettata;
    QString mancante;
};
QList<Uso> usi()
{
    const QStringList domanda{u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s};
    const QString manca = u"manca l'opzione --prov"_s;
    const QStringList email{u"--email"_s, u"a@b.it"_s};
    return {
        {u"aggiorna-db"_s, u"uso: quirdal-cli aggiorna-db"_s, {}, {}},
        {u"carica-operatori"_s, u"uso: quirdal-cli carica-operatori"_s, {}, {}},
        {u"carica-tabelle"_s, u"uso: quirdal-cli carica-tabelle"_s, {}, {}},
        {u"crea-db"_s, u"uso: quirdal-cli crea-db"_s, {}, {}},
        {u"crea-file-trasmissione"_s,
         u"uso: quirdal-cli crea-file-trasmissione --prov P --grupope G --operatore N [--email INDIRIZZO] [--data AAAAMMGG]"_s,
         domanda + email, manca},
        {u"esegui-sql"_s, u"uso: quirdal-cli esegui-sql FILE.sql"_s, {u"x.sql"_s}, u"manca l'argomento FILE.sql"_s},
        {u"imposta-installazione"_s,
         u"uso: quirdal-cli imposta-installazione --tipo StandAlone|Multiutenza --versione SERVER|CLIENT "
         "[--provider SQLite|PostgreSQL] [--database FILE.mdb] [--host HOST] [--porta PORTA] [--nome-db NOME] "
         "[--utente UTENTE] [--password PASSWORD]"_s,
         {u"--tipo"_s, u"StandAlone"_s, u"--versione"_s, u"SERVER"_s, u"--database"_s, u"x.mdb"_s},
         u"manca l'opzione --tipo"_s},
        {u"imposta-server"_s,
         u"uso: quirdal-cli imposta-server --indirizzo https://HOST:PORTA --utente U --password P"_s,
         {u"--indirizzo"_s, u"https://127.0.0.1:1"_s, u"--utente"_s, u"u"_s, u"--password"_s, u"p"_s},
         u"manca l'opzione --indirizzo"_s},
        {u"invia"_s, u"uso: quirdal-cli invia --prov P --grupope G --operatore N --email INDIRIZZO"_s, domanda + email, manca},
        {u"migra"_s, u"uso: quirdal-cli migra --da FILE.mdb"_s, {u"--da"_s, u"x.mdb"_s}, u"manca l'opzione --da"_s},
        {u"numero-domanda"_s, u"uso: quirdal-cli numero-domanda --prov P --grupope G --operatore N --email INDIRIZZO"_s,
         domanda + email, manca},
        {u"prepara-cartella"_s, u"uso: quirdal-cli prepara-cartella [--modello CARTELLA]"_s, {u"--modello"_s, u"m"_s}, {}},
        {u"recupera"_s,
         u"uso: quirdal-cli recupera ARCHIVIO [--operatore G:N]"_s,
         {u"copia.zip"_s, u"--operatore"_s, u"A:1"_s},
         u"manca l'argomento ARCHIVIO"_s},
        {u"riassegna"_s,
         u"uso: quirdal-cli riassegna --prov P --grupope G --operatore N --da SEDE --a SEDE --corso CCCC|TUTTI "
         "[--compo-resp C]"_s,
         domanda + QStringList{u"--da"_s, u"1"_s, u"--a"_s, u"2"_s, u"--corso"_s, u"0001"_s}, manca},
        {u"ripristina-copia"_s, u"uso: quirdal-cli ripristina-copia"_s, {}, {}},
        {u"salva"_s, u"uso: quirdal-cli salva ARCHIVIO"_s, {u"copia"_s}, u"manca l'argomento ARCHIVIO"_s},
        {u"scarica"_s,
         u"uso: quirdal-cli scarica --operatori G:N[,G:N...]"_s,
         {u"--operatori"_s, u"A:1"_s},
         u"manca l'opzione --operatori"_s},
        {u"stampa"_s,
         u"uso: quirdal-cli stampa --prov P --grupope G --operatore N --modo BOZZA|ORIGINALE [--sede C] [--pdf FILE]"_s,
         domanda + QStringList{u"--modo"_s, u"BOZZA"_s}, manca},
        {u"verifica"_s, u"uso: quirdal-cli verifica --prov P --grupope G --operatore N"_s, domanda, manca},
        {u"verifica-versione"_s, u"uso: quirdal-cli verifica-versione"_s, {}, {}},
    };
}

const QString kUsoGenerale = u"uso: quirdal-cli [--cartella CARTELLA] [--si | --no] COMANDO [ARGOMENTI]"_s;

} // namespace

class TestCli : public QObject {
    Q_OBJECT
    // A folder whose QUIRDAL.INI names a database that crea-db makes: a file, or a database
    // on the server of the run.
    std::unique_ptr<Ambiente> m_a;
    QString m_cartella;

private Q_SLOTS:
    void initTestCase()
    {
        m_a = std::make_unique<Ambiente>(u"cartella"_s);
        m_cartella = m_a->dir.path();
        m_a->scriviIni();
        // On the server crea-db fills a database that is there and empty.
        if (m_a->suServer())
            creaDatabaseServer(m_a->nomeDbServer);
    }
    void cleanupTestCase() { m_a.reset(); }

    // Made once; then refused, its rows kept.
    void creaDbNonSovrascrive()
    {
        QCOMPARE(cli(m_cartella, {u"crea-db"_s}).codice, 0);
        m_a->apriDb();
        m_a->aggiungiOperatore(u"A"_s, 1, u"GIA PRESENTE"_s);
        m_a->db.chiudi();
        const QByteArray prima = leggiFile(m_a->percorsoDb());
        QCOMPARE(prima.isEmpty(), m_a->suServer());
        const EsitoCli e = cli(m_cartella, {u"crea-db"_s});
        QCOMPARE(e.codice, 1);
        // The file is there already; the database on the server is there by need, and holds tables.
        QVERIFY2(e.err.contains(m_a->suServer() ? u"contiene già delle tabelle: non viene sovrascritta."_s : u"esiste già"_s),
                 qPrintable(e.err));
        QCOMPARE(leggiFile(m_a->percorsoDb()), prima);
        m_a->apriDb();
        QCOMPARE(m_a->lista(u"SELECT Denominazione FROM CorsiOper"_s), u"GIA PRESENTE"_s);
        m_a->db.esegui(u"DELETE FROM CorsiOper"_s);
        m_a->db.chiudi();
    }

    // A workstation set up from the command line: its folder from the installed model,
    // then the keys the installation screens would write, then a new database.
    void preparaEImposta()
    {
        QTemporaryDir d;
        const QString modello = d.filePath(u"modello"_s), cartella = d.filePath(u"postazione"_s);
        QDir().mkpath(modello);
        QVERIFY(QFile::copy(qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/QUIRDAL.INI"_s, modello + u"/QUIRDAL.INI"_s));
        scriviFile(modello + u"/QUIRDAL.html"_s, "<html></html>");
        EsitoCli e = cli(cartella, {u"prepara-cartella"_s, u"--modello"_s, modello});
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.out, cartella + u"\n  QUIRDAL.html\n  QUIRDAL.INI\n"_s);
        // Not yet set up: the commands that need the installation refuse.
        QCOMPARE(cli(cartella, {u"crea-db"_s}).codice, 1);
        const auto imposta = [&](const QString &tipo, const QString &database) {
            return cli(cartella,
                       {u"imposta-installazione"_s, u"--tipo"_s, tipo, u"--versione"_s, u"SERVER"_s, u"--database"_s, database});
        };
        QCOMPARE(imposta(u"Locale"_s, u"x.mdb"_s).codice, 2);
        e = imposta(u"StandAlone"_s, cartella + u"/dati.txt"_s);
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.err.contains(u"Il file selezionato non è un database Microsoft Access."_s), qPrintable(e.err));
        QCOMPARE(imposta(u"StandAlone"_s, cartella + u"/QUIRDAL.mdb"_s).errore(), QString());
        QCOMPARE(cli(cartella, {u"crea-db"_s}).errore(), QString());
        QVERIFY(QFileInfo(cartella + u"/QUIRDAL.mdb"_s).size() > 0);
        cFileINI ini(cartella);
        ini.setNomeFile(cartella + u"/QUIRDAL.INI"_s);
        QStringList valori;
        for (const auto &[sezione, chiave] :
             {std::pair{"Installazione", "Tipo"}, std::pair{"Installazione", "Versione"}, std::pair{"BaseDati", "Database"},
              std::pair{"BaseDati", "NFileDB"}, std::pair{"Help", "FILEHELP"}})
            valori << ini.leggi(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
        QCOMPARE(valori, (QStringList{"StandAlone", "SERVER", cartella + u"/QUIRDAL.mdb"_s, "QUIRDAL.mdb", "QUIRDAL.html"}));
        // A second preparation adds nothing and keeps the settings.
        QCOMPARE(cli(cartella, {u"prepara-cartella"_s, u"--modello"_s, modello}).out, cartella + u"\n"_s);
        QCOMPARE(ini.leggi(u"Installazione"_s, u"Tipo"_s), u"StandAlone"_s);
    }

    // The demo data of the call fill every lookup table.
    void caricaTabelleDemo()
    {
        const QDir sorgente(qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/tabelle"_s);
        const QStringList file = sorgente.entryList({u"*.txt"_s}, QDir::Files);
        QVERIFY(file.size() > 30);
        for (const QString &f : file)
            QVERIFY(QFile::copy(sorgente.filePath(f), m_a->percorso(f)));
        m_a->scrivi(u"installa.tab"_s, {});
        const EsitoCli e = cli(m_cartella, {u"carica-tabelle"_s});
        QCOMPARE(e.errore(), QString());
        CorsiDB d(u"verifica"_s);
        d.apri(m_a->connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        for (const QString &f : file) {
            QCOMPARE(d.valoreScalare(u"SELECT count(*) FROM "_s + f.chopped(4)).toInt(), righeDati(sorgente.filePath(f)));
            QVERIFY(m_a->esiste(u"CAR/"_s + f));
        }
        QCOMPARE(d.valoreScalare(u"SELECT Denominazione FROM Comuni WHERE Denominazione LIKE 'CASTELL_'"_s).toString().right(1),
                 u"À"_s);
    }

    void fileVuotoSenzaRispostaTermina_data()
    {
        colonne<QStringList, int>("opzioni", "codice");
        QTest::newRow("senza risposta") << QStringList{} << 1;
        QTest::newRow("--no") << QStringList{u"--no"_s} << 1;
        QTest::newRow("--si") << QStringList{u"--si"_s} << 0;
    }
    void fileVuotoSenzaRispostaTermina()
    {
        QFETCH(QStringList, opzioni);
        QFETCH(int, codice);
        m_a->scrivi(u"aggiorna.tab"_s, {});
        m_a->scrivi(u"Regioni.txt"_s, {});
        const EsitoCli e = cli(m_cartella, opzioni + QStringList{u"carica-tabelle"_s});
        QCOMPARE(e.codice, codice);
        QVERIFY2(e.err.contains(u"Installazione/Aggiornamento tabelle di decodifica: ATTENZIONE: il file"_s), qPrintable(e.err));
    }

    void fileDiTrasmissione()
    {
        ConDomanda a(u"domanda"_s);
        const QStringList base{
            u"crea-file-trasmissione"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s};
        EsitoCli e = a.cli(base + QStringList{u"--email"_s, u"mario.rossi@ente.example"_s, u"--data"_s, u"20091130"_s});
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.out.trimmed(), u"QUIRDAL_001_000123.A7"_s);
        QCOMPARE(a.leggi(u"QUIRDAL_001_000123.A7"_s), leggiFile(percorsoRiferimento()));
        // A date that is none is a usage error; a province without application, a failure.
        QCOMPARE(a.cli(base + QStringList{u"--data"_s, u"20093099"_s}).codice, 2);
        e = a.cli(QStringList(base).replaceInStrings(u"001"_s, u"004"_s));
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(u"Nessuna domanda"_s));
        {
            CorsiDB d(u"guasta"_s);
            d.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            d.esegui(u"DELETE FROM CorsiCompo WHERE TipoCompo='SL'"_s);
        }
        e = a.cli(base);
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(u"Creazione file di trasmissione - ScriviRec_B: ANOMALIA: Sede Legale"_s));
        QVERIFY(!a.esiste(u"QUIRDAL_001_000123.A7"_s));
    }

    // The server's services from the command line, against the simulator.
    void servizi()
    {
        ServerFinto server;
        ConDomanda a(u"servizi"_s, u"Multiutenza"_s);
        QCOMPARE(a.cli({u"imposta-server"_s, u"--indirizzo"_s, u"https://127.0.0.1:%1"_s.arg(server.porta), u"--utente"_s,
                        u"quirdal"_s, u"--password"_s, u"Valdoria2009"_s})
                     .codice,
                 0);
        QFile::copy(certificati() + u"ca.der"_s, a.percorso(u"CA_ROOT.DER"_s));
        QCOMPARE(a.cli({u"verifica-versione"_s}).codice, 0);
        const QStringList operatore{u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s, u"--email"_s, u"a@b.it"_s};
        EsitoCli e = a.cli(QStringList{u"numero-domanda"_s, u"--prov"_s, u"004"_s} + operatore);
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.out.trimmed(), u"01000007"_s);
        e = a.cli(QStringList{u"invia"_s, u"--prov"_s, u"001"_s} + operatore);
        QCOMPARE(e.errore(), QString());
        QVERIFY(QFile::exists(server.ricevuti.filePath(u"QUIRDAL_001_000123.A7"_s)));
        QVERIFY(!a.esiste(u"QUIRDAL_001_000123.A7"_s));
        e = a.cli({u"scarica"_s, u"--operatori"_s, u"A:101,B:310"_s});
        QCOMPARE(e.errore(), QString());
        QVERIFY(a.esiste(u"compo.tx1"_s) && a.esiste(u"aggiorna.tab"_s));
        QCOMPARE(a.cli({u"scarica"_s, u"--operatori"_s, u"A101"_s}).codice, 2);
    }

    // A wrong command line, whichever the command, is told with the command's usage and
    // status 2, before anything is opened: the folder stays empty.
    void rigaSbagliata_data()
    {
        colonne<QStringList, QString, QString>("argomenti", "messaggio", "uso");
        for (const Uso &u : usi()) {
            const QString prima = u"quirdal-cli "_s + u.comando + u": "_s;
            const QStringList riga = QStringList{u.comando} + u.accettata;
            const auto caso = [&](const char *nome, const QStringList &argomenti, const QString &messaggio) {
                QTest::addRow("%s: %s", qPrintable(u.comando), nome) << argomenti << prima + messaggio << u.uso;
            };
            caso("opzione sconosciuta", riga + QStringList{u"--boh"_s, u"1"_s}, u"opzione sconosciuta: --boh"_s);
            caso("argomento di troppo", riga + QStringList{u"altro"_s}, u"argomento di troppo: altro"_s);
            if (!u.mancante.isEmpty())
                caso("manca", QStringList{u.comando} + u.accettata.mid(u.accettata[0].startsWith(u"--"_s) ? 2 : 1), u.mancante);
            const qsizetype opzione = u.accettata.indexOf(QRegularExpression(u"--.+"_s));
            if (opzione >= 0) {
                const QString nome = u.accettata[opzione];
                caso("opzione ripetuta", riga + u.accettata.mid(opzione, 2), u"opzione ripetuta: "_s + nome);
                caso("valore mancante", riga + QStringList{nome}, u"manca il valore dopo "_s + nome);
            }
        }
        // The general options, before the command only.
        const auto generale = [](const char *nome, const QStringList &argomenti, const QString &messaggio) {
            QTest::newRow(nome) << argomenti << u"quirdal-cli: "_s + messaggio << kUsoGenerale;
        };
        generale("--cartella ripetuta", {u"--cartella"_s, u"altra"_s, u"crea-db"_s}, u"opzione ripetuta: --cartella"_s);
        generale("--si ripetuta", {u"--si"_s, u"--si"_s, u"crea-db"_s}, u"opzione ripetuta: --si"_s);
        generale("--si e --no", {u"--si"_s, u"--no"_s, u"crea-db"_s},
                 u"--si e --no insieme: le domande hanno una risposta sola"_s);
        generale("opzione generale sconosciuta", {u"--versione"_s, u"crea-db"_s}, u"opzione sconosciuta: --versione"_s);
        QTest::newRow("opzione generale dopo il comando")
            << QStringList{u"crea-db"_s, u"--si"_s} << u"quirdal-cli crea-db: opzione sconosciuta: --si"_s
            << u"uso: quirdal-cli crea-db"_s;
    }
    void rigaSbagliata()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, messaggio);
        QFETCH(QString, uso);
        QTemporaryDir vuota;
        const EsitoCli e = cli(vuota.path(), argomenti);
        QCOMPARE(e.codice, 2);
        const QStringList righe = e.err.split(u'\n');
        QVERIFY2(righe.contains(messaggio), qPrintable(e.err));
        QVERIFY2(righe.contains(uso), qPrintable(e.err));
        QCOMPARE(e.out, QString());
        QCOMPARE(QDir(vuota.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // "quirdal-cli --help" lists every command; "quirdal-cli COMANDO --help" shows its usage.
    void aiutoDiOgniComando_data()
    {
        colonne<QString, QString>("comando", "uso");
        for (const Uso &u : usi())
            QTest::newRow(qPrintable(u.comando)) << u.comando << u.uso;
    }
    void aiutoDiOgniComando()
    {
        QFETCH(QString, comando);
        QFETCH(QString, uso);
        const EsitoCli generale = cli(m_cartella, {u"--help"_s});
        QCOMPARE(generale.codice, 0);
        QVERIFY2(generale.righe().filter(QRegularExpression(u"^  "_s + comando + u" "_s)).size() == 1, qPrintable(generale.out));
        const EsitoCli e = cli(m_cartella, {comando, u"--help"_s});
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.righe().value(0), uso);
        QVERIFY2(e.out.contains(u"  --help "_s), qPrintable(e.out));
    }

    // A script runs whole statements, as SQLite reads them, all or nothing.
    void eseguiSql_data()
    {
        colonne<QString, int, QString, QString, QString>("script", "codice", "controllo", "atteso", "errore");
        const QString tabella = u"CREATE TABLE Prova (Testo TEXT);\n"_s;
        const QString righe = u"SELECT Testo FROM Prova ORDER BY @ordine@"_s;
        const QString nessuna; // no table Prova left
        QTest::newRow("punto e virgola in un testo")
            << tabella + u"INSERT INTO Prova VALUES ('uno; due');\nINSERT INTO Prova VALUES ('tre');"_s << 0 << righe
            << u"uno; due|tre"_s << QString();
        QTest::newRow("testo su più righe") << tabella + u"INSERT INTO Prova VALUES ('a;\n-- non un commento\nb');"_s << 0
                                            << righe << u"a;\n-- non un commento\nb"_s << QString();
        QTest::newRow("punto e virgola nei commenti") << u"-- prova; con commento\n"_s + tabella
                + u"/* blocco; */ INSERT INTO Prova VALUES ('x'); -- fine; riga\n"
                  "INSERT INTO Prova VALUES ('y') /* ; */;\n-- ultimo; commento"_s
                                                      << 0 << righe << u"x|y"_s << QString();
        QTest::newRow("corpo di un trigger")
            << tabella
                + u"CREATE TABLE Registro (Voce TEXT);\n"
                  "CREATE TRIGGER Copia AFTER INSERT ON Prova BEGIN\n"
                  "  INSERT INTO Registro VALUES (new.Testo || ';1');\n"
                  "  INSERT INTO Registro VALUES (new.Testo || ';2');\n"
                  "END;\n"
                  "INSERT INTO Prova VALUES ('t');"_s
            << 0 << u"SELECT Voce FROM Registro ORDER BY @ordine@"_s << u"t;1|t;2"_s << QString();
        QTest::newRow("ultima senza punto e virgola")
            << tabella + u"INSERT INTO Prova VALUES ('fine') -- commento"_s << 0 << righe << u"fine"_s << QString();
        QTest::newRow("un errore annulla tutto") << tabella + u"INSERT INTO Prova VALUES ('a');\nINSERT INTO Manca VALUES (1);"_s
                                                 << 1 << nessuna << u"0"_s << u"Manca"_s;
        QTest::newRow("un testo non chiuso")
            << tabella + u"INSERT INTO Prova VALUES ('a;);\n"_s << 1 << nessuna << u"0"_s << u"Istruzione non finita"_s;
        QTest::newRow("un trigger non chiuso") << tabella + u"CREATE TRIGGER T AFTER INSERT ON Prova BEGIN DELETE FROM Prova;"_s
                                               << 1 << nessuna << u"0"_s << u"Istruzione non finita"_s;
        QTest::newRow("un COMMIT nel file") << tabella + u"COMMIT;\nINSERT INTO Prova VALUES ('a');"_s << 1 << nessuna << u"0"_s
                                            << u"chiuderebbe la transazione"_s;
    }
    void eseguiSql()
    {
        QFETCH(QString, script);
        QFETCH(int, codice);
        QFETCH(QString, controllo);
        QFETCH(QString, atteso);
        QFETCH(QString, errore);
        Pronto a;
        // A trigger's body is written in SQLite's own dialect; the server's triggers call a function.
        if (a.suServer() && script.contains(u"CREATE TRIGGER Copia"_s))
            QSKIP("Il corpo di un trigger di SQLite: il server non ha trigger di questa forma");
        a.db.chiudi();
        QVERIFY(a.scrivi(u"prova.sql"_s, script.toUtf8()));
        const EsitoCli e = cli(a.dir.path(), {u"esegui-sql"_s, u"prova.sql"_s});
        QCOMPARE(e.codice, codice);
        QVERIFY2(e.err.contains(errore), qPrintable(e.err));
        a.apriDb();
        // The rows in the order they were written: SQLite's rowid, the server's place of the row
        // (in a table only ever written to, the same order).
        QCOMPARE(controllo.isNull() ? QString::number(a.db.esisteTabella(u"Prova"_s))
                                    : a.lista(controllo.replace(u"@ordine@"_s, a.suServer() ? u"ctid"_s : u"rowid"_s), u"|"_s),
                 atteso);
    }

    void aiutoEComandoSconosciuto()
    {
        EsitoCli e = cli(m_cartella, {u"--help"_s});
        QCOMPARE(e.codice, 0);
        QVERIFY(e.out.contains(u"carica-tabelle"_s));
        QCOMPARE(cli(m_cartella, {u"boh"_s}).codice, 2);
        e = cli(m_cartella + u"/manca"_s, {u"crea-db"_s});
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(u"Impossibile trovare il file QUIRDAL.INI"_s));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
