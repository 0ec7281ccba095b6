#include "common/Arresto.h"

#include "common/ArrestoInterno.h"
#include "common/Testo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>

namespace quirdal {

namespace {

constexpr std::size_t kPercorso = 4096, kNome = 128, kSchermata = 512, kCausa = 1024;
constexpr char kInizio[] = "=== Arresto anomalo: ";
constexpr char kFine[] = "=== Fine del rapporto ===\n";

// Written before the handlers are installed, or (the screen, the cause, the clock's
// offset) through an index or flag that makes the new text visible only once whole.
char g_percorso[kPercorso];
char g_programma[kNome];
char g_versione[32];
long long g_processo = 0;
char g_schermate[2][kSchermata];
std::atomic<int> g_schermata{-1};
char g_causa[kCausa];
std::atomic<bool> g_conCausa{false};
std::atomic<long> g_scartoUtc{0}; // local time minus UTC, in seconds
std::atomic<bool> g_iniziato{false};
QtMessageHandler g_gestorePrecedente = nullptr;

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free
              && std::atomic<long>::is_always_lock_free);

// A text into a fixed buffer, cut at a whole UTF-8 character.
void copia(char *destinazione, std::size_t n, const QByteArray &testo)
{
    qsizetype l = std::min<qsizetype>(testo.size(), static_cast<qsizetype>(n) - 1);
    while (l > 0 && l < testo.size() && (static_cast<unsigned char>(testo[l]) & 0xC0) == 0x80)
        --l;
    std::memcpy(destinazione, testo.constData(), static_cast<std::size_t>(l));
    destinazione[l] = '\0';
}

// One line of the report: no line break, no control character.
QByteArray suUnaRiga(const QString &testo)
{
    QString t = senzaCaratteriDiControllo(testo);
    t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t.toUtf8();
}

void aggiornaScartoUtc() { g_scartoUtc.store(QDateTime::currentDateTime().offsetFromUtc()); }

void impostaCausa(const QByteArray &causa)
{
    if (g_conCausa.load())
        return; // the first cause is the one that counts
    copia(g_causa, kCausa, causa);
    g_conCausa.store(true);
}

// --- Composition, in the signal handler ---------------------------------------------------

struct Riga {
    char *p;
    std::size_t n, l = 0;
    void testo(const char *s)
    {
        while (*s && l + 1 < n)
            p[l++] = *s++;
    }
    void numero(unsigned long long v, int cifre = 1)
    {
        char b[24];
        int k = 0;
        do {
            b[k++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v > 0 || k < cifre);
        while (k > 0 && l + 1 < n)
            p[l++] = b[--k];
    }
    void esadecimale(std::uintptr_t v)
    {
        testo("0x");
        char b[2 * sizeof v];
        int k = 0;
        do {
            b[k++] = "0123456789abcdef"[v & 0xF];
            v >>= 4;
        } while (v > 0);
        while (k > 0 && l + 1 < n)
            p[l++] = b[--k];
    }
};

const char *nomeSegnale(int s)
{
    switch (s) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGABRT:
        return "SIGABRT";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
#ifdef SIGBUS
    case SIGBUS:
        return "SIGBUS";
#endif
    default:
        return "segnale";
    }
}

// Local date and time of a count of seconds since 1970, by arithmetic alone.
void dataOra(Riga &r, long long t)
{
    long long giorni = t / 86400, resto = t % 86400;
    if (resto < 0) {
        resto += 86400;
        --giorni;
    }
    giorni += 719468; // from 1 March of year 0
    const long long era = (giorni >= 0 ? giorni : giorni - 146096) / 146097;
    const auto gdE = static_cast<unsigned long long>(giorni - era * 146097);
    const unsigned long long adE = (gdE - gdE / 1460 + gdE / 36524 - gdE / 146096) / 365;
    const unsigned long long gdA = gdE - (365 * adE + adE / 4 - adE / 100);
    const unsigned long long mp = (5 * gdA + 2) / 153;
    const unsigned long long giorno = gdA - (153 * mp + 2) / 5 + 1;
    const unsigned long long mese = mp < 10 ? mp + 3 : mp - 9;
    const long long anno = static_cast<long long>(adE) + era * 400 + (mese <= 2 ? 1 : 0);
    r.numero(giorno, 2);
    r.testo("/");
    r.numero(mese, 2);
    r.testo("/");
    r.numero(static_cast<unsigned long long>(anno < 0 ? 0 : anno), 4);
    r.testo(" ");
    r.numero(static_cast<unsigned long long>(resto / 3600), 2);
    r.testo(":");
    r.numero(static_cast<unsigned long long>(resto / 60 % 60), 2);
    r.testo(":");
    r.numero(static_cast<unsigned long long>(resto % 60), 2);
}

// --- Routes into the report ------------------------------------------------------------

[[noreturn]] void gestoreTerminate()
{
    QByteArray causa = "std::terminate";
    if (const std::exception_ptr e = std::current_exception()) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception &x) {
            causa += ", eccezione non gestita: ";
            causa += x.what();
        } catch (...) {
            causa += ", eccezione non gestita di tipo sconosciuto";
        }
    }
    impostaCausa(suUnaRiga(QString::fromUtf8(causa)));
    std::abort();
}

void gestoreMessaggi(QtMsgType tipo, const QMessageLogContext &contesto, const QString &messaggio)
{
    if (tipo == QtFatalMsg) {
        QByteArray causa = "qFatal: " + suUnaRiga(messaggio);
        if (contesto.file)
            causa += " (" + QByteArray(contesto.file) + ':' + QByteArray::number(contesto.line) + ')';
        impostaCausa(causa);
    }
    if (g_gestorePrecedente) {
        g_gestorePrecedente(tipo, contesto, messaggio);
    } else {
        const QByteArray t = qFormatLogMessage(tipo, contesto, messaggio).toLocal8Bit();
        std::fprintf(stderr, "%s\n", t.constData());
    }
    // Qt aborts after a fatal message: SIGABRT writes the report with the cause above.
}

// A log grown beyond its limit keeps only its latest reports.
void limitaLog(const QString &percorso)
{
    QFile f(percorso);
    if (f.size() <= kMassimoFileArresto || !f.open(QIODevice::ReadOnly))
        return;
    const qint64 tenuti = kMassimoFileArresto / 2;
    f.seek(f.size() - tenuti);
    const QByteArray coda = f.read(tenuti);
    f.close();
    const qsizetype inizio = coda.indexOf(QByteArray("\n") + kInizio);
    QSaveFile nuovo(percorso);
    if (!nuovo.open(QIODevice::WriteOnly))
        return;
    const QByteArray resto = inizio < 0 ? QByteArray() : coda.mid(inizio + 1);
    if (nuovo.write(resto) == resto.size())
        nuovo.commit();
    else
        nuovo.cancelWriting();
}

} // namespace

namespace arresto {

const char *percorso() { return g_percorso; }

const char *chiusura() { return kFine; }

bool primo() { return !g_iniziato.exchange(true); }

std::size_t apertura(char *buf, std::size_t n, int segnale, bool conIndirizzo, const void *indirizzo)
{
    Riga r{buf, n};
    r.testo(kInizio);
    dataOra(r, static_cast<long long>(std::time(nullptr)) + g_scartoUtc.load());
    r.testo(", processo ");
    r.numero(static_cast<unsigned long long>(g_processo));
    r.testo(" ===\nProgramma: ");
    r.testo(g_programma);
    r.testo(", versione ");
    r.testo(g_versione);
    r.testo("\nSegnale: ");
    r.testo(nomeSegnale(segnale));
    r.testo(" (");
    r.numero(static_cast<unsigned long long>(segnale < 0 ? 0 : segnale));
    r.testo(")");
    if (conIndirizzo) {
        r.testo(", indirizzo ");
        r.esadecimale(reinterpret_cast<std::uintptr_t>(indirizzo));
    }
    if (g_conCausa.load()) {
        r.testo("\nCausa: ");
        r.testo(g_causa);
    }
    r.testo("\nSchermata: ");
    const int s = g_schermata.load();
    r.testo(s < 0 ? "nessuna" : g_schermate[s]);
    r.testo("\nPila delle chiamate:\n");
    buf[r.l] = '\0';
    return r.l;
}

} // namespace arresto

void installaRapportoArresto(const QString &cartella, const QString &programma)
{
    const QString percorso = QDir(cartella).filePath(kFileArresto);
    const QByteArray nativo = QFile::encodeName(QDir::toNativeSeparators(percorso));
    // A path that does not fit is no path: better no report than one in the wrong place.
    if (nativo.size() < static_cast<qsizetype>(kPercorso))
        copia(g_percorso, kPercorso, nativo);
    copia(g_programma, kNome, suUnaRiga(programma));
    copia(g_versione, sizeof g_versione, versioneProgramma().toUtf8());
    g_processo = QCoreApplication::applicationPid();
    aggiornaScartoUtc();
    limitaLog(percorso);
    // Installed once: a second call only moves the report (the message handler would
    // otherwise pass every message to itself).
    static bool installato = false;
    if (installato)
        return;
    installato = true;
    g_gestorePrecedente = qInstallMessageHandler(gestoreMessaggi);
    std::set_terminate(gestoreTerminate);
    arresto::installaGestori();
}

void registraSchermata(const QString &descrizione)
{
    // Written into the buffer the handler is not reading, then made the current one.
    const int libera = g_schermata.load() == 0 ? 1 : 0;
    copia(g_schermate[libera], kSchermata, suUnaRiga(descrizione));
    g_schermata.store(libera);
    aggiornaScartoUtc(); // the clock may have changed to or from summer time
}

std::optional<RapportoArresto> ultimoRapportoArresto(const QString &cartella)
{
    QFile f(QDir(cartella).filePath(kFileArresto));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The log is kept small; a larger one is read from its end.
    const qint64 daLeggere = std::min<qint64>(f.size(), 4 * kMassimoFileArresto);
    f.seek(f.size() - daLeggere);
    const QByteArray dati = f.read(daLeggere);
    qsizetype inizio = dati.lastIndexOf(QByteArray("\n") + kInizio);
    if (inizio >= 0)
        ++inizio;
    else if (dati.startsWith(kInizio))
        inizio = 0;
    else
        return std::nullopt;
    QByteArray testo = dati.mid(inizio);
    if (const qsizetype fine = testo.indexOf(kFine); fine >= 0)
        testo.truncate(fine + static_cast<qsizetype>(std::strlen(kFine)));
    RapportoArresto r;
    r.testo = QString::fromUtf8(testo);
    const qsizetype a = static_cast<qsizetype>(std::strlen(kInizio));
    const qsizetype b = testo.indexOf(" ===", a);
    if (b < 0)
        return std::nullopt; // a heading cut short: no report to speak of
    r.id = QString::fromUtf8(testo.mid(a, b - a));
    r.quando = QDateTime::fromString(r.id.left(19), QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    return r;
}

} // namespace quirdal
