// The lookup-table pass on large synthetic files, in install and in update mode, over both
// roads of the prepared statements (db/IstruzionePreparata.h: "diretta", SQLite's C API on
// Qt's handle, where the build compiled it in; "portabile", one reused QSqlQuery), beside
// the same rows inserted through the raw SQLite C API (one prepared statement, one
// transaction, the rows already split) into a database of its own, measured in the same run.
//
// Every load is paired with a raw insert, run just before it in one round and just after it
// in the next, and the roads take turns (diretta first in one round, portabile first in the
// next), so that the load of the machine falls alike on both sides. Per size, road and mode:
//   s min, s med     the loader's fastest and median time over the rounds
//   grezzo min       the fastest raw insert of the same rows
//   rapp. min        loader rows/s over raw rows/s, fastest against fastest
//   rapp. med        the median of the same ratio taken pair by pair
// A ratio of 1.00 is as fast as raw SQLite; higher is better. The install mode is the
// comparable one (the same rows into an empty table); the update mode overwrites half the
// rows and adds the other half, which the raw insert does not do.
//
//   bench_tabelle [--righe N[,N...]] [--giri K] [--via diretta|portabile]
//                                                 default 10000,100000, 5 rounds, both roads
//   bench_tabelle --genera FILE N                 writes a synthetic Comuni.txt of N rows
#include "Banco.h"
#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "db/CorsiDB.h"
#include "db/IstruzionePreparata.h"
#include "db/Schema.h"
#include "loading/TabelleDecodifica.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTextStream>

#include <algorithm>

#include <sqlite3.h>

using namespace quirdal;
using Via = IstruzionePreparata::Via;

namespace {

// Municipalities "001000".."999999": code, name, province, abbreviation, postal code.
void generaComuni(const QString &file, int righe, int scarto = 0, const QByteArray &intestazione = "#INSTALLAZIONE#")
{
    QFile f(file);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray dati = intestazione + "\r\n";
    dati.reserve(righe * 48);
    for (int i = 0; i < righe; ++i) {
        const int n = i + scarto;
        const QString cod = QStringLiteral("%1").arg(n + 1000, 6, 10, QLatin1Char('0'));
        const QString prov = cod.left(3);
        dati += aWindows1252(QStringLiteral("#%1#,#COMUNE DI PROVA N. %2 À#,#%3#,#P%4#,#%5#\r\n")
                                 .arg(cod)
                                 .arg(n)
                                 .arg(prov)
                                 .arg(n % 10)
                                 .arg(10000 + n % 90000));
    }
    f.write(dati);
}

QList<QStringList> leggiRecord(const QString &file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    QList<QStringList> r;
    const QStringList righe = daWindows1252(f.readAll()).split(QStringLiteral("\r\n"));
    for (int i = 1; i < righe.size(); ++i)
        if (!righe[i].isEmpty())
            r << dividiRecord(righe[i]);
    return r;
}

// The raw insert, on a database of its own (the loader's is held exclusive).
double grezzo(const QString &db, const QList<QStringList> &record)
{
    sqlite3 *h = nullptr;
    sqlite3_open(db.toUtf8().constData(), &h);
    sqlite3_exec(h, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    QElapsedTimer t;
    t.start();
    sqlite3_exec(h, "BEGIN IMMEDIATE; DELETE FROM Comuni", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(h, "INSERT INTO Comuni (CodComune, Denominazione, PROV, SigProv, Cap) VALUES (?,?,?,?,?)", -1, &st,
                       nullptr);
    for (const QStringList &r : record) {
        for (int i = 0; i < 5; ++i) {
            const QByteArray v = r[i].toUtf8();
            sqlite3_bind_text(st, i + 1, v.constData(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    const double s = t.nsecsElapsed() / 1e9;
    sqlite3_close(h);
    return s;
}

double mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double minimo(const QList<double> &v) { return v.isEmpty() ? 0 : *std::min_element(v.begin(), v.end()); }

// The times of one road and mode, with the raw time of each pair.
struct Misure {
    QList<double> carico, grezzo;
    QList<double> rapporti() const
    {
        QList<double> r;
        for (qsizetype i = 0; i < carico.size(); ++i)
            r << grezzo[i] / carico[i];
        return r;
    }
};

QString nomeVia(Via v) { return v == Via::Diretta ? QStringLiteral("diretta") : QStringLiteral("portabile"); }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (a.size() == 4 && a[1] == QLatin1String("--genera")) {
        generaComuni(a[2], a[3].toInt());
        return 0;
    }
    QList<int> dimensioni{10000, 100000};
    int giri = 5;
    QString soloVia;
    for (int i = 1; i + 1 < a.size(); i += 2) {
        if (a[i] == QLatin1String("--righe")) {
            dimensioni.clear();
            for (const QString &n : a[i + 1].split(QLatin1Char(',')))
                dimensioni << n.toInt();
        } else if (a[i] == QLatin1String("--giri")) {
            giri = std::max(1, a[i + 1].toInt());
        } else if (a[i] == QLatin1String("--via")) {
            soloVia = a[i + 1];
        }
    }
    QList<Via> vie{Via::Portabile};
    if (IstruzionePreparata::viaDirettaCompilata())
        vie.prepend(Via::Diretta);
    else
        out << "Questa build non ha la via diretta (Qt e il programma non condividono la stessa SQLite).\n";
    if (!soloVia.isEmpty())
        vie.removeIf([&](Via v) { return nomeVia(v) != soloVia; });
    out << "Rapporto = righe/s del caricamento / righe/s di SQLite grezzo (1.00 = come SQLite grezzo; "
           "più alto è meglio; obiettivo >= 0.75 in installazione). "
        << giri << " giri, coppie alternate.\n";
    out << "righe      via        modo        s min    s med  righe/s min  grezzo min  rapp. min  rapp. med\n";
    int esito = 0;
    for (const int n : dimensioni) {
        bench::Banco b;
        Sessione &s = b.s;
        CorsiDB &db = b.db;
        Contesto &c = b.c;
        const QString installa = b.dir.filePath(QStringLiteral("installa/Comuni.txt"));
        const QString aggiorna = b.dir.filePath(QStringLiteral("aggiorna/Comuni.txt"));
        QDir(b.dir.path()).mkpath(QStringLiteral("installa"));
        QDir(b.dir.path()).mkpath(QStringLiteral("aggiorna"));
        generaComuni(installa, n);
        generaComuni(aggiorna, n, n / 2, "#AGGIORNAMENTO#"); // half the rows already there, half new
        const QList<QStringList> record = leggiRecord(installa);
        const QString dbGrezzo = b.dir.filePath(QStringLiteral("grezzo.mdb"));
        creaDatabase(dbGrezzo, QString::fromLatin1(CorsiDB::kPassword));
        b.apri();
        ProgressoCaricamento progresso;
        const QStringList chiavi = terminiChiave(c, QStringLiteral("Comuni"));

        QMap<std::pair<int, bool>, Misure> misure; // (road, install) -> times
        for (int giro = 0; giro < giri; ++giro) {
            QList<Via> ordine = vie;
            if (giro % 2)
                std::reverse(ordine.begin(), ordine.end());
            for (const Via via : ordine) {
                IstruzionePreparata::scegliVia(via);
                for (const bool inst : {true, false}) {
                    // The raw insert goes first in one round and second in the next, as the roads do.
                    double sGrezzo = giro % 2 ? 0 : grezzo(dbGrezzo, record);
                    s.gInstallaTabelle = flag(inst);
                    QElapsedTimer t;
                    t.start();
                    const int caricati =
                        caricaTabella(c, inst ? installa : aggiorna, QStringLiteral("Comuni"), chiavi, progresso);
                    const double sec = t.nsecsElapsed() / 1e9;
                    if (giro % 2)
                        sGrezzo = grezzo(dbGrezzo, record);
                    if (caricati != n)
                        esito = 1;
                    Misure &m = misure[{static_cast<int>(via), inst}];
                    m.carico << sec;
                    m.grezzo << sGrezzo;
                }
                const int totale = db.valoreScalare(QStringLiteral("SELECT count(*) FROM Comuni")).toInt();
                if (totale != n + n / 2)
                    esito = 1;
            }
        }
        for (const Via via : vie) {
            for (const bool inst : {true, false}) {
                const Misure &m = misure[{static_cast<int>(via), inst}];
                const double sMin = minimo(m.carico), gMin = minimo(m.grezzo);
                out << QString::number(n).leftJustified(11) << nomeVia(via).leftJustified(11)
                    << (inst ? QStringLiteral("installa") : QStringLiteral("aggiorna")).leftJustified(8)
                    << QString::number(sMin, 'f', 3).rightJustified(9)
                    << QString::number(mediana(m.carico), 'f', 3).rightJustified(9)
                    << QString::number(n / sMin, 'f', 0).rightJustified(13) << QString::number(gMin, 'f', 3).rightJustified(12)
                    << QString::number(gMin / sMin, 'f', 2).rightJustified(11)
                    << QString::number(mediana(m.rapporti()), 'f', 2).rightJustified(11) << '\n';
            }
        }
        out.flush();
        db.chiudi();
    }
    return esito;
}
