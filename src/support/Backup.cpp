#include "support/Backup.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/SessioneIni.h"
#include "db/Aggiornamenti.h"
#include "db/CopiaSicurezza.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "support/Archivio.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>

namespace quirdal {

namespace {

const QString kTitoloErrore = QStringLiteral("Errore");

QString testoErrore(const Errore &e)
{
    return QStringLiteral("Errore ") + QString::number(e.numero()) + CRLF + e.descrizione();
}

// A typed path, relative ones taken in the program folder.
QString percorsoAssoluto(const QString &cartellaProgramma, const QString &testo)
{
    return QDir::cleanPath(QDir(cartellaProgramma).absoluteFilePath(QDir::fromNativeSeparators(testo)));
}

// The tables of the program, as its schema creates them.
QStringList tabelleProgramma()
{
    static const QRegularExpression crea(QStringLiteral("^\\s*CREATE TABLE\\s+(\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList r;
    for (const QString &istruzione : istruzioniSchema())
        if (const auto m = crea.match(istruzione); m.hasMatch())
            r << m.captured(1);
    return r;
}

QString virgolette(const QString &nome) { return QLatin1Char('"') + nome + QLatin1Char('"'); }

// The columns of a table that both this database and the attached one have, quoted: an
// older archive may lack a column added since.
QString colonneComuni(CorsiDB &db, const QString &tabella)
{
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT name FROM pragma_table_info(?, 'recupero')"), {tabella});
    QStringList archiviate;
    while (q.next())
        archiviate << q.value(0).toString();
    q.finish();
    QStringList colonne;
    for (const Colonna &col : db.colonne(tabella))
        if (archiviate.contains(col.nome, Qt::CaseInsensitive))
            colonne << virgolette(col.nome);
    return colonne.join(QStringLiteral(", "));
}

// The connection back in the mode it had, whatever happened in between.
struct RiaperturaConnessione {
    CorsiDB &db;
    ModoApertura modo;
    bool riapri()
    {
        try {
            if (!db.aperto() || db.modo() != modo)
                db.riapriInModo(modo);
            return true;
        } catch (const Errore &) {
            return false;
        }
    }
};

void rinfrescaSessione(Contesto &c)
{
    Sessione &s = c.sessione;
    ripristinaSessione(s, c.ini, c.db);
    QSqlQuery q = c.db.seleziona(
        QStringLiteral("SELECT Denominazione, TipoOper FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"),
        s.chiaveOperatore());
    if (q.next()) {
        s.gDenomOper = q.value(0).toString();
        s.gTipoOper = q.value(1).toString();
    } else {
        // The restored database does not know the operator: it must be chosen again.
        s.gDenomOper.clear();
        s.gTipoOper.clear();
    }
}

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
    QTemporaryDir lavoro;
    if (!lavoro.isValid())
        return QStringLiteral("impossibile creare una cartella temporanea");
    const QString nome = QFileInfo(db.percorso()).fileName();
    const QString copia = lavoro.filePath(nome);
    if (!copiaConsistente(db, copia))
        return QStringLiteral("impossibile ottenere una copia integra della base dati");
    return scriviArchivio(archivio, copia, nome, volume);
}

QString controllaBaseDatiArchiviata(const QString &file)
{
    if (!fileIntegro(file))
        return QStringLiteral("Il file dell'archivio non è una base dati del programma oppure è danneggiato.");
    CorsiDB prova(QStringLiteral("recupero-") + QUuid::createUuid().toString(QUuid::Id128));
    try {
        prova.apri(file, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
    } catch (const Errore &e) {
        return QStringLiteral("La base dati dell'archivio non si apre: ") + e.descrizione();
    }
    QStringList mancanti;
    for (const QString &t : tabelleProgramma())
        if (!prova.esisteTabella(t))
            mancanti << t;
    prova.chiudi();
    if (!mancanti.isEmpty())
        return QStringLiteral("Nella base dati dell'archivio mancano tabelle del programma: ") + mancanti.join(QStringLiteral(", "))
            + QLatin1Char('.');
    return {};
}

QString testoClientConnessi()
{
    return QStringLiteral("Qualche client potrebbe ancora essere connesso alla ") + QStringLiteral("base dati. ") + CRLF + CRLF
        + QStringLiteral("L'operazione non è consentita.");
}

EsitoSalvataggio salvaDati(Contesto &c, const QString &testo)
{
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
        motivo = archiviaBaseDati(c.db, archivio, volume);
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
    db.esegui(QStringLiteral("ATTACH DATABASE ? AS recupero"), {file});
    struct Stacca {
        CorsiDB &db;
        ~Stacca()
        {
            try {
                db.esegui(QStringLiteral("DETACH DATABASE recupero"));
            } catch (const Errore &) {
            }
        }
    } stacca{db};
    Transazione t(db);
    for (const InfoTabella &info : db.elencoTabelle()) {
        if (info.tipo != QLatin1String("TABLE") || !db.esisteColonna(info.nome, QStringLiteral("GrupOpe"))
            || !db.esisteColonna(info.nome, QStringLiteral("Operatore")))
            continue;
        const QString tabella = virgolette(info.nome), elenco = colonneComuni(db, info.nome);
        db.esegui(QStringLiteral("DELETE FROM main.") + tabella + QStringLiteral(" WHERE GrupOpe=? AND Operatore=?"), chiave);
        db.esegui(QStringLiteral("INSERT INTO main.") + tabella + QStringLiteral(" (") + elenco + QStringLiteral(") SELECT ")
                      + elenco + QStringLiteral(" FROM recupero.") + tabella + QStringLiteral(" WHERE GrupOpe=? AND Operatore=?"),
                  chiave);
    }
    // Occasional sites are shared by the operators: only those this database lacks.
    const QString sedi = colonneComuni(db, QStringLiteral("CorsiSediOcc"));
    db.esegui(QStringLiteral("INSERT OR IGNORE INTO main.CorsiSediOcc (") + sedi + QStringLiteral(") SELECT ") + sedi
                  + QStringLiteral(" FROM recupero.CorsiSediOcc WHERE SedeOcc IN (SELECT SedeOcc FROM recupero.CorsiSediOccUtil "
                                   "WHERE GrupOpe=? AND Operatore=?)"),
              chiave);
    t.conferma();
}

EsitoRecuperoDati recuperaDati(Contesto &c, const QString &testo, ModoRecupero modo)
{
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
    RiaperturaConnessione riapertura{c.db, c.db.modo()};
    auto fallito = [&](const QString &motivo, EsitoRecuperoDati esito) {
        c.dialoghi.messaggio(QStringLiteral("Recupero fallito") + CRLF + CRLF + motivo, kTitoloProdotto, Icona::Critico);
        return esito;
    };

    // The file is replaced under no other connection.
    if (!c.db.riconnettiEsclusivo()) {
        c.dialoghi.messaggio(testoClientConnessi(), kTitoloErrore, Icona::Critico);
        return EsitoRecuperoDati::Rifiutato;
    }
    const QString estrazione = QDir(c.cartellaProgramma).filePath(kCartellaEstrazione);
    struct Pulizia {
        QString cartella;
        ~Pulizia() { QDir(cartella).removeRecursively(); }
    } pulizia{estrazione};
    try {
        // What an interrupted restore left there is not this archive's.
        QDir(estrazione).removeRecursively();
        QString motivo;
        FileEstratto estratto;
        if (!QDir().mkpath(estrazione))
            motivo = QStringLiteral("Impossibile creare la cartella ") + QDir::toNativeSeparators(estrazione) + QLatin1Char('.');
        else
            estratto = estraiFileUnico(archivio, estrazione);
        if (motivo.isEmpty())
            motivo = estratto.errore;
        if (motivo.isEmpty())
            motivo = controllaBaseDatiArchiviata(estratto.file);
        if (!motivo.isEmpty()) {
            riapertura.riapri();
            return fallito(motivo, EsitoRecuperoDati::Rifiutato);
        }
        // The current database, kept before anything changes.
        const QString cartellaCopia = QDir(c.cartellaProgramma).filePath(kCartellaCopiaAttuale);
        const QFileInfo fi(percorsoDb);
        const QString copia = QDir(cartellaCopia).filePath(
            fi.completeBaseName() + QLatin1Char('_') + c.piattaforma.adesso().toString(QStringLiteral("yyyyMMdd-hhmmss"))
            + QLatin1Char('.') + fi.suffix());
        if (!QDir().mkpath(cartellaCopia) || !copiaConsistente(c.db, copia)) {
            riapertura.riapri();
            return fallito(QStringLiteral("Impossibile copiare la base dati attuale nella cartella ")
                               + QDir::toNativeSeparators(cartellaCopia) + QLatin1Char('.'),
                           EsitoRecuperoDati::Fallito);
        }
        if (modo == ModoRecupero::Tutto) {
            if (!sostituisciDatabase(c.db, percorsoDb, estratto.file)) {
                riapertura.riapri();
                return fallito(QStringLiteral("Impossibile sostituire la base dati. La base dati in uso prima del recupero "
                                              "è nel file ")
                                   + QDir::toNativeSeparators(copia) + QLatin1Char('.'),
                               EsitoRecuperoDati::Fallito);
            }
        } else {
            sostituisciDatiOperatore(c.db, estratto.file, s.gGrupOpe, s.numeroOperatore());
        }
        if (!riapertura.riapri()) {
            c.dialoghi.messaggio(QStringLiteral("Recupero eseguito, ma la base dati non si riapre: riavviare il programma."),
                                 kTitoloErrore, Icona::Critico);
            return EsitoRecuperoDati::Fallito;
        }
        // A database saved by the previous release gets the columns added since.
        aggiornaDataAvvio(c.db);
        aggiornaSchedeHandicap(c.db);
        rinfrescaSessione(c);
    } catch (const Errore &e) {
        riapertura.riapri();
        c.dialoghi.messaggio(testoErrore(e), kTitoloErrore, Icona::Critico);
        return EsitoRecuperoDati::Fallito;
    }
    c.dialoghi.messaggio(QStringLiteral("Recupero eseguito con successo"), kTitoloProdotto, Icona::Informazione);
    return EsitoRecuperoDati::Riuscito;
}

} // namespace quirdal
