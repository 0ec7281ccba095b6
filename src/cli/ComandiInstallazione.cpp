// The set-up of a workstation from the command line: its folder from the installed
// model, what the installation screens ask, a new empty database.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
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
                  QStringLiteral("crea una nuova base dati vuota: il file di BaseDati/Database (non sovrascrive), "
                                 "o con PROVIDER=PostgreSQL lo schema nella base dati del server, che dev'essere vuota"),
                  Richiede::Installazione)
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        const QString titolo = QStringLiteral("Crea base dati");
        DatiConnessione dove;
        try {
            dove = leggiConnessione(c.ini);
        } catch (const Errore &e) {
            c.dialoghi.messaggio(e.descrizione(), titolo, Icona::Critico);
            return kRifiutato;
        }
        if (dove.motore == Motore::PostgreSQL) {
            try {
                creaDatabase(dove, QString::fromLatin1(CorsiDB::kPassword));
            } catch (const Errore &e) {
                c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(": ")
                                         + e.descrizione(),
                                     titolo, Icona::Critico);
                return kRifiutato;
            }
            QTextStream(stdout) << dove.descrizione() << '\n';
            return kRiuscito;
        }
        const QString percorso = dove.file;
        if (percorso.trimmed().isEmpty()) {
            c.dialoghi.messaggio(QStringLiteral("Nessuna base dati indicata in BaseDati/Database di ") + c.ini.NomeFile(), titolo,
                                 Icona::Critico);
            return kRifiutato;
        }
        if (QFileInfo::exists(percorso)) {
            c.dialoghi.messaggio(QStringLiteral("Il file ") + percorso + QStringLiteral(" esiste già: non viene sovrascritto."),
                                 titolo, Icona::Critico);
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

// What the installation screens write, for an unattended set-up of a workstation: the file of
// an SQLite database, or the server of a PostgreSQL one.
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
        opzione(QStringLiteral("provider"), QStringLiteral("SQLite|PostgreSQL"),
                QStringLiteral("il motore della base dati: un file (SQLite, il predefinito) o un server PostgreSQL"),
                Presenza::Facoltativa);
        opzione(QStringLiteral("database"), QStringLiteral("FILE.mdb"), QStringLiteral("la base dati (SQLite)"),
                Presenza::Facoltativa);
        opzione(QStringLiteral("host"), QStringLiteral("HOST"),
                QStringLiteral("il server PostgreSQL: nome, indirizzo o cartella del suo socket"), Presenza::Facoltativa);
        opzione(QStringLiteral("porta"), QStringLiteral("PORTA"), QStringLiteral("la porta del server (5432)"),
                Presenza::Facoltativa);
        opzione(QStringLiteral("nome-db"), QStringLiteral("NOME"), QStringLiteral("la base dati sul server"),
                Presenza::Facoltativa);
        opzione(QStringLiteral("utente"), QStringLiteral("UTENTE"), QStringLiteral("l'utente del server"), Presenza::Facoltativa);
        opzione(QStringLiteral("password"), QStringLiteral("PASSWORD"),
                QStringLiteral("la password dell'utente (conservata offuscata)"), Presenza::Facoltativa);
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        const QString tipo = p.value(QStringLiteral("tipo")), versione = p.value(QStringLiteral("versione"));
        if (tipo != QLatin1String("StandAlone") && tipo != QLatin1String("Multiutenza"))
            return QStringLiteral("tipo non valido: ") + tipo + QStringLiteral(" (StandAlone o Multiutenza)");
        if (versione != QLatin1String("SERVER") && versione != QLatin1String("CLIENT"))
            return QStringLiteral("versione non valida: ") + versione + QStringLiteral(" (SERVER o CLIENT)");
        const QString provider =
            p.isSet(QStringLiteral("provider")) ? p.value(QStringLiteral("provider")) : QStringLiteral("SQLite");
        const QStringList delServer = {QStringLiteral("host"), QStringLiteral("porta"), QStringLiteral("nome-db"),
                                       QStringLiteral("utente"), QStringLiteral("password")};
        if (provider == QLatin1String("SQLite")) {
            if (!p.isSet(QStringLiteral("database")))
                return QStringLiteral("manca l'opzione --database");
            for (const QString &o : delServer)
                if (p.isSet(o))
                    return QStringLiteral("--") + o + QStringLiteral(" vale solo con --provider PostgreSQL");
            return {};
        }
        if (provider != QLatin1String("PostgreSQL"))
            return QStringLiteral("provider non valido: ") + provider + QStringLiteral(" (SQLite o PostgreSQL)");
        if (p.isSet(QStringLiteral("database")))
            return QStringLiteral("--database vale solo con --provider SQLite");
        QStringList mancanti;
        for (const QString &o : {QStringLiteral("host"), QStringLiteral("nome-db"), QStringLiteral("utente")})
            if (!p.isSet(o) || p.value(o).trimmed().isEmpty())
                mancanti << QStringLiteral("--") + o;
        if (!mancanti.isEmpty())
            return (mancanti.size() == 1 ? QStringLiteral("manca l'opzione ") : QStringLiteral("mancano le opzioni "))
                + mancanti.join(QStringLiteral(", "));
        if (p.isSet(QStringLiteral("porta"))) {
            const qlonglong porta = numeroDaRiga(p.value(QStringLiteral("porta")));
            if (porta < 1 || porta > 65535)
                return QStringLiteral("porta non valida: ") + p.value(QStringLiteral("porta"));
        }
        return passwordNonConservabile(p.value(QStringLiteral("password")));
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString tipo = p.value(QStringLiteral("tipo"));
        const QString versione = p.value(QStringLiteral("versione"));
        DatiConnessione dove;
        if (p.value(QStringLiteral("provider")) == QLatin1String("PostgreSQL")) {
            dove.motore = Motore::PostgreSQL;
            dove.host = p.value(QStringLiteral("host")).trimmed();
            if (p.isSet(QStringLiteral("porta")))
                dove.porta = static_cast<int>(numeroDaRiga(p.value(QStringLiteral("porta"))));
            dove.nomeDb = p.value(QStringLiteral("nome-db")).trimmed();
            dove.utente = p.value(QStringLiteral("utente")).trimmed();
            dove.password = p.value(QStringLiteral("password"));
        } else {
            dove.file = percorsoDaRiga(p.value(QStringLiteral("database")));
            if (!dove.file.endsWith(QLatin1String("MDB"), Qt::CaseInsensitive)) {
                c.dialoghi.messaggio(QStringLiteral("Il file selezionato non è un database Microsoft Access."),
                                     QStringLiteral("Controllo dati"), Icona::Critico);
                return kRifiutato;
            }
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
        if (dove.motore == Motore::SQLite) {
            c.sessione.gPathDB = QDir::cleanPath(dove.file);
            c.sessione.gNomeFileDB = QFileInfo(dove.file).fileName();
            salvaInstallazione(c.ini, c.sessione, c.dialoghi);
        } else if (c.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), tipo) == 0) {
            return kRifiutato;
        }
        if (!scriviConnessione(c.ini, dove))
            return kRifiutato;
        return c.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), versione) != 0 ? kRiuscito : kRifiutato;
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
