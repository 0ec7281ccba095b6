// quirdal-cli: the program's logic without screens, for batch jobs and tests.
#include "common/Errori.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace quirdal;

namespace {

int uso()
{
    QTextStream(stderr) << "uso: quirdal-cli crea-database PERCORSO\n";
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
    } catch (const Errore &e) {
        QTextStream(stderr) << "Errore " << e.numero() << ": " << e.descrizione() << '\n';
        return 1;
    }
    return uso();
}
