// Holds a database open from a second process until its standard input closes, so
// that tests can see what another workstation's connection prevents. The database is the
// given file, or, when the QUIRDAL.INI beside it names a PostgreSQL server, the server's
// database that INI points at: the same test holds either.
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "db/CorsiDB.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
        quirdal::DatiConnessione dove = quirdal::DatiConnessione::diFile(a[1]);
        const QString ini = QFileInfo(a[1]).dir().filePath(quirdal::kNomeIni);
        if (QFileInfo(ini).isFile()) {
            quirdal::cFileINI f(QFileInfo(a[1]).path());
            f.setNomeFile(ini);
            const quirdal::DatiConnessione secondoIni = quirdal::leggiConnessione(f);
            if (secondoIni.motore == quirdal::Motore::PostgreSQL)
                dove = secondoIni;
        }
        db.apri(dove, QString::fromLatin1(quirdal::CorsiDB::kPassword),
                a[2] == QLatin1String("esclusivo") ? quirdal::ModoApertura::Esclusivo : quirdal::ModoApertura::Condiviso);
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
