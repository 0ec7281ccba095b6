// quirdal-cli esegui-sql: a script of SQL statements, all or nothing.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "db/CorsiDB.h"

#include <QFile>

namespace quirdal {

namespace {

class EseguiSql final : public Comando {
public:
    EseguiSql()
        : Comando(QStringLiteral("esegui-sql"), QStringLiteral("esegue le istruzioni del file in una sola transazione"))
    {
        argomento(QStringLiteral("FILE.sql"), QStringLiteral("il file delle istruzioni, separate da \";\""));
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString nome = p.positionalArguments().constFirst();
        QFile f(nome);
        if (!f.open(QIODevice::ReadOnly))
            throw Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere ") + nome);
        QStringList righe;
        for (const QString &r : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
            if (!r.trimmed().startsWith(QLatin1String("--")))
                righe << r;
        // All or nothing: a failing statement leaves the database as it was.
        Transazione t(c.db);
        for (const QString &istruzione : righe.join(QLatin1Char('\n')).split(QLatin1Char(';')))
            if (!istruzione.trimmed().isEmpty())
                c.db.esegui(istruzione);
        t.conferma();
        return kRiuscito;
    }
};

} // namespace

ElencoComandi comandiSql()
{
    ElencoComandi r;
    r.push_back(std::make_unique<EseguiSql>());
    return r;
}

} // namespace quirdal
