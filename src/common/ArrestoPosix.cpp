// The crash report's platform part on POSIX systems: sigaction on an alternate stack (so
// that a stack overflow is reported too), open/write/close, and the call stack from the
// C library where it has one (glibc's backtrace). Only async-signal-safe calls in the
// handler.
#include "common/ArrestoInterno.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#if __has_include(<execinfo.h>)
#include <execinfo.h>
#define QUIRDAL_PILA_CHIAMATE 1
#endif

namespace quirdal::arresto {

namespace {

constexpr int kSegnali[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr int kQuadri = 64;

alignas(16) char g_pilaAlternativa[64 * 1024];
char g_testo[4096];

void scriviTutto(int fd, const char *p, std::size_t n)
{
    while (n > 0) {
        const ssize_t k = ::write(fd, p, n);
        if (k < 0 && errno == EINTR)
            continue;
        if (k <= 0)
            return;
        p += k;
        n -= static_cast<std::size_t>(k);
    }
}

void scriviRapporto(int fd, int segnale, bool conIndirizzo, const void *indirizzo)
{
    scriviTutto(fd, g_testo, apertura(g_testo, sizeof g_testo, segnale, conIndirizzo, indirizzo));
#ifdef QUIRDAL_PILA_CHIAMATE
    void *quadri[kQuadri];
    const int n = ::backtrace(quadri, kQuadri);
    ::backtrace_symbols_fd(quadri, n, fd);
#else
    const char nessuna[] = "(non disponibile su questo sistema)\n";
    scriviTutto(fd, nessuna, sizeof nessuna - 1);
#endif
    scriviTutto(fd, chiusura(), std::strlen(chiusura()));
}

void gestore(int segnale, siginfo_t *info, void *)
{
    const int erroreSalvato = errno;
    if (primo()) {
        // The faulting address, when the fault is the kernel's and not a signal sent.
        const bool conIndirizzo =
            (segnale == SIGSEGV || segnale == SIGBUS || segnale == SIGFPE || segnale == SIGILL) && info && info->si_code > 0;
        const void *indirizzo = conIndirizzo ? info->si_addr : nullptr;
        const int fd = percorso()[0] ? ::open(percorso(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666) : -1;
        // Without the program folder the report still goes to the standard error.
        scriviRapporto(fd >= 0 ? fd : STDERR_FILENO, segnale, conIndirizzo, indirizzo);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
            const char dove[] = "Rapporto dell'arresto scritto in ";
            scriviTutto(STDERR_FILENO, dove, sizeof dove - 1);
            scriviTutto(STDERR_FILENO, percorso(), std::strlen(percorso()));
            scriviTutto(STDERR_FILENO, "\n", 1);
        }
    }
    errno = erroreSalvato;
    // The default action, now restored, ends the process as the signal would have: a
    // fault repeats on return, an abort or a raise is delivered again.
    struct sigaction predefinita { };
    predefinita.sa_handler = SIG_DFL;
    sigemptyset(&predefinita.sa_mask);
    ::sigaction(segnale, &predefinita, nullptr);
    ::raise(segnale);
}

} // namespace

void installaGestori()
{
#ifdef QUIRDAL_PILA_CHIAMATE
    // The first backtrace loads what it needs; done here, never inside the handler.
    void *quadro[1];
    ::backtrace(quadro, 1);
#endif
    stack_t pila{};
    pila.ss_sp = g_pilaAlternativa;
    pila.ss_size = sizeof g_pilaAlternativa;
    ::sigaltstack(&pila, nullptr);
    for (const int s : kSegnali) {
        struct sigaction a { };
        a.sa_sigaction = gestore;
        a.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&a.sa_mask);
        ::sigaction(s, &a, nullptr);
    }
}

} // namespace quirdal::arresto
