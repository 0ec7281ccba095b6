#include "cli/ComandiStampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/SessioneIni.h"
#include "db/CorsiDB.h"
#include "printing/ControlliStampa.h"
#include "printing/Stampa.h"

#include <QGuiApplication>
#include <QMap>
#include <QTextStream>

namespace quirdal {

namespace {

const QString kUso = QStringLiteral(
    "uso: quirdal-cli stampa --prov P --grupope G --operatore N --modo BOZZA|ORIGINALE [--sede C] [--pdf FILE]");
const QString kTitolo = QStringLiteral("Stampa");

int uso()
{
    QTextStream(stderr) << kUso << '\n';
    return 2;
}

} // namespace

std::unique_ptr<QCoreApplication> applicazioneCli(int &argc, char **argv)
{
    bool stampa = false;
    for (int i = 1; i < argc; ++i)
        stampa = stampa || QByteArray(argv[i]) == "stampa";
    if (!stampa)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int comandoStampa(Contesto &c, const QStringList &argomenti)
{
    static const QStringList ammesse = {QStringLiteral("prov"), QStringLiteral("grupope"), QStringLiteral("operatore"),
                                        QStringLiteral("modo"), QStringLiteral("sede"), QStringLiteral("pdf")};
    QMap<QString, QString> o;
    for (int i = 0; i < argomenti.size(); i += 2) {
        const QString nome = argomenti[i].mid(2);
        if (!argomenti[i].startsWith(QLatin1String("--")) || !ammesse.contains(nome) || i + 1 >= argomenti.size())
            return uso();
        o.insert(nome, argomenti[i + 1]);
    }
    for (const char *r : {"prov", "grupope", "operatore", "modo"})
        if (!o.contains(QString::fromLatin1(r)))
            return uso();
    const QString modo = o.value(QStringLiteral("modo")).toUpper();
    if (modo != kModoBozza && modo != kModoOriginale)
        return uso();
    bool numerica = false;
    const qlonglong sede = o.value(QStringLiteral("sede")).toLongLong(&numerica);
    if (o.contains(QStringLiteral("sede")) && (!numerica || sede <= 0 || modo == kModoOriginale)) {
        c.dialoghi.messaggio(modo == kModoOriginale ? QStringLiteral("La stampa definitiva comprende sempre tutte le sedi.")
                                                    : QStringLiteral("Sede non valida: ") + o.value(QStringLiteral("sede")),
                             kTitolo, Icona::Critico);
        return 2;
    }

    Sessione &s = c.sessione;
    s.gVersione = c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione"));
    // A final print that an earlier run was stopped in the middle of is finished first.
    completaStampeDefinitive(c);
    if (!impostaDomanda(s, c.db, o.value(QStringLiteral("grupope")), o.value(QStringLiteral("operatore")),
                        o.value(QStringLiteral("prov")))) {
        c.dialoghi.messaggio(QStringLiteral("Nessuna domanda per l'operatore e la provincia indicati."), kTitolo,
                             Icona::Critico);
        return 1;
    }

    if (o.contains(QStringLiteral("sede"))) {
        // Only a site that the application prints, as the screen's list offers them.
        QStringList sedi;
        for (const QString &voce : vociSediStampa(c.db, s))
            sedi << voce.section(QLatin1Char('-'), 0, 0).trimmed();
        if (!sedi.contains(QString::number(sede))) {
            c.dialoghi.messaggio(QStringLiteral("La sede ") + QString::number(sede)
                                     + QStringLiteral(" non ha corsi nella domanda dell'operatore e della provincia "
                                                      "indicati.")
                                     + CRLF + QStringLiteral("Sedi stampabili: ")
                                     + (sedi.isEmpty() ? QStringLiteral("nessuna") : sedi.join(QStringLiteral(", "))),
                                 kTitolo, Icona::Critico);
            return 1;
        }
    }

    RichiestaStampa r;
    r.modo = modo;
    r.filePdf = o.value(QStringLiteral("pdf"));
    r.apriAlTermine = false;
    if (o.contains(QStringLiteral("sede"))) {
        r.sede = sede;
        r.tipoSede = sede > 999 ? QStringLiteral("SO") : QStringLiteral("UL");
    }
    AvanzamentoStampa silenzioso;
    QTextStream out(stdout);
    if (modo == kModoBozza) {
        MotoreStampa motore(c, silenzioso);
        const EsitoStampa e = motore.esegui(r);
        if (e.stato == EsitoStampa::Stato::Completa)
            out << e.filePdf << '\n';
        return e.stato == EsitoStampa::Stato::Completa ? 0 : 1;
    }
    // Only the SERVER installation prints the final form, as on the send screen.
    if (s.gVersione == QLatin1String("CLIENT")) {
        c.dialoghi.messaggio(QStringLiteral("La stampa definitiva è disponibile solo sull'installazione SERVER."), kTitolo,
                             Icona::Critico);
        return 1;
    }
    if (!operatoreHaCorsi(c.db, s)) {
        c.dialoghi.messaggio(QStringLiteral("Nessun corso: impossibile inviare la domanda!"),
                             QStringLiteral("Invio domanda"), Icona::Critico);
        return 1;
    }
    const EsitoOriginale e = stampaOriginale(c, silenzioso, r);
    for (const QString &p : e.problemi)
        c.dialoghi.messaggio(p, kTitoloStampaNonDisponibile, Icona::Critico);
    if (!e.problemi.isEmpty())
        return 1;
    if (e.stampa.stato == EsitoStampa::Stato::Completa)
        out << e.stampa.filePdf << '\n';
    return e.stampa.intera() && TrasDoma(c.db, s) ? 0 : 1;
}

} // namespace quirdal
