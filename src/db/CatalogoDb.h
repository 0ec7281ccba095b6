#pragma once
// The statements of the database layer: the look-ups that several parts of the program share.
#include "db/Istruzione.h"

namespace quirdal::sql::db {

inline constexpr Istruzione kSigProvProvincia{"db.sigProvProvincia", "SELECT SigProv FROM Province WHERE PROV = ?"};
inline constexpr Istruzione kSigProvComponente{
    "db.sigProvComponente",
    "SELECT Comuni.SigProv FROM CorsiCompo INNER JOIN Comuni ON Comuni.CodComune = CorsiCompo.CodComune "
    "WHERE CorsiCompo.GrupOpe = ? AND CorsiCompo.Operatore = ? AND CorsiCompo.Componente = ?"};
inline constexpr Istruzione kSigProvSedeOcc{
    "db.sigProvSedeOcc",
    "SELECT Comuni.SigProv FROM CorsiSediOcc INNER JOIN Comuni ON Comuni.CodComune = CorsiSediOcc.CodComune "
    "WHERE CorsiSediOcc.SedeOcc = ?"};
inline constexpr Istruzione kProvinciaStampata{
    "db.provinciaStampata",
    "SELECT count(*) FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=? AND DomandaStampata<>0"};
inline constexpr Istruzione kOperatoreBloccato{
    "db.operatoreBloccato", "SELECT count(*) FROM Installazione WHERE GrupOpe=? AND Operatore=? AND DomandaStampata<>0"};
inline constexpr Istruzione kProvinciaComponente{"db.provinciaComponente",
                                                 "SELECT PROV FROM QryCompo WHERE GrupOpe=? AND Operatore=? AND Componente=?"};
inline constexpr Istruzione kUtentiSedeOcc{"db.utentiSedeOcc",
                                           "SELECT GrupOpe, Operatore, PROV FROM QrySediOccUtil WHERE SedeOcc=?"};

inline constexpr const Istruzione *kTutte[] = {&kSigProvProvincia,  &kSigProvComponente,   &kSigProvSedeOcc, &kProvinciaStampata,
                                               &kOperatoreBloccato, &kProvinciaComponente, &kUtentiSedeOcc};
inline constexpr Catalogo kCatalogo{"db", "src/db/CatalogoDb.h", kTutte};

} // namespace quirdal::sql::db
