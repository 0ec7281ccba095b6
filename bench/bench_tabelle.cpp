// The lookup-table pass on large synthetic files, in install and in update mode, beside
// the same rows inserted through the raw SQLite C API (one prepared statement, one
// transaction), measured in the same run.
//
//   bench_tabelle [--righe N[,N...]]      default 10000,100000
//   bench_tabelle --genera FILE N          writes a synthetic Comuni.txt of N rows
#include "common/Codifica.h"
#include "Banco.h"
#include "common/Dialoghi.h"
#include "common/Generale.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "loading/TabelleDecodifica.h"
#include "common/Contesto.h"
#include "common/Sessione.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

using namespace quirdal;

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

double grezzo(const QString &db, const QList<QStringList> &record)
{
    sqlite3 *h = nullptr;
    sqlite3_open(db.toUtf8().constData(), &h);
    sqlite3_exec(h, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    QElapsedTimer t;
    t.start();
    sqlite3_exec(h, "BEGIN IMMEDIATE; DELETE FROM Comuni", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(h, "INSERT INTO Comuni (CodComune, Denominazione, PROV, SigProv, Cap) VALUES (?,?,?,?,?)", -1,
                       &st, nullptr);
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
    if (a.size() == 3 && a[1] == QLatin1String("--righe")) {
        dimensioni.clear();
        for (const QString &n : a[2].split(QLatin1Char(',')))
            dimensioni << n.toInt();
    }
    out << "righe      modo         s        righe/s    grezzo righe/s   rapporto\n";
    int esito = 0;
    for (const int n : dimensioni) {
        bench::Banco b;
        Sessione &s = b.s;
        CorsiDB &db = b.db;
        Contesto &c = b.c;
        const QString dati = b.dir.filePath(QStringLiteral("Comuni.txt"));
        generaComuni(dati, n);
        const double sGrezzo = grezzo(b.fileDb(), leggiRecord(dati));
        b.apri();
        ProgressoCaricamento progresso;
        const QStringList chiavi = terminiChiave(c, QStringLiteral("Comuni"));

        for (const bool installa : {true, false}) {
            if (!installa)
                generaComuni(dati, n, n / 2, "#AGGIORNAMENTO#"); // half the rows already there, half new
            s.gInstallaTabelle = flag(installa);
            QElapsedTimer t;
            t.start();
            const int caricati = caricaTabella(c, dati, QStringLiteral("Comuni"), chiavi, progresso);
            const double sec = t.nsecsElapsed() / 1e9;
            if (caricati != n)
                esito = 1;
            out << QString::number(n).leftJustified(10) << (installa ? "installa" : "aggiorna") << "  "
                << QString::number(sec, 'f', 3).rightJustified(8) << QString::number(n / sec, 'f', 0).rightJustified(14)
                << QString::number(n / sGrezzo, 'f', 0).rightJustified(17)
                << QString::number((n / sec) / (n / sGrezzo), 'f', 2).rightJustified(11) << '\n';
        }
        const int totale = db.valoreScalare(QStringLiteral("SELECT count(*) FROM Comuni")).toInt();
        if (totale != n + n / 2)
            esito = 1;
        db.chiudi();
    }
    return esito;
}
