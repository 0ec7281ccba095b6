#include "config/Installazione.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "common/Sessione.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quirdal {

QString testoImpostazioniNonValide()
{
    return QStringLiteral("E' stata rilevata una situazione anomala in fase di inizializzazione.") + CRLF
        + QStringLiteral("Le impostazioni di ") + kNomeIni + QStringLiteral(" non sono valide.") + CRLF
        + QStringLiteral("Il programma verrà terminato.") + CRLF
        + QStringLiteral("La procedura cercherà di correggere il problema automaticamente.") + CRLF
        + QStringLiteral("Sarà chiesta nuovamente l'impostazione dell'installazione.") + CRLF
        + QStringLiteral("Eventuali dati salvati non verranno persi.") + CRLF
        + QStringLiteral("Premere 'Ok' quindi riavviare il programma.") + CRLF
        + QStringLiteral("Se il problema persiste, contattare l'assistenza tecnica.");
}

QString testoBaseDatiAssente(const QString &percorso)
{
    return QStringLiteral("File base dati non presente.") + percorso + CRLF
        + QStringLiteral("Non è possibile utilizzare il programma.") + CRLF + CRLF
        + QStringLiteral("La base dati è stata rimossa o spostata ") + QStringLiteral("oppure alcune impostazioni del file ")
        + kNomeIni + QStringLiteral(" sono errate.") + CRLF + CRLF
        + QStringLiteral("E' possibile correggere l'errore reimpostando l'installazione del programma, ")
        + QStringLiteral("eventuali dati salvati non verranno persi.") + CRLF
        + QStringLiteral("Premere 'Sì' per procedere alla correzione automatica, quindi riavviare il programma.") + CRLF
        + QStringLiteral("Se il problema persiste contattare l'assistenza tecnica.");
}

void reimpostaInstallazione(cFileINI &ini)
{
    ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"), QString());
    ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), QString());
    ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), QString());
}

EsitoControlloIni controllaInstallazione(const QString &cartellaProgramma, cFileINI &ini, Sessione &s, Dialoghi &d)
{
    const QString percorso = QDir(cartellaProgramma).filePath(kNomeIni);
    if (!QFileInfo(percorso).isFile()) {
        d.messaggio(QStringLiteral("Impossibile trovare il file ") + kNomeIni + CRLF
                        + QStringLiteral("La procedura verrà terminata."),
                    kTitoloInizializzazione, Icona::Critico);
        throw FineProgramma(QStringLiteral("INI assente"));
    }
    ini = cFileINI(cartellaProgramma);
    ini.setNomeFile(percorso);
    s.gTipoInstallazione = ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo"));
    if (s.gTipoInstallazione.isEmpty())
        return EsitoControlloIni::DaImpostare;
    if (s.gTipoInstallazione != QLatin1String("StandAlone") && s.gTipoInstallazione != QLatin1String("Multiutenza")) {
        d.messaggio(testoImpostazioniNonValide(), kTitoloInizializzazione, Icona::Critico);
        reimpostaInstallazione(ini);
        throw FineProgramma(QStringLiteral("Tipo non valido"));
    }
    return EsitoControlloIni::Valido;
}

QString testoIniNonScrivibile(const QString &nomeFile)
{
    return QStringLiteral("Impossibile salvare le impostazioni nel file ") + nomeFile + QLatin1Char('.') + CRLF
        + QStringLiteral("Verificare che la cartella del programma non sia di sola lettura.") + CRLF
        + QStringLiteral("La procedura verrà terminata.");
}

void salvaInstallazione(cFileINI &ini, const Sessione &s, Dialoghi &d)
{
    const bool ok = ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("Tipo"), s.gTipoInstallazione) != 0
        && ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Database"), s.gPathDB) != 0
        && ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"), s.gNomeFileDB) != 0;
    if (!ok) {
        d.messaggio(testoIniNonScrivibile(ini.NomeFile()), kTitoloInizializzazione, Icona::Critico);
        throw FineProgramma(QStringLiteral("INI non scrivibile"));
    }
}

QString fileAiuto(const Sessione &s) { return QFileInfo(s.gFileHelp).isFile() ? s.gFileHelp : QString(); }

namespace {
const QString kBaseDati = QStringLiteral("BaseDati");
} // namespace

DatiConnessione leggiConnessione(cFileINI &ini)
{
    DatiConnessione dove;
    const QString fornitore = ini.leggi(QStringLiteral("Installazione"), QStringLiteral("PROVIDER")).trimmed();
    if (fornitore.isEmpty() || fornitore.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        dove.file = ini.leggi(kBaseDati, QStringLiteral("Database"));
        return dove;
    }
    if (fornitore.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) != 0)
        throw Errore(codici::Generico,
                     QStringLiteral("Il fornitore della base dati '") + fornitore + QStringLiteral("' indicato in ") + kNomeIni
                         + QStringLiteral(" non è riconosciuto: indicare SQLite o PostgreSQL."));
    dove.motore = Motore::PostgreSQL;
    dove.host = ini.leggi(kBaseDati, QStringLiteral("Host"));
    const QString porta = ini.leggi(kBaseDati, QStringLiteral("Porta"), QStringLiteral("5432")).trimmed();
    bool ok = false;
    dove.porta = porta.toInt(&ok);
    if (!ok || dove.porta < 1 || dove.porta > 65535)
        throw Errore(codici::Generico,
                     QStringLiteral("La porta del server della base dati indicata in ") + kNomeIni
                         + QStringLiteral(" non è valida: '") + porta + QStringLiteral("'."));
    dove.nomeDb = ini.leggi(kBaseDati, QStringLiteral("NomeDB"));
    dove.utente = ini.leggi(kBaseDati, QStringLiteral("Utente"));
    dove.password = scramblePwd(ini.leggi(kBaseDati, QStringLiteral("Password")));
    return dove;
}

bool scriviConnessione(cFileINI &ini, const DatiConnessione &dove)
{
    bool ok = ini.scrivi(QStringLiteral("Installazione"), QStringLiteral("PROVIDER"), nomeMotore(dove.motore)) != 0;
    if (dove.motore == Motore::PostgreSQL)
        ok = ok && ini.scrivi(kBaseDati, QStringLiteral("Host"), dove.host) != 0
            && ini.scrivi(kBaseDati, QStringLiteral("Porta"), QString::number(dove.porta)) != 0
            && ini.scrivi(kBaseDati, QStringLiteral("NomeDB"), dove.nomeDb) != 0
            && ini.scrivi(kBaseDati, QStringLiteral("Utente"), dove.utente) != 0
            && ini.scrivi(kBaseDati, QStringLiteral("Password"), scramblePwd(dove.password)) != 0;
    return ok;
}

QString passwordNonConservabile(const QString &password)
{
    if (password != password.trimmed())
        return QStringLiteral("La password non può iniziare o finire con uno spazio.");
    // Scrambled, every character must stay a printable one of the file's code page: the
    // printable ASCII and Latin-1 ones do.
    for (const QChar c : password)
        if (c.unicode() >= 0xFF || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return QStringLiteral("La password contiene caratteri che il file ") + kNomeIni
                + QStringLiteral(" non può conservare.");
    return {};
}

std::optional<CampoErrato> datiServer(const QString &host, const QString &porta, const QString &nomeDb, const QString &utente,
                                      const QString &password, DatiConnessione *dove)
{
    const QString h = host.trimmed(), n = nomeDb.trimmed(), u = utente.trimmed();
    if (h.isEmpty())
        return CampoErrato{QStringLiteral("Indicare il server della base dati: il suo nome o indirizzo."),
                           QStringLiteral("txtHost")};
    bool ok = false;
    const int p = porta.trimmed().toInt(&ok);
    if (!ok || p < 1 || p > 65535)
        return CampoErrato{QStringLiteral("La porta del server della base dati deve essere un numero da 1 a 65535."),
                           QStringLiteral("txtPorta")};
    if (n.isEmpty())
        return CampoErrato{QStringLiteral("Indicare il nome della base dati sul server."), QStringLiteral("txtNomeDb")};
    if (u.isEmpty())
        return CampoErrato{QStringLiteral("Indicare l'utente del server della base dati."), QStringLiteral("txtUtente")};
    if (const QString perche = passwordNonConservabile(password); !perche.isEmpty())
        return CampoErrato{perche, QStringLiteral("txtPassword")};
    dove->motore = Motore::PostgreSQL;
    dove->file.clear();
    dove->host = h;
    dove->porta = p;
    dove->nomeDb = n;
    dove->utente = u;
    dove->password = password;
    return std::nullopt;
}

void preparaBaseDatiServer(const DatiConnessione &dove, bool versioneServer)
{
    {
        CorsiDB prova(QStringLiteral("verifica-installazione"));
        try {
            prova.apri(dove, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            prova.chiudi();
            return;
        } catch (const Errore &e) {
            if (e.numero() != codici::NonUnDatabase)
                throw;
            if (!versioneServer)
                throw Errore(e.numero(),
                             e.descrizione() + CRLF
                                 + QStringLiteral("Le tabelle del programma sono create dall'installazione di tipo SERVER: "
                                                  "completare prima quella, sarà poi possibile installare le postazioni "
                                                  "CLIENT."));
        }
    }
    // Refuses a database that holds tables of something else.
    creaDatabase(dove, QString::fromLatin1(CorsiDB::kPassword));
}

void Inizializza(const QString &cartellaProgramma, cFileINI &ini, Sessione &s, CorsiDB &db, Dialoghi &d)
{
    s.gPathApp = QDir(cartellaProgramma).absolutePath() + QLatin1Char('/');
    s.gNomeFileDB = ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("NFileDB"));
    s.gPwdConnessione = scramblePwd(ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD")));
    DatiConnessione dove;
    try {
        dove = leggiConnessione(ini);
    } catch (const Errore &e) {
        d.messaggio(e.descrizione() + CRLF + QStringLiteral("Il programma verrà terminato."), kTitoloInizializzazione,
                    Icona::Critico);
        throw FineProgramma(QStringLiteral("fornitore della base dati non valido"));
    }
    s.gPathDB = dove.file;

    // The database file, or the database on the server, is not there: the message names the
    // file, or the database and its server.
    const auto assente = [&] {
        const QString quale = dove.motore == Motore::SQLite ? s.gPathDB : dove.descrizione();
        const Risposta r =
            d.messaggio(testoBaseDatiAssente(quale), QStringLiteral("Imposta base dati"), Icona::Critico, Pulsanti::SiNo);
        if (r == Risposta::Si)
            reimpostaInstallazione(ini);
        throw FineProgramma(QStringLiteral("base dati assente"));
    };
    if (dove.motore == Motore::SQLite ? s.gPathDB.trimmed().isEmpty() || !QFileInfo(s.gPathDB).isFile()
                                      : dove.nomeDb.trimmed().isEmpty())
        assente();

    const ModoApertura modo =
        s.gTipoInstallazione == QLatin1String("StandAlone") ? ModoApertura::Esclusivo : ModoApertura::Condiviso;
    // Whether a database is on the server is known once the server answers.
    bool mancante = false;
    conGestoreGenerico(d, [&] {
        try {
            db.apri(dove, QString::fromLatin1(CorsiDB::kPassword), modo);
        } catch (const Errore &e) {
            if (dove.motore != Motore::PostgreSQL || e.numero() != codici::FileNonTrovato)
                throw;
            mancante = true;
        }
    });
    if (mancante)
        assente();

    s.gFileHelp = s.gPathApp + ini.leggi(QStringLiteral("Help"), QStringLiteral("FILEHELP"));
    if (fileAiuto(s).isEmpty())
        d.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Imposta Aiuto"), Icona::Esclamazione);
    s.gCompoSedeLeg = QStringLiteral("SL");
}

bool riconnessioneEsclusiva(CorsiDB &db, Dialoghi &d)
{
    Errore e(0, QString());
    if (db.riconnettiEsclusivo(&e))
        return true;
    d.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + CRLF + e.descrizione() + CRLF
                    + QStringLiteral("Qualche client potrebbe ancora essere connesso alla ") + QStringLiteral("base dati. ")
                    + CRLF + QStringLiteral("Il programma uscira a Windows.") + CRLF
                    + QStringLiteral("Chiudere tutti i client, riavviare l'applicativo SERVER e ritentare "
                                     "l'Operazione."),
                kTitoloProdotto, Icona::Critico);
    return false;
}

std::optional<QString> confermaImpostazioni(bool locale, const QString &percorsoDatabase, Sessione &s)
{
    s.gTipoInstallazione = locale ? QStringLiteral("StandAlone") : QStringLiteral("Multiutenza");
    if (percorsoDatabase.isEmpty())
        return QStringLiteral("Selezionare una base dati.");
    if (!percorsoDatabase.endsWith(QLatin1String("MDB"), Qt::CaseInsensitive))
        return QStringLiteral("Il file selezionato non è un database Microsoft Access.");
    const QFileInfo fi(percorsoDatabase);
    if (!fi.isFile())
        return QStringLiteral("File inesistente.");
    s.gPathDB = fi.absoluteFilePath();
    s.gNomeFileDB = fi.fileName();
    return std::nullopt;
}

QString percorsoMostrato(const QString &percorso, bool *conTooltip)
{
    const bool lungo = percorso.size() >= 56;
    if (conTooltip)
        *conTooltip = lungo;
    return lungo ? percorso.left(55) + QStringLiteral("...") : percorso;
}

void rinominaFileClient(const QString &cartellaProgramma)
{
    const QDir dir(cartellaProgramma);
    const QStringList nomi = {QStringLiteral("QUIRDAL"), QStringLiteral("oper"), QStringLiteral("compo"),
                              QStringLiteral("sediocc"), QStringLiteral("sediutil")};
    const QStringList estensioni = {QStringLiteral(".mdb"), QStringLiteral(".tx1"), QStringLiteral(".tx1"),
                                    QStringLiteral(".tx1"), QStringLiteral(".tx1")};
    for (int i = 0; i < nomi.size(); ++i) // errors (missing files) are ignored
        QFile::rename(dir.filePath(nomi[i] + estensioni[i]), dir.filePath(nomi[i] + QStringLiteral(".cli")));
}

} // namespace quirdal
