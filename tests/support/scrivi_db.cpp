// Another workstation that writes: commits the given number of transactions of 20 rows each
// (operators of group Z), saying "PRONTO" after the first. The database is the given file, or,
// when the QUIRDAL.INI beside it names a PostgreSQL server, the server's database it points at.
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "db/CorsiDB.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() < 3)
        return 2;
    quirdal::CorsiDB db(QStringLiteral("scrive"));
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
        db.apri(dove, QString::fromLatin1(quirdal::CorsiDB::kPassword), quirdal::ModoApertura::Condiviso);
        const int transazioni = a[2].toInt();
        for (int i = 0; i < transazioni; ++i) {
            quirdal::Transazione t(db);
            for (int j = 0; j < 20; ++j)
                db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('Z', ?, ?)"),
                          {i * 20 + j + 1, QStringLiteral("SCRITTO %1").arg(i)});
            t.conferma();
            if (i == 0)
                QTextStream(stdout) << "PRONTO" << Qt::endl;
        }
    } catch (const quirdal::Errore &e) {
        QTextStream(stdout) << "ERRORE " << e.numero() << ' ' << e.descrizione() << Qt::endl;
        return 1;
    }
    return 0;
}
