// quirdal-cli: the program's logic without screens, for administrators, scripts and tests.
// The general options come before the command; the command reads the rest (cli/Comando.h).
#include "cli/Comandi.h"
#include "cli/DialoghiCli.h"
#include "common/Arresto.h"
#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "config/CartellaProgramma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "config/Installazione.h"
#include "db/CorsiDB.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

using namespace quirdal;

namespace {

const QString kCartella = QStringLiteral("cartella"), kSi = QStringLiteral("si"), kNo = QStringLiteral("no"),
              kAiuto = QStringLiteral("help");

// The general options, and the command's name with its own arguments after them.
struct RigaGenerale {
    QString cartella;
    DialoghiCli::Scelta scelta = DialoghiCli::Scelta::Nessuna;
    bool aiuto = false;
    QStringList comando;
    QString errore;
};

RigaGenerale leggiRigaGenerale(const QStringList &argomenti)
{
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Everything from the command's name on is the command's to read.
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    p.addOption(QCommandLineOption(kCartella, QString(), QStringLiteral("CARTELLA")));
    p.addOption(QCommandLineOption(kSi));
    p.addOption(QCommandLineOption(kNo));
    p.addOption(QCommandLineOption(kAiuto));
    RigaGenerale r;
    r.errore = erroreLettura(p, p.parse(argomenti));
    if (r.errore.isEmpty() && p.isSet(kSi) && p.isSet(kNo))
        r.errore = QStringLiteral("--si e --no insieme: le domande hanno una risposta sola");
    r.cartella = p.isSet(kCartella) ? p.value(kCartella) : qEnvironmentVariable("QUIRDAL_HOME");
    r.scelta = p.isSet(kSi) ? DialoghiCli::Scelta::Si : p.isSet(kNo) ? DialoghiCli::Scelta::No : DialoghiCli::Scelta::Nessuna;
    r.aiuto = p.isSet(kAiuto);
    r.comando = p.positionalArguments();
    return r;
}

// A GUI application without a display for the commands that need one (fonts and a PDF
// writer), a core application otherwise. Told from the raw arguments, as the application
// that would decode them does not exist yet.
std::unique_ptr<QCoreApplication> applicazione(int &argc, char **argv)
{
    QStringList argomenti;
    for (int i = 0; i < argc; ++i)
        argomenti << QString::fromLocal8Bit(argv[i]);
    const QStringList comando = leggiRigaGenerale(argomenti).comando;
    const Comando *c = comando.isEmpty() ? nullptr : trovaComando(comando.constFirst());
    if (!c || c->applicazione() != Comando::Applicazione::Grafica)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

void aiuto(QTextStream &out)
{
    out << "uso: quirdal-cli [--cartella CARTELLA] [--si | --no] COMANDO [ARGOMENTI]\n\n"
           "La cartella del programma (con QUIRDAL.INI) e' --cartella, altrimenti QUIRDAL_HOME,\n"
           "altrimenti la stessa del programma (di solito QUIRDAL nella cartella Documenti dell'utente).\n"
           "Le domande si rispondono con --si o --no; senza, con la risposta che interrompe.\n"
           "quirdal-cli COMANDO --help descrive gli argomenti e le opzioni di un comando.\n\n"
           "Comandi:\n";
    qsizetype larghezza = 0;
    for (const auto &c : comandi())
        larghezza = std::max(larghezza, c->nome().size());
    for (const auto &c : comandi()) {
        const QString sintassi = c->sintassi();
        out << "  " << c->nome().leftJustified(larghezza + 2)
            << (sintassi.isEmpty() ? QString() : sintassi + QStringLiteral(": ")) << c->descrizione() << '\n';
    }
}

// The command on its program folder: the installation checked and the database opened
// as the command requires; errors become messages and status 1.
int esegui(const Comando &comando, const QCommandLineParser &parser, const RigaGenerale &riga)
{
    const QString cartella = riga.cartella.isEmpty() ? cartellaProgramma() : riga.cartella;
    // An abort leaves its report in the program folder, naming the command.
    installaRapportoArresto(QDir(cartella).absolutePath(), QStringLiteral("quirdal-cli"));
    registraSchermata(QStringLiteral("quirdal-cli ") + comando.nome());

    Sessione sessione;
    CorsiDB db;
    cFileINI ini;
    DialoghiCli dialoghi(riga.scelta);
    Piattaforma piattaforma;
    ImpostazioniUtente utente;
    Contesto c{QDir(cartella).absolutePath(), sessione, db, ini, dialoghi, piattaforma, utente};
    try {
        if (comando.richiede() != Comando::Richiede::Niente
            && controllaInstallazione(c.cartellaProgramma, ini, sessione, dialoghi) == EsitoControlloIni::DaImpostare) {
            c.dialoghi.messaggio(QStringLiteral("Installazione non ancora impostata (Installazione/Tipo vuoto)."),
                                 kTitoloInizializzazione, Icona::Critico);
            return kRifiutato;
        }
        if (comando.richiede() == Comando::Richiede::BaseDati)
            Inizializza(c.cartellaProgramma, ini, sessione, db, dialoghi);
        const int esito = comando.esegui(c, parser);
        db.chiudi();
        return esito;
    } catch (const FineProgramma &) {
        db.chiudi();
        return kRifiutato;
    } catch (const Errore &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione(),
                             QStringLiteral("quirdal-cli"), Icona::Critico);
        db.chiudi();
        return kRifiutato;
    }
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = applicazione(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("QUIRDAL"));
    installaMessaggiParser(*app);
    QTextStream err(stderr), out(stdout);
    const RigaGenerale riga = leggiRigaGenerale(QCoreApplication::arguments());
    if (!riga.errore.isEmpty()) {
        err << "quirdal-cli: " << riga.errore << '\n';
        aiuto(err);
        return kUsoErrato;
    }
    if (riga.aiuto) {
        aiuto(out);
        return kRiuscito;
    }
    if (riga.comando.isEmpty()) {
        aiuto(err);
        return kUsoErrato;
    }
    const Comando *comando = trovaComando(riga.comando.constFirst());
    if (!comando) {
        err << "comando sconosciuto: " << riga.comando.constFirst() << '\n';
        aiuto(err);
        return kUsoErrato;
    }
    const Comando::Analisi analisi = comando->analizza(riga.comando.mid(1));
    if (!analisi.parser)
        return analisi.esito;
    return esegui(*comando, *analisi.parser, riga);
}
