// Another workstation at work on a course, in a process of its own, on the database that the
// program folder's QUIRDAL.INI names (an SQLite file or a server):
//   postazione CARTELLA GRUPPO OPERATORE PROV SEDE inserisci SEDE-MODELLO CORSO ACCORP
//   postazione CARTELLA GRUPPO OPERATORE PROV SEDE salva CORSO ACCORP ALLIEVI
//   postazione CARTELLA GRUPPO OPERATORE PROV SEDE cancella CORSO ACCORP
// inserisci writes a copy of the model course as a new course of SEDE, salva writes the course
// again with that number of participants, cancella deletes it; each as the course sheet does.
// It says "CORSO cccc a" (the key written), "CANCELLATO" or "ERRORE n description" (status 1).
// At the stop point named by QUIRDAL_PAUSA it says "FERMO point" and goes on when a line comes on
// its standard input (it ends there, as a stop would, when the input closes instead). On a file,
// the first time its write has to wait for another workstation's lock it says "ATTESA".
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "config/SessioneIni.h"
#include "courses/Corso.h"
#include "db/CorsiDB.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDriver>

#include <cstdio>
#include <cstdlib>

#ifdef QUIRDAL_SQLITE_CONDIVISO
#include <sqlite3.h>
#endif

namespace {

void scrivi(const QString &riga)
{
    std::fputs(qPrintable(riga + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

#ifdef QUIRDAL_SQLITE_CONDIVISO
// Waits as the program's busy timeout does (about half a minute), saying so once.
int inAttesa(void *, int volte)
{
    if (volte == 0)
        scrivi(QStringLiteral("ATTESA"));
    if (volte >= 3000)
        return 0;
    sqlite3_sleep(10);
    return 1;
}
#endif

// From here on the connection's waits for another workstation's lock are told.
void segnalaAttese([[maybe_unused]] quirdal::CorsiDB &db)
{
#ifdef QUIRDAL_SQLITE_CONDIVISO
    if (db.motore() != quirdal::Motore::SQLite)
        return;
    const QVariant h = db.database().driver()->handle();
    if (qstrcmp(h.typeName(), "sqlite3*") == 0)
        if (sqlite3 *p = *static_cast<sqlite3 *const *>(h.constData()))
            sqlite3_busy_handler(p, inAttesa, nullptr);
#endif
}

} // namespace

namespace quirdal {

// This program's own stop points: a pause, not an end.
void puntoDiArresto(const char *nome)
{
    static const QByteArray pausa = qgetenv("QUIRDAL_PAUSA");
    if (pausa.isEmpty() || pausa != nome)
        return;
    scrivi(QStringLiteral("FERMO ") + QLatin1String(nome));
    char riga[16];
    if (!std::fgets(riga, sizeof riga, stdin))
        std::_Exit(137);
}

} // namespace quirdal

int main(int argc, char **argv)
{
    using namespace quirdal;
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() < 9)
        return 2;
    const QString comando = a[6];
    CorsiDB db(QStringLiteral("postazione"));
    try {
        cFileINI ini(a[1]);
        ini.setNomeFile(QDir(a[1]).filePath(kNomeIni));
        db.apri(leggiConnessione(ini), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        Sessione s;
        if (!impostaDomanda(s, db, a[2], a[3], a[4]))
            throw Errore(codici::Generico, QStringLiteral("Domanda non trovata."));
        s.impostaSede(a[5]);
        Piattaforma p;
        if (comando == QLatin1String("cancella")) {
            segnalaAttese(db);
            CancellaCorso(db, s, {s.numeroSede(), a[7], a[8]});
            scrivi(QStringLiteral("CANCELLATO"));
            return 0;
        }
        const bool nuovo = comando == QLatin1String("inserisci");
        if ((!nuovo && comando != QLatin1String("salva")) || a.size() < 10)
            return 2;
        const ChiaveCorso modello = nuovo ? ChiaveCorso{a[7].toLongLong(), a[8], a[9]} : ChiaveCorso{s.numeroSede(), a[7], a[8]};
        std::optional<DatiCorso> d = caricaCorso(db, s, modello);
        if (!d)
            throw Errore(codici::RigaCancellata, QStringLiteral("Corso non trovato."));
        if (nuovo) {
            d->chiave = {s.numeroSede(), QString(), QString()};
        } else {
            d->numAll = a[9].toLongLong();
        }
        segnalaAttese(db);
        const ChiaveCorso k = scriviCorso(db, s, p, *d);
        scrivi(QStringLiteral("CORSO ") + k.corso + QLatin1Char(' ') + k.accorp);
    } catch (const Errore &e) {
        scrivi(QStringLiteral("ERRORE ") + QString::number(e.numero()) + QLatin1Char(' ')
               + QString(e.descrizione()).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r')));
        return 1;
    }
    return 0;
}
