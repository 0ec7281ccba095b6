// quirdal-cli riassegna: the move of courses between sites, with the checks of the menu
// entry and of the screen.
#include "cli/Comandi.h"

#include "application/Selezione.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "config/SessioneIni.h"
#include "courses/Riassegnazione.h"
#include "db/CorsiDB.h"

#include <QTextStream>

namespace quirdal {

namespace {

class Riassegna final : public Comando {
public:
    Riassegna()
        : Comando(QStringLiteral("riassegna"),
                  QStringLiteral("sposta un corso principale con i suoi accorpati, o tutti i corsi di una sede, in "
                                 "un'altra sede (chiede conferma: --si)"))
    {
        opzioniDomanda();
        opzione(QStringLiteral("da"), QStringLiteral("SEDE"), QStringLiteral("la sede dei corsi"));
        opzione(QStringLiteral("a"), QStringLiteral("SEDE"), QStringLiteral("la sede in cui spostarli"));
        opzione(QStringLiteral("corso"), QStringLiteral("CCCC|TUTTI"),
                QStringLiteral("il corso principale, o tutti i corsi della sede"));
        opzione(QStringLiteral("compo-resp"), QStringLiteral("C"),
                QStringLiteral("il componente responsabile nella nuova sede, quando la sede lo chiede"), Presenza::Facoltativa);
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        for (const char *nome : {"operatore", "da", "a"})
            if (numeroDaRiga(p.value(QLatin1String(nome))) < 0)
                return QStringLiteral("--") + QLatin1String(nome) + QStringLiteral(" non è un numero: ")
                    + p.value(QLatin1String(nome));
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        if (!soloSuServer(c, QStringLiteral("Riassegnazione Corsi")))
            return kRifiutato;
        Riassegnazione r;
        r.da = numeroDaRiga(p.value(QStringLiteral("da")));
        r.a = numeroDaRiga(p.value(QStringLiteral("a")));
        const QString corso = p.value(QStringLiteral("corso")).trimmed();
        r.tutti = corso.compare(QLatin1String("TUTTI"), Qt::CaseInsensitive) == 0;
        r.corso = r.tutti ? QString() : corso;
        r.compoResp = p.value(QStringLiteral("compo-resp"));

        // The application as the menu would have it selected. Without one, the menu's
        // checks below say so, with their own message.
        Sessione &s = c.sessione;
        impostaDomanda(s, c.db, p.value(QStringLiteral("grupope")).trimmed(), p.value(QStringLiteral("operatore")).trimmed(),
                       p.value(QStringLiteral("prov")).trimmed());

        // The checks and the question of the menu entry, then the exclusive connection.
        if (!controllaRiassegnazione(c))
            return kRifiutato;
        const EsitoVerifica e = verificaRiassegnazione(c.db, s, r);
        if (!e.valido()) {
            c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
            return kRifiutato;
        }
        const int righe = riassegnaCorsi(c.db, s, r);
        c.dialoghi.messaggio(QStringLiteral("RIASSEGNAZIONE EFFETTUATA. Sono stati spostati anche gli eventuali accorpati."),
                             QStringLiteral("Riassegnazione Corsi"), Icona::Informazione);
        QTextStream(stdout) << righe << '\n';
        return kRiuscito;
    }
};

} // namespace

ElencoComandi comandiRiassegna()
{
    ElencoComandi r;
    r.push_back(std::make_unique<Riassegna>());
    return r;
}

} // namespace quirdal
