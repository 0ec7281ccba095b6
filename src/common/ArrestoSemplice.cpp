// The crash report's platform part where there is no POSIX signal interface: the
// standard library's signal() and file functions, with no call stack. The standard
// promises little inside a signal handler, so this is the best effort of a program that
// is ending anyway.
#include "common/ArrestoInterno.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace quirdal::arresto {

namespace {

char g_testo[4096];

void gestore(int segnale)
{
    if (primo()) {
        std::FILE *f = percorso()[0] ? std::fopen(percorso(), "ab") : nullptr;
        std::FILE *dove = f ? f : stderr;
        std::fwrite(g_testo, 1, apertura(g_testo, sizeof g_testo, segnale, false, nullptr), dove);
        const char nessuna[] = "(non disponibile su questo sistema)\n";
        std::fwrite(nessuna, 1, sizeof nessuna - 1, dove);
        std::fwrite(chiusura(), 1, std::strlen(chiusura()), dove);
        if (f)
            std::fclose(f);
    }
    std::signal(segnale, SIG_DFL);
    std::raise(segnale);
}

} // namespace

void installaGestori()
{
    for (const int s : {SIGSEGV, SIGABRT, SIGFPE, SIGILL})
        std::signal(s, gestore);
}

} // namespace quirdal::arresto
