// Another workstation that writes: commits the given number of transactions of 20 rows each
// (operators of group Z), saying "PRONTO" after the first.
#include "db/CorsiDB.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() < 3)
        return 2;
    quirdal::CorsiDB db(QStringLiteral("scrive"));
    try {
        db.apri(a[1], QString::fromLatin1(quirdal::CorsiDB::kPassword), quirdal::ModoApertura::Condiviso);
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
