#pragma once
// Every catalogue of the program's statements, for the test that prepares them all. A new
// catalogue is added here.
#include "db/CatalogoDb.h"
#include "operator/CatalogoOperatore.h"

#include <QList>

namespace quirdal::test {

inline QList<Catalogo> cataloghi()
{
    return {
        sql::db::kCatalogo,
        sql::operatore::kCatalogo,
    };
}

} // namespace quirdal::test
