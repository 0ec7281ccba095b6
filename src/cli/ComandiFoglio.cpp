// quirdal-cli esporta-corsi and importa-corsi: the courses of an application in and out of a
// spreadsheet. The import lists every problem of the file, one a line, and writes nothing unless
// there is none.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "config/SessioneIni.h"
#include "courses/FoglioCorsi.h"
#include "db/CorsiDB.h"
#include "printing/ControlliStampa.h"

#include <QFileInfo>
#include <QTextStream>

namespace quirdal {

namespace {

const QString kTitoloEsporta = QStringLiteral("Esporta in foglio di calcolo");
const QString kTitoloImporta = QStringLiteral("Importa da foglio di calcolo");

QString controllaFile(const QCommandLineParser &p)
{
    const QString estensione = QFileInfo(p.value(QStringLiteral("file"))).suffix().toLower();
    if (estensione != QLatin1String("xlsx") && estensione != QLatin1String("csv"))
        return QStringLiteral("--file deve essere un file .xlsx o .csv: ") + p.value(QStringLiteral("file"));
    if (numeroDaRiga(p.value(QStringLiteral("operatore"))) < 0)
        return QStringLiteral("--operatore non è un numero: ") + p.value(QStringLiteral("operatore"));
    return {};
}

bool domanda(Contesto &c, const QCommandLineParser &p, const QString &titolo)
{
    if (impostaDomanda(c.sessione, c.db, p.value(QStringLiteral("grupope")).trimmed(),
                       p.value(QStringLiteral("operatore")).trimmed(), p.value(QStringLiteral("prov")).trimmed()))
        return true;
    c.dialoghi.messaggio(QStringLiteral("Nessuna domanda per l'operatore e la provincia indicati."), titolo, Icona::Critico);
    return false;
}

class EsportaCorsi final : public Comando {
public:
    EsportaCorsi()
        : Comando(QStringLiteral("esporta-corsi"),
                  QStringLiteral("scrive i corsi della domanda in un foglio di calcolo: F.xlsx (fogli Corsi, Spese, "
                                 "Riepilogo) o F.csv (con F-Spese.csv e F-Riepilogo.csv)"))
    {
        opzioniDomanda();
        opzione(QStringLiteral("file"), QStringLiteral("F.xlsx|F.csv"), QStringLiteral("il file da scrivere"));
    }

    QString controlla(const QCommandLineParser &p) const override { return controllaFile(p); }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        if (!domanda(c, p, kTitoloEsporta))
            return kRifiutato;
        QString errore;
        const QStringList scritti = esportaCorsi(c.db, c.sessione, percorsoDaRiga(p.value(QStringLiteral("file"))), &errore);
        if (!errore.isEmpty()) {
            c.dialoghi.messaggio(errore, kTitoloEsporta, Icona::Critico);
            return kRifiutato;
        }
        QTextStream out(stdout);
        for (const QString &f : scritti)
            out << f << '\n';
        return kRiuscito;
    }
};

class ImportaCorsi final : public Comando {
public:
    ImportaCorsi()
        : Comando(QStringLiteral("importa-corsi"),
                  QStringLiteral("legge i corsi da un foglio di calcolo esportato (e modificato): aggiorna i corsi con "
                                 "codice, inserisce quelli senza; ogni riga passa le verifiche della scheda corso e nulla "
                                 "è scritto se una riga ha un problema. Esce con 1 quando ci sono problemi, 2 quando il "
                                 "file non si legge"))
    {
        opzioniDomanda();
        opzione(QStringLiteral("file"), QStringLiteral("F.xlsx|F.csv"), QStringLiteral("il file da leggere"));
        opzione(QStringLiteral("prova"), QString(), QStringLiteral("verifica e riferisce senza scrivere nulla"),
                Presenza::Facoltativa);
    }

    QString controlla(const QCommandLineParser &p) const override { return controllaFile(p); }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        if (!domanda(c, p, kTitoloImporta))
            return kRifiutato;
        OpzioniImportazione o;
        o.prova = p.isSet(QStringLiteral("prova"));
        o.noteDomanda = [&c] { return problemiOreDomanda(c.db, c.sessione); };
        const EsitoImportazione e =
            importaCorsi(c.db, c.sessione, c.piattaforma, percorsoDaRiga(p.value(QStringLiteral("file"))), o);
        QTextStream out(stdout);
        for (const ProblemaFoglio &pr : e.problemi)
            out << rigaProblemaFoglio(pr) << '\n';
        for (const QString &n : e.note)
            out << QStringLiteral("Nota: ") << n.simplified() << '\n';
        out.flush();
        switch (e.stato) {
        case EsitoImportazione::Stato::Applicata:
        case EsitoImportazione::Stato::Verificata:
            QTextStream(stderr) << sintesiImportazione(e) << '\n';
            return kRiuscito;
        case EsitoImportazione::Stato::Problemi:
            QTextStream(stderr) << sintesiImportazione(e) << '\n';
            return kRifiutato;
        case EsitoImportazione::Stato::Rifiutata:
            c.dialoghi.messaggio(e.messaggio, kTitoloImporta, Icona::Esclamazione);
            return kRifiutato;
        case EsitoImportazione::Stato::Illeggibile:
            break;
        }
        c.dialoghi.messaggio(e.messaggio, kTitoloImporta, Icona::Critico);
        return kUsoErrato;
    }
};

} // namespace

ElencoComandi comandiFoglio()
{
    ElencoComandi r;
    r.push_back(std::make_unique<EsportaCorsi>());
    r.push_back(std::make_unique<ImportaCorsi>());
    return r;
}

} // namespace quirdal
