#pragma once
// The crash report: a program that ends on a fatal signal (SIGSEGV, SIGABRT, SIGBUS,
// SIGFPE, SIGILL), on std::terminate or on qFatal leaves a short report behind in the
// program folder — time, program and version, the signal and its cause, the screen in
// use, the call stack where the platform gives one — appended to QUIRDAL-arresto.log.
// Everything the report needs is prepared in advance in fixed buffers, so that the
// signal handler only formats numbers and writes.
#include <QDateTime>
#include <QString>
#include <optional>

namespace quirdal {

inline const QString kFileArresto = QStringLiteral("QUIRDAL-arresto.log");

// The log grows by one report per crash; at each installation a log beyond this size is
// cut to its latest reports.
constexpr qint64 kMassimoFileArresto = 256 * 1024;

// Installs the handlers for this process, the report going into the folder's log under
// the program's name. Call once, early, from the program's own thread.
void installaRapportoArresto(const QString &cartella, const QString &programma);
// The screen in use, for the report ("frmEmail \"Contatta l'assistenza\"", or the
// command of the command line); kept to its first few hundred bytes.
void registraSchermata(const QString &descrizione);

// One report of the log.
struct RapportoArresto {
    QString id;       // its heading: the time and the process, unique within the log
    QDateTime quando; // local time of the crash
    QString testo;    // the whole report, heading to closing line
};
// The latest report of the folder's log, if there is one.
std::optional<RapportoArresto> ultimoRapportoArresto(const QString &cartella);

} // namespace quirdal
