// The region's server from the command line: its addresses, the version check, the
// downloads, the application's number, the transmission file, its sending and the sends made.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/Aggiornamenti.h"
#include "db/CorsiDB.h"
#include "printing/Ricevuta.h"
#include "transmission/CatalogoTrasmissione.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/Invii.h"
#include "transmission/ServiziRegione.h"
#include "transmission/Trasferimento.h"

#include <QDate>
#include <QDir>
#include <QTextStream>
#include <QUrl>

namespace quirdal {

namespace {

const QString kFormatoData = QStringLiteral("yyyyMMdd");

class ImpostaServer final : public Comando {
public:
    ImpostaServer()
        : Comando(QStringLiteral("imposta-server"),
                  QStringLiteral("indirizzi dei servizi e credenziali di connessione nel QUIRDAL.INI"), Richiede::Installazione)
    {
        opzione(QStringLiteral("indirizzo"), QStringLiteral("https://HOST:PORTA"),
                QStringLiteral("l'indirizzo del server della regione"));
        opzione(QStringLiteral("utente"), QStringLiteral("U"), QStringLiteral("l'utente della connessione"));
        opzione(QStringLiteral("password"), QStringLiteral("P"), QStringLiteral("la sua password"));
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        const QUrl base(p.value(QStringLiteral("indirizzo")));
        if (!base.isValid() || base.scheme() != QLatin1String("https") || base.host().isEmpty())
            return QStringLiteral("indirizzo non valido: ") + indirizzoMostrabile(p.value(QStringLiteral("indirizzo")))
                + QStringLiteral(" (https://HOST:PORTA)");
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QUrl base(p.value(QStringLiteral("indirizzo")));
        const QString radice =
            base.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::StripTrailingSlash) + QStringLiteral("/cgi-bin/fp/");
        bool ok = true;
        for (const auto &[chiave, servizio] :
             {std::pair{"NREG", "nreg"}, std::pair{"VERSIONE", "versione"}, std::pair{"ASSISTENZA", "assistenza"},
              std::pair{"AGGIORNADB", "aggiornadb"}, std::pair{"AGGIORNATABELLE", "aggiornatabelle"}})
            ok = ok
                && c.ini.scrivi(QStringLiteral("CONNESSIONE"), QString::fromLatin1(chiave),
                                radice + QString::fromLatin1(servizio));
        // The connection credentials, inserted into the number's address as "user:password@".
        const QString credenziali = QString::fromUtf8(QUrl::toPercentEncoding(p.value(QStringLiteral("utente"))))
            + QLatin1Char(':') + QString::fromUtf8(QUrl::toPercentEncoding(p.value(QStringLiteral("password"))))
            + QLatin1Char('@');
        ok = ok && c.ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD"), scramblePwd(credenziali));
        return ok ? kRiuscito : kRifiutato;
    }
};

class VerificaVersioneServer final : public Comando {
public:
    VerificaVersioneServer()
        : Comando(QStringLiteral("verifica-versione"),
                  QStringLiteral("chiede al server se questa versione del programma può trasmettere"))
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &) const override
    {
        Trasferimento t(c.cartellaProgramma, c.utente);
        return VerificaVersione(c, t) ? kRiuscito : kRifiutato;
    }
};

class Scarica final : public Comando {
public:
    Scarica()
        : Comando(QStringLiteral("scarica"), QStringLiteral("scarica dal server tabelle di decodifica e dati degli operatori"),
                  Richiede::Installazione)
    {
        opzione(QStringLiteral("operatori"), QStringLiteral("G:N[,G:N...]"),
                QStringLiteral("gli operatori, gruppo e numero, separati da virgole"));
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        for (const QString &coppia : voci(p))
            if (operatoreDaRiga(coppia).isEmpty())
                return QStringLiteral("operatore non valido: ") + coppia + QStringLiteral(" (atteso G:N)");
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        if (!soloSuServer(c, QStringLiteral("Scarico dal Server")))
            return kRifiutato;
        QStringList perScarico;
        for (const QString &coppia : voci(p)) {
            const QStringList o = operatoreDaRiga(coppia);
            perScarico << vocePerScarico(o[0], o[1]);
        }
        if (perScarico.size() > kMassimoOperatoriScarico) {
            c.dialoghi.messaggio(QStringLiteral("E' stato raggiunto il limite massimo di aziende scaricabili da Internet"),
                                 QStringLiteral("Attenzione"), Icona::Informazione);
            return kRifiutato;
        }
        Trasferimento t(c.cartellaProgramma, c.utente);
        // Both requests run, whatever the first gave; success only when both went well.
        const bool tabelle = scaricaTabelle(c, t, perScarico);
        const bool operatori = scaricaDatiOperatori(c, t, perScarico);
        return tabelle && operatori ? kRiuscito : kRifiutato;
    }

private:
    static QStringList voci(const QCommandLineParser &p)
    {
        return p.value(QStringLiteral("operatori")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    }
};

// The commands that talk to the server for an application: its keys and the sender's
// address, checked as the send screen checks it.
class ComandoMittente : public Comando {
protected:
    ComandoMittente(const QString &nome, const QString &descrizione, Applicazione applicazione = Applicazione::Base)
        : Comando(nome, descrizione, Richiede::BaseDati, applicazione)
    {
        opzioniDomanda();
        opzione(QStringLiteral("email"), QStringLiteral("INDIRIZZO"), QStringLiteral("l'indirizzo di chi trasmette"));
    }

    // The sender's address, or empty after its refusal has been told.
    static QString mittente(Contesto &c, const QCommandLineParser &p)
    {
        const QString email = p.value(QStringLiteral("email"));
        if (const QString m = controllaEmail(email); !m.isEmpty()) {
            c.dialoghi.messaggio(m, kTitoloEmail, Icona::Critico);
            return {};
        }
        return email;
    }
};

class NumeroDomanda final : public ComandoMittente {
public:
    NumeroDomanda()
        : ComandoMittente(QStringLiteral("numero-domanda"),
                          QStringLiteral("chiede al server il numero della domanda e apre la domanda"))
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString email = mittente(c, p);
        if (email.isEmpty())
            return kRifiutato;
        Trasferimento t(c.cartellaProgramma, c.utente);
        const QString prov = p.value(QStringLiteral("prov")), grupope = p.value(QStringLiteral("grupope")),
                      operatore = p.value(QStringLiteral("operatore"));
        if (richiediNumeroDomanda(c, t, prov, grupope, operatore, email) != EsitoNumero::Ottenuto)
            return kRifiutato;
        QTextStream(stdout) << c.db.valoreScalare(sql::trasmissione::kNumDoma, {grupope, operatore.toLongLong(), prov}).toString()
                            << '\n';
        return kRiuscito;
    }
};

class Invia final : public ComandoMittente {
public:
    Invia()
        : ComandoMittente(QStringLiteral("invia"),
                          QStringLiteral("controllo della versione, file di trasmissione e invio; scrive il percorso "
                                         "della ricevuta"),
                          Applicazione::Grafica) // the receipt is a PDF
    {
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString email = mittente(c, p);
        if (email.isEmpty())
            return kRifiutato;
        c.utente.scrivi(chiaviFP::EMail, email);
        c.sessione.gEmail = email;
        Trasferimento t(c.cartellaProgramma, c.utente);
        if (!VerificaVersione(c, t))
            return kRifiutato;
        const EsitoInvioDomanda e = inviaDomanda(c, t, p.value(QStringLiteral("prov")), p.value(QStringLiteral("grupope")),
                                                 p.value(QStringLiteral("operatore")), false);
        if (!e.ricevuta.isEmpty())
            QTextStream(stdout) << e.ricevuta << '\n';
        return e.trasmessa ? kRiuscito : kRifiutato;
    }
};

// The sends of an application, one per line: date, time, file, size, SHA-256, the copy kept
// and, when its bytes no longer match, what is wrong with it.
class Invii final : public Comando {
public:
    Invii()
        : Comando(QStringLiteral("invii"),
                  QStringLiteral("elenca gli invii della domanda, uno per riga, con l'impronta SHA-256 della copia"))
    {
        opzioniDomanda();
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString prov = p.value(QStringLiteral("prov")), grupope = p.value(QStringLiteral("grupope"));
        bool numero = false;
        const qlonglong operatore = p.value(QStringLiteral("operatore")).toLongLong(&numero);
        if (!numero) {
            c.dialoghi.messaggio(QStringLiteral("Operatore non valido: ") + p.value(QStringLiteral("operatore")),
                                 QStringLiteral("Invii"), Icona::Critico);
            return kRifiutato;
        }
        aggiornaInvii(c.db);
        QTextStream out(stdout);
        for (const Invio &i : inviiDomanda(c.db, prov, grupope, operatore)) {
            QStringList campi{i.dataOra.toString(QStringLiteral("dd/MM/yyyy")),
                              i.dataOra.toString(QStringLiteral("HH:mm:ss")),
                              i.nomeFile,
                              QString::number(i.dimensione),
                              i.sha256,
                              QDir::toNativeSeparators(QDir(kCartellaInviati).filePath(i.copia))};
            if (const QString stato = testoStatoCopia(statoCopia(c.cartellaProgramma, i)); !stato.isEmpty())
                campi << stato;
            out << campi.join(QLatin1Char('\t')) << '\n';
        }
        return kRiuscito;
    }
};

class CreaFileTrasmissione final : public Comando {
public:
    CreaFileTrasmissione()
        : Comando(QStringLiteral("crea-file-trasmissione"),
                  QStringLiteral("scrive il file di trasmissione della domanda nella cartella e ne stampa il nome"))
    {
        opzioniDomanda();
        opzione(QStringLiteral("email"), QStringLiteral("INDIRIZZO"),
                QStringLiteral("l'indirizzo di chi trasmette; senza, quello delle impostazioni dell'utente"),
                Presenza::Facoltativa);
        opzione(QStringLiteral("data"), QStringLiteral("AAAAMMGG"), QStringLiteral("la data del file; senza, quella di oggi"),
                Presenza::Facoltativa);
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        if (p.isSet(QStringLiteral("data")) && !QDate::fromString(p.value(QStringLiteral("data")), kFormatoData).isValid())
            return QStringLiteral("data non valida: ") + p.value(QStringLiteral("data")) + QStringLiteral(" (AAAAMMGG)");
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString prov = p.value(QStringLiteral("prov")), grupope = p.value(QStringLiteral("grupope")),
                      operatore = p.value(QStringLiteral("operatore"));
        mCreaFileTrasm modulo(c);
        if (p.isSet(QStringLiteral("data")))
            modulo.setData(QDate::fromString(p.value(QStringLiteral("data")), kFormatoData));
        c.sessione.gEmail = p.isSet(QStringLiteral("email")) ? p.value(QStringLiteral("email")) : c.utente.leggi(chiaviFP::EMail);
        if (!modulo.CreaFile(prov, grupope, operatore)) {
            // Without an application (no number from the server) there is no file and no
            // message of the module's own: say why.
            if (modulo.NomeFile(prov, grupope, operatore).isEmpty())
                c.dialoghi.messaggio(QStringLiteral("Nessuna domanda con numero per l'operatore e la provincia indicati."),
                                     QStringLiteral("Crea File di Trasmissione"), Icona::Critico);
            return kRifiutato;
        }
        QTextStream(stdout) << modulo.gNomeFileTrasm() << '\n';
        return kRiuscito;
    }
};

} // namespace

ElencoComandi comandiServer()
{
    ElencoComandi r;
    r.push_back(std::make_unique<ImpostaServer>());
    r.push_back(std::make_unique<VerificaVersioneServer>());
    r.push_back(std::make_unique<Scarica>());
    r.push_back(std::make_unique<NumeroDomanda>());
    r.push_back(std::make_unique<CreaFileTrasmissione>());
    r.push_back(std::make_unique<Invia>());
    r.push_back(std::make_unique<Invii>());
    return r;
}

} // namespace quirdal
