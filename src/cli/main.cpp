// quirdal-cli: the program's logic without screens, for batch jobs and tests.
#include "common/Errori.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

using namespace quirdal;

namespace {

int uso()
{
    QTextStream(stderr) << "uso: quirdal-cli crea-database PERCORSO\n"
                           "     quirdal-cli esegui-sql PERCORSO FILE.sql\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return uso();
    try {
        if (args[0] == QLatin1String("crea-database") && args.size() == 2) {
            creaDatabase(args[1], QString::fromLatin1(CorsiDB::kPassword));
            QTextStream(stdout) << args[1] << '\n';
            return 0;
        }
        if (args[0] == QLatin1String("esegui-sql") && args.size() == 3) {
            QFile f(args[2]);
            if (!f.open(QIODevice::ReadOnly))
                throw Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere ") + args[2]);
            QStringList righe;
            for (const QString &r : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
                if (!r.trimmed().startsWith(QLatin1String("--")))
                    righe << r;
            CorsiDB db;
            db.apri(args[1], QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Esclusivo);
            // All or nothing: a failing statement leaves the database as it was.
            Transazione t(db);
            for (const QString &istruzione : righe.join(QLatin1Char('\n')).split(QLatin1Char(';')))
                if (!istruzione.trimmed().isEmpty())
                    db.esegui(istruzione);
            t.conferma();
            return 0;
        }
    } catch (const Errore &e) {
        QTextStream(stderr) << "Errore " << e.numero() << ": " << e.descrizione() << '\n';
        return 1;
    }
    return uso();
}
