#pragma once
// The statements of the connection itself: opening (SQLite's file settings, the server's
// locks), the password seal, transactions, and the reading of the schema from the database's
// own catalogue. Most of them differ between the engines; each says why.
#include "db/Istruzione.h"

namespace quirdal::sql::connessione {

// --- Opening ---
// SQLite: the journal a network share can hold and a write that reaches the disk before it is
// confirmed. The server keeps its own log and flushes it itself: nothing to set there.
inline constexpr Istruzione kGiornale{"connessione.giornale", "PRAGMA journal_mode=DELETE", kNessuno};
inline constexpr Istruzione kSincrono{"connessione.sincrono", "PRAGMA synchronous=FULL", kNessuno};
// How long a statement waits for another workstation's lock, in milliseconds: SQLite's busy
// timeout; the server's lock_timeout (there 0 would mean "for ever": the layer never sends 0).
inline constexpr Istruzione kAttesa{"connessione.attesa", "PRAGMA busy_timeout = %1", "SET lock_timeout = %1", "20000|1"};
// SQLite's exclusive use: the file lock, taken by the first write transaction and kept until
// the file is closed. On the server the advisory locks below take its place.
inline constexpr Istruzione kModoEsclusivo{"connessione.modoEsclusivo", "PRAGMA locking_mode=EXCLUSIVE", kNessuno};
inline constexpr Istruzione kPrendiEsclusivo{"connessione.prendiEsclusivo", "BEGIN EXCLUSIVE", kNessuno};
// The presence of a workstation on SQLite: a lock on the file QUIRDAL.ldb beside the database
// (a read for a shared connection, the write lock for an exclusive one), so that an idle
// workstation still counts. The server's session locks do the same without a file.
inline constexpr Istruzione kCreaPresenza{"connessione.creaPresenza", "CREATE TABLE IF NOT EXISTS Presenza (x INTEGER)",
                                          kNessuno};
inline constexpr Istruzione kLeggiPresenza{"connessione.leggiPresenza", "SELECT count(*) FROM sqlite_master", kNessuno};
// The server: every connection of the program holds a session lock on the database's key,
// shared for a shared connection, exclusive for an exclusive one; the key is per database on
// the server, so one fixed pair of numbers ('QUIR', 1) is the database's key. Never waited for:
// a refusal is told at once, as SQLite's exclusive open does.
inline constexpr Istruzione kPresenzaCondivisa{"connessione.presenzaCondivisa", kNessuno,
                                               "SELECT pg_try_advisory_lock_shared(1364543826, 1)"};
inline constexpr Istruzione kPresenzaEsclusiva{"connessione.presenzaEsclusiva", kNessuno,
                                               "SELECT pg_try_advisory_lock(1364543826, 1)"};
inline constexpr Istruzione kLasciaCondivisa{"connessione.lasciaCondivisa", kNessuno,
                                             "SELECT pg_advisory_unlock_shared(1364543826, 1)"};
inline constexpr Istruzione kLasciaEsclusiva{"connessione.lasciaEsclusiva", kNessuno, "SELECT pg_advisory_unlock(1364543826, 1)"};
// Before the connection goes: the locks go with it at once, not when the server notices.
inline constexpr Istruzione kLasciaTutto{"connessione.lasciaTutto", kNessuno, "SELECT pg_advisory_unlock_all()"};
// Other programs connected to the same database (a query tool, a migration) take no lock of
// ours: an exclusive open also looks at the server's list of sessions. The program's own
// sessions (named by application_name) are told by their locks.
inline constexpr Istruzione kAltriProgrammi{
    "connessione.altriProgrammi", kNessuno,
    "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid() "
    "AND backend_type = 'client backend' AND COALESCE(application_name, '') <> ?"};

// Whether the server still answers, after a statement that got no answer.
inline constexpr Istruzione kProva{"connessione.prova", "SELECT 1"};

// The SQLite library behind Qt's driver (the bulk statements' direct road needs the very same).
inline constexpr Istruzione kSorgenteSqlite{"connessione.sorgenteSqlite", "SELECT sqlite_source_id()", kNessuno};

// --- The password seal ---
inline constexpr Istruzione kCreaSigillo{"connessione.creaSigillo",
                                         "CREATE TABLE IF NOT EXISTS MSysQuirdal (Chiave VARCHAR(50) PRIMARY KEY, Valore TEXT)"};
// One upsert both engines read (SQLite's INSERT OR REPLACE is its own dialect).
inline constexpr Istruzione kScriviSigillo{
    "connessione.scriviSigillo",
    "INSERT INTO MSysQuirdal (Chiave, Valore) VALUES ('Sigillo', ?) ON CONFLICT (Chiave) DO UPDATE SET Valore = excluded.Valore"};
inline constexpr Istruzione kLeggiSigillo{"connessione.leggiSigillo", "SELECT Valore FROM MSysQuirdal WHERE Chiave='Sigillo'"};

// --- Transactions ---
// A write transaction takes the write lock when it begins, so that what it reads stays true
// until it ends (the highest course code, read and then used). SQLite: BEGIN IMMEDIATE. The
// server: a plain BEGIN (read committed: each statement sees what was confirmed before it) and
// then the writers' lock ('QUIR', 2), held to the end of the transaction, waited for no longer
// than the lock_timeout of the session.
inline constexpr Istruzione kIniziaScrittura{"connessione.iniziaScrittura", "BEGIN IMMEDIATE", "BEGIN"};
inline constexpr Istruzione kAttendiScrittori{"connessione.attendiScrittori", kNessuno,
                                              "SELECT pg_advisory_xact_lock(1364543826, 2)"};
// A read transaction sees one state of the database. SQLite: its snapshot is taken at the first
// read (BEGIN DEFERRED); the server: one snapshot for the whole transaction, and no write.
inline constexpr Istruzione kIniziaLettura{"connessione.iniziaLettura", "BEGIN DEFERRED",
                                           "BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY"};
inline constexpr Istruzione kConferma{"connessione.conferma", "COMMIT"};
inline constexpr Istruzione kAnnulla{"connessione.annulla", "ROLLBACK"};
inline constexpr Istruzione kPuntoDiRipresa{"connessione.puntoDiRipresa", "SAVEPOINT quirdal_%1", nullptr, "1|2"};
inline constexpr Istruzione kRilasciaPunto{"connessione.rilasciaPunto", "RELEASE SAVEPOINT quirdal_%1", nullptr, "1"};
inline constexpr Istruzione kTornaAlPunto{"connessione.tornaAlPunto", "ROLLBACK TO SAVEPOINT quirdal_%1", nullptr, "1"};

// --- The schema as the database holds it ---
// SQLite's catalogue is sqlite_master and its pragmas; the server's is information_schema
// and pg_catalog, where the names the schema wrote without quotes are in lower case.
inline constexpr Istruzione kElencoTabelle{
    "connessione.elencoTabelle",
    "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') ORDER BY name COLLATE NOCASE",
    "SELECT table_name, CASE WHEN table_type = 'VIEW' THEN 'view' ELSE 'table' END FROM information_schema.tables "
    "WHERE table_schema = current_schema() ORDER BY table_name"};
inline constexpr Istruzione kEsisteTabella{
    "connessione.esisteTabella", "SELECT count(*) FROM sqlite_master WHERE type IN ('table','view') AND name = ? COLLATE NOCASE",
    "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema() AND table_name = lower(?)"};
// On the server the system catalogue, which lists every table of the schema, also those the
// connected user may not read (information_schema shows only the user's own).
inline constexpr Istruzione kContaTabelle{"connessione.contaTabelle",
                                          "SELECT count(*) FROM sqlite_master WHERE type IN ('table','view')",
                                          "SELECT count(*) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON "
                                          "n.oid = c.relnamespace WHERE n.nspname = current_schema() AND c.relkind IN "
                                          "('r', 'v', 'm', 'p', 'f')"};
// Each column: name, declared type, NOT NULL (1/0), position in the primary key (0: none), and
// on the server the name as the program spells it where kNomeColonna kept it ('': none; SQLite
// keeps every name as written).
inline constexpr Istruzione kColonne{
    "connessione.colonne", "SELECT name, type, \"notnull\", pk, '' FROM pragma_table_info(?) ORDER BY cid",
    "SELECT a.attname, format_type(a.atttypid, a.atttypmod), CASE WHEN a.attnotnull THEN 1 ELSE 0 END, "
    "COALESCE((SELECT k.n FROM pg_index i CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, n) "
    "WHERE i.indrelid = c.oid AND i.indisprimary AND k.attnum = a.attnum), 0), "
    "COALESCE(col_description(c.oid, a.attnum), '') "
    "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
    "WHERE c.relname = lower(?) AND c.relkind IN ('r', 'v', 'p') AND pg_table_is_visible(c.oid) "
    "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum"};
inline constexpr Istruzione kDefinizioneQuery{
    "connessione.definizioneQuery", "SELECT sql FROM sqlite_master WHERE type='view' AND name = ? COLLATE NOCASE",
    "SELECT pg_get_viewdef(c.oid) FROM pg_class c WHERE c.relkind = 'v' AND c.relname = lower(?) "
    "AND pg_table_is_visible(c.oid)"};
inline constexpr Istruzione kAggiungiColonnaTesto{"connessione.aggiungiColonnaTesto", "ALTER TABLE %1 ADD COLUMN %2 VARCHAR(%3)",
                                                  nullptr, "Regioni;Nota;20|CorsiProp;Nota;10"};
// The server keeps in lower case a name written without quotes: the name of a column the
// program adds, or of a saved query it replaces, is kept as the column's comment, where kColonne
// reads it. The comment is a plain name of the program's (checked as one), never a value.
inline constexpr Istruzione kNomeColonna{"connessione.nomeColonna", kNessuno, "COMMENT ON COLUMN %1.%2 IS '%3'",
                                         "Regioni;regione;REGIONE"};
inline constexpr Istruzione kEliminaVista{"connessione.eliminaVista", "DROP VIEW IF EXISTS %1", nullptr, "QryCorsi|QryMetadati"};

inline constexpr const Istruzione *kTutte[] = {&kGiornale,          &kSincrono,        &kAttesa,           &kModoEsclusivo,
                                               &kPrendiEsclusivo,   &kCreaPresenza,    &kLeggiPresenza,    &kPresenzaCondivisa,
                                               &kPresenzaEsclusiva, &kLasciaCondivisa, &kLasciaEsclusiva,  &kLasciaTutto,
                                               &kAltriProgrammi,    &kProva,           &kSorgenteSqlite,   &kCreaSigillo,
                                               &kScriviSigillo,     &kLeggiSigillo,    &kIniziaScrittura,  &kAttendiScrittori,
                                               &kIniziaLettura,     &kConferma,        &kAnnulla,          &kPuntoDiRipresa,
                                               &kRilasciaPunto,     &kTornaAlPunto,    &kElencoTabelle,    &kEsisteTabella,
                                               &kContaTabelle,      &kColonne,         &kDefinizioneQuery, &kAggiungiColonnaTesto,
                                               &kNomeColonna,       &kEliminaVista};
inline constexpr Catalogo kCatalogo{"connessione", "src/db/CatalogoConnessione.h", kTutte};

} // namespace quirdal::sql::connessione
