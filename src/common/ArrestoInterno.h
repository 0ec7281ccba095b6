#pragma once
// Between the crash report's portable part (Arresto.cpp) and its platform part: the
// platform part catches the signals and writes; what it writes was prepared by the
// portable part. Every function here may be called from a signal handler.
#include <cstddef>

namespace quirdal::arresto {

// The log's path in the file system's encoding; "" before the installation.
const char *percorso();
// The opening of the report, up to the heading of the call stack, into buf; its length.
// segnale: the signal number; indirizzo: the faulting address, when conIndirizzo.
std::size_t apertura(char *buf, std::size_t n, int segnale, bool conIndirizzo, const void *indirizzo);
// The report's closing line.
const char *chiusura();
// True for the first caller only: one report per process, however the end goes on.
bool primo();

// Platform part: installs the handlers of the fatal signals (once, from
// installaRapportoArresto) and readies the call-stack reader.
void installaGestori();

} // namespace quirdal::arresto
