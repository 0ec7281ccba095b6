#pragma once
// Every catalogue of the program's statements, for the test that prepares them all. A new
// catalogue is added here.
#include "db/CatalogoDb.h"
#include "loading/CatalogoCaricamento.h"
#include "printing/CatalogoStampa.h"
#include "support/CatalogoSupporto.h"
#include "transmission/CatalogoTrasmissione.h"

#include <QList>

namespace quirdal::test {

inline QList<Catalogo> cataloghi()
{
    return {sql::db::kCatalogo,
            sql::stampa::kCatalogo, sql::trasmissione::kCatalogo, sql::supporto::kCatalogo, sql::caricamento::kCatalogo};
}

} // namespace quirdal::test
