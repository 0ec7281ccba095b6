#pragma once
// What the benchmarks share: dialogs that only count their messages, and a program
// folder with a new database opened exclusive.
#include "common/Dialoghi.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "support/ServerProva.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <functional>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quirdal::bench {

class DialoghiMuti : public Dialoghi {
public:
    int messaggi = 0;
    Risposta messaggio(const QString &t, const QString &, Icona, Pulsanti) override
    {
        ++messaggi;
        QTextStream(stderr) << t << '\n';
        return Risposta::No;
    }
    std::optional<QString> chiediTesto(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaAprire(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaSalvare(const QString &, const QString &, const QString &) override { return {}; }
};

// The answers are "No": a question that would stop a real run stops the benchmark too.
class Banco {
public:
    QTemporaryDir dir;
    Sessione s;
    CorsiDB db{QStringLiteral("bench")};
    cFileINI ini{dir.path()};
    DialoghiMuti d;
    Piattaforma p;
    ImpostazioniUtente u{dir.filePath(QStringLiteral("utente.ini"))};
    Contesto c{dir.path(), s, db, ini, d, p, u};

    QString fileDb() const { return dir.filePath(QStringLiteral("QUIRDAL.mdb")); }
    Banco() { creaDatabase(fileDb(), QString::fromLatin1(CorsiDB::kPassword)); }
    void apri() { db.apri(connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Esclusivo); }

    // On a PostgreSQL server: a new database of its own there, dropped with the bench.
    explicit Banco(Motore m) : nomeDbServer(m == Motore::PostgreSQL ? test::nomeDatabaseNuovo() : QString())
    {
        if (!nomeDbServer.isEmpty())
            test::creaDatabaseServer(nomeDbServer);
        creaDatabase(connessione(), QString::fromLatin1(CorsiDB::kPassword));
    }
    ~Banco()
    {
        if (nomeDbServer.isEmpty())
            return;
        db.chiudi();
        try {
            test::eliminaDatabaseServer(nomeDbServer);
        } catch (const Errore &e) {
            QTextStream(stderr) << e.descrizione() << '\n';
        }
    }
    Banco(const Banco &) = delete;
    Banco &operator=(const Banco &) = delete;
    const QString nomeDbServer; // empty on SQLite
    bool suServer() const { return !nomeDbServer.isEmpty(); }
    DatiConnessione connessione() const
    {
        return suServer() ? test::serverDiProva(nomeDbServer) : DatiConnessione::diFile(fileDb());
    }
};

// The engine of a benchmark, as the tests take it: PostgreSQL where QUIRDAL_TEST_PG names a
// server (scripts/con-postgres), else SQLite.
inline Motore motoreBanco() { return test::motoreDiProva(); }

// One run of a measured piece: wall and CPU time in ms, and the peak of resident memory
// while it ran in KiB (-1 where the system cannot tell it for a part of a run).
struct Misura {
    double muro = 0, cpu = 0;
    qint64 picco = -1;
};

// The resident memory's high-water mark of this process ("VmHWM"), and its reset to what
// the process holds now, after handing back to the system what the allocator keeps free
// (Linux only; elsewhere nothing is measured).
inline qint64 piccoMemoria()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &riga : f.readAll().split('\n'))
        if (riga.startsWith("VmHWM:"))
            return riga.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}
inline bool azzeraPicco()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

inline Misura misura(const std::function<void()> &pezzo)
{
    const bool picco = azzeraPicco();
    QElapsedTimer t;
    const std::clock_t c0 = std::clock();
    t.start();
    pezzo();
    Misura m;
    m.muro = t.nsecsElapsed() / 1e6;
    m.cpu = double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC;
    m.picco = picco ? piccoMemoria() : -1;
    return m;
}

inline double mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
inline double minimo(const QList<double> &v) { return v.isEmpty() ? 0 : *std::min_element(v.begin(), v.end()); }

// The runs of one piece, and its line of the table: min and median of wall and CPU time,
// highest peak of memory.
struct Serie {
    QList<double> muro, cpu;
    qint64 picco = -1;
    void aggiungi(const Misura &m)
    {
        muro << m.muro;
        cpu << m.cpu;
        picco = std::max(picco, m.picco);
    }
    QString riga(const QString &nome) const
    {
        auto ms = [](double v) { return QString::number(v, 'f', 1).rightJustified(10); };
        return nome.leftJustified(26) + ms(minimo(muro)) + ms(mediana(muro)) + ms(minimo(cpu)) + ms(mediana(cpu))
            + (picco < 0 ? QStringLiteral("n/d") : QString::number(picco / 1024.0, 'f', 1)).rightJustified(11);
    }
    static QString intestazione()
    {
        return QStringLiteral("                            muro min  muro med   CPU min   CPU med  picco MiB\n"
                              "                                  ms        ms        ms        ms");
    }
};

// Pieces run in pairs, taking turns at going first, so that the load of the machine falls
// alike on both.
inline void alterna(int giri, Serie &a, const std::function<void()> &pa, Serie &b, const std::function<void()> &pb)
{
    for (int giro = 0; giro < giri; ++giro) {
        if (giro % 2 == 0) {
            a.aggiungi(misura(pa));
            b.aggiungi(misura(pb));
        } else {
            b.aggiungi(misura(pb));
            a.aggiungi(misura(pa));
        }
    }
}

// The whole number after "--nome" among a benchmark's arguments, or the default.
inline int opzione(const QStringList &argomenti, QLatin1String nome, int predefinito)
{
    const qsizetype i = argomenti.indexOf(nome);
    return i > 0 && i + 1 < argomenti.size() ? argomenti[i + 1].toInt() : predefinito;
}

} // namespace quirdal::bench
