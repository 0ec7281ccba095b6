#pragma once
// The statements of the copies of the database (db/CopiaSicurezza.h) and of the comparison of
// an archived file's schema with the program's (db/ConfrontoSchema.h). Copies and archives are
// SQLite files on either engine, so these statements only ever run on a file: none has a
// PostgreSQL text. A server database is kept whole by the server itself (its log and page
// checksums); what the program checks is the file it writes from it, and a restore into the
// server reads the archived file through a connection of its own and copies its rows over
// (PostgreSQL has no ATTACH), checked here before anything is written.
#include "db/Istruzione.h"

namespace quirdal::sql::copie {

// A consistent copy of the open file, written by SQLite itself.
inline constexpr Istruzione kCopiaInFile{"copie.copiaInFile", "VACUUM INTO ?", kNessuno};
inline constexpr Istruzione kVerificaIntegrita{"copie.verificaIntegrita", "PRAGMA integrity_check", kNessuno};
// The file is a database of the program: it holds the password seal.
inline constexpr Istruzione kFileDelProgramma{"copie.fileDelProgramma",
                                              "SELECT count(*) FROM sqlite_master WHERE name = 'MSysQuirdal'", kNessuno};

// The schema of a file, as SQLite describes it.
inline constexpr Istruzione kOggettiSchema{"copie.oggettiSchema", "SELECT type, name, tbl_name, sql FROM sqlite_master",
                                           kNessuno};
inline constexpr Istruzione kColonneComplete{
    "copie.colonneComplete",
    "SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?) ORDER BY cid", kNessuno};
inline constexpr Istruzione kIndici{"copie.indici",
                                    "SELECT name, \"unique\", origin, partial FROM pragma_index_list(?) WHERE origin <> 'c'",
                                    kNessuno};
inline constexpr Istruzione kColonneIndice{
    "copie.colonneIndice", "SELECT seqno, cid, name, \"desc\", coll, key FROM pragma_index_xinfo(?) ORDER BY seqno",
    kNessuno};
inline constexpr Istruzione kChiaviEsterne{"copie.chiaviEsterne",
                                           "SELECT * FROM pragma_foreign_key_list(?) ORDER BY id, seq", kNessuno};
// The comparison builds the program's own schema in memory, without the column the earliest
// shape lacks.
inline constexpr Istruzione kTogliNumPersone{"copie.togliNumPersone", "ALTER TABLE CorsiHandi DROP COLUMN NumPersone",
                                             kNessuno};

inline constexpr const Istruzione *kTutte[] = {&kCopiaInFile, &kVerificaIntegrita, &kFileDelProgramma,
                                               &kOggettiSchema, &kColonneComplete, &kIndici,
                                               &kColonneIndice, &kChiaviEsterne, &kTogliNumPersone};
inline constexpr Catalogo kCatalogo{"copie", "src/db/CatalogoCopie.h", kTutte};

} // namespace quirdal::sql::copie
