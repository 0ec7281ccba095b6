// The loads from the files of the program folder: the lookup tables, the operators' data,
// and the update of the database after a download.
#include "cli/Comandi.h"
#include "cli/DialoghiCli.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "config/FileIni.h"
#include "config/SessioneIni.h"
#include "db/CorsiDB.h"
#include "loading/CatalogoCaricamento.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"

namespace quirdal {

namespace {

class CaricaTabelle final : public Comando {
public:
    CaricaTabelle()
        : Comando(QStringLiteral("carica-tabelle"),
                  QStringLiteral("installa o aggiorna le tabelle di decodifica dai file della cartella (installa.tab / "
                                 "aggiorna.tab)"))
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        if (!soloSuServer(c, QStringLiteral("Caricamento Tabelle di Decodifica")))
            return kRifiutato;
        ProgressoCli p;
        passoTabelle(c, p);
        return kRiuscito;
    }
};

class CaricaOperatori final : public Comando {
public:
    CaricaOperatori()
        : Comando(QStringLiteral("carica-operatori"),
                  QStringLiteral("carica i dati degli operatori (*.tx1): installazione su base dati vuota, altrimenti "
                                 "aggiornamento come da installazione SERVER"))
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        if (!soloSuServer(c, QStringLiteral("Caricamento Dati Operatori")))
            return kRifiutato;
        ProgressoCli p;
        if (c.db.valoreScalare(sql::caricamento::kNumeroOperatori).toInt() == 0) {
            installaDatiOperatori(c, p);
            // A failed safety copy loads nothing and ends nothing: still a failure here.
            return c.db.valoreScalare(sql::caricamento::kNumeroOperatori).toInt() > 0 ? kRiuscito : kRifiutato;
        }
        // Later loads update, as on a SERVER installation, then archive the files.
        if (!c.db.riconnettiEsclusivo()) {
            c.dialoghi.messaggio(QStringLiteral("La base dati è in uso da un'altra postazione."),
                                 QStringLiteral("Aggiornamento Base Dati"), Icona::Critico);
            return kRifiutato;
        }
        const bool riuscito = aggiornaDatiOperatori(c, p);
        archiviaFileDatiOperatori(c.cartellaProgramma, riuscito);
        return riuscito ? kRiuscito : kRifiutato;
    }
};

class AggiornaDb final : public Comando {
public:
    AggiornaDb()
        : Comando(QStringLiteral("aggiorna-db"),
                  QStringLiteral("aggiornamento della base dati dopo uno scarico: tabelle "
                                 "di decodifica e dati degli operatori"))
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        ProgressoCli p;
        c.sessione.gVersione = c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione"));
        return aggiornaBaseDati(c, p) ? kRiuscito : kRifiutato;
    }
};

} // namespace

ElencoComandi comandiCaricamento()
{
    ElencoComandi r;
    r.push_back(std::make_unique<CaricaTabelle>());
    r.push_back(std::make_unique<CaricaOperatori>());
    r.push_back(std::make_unique<AggiornaDb>());
    return r;
}

} // namespace quirdal
