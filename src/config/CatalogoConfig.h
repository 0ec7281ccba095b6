#pragma once
// The statements of the session: the operator, province and application the INI file
// remembers, looked up in the database.
#include "db/Istruzione.h"

namespace quirdal::sql::config {

inline constexpr Istruzione kDomandaStampata{
    "config.domandaStampata",
    "SELECT DomandaStampata FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=? AND Domanda=1"};
inline constexpr Istruzione kDescrizioneProvincia{"config.descrizioneProvincia", "SELECT DesProv FROM Province WHERE PROV=?"};
inline constexpr Istruzione kDomandeProvincia{"config.domandeProvincia",
                                              "SELECT count(*) FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=?"};
inline constexpr Istruzione kDomanda{"config.domanda",
                                     "SELECT Domanda FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=?"};
inline constexpr Istruzione kOperatore{"config.operatore",
                                       "SELECT Denominazione, TipoOper FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"};

inline constexpr const Istruzione *kTutte[] = {&kDomandaStampata, &kDescrizioneProvincia, &kDomandeProvincia, &kDomanda,
                                               &kOperatore};
inline constexpr Catalogo kCatalogo{"config", "src/config/CatalogoConfig.h", kTutte};

} // namespace quirdal::sql::config
