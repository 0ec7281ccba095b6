// The set-up of a workstation from the command line: its folder from the installed
// model, what the installation screens ask, a new empty database.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "config/CartellaProgramma.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace quirdal {

namespace {

class CreaDb final : public Comando {
public:
    CreaDb()
        : Comando(QStringLiteral("crea-db"),
                  QStringLiteral("crea una nuova base dati vuota nel percorso di BaseDati/Database (non sovrascrive)"),
                  Richiede::Installazione)
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        const QString percorso = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"));
        if (percorso.trimmed().isEmpty()) {
            c.dialoghi.messaggio(QStringLiteral("Nessuna base dati indicata in BaseDati/Database di ") + c.ini.NomeFile(),
                                 QStringLiteral("Crea base dati"), Icona::Critico);
            return kRifiutato;
        }
        if (QFileInfo::exists(percorso)) {
            c.dialoghi.messaggio(QStringLiteral("Il file ") + percorso
                                     + QStringLiteral(" esiste già: non viene sovrascritto."),
                                 QStringLiteral("Crea base dati"), Icona::Critico);
            return kRifiutato;
        }
        creaDatabase(percorso, QString::fromLatin1(CorsiDB::kPassword));
        QTextStream(stdout) << percorso << '\n';
        return kRiuscito;
    }
};

// A new program folder, or the files an existing one lacks, from the installed model.
class PreparaCartella final : public Comando {
public:
    PreparaCartella()
        : Comando(QStringLiteral("prepara-cartella"),
                  QStringLiteral("crea la cartella del programma dal modello installato (QUIRDAL.INI, base dati vuota, "
                                 "aiuto, modelli di stampa), o vi aggiunge i file che mancano; non sovrascrive, salvo l'aiuto, "
                                 "che prende quello installato"),
                  Richiede::Niente)
    {
        opzione(QStringLiteral("modello"), QStringLiteral("CARTELLA"),
                QStringLiteral("il modello della cartella, invece di quello installato accanto al programma"),
                Presenza::Facoltativa);
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString modello =
            p.isSet(QStringLiteral("modello")) ? percorsoDaRiga(p.value(QStringLiteral("modello"))) : cartellaModello();
        if (modello.isEmpty()) {
            c.dialoghi.messaggio(QStringLiteral("Nessun modello della cartella del programma installato accanto a ")
                                     + QCoreApplication::applicationDirPath() + QStringLiteral(" (--modello CARTELLA)."),
                                 QStringLiteral("Prepara cartella"), Icona::Critico);
            return kRifiutato;
        }
        const QStringList copiati = preparaCartella(c.cartellaProgramma, modello);
        QTextStream out(stdout);
        out << c.cartellaProgramma << '\n';
        for (const QString &f : copiati)
            out << "  " << f << '\n';
        return kRiuscito;
    }
};

// What the installation screens write, for an unattended set-up of a workstation.
class ImpostaInstallazione final : public Comando {
public:
    ImpostaInstallazione()
        : Comando(QStringLiteral("imposta-installazione"),
                  QStringLiteral("quello che chiedono le schermate di installazione, nel QUIRDAL.INI"), Richiede::Niente)
    {
        opzione(QStringLiteral("tipo"), QStringLiteral("StandAlone|Multiutenza"),
                QStringLiteral("una postazione sola, o più postazioni sulla stessa base dati"));
        opzione(QStringLiteral("versione"), QStringLiteral("SERVER|CLIENT"),
                QStringLiteral("la postazione che tiene la base dati (SERVER) o una che la usa in rete (CLIENT)"));
        opzione(QStringLiteral("database"), QStringLiteral("FILE.mdb"), QStringLiteral("la base dati"));
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        const QString tipo = p.value(QStringLiteral("tipo")), versione = p.value(QStringLiteral("versione"));
        if (tipo != QLatin1String("StandAlone") && tipo != QLatin1String("Multiutenza"))
            return QStringLiteral("tipo non valido: ") + tipo + QStringLiteral(" (StandAlone o Multiutenza)");
        if (versione != QLatin1String("SERVER") && versione != QLatin1String("CLIENT"))
            return QStringLiteral("versione non valida: ") + versione + QStringLiteral(" (SERVER o CLIENT)");
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString tipo = p.value(QStringLiteral("tipo"));
        const QString versione = p.value(QStringLiteral("versione"));
        const QString database = percorsoDaRiga(p.value(QStringLiteral("database")));
        if (!database.endsWith(QLatin1String("MDB"), Qt::CaseInsensitive)) {
            c.dialoghi.messaggio(QStringLiteral("Il file selezionato non è un database Microsoft Access."),
                                 QStringLiteral("Controllo dati"), Icona::Critico);
            return kRifiutato;
        }
        const QString percorsoIni = QDir(c.cartellaProgramma).filePath(kNomeIni);
        if (!QFileInfo(percorsoIni).isFile()) {
            c.dialoghi.messaggio(QStringLiteral("Impossibile trovare il file ") + percorsoIni
                                     + QStringLiteral(" (quirdal-cli prepara-cartella lo crea)."),
                                 kTitoloInizializzazione, Icona::Critico);
            return kRifiutato;
        }
        c.ini = cFileINI(c.cartellaProgramma);
        c.ini.setNomeFile(percorsoIni);
        if (versione == QLatin1String("CLIENT"))
            rinominaFileClient(c.cartellaProgramma);
        c.sessione.gTipoInstallazione = tipo;
        c.sessione.gPathDB = QDir::cleanPath(database);
        c.sessione.gNomeFileDB = QFileInfo(database).fileName();
        salvaInstallazione(c.ini, c.sessione, c.dialoghi);
        return c.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), versione) != 0 ? kRiuscito
                                                                                                      : kRifiutato;
    }
};

} // namespace

ElencoComandi comandiInstallazione()
{
    ElencoComandi r;
    r.push_back(std::make_unique<PreparaCartella>());
    r.push_back(std::make_unique<ImpostaInstallazione>());
    r.push_back(std::make_unique<CreaDb>());
    return r;
}

} // namespace quirdal
