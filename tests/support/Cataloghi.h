#pragma once
// Every catalogue of the program's statements, for the test that prepares them all. A new
// catalogue is added here.
#include "courses/CatalogoCorsi.h"
#include "courses/CatalogoFoglio.h"
#include "db/CatalogoDb.h"

#include <QList>

namespace quirdal::test {

inline QList<Catalogo> cataloghi() { return {sql::db::kCatalogo, sql::corsi::kCatalogo, sql::foglio::kCatalogo}; }

} // namespace quirdal::test
