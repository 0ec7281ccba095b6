#pragma once
// The shared helpers: texts, the record splitter, dates, phones, e-mail addresses, files
// and processes.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "common/Testo.h"

class QIODevice;

namespace quirdal {

// --- Texts and SQL -------------------------------------------------------------

QString raddoppiaApici(const QVariant &valore); // Null gives ""
QString sostituisci(const QString &testo, const QString &cerca, const QString &con);
// Element n (from 0) of the text split on the separator, trimmed; "" when absent.
QString elementoN(const QString &testo, const QString &separatore, int n);
QString dopoTrattino(const QString &testo);  // trimmed text after the first "-"
QString primaTrattino(const QString &testo); // trimmed text before the first " -"
// Blanks to width n: "dx" in front (right-aligned), "sx" behind; any other side "".
// A text already as wide or wider comes back unchanged.
QString riempi(const QString &testo, int n, const QString &lato);
QString riempiDavanti(const QString &testo, int n);
QString riempiFinoA(const QString &testo, int n);
// "." when the text is longer than n characters (the prints mark cut texts), else " ".
QString segnoTroncato(const QString &testo, int n);
// The code of the upper-case letter of a typed character code.
int maiuscolo(int codiceTasto);
// A value converted to the type of a code: "S" text (trimmed), "I" 16-bit, "L" 32-bit,
// "DBL" double, "B" yes/no, "D" date. An unknown code gives the value unchanged.
QVariant valoreTipizzato(const QVariant &valore, const QString &tipo);

// --- Data files ------------------------------------------------------------------

constexpr int kCampiRecord = 51;
// One line of a data file in its fields: "#" field "#" separator "#" field "#" ...
// The first character is skipped, a field runs to the next "#", the "#" and the two
// characters after it are skipped; at most 51 fields (the rest of the array is ""). A
// last field not closed by "#" ends at the end of the line. completa false: only the
// fields the line holds (for the loaders, which read absent fields as "").
QStringList dividiRecord(const QString &riga, bool completa = true);

// The lines of a data file, read from a device a piece at a time: CR LF, LF and CR
// alone each end a line; a UTF-8 byte-order mark at the very start is skipped. What it
// holds is one piece of the file and the line being read, never the whole file.
class LettoreRighe {
public:
    explicit LettoreRighe(QIODevice &dispositivo) : m_d(dispositivo) { }
    // The next line, without its line end; false at the end of the data.
    bool prossima(QByteArray &riga);
    int numero() const { return m_numero; } // of the line last returned, from 1
    bool erroreLettura() const { return m_errore; }

private:
    bool riempi();

    QIODevice &m_d;
    QByteArray m_pezzo;
    qsizetype m_pos = 0;
    int m_numero = 0;
    bool m_inizio = true, m_fine = false, m_errore = false, m_saltaLF = false;
};

// One record line of a data file: its number and fields. A line that does not begin
// with "#", or that holds a NUL byte, is kept as not valid, for the loader to refuse.
struct RigaDati {
    enum class Difetto { Nessuno, SenzaCancelletto, CarattereNullo };
    int numero = 0;
    QStringList campi;
    Difetto difetto = Difetto::Nessuno;
    bool valida() const { return difetto == Difetto::Nessuno; }
    // Why the line is not valid, for the loader's message (file: its name, when given).
    QString motivo(const QString &file = {}) const;
};

// The records of a data file (Windows-1252), one at a time; blank lines are passed
// over, each record is trimmed before it is split.
class LettoreDati {
public:
    explicit LettoreDati(QIODevice &dispositivo) : m_righe(dispositivo) { }
    // Line 1 as a header, not read as a record (the lookup-table files have one).
    QString intestazione();
    bool prossimo(RigaDati &r);
    bool erroreLettura() const { return m_righe.erroreLettura(); }

private:
    LettoreRighe m_righe;
    QByteArray m_riga;
};

// The records of a data file: how many there are (header excluded when it has one);
// -1 when it cannot be read.
int contaRecord(const QString &percorso, bool conIntestazione);

// --- Checks ----------------------------------------------------------------------

// A date typed as 10 characters (day, month, year with separators) or 8 digits
// (DDMMYYYY), as "dd/mm/yyyy" when it is a calendar date.
std::optional<QString> controllaData(const QString &testo);
// Both parts reduced to digits; empty prefix: the number; a number that already begins
// with the prefix: the number; otherwise prefix + number, unless longer than massimo.
QString unisciTelefono(const QString &prefisso, const QString &numero, int massimo = 13);
// "" for a valid address, else the first message that applies.
QString controllaEmail(const QString &indirizzo);
inline const QString kTitoloEmail = QStringLiteral("INDIRIZZO E-MAIL");

// --- Files and processes ------------------------------------------------------------

// The data files the program folder receives, as the program names them: those of the
// operator load, and the two flags of the lookup-table pass.
const QStringList &fileDatiOperatori();
const QStringList &fileFlagTabelle();

// The file of that name in the folder, its letter case ignored as on the region's
// systems; "" when there is none.
QString trovaFile(const QString &cartella, const QString &nome);
// When the source exists: destination folder created, older destination replaced.
bool spostaFile(const QString &da, const QString &a);
bool fileHaRighe(const QString &percorso);
bool fileVuoto(const QString &percorso);
// A text file of the program folder, lines joined with line feeds.
QString leggiFileTesto(const QString &cartella, const QString &nome);
// Starts a program and waits for its end, keeping the screens alive. Exit code, or -1
// when it could not start.
int eseguiEAttendi(const QString &programma, const QStringList &argomenti);

} // namespace quirdal
