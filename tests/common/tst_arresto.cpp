// The crash report: a program that ends on a fatal signal, std::terminate or qFatal at an
// explicit point leaves one report in its folder's log (time, program and version, the
// signal and its cause, the screen in use, the call stack), appended to what was there,
// the log kept within its size; quirdal-cli leaves one too.
#include "common/Arresto.h"
#include "support/Ambiente.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kVersione = u"%1.%2.%3"_s.arg(QUIRDAL_VERSIONE_MAJOR).arg(QUIRDAL_VERSIONE_MINOR).arg(QUIRDAL_VERSIONE_REVISION);

struct Guasto {
    qint64 pid = 0;
    QProcess::ExitStatus stato = QProcess::NormalExit;
    QDateTime prima, dopo; // the clock, to the second, around the run
};

// The test program ended in the way given, in the folder.
Guasto guasta(const QString &cartella, const QString &modo)
{
    Guasto g;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QDateTime ora = QDateTime::currentDateTime();
    g.prima = ora.addMSecs(-ora.time().msec());
    p.start(QStringLiteral(QUIRDAL_GUASTO), {cartella, modo});
    if (!p.waitForStarted(30000))
        return g;
    g.pid = p.processId();
    p.waitForFinished(120000);
    g.stato = p.exitStatus();
    g.dopo = QDateTime::currentDateTime();
    return g;
}

QString logDi(const QString &cartella) { return QString::fromUtf8(leggiFile(QDir(cartella).filePath(kFileArresto))); }

int intestazioni(const QString &log) { return static_cast<int>(log.count(u"=== Arresto anomalo: "_s)); }

// A report as the program writes it, for a log that already holds some.
QByteArray rapportoVecchio(int n)
{
    return u"=== Arresto anomalo: 01/01/2020 10:00:%1, processo %2 ===\nProgramma: quirdal, versione 0.9.0\n"
           "Segnale: SIGSEGV (11)\nSchermata: nessuna\nPila delle chiamate:\n%3\n=== Fine del rapporto ===\n"_s
               .arg(n % 60, 2, 10, QLatin1Char('0'))
               .arg(1000 + n)
               .arg(QString(200, u'x'))
               .toUtf8();
}

// The lines of the latest report, checked against what every report holds: its heading
// with the time and the process, the program, the signal line, the screen, the call stack
// heading, the closing line.
QStringList controllaRapporto(const QString &cartella, const QString &programma, qint64 pid, const QDateTime &prima,
                              const QDateTime &dopo)
{
    const std::optional<RapportoArresto> r = ultimoRapportoArresto(cartella);
    if (!r) {
        QTest::qFail("nessun rapporto nel log", __FILE__, __LINE__);
        return {};
    }
    const QStringList righe = r->testo.split(u'\n', Qt::SkipEmptyParts);
    static const QRegularExpression testa(
        u"^=== Arresto anomalo: (\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d), processo (\\d+) ===$"_s);
    const auto m = testa.match(righe.value(0));
    [&] {
        QVERIFY2(m.hasMatch(), qPrintable(righe.value(0)));
        QCOMPARE(m.captured(2).toLongLong(), pid);
        QCOMPARE(r->id, righe[0].mid(21, righe[0].size() - 25));
        QCOMPARE(r->quando, QDateTime::fromString(m.captured(1), u"dd/MM/yyyy hh:mm:ss"_s));
        QVERIFY2(r->quando >= prima && r->quando <= dopo, qPrintable(m.captured(1)));
        QCOMPARE(righe.value(1), u"Programma: "_s + programma + u", versione "_s + kVersione);
        QVERIFY(righe.contains(u"Pila delle chiamate:"_s));
        QCOMPARE(righe.last(), u"=== Fine del rapporto ==="_s);
    }();
    return righe;
}

// The frames of the call stack.
QStringList pila(const QStringList &righe)
{
    const qsizetype i = righe.indexOf(u"Pila delle chiamate:"_s);
    return i < 0 ? QStringList() : righe.mid(i + 1, righe.size() - i - 2);
}

bool contiene(const QStringList &righe, const QString &testo)
{
    return std::any_of(righe.cbegin(), righe.cend(), [&](const QString &r) { return r.contains(testo); });
}

} // namespace

class TestArresto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // modo: how the test program ends; segnale: the signal line; causa: the cause line,
    // "" when there is none; funzione: the test program's function the call stack holds.
    void rapporto_data()
    {
        colonne<QString, QString, QString, QString>("modo", "segnale", "causa", "funzione");
        QTest::newRow("accesso non valido") << "segv" << u"Segnale: SIGSEGV (%1), indirizzo 0x0"_s.arg(SIGSEGV) << ""
                                            << "guastoSegmentazione";
        QTest::newRow("abort") << "abort" << u"Segnale: SIGABRT (%1)"_s.arg(SIGABRT) << ""
                               << "guastoAbort";
        QTest::newRow("std::terminate") << "terminate" << u"Segnale: SIGABRT (%1)"_s.arg(SIGABRT)
                                        << "Causa: std::terminate, eccezione non gestita: eccezione di prova"
                                        << "guastoEccezione";
        QTest::newRow("qFatal") << "qfatal" << u"Segnale: SIGABRT (%1)"_s.arg(SIGABRT)
                                << "Causa: qFatal: errore fatale di prova 42"
                                << "guastoQFatal";
        QTest::newRow("SIGFPE") << "fpe" << u"Segnale: SIGFPE (%1)"_s.arg(SIGFPE) << ""
                                << "guastoSegnale";
        QTest::newRow("SIGILL") << "ill" << u"Segnale: SIGILL (%1)"_s.arg(SIGILL) << ""
                                << "guastoSegnale";
#ifdef SIGBUS
        QTest::newRow("SIGBUS") << "bus" << u"Segnale: SIGBUS (%1)"_s.arg(SIGBUS) << ""
                                << "guastoSegnale";
#endif
        // On its own stack: the report is written even when the program's stack is spent.
        QTest::newRow("pila esaurita") << "pila" << u"Segnale: SIGSEGV (%1), indirizzo 0x"_s.arg(SIGSEGV) << ""
                                       << "guastoPila";
    }
    void rapporto()
    {
        QFETCH(QString, modo);
        QFETCH(QString, segnale);
        QFETCH(QString, causa);
        QFETCH(QString, funzione);
        QTemporaryDir dir;
        const Guasto g = guasta(dir.path(), modo);
        QCOMPARE(g.stato, QProcess::CrashExit);
        QCOMPARE(intestazioni(logDi(dir.path())), 1);
        const QStringList righe = controllaRapporto(dir.path(), u"guasto"_s, g.pid, g.prima, g.dopo);
        if (QTest::currentTestFailed())
            return;
        if (segnale.endsWith("0x"_L1)) // where the stack ran out, not 0
            QVERIFY2(righe[2].startsWith(segnale) && righe[2] != segnale + u'0', qPrintable(righe[2]));
        else
            QCOMPARE(righe[2], segnale);
        qsizetype i = 3;
        if (!causa.isEmpty())
            QVERIFY2(righe.value(i++).startsWith(causa), qPrintable(righe.value(i - 1)));
        QCOMPARE(righe.value(i), uR"(Schermata: frmProva "Schermata di prova")"_s);
#if __has_include(<execinfo.h>)
        QVERIFY2(contiene(pila(righe), funzione), qPrintable(righe.join(u'\n')));
#else
        QCOMPARE(pila(righe), QStringList{u"(non disponibile su questo sistema)"_s});
#endif
    }

    // Reports are appended; a log beyond its limit keeps its latest reports, whole.
    void logAccodatoELimitato_data()
    {
        colonne<int, int>("vecchi", "attesi"); // reports there before; after, -1: cut
        QTest::newRow("primo") << 0 << 1;
        QTest::newRow("dopo altri due") << 2 << 3;
        QTest::newRow("oltre il limite") << static_cast<int>(kMassimoFileArresto / rapportoVecchio(0).size()) + 10 << -1;
    }
    void logAccodatoELimitato()
    {
        QFETCH(int, vecchi);
        QFETCH(int, attesi);
        QTemporaryDir dir;
        QByteArray prima;
        for (int n = 0; n < vecchi; ++n)
            prima += rapportoVecchio(n);
        QVERIFY(scriviFile(dir.filePath(kFileArresto), prima));
        const Guasto g = guasta(dir.path(), u"abort"_s);
        QCOMPARE(g.stato, QProcess::CrashExit);
        const QByteArray log = leggiFile(dir.filePath(kFileArresto));
        controllaRapporto(dir.path(), u"guasto"_s, g.pid, g.prima, g.dopo);
        if (attesi > 0) {
            QCOMPARE(intestazioni(QString::fromUtf8(log)), attesi);
            QVERIFY(log.startsWith(prima));
            return;
        }
        QVERIFY2(log.size() <= kMassimoFileArresto, qPrintable(QString::number(log.size())));
        // The older reports kept are the latest ones, whole, cut between two reports.
        const QByteArray tenuti = log.left(log.lastIndexOf("=== Arresto anomalo: "));
        QVERIFY(tenuti.startsWith("=== Arresto anomalo: 01/01/2020") && prima.endsWith(tenuti));
    }

    // What is read back as the latest report.
    void letturaDelLog_data()
    {
        colonne<QByteArray, QString>("log", "id"); // id "-": no report
        const QByteArray r1 = rapportoVecchio(1), r2 = rapportoVecchio(2);
        QTest::newRow("nessun log") << QByteArray() << "-";
        QTest::newRow("altro testo") << QByteArray("non un rapporto\n") << "-";
        QTest::newRow("uno") << r1 << "01/01/2020 10:00:01, processo 1001";
        QTest::newRow("l'ultimo di due") << r1 + r2 << "01/01/2020 10:00:02, processo 1002";
        QTest::newRow("l'ultimo interrotto") << r1 + r2.left(r2.indexOf("Pila")) << "01/01/2020 10:00:02, processo 1002";
        QTest::newRow("intestazione tagliata") << r1 + r2.left(30) << "-";
    }
    void letturaDelLog()
    {
        QFETCH(QByteArray, log);
        QFETCH(QString, id);
        QTemporaryDir dir;
        if (!log.isEmpty())
            QVERIFY(scriviFile(dir.filePath(kFileArresto), log));
        const std::optional<RapportoArresto> r = ultimoRapportoArresto(dir.path());
        QCOMPARE(r ? r->id : u"-"_s, id);
        if (r) {
            QVERIFY(log.endsWith(r->testo.toUtf8()));
            QVERIFY(r->testo.startsWith(u"=== Arresto anomalo: "_s + id + u" ===\n"_s));
        }
    }

#ifdef Q_OS_UNIX
    // quirdal-cli stopped by a signal while it reads a file that the test keeps open:
    // its report names the command.
    void rapportoDiQuirdalCli_data()
    {
        colonne<int, QString>("segnale", "riga");
        QTest::newRow("SIGABRT") << SIGABRT << u"Segnale: SIGABRT (%1)"_s.arg(SIGABRT);
        QTest::newRow("SIGSEGV") << SIGSEGV << u"Segnale: SIGSEGV (%1)"_s.arg(SIGSEGV); // sent: no address
    }
    void rapportoDiQuirdalCli()
    {
        QFETCH(int, segnale);
        QFETCH(QString, riga);
        Ambiente a;
        a.scriviIni();
        a.creaDb();
        const QTemporaryDir &dir = a.dir;
        const QString cli = qEnvironmentVariable("QUIRDAL_TEST_CLI");
        const QByteArray fifo = QFile::encodeName(dir.filePath(u"istruzioni.sql"_s));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        const QDateTime ora = QDateTime::currentDateTime();
        const QDateTime prima = ora.addMSecs(-ora.time().msec());
        p.start(cli, {u"--cartella"_s, dir.path(), u"esegui-sql"_s, dir.filePath(u"istruzioni.sql"_s)});
        QVERIFY(p.waitForStarted(30000));
        const qint64 pid = p.processId();
        // The command has opened the file for reading once the write end opens: it is
        // past its start and waits for the statements.
        int fd = -1;
        while (fd < 0 && p.state() == QProcess::Running) {
            fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                p.waitForFinished(20);
        }
        QVERIFY2(fd >= 0, "quirdal-cli non ha aperto il file");
        QCOMPARE(::kill(static_cast<pid_t>(pid), segnale), 0);
        QVERIFY(p.waitForFinished(60000));
        ::close(fd);
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        const QStringList righe = controllaRapporto(dir.path(), u"quirdal-cli"_s, pid, prima, QDateTime::currentDateTime());
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(righe.value(2), riga);
        QCOMPARE(righe.value(3), u"Schermata: quirdal-cli esegui-sql"_s);
#if __has_include(<execinfo.h>)
        QVERIFY2(contiene(pila(righe), u"quirdal-cli("_s), qPrintable(righe.join(u'\n')));
#endif
    }
#endif
};

QTEST_GUILESS_MAIN(TestArresto)
#include "tst_arresto.moc"
