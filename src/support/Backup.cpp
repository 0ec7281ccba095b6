#include "support/Backup.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/FileTemporanei.h"
#include "common/Piattaforma.h"
#include "common/Progresso.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/SessioneIni.h"
#include "db/Aggiornamenti.h"
#include "db/ConfrontoSchema.h"
#include "db/CatalogoCopie.h"
#include "db/CopiaSicurezza.h"
#include "db/CopiaTraBasiDati.h"
#include "db/CorsiDB.h"
#include "db/RiaperturaConnessione.h"
#include "db/Schema.h"
#include "support/Archivio.h"
#include "support/CatalogoSupporto.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUuid>

namespace quirdal {

namespace {

const QString kTitoloErrore = QStringLiteral("Errore");

QString testoErrore(const Errore &e) { return QStringLiteral("Errore ") + QString::number(e.numero()) + CRLF + e.descrizione(); }

// A typed path, relative ones taken in the program folder.
QString percorsoAssoluto(const QString &cartellaProgramma, const QString &testo)
{
    return QDir::cleanPath(QDir(cartellaProgramma).absoluteFilePath(QDir::fromNativeSeparators(testo)));
}

const QString kTabellaInvii = QStringLiteral("Invii");

void rinfrescaSessione(Contesto &c)
{
    Sessione &s = c.sessione;
    ripristinaSessione(s, c.ini, c.db);
    QSqlQuery q = c.db.seleziona(sql::supporto::kOperatoreSessione, s.chiaveOperatore());
    if (q.next()) {
        s.gDenomOper = q.value(0).toString();
        s.gTipoOper = q.value(1).toString();
    } else {
        // The restored database does not know the operator: it must be chosen again.
        s.gDenomOper.clear();
        s.gTipoOper.clear();
    }
}

// Where a path lands once links, "." and ".." are followed: the file itself when it
// exists, else its folder's real path and its name.
QString percorsoReale(const QString &percorso)
{
    QFileInfo fi(QDir::cleanPath(percorso));
    // A link to nowhere writes where it points.
    for (int i = 0; i < 32 && fi.isSymLink() && !fi.exists(); ++i)
        fi = QFileInfo(fi.symLinkTarget());
    if (fi.exists())
        return fi.canonicalFilePath();
    const QString cartella = QFileInfo(fi.absolutePath()).canonicalFilePath();
    return cartella.isEmpty() ? fi.absoluteFilePath() : QDir(cartella).filePath(fi.fileName());
}

// Case is ignored: on the office's systems "quirdal.MDB" is the database itself.
bool stessoPercorso(const QString &a, const QString &b)
{
    return percorsoReale(a).compare(percorsoReale(b), Qt::CaseInsensitive) == 0;
}

// Why an archive must not be written there, or "" when it may: never over the database,
// its journal, its lock file, its safety copy or the INI file, never over a folder, never
// over an existing file that is not an archive.
QString destinazioneVietata(Contesto &c, const QString &archivio)
{
    const QString nativo = QDir::toNativeSeparators(archivio);
    const QString db = c.db.percorso();
    QList<QPair<QString, QString>> protetti;
    if (!db.isEmpty()) {
        const QFileInfo fi(db);
        const QString blocco = fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".ldb"));
        protetti = {{db, QStringLiteral("la base dati del programma")},
                    {db + QStringLiteral("-journal"), QStringLiteral("il giornale della base dati")},
                    {db + QStringLiteral("-wal"), QStringLiteral("il giornale della base dati")},
                    {db + QStringLiteral("-shm"), QStringLiteral("il giornale della base dati")},
                    {blocco, QStringLiteral("il file di blocco della base dati")},
                    {blocco + QStringLiteral("-journal"), QStringLiteral("il file di blocco della base dati")},
                    {percorsoCopiaSicurezza(db), QStringLiteral("la copia di sicurezza della base dati")}};
    }
    if (!c.ini.NomeFile().isEmpty())
        protetti.append({c.ini.NomeFile(), QStringLiteral("il file di configurazione del programma")});
    for (const auto &[file, cosa] : protetti)
        if (stessoPercorso(archivio, file))
            return QStringLiteral("il file ") + nativo + QStringLiteral(" è ") + cosa
                + QStringLiteral(": scegliere un altro nome per l'archivio");
    if (stessoPercorso(archivio, c.cartellaProgramma))
        return QStringLiteral("il percorso ") + nativo
            + QStringLiteral(" è la cartella del programma: indicare il nome di un file per l'archivio");
    const QFileInfo destinazione(percorsoReale(archivio));
    if (destinazione.isDir())
        return QStringLiteral("il percorso ") + nativo
            + QStringLiteral(" è una cartella: indicare il nome di un file per l'archivio");
    if (destinazione.exists() && destinazione.size() > 0 && !eArchivioZip(archivio))
        return QStringLiteral("il file ") + nativo
            + QStringLiteral(" esiste già e non è un archivio di backup: non viene sovrascritto");
    return {};
}

// Folders that a backup of an earlier release left in the temporary folder when it was
// killed ("QUIRDAL-" and six letters or digits): removed once nothing in them has changed
// for an hour and they hold only copies of the database and archives.
void rimuoviCartelleVecchieDelSalvataggio()
{
    static const QRegularExpression nome(QStringLiteral("^QUIRDAL-[A-Za-z0-9]{6}$"));
    const QDateTime limite = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &cartella : QDir(QDir::tempPath()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (cartella.isSymLink() || !nome.match(cartella.fileName()).hasMatch() || cartella.lastModified() > limite)
            continue;
        bool nostra = true;
        for (const QFileInfo &f : QDir(cartella.absoluteFilePath())
                                      .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
            QFile file(f.absoluteFilePath());
            const QByteArray inizio = f.isFile() && !f.isSymLink() && file.open(QIODevice::ReadOnly) ? file.read(16) : "?";
            nostra = nostra && f.lastModified() <= limite
                && (inizio.isEmpty() || inizio.startsWith("SQLite format 3") || inizio.startsWith("PK"));
        }
        if (nostra)
            QDir(cartella.absoluteFilePath()).removeRecursively();
    }
}

// The archived database on a connection of its own for the length of a scope.
struct Archiviata {
    CorsiDB db{QStringLiteral("recupero-") + QUuid::createUuid().toString(QUuid::Id128)};
    explicit Archiviata(const QString &file) { db.apri(file, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso); }
};

// The sends that another database (the one in use before a restore, or the archive) records
// and this one lacks, taken back: a restore takes back the data of the applications, never
// the record of what was sent. Chiave: one operator's only.
void riportaInvii(CorsiDB &db, CorsiDB &altro, const QVariantList &chiave = {})
{
    if (!altro.esisteTabella(kTabellaInvii))
        return;
    QSqlQuery q = chiave.isEmpty() ? altro.seleziona(sql::supporto::kInviiRegistrati)
                                   : altro.seleziona(sql::supporto::kInviiRegistratiOperatore, chiave);
    Transazione t(db);
    while (q.next()) {
        QVariantList riga;
        for (int i = 0; i < 10; ++i)
            riga << q.value(i);
        if (db.valoreScalare(sql::supporto::kEsisteInvio, riga.mid(0, 4)).toLongLong() == 0)
            db.esegui(sql::supporto::kRiportaInvio, riga);
    }
    t.conferma();
}

// The safety copy is read from a copy of its own in a private temporary folder: a connection
// leaves its presence mark beside the file it opens, and the safety copies' folder holds
// only the copies.
void riportaInvii(CorsiDB &db, const QString &file)
{
    const QTemporaryDir cartella;
    const QString letta = cartella.filePath(QStringLiteral("precedente.mdb"));
    if (!cartella.isValid() || !QFile::copy(file, letta))
        throw Errore(codici::Generico,
                     QStringLiteral("Impossibile leggere gli invii registrati nella base dati ")
                         + QDir::toNativeSeparators(file));
    Archiviata precedente(letta);
    riportaInvii(db, precedente.db);
}

// The applications printed in final form here that the archived database holds unprinted
// or not at all, "- operatore A/1 ENTE, provincia di TORINO" each: a restore would unlock
// them. Operatore: the current operator's only.
QStringList domandeSbloccate(CorsiDB &db, const QString &file, ModoRecupero modo, const Sessione &s)
{
    QSet<QString> stampateNellArchivio;
    {
        Archiviata archivio(file);
        QSqlQuery q = archivio.db.seleziona(sql::supporto::kStampateArchivio);
        while (q.next())
            stampateNellArchivio.insert(q.value(0).toString() + QLatin1Char('/') + q.value(1).toString() + QLatin1Char('/')
                                        + q.value(2).toString());
    }
    const bool operatore = modo == ModoRecupero::Operatore;
    QStringList r;
    QSqlQuery q = operatore ? db.seleziona(sql::supporto::kDomandeStampateOperatore, s.chiaveOperatore())
                            : db.seleziona(sql::supporto::kDomandeStampate);
    while (q.next()) {
        if (stampateNellArchivio.contains(q.value(0).toString() + QLatin1Char('/') + q.value(1).toString() + QLatin1Char('/')
                                          + q.value(2).toString()))
            continue;
        const QString nome = q.value(3).toString().trimmed(), provincia = q.value(4).toString().trimmed();
        r << QStringLiteral("- operatore ") + q.value(0).toString() + QLatin1Char('/') + q.value(1).toString()
                + (nome.isEmpty() ? QString() : QLatin1Char(' ') + nome) + QStringLiteral(", provincia di ")
                + (provincia.isEmpty() ? q.value(2).toString() : provincia);
    }
    q.finish();
    return r;
}

// The current database kept in the folder under a name no other copy has: the time of
// the restore, with "_2", "_3" ... when another restore took the same second. "" when no
// copy could be made.
QString copiaDellaBaseDatiAttuale(Contesto &c, const QString &cartella)
{
    // A server's data are kept as the file of the program they would be.
    const QFileInfo fi(c.db.percorso().isEmpty() ? kNomeBreve + QStringLiteral(".mdb") : c.db.percorso());
    const QString base =
        fi.completeBaseName() + QLatin1Char('_') + c.piattaforma.adesso().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString copia = QDir(cartella).filePath(base + (n > 1 ? QLatin1Char('_') + QString::number(n) : QString())
                                                      + QLatin1Char('.') + fi.suffix());
        const QFileInfo esistente(copia);
        if (esistente.exists() || esistente.isSymLink())
            continue;
        if (copiaConsistente(c.db, copia, Sostituzione::Mai))
            return copia;
        if (!QFileInfo::exists(copia))
            return {};
    }
    return {};
}

// The hourglass for the length of a scope.
struct Attesa {
    ProgressoCaricamento &p;
    explicit Attesa(ProgressoCaricamento &p) : p(p) { p.attendi(true); }
    ~Attesa() { p.attendi(false); }
    Attesa(const Attesa &) = delete;
    Attesa &operator=(const Attesa &) = delete;
};

} // namespace

QString filtroArchivi()
{
    return QStringLiteral("Backup Predefinito (") + kNomeBreve + QStringLiteral(".zip)|") + kNomeBreve
        + QStringLiteral(".zip|WinZip File (*.zip)|*.zip");
}

QString archivioIniziale(const QString &cartellaProgramma, cFileINI &ini)
{
    const QString ultimo = ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup"));
    if (!ultimo.isEmpty())
        return ultimo;
    for (const QFileInfo &d : QDir::drives())
        if (d.absoluteFilePath().startsWith(QLatin1String("A:"), Qt::CaseInsensitive))
            return QStringLiteral("a:\\") + kNomeBreve + QStringLiteral(".zip");
    return QDir::toNativeSeparators(QDir(cartellaProgramma).filePath(kNomeBreve + QStringLiteral(".zip")));
}

QString nomeArchivioBackup(const QString &testo)
{
    const qsizetype separatore = std::max(testo.lastIndexOf(QLatin1Char('\\')), testo.lastIndexOf(QLatin1Char('/')));
    const QString nome = testo.mid(separatore + 1);
    return nome.contains(QLatin1Char('.')) ? testo : testo + QStringLiteral(".zip");
}

QString archiviaBaseDati(CorsiDB &db, const QString &archivio, qint64 volume)
{
    rimuoviCartelleVecchieDelSalvataggio();
    const auto lavoro = cartellaTemporaneaPrivata(QStringLiteral("salva"));
    if (!lavoro)
        return QStringLiteral("impossibile creare una cartella temporanea");
    // A server's data go into the archive as the file of the program they would be.
    const QString nome = db.percorso().isEmpty() ? kNomeBreve + QStringLiteral(".mdb") : QFileInfo(db.percorso()).fileName();
    const QString copia = lavoro->filePath(nome);
    if (!copiaConsistente(db, copia))
        return QStringLiteral("impossibile ottenere una copia integra della base dati");
    puntoDiArresto("copia-salvataggio");
    return scriviArchivio(archivio, copia, nome, volume);
}

QString controllaBaseDatiArchiviata(const QString &file)
{
    return controllaBaseDatiDelProgramma(file, QStringLiteral("dell'archivio"));
}

QString controllaBaseDatiDelProgramma(const QString &file, const QString &quale)
{
    if (!fileIntegro(file))
        return QStringLiteral("Il file ") + quale + QStringLiteral(" non è una base dati del programma oppure è danneggiato.");
    const QString nonSiApre = QStringLiteral("La base dati ") + quale + QStringLiteral(" non si apre: ");
    CorsiDB prova(QStringLiteral("recupero-") + QUuid::createUuid().toString(QUuid::Id128));
    try {
        prova.apri(file, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
    } catch (const Errore &e) {
        return nonSiApre + e.descrizione();
    }
    prova.chiudi();
    EsitoConfrontoSchema confronto;
    try {
        confronto = confrontaConSchemaProgramma(file);
    } catch (const Errore &e) {
        return nonSiApre + e.descrizione();
    }
    if (!confronto.tabelleMancanti.isEmpty())
        return QStringLiteral("Nella base dati ") + quale + QStringLiteral(" mancano tabelle del programma: ")
            + confronto.tabelleMancanti.join(QStringLiteral(", ")) + QLatin1Char('.');
    if (!confronto.differenza.isEmpty())
        return QStringLiteral("La base dati ") + quale + QStringLiteral(" non ha la struttura prevista dal programma: ")
            + confronto.differenza + QLatin1Char('.');
    return {};
}

QString testoClientConnessi()
{
    return QStringLiteral("Qualche client potrebbe ancora essere connesso alla ") + QStringLiteral("base dati. ") + CRLF + CRLF
        + QStringLiteral("L'operazione non è consentita.");
}

EsitoSalvataggio salvaDati(Contesto &c, const QString &testo, ProgressoCaricamento *progresso)
{
    ProgressoCaricamento nessuno;
    ProgressoCaricamento &p = progresso ? *progresso : nessuno;
    if (testo.trimmed().isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Selezionare prima un nome per l'Archivio di Backup."), kTitoloErrore,
                             Icona::Critico);
        return EsitoSalvataggio::NomeMancante;
    }
    const QString nome = nomeArchivioBackup(testo.trimmed());
    // The volume size follows the drive as typed, before the path is made absolute.
    const qint64 volume = grandezzaVolume(nome);
    const QString archivio = percorsoAssoluto(c.cartellaProgramma, nome);
    QString motivo;
    try {
        motivo = destinazioneVietata(c, archivio);
        if (motivo.isEmpty()) {
            const Attesa attesa(p);
            p.fase(QStringLiteral("Salvataggio dati in corso..."), QStringLiteral("Scrittura dell'archivio"));
            motivo = archiviaBaseDati(c.db, archivio, volume);
        }
    } catch (const Errore &e) {
        c.dialoghi.messaggio(testoErrore(e), kTitoloErrore, Icona::Critico);
        return EsitoSalvataggio::Fallito;
    }
    if (!motivo.isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Backup fallito") + CRLF + CRLF + motivo, kTitoloProdotto, Icona::Critico);
        return EsitoSalvataggio::Fallito;
    }
    c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup"), QDir::toNativeSeparators(archivio));
    c.dialoghi.messaggio(QStringLiteral("Backup eseguito con successo."), kTitoloProdotto, Icona::Informazione);
    return EsitoSalvataggio::Riuscito;
}

void sostituisciDatiOperatore(CorsiDB &db, const QString &file, const QString &grupOpe, qlonglong operatore)
{
    const QVariantList chiave{grupOpe, operatore};
    Archiviata archivio(file);
    Transazione t(db);
    QStringList tabelle;
    for (const QString &tabella : tabelleSchema()) {
        if (!db.esisteColonna(tabella, QStringLiteral("GrupOpe")) || !db.esisteColonna(tabella, QStringLiteral("Operatore")))
            continue;
        // A table the archive lacks (an older one) is left as it is; what was sent stays
        // recorded, the archive's sends added to these below.
        if (!archivio.db.esisteTabella(tabella) || tabella.compare(kTabellaInvii, Qt::CaseInsensitive) == 0)
            continue;
        db.esegui(completa(sql::supporto::kCancellaOperatore, {tabella}), chiave);
        tabelle << tabella;
    }
    copiaRighe(archivio.db, db, tabelle, chiave);
    allineaContatori(db);
    riportaInvii(db, archivio.db, chiave);
    // Occasional sites are shared by the operators: only those this database lacks.
    QStringList colonne;
    for (const Colonna &c : db.colonne(QStringLiteral("CorsiSediOcc")))
        if (archivio.db.esisteColonna(QStringLiteral("CorsiSediOcc"), c.nome))
            colonne << c.nome;
    QStringList segnaposto;
    for (qsizetype i = 0; i < colonne.size(); ++i)
        segnaposto << QStringLiteral("?");
    const QString elenco = colonne.join(QStringLiteral(", "));
    const qsizetype chiaveSede = colonne.indexOf(QStringLiteral("SedeOcc"));
    QSqlQuery q = archivio.db.seleziona(completa(sql::supporto::kSediOccOperatore, {elenco}), chiave);
    while (q.next()) {
        if (db.valoreScalare(sql::supporto::kEsisteSedeOcc, {q.value(int(chiaveSede))}).toLongLong() > 0)
            continue;
        QVariantList valori;
        for (int i = 0; i < colonne.size(); ++i)
            valori << q.value(i);
        db.esegui(
            completa(sql::copie::kInserisci, {QStringLiteral("CorsiSediOcc"), elenco, segnaposto.join(QStringLiteral(", "))}),
            valori);
    }
    q.finish();
    t.conferma();
}

EsitoRecuperoDati recuperaDati(Contesto &c, const QString &testo, ModoRecupero modo, ProgressoCaricamento *progresso)
{
    ProgressoCaricamento nessuno;
    ProgressoCaricamento &p = progresso ? *progresso : nessuno;
    if (testo.trimmed().isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Nessun file da ripristinare selezionato."), kTitoloErrore, Icona::Critico);
        return EsitoRecuperoDati::NomeMancante;
    }
    const Sessione &s = c.sessione;
    if (modo == ModoRecupero::Operatore && (s.gGrupOpe.isEmpty() || s.numeroOperatore() == 0)) {
        c.dialoghi.messaggio(QStringLiteral("Selezionare prima l'operatore di cui recuperare i dati."), kTitoloErrore,
                             Icona::Critico);
        return EsitoRecuperoDati::Rifiutato;
    }
    const QString archivio = percorsoAssoluto(c.cartellaProgramma, testo.trimmed());
    const QString percorsoDb = c.db.percorso();
    // The connection back in the mode it had, whatever happens in between; the user is
    // told when it does not reopen.
    bool recuperato = false;
    RiaperturaConnessione riapertura(c.db, [&](const Errore &e) {
        c.dialoghi.messaggio(recuperato ? QStringLiteral("Recupero eseguito, ma la base dati non si riapre: riavviare il "
                                                         "programma.")
                                        : testoRiaperturaFallita(e),
                             kTitoloErrore, Icona::Critico);
    });
    auto fallito = [&](const QString &motivo, EsitoRecuperoDati esito) {
        c.dialoghi.messaggio(QStringLiteral("Recupero fallito") + CRLF + CRLF + motivo, kTitoloProdotto, Icona::Critico);
        return esito;
    };

    // The file is replaced under no other connection.
    if (!c.db.riconnettiEsclusivo()) {
        c.dialoghi.messaggio(testoClientConnessi(), kTitoloErrore, Icona::Critico);
        return EsitoRecuperoDati::Rifiutato;
    }
    try {
        // Extracted into a new folder of our own, readable by the user only: the program
        // folder's "DBUnzip", which may hold the user's files or be a link, is never touched.
        QString motivo;
        FileEstratto estratto;
        const auto estrazione = cartellaTemporaneaPrivata(QStringLiteral("recupera"));
        {
            const Attesa attesa(p);
            if (!estrazione) {
                motivo = QStringLiteral("Impossibile creare una cartella temporanea per estrarre l'archivio.");
            } else {
                p.fase(QStringLiteral("Recupero dati in corso..."), QStringLiteral("Estrazione dell'archivio"));
                p.file(archivio, QString(), 100);
                OpzioniEstrazione opzioni;
                opzioni.avanzamento = [&p](qint64 fatti, qint64 totale) {
                    p.record(totale > 0 ? static_cast<int>(fatti * 100 / totale) : 100);
                };
                estratto = estraiFileUnico(archivio, estrazione->path(), opzioni);
                motivo = estratto.errore;
            }
            if (motivo.isEmpty())
                motivo = controllaBaseDatiArchiviata(estratto.file);
        }
        if (!motivo.isEmpty()) {
            riapertura.riapri();
            return fallito(motivo, EsitoRecuperoDati::Rifiutato);
        }
        // Taking back an application printed in final form unlocks it: only when asked.
        const QStringList sbloccate = domandeSbloccate(c.db, estratto.file, modo, s);
        if (!sbloccate.isEmpty()
            && c.dialoghi.messaggio(QStringLiteral("Il recupero sbloccherà queste domande, già stampate in definitivo: "
                                                   "nell'archivio non risultano stampate e dopo il recupero i loro dati "
                                                   "torneranno modificabili.")
                                        + CRLF + CRLF + sbloccate.join(CRLF) + CRLF + CRLF
                                        + QStringLiteral("Continuare il recupero?"),
                                    kTitoloProdotto, Icona::Domanda, Pulsanti::SiNo)
                != Risposta::Si) {
            riapertura.riapri();
            return EsitoRecuperoDati::Annullato;
        }
        {
            const Attesa attesa(p);
            p.fase(QStringLiteral("Recupero dati in corso..."), QStringLiteral("Copia della base dati attuale"));
            // The current database, kept before anything changes.
            const QString cartellaCopia = QDir(c.cartellaProgramma).filePath(kCartellaCopiaAttuale);
            const QString copia = QDir().mkpath(cartellaCopia) ? copiaDellaBaseDatiAttuale(c, cartellaCopia) : QString();
            if (copia.isEmpty()) {
                riapertura.riapri();
                return fallito(QStringLiteral("Impossibile copiare la base dati attuale nella cartella ")
                                   + QDir::toNativeSeparators(cartellaCopia) + QLatin1Char('.'),
                               EsitoRecuperoDati::Fallito);
            }
            p.fase(QStringLiteral("Recupero dati in corso..."), QStringLiteral("Sostituzione dei dati"));
            if (modo == ModoRecupero::Tutto) {
                if (!sostituisciDatabase(c.db, percorsoDb, estratto.file)) {
                    riapertura.riapri();
                    return fallito(QStringLiteral("Impossibile sostituire la base dati. La base dati in uso prima del "
                                                  "recupero è nel file ")
                                       + QDir::toNativeSeparators(copia) + QLatin1Char('.'),
                                   EsitoRecuperoDati::Fallito);
                }
            } else {
                sostituisciDatiOperatore(c.db, estratto.file, s.gGrupOpe, s.numeroOperatore());
            }
            recuperato = true;
            if (!riapertura.riapri())
                return EsitoRecuperoDati::Fallito;
            // A database saved by the previous release gets the columns added since.
            aggiornaDataAvvio(c.db);
            aggiornaSchedeHandicap(c.db);
            aggiornaInvii(c.db);
            if (modo == ModoRecupero::Tutto)
                riportaInvii(c.db, copia);
            rinfrescaSessione(c);
        }
    } catch (const Errore &e) {
        riapertura.riapri();
        c.dialoghi.messaggio(testoErrore(e), kTitoloErrore, Icona::Critico);
        return EsitoRecuperoDati::Fallito;
    }
    c.dialoghi.messaggio(QStringLiteral("Recupero eseguito con successo"), kTitoloProdotto, Icona::Informazione);
    return EsitoRecuperoDati::Riuscito;
}

} // namespace quirdal
