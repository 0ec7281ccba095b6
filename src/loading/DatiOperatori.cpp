#include "loading/DatiOperatori.h"

#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Piattaforma.h"
#include "common/Progresso.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/Installazione.h"
#include "db/Consultazioni.h"
#include "db/CopiaSicurezza.h"
#include "db/CorsiDB.h"
#include "db/RiaperturaConnessione.h"
#include "loading/CatalogoCaricamento.h"
#include "loading/FileOperatori.h"
#include "loading/TabelleDecodifica.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlQuery>

#include <algorithm>

namespace quirdal {

namespace {

const QStringList &kFileDati = fileDatiOperatori();

QString nomeCar(const QString &file, bool aggiornamento)
{
    QString base = QFileInfo(file).completeBaseName();
    if (aggiornamento && base == QLatin1String("corsipre"))
        base = QStringLiteral("CorsiPre");
    else if (aggiornamento && base == QLatin1String("percmod"))
        base = QStringLiteral("PercMod");
    return base + QStringLiteral(".car");
}

void spostaFileDati(const QString &cartella, const QString &sottocartella, bool aggiornamento)
{
    for (const QString &nome : kFileDati) {
        const QString p = trovaFile(cartella, nome);
        if (!p.isEmpty())
            spostaFile(p, QDir(cartella).filePath(sottocartella + QLatin1Char('/') + nomeCar(nome, aggiornamento)));
    }
}

QString testoMancanoFile(const QString &cartella, const QString &verbo)
{
    return QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile "
                          "che si trovino ancora nella cartella temporanea dove è stato scaricato il pacchetto di "
                          "installazione da Internet. In tal caso, ")
        + verbo + QStringLiteral(" da tale cartella tutti i files .TX1 nella cartella ") + cartella + QStringLiteral(").");
}

// Corrispondenza of the operators that have none yet: their registered office. Returns
// the first operator without one, if any.
std::optional<QString> impostaSediLegali(CorsiDB &db)
{
    QSqlQuery q = db.seleziona(sql::caricamento::kOperatoriSenzaCorrispondenza);
    QList<QPair<QString, long long>> operatori;
    while (q.next())
        operatori.append({q.value(0).toString(), q.value(1).toLongLong()});
    q.finish();
    for (const auto &[g, o] : operatori) {
        const QVariant sede = db.valoreScalare(sql::caricamento::kSedeLegale, {g, o});
        if (sede.isNull())
            return g + QStringLiteral(" - ") + QString::number(o);
        db.esegui(sql::caricamento::kImpostaCorrispondenza, {sede, g, o});
    }
    return std::nullopt;
}

// Whether the file of that name, among those read, holds no record.
bool senzaRecord(const QList<FileDati> &file, const QString &nome)
{
    return std::find_if(file.cbegin(), file.cend(), [&](const FileDati &f) { return f.nome == nome; })->vuoto();
}

// The hourglass for the length of a load, and the safety copy taken before it.
struct Attesa {
    explicit Attesa(ProgressoCaricamento &p) : p(p) { p.attendi(true); }
    ~Attesa() { p.attendi(false); }
    ProgressoCaricamento &p;
};

bool copiaPrimaDelCaricamento(Contesto &c, const QString &operazione, const QString &titolo)
{
    if (copiaSicurezza(c.db))
        return true;
    c.dialoghi.messaggio(QStringLiteral("Copia di sicurezza della base dati non riuscita. Impossibile continuare "
                                        "l'operazione di ")
                             + operazione + QStringLiteral("."),
                         titolo, Icona::Critico);
    return false;
}

void terminaInstallazione(Contesto &c, const QString &testo, const QString &titolo = kTitoloInstallazioneDb)
{
    if (c.db.inTransazione())
        c.db.annullaTransazione();
    c.dialoghi.messaggio(testo, titolo, Icona::Critico);
    c.db.chiudi();
    throw FineProgramma(QStringLiteral("installazione dati operatori"));
}

} // namespace

// --- Install ------------------------------------------------------------------------------

void installaDatiOperatori(Contesto &c, ProgressoCaricamento &progresso)
{
    const QString cartella = c.cartellaProgramma;
    const QString cartellaMostrata = QDir::toNativeSeparators(cartella);
    auto esiste = [&](const QString &n) { return !trovaFile(cartella, n).isEmpty(); };
    if (!esiste(QStringLiteral("oper.tx1")) || !esiste(QStringLiteral("compo.tx1")))
        terminaInstallazione(c, testoMancanoFile(cartellaMostrata, QStringLiteral("spostare")));
    if (esiste(QStringLiteral("sediocc.tx1")) != esiste(QStringLiteral("sediutil.tx1")))
        terminaInstallazione(c, testoMancanoFile(cartellaMostrata, QStringLiteral("spostate")));
    if (!esiste(QStringLiteral("corsipre.tx1")))
        terminaInstallazione(c, testoMancanoFile(cartellaMostrata, QStringLiteral("spostare")));

    const Attesa attesa(progresso);
    if (!copiaPrimaDelCaricamento(c, QStringLiteral("caricamento"), kTitoloInstallazioneDb))
        return;

    try {
        QList<FileDati> file;
        for (const FileOperatori &f : fileOperatori())
            file << leggiFile(cartella, f.nome, f.fase);

        // One transaction: whatever stops the load, even a killed process, leaves the
        // database as it was.
        Transazione t(c.db);
        Caricamento car{c, {}};
        for (qsizetype i = 0; i < file.size(); ++i) {
            const FileOperatori &voce = fileOperatori()[i];
            const FileDati &f = file[i];
            if (!voce.compagno.isEmpty() && f.vuoto() != senzaRecord(file, voce.compagno))
                terminaInstallazione(c,
                                     f.vuoto() ? QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi "
                                                                "occasionali è vuoto, ma non lo è quello con i dati di "
                                                                "utilizzo delle sedi stesse. La base dati è "
                                                                "incompleta.Impossibile continuare l'installazione.")
                                               : QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi "
                                                                "occasionali è vuoto. La base dati è incompleta.Impossibile "
                                                                "continuare l'installazione."));
            if (!voce.vuotoInstallazione.isEmpty() && f.vuoto())
                terminaInstallazione(c, voce.vuotoInstallazione);
            perOgniRecord(f, voce.tabella, progresso, {}, voce.fase, car, voce.installa);
            if (voce.sediLegali) {
                if (const auto senza = impostaSediLegali(c.db))
                    terminaInstallazione(c,
                                         QStringLiteral("Manca la sede legale dell'Operatore ") + *senza
                                             + QStringLiteral(". Impossibile utilizzare il programma."),
                                         QStringLiteral("Installazione/Aggiornamento Base Dati"));
            }
        }
        t.conferma();
    } catch (const Errore &e) {
        // Any failure, not only a record's, takes the road back: rollback, BAD, end.
        const auto *f = dynamic_cast<const ErroreFase *>(&e);
        try {
            if (c.db.inTransazione())
                c.db.annullaTransazione();
        } catch (const Errore &) {
        }
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione()
                                 + CRLF + QStringLiteral("durante il caricamento ")
                                 + (f ? f->fase() : QStringLiteral("dei dati degli operatori"))
                                 + QStringLiteral(". L'operazione di caricamento ") + QStringLiteral("sarà interrotta.") + CRLF
                                 + QStringLiteral("L'aggiornamento della Base Dati ")
                                 + QStringLiteral("non è andato a buon fine, verrà riprisitnata la situazione iniziale. "
                                                  "Contattare il servizio di ")
                                 + QStringLiteral("assistenza V.T.Z. riportando il presente messaggio."),
                             kTitoloInstallazioneDb, Icona::Critico);
        // The rollback has put the database back as it was; the safety copy is the last
        // resort should it not have (the connection lost, an operator left behind).
        bool vuota = false;
        try {
            vuota = c.db.aperto() && c.db.valoreScalare(sql::caricamento::kNumeroOperatori).toInt() == 0;
        } catch (const Errore &) {
        }
        const QString percorsoDb = c.db.percorso();
        if (vuota)
            togliCopiaSicurezza(percorsoDb);
        else if (!ripristinaCopiaSicurezza(c.db, percorsoDb))
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati non riuscito."), kTitoloInstallazioneDb,
                                 Icona::Critico);
        spostaFileDati(cartella, QStringLiteral("BAD"), false);
        c.db.chiudi();
        throw FineProgramma(QStringLiteral("dati operatori non caricati"));
    }
    togliCopiaSicurezza(c.db.percorso());
    spostaFileDati(cartella, QStringLiteral("CAR"), false);
}

// --- Update ---------------------------------------------------------------------------

namespace {

bool scriviLog(const QString &percorso, const QStringList &righe)
{
    QSaveFile f(percorso);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QString &r : righe) {
        const QByteArray b = aWindows1252(r + CRLF);
        if (f.write(b) != b.size()) {
            f.cancelWriting();
            return false;
        }
    }
    return f.commit();
}

} // namespace

bool aggiornaDatiOperatori(Contesto &c, ProgressoCaricamento &progresso)
{
    const QString cartella = c.cartellaProgramma;
    auto esiste = [&](const QString &n) { return !trovaFile(cartella, n).isEmpty(); };
    if (!esiste(QStringLiteral("oper.tx1")) || !esiste(QStringLiteral("compo.tx1"))
        || esiste(QStringLiteral("sediocc.tx1")) != esiste(QStringLiteral("sediutil.tx1"))) {
        c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo "
                                            "necessari."),
                             kTitoloAggiornamentoDb, Icona::Critico);
        return false;
    }
    const Attesa attesa(progresso);
    if (!copiaPrimaDelCaricamento(c, QStringLiteral("aggiornamento"), kTitoloAggiornamentoDb))
        return false;
    const QString percorsoLog = QDir(cartella).filePath(kFileLog);
    if (const QString vecchio = trovaFile(cartella, kFileLog); !vecchio.isEmpty())
        QFile::remove(vecchio);
    Caricamento car{c, {}};

    auto fallito = [&]() {
        bool annullata = false;
        try {
            if (c.db.inTransazione())
                c.db.annullaTransazione();
            annullata = c.db.aperto();
        } catch (const Errore &) {
        }
        // The rollback has already put everything back; the safety copy is the last
        // resort should the connection have been lost meanwhile.
        const QString percorsoDb = c.db.percorso();
        const bool ripristinata = annullata || ripristinaCopiaSicurezza(c.db, percorsoDb);
        if (annullata)
            togliCopiaSicurezza(percorsoDb);
        if (ripristinata)
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati riuscito"), kTitoloAggiornamentoDb,
                                 Icona::Informazione);
        else
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati non riuscito."), kTitoloAggiornamentoDb,
                                 Icona::Critico);
        QFile::remove(percorsoLog);
        return false;
    };

    try {
        // The files an update reloads: not the previous activities.
        QList<FileOperatori> voci;
        QList<FileDati> file;
        for (const FileOperatori &f : fileOperatori()) {
            if (f.procedura.isEmpty())
                continue;
            voci << f;
            file << leggiFile(cartella, f.nome, {}, f.procedura);
        }
        auto avviso = [&](const QString &testo) { c.dialoghi.messaggio(testo, kTitoloAggiornamentoDb, Icona::Critico); };

        Transazione t(c.db);
        for (qsizetype i = 0; i < voci.size(); ++i) {
            const FileOperatori &voce = voci[i];
            const FileDati &f = file[i];
            if (!voce.compagno.isEmpty() && f.vuoto() != senzaRecord(file, voce.compagno)) {
                avviso((f.vuoto() ? QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è "
                                                   "vuoto, mentre non lo è quello con i dati di utilizzo delle sedi stesse. "
                                                   "Vi è quindi una incongruenza nei dati.")
                                  : QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali da "
                                                   "parte degli operatori è vuoto, mentre non lo è il file con i dati "
                                                   "anagrafici delle sedi stesse. Vi è quindi una incongruenza nei dati."))
                       + QStringLiteral("Impossibile continuare l'operazione di aggiornamento."));
                return fallito();
            }
            if (!voce.vuotoAggiornamento.isEmpty() && f.vuoto()) {
                avviso(voce.vuotoAggiornamento);
                return fallito();
            }
            perOgniRecord(f, voce.tabella, progresso, voce.procedura, voce.faseAggiornamento, car, voce.aggiorna);
            if (voce.sediLegali)
                impostaSediLegali(c.db); // new operators: their registered office, where the file gives one
        }
        t.conferma();
    } catch (const ErroreFase &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione()
                                 + CRLF + e.fase(),
                             QStringLiteral("Aggiornamento Base Dati - ") + e.procedura(), Icona::Critico);
        return fallito();
    } catch (const Errore &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione(),
                             kTitoloAggiornamentoDb, Icona::Critico);
        return fallito();
    }

    togliCopiaSicurezza(c.db.percorso());
    if (!car.log.isEmpty() && scriviLog(percorsoLog, car.log)) {
        if (c.dialoghi.messaggio(QStringLiteral("E' stato creato un file di log con nome: ")
                                     + QDir::toNativeSeparators(percorsoLog)
                                     + QStringLiteral(", contenente alcune note all'aggiornamento. E' possibile leggerlo "
                                                      "usando il Blocco Note di Windows.")
                                     + CRLF + QStringLiteral("Visualizzare subito il file di log?"),
                                 kTitoloAggiornamentoDb, Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si)
            c.piattaforma.apriInEditor(percorsoLog);
    }
    return true;
}

void archiviaFileDatiOperatori(const QString &cartella, bool riuscito)
{
    spostaFileDati(cartella, riuscito ? QStringLiteral("CAR") : QStringLiteral("BAD"), true);
}

bool aggiornaBaseDati(Contesto &c, ProgressoCaricamento &progresso)
{
    const QString versione = c.sessione.gVersione;
    if (versione == QLatin1String("CLIENT")) {
        c.dialoghi.messaggio(QStringLiteral("La funzione di Aggiornamento Base Dati è disponibile solo dalle "
                                            "installazioni di tipo SERVER."),
                             QStringLiteral("Funzione non disponibile"), Icona::Critico);
        return false;
    }
    if (versione != QLatin1String("SERVER")) {
        c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: impossibile rilevare tipo di installazione in uso "
                                            "(SERVER/CLIENT). ")
                                 + CRLF
                                 + QStringLiteral("Contattare il servizio di assistenza V.T.Z. riportando questo "
                                                  "messaggio."),
                             QStringLiteral("Anomalia"), Icona::Critico);
        return false;
    }
    const QString cartella = c.cartellaProgramma;
    // Back to the installation's own mode afterwards: left exclusive, the database would
    // shut the clients out until the next start.
    RiaperturaConnessione riapertura(
        c.db, [&c](const Errore &e) { c.dialoghi.messaggio(testoRiaperturaFallita(e), kTitoloAggiornamentoDb, Icona::Critico); });
    if (!riconnessioneEsclusiva(c.db, c.dialoghi)) {
        for (const QFileInfo &fi : QDir(cartella).entryInfoList(QDir::Files))
            if (fi.suffix().compare(QLatin1String("tx1"), Qt::CaseInsensitive) == 0)
                QFile::remove(fi.filePath());
        throw FineProgramma(QStringLiteral("base dati in uso"));
    }
    passoTabelle(c, progresso);
    if (trovaFile(cartella, QStringLiteral("oper.tx1")).isEmpty())
        return true;
    const bool riuscito = aggiornaDatiOperatori(c, progresso);
    archiviaFileDatiOperatori(cartella, riuscito);
    if (riuscito)
        c.dialoghi.messaggio(QStringLiteral("Aggiornamento Base Dati effettuato."), QStringLiteral("Aggiorna Base Dati"),
                             Icona::Informazione);
    return riuscito;
}

} // namespace quirdal
