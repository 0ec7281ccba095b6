// The copies of the database: a backup archive made and restored, the safety copy put
// back, a database file moved into the database of the installation.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/Installazione.h"
#include "db/CopiaSicurezza.h"
#include "db/CorsiDB.h"
#include "support/Backup.h"
#include "support/Migrazione.h"

#include <QTextStream>

namespace quirdal {

namespace {

const QString kArchivio = QStringLiteral("ARCHIVIO");

class Salva final : public Comando {
public:
    Salva()
        : Comando(QStringLiteral("salva"),
                  QStringLiteral("salva la base dati nell'archivio zip (\".zip\" aggiunto a un nome senza estensione; mai "
                                 "sopra la base dati, i suoi file, il QUIRDAL.INI o un file che non sia un archivio)"))
    {
        argomento(kArchivio, QStringLiteral("l'archivio da scrivere"));
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        return salvaDati(c, percorsoDaRiga(p.positionalArguments().constFirst())) == EsitoSalvataggio::Riuscito ? kRiuscito
                                                                                                                : kRifiutato;
    }
};

class Recupera final : public Comando {
public:
    Recupera()
        : Comando(QStringLiteral("recupera"),
                  QStringLiteral("recupera la base dati dall'archivio, dopo averla controllata e aver copiato quella "
                                 "attuale in BackupDB; con --operatore solo i dati di quell'operatore (chiede conferma "
                                 "quando sbloccherebbe domande stampate in definitivo: --si)"))
    {
        argomento(kArchivio, QStringLiteral("l'archivio da cui recuperare"));
        opzione(QStringLiteral("operatore"), QStringLiteral("G:N"),
                QStringLiteral("l'operatore, gruppo e numero, di cui recuperare i dati"), Presenza::Facoltativa);
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        if (p.isSet(QStringLiteral("operatore")) && operatoreDaRiga(p.value(QStringLiteral("operatore"))).isEmpty())
            return QStringLiteral("operatore non valido: ") + p.value(QStringLiteral("operatore"))
                + QStringLiteral(" (atteso G:N)");
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        ModoRecupero modo = ModoRecupero::Tutto;
        if (p.isSet(QStringLiteral("operatore"))) {
            const QStringList operatore = operatoreDaRiga(p.value(QStringLiteral("operatore")));
            c.sessione.impostaOperatore(operatore[0], operatore[1]);
            modo = ModoRecupero::Operatore;
        }
        return recuperaDati(c, percorsoDaRiga(p.positionalArguments().constFirst()), modo) == EsitoRecuperoDati::Riuscito
            ? kRiuscito
            : kRifiutato;
    }
};

class RipristinaCopia final : public Comando {
public:
    RipristinaCopia()
        : Comando(QStringLiteral("ripristina-copia"),
                  QStringLiteral("rimette al posto della base dati la sua copia di sicurezza (QUIRDAL.mdb_BAK), dopo "
                                 "averla controllata"))
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        const QString titolo = QStringLiteral("Ripristino base dati");
        const QString bak = percorsoCopiaSicurezza(c.db.percorso());
        if (!fileIntegro(bak)) {
            c.dialoghi.messaggio(QStringLiteral("Copia di sicurezza ") + bak + QStringLiteral(" assente o danneggiata."), titolo,
                                 Icona::Critico);
            return kRifiutato;
        }
        if (!ripristinaCopiaSicurezza(c.db, c.db.percorso())) {
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati non riuscito."), titolo, Icona::Critico);
            return kRifiutato;
        }
        c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati riuscito"), titolo, Icona::Informazione);
        return kRiuscito;
    }
};

// How an office moves from the shared file to the server: the file's data into the database of
// the installation's settings, which holds none of the agency's yet.
class Migra final : public Comando {
public:
    Migra()
        : Comando(QStringLiteral("migra"),
                  QStringLiteral("copia una base dati del programma (un file, controllato come l'archivio di un "
                                 "recupero) nella base dati di questa installazione, di solito quella sul server "
                                 "PostgreSQL, creandone lo schema se manca; la destinazione non deve contenere dati "
                                 "dell'ente; tutto o niente, e scrive le righe copiate per tabella"),
                  Richiede::Installazione)
    {
        opzione(QStringLiteral("da"), QStringLiteral("FILE.mdb"), QStringLiteral("la base dati da copiare"));
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString titolo = QStringLiteral("Migrazione base dati");
        auto rifiuta = [&](const QString &motivo) {
            c.dialoghi.messaggio(QStringLiteral("Migrazione fallita") + CRLF + CRLF + motivo, titolo, Icona::Critico);
            return kRifiutato;
        };
        // The database is filled, its schema made where it has none: a SERVER's work.
        if (c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")) == QLatin1String("CLIENT"))
            return rifiuta(QStringLiteral("La migrazione della base dati si esegue dalla postazione SERVER."));
        DatiConnessione dove;
        try {
            dove = leggiConnessione(c.ini);
        } catch (const Errore &e) {
            return rifiuta(e.descrizione());
        }
        if (dove.motore == Motore::SQLite && dove.file.trimmed().isEmpty())
            return rifiuta(QStringLiteral("Nessuna base dati indicata in BaseDati/Database di ") + c.ini.NomeFile());
        const EsitoMigrazione esito = migraBaseDati(percorsoDaRiga(p.value(QStringLiteral("da"))), dove);
        if (!esito.riuscita())
            return rifiuta(esito.errore);
        QTextStream out(stdout);
        for (const RigheCopiate &r : esito.righe)
            out << testoRigheCopiate(r) << '\n';
        out.flush();
        c.dialoghi.messaggio(QStringLiteral("Migrazione eseguita con successo in ") + dove.descrizione(), titolo,
                             Icona::Informazione);
        return kRiuscito;
    }
};

} // namespace

ElencoComandi comandiDati()
{
    ElencoComandi r;
    r.push_back(std::make_unique<Salva>());
    r.push_back(std::make_unique<Recupera>());
    r.push_back(std::make_unique<RipristinaCopia>());
    r.push_back(std::make_unique<Migra>());
    return r;
}

} // namespace quirdal
