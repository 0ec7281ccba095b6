#pragma once
// A program folder of its own for a test: QUIRDAL.INI, an empty database made from the
// schema, settings kept in the folder, a fixed clock, the fake dialogs.
#include "FakeDialoghi.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace quirdal::test {

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

class PiattaformaFinta : public Piattaforma {
public:
    QDate data{2026, 12, 6};
    QStringList aperti;
    QDate oggi() const override { return data; }
    QDateTime adesso() const override { return QDateTime(data, QTime(9, 30)); }
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

    explicit Ambiente(const QString &nomeConnessione = QStringLiteral("CorsiDB"))
        : db(nomeConnessione)
    {
        utente = std::make_unique<ImpostazioniUtente>(dir.filePath(QStringLiteral("utente.ini")));
        contesto.reset(new Contesto{dir.path(), sessione, db, ini, dialoghi, piattaforma, *utente});
        ini = cFileINI(dir.path());
        ini.setNomeFile(percorso(QStringLiteral("QUIRDAL.INI")));
    }

    QString percorso(const QString &nome) const { return QDir(dir.path()).filePath(nome); }
    QString percorsoDb() const { return percorso(QStringLiteral("QUIRDAL.mdb")); }

    // QUIRDAL.INI as an installed program has it, with the given Tipo and Versione.
    void scriviIni(const QString &tipo = QStringLiteral("StandAlone"), const QString &versione = QStringLiteral("SERVER"),
                   const QString &database = QStringLiteral("@"))
    {
        QFile f(percorso(QStringLiteral("QUIRDAL.INI")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        const QString db = database == QLatin1String("@") ? percorsoDb() : database;
        f.write(QStringLiteral("[Installazione]\r\nTipo=%1\r\nVersione=%2\r\nPROVIDER=SQLite\r\n"
                               "[BaseDati]\r\nDatabase=%3\r\nNFileDB=QUIRDAL.mdb\r\nGrOpe=\r\nOper=0\r\n"
                               "[Help]\r\nFILEHELP=QUIRDAL.html\r\n[CONNESSIONE]\r\nPWD=\r\n")
                    .arg(tipo, versione, db)
                    .toUtf8());
    }
    void scriviAiuto()
    {
        QFile f(percorso(QStringLiteral("QUIRDAL.html")));
        f.open(QIODevice::WriteOnly);
        f.write("<html><body><a name=\"t20000\"></a>Aiuto</body></html>");
    }
    void creaDb(const OpzioniNuovoDatabase &o = {})
    {
        creaDatabase(percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), o);
    }
    void apriDb(ModoApertura m = ModoApertura::Condiviso)
    {
        db.apri(percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), m);
    }
    // A ready installation: INI, help file, database, open.
    void pronto(const QString &tipo = QStringLiteral("StandAlone"), const QString &versione = QStringLiteral("SERVER"))
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
        CorsiDB d(QStringLiteral("semina"));
        d.apri(percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        d.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, 'UNO')"));
    }
    void aggiungiOperatore(const QString &gruppo, int numero, const QString &nome, const QString &tipo = QStringLiteral("EF"))
    {
        db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper) VALUES (?,?,?,?)"),
                  {gruppo, numero, nome, tipo});
    }
};

} // namespace quirdal::test
