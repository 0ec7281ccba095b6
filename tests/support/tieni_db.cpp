// Holds a database open from a second process until its standard input closes, so
// that tests can see what another workstation's connection prevents.
#include "db/CorsiDB.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() < 3)
        return 2;
    quirdal::CorsiDB db(QStringLiteral("tieni"));
    try {
        db.apri(a[1], QString::fromLatin1(quirdal::CorsiDB::kPassword),
                a[2] == QLatin1String("esclusivo") ? quirdal::ModoApertura::Esclusivo
                                                    : quirdal::ModoApertura::Condiviso);
    } catch (const quirdal::Errore &e) {
        QTextStream(stdout) << "ERRORE " << e.numero() << '\n';
        return 1;
    }
    QTextStream(stdout) << "PRONTO" << Qt::endl;
    char buf[16];
    while (std::fgets(buf, sizeof buf, stdin)) {
    }
    return 0;
}
