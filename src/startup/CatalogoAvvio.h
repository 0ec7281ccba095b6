#pragma once
// The statements of the start: whether the database holds any operator, and the one it holds.
#include "db/Istruzione.h"

namespace quirdal::sql::avvio {

inline constexpr Istruzione kNumeroOperatori{"avvio.numeroOperatori", "SELECT count(*) FROM CorsiOper"};
// Read when the database holds exactly one operator.
inline constexpr Istruzione kUnicoOperatore{"avvio.unicoOperatore",
                                            "SELECT GrupOpe, Operatore, Denominazione, TipoOper FROM CorsiOper"};

inline constexpr const Istruzione *kTutte[] = {&kNumeroOperatori, &kUnicoOperatore};
inline constexpr Catalogo kCatalogo{"avvio", "src/startup/CatalogoAvvio.h", kTutte};

} // namespace quirdal::sql::avvio
