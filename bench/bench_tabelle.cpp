// The lookup-table pass on large synthetic files, in install and in update mode, beside the
// same rows inserted raw, the rows already split, into a database of its own on the same
// engine, measured in the same run:
// - SQLite: the raw SQLite C API, one prepared statement, one transaction. The loader runs over
//   both roads of the prepared statements (db/IstruzionePreparata.h: "diretta", SQLite's C API
//   on Qt's handle, where the build compiled it in; "portabile", one reused QSqlQuery).
// - PostgreSQL (when QUIRDAL_TEST_PG names a server, as for the tests: scripts/con-postgres
//   build/bench/bench_tabelle): Qt's driver cannot COPY. Of what it can do, the fastest raw way
//   measured is the baseline: one INSERT ... SELECT * FROM unnest() of one text array per
//   column, bound as text, for all the rows in one transaction. Measured slower on the same
//   server: a prepared INSERT row by row (about 5 times the time), multi-row prepared INSERTs
//   of 100 and of 1000 rows a statement (about 2 to 3 times); one array of the table's row type
//   was no faster.
//
// Every load is paired with a raw insert, run just before it in one round and just after it
// in the next, and the roads take turns (diretta first in one round, portabile first in the
// next), so that the load of the machine falls alike on both sides. Per size, road and mode,
// over the rounds:
//   muro min, med   the loader's fastest and median wall time
//   CPU min, med    the same for this process's CPU time (on a server, the server's own work
//                   is in the wall time only)
//   grezzo min      the fastest raw insert of the same rows, wall and CPU
//   rapp. min       loader rows/s over raw rows/s, fastest against fastest (wall time)
//   rapp. med       the median of the same ratio taken pair by pair
// A ratio of 1.00 is as fast as the raw insert; higher is better. The install mode is the
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
#include <QFile>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>

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

[[noreturn]] void fallito(const QString &cosa)
{
    QTextStream(stderr) << "inserimento grezzo fallito: " << cosa << '\n';
    std::exit(2);
}

// The raw insert into SQLite, on a database of its own (the loader's is held exclusive).
void grezzoSqlite(const QString &db, const QList<QStringList> &record)
{
    sqlite3 *h = nullptr;
    sqlite3_open(db.toUtf8().constData(), &h);
    sqlite3_exec(h, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
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
    sqlite3_close(h);
}

// An array of texts as the server reads it: every element quoted, "\" and '"' escaped.
QString vettore(const QList<QStringList> &record, int colonna)
{
    QString r;
    r.reserve(record.size() * 24);
    r += QLatin1Char('{');
    for (const QStringList &rec : record) {
        if (r.size() > 1)
            r += QLatin1Char(',');
        r += QLatin1Char('"');
        for (const QChar ch : rec[colonna]) {
            if (ch == u'"' || ch == u'\\')
                r += QLatin1Char('\\');
            r += ch;
        }
        r += QLatin1Char('"');
    }
    r += QLatin1Char('}');
    return r;
}

// The raw insert on the server, on a database of its own, through Qt's driver: one statement
// of one array per column in one transaction.
void grezzoServer(QSqlDatabase &d, const QList<QStringList> &record)
{
    QSqlQuery q(d);
    auto esegui = [&](const QString &sql) {
        if (!q.exec(sql))
            fallito(q.lastError().text());
    };
    esegui(QStringLiteral("BEGIN"));
    esegui(QStringLiteral("DELETE FROM Comuni"));
    if (!q.prepare(QStringLiteral("INSERT INTO Comuni (CodComune, Denominazione, PROV, SigProv, Cap) SELECT * FROM "
                                  "unnest(?::text[], ?::text[], ?::text[], ?::text[], ?::text[])")))
        fallito(q.lastError().text());
    for (int i = 0; i < 5; ++i)
        q.bindValue(i, vettore(record, i));
    if (!q.exec())
        fallito(q.lastError().text());
    esegui(QStringLiteral("COMMIT"));
}

QString nomeVia(Via v) { return v == Via::Diretta ? QStringLiteral("diretta") : QStringLiteral("portabile"); }

// The times of one road and mode, with those of the raw insert of each pair.
struct Misure {
    bench::Serie carico, grezzo;
    QList<double> rapporti() const
    {
        QList<double> r;
        for (qsizetype i = 0; i < carico.muro.size(); ++i)
            r << grezzo.muro[i] / carico.muro[i];
        return r;
    }
};

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
    QString soloVia;
    for (int i = 1; i + 1 < a.size(); i += 2) {
        if (a[i] == QLatin1String("--righe")) {
            dimensioni.clear();
            for (const QString &n : a[i + 1].split(QLatin1Char(',')))
                dimensioni << n.toInt();
        } else if (a[i] == QLatin1String("--via")) {
            soloVia = a[i + 1];
        }
    }
    const int giri = std::max(1, bench::opzione(a, QLatin1String("--giri"), 5));
    const Motore motore = bench::motoreBanco();
    const bool server = motore == Motore::PostgreSQL;
    QList<Via> vie{Via::Portabile};
    if (server)
        out << "Su PostgreSQL c'è la sola via portabile.\n";
    else if (IstruzionePreparata::viaDirettaCompilata())
        vie.prepend(Via::Diretta);
    else
        out << "Questa build non ha la via diretta (Qt e il programma non condividono la stessa SQLite).\n";
    if (!soloVia.isEmpty())
        vie.removeIf([&](Via v) { return nomeVia(v) != soloVia; });
    out << nomeMotore(motore) << ". Rapporto = righe/s del caricamento / righe/s dell'inserimento grezzo (1.00 = "
        << "come il grezzo; più alto è meglio; obiettivo in installazione >= " << (server ? "0.5" : "0.75") << "). " << giri
        << " giri, coppie alternate; tempi in ms.\n";
    out << "righe   via       modo      muro min  muro med   CPU min   CPU med  grezzo muro  grezzo CPU  rapp. min  rapp. med\n";
    int esito = 0;
    for (const int n : dimensioni) {
        bench::Banco b(motore), g(motore); // the loader's database, the raw insert's
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
        const QString nomeGrezzo = QStringLiteral("grezzo");
        QSqlDatabase dGrezzo;
        if (server)
            dGrezzo = CorsiDB::connettiServer(g.connessione(), nomeGrezzo);
        const std::function<void()> grezzo = [&] {
            if (server)
                grezzoServer(dGrezzo, record);
            else
                grezzoSqlite(g.fileDb(), record);
        };
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
                    Misure &m = misure[{static_cast<int>(via), inst}];
                    const std::function<void()> carica = [&] {
                        s.gInstallaTabelle = flag(inst);
                        if (caricaTabella(c, inst ? installa : aggiorna, QStringLiteral("Comuni"), chiavi, progresso) != n)
                            esito = 1;
                    };
                    // The raw insert goes first in one round and second in the next.
                    if (giro % 2 == 0)
                        m.grezzo.aggiungi(bench::misura(grezzo));
                    m.carico.aggiungi(bench::misura(carica));
                    if (giro % 2 == 1)
                        m.grezzo.aggiungi(bench::misura(grezzo));
                }
                const int totale = db.valoreScalare(QStringLiteral("SELECT count(*) FROM Comuni")).toInt();
                if (totale != n + n / 2)
                    esito = 1;
            }
        }
        for (const Via via : vie) {
            for (const bool inst : {true, false}) {
                const Misure &m = misure[{static_cast<int>(via), inst}];
                auto ms = [](double v, int w) { return QString::number(v, 'f', 1).rightJustified(w); };
                out << QString::number(n).leftJustified(8) << nomeVia(via).leftJustified(10)
                    << (inst ? QStringLiteral("installa") : QStringLiteral("aggiorna")).leftJustified(8)
                    << ms(bench::minimo(m.carico.muro), 10) << ms(bench::mediana(m.carico.muro), 10)
                    << ms(bench::minimo(m.carico.cpu), 10) << ms(bench::mediana(m.carico.cpu), 10)
                    << ms(bench::minimo(m.grezzo.muro), 13) << ms(bench::minimo(m.grezzo.cpu), 12)
                    << QString::number(bench::minimo(m.grezzo.muro) / bench::minimo(m.carico.muro), 'f', 2).rightJustified(11)
                    << QString::number(bench::mediana(m.rapporti()), 'f', 2).rightJustified(11) << '\n';
            }
        }
        out.flush();
        db.chiudi();
        dGrezzo = QSqlDatabase();
        QSqlDatabase::removeDatabase(nomeGrezzo);
    }
    return esito;
}
