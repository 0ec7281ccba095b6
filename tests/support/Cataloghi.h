#pragma once
// Every catalogue of the program's statements, for the test that prepares them all. A new
// catalogue is added here.
#include "application/CatalogoSelezione.h"
#include "config/CatalogoConfig.h"
#include "courses/CatalogoCorsi.h"
#include "courses/CatalogoFoglio.h"
#include "db/CatalogoAggiornamenti.h"
#include "db/CatalogoConnessione.h"
#include "db/CatalogoCopie.h"
#include "db/CatalogoDb.h"
#include "loading/CatalogoCaricamento.h"
#include "operator/CatalogoOperatore.h"
#include "printing/CatalogoStampa.h"
#include "startup/CatalogoAvvio.h"
#include "support/CatalogoSupporto.h"
#include "transmission/CatalogoTrasmissione.h"

#include <QList>

namespace quirdal::test {

inline QList<Catalogo> cataloghi()
{
    return {
        sql::db::kCatalogo,        sql::connessione::kCatalogo, sql::aggiornamenti::kCatalogo, sql::copie::kCatalogo,
        sql::config::kCatalogo,    sql::caricamento::kCatalogo, sql::corsi::kCatalogo,         sql::foglio::kCatalogo,
        sql::operatore::kCatalogo, sql::selezione::kCatalogo,   sql::stampa::kCatalogo,        sql::trasmissione::kCatalogo,
        sql::supporto::kCatalogo,  sql::avvio::kCatalogo,
    };
}

} // namespace quirdal::test
