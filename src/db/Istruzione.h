#pragma once
// A statement of the program's SQL, by name. Every SQL text the program runs is one of these,
// kept in the catalogue of its subsystem, so that a test prepares each of them on a freshly
// made schema (a misspelt column fails a test, not a user) and an engine whose dialect differs
// is given its own text beside the standard one, with the reason written there.
#include <QString>
#include <QStringList>

#include <span>

namespace quirdal {

// The database engines the program runs on.
enum class Motore { SQLite, PostgreSQL };

// A text left empty ("") says that the program never runs the statement on that engine: a
// PRAGMA of SQLite's own file handling, an advisory lock of the server. The catalogue says why,
// and asking for that text is an error of the program.
inline constexpr const char *kNessuno = "";

struct Istruzione {
    const char *nome; // "subsystem.what": unique in the program
    const char *sql;  // standard SQL that every engine runs; '?' marks each bound value
    // The PostgreSQL text where its dialect differs (the catalogue says why); none: sql.
    const char *postgres = nullptr;
    // A text with %1, %2 ... is completed at run time with names the program itself chooses
    // (a table of its schema, a list of its columns), never with a value. Here: the arguments
    // of each example the catalogue test prepares, examples apart by "|", arguments by ";".
    const char *esempi = nullptr;

    // Throws when the statement has no text for that engine (see kNessuno).
    QString testo(Motore m = Motore::SQLite) const;
    bool perMotore(Motore m) const { return *testoGrezzo(m) != '\0'; }
    const char *testoGrezzo(Motore m) const { return m == Motore::PostgreSQL && postgres ? postgres : sql; }
    bool completabile() const { return esempi != nullptr; }
};

// A statement completed with the names it takes (see Istruzione::esempi).
struct IstruzioneCompleta {
    const Istruzione &istruzione;
    QStringList nomi;
    QString testo(Motore m = Motore::SQLite) const;
};

inline IstruzioneCompleta completa(const Istruzione &i, const QStringList &nomi) { return {i, nomi}; }

// The statements of one subsystem, for the test that prepares them all.
struct Catalogo {
    const char *nome;
    const char *file; // the header that declares it, from the top of the sources
    std::span<const Istruzione *const> istruzioni;
};

} // namespace quirdal
