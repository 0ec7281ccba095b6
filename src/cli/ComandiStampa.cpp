// The application from the command line: its checks, and its print.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/SessioneIni.h"
#include "courses/VerificaCorso.h"
#include "db/CorsiDB.h"
#include "printing/ControlliStampa.h"
#include "printing/Stampa.h"

#include <QTextStream>

namespace quirdal {

namespace {

const QString kTitolo = QStringLiteral("Stampa");

// Every course of an application through the course rules: one line per problem, so a
// batch of courses can be mended in one pass. Exit 0 with nothing found, 1 otherwise.
class Verifica final : public Comando {
public:
    Verifica()
        : Comando(QStringLiteral("verifica"),
                  QStringLiteral("controlla ogni corso della domanda e scrive ogni "
                                 "problema trovato, uno per riga"))
    {
        opzioniDomanda();
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        if (!impostaDomanda(c.sessione, c.db, p.value(QStringLiteral("grupope")), p.value(QStringLiteral("operatore")),
                            p.value(QStringLiteral("prov")))) {
            c.dialoghi.messaggio(QStringLiteral("Nessuna domanda per l'operatore e la provincia indicati."),
                                 QStringLiteral("Verifica"), Icona::Critico);
            return kRifiutato;
        }
        QTextStream out(stdout);
        const QList<ProblemaCorso> problemi = problemiCorsiDomanda(c.db, c.sessione).value();
        for (const ProblemaCorso &pr : problemi)
            out << rigaProblema(pr) << '\n';
        // Then the checks of the whole application before its final print.
        const QStringList domanda = problemiDomandaStampa(c.db, c.sessione, {}, false);
        for (const QString &pr : domanda)
            out << rigaProblemaDomanda(pr) << '\n';
        return problemi.isEmpty() && domanda.isEmpty() ? kRiuscito : kRifiutato;
    }
};

class Stampa final : public Comando {
public:
    Stampa()
        : Comando(QStringLiteral("stampa"),
                  QStringLiteral("il PDF della domanda; ORIGINALE esegue prima i controlli e blocca la domanda stampata"),
                  Richiede::BaseDati, Applicazione::Grafica)
    {
        opzioniDomanda();
        opzione(QStringLiteral("modo"), QStringLiteral("BOZZA|ORIGINALE"),
                QStringLiteral("una bozza, o la stampa definitiva che blocca la domanda"));
        opzione(QStringLiteral("sede"), QStringLiteral("C"),
                QStringLiteral("solo questa sede, che abbia corsi nella domanda (solo in BOZZA)"), Presenza::Facoltativa);
        opzione(QStringLiteral("pdf"), QStringLiteral("FILE"), QStringLiteral("il PDF da scrivere"), Presenza::Facoltativa);
    }

    QString controlla(const QCommandLineParser &p) const override
    {
        const QString m = modo(p);
        if (m != kModoBozza && m != kModoOriginale)
            return QStringLiteral("modo non valido: ") + p.value(QStringLiteral("modo")) + QStringLiteral(" (BOZZA o ORIGINALE)");
        if (!p.isSet(QStringLiteral("sede")))
            return {};
        if (m == kModoOriginale)
            return QStringLiteral("La stampa definitiva comprende sempre tutte le sedi.");
        if (sede(p) <= 0)
            return QStringLiteral("Sede non valida: ") + p.value(QStringLiteral("sede"));
        return {};
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        Sessione &s = c.sessione;
        s.gVersione = c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione"));
        // A final print that an earlier run was stopped in the middle of is finished first.
        completaStampeDefinitive(c);
        if (!impostaDomanda(s, c.db, p.value(QStringLiteral("grupope")), p.value(QStringLiteral("operatore")),
                            p.value(QStringLiteral("prov")))) {
            c.dialoghi.messaggio(QStringLiteral("Nessuna domanda per l'operatore e la provincia indicati."), kTitolo,
                                 Icona::Critico);
            return kRifiutato;
        }
        RichiestaStampa r;
        r.modo = modo(p);
        r.filePdf = p.value(QStringLiteral("pdf"));
        r.apriAlTermine = false;
        if (p.isSet(QStringLiteral("sede"))) {
            r.sede = sede(p);
            if (!sedeStampabile(c, r.sede))
                return kRifiutato;
            r.tipoSede = r.sede > 999 ? QStringLiteral("SO") : QStringLiteral("UL");
        }
        AvanzamentoStampa silenzioso;
        QTextStream out(stdout);
        if (r.modo == kModoBozza) {
            MotoreStampa motore(c, silenzioso);
            const EsitoStampa e = motore.esegui(r);
            if (e.stato == EsitoStampa::Stato::Completa)
                out << e.filePdf << '\n';
            return e.stato == EsitoStampa::Stato::Completa ? kRiuscito : kRifiutato;
        }
        // Only the SERVER installation prints the final form, as on the send screen.
        if (s.gVersione == QLatin1String("CLIENT")) {
            c.dialoghi.messaggio(QStringLiteral("La stampa definitiva è disponibile solo sull'installazione SERVER."), kTitolo,
                                 Icona::Critico);
            return kRifiutato;
        }
        if (!operatoreHaCorsi(c.db, s)) {
            c.dialoghi.messaggio(QStringLiteral("Nessun corso: impossibile inviare la domanda!"), QStringLiteral("Invio domanda"),
                                 Icona::Critico);
            return kRifiutato;
        }
        const EsitoOriginale e = stampaOriginale(c, silenzioso, r);
        for (const QString &pr : e.problemi)
            c.dialoghi.messaggio(pr, kTitoloStampaNonDisponibile, Icona::Critico);
        if (!e.problemi.isEmpty())
            return kRifiutato;
        if (e.stampa.stato == EsitoStampa::Stato::Completa)
            out << e.stampa.filePdf << '\n';
        return e.stampa.intera() && TrasDoma(c.db, s) ? kRiuscito : kRifiutato;
    }

private:
    static QString modo(const QCommandLineParser &p) { return p.value(QStringLiteral("modo")).toUpper(); }

    // The site asked for, 0 when it is no number.
    static qlonglong sede(const QCommandLineParser &p)
    {
        bool numerica = false;
        const qlonglong n = p.value(QStringLiteral("sede")).toLongLong(&numerica);
        return numerica && n > 0 ? n : 0;
    }

    // Only a site that the application prints, as the screen's list offers them.
    static bool sedeStampabile(Contesto &c, qlonglong sede)
    {
        QStringList sedi;
        for (const QString &voce : vociSediStampa(c.db, c.sessione))
            sedi << voce.section(QLatin1Char('-'), 0, 0).trimmed();
        if (sedi.contains(QString::number(sede)))
            return true;
        c.dialoghi.messaggio(QStringLiteral("La sede ") + QString::number(sede)
                                 + QStringLiteral(" non ha corsi nella domanda dell'operatore e della provincia indicati.") + CRLF
                                 + QStringLiteral("Sedi stampabili: ")
                                 + (sedi.isEmpty() ? QStringLiteral("nessuna") : sedi.join(QStringLiteral(", "))),
                             kTitolo, Icona::Critico);
        return false;
    }
};

} // namespace

ElencoComandi comandiDomanda()
{
    ElencoComandi r;
    r.push_back(std::make_unique<Verifica>());
    r.push_back(std::make_unique<Stampa>());
    return r;
}

} // namespace quirdal
