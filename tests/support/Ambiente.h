#pragma once
// A program folder of its own for a test: QUIRDAL.INI, an empty database made from the
// schema, settings kept in the folder, a fixed clock, the fake dialogs. The database is a file
// in the folder, or, when the run has a PostgreSQL server (QUIRDAL_TEST_PG), a database of
// its own on the server, made by creaDb and dropped with the environment: the same test runs
// unchanged on either engine.
#include "Colonne.h"
#include "FakeDialoghi.h"
#include "File.h"
#include "ServerProva.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace quirdal::test {

using namespace Qt::StringLiterals;

// True when the call ends the program.
inline bool finisce(const std::function<void()> &f)
{
    try {
        f();
    } catch (const FineProgramma &) {
        return true;
    }
    return false;
}

// The number of the error the call throws, 0 when it throws none.
inline long numeroErrore(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Errore &e) {
        return e.numero();
    }
    return 0;
}

class PiattaformaFinta : public Piattaforma {
public:
    QDate data{2026, 12, 6};
    QTime ora{9, 30};
    QStringList aperti;
    QDate oggi() const override { return data; }
    QDateTime adesso() const override { return QDateTime(data, ora); }
    bool apri(const QString &f) override
    {
        aperti << f;
        return true;
    }
    bool apriInEditor(const QString &f) override
    {
        aperti << f;
        return true;
    }
};

// The first column of every row, joined: what group_concat gives on SQLite alone.
inline QString unisci(CorsiDB &db, const QString &sql, const QString &separatore = u","_s, const QVariantList &p = {})
{
    QSqlQuery q = db.seleziona(sql, p);
    QStringList r;
    while (q.next())
        r << q.value(0).toString();
    return r.join(separatore);
}

inline // Each row's columns joined by '/', the rows by ',', every value as the program reads it: joined
    // in SQL an amount would print as the file's double ("9.0") or the server's numeric ("9").
    QString
    righe(CorsiDB &db, const QString &sql)
{
    QSqlQuery q = db.seleziona(sql);
    QStringList r;
    while (q.next()) {
        QStringList c;
        for (int i = 0; i < q.record().count(); ++i)
            c << q.value(i).toString();
        r << c.join(u'/');
    }
    return r.join(u',');
}

class Ambiente {
public:
    QTemporaryDir dir;
    Sessione sessione;
    CorsiDB db;
    cFileINI ini;
    FakeDialoghi dialoghi;
    PiattaformaFinta piattaforma;
    std::unique_ptr<ImpostazioniUtente> utente;
    std::unique_ptr<Contesto> contesto;

    // The engine of the run, unless a test asks for one.
    const Motore motore;
    // The database on the server (PostgreSQL): named at once, made by creaDb.
    const QString nomeDbServer;

    explicit Ambiente(const QString &nomeConnessione = u"CorsiDB"_s) : Ambiente(motoreDiProva(), nomeConnessione) { }
    explicit Ambiente(Motore m, const QString &nomeConnessione = u"CorsiDB"_s)
        : db(nomeConnessione), motore(m), nomeDbServer(m == Motore::PostgreSQL ? nomeDatabaseNuovo() : QString())
    {
        utente = std::make_unique<ImpostazioniUtente>(dir.filePath(u"utente.ini"_s));
        contesto.reset(new Contesto{dir.path(), sessione, db, ini, dialoghi, piattaforma, *utente});
        ini = cFileINI(dir.path());
        ini.setNomeFile(percorso(u"QUIRDAL.INI"_s));
    }
    ~Ambiente()
    {
        if (nomeDbServer.isEmpty())
            return;
        db.chiudi();
        try {
            eliminaDatabaseServer(nomeDbServer);
        } catch (const Errore &e) {
            qWarning().noquote() << e.descrizione();
        }
    }
    Ambiente(const Ambiente &) = delete;
    Ambiente &operator=(const Ambiente &) = delete;

    bool suServer() const { return motore == Motore::PostgreSQL; }
    // Where the test's database is.
    DatiConnessione connessione() const
    {
        return suServer() ? serverDiProva(nomeDbServer) : DatiConnessione::diFile(percorsoDb());
    }

    QString percorso(const QString &nome) const { return QDir(dir.path()).filePath(nome); }
    QString percorsoDb() const { return percorso(u"QUIRDAL.mdb"_s); }
    bool scrivi(const QString &nome, const QByteArray &contenuto) const { return scriviFile(percorso(nome), contenuto); }
    QByteArray leggi(const QString &nome) const { return leggiFile(percorso(nome)); }
    bool esiste(const QString &nome) const { return QFile::exists(percorso(nome)); }
    // A value as QUIRDAL.INI holds it on disk now, read by a reader of its own.
    QString leggiIni(const QString &sezione, const QString &chiave, const QString &predefinito = {}) const
    {
        cFileINI f(dir.path());
        f.setNomeFile(percorso(u"QUIRDAL.INI"_s));
        return f.leggi(sezione, chiave, predefinito);
    }
    QString valore(const QString &sql, const QVariantList &p = {}) { return db.valoreScalare(sql, p).toString(); }
    QString lista(const QString &sql, const QString &separatore = u","_s, const QVariantList &p = {})
    {
        return unisci(db, sql, separatore, p);
    }
    int conta(const QString &tabella) { return db.valoreScalare(u"SELECT count(*) FROM "_s + tabella).toInt(); }

    // QUIRDAL.INI as an installed program has it, with the given Tipo and Versione.
    void scriviIni(const QString &tipo = u"StandAlone"_s, const QString &versione = u"SERVER"_s, const QString &database = u"@"_s)
    {
        const QString db = database == "@"_L1 ? percorsoDb() : database;
        QString server;
        if (suServer()) {
            const DatiConnessione c = connessione();
            server = u"Host=%1\r\nPorta=%2\r\nNomeDB=%3\r\nUtente=%4\r\nPassword=%5\r\n"_s.arg(
                c.host, QString::number(c.porta), c.nomeDb, c.utente, scramblePwd(c.password));
        }
        scrivi(u"QUIRDAL.INI"_s,
               u"[Installazione]\r\nTipo=%1\r\nVersione=%2\r\nPROVIDER=%4\r\n[BaseDati]\r\n"
               "Database=%3\r\nNFileDB=QUIRDAL.mdb\r\nGrOpe=\r\nOper=0\r\n%5[Help]\r\n"
               "FILEHELP=QUIRDAL.html\r\n[CONNESSIONE]\r\nPWD=\r\n"_s.arg(tipo, versione, db, nomeMotore(motore), server)
                   .toUtf8());
    }
    void scriviAiuto() { scrivi(u"QUIRDAL.html"_s, "<html><body><a name=\"t20000\"></a>Aiuto</body></html>"); }
    void creaDb(const OpzioniNuovoDatabase &o = {})
    {
        if (suServer())
            creaDatabaseServer(nomeDbServer);
        creaDatabase(connessione(), QString::fromLatin1(CorsiDB::kPassword), o);
    }
    void apriDb(ModoApertura m = ModoApertura::Condiviso) { db.apri(connessione(), QString::fromLatin1(CorsiDB::kPassword), m); }
    // A ready installation: INI, help file, database, open.
    void pronto(const QString &tipo = u"StandAlone"_s, const QString &versione = u"SERVER"_s)
    {
        scriviIni(tipo, versione);
        scriviAiuto();
        creaDb();
        apriDb();
    }
    // One operator written straight into the file (the program's connection stays as
    // it is), so that a start is not a first start.
    void operatoreNelFile()
    {
        CorsiDB d(u"semina"_s);
        d.apri(connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        d.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, 'UNO')"_s);
    }
    void aggiungiOperatore(const QString &gruppo, int numero, const QString &nome, const QString &tipo = u"EF"_s)
    {
        db.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper) VALUES (?,?,?,?)"_s,
                  {gruppo, numero, nome, tipo});
    }
};

// A ready installation of the given Tipo.
struct Pronto : Ambiente {
    explicit Pronto(const QString &tipo = u"StandAlone"_s) { pronto(tipo); }
    explicit Pronto(Motore m, const QString &tipo = u"StandAlone"_s) : Ambiente(m) { pronto(tipo); }
};

} // namespace quirdal::test
