#pragma once
// The statements of the backup's restore: the archived database attached as "recupero", the
// applications a restore would unlock, one operator's rows copied table by table.
#include "db/Istruzione.h"

namespace quirdal::sql::supporto {

// The archived database beside the program's own. PostgreSQL attaches no file: there the
// restore will read the archive on a connection of its own.
inline constexpr Istruzione kAttaccaRecupero{"supporto.attaccaRecupero", "ATTACH DATABASE ? AS recupero"};
inline constexpr Istruzione kStaccaRecupero{"supporto.staccaRecupero", "DETACH DATABASE recupero"};

// The columns of a table of the archived database. SQLite's table-valued pragma; PostgreSQL
// tells them in its information schema.
inline constexpr Istruzione kColonneArchiviate{
    "supporto.colonneArchiviate", "SELECT name FROM pragma_table_info(?, 'recupero')",
    "SELECT column_name FROM information_schema.columns WHERE table_name = ? AND table_schema = 'recupero' ORDER BY "
    "ordinal_position"};

// The applications printed in final form here that the archive holds unprinted or not at all.
inline constexpr Istruzione kDomandeSbloccate{
    "supporto.domandeSbloccate",
    "SELECT I.GrupOpe, I.Operatore, I.Prov, O.Denominazione, P.DesProv FROM main.Installazione I LEFT JOIN "
    "main.CorsiOper O ON O.GrupOpe = I.GrupOpe AND O.Operatore = I.Operatore LEFT JOIN main.Province P ON P.PROV = "
    "I.Prov WHERE I.DomandaStampata <> 0 AND NOT EXISTS (SELECT 1 FROM recupero.Installazione A WHERE A.GrupOpe = "
    "I.GrupOpe AND A.Operatore = I.Operatore AND A.Prov = I.Prov AND A.DomandaStampata <> 0) ORDER BY I.GrupOpe, "
    "I.Operatore, I.Prov"};
// The same, of one operator.
inline constexpr Istruzione kDomandeSbloccateOperatore{
    "supporto.domandeSbloccateOperatore",
    "SELECT I.GrupOpe, I.Operatore, I.Prov, O.Denominazione, P.DesProv FROM main.Installazione I LEFT JOIN "
    "main.CorsiOper O ON O.GrupOpe = I.GrupOpe AND O.Operatore = I.Operatore LEFT JOIN main.Province P ON P.PROV = "
    "I.Prov WHERE I.DomandaStampata <> 0 AND NOT EXISTS (SELECT 1 FROM recupero.Installazione A WHERE A.GrupOpe = "
    "I.GrupOpe AND A.Operatore = I.Operatore AND A.Prov = I.Prov AND A.DomandaStampata <> 0) AND I.GrupOpe = ? AND "
    "I.Operatore = ? ORDER BY I.GrupOpe, I.Operatore, I.Prov"};

// One operator's rows of a table (%1, quoted) replaced by the archive's, over the columns both
// databases have (%2, quoted).
inline constexpr Istruzione kCancellaOperatore{"supporto.cancellaOperatore",
                                               "DELETE FROM main.%1 WHERE GrupOpe=? AND Operatore=?", nullptr,
                                               "\"CorsiOper\"|\"CorsiPropSpese\""};
inline constexpr Istruzione kCopiaOperatore{
    "supporto.copiaOperatore",
    "INSERT INTO main.%1 (%2) SELECT %2 FROM recupero.%1 WHERE GrupOpe=? AND Operatore=?", nullptr,
    "\"CorsiOper\";\"GrupOpe\", \"Operatore\", \"Denominazione\"|\"CorsiHandi\";\"GrupOpe\", \"Operatore\", "
    "\"SedeInteressata\", \"Corso\", \"Accorp\", \"Handi\""};
// The occasional sites the operator uses that this database lacks (%1: the columns both have);
// those it has stay as they are. SQLite's INSERT OR IGNORE is PostgreSQL's ON CONFLICT DO NOTHING.
inline constexpr Istruzione kCopiaSediOcc{
    "supporto.copiaSediOcc",
    "INSERT OR IGNORE INTO main.CorsiSediOcc (%1) SELECT %1 FROM recupero.CorsiSediOcc WHERE SedeOcc IN (SELECT "
    "SedeOcc FROM recupero.CorsiSediOccUtil WHERE GrupOpe=? AND Operatore=?)",
    "INSERT INTO main.CorsiSediOcc (%1) SELECT %1 FROM recupero.CorsiSediOcc WHERE SedeOcc IN (SELECT SedeOcc FROM "
    "recupero.CorsiSediOccUtil WHERE GrupOpe=? AND Operatore=?) ON CONFLICT DO NOTHING",
    "\"SedeOcc\", \"Denominazione\", \"CodComune\""};

// The session's operator as the restored database knows it.
inline constexpr Istruzione kOperatoreSessione{
    "supporto.operatoreSessione", "SELECT Denominazione, TipoOper FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"};

inline constexpr const Istruzione *kTutte[] = {
    &kAttaccaRecupero, &kStaccaRecupero,  &kColonneArchiviate, &kDomandeSbloccate, &kDomandeSbloccateOperatore,
    &kCancellaOperatore, &kCopiaOperatore, &kCopiaSediOcc,      &kOperatoreSessione};
inline constexpr Catalogo kCatalogo{"supporto", "src/support/CatalogoSupporto.h", kTutte};

} // namespace quirdal::sql::supporto
