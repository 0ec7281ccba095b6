#pragma once
// The statements of the recordsets (db/Recordset.h): a table or saved query read with its
// filter and order, a row added, rewritten or deleted by its key. Completed with the source's
// name and the columns, conditions and placeholders the recordset built from the columns the
// source has (a name it does not have never reaches the text).
#include "db/Istruzione.h"

namespace quirdal::sql::recordset {

// A saved query is read under the name of its main table, so that conditions written on
// that table ("CorsiProp.GrupOpe") select its rows; a table under its own name.
inline constexpr Istruzione kLeggi{"recordset.leggi", "SELECT * FROM %1 AS %2 WHERE %3", nullptr,
                                   "Province;Province;1 = 1|QryCorsi;CorsiProp;\"GrupOpe\" = ? AND \"Corso\" IS NULL"};
inline constexpr Istruzione kLeggiInOrdine{
    "recordset.leggiInOrdine", "SELECT * FROM %1 AS %2 WHERE %3 ORDER BY %4", nullptr,
    "Province;Province;1 = 1;\"PROV\"|QryCorsi;CorsiProp;\"SedeInteressata\" < ?;\"Corso\" DESC, \"Accorp\""};
inline constexpr Istruzione kAggiungi{"recordset.aggiungi", "INSERT INTO %1 (%2) VALUES (%3)", nullptr,
                                      "Province;PROV, DesProv;?, ?"};
inline constexpr Istruzione kRiscrivi{"recordset.riscrivi", "UPDATE %1 SET %2 WHERE %3", nullptr,
                                      "Province;DesProv = ?, SigProv = ?;PROV = ?"};
inline constexpr Istruzione kElimina{"recordset.elimina", "DELETE FROM %1 WHERE %2", nullptr,
                                     "CorsiProp;GrupOpe = ? AND Operatore = ? AND Corso = ?"};

inline constexpr const Istruzione *kTutte[] = {&kLeggi, &kLeggiInOrdine, &kAggiungi, &kRiscrivi, &kElimina};
inline constexpr Catalogo kCatalogo{"recordset", "src/db/CatalogoRecordset.h", kTutte};

} // namespace quirdal::sql::recordset
