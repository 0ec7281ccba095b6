#pragma once
// What the benchmarks share: dialogs that only count their messages, and a program
// folder with a new database opened exclusive.
#include "common/Dialoghi.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QTemporaryDir>
#include <QTextStream>

namespace quirdal::bench {

class DialoghiMuti : public Dialoghi {
public:
    int messaggi = 0;
    Risposta messaggio(const QString &t, const QString &, Icona, Pulsanti) override
    {
        ++messaggi;
        QTextStream(stderr) << t << '\n';
        return Risposta::No;
    }
    std::optional<QString> chiediTesto(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaAprire(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaSalvare(const QString &, const QString &, const QString &) override { return {}; }
};

// The answers are "No": a question that would stop a real run stops the benchmark too.
class Banco {
public:
    QTemporaryDir dir;
    Sessione s;
    CorsiDB db{QStringLiteral("bench")};
    cFileINI ini{dir.path()};
    DialoghiMuti d;
    Piattaforma p;
    ImpostazioniUtente u{dir.filePath(QStringLiteral("utente.ini"))};
    Contesto c{dir.path(), s, db, ini, d, p, u};

    QString fileDb() const { return dir.filePath(QStringLiteral("QUIRDAL.mdb")); }
    Banco() { creaDatabase(fileDb(), QString::fromLatin1(CorsiDB::kPassword)); }
    void apri() { db.apri(fileDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Esclusivo); }
};

} // namespace quirdal::bench
