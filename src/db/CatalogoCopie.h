#pragma once
// The statements of the copies of the database (db/CopiaSicurezza.h), of the rows moved between
// two databases (db/CopiaTraBasiDati.h) and of the comparison of an archived file's schema with
// the program's (db/ConfrontoSchema.h). Copies and archives are SQLite files on either engine,
// so the file's own statements have no PostgreSQL text. A server database is kept whole by the
// server itself (its log and page checksums); what the program checks is the file it writes
// from it, and a restore into the server reads the archived file through a connection of its
// own and copies its rows over (PostgreSQL has no ATTACH), checked here before anything is
// written.
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
    "copie.colonneComplete", "SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?) ORDER BY cid",
    kNessuno};
inline constexpr Istruzione kIndici{
    "copie.indici", "SELECT name, \"unique\", origin, partial FROM pragma_index_list(?) WHERE origin <> 'c'", kNessuno};
inline constexpr Istruzione kColonneIndice{
    "copie.colonneIndice", "SELECT seqno, cid, name, \"desc\", coll, key FROM pragma_index_xinfo(?) ORDER BY seqno", kNessuno};
inline constexpr Istruzione kChiaviEsterne{"copie.chiaviEsterne", "SELECT * FROM pragma_foreign_key_list(?) ORDER BY id, seq",
                                           kNessuno};
// Rows moved from one database of the program to another (db/CopiaTraBasiDati.h), engine to
// engine: a table's rows over the columns both databases have, all or one operator's.
inline constexpr Istruzione kRighe{"copie.righe", "SELECT %2 FROM %1", nullptr, "CorsiOper;GrupOpe, Operatore, Denominazione"};
inline constexpr Istruzione kRigheOperatore{"copie.righeOperatore", "SELECT %2 FROM %1 WHERE GrupOpe = ? AND Operatore = ?",
                                            nullptr, "CorsiHandi;GrupOpe, Operatore, Corso, Accorp, Handi"};
inline constexpr Istruzione kInserisci{"copie.inserisci", "INSERT INTO %1 (%2) VALUES (%3)", nullptr,
                                       "CorsiOper;GrupOpe, Operatore, Denominazione;?, ?, ?"};
// A table emptied before the rows of a restored file take its place.
inline constexpr Istruzione kSvuota{"copie.svuota", "DELETE FROM %1", nullptr, "CorsiOper|CorsiCompoTipoLab"};
// The rows a table holds: a destination of a move must hold none of the agency's.
inline constexpr Istruzione kContaRighe{"copie.contaRighe", "SELECT count(*) FROM %1", nullptr, "CorsiOper|CorsiProp"};
// The server's counter past the highest number copied; SQLite's AUTOINCREMENT follows the rows
// by itself.
inline constexpr Istruzione kAllineaContatore{
    "copie.allineaContatore", kNessuno,
    "SELECT setval(pg_get_serial_sequence('%1', lower('%2')), COALESCE(MAX(%2), 0) + 1, false) FROM %1",
    "CorsiCompoTipoLab;IdLab"};

// The comparison builds the program's own schema in memory, without the column the earliest
// shape lacks.
inline constexpr Istruzione kTogliNumPersone{"copie.togliNumPersone", "ALTER TABLE CorsiHandi DROP COLUMN NumPersone", kNessuno};

// The tables of the sends, which an archive made before them lacks.
inline constexpr Istruzione kTogliDomandeDefinitive{"copie.togliDomandeDefinitive", "DROP TABLE DomandeDefinitive", kNessuno};
inline constexpr Istruzione kTogliInvii{"copie.togliInvii", "DROP TABLE Invii", kNessuno};

inline constexpr const Istruzione *kTutte[] = {&kCopiaInFile,      &kVerificaIntegrita,
                                               &kFileDelProgramma, &kOggettiSchema,
                                               &kColonneComplete,  &kIndici,
                                               &kColonneIndice,    &kChiaviEsterne,
                                               &kTogliNumPersone,  &kTogliDomandeDefinitive,
                                               &kTogliInvii,       &kRighe,
                                               &kRigheOperatore,   &kInserisci,
                                               &kAllineaContatore, &kSvuota,
                                               &kContaRighe};
inline constexpr Catalogo kCatalogo{"copie", "src/db/CatalogoCopie.h", kTutte};

} // namespace quirdal::sql::copie
