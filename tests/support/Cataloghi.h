#pragma once
// Every catalogue of the program's statements, for the test that prepares them all. A new
// catalogue is added here.
#include "db/CatalogoAggiornamenti.h"
#include "db/CatalogoConnessione.h"
#include "db/CatalogoCopie.h"
#include "db/CatalogoDb.h"
#include "db/CatalogoRecordset.h"

#include <QList>

namespace quirdal::test {

inline QList<Catalogo> cataloghi()
{
    return {sql::db::kCatalogo, sql::connessione::kCatalogo, sql::aggiornamenti::kCatalogo, sql::copie::kCatalogo,
            sql::recordset::kCatalogo};
}

} // namespace quirdal::test
