// quirdal-cli: the program's logic without screens, for administrators, scripts and tests.
#include "cli/ComandiRiassegna.h"
#include "cli/ComandiStampa.h"
#include "printing/ControlliStampa.h"
#include "cli/DialoghiCli.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "config/Installazione.h"
#include "config/CartellaProgramma.h"
#include "db/CopiaSicurezza.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/ServiziRegione.h"
#include "common/Generale.h"
#include "support/Backup.h"
#include "config/SessioneIni.h"
#include "courses/VerificaCorso.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>

#include <optional>
#include <variant>

#include <functional>
#include <map>

using namespace quirdal;

namespace {

struct Comando {
    QString descrizione;
    bool serveDb;
    std::function<int(Contesto &, const QStringList &)> esegui;
};

int creaDb(Contesto &c, const QStringList &)
{
    const QString percorso = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database"));
    if (percorso.trimmed().isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Nessuna base dati indicata in BaseDati/Database di ") + c.ini.NomeFile(),
                             QStringLiteral("Crea base dati"), Icona::Critico);
        return 1;
    }
    if (QFileInfo::exists(percorso)) {
        c.dialoghi.messaggio(QStringLiteral("Il file ") + percorso
                                 + QStringLiteral(" esiste già: non viene sovrascritto."),
                             QStringLiteral("Crea base dati"), Icona::Critico);
        return 1;
    }
    creaDatabase(percorso, QString::fromLatin1(CorsiDB::kPassword));
    QTextStream(stdout) << percorso << '\n';
    return 0;
}

int caricaTabelle(Contesto &c, const QStringList &)
{
    ProgressoCli p;
    passoTabelle(c, p);
    return 0;
}

int ripristinaCopia(Contesto &c, const QStringList &)
{
    const QString bak = percorsoCopiaSicurezza(c.db.percorso());
    if (!fileIntegro(bak)) {
        c.dialoghi.messaggio(QStringLiteral("Copia di sicurezza ") + bak + QStringLiteral(" assente o danneggiata."),
                             QStringLiteral("Ripristino base dati"), Icona::Critico);
        return 1;
    }
    if (!ripristinaCopiaSicurezza(c.db, c.db.percorso())) {
        c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati non riuscito."), QStringLiteral("Ripristino base dati"),
                             Icona::Critico);
        return 1;
    }
    c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati riuscito"), QStringLiteral("Ripristino base dati"),
                         Icona::Informazione);
    return 0;
}

int eseguiSql(Contesto &c, const QStringList &argomenti)
{
    if (argomenti.size() != 1) {
        QTextStream(stderr) << "uso: quirdal-cli esegui-sql FILE.sql\n";
        return 2;
    }
    QFile f(argomenti[0]);
    if (!f.open(QIODevice::ReadOnly))
        throw Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere ") + argomenti[0]);
    QStringList righe;
    for (const QString &r : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
        if (!r.trimmed().startsWith(QLatin1String("--")))
            righe << r;
    // All or nothing: a failing statement leaves the database as it was.
    Transazione t(c.db);
    for (const QString &istruzione : righe.join(QLatin1Char('\n')).split(QLatin1Char(';')))
        if (!istruzione.trimmed().isEmpty())
            c.db.esegui(istruzione);
    t.conferma();
    return 0;
}

int caricaOperatori(Contesto &c, const QStringList &)
{
    ProgressoCli p;
    if (c.db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiOper")).toInt() == 0) {
        installaDatiOperatori(c, p);
        // A failed safety copy loads nothing and ends nothing: still a failure here.
        return c.db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiOper")).toInt() > 0 ? 0 : 1;
    }
    // Later loads update, as on a SERVER installation, then archive the files.
    if (!c.db.riconnettiEsclusivo()) {
        c.dialoghi.messaggio(QStringLiteral("La base dati è in uso da un'altra postazione."),
                             QStringLiteral("Aggiornamento Base Dati"), Icona::Critico);
        return 1;
    }
    const bool riuscito = aggiornaDatiOperatori(c, p);
    archiviaFileDatiOperatori(c.cartellaProgramma, riuscito);
    return riuscito ? 0 : 1;
}

int aggiornaDb(Contesto &c, const QStringList &)
{
    ProgressoCli p;
    c.sessione.gVersione = c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione"));
    return aggiornaBaseDati(c, p) ? 0 : 1;
}

// "--nome valore" options of a command; unknown or valueless ones are an error.
std::optional<QMap<QString, QString>> opzioni(const QStringList &argomenti, const QStringList &ammesse)
{
    QMap<QString, QString> r;
    for (int i = 0; i < argomenti.size(); i += 2) {
        const QString nome = argomenti[i];
        if (!nome.startsWith(QLatin1String("--")) || !ammesse.contains(nome.mid(2)) || i + 1 >= argomenti.size())
            return std::nullopt;
        r.insert(nome.mid(2), argomenti[i + 1]);
    }
    return r;
}

int creaFileTrasmissione(Contesto &c, const QStringList &argomenti)
{
    const auto o = opzioni(argomenti, {QStringLiteral("prov"), QStringLiteral("grupope"), QStringLiteral("operatore"),
                                       QStringLiteral("email"), QStringLiteral("data")});
    if (!o || !o->contains(QStringLiteral("prov")) || !o->contains(QStringLiteral("grupope"))
        || !o->contains(QStringLiteral("operatore"))) {
        QTextStream(stderr) << "uso: quirdal-cli crea-file-trasmissione --prov P --grupope G --operatore N "
                               "[--email INDIRIZZO] [--data AAAAMMGG]\n";
        return 2;
    }
    mCreaFileTrasm modulo(c);
    if (o->contains(QStringLiteral("data"))) {
        const QDate d = QDate::fromString(o->value(QStringLiteral("data")), QStringLiteral("yyyyMMdd"));
        if (!d.isValid()) {
            QTextStream(stderr) << "data non valida: " << o->value(QStringLiteral("data")) << " (AAAAMMGG)\n";
            return 2;
        }
        modulo.setData(d);
    }
    c.sessione.gEmail = o->value(QStringLiteral("email"), c.utente.leggi(chiaviFP::EMail));
    if (!modulo.CreaFile(o->value(QStringLiteral("prov")), o->value(QStringLiteral("grupope")),
                         o->value(QStringLiteral("operatore")))) {
        // Without an application (no number from the server) there is no file and no
        // message of the module's own: say why.
        if (modulo.NomeFile(o->value(QStringLiteral("prov")), o->value(QStringLiteral("grupope")),
                            o->value(QStringLiteral("operatore")))
                .isEmpty())
            c.dialoghi.messaggio(QStringLiteral("Nessuna domanda con numero per l'operatore e la provincia indicati."),
                                 QStringLiteral("Crea File di Trasmissione"), Icona::Critico);
        return 1;
    }
    QTextStream(stdout) << modulo.gNomeFileTrasm() << '\n';
    return 0;
}

std::optional<QMap<QString, QString>> opzioniRichieste(const QStringList &argomenti, const QStringList &richieste,
                                                      const QString &uso)
{
    auto o = opzioni(argomenti, richieste);
    for (const QString &r : richieste)
        if (o && !o->contains(r))
            o.reset();
    if (!o)
        QTextStream(stderr) << "uso: quirdal-cli " << uso << '\n';
    return o;
}

// The application and the sender of the commands that talk to the server: the options,
// or the exit status when they are wrong (2 usage, 1 an invalid address).
std::variant<QMap<QString, QString>, int> domandaEMittente(Contesto &c, const QStringList &argomenti, const QString &comando)
{
    const auto o = opzioniRichieste(argomenti, {QStringLiteral("prov"), QStringLiteral("grupope"), QStringLiteral("operatore"),
                                                QStringLiteral("email")},
                                    comando + QStringLiteral(" --prov P --grupope G --operatore N --email INDIRIZZO"));
    if (!o)
        return 2;
    if (const QString m = controllaEmail(o->value(QStringLiteral("email"))); !m.isEmpty()) {
        c.dialoghi.messaggio(m, kTitoloEmail, Icona::Critico);
        return 1;
    }
    return *o;
}

int numeroDomanda(Contesto &c, const QStringList &argomenti)
{
    const auto v = domandaEMittente(c, argomenti, QStringLiteral("numero-domanda"));
    if (const int *esito = std::get_if<int>(&v))
        return *esito;
    const QMap<QString, QString> *o = &std::get<QMap<QString, QString>>(v);
    const QString email = o->value(QStringLiteral("email"));
    Trasferimento t(c.cartellaProgramma, c.utente);
    const EsitoNumero e = richiediNumeroDomanda(c, t, o->value(QStringLiteral("prov")), o->value(QStringLiteral("grupope")),
                                                o->value(QStringLiteral("operatore")), email);
    if (e != EsitoNumero::Ottenuto)
        return 1;
    QTextStream(stdout) << c.db
                               .valoreScalare(QStringLiteral("SELECT NumDoma FROM Installazione WHERE GrupOpe=? AND "
                                                             "Operatore=? AND Prov=?"),
                                              {o->value(QStringLiteral("grupope")),
                                               o->value(QStringLiteral("operatore")).toLongLong(),
                                               o->value(QStringLiteral("prov"))})
                               .toString()
                        << '\n';
    return 0;
}

int verificaVersione(Contesto &c, const QStringList &)
{
    Trasferimento t(c.cartellaProgramma, c.utente);
    return VerificaVersione(c, t) ? 0 : 1;
}

int invia(Contesto &c, const QStringList &argomenti)
{
    const auto v = domandaEMittente(c, argomenti, QStringLiteral("invia"));
    if (const int *esito = std::get_if<int>(&v))
        return *esito;
    const QMap<QString, QString> *o = &std::get<QMap<QString, QString>>(v);
    const QString email = o->value(QStringLiteral("email"));
    c.utente.scrivi(chiaviFP::EMail, email);
    c.sessione.gEmail = email;
    Trasferimento t(c.cartellaProgramma, c.utente);
    if (!VerificaVersione(c, t))
        return 1;
    return InviaFile(c, t, o->value(QStringLiteral("prov")), o->value(QStringLiteral("grupope")),
                     o->value(QStringLiteral("operatore")))
        ? 0
        : 1;
}

int scaricaOperatori(Contesto &c, const QStringList &argomenti)
{
    const auto o = opzioniRichieste(argomenti, {QStringLiteral("operatori")},
                                    QStringLiteral("scarica --operatori G:N[,G:N...]"));
    if (!o)
        return 2;
    QStringList voci;
    for (const QString &coppia : o->value(QStringLiteral("operatori")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList p = coppia.split(QLatin1Char(':'));
        if (p.size() != 2 || p[0].size() != 1 || p[1].toLongLong() <= 0) {
            QTextStream(stderr) << "operatore non valido: " << coppia << " (atteso G:N)\n";
            return 2;
        }
        voci << vocePerScarico(p[0], p[1]);
    }
    if (voci.size() > kMassimoOperatoriScarico) {
        c.dialoghi.messaggio(QStringLiteral("E' stato raggiunto il limite massimo di aziende scaricabili da Internet"),
                             QStringLiteral("Attenzione"), Icona::Informazione);
        return 1;
    }
    Trasferimento t(c.cartellaProgramma, c.utente);
    // Both requests run, whatever the first gave; success only when both went well.
    const bool tabelle = scaricaTabelle(c, t, voci);
    const bool operatori = scaricaDatiOperatori(c, t, voci);
    return tabelle && operatori ? 0 : 1;
}

int impostaServer(Contesto &c, const QStringList &argomenti)
{
    const auto o = opzioniRichieste(argomenti, {QStringLiteral("indirizzo"), QStringLiteral("utente"), QStringLiteral("password")},
                                    QStringLiteral("imposta-server --indirizzo https://HOST:PORTA --utente U --password P"));
    if (!o)
        return 2;
    const QUrl base(o->value(QStringLiteral("indirizzo")));
    if (!base.isValid() || base.scheme() != QLatin1String("https") || base.host().isEmpty()) {
        QTextStream(stderr) << "indirizzo non valido: " << indirizzoMostrabile(o->value(QStringLiteral("indirizzo")))
                            << " (https://HOST:PORTA)\n";
        return 2;
    }
    const QString radice = base.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::StripTrailingSlash)
        + QStringLiteral("/cgi-bin/fp/");
    bool ok = true;
    for (const auto &[chiave, servizio] : {std::pair{"NREG", "nreg"}, std::pair{"VERSIONE", "versione"},
                                           std::pair{"ASSISTENZA", "assistenza"}, std::pair{"AGGIORNADB", "aggiornadb"},
                                           std::pair{"AGGIORNATABELLE", "aggiornatabelle"}})
        ok = ok && c.ini.scrivi(QStringLiteral("CONNESSIONE"), QString::fromLatin1(chiave), radice + QString::fromLatin1(servizio));
    // The connection credentials, inserted into the number's address as "user:password@".
    const QString credenziali = QString::fromUtf8(QUrl::toPercentEncoding(o->value(QStringLiteral("utente")))) + QLatin1Char(':')
        + QString::fromUtf8(QUrl::toPercentEncoding(o->value(QStringLiteral("password")))) + QLatin1Char('@');
    ok = ok && c.ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD"), scramblePwd(credenziali));
    return ok ? 0 : 1;
}

// A path typed on the command line, relative ones taken in the current folder.
QString percorsoDaRiga(const QString &p)
{
    return QDir::isRelativePath(p) ? QDir::current().absoluteFilePath(p) : p;
}

// A new program folder, or the files an existing one lacks, from the installed model.
int preparaCartellaCli(Contesto &c, const QStringList &argomenti)
{
    const auto o = opzioni(argomenti, {QStringLiteral("modello")});
    if (!o) {
        QTextStream(stderr) << "uso: quirdal-cli prepara-cartella [--modello CARTELLA]\n";
        return 2;
    }
    const QString modello =
        o->contains(QStringLiteral("modello")) ? percorsoDaRiga(o->value(QStringLiteral("modello"))) : cartellaModello();
    if (modello.isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Nessun modello della cartella del programma installato accanto a ")
                                 + QCoreApplication::applicationDirPath() + QStringLiteral(" (--modello CARTELLA)."),
                             QStringLiteral("Prepara cartella"), Icona::Critico);
        return 1;
    }
    const QStringList copiati = preparaCartella(c.cartellaProgramma, modello);
    QTextStream out(stdout);
    out << c.cartellaProgramma << '\n';
    for (const QString &f : copiati)
        out << "  " << f << '\n';
    return 0;
}

// What the installation screens write, for an unattended set-up of a workstation.
int impostaInstallazione(Contesto &c, const QStringList &argomenti)
{
    const QString uso = QStringLiteral(
        "imposta-installazione --tipo StandAlone|Multiutenza --versione SERVER|CLIENT --database FILE.mdb");
    const auto o = opzioniRichieste(
        argomenti, {QStringLiteral("tipo"), QStringLiteral("versione"), QStringLiteral("database")}, uso);
    if (!o)
        return 2;
    const QString tipo = o->value(QStringLiteral("tipo"));
    const QString versione = o->value(QStringLiteral("versione"));
    if ((tipo != QLatin1String("StandAlone") && tipo != QLatin1String("Multiutenza"))
        || (versione != QLatin1String("SERVER") && versione != QLatin1String("CLIENT"))) {
        QTextStream(stderr) << "uso: quirdal-cli " << uso << '\n';
        return 2;
    }
    const QString database = percorsoDaRiga(o->value(QStringLiteral("database")));
    if (!database.endsWith(QLatin1String("MDB"), Qt::CaseInsensitive)) {
        c.dialoghi.messaggio(QStringLiteral("Il file selezionato non è un database Microsoft Access."),
                             QStringLiteral("Controllo dati"), Icona::Critico);
        return 1;
    }
    const QString percorsoIni = QDir(c.cartellaProgramma).filePath(kNomeIni);
    if (!QFileInfo(percorsoIni).isFile()) {
        c.dialoghi.messaggio(QStringLiteral("Impossibile trovare il file ") + percorsoIni
                                 + QStringLiteral(" (quirdal-cli prepara-cartella lo crea)."),
                             kTitoloInizializzazione, Icona::Critico);
        return 1;
    }
    c.ini = cFileINI(c.cartellaProgramma);
    c.ini.setNomeFile(percorsoIni);
    if (versione == QLatin1String("CLIENT"))
        rinominaFileClient(c.cartellaProgramma);
    c.sessione.gTipoInstallazione = tipo;
    c.sessione.gPathDB = QDir::cleanPath(database);
    c.sessione.gNomeFileDB = QFileInfo(database).fileName();
    salvaInstallazione(c.ini, c.sessione, c.dialoghi);
    return c.ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Versione"), versione) != 0 ? 0 : 1;
}

int salva(Contesto &c, const QStringList &argomenti)
{
    if (argomenti.size() != 1) {
        QTextStream(stderr) << "uso: quirdal-cli salva ARCHIVIO\n";
        return 2;
    }
    return salvaDati(c, percorsoDaRiga(argomenti[0])) == EsitoSalvataggio::Riuscito ? 0 : 1;
}

int recupera(Contesto &c, const QStringList &argomenti)
{
    const auto o = opzioni(argomenti.mid(1), {QStringLiteral("operatore")});
    const QStringList operatore = o ? o->value(QStringLiteral("operatore")).split(QLatin1Char(':')) : QStringList();
    if (argomenti.isEmpty() || argomenti[0].startsWith(QLatin1String("--")) || !o
        || (o->contains(QStringLiteral("operatore"))
            && (operatore.size() != 2 || operatore[0].size() != 1 || operatore[1].toLongLong() <= 0))) {
        QTextStream(stderr) << "uso: quirdal-cli recupera ARCHIVIO [--operatore G:N]\n";
        return 2;
    }
    ModoRecupero modo = ModoRecupero::Tutto;
    if (o->contains(QStringLiteral("operatore"))) {
        c.sessione.impostaOperatore(operatore[0], operatore[1]);
        modo = ModoRecupero::Operatore;
    }
    return recuperaDati(c, percorsoDaRiga(argomenti[0]), modo) == EsitoRecuperoDati::Riuscito ? 0 : 1;
}

// Every course of an application through the course rules: one line per problem, so a
// batch of courses can be mended in one pass. Exit 0 with nothing found, 1 otherwise.
int verifica(Contesto &c, const QStringList &argomenti)
{
    const auto o = opzioniRichieste(argomenti, {QStringLiteral("prov"), QStringLiteral("grupope"), QStringLiteral("operatore")},
                                    QStringLiteral("verifica --prov P --grupope G --operatore N"));
    if (!o)
        return 2;
    if (!impostaDomanda(c.sessione, c.db, o->value(QStringLiteral("grupope")), o->value(QStringLiteral("operatore")),
                        o->value(QStringLiteral("prov")))) {
        c.dialoghi.messaggio(QStringLiteral("Nessuna domanda per l'operatore e la provincia indicati."),
                             QStringLiteral("Verifica"), Icona::Critico);
        return 1;
    }
    QTextStream out(stdout);
    const QList<ProblemaCorso> problemi = problemiCorsiDomanda(c.db, c.sessione);
    for (const ProblemaCorso &p : problemi)
        out << rigaProblema(p) << '\n';
    // Then the checks of the whole application before its final print.
    const QStringList domanda = problemiDomandaStampa(c.db, c.sessione);
    for (const QString &p : domanda)
        out << rigaProblemaDomanda(p) << '\n';
    return problemi.isEmpty() && domanda.isEmpty() ? 0 : 1;
}

const std::map<QString, Comando> &comandi()
{
    static const std::map<QString, Comando> c = {
        {QStringLiteral("crea-db"),
         {QStringLiteral("crea una nuova base dati vuota nel percorso di BaseDati/Database (non sovrascrive)"), false,
          creaDb}},
        {QStringLiteral("prepara-cartella"),
         {QStringLiteral("[--modello CARTELLA]: crea la cartella del programma dal modello installato (QUIRDAL.INI, base "
                         "dati vuota, aiuto, modelli di stampa), o vi aggiunge i file che mancano; non sovrascrive, "
                         "salvo l'aiuto, che prende quello installato"),
          false, preparaCartellaCli}},
        {QStringLiteral("imposta-installazione"),
         {QStringLiteral("--tipo StandAlone|Multiutenza --versione SERVER|CLIENT --database FILE.mdb: quello che "
                         "chiedono le schermate di installazione, nel QUIRDAL.INI"),
          false, impostaInstallazione}},
        {QStringLiteral("carica-tabelle"),
         {QStringLiteral("installa o aggiorna le tabelle di decodifica dai file della cartella (installa.tab / "
                         "aggiorna.tab)"),
          true, caricaTabelle}},
        {QStringLiteral("carica-operatori"),
         {QStringLiteral("carica i dati degli operatori (*.tx1): installazione su base dati vuota, altrimenti "
                         "aggiornamento come da installazione SERVER"),
          true, caricaOperatori}},
        {QStringLiteral("aggiorna-db"),
         {QStringLiteral("aggiornamento della base dati dopo uno scarico: tabelle di decodifica e dati degli "
                         "operatori"),
          true, aggiornaDb}},
        {QStringLiteral("crea-file-trasmissione"),
         {QStringLiteral("--prov P --grupope G --operatore N [--email INDIRIZZO] [--data AAAAMMGG]: scrive il file "
                         "di trasmissione della domanda nella cartella e ne stampa il nome"),
          true, creaFileTrasmissione}},
        {QStringLiteral("numero-domanda"),
         {QStringLiteral("--prov P --grupope G --operatore N --email INDIRIZZO: chiede al server il numero della domanda "
                         "e apre la domanda"),
          true, numeroDomanda}},
        {QStringLiteral("verifica-versione"),
         {QStringLiteral("chiede al server se questa versione del programma può trasmettere"), true, verificaVersione}},
        {QStringLiteral("invia"),
         {QStringLiteral("--prov P --grupope G --operatore N --email INDIRIZZO: controllo della versione, file di "
                         "trasmissione e invio"),
          true, invia}},
        {QStringLiteral("scarica"),
         {QStringLiteral("--operatori G:N[,G:N...]: scarica dal server tabelle di decodifica e dati degli operatori"),
          false, scaricaOperatori}},
        {QStringLiteral("imposta-server"),
         {QStringLiteral("--indirizzo https://HOST:PORTA --utente U --password P: indirizzi dei servizi e credenziali di "
                         "connessione nel QUIRDAL.INI"),
          false, impostaServer}},
        {QStringLiteral("ripristina-copia"),
         {QStringLiteral("rimette al posto della base dati la sua copia di sicurezza (QUIRDAL.mdb_BAK), dopo "
                         "averla controllata"),
          true, ripristinaCopia}},
        {QStringLiteral("salva"),
         {QStringLiteral("ARCHIVIO: salva la base dati nell'archivio zip (\".zip\" aggiunto a un nome senza "
                         "estensione)"),
          true, salva}},
        {QStringLiteral("recupera"),
         {QStringLiteral("ARCHIVIO [--operatore G:N]: recupera la base dati dall'archivio, dopo averla controllata e "
                         "aver copiato quella attuale in BackupDB; con --operatore solo i dati di quell'operatore"),
          true, recupera}},
        {QStringLiteral("stampa"),
         {QStringLiteral("--prov P --grupope G --operatore N --modo BOZZA|ORIGINALE [--sede C] [--pdf FILE]: il PDF "
                         "della domanda; ORIGINALE esegue prima i controlli e blocca la domanda stampata"),
          true, comandoStampa}},
        {QStringLiteral("verifica"),
         {QStringLiteral("--prov P --grupope G --operatore N: controlla ogni corso della domanda e scrive ogni "
                         "problema trovato, uno per riga"),
          true, verifica}},
        {QStringLiteral("riassegna"),
         {QStringLiteral("--prov P --grupope G --operatore N --da SEDE --a SEDE --corso CCCC|TUTTI [--compo-resp C]: "
                         "sposta un corso principale con i suoi accorpati, o tutti i corsi di una sede, in un'altra sede "
                         "(chiede conferma: --si)"),
          true, comandoRiassegna}},
        {QStringLiteral("esegui-sql"),
         {QStringLiteral("FILE.sql: esegue le istruzioni del file in una sola transazione"), true, eseguiSql}},
    };
    return c;
}

int aiuto(QTextStream &out)
{
    out << "uso: quirdal-cli [--cartella CARTELLA] [--si | --no] COMANDO [ARGOMENTI]\n\n"
           "La cartella del programma (con QUIRDAL.INI) e' --cartella, altrimenti QUIRDAL_HOME,\n"
           "altrimenti la stessa del programma (di solito QUIRDAL nella cartella Documenti dell'utente).\n"
           "Le domande si rispondono con --si o --no; senza, con la risposta che interrompe.\n\n"
           "Comandi:\n";
    qsizetype larghezza = 0;
    for (const auto &[nome, c] : comandi())
        larghezza = std::max(larghezza, nome.size());
    for (const auto &[nome, c] : comandi())
        out << "  " << nome.leftJustified(larghezza + 2) << c.descrizione << '\n';
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = applicazioneCli(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("QUIRDAL"));
    QStringList args = QCoreApplication::arguments().mid(1);
    QString cartella = qEnvironmentVariable("QUIRDAL_HOME");
    DialoghiCli::Scelta scelta = DialoghiCli::Scelta::Nessuna;
    QTextStream err(stderr), out(stdout);
    while (!args.isEmpty() && args[0].startsWith(QLatin1String("--"))) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--help"))
            return aiuto(out);
        if (a == QLatin1String("--si"))
            scelta = DialoghiCli::Scelta::Si;
        else if (a == QLatin1String("--no"))
            scelta = DialoghiCli::Scelta::No;
        else if (a == QLatin1String("--cartella") && !args.isEmpty())
            cartella = args.takeFirst();
        else {
            err << "opzione sconosciuta: " << a << '\n';
            aiuto(err);
            return 2;
        }
    }
    if (args.isEmpty()) {
        aiuto(err);
        return 2;
    }
    const auto it = comandi().find(args[0]);
    if (it == comandi().end()) {
        err << "comando sconosciuto: " << args[0] << '\n';
        aiuto(err);
        return 2;
    }
    if (cartella.isEmpty())
        cartella = cartellaProgramma();

    Sessione sessione;
    CorsiDB db;
    cFileINI ini;
    DialoghiCli dialoghi(scelta);
    Piattaforma piattaforma;
    ImpostazioniUtente utente;
    Contesto c{QDir(cartella).absolutePath(), sessione, db, ini, dialoghi, piattaforma, utente};
    try {
        // The two commands that make the installation itself.
        if (args[0] == QLatin1String("prepara-cartella") || args[0] == QLatin1String("imposta-installazione"))
            return it->second.esegui(c, args.mid(1));
        if (controllaInstallazione(c.cartellaProgramma, ini, sessione, dialoghi) == EsitoControlloIni::DaImpostare) {
            c.dialoghi.messaggio(QStringLiteral("Installazione non ancora impostata (Installazione/Tipo vuoto)."),
                               kTitoloInizializzazione, Icona::Critico);
            return 1;
        }
        if (it->second.serveDb)
            Inizializza(c.cartellaProgramma, ini, sessione, db, dialoghi);
        const int esito = it->second.esegui(c, args.mid(1));
        db.chiudi();
        return esito;
    } catch (const FineProgramma &) {
        db.chiudi();
        return 1;
    } catch (const Errore &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ")
                               + e.descrizione(),
                           QStringLiteral("quirdal-cli"), Icona::Critico);
        db.chiudi();
        return 1;
    }
}
