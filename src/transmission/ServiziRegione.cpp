#include "transmission/ServiziRegione.h"

#include "common/Codifica.h"
#include "common/Dialoghi.h"
#include "common/Generale.h"
#include "common/PuntiArresto.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/Aggiornamenti.h"
#include "db/CorsiDB.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "db/Schema.h"
#include "transmission/CatalogoTrasmissione.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/Invii.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <QUrl>
#include <QUuid>

#include <memory>
#include <vector>

namespace quirdal {

namespace {

QString leggiServizio(Contesto &c, const QString &chiave) { return c.ini.leggi(QStringLiteral("CONNESSIONE"), chiave); }

QString testoCertificato()
{
    return QStringLiteral("E' necessario installare il certificato di autorizzazione per il server sicuro della Regione.") + CRLF
        + QStringLiteral("Per procedere alla reinstallazione, cercare nel sistema il file CA_ROOT.DER ed eseguire un doppio "
                         "click su di esso.")
        + CRLF + QStringLiteral("Se il file è assente dal sistema, contattare il servizio assistenza");
}

// Digits 0-9 only, at least one and at most massimo.
bool soloCifre(const QString &testo, int massimo)
{
    if (testo.isEmpty() || testo.size() > massimo)
        return false;
    for (const QChar ch : testo)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    return true;
}

int lunghezzaNumDoma(CorsiDB &db)
{
    for (const Colonna &col : db.colonne(QStringLiteral("Installazione")))
        if (col.nome.compare(QLatin1String("NumDoma"), Qt::CaseInsensitive) == 0 && col.dimensione > 0)
            return col.dimensione;
    return 50;
}

// A version as the server writes it: numbers of at most 9 digits joined by ".".
bool versioneValida(const QString &versione)
{
    const QStringList parti = versione.split(QLatin1Char('.'));
    if (parti.size() > 4)
        return false;
    for (const QString &p : parti)
        if (!soloCifre(p, 9))
            return false;
    return true;
}

const QString kErroreConnessione =
    QStringLiteral("Errore di connessione al server. Si consiglia di riprovare in un secondo momento.");

} // namespace

int confrontaVersioni(const QString &a, const QString &b)
{
    const QStringList pa = a.trimmed().split(QLatin1Char('.')), pb = b.trimmed().split(QLatin1Char('.'));
    for (int i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        const long long x = pa.value(i).toLongLong(), y = pb.value(i).toLongLong();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

QString testoErroreTrasmissione(const EsitoTrasferimento &e)
{
    QString t = QStringLiteral("Si è verificato un errore in trasmissione, ") + QString::number(e.codiceErrore)
        + QStringLiteral(" : ") + e.infoErrore;
    if (e.codiceErrore == codiciInternet::AutoritaNonFidata)
        t += CRLF + CRLF + testoCertificato();
    return t;
}

QString testoNumeroNonOttenuto()
{
    return QStringLiteral("L'errore potrebbe dipendere dalla mancanza dell'autorizzazione ad accedere al server sicuro della "
                          "Regione, per la quale è necessario:")
        + CRLF + QStringLiteral("  - avere installato Microsoft Internet Explorer 4.01 o superiore ") + CRLF
        + QStringLiteral("  - avere installato il certificato di autorizzazione del server sicuro: il file si scarica come "
                         "CA_ROOT.TAR, va salvato con il nome CA_ROOT.DER nella cartella del programma e aperto con un "
                         "doppio click.")
        + CRLF + QStringLiteral("Per ulteriori chiarimenti, contattare il servizio di assistenza V.T.Z.") + CRLF
        + QStringLiteral("Impossibile continuare con l'esecuzione dell'applicativo, il programma verrà terminato.");
}

EsitoNumero richiediNumeroDomanda(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe,
                                  const QString &operatore, const QString &email)
{
    const QByteArray corpo = corpoModulo({{QStringLiteral("gruppo"), grupOpe},
                                          {QStringLiteral("codice"), operatore},
                                          {QStringLiteral("compo"), QString()},
                                          {QStringLiteral("applicativo"), QStringLiteral("QUIRDAL")},
                                          {QStringLiteral("email"), email}});
    // The connection credentials go right after the address's first "//".
    QString indirizzo = leggiServizio(c, QStringLiteral("NREG"));
    const int doppia = static_cast<int>(indirizzo.indexOf(QStringLiteral("//")));
    if (doppia >= 0)
        indirizzo.insert(doppia + 2, c.sessione.gPwdConnessione);
    const EsitoTrasferimento e = t.posta(indirizzo, corpo, intestazioniModulo());
    if (!e.completato) {
        c.dialoghi.messaggio(QStringLiteral("Si è verificato un errore: ") + QString::number(e.codiceErrore)
                                 + QStringLiteral(" : ") + e.infoErrore,
                             QStringLiteral("Errore"), Icona::Critico);
        return EsitoNumero::Fallito;
    }
    const QString numero = e.risposta.trimmed();
    // Only digits, as many as the column holds: the number goes into the records and the
    // name of the transmission file, and an application must not be opened without one.
    if (e.risposta.contains(QLatin1String("ERRORE")) || !soloCifre(numero, lunghezzaNumDoma(c.db))) {
        c.dialoghi.messaggio(QStringLiteral("Si è verificato un errore sul server sicuro della Regione durante il recupero "
                                            "del numero di domanda.")
                                 + CRLF + QStringLiteral("Contattare il servizio di assistenza V.T.Z."),
                             QStringLiteral("ERRORE"), Icona::Critico);
        return EsitoNumero::ErroreServer;
    }
    const int righe = c.db.valoreScalare(sql::trasmissione::kDomandeOperatore, {grupOpe, operatore.toLongLong(), prov}).toInt();
    if (righe == 0)
        c.db.esegui(sql::trasmissione::kNuovaDomanda, {grupOpe, operatore.toLongLong(), prov, numero});
    return EsitoNumero::Ottenuto;
}

EsitoRecupero recuperaNumeroDomanda(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe,
                                    const QString &operatore, const std::function<QString()> &chiediEmail)
{
    for (;;) {
        QString email;
        for (;;) {
            c.sessione.gEmailValida = FALSO;
            email = chiediEmail();
            if (!email.isEmpty() && controllaEmail(email).isEmpty()) {
                c.sessione.gEmailValida = VERO;
                break;
            }
            if (c.dialoghi.messaggio(QStringLiteral("E' necessario specificare un indirizzo e-mail per procedere.") + CRLF
                                         + QStringLiteral("Specificarlo ora?"),
                                     QStringLiteral("E-Mail"), Icona::Domanda, Pulsanti::SiNo)
                != Risposta::Si) {
                c.dialoghi.messaggio(QStringLiteral("E' impossibile continuare.") + CRLF
                                         + QStringLiteral("Il programma verrà terminato"),
                                     QStringLiteral("ERRORE"), Icona::Critico);
                return EsitoRecupero::FineProgramma;
            }
        }
        switch (richiediNumeroDomanda(c, t, prov, grupOpe, operatore, email)) {
        case EsitoNumero::Ottenuto:
            return EsitoRecupero::Ottenuto;
        case EsitoNumero::ErroreServer:
            return EsitoRecupero::ErroreServer;
        case EsitoNumero::Fallito:
            break;
        }
        if (c.dialoghi.messaggio(QStringLiteral("Si è verificato un errore in fase di connessione con il server sicuro, è "
                                                "probabile che si tratti di un errore temporaneo, Riprovare?"),
                                 QStringLiteral("ERRORE"), Icona::Critico, Pulsanti::OkAnnulla)
            != Risposta::Ok) {
            c.dialoghi.messaggio(testoNumeroNonOttenuto(), QStringLiteral("ERRORE"), Icona::Critico);
            return EsitoRecupero::FineProgramma;
        }
    }
}

bool VerificaVersione(Contesto &c, Trasferimento &t, const QString &versioneData)
{
    const QByteArray corpo = corpoModulo(
        {{QStringLiteral("applicativo"), QStringLiteral("QUIRDAL")}, {QStringLiteral("anno"), QStringLiteral("2009")}});
    const EsitoTrasferimento e = t.posta(leggiServizio(c, QStringLiteral("VERSIONE")), corpo, intestazioniModulo());
    const QStringList pezzi = e.risposta.split(QLatin1Char('#'));
    if (!e.completato || e.risposta.toUpper().contains(QLatin1String("ERRORE")) || pezzi.size() < 5) {
        if (!e.completato)
            c.dialoghi.messaggio(testoErroreTrasmissione(e), QStringLiteral("Errore di trasmissione"), Icona::Critico);
        if (e.codiceErrore != 12054)
            c.dialoghi.messaggio(kErroreConnessione, QStringLiteral("Errore di connessione"), Icona::Critico);
        return false;
    }
    const QString minima = pezzi[1].trimmed(), ultima = pezzi[2].trimmed(), stato = pezzi[3].trimmed(), testo = pezzi[4];
    const QString versione = versioneData.isEmpty() ? versioneProgramma() : versioneData;
    auto erroreServer = [&] {
        c.dialoghi.messaggio(kErroreConnessione, QStringLiteral("Errore di connessione"), Icona::Critico);
        return false;
    };
    if (stato == QLatin1String("S")) {
        c.dialoghi.messaggio(QStringLiteral("La presente versione dell'applicativo ( ") + versione
                                 + QStringLiteral(" ) non è più gestita dalla Regione.") + CRLF
                                 + QStringLiteral("Impossibile effettuare la trasmissione, per ulteriori informazioni "
                                                  "contattare il servizio di assistenza VTZ."),
                             QStringLiteral("Controllo Versione"), Icona::Esclamazione);
        return false;
    }
    if (stato == QLatin1String("A")) {
        c.dialoghi.messaggio(testo, QStringLiteral("Trasmissione"), Icona::Critico);
        return false;
    }
    // Versions that are not numbers cannot be compared: no pass on a reply nobody can read.
    if (!versioneValida(minima) || !versioneValida(ultima))
        return erroreServer();
    if (stato == QLatin1String("M"))
        c.dialoghi.messaggio(testo, QStringLiteral("Trasmissione"), Icona::Informazione);
    if (confrontaVersioni(versione, minima) < 0) {
        c.dialoghi.messaggio(QStringLiteral("La presente versione dell'applicativo ( ") + versione
                                 + QStringLiteral(" ) non è autorizzata a trasmettere.") + CRLF
                                 + QStringLiteral("Scaricare da Internet la nuova versione: ") + ultima,
                             QStringLiteral("Controllo Versione"), Icona::Critico);
        return false;
    }
    if (confrontaVersioni(versione, ultima) < 0)
        c.dialoghi.messaggio(QStringLiteral("La presente versione dell'applicativo ( ") + versione
                                 + QStringLiteral(" ) non è la più recente.") + CRLF
                                 + QStringLiteral("Si consiglia di scaricare da Internet la nuova versione: ") + ultima + CRLF
                                 + QStringLiteral("La trasmissione avverrà comunque."),
                             QStringLiteral("Controllo Versione"), Icona::Esclamazione);
    return true;
}

QString indirizzoUpload(const QString &indirizzoNreg)
{
    const QUrl nreg(indirizzoNreg);
    QUrl u;
    u.setScheme(QStringLiteral("https"));
    u.setHost(nreg.host());
    if (nreg.port() > 0)
        u.setPort(nreg.port());
    u.setPath(QStringLiteral("/cgi-bin/fp/upload/allegati_fp_upload"));
    // The one secure server's upload account; the "#" in it is percent-encoded.
    u.setUserName(QStringLiteral("robot"));
    u.setPassword(QStringLiteral("#kestr#42!"));
    return u.toString(QUrl::FullyEncoded);
}

bool InviaFile(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe, const QString &operatore,
               std::optional<Invio> *registrato)
{
    if (registrato)
        registrato->reset();
    // The table of the sends is there before anything is sent, whatever database this is.
    aggiornaInvii(c.db);
    mCreaFileTrasm modulo(c);
    if (!modulo.CreaFile(prov, grupOpe, operatore)) {
        c.dialoghi.messaggio(QStringLiteral("Creazione file di trasmissione fallita."),
                             QStringLiteral("Crea File di Trasmissione"), Icona::Critico);
        return false;
    }
    const QString percorso = QDir(c.cartellaProgramma).filePath(modulo.gNomeFileTrasm());
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // The file as written: what the copy keeps and its SHA-256 describes.
    const QByteArray scritto = f.readAll();
    f.close();
    QByteArray dati = scritto;
    dati.replace("\r\n", "\n");
    const QByteArray corpo = aWindows1252(modulo.gNomeFileTrasm()) + '\n' + dati;
    const EsitoTrasferimento e =
        t.posta(indirizzoUpload(leggiServizio(c, QStringLiteral("NREG"))), corpo, QStringLiteral("Content-Type: text/plain\r\n"));
    if (e.completato && e.risposta.contains(QLatin1String("Trasmissione completata con successo"))) {
        // The copy and its record first: a stop before the pending file goes leaves both.
        std::optional<Invio> invio;
        QString nonConservato;
        try {
            const QString numDoma =
                c.db.valoreScalare(sql::trasmissione::kNumDomaDomanda, {grupOpe, operatore.toLongLong(), prov})
                    .toString()
                    .trimmed();
            invio = conservaInvio(c, prov, grupOpe, operatore, numDoma, modulo.gNomeFileTrasm(), scritto, e.risposta);
        } catch (const Errore &err) {
            nonConservato = err.descrizione();
        }
        puntoDiArresto("invio-registrato");
        c.dialoghi.messaggio(QStringLiteral("Trasmissione alla Provincia completata con successo"),
                             QStringLiteral("TRASMISSIONE TERMINATA"), Icona::Informazione);
        if (!invio) {
            // The region has the file, but nothing here says so: the file is not thrown away.
            c.dialoghi.messaggio(QStringLiteral("La copia della domanda inviata e la sua registrazione non sono state "
                                                "conservate: ")
                                     + nonConservato + CRLF + QStringLiteral("Il file di trasmissione resta nella cartella ")
                                     + QDir::toNativeSeparators(percorso) + QLatin1Char('.'),
                                 QStringLiteral("Ricevuta di trasmissione"), Icona::Esclamazione);
            return true;
        }
        QFile::remove(percorso);
        if (registrato)
            *registrato = std::move(invio);
        return true;
    }
    if (!e.completato)
        c.dialoghi.messaggio(testoErroreTrasmissione(e), QStringLiteral("Errore di trasmissione"), Icona::Critico);
    if (e.codiceErrore == codiciInternet::AutoritaNonFidata)
        QFile::remove(percorso);
    else if (e.codiceErrore != 0)
        c.dialoghi.messaggio(kErroreConnessione, QStringLiteral("Errore di connessione"), Icona::Critico);
    return false;
}

QString vocePerScarico(const QString &grupOpe, const QString &operatore)
{
    return riempi(grupOpe.left(1), 1, QStringLiteral("sx")) + QStringLiteral("      - ") + operatore.trimmed();
}

QByteArray corpoScarico(const QStringList &voci)
{
    QList<std::pair<QString, QString>> campi;
    for (const QString &v : voci) {
        campi.append({QStringLiteral("g"), v.left(1)});
        campi.append({QStringLiteral("c"), dopoTrattino(v)});
    }
    return corpoModulo(campi);
}

QStringList nomiScaricabili(CorsiDB *db)
{
    QStringList tabelle;
    if (db) {
        for (const InfoTabella &t : db->elencoTabelle())
            if (t.tipo == QLatin1String("TABLE"))
                tabelle << t.nome;
    } else {
        tabelle = tabelleSchema();
    }
    QStringList r = fileDatiOperatori() + fileFlagTabelle();
    for (const QString &t : tabelle)
        if (!tabellaDellEnte(t))
            r << t + QStringLiteral(".txt");
    return r;
}

RigaContenitore leggiRigaContenitore(const QByteArray &riga)
{
    const QByteArray t = riga.trimmed();
    if (t.isEmpty() || t == "EOF")
        return {RigaContenitore::Chiusura, {}};
    return {t.startsWith('#') ? RigaContenitore::Dati : RigaContenitore::Nome, t};
}

namespace {

// A name of the reply as a message may show it: printable, not too long.
QString nomeMostrabile(const QByteArray &nome)
{
    QString r = daWindows1252(nome.left(80));
    for (QChar &ch : r)
        if (ch.category() == QChar::Other_Control || ch.category() == QChar::Other_Format)
            ch = QLatin1Char('?');
    return nome.size() > 80 ? r + QStringLiteral("...") : r;
}

// The name a reply line asks for, as the program spells it; "" when it is not one the
// program expects. Only plain ASCII can match, so no other character folds into one.
QString nomeAmmesso(const QByteArray &nome, const QStringList &ammessi)
{
    for (const char ch : nome)
        if (static_cast<unsigned char>(ch) <= 0x20 || static_cast<unsigned char>(ch) >= 0x7F)
            return {};
    const QString n = QString::fromLatin1(nome);
    for (const QString &a : ammessi)
        if (a.compare(n, Qt::CaseInsensitive) == 0)
            return a;
    return {};
}

const QString kNessunFile = QStringLiteral(" Nessun file è stato scritto.");
const QString kRispostaIlleggibile = QStringLiteral("Impossibile leggere la risposta del server.");

} // namespace

EsitoScompatta scompattaContenitore(const QString &cartella, QIODevice &contenitore, const QStringList &ammessi)
{
    EsitoScompatta r;
    const QDir dir(cartella);
    const qint64 inizio = contenitore.pos();
    // Every name first, read exactly as the writer reads it: nothing is written from a
    // reply that names anything else, more files than a service sends, or a link.
    {
        LettoreRighe righe(contenitore);
        QByteArray riga;
        int file = 0;
        while (righe.prossima(riga)) {
            const RigaContenitore l = leggiRigaContenitore(riga);
            if (l.tipo != RigaContenitore::Nome)
                continue;
            const QString nome = nomeAmmesso(l.testo, ammessi);
            if (nome.isEmpty()) {
                r.errore = QStringLiteral("La risposta del server contiene un nome di file non ammesso: ")
                    + nomeMostrabile(l.testo) + QStringLiteral(".") + kNessunFile;
                return r;
            }
            if (++file > ammessi.size()) {
                r.errore = QStringLiteral("La risposta del server contiene più file di quanti il servizio ne possa "
                                          "inviare (al massimo %1).")
                               .arg(ammessi.size())
                    + kNessunFile;
                return r;
            }
            if (QFileInfo(dir.filePath(nome)).isSymLink()) {
                r.errore = QStringLiteral("Il file ") + nome
                    + QStringLiteral(" della cartella del programma è un collegamento simbolico e non viene "
                                     "sovrascritto.")
                    + kNessunFile;
                return r;
            }
        }
        if (righe.erroreLettura() || !contenitore.seek(inizio)) {
            r.errore = kRispostaIlleggibile + kNessunFile;
            return r;
        }
    }

    // Each file is written under a temporary name; all are put in place only when every
    // one was written whole.
    std::vector<std::unique_ptr<QSaveFile>> scritti;
    QStringList nomi;
    QSaveFile *aperto = nullptr;
    QString errore;
    LettoreRighe righe(contenitore);
    QByteArray riga;
    while (errore.isEmpty() && righe.prossima(riga)) {
        const RigaContenitore l = leggiRigaContenitore(riga);
        switch (l.tipo) {
        case RigaContenitore::Chiusura:
            aperto = nullptr;
            break;
        case RigaContenitore::Dati:
            if (aperto && (aperto->write(l.testo) != l.testo.size() || aperto->write("\r\n", 2) != 2))
                errore = nomi.last();
            break;
        case RigaContenitore::Nome: {
            const QString nome = nomeAmmesso(l.testo, ammessi);
            scritti.push_back(std::make_unique<QSaveFile>(dir.filePath(nome)));
            aperto = scritti.back().get();
            nomi << nome;
            if (QFileInfo(dir.filePath(nome)).isSymLink() || !aperto->open(QIODevice::WriteOnly))
                errore = nome;
            break;
        }
        }
    }
    if (errore.isEmpty() && righe.erroreLettura()) {
        r.errore = kRispostaIlleggibile + kNessunFile;
        return r;
    }
    for (std::size_t i = 0; errore.isEmpty() && i < scritti.size(); ++i) {
        if (scritti[i]->commit())
            r.file << nomi[static_cast<qsizetype>(i)];
        else
            errore = nomi[static_cast<qsizetype>(i)];
    }
    if (!errore.isEmpty())
        r.errore = QStringLiteral("Impossibile scrivere il file ") + errore + QStringLiteral(" nella cartella del programma.");
    return r;
}

EsitoScompatta scompattaContenitore(const QString &cartella, const QString &contenitore, const QStringList &ammessi)
{
    QByteArray byte = aWindows1252(contenitore);
    QBuffer b(&byte);
    b.open(QIODevice::ReadOnly);
    return scompattaContenitore(cartella, b, ammessi);
}

namespace {

// What a download reply is judged by, read a line at a time.
struct Sommario {
    bool errore = false; // "ERRORE" somewhere
    int tx1 = 0;         // how many times ".tx1" occurs
    QString inizio;      // the start of the text, for the message
};

Sommario esaminaRisposta(QIODevice &f)
{
    Sommario s;
    LettoreRighe righe(f);
    QByteArray riga, inizio;
    while (righe.prossima(riga)) {
        s.errore = s.errore || riga.contains("ERRORE");
        s.tx1 += static_cast<int>(riga.toLower().count(".tx1"));
        if (inizio.size() < 4096)
            inizio += (righe.numero() > 1 ? QByteArray("\r\n") : QByteArray()) + riga.left(4096);
    }
    s.inizio = daWindows1252(inizio.left(4096));
    return s;
}

bool scarica(Contesto &c, Trasferimento &t, const QStringList &voci, const QString &servizio, const QString &temporaneo,
             const QString &titoloErrore, bool contaTx1)
{
    // The reply goes to a file of the folder as it arrives, and is unpacked from there.
    // A file or link left under that name is removed, never written through.
    const QString tmp = QDir(c.cartellaProgramma).filePath(temporaneo);
    QFile::remove(tmp);
    QFile f(tmp);
    if (!f.open(QIODevice::ReadWrite | QIODevice::NewOnly)) {
        c.dialoghi.messaggio(QStringLiteral("Impossibile scrivere il file ") + QDir::toNativeSeparators(tmp)
                                 + QStringLiteral(" nella cartella del programma."),
                             titoloErrore, Icona::Critico);
        return false;
    }
    const auto rimuovi = qScopeGuard([&] {
        f.close();
        QFile::remove(tmp);
    });
    const EsitoTrasferimento e = t.postaSuFile(leggiServizio(c, servizio), corpoScarico(voci), intestazioniModulo(), f);
    if (!e.completato) {
        c.dialoghi.messaggio(testoErroreTrasmissione(e), titoloErrore, Icona::Critico);
        return false;
    }
    if (!f.flush() || !f.seek(0)) {
        c.dialoghi.messaggio(kRispostaIlleggibile, titoloErrore, Icona::Critico);
        return false;
    }
    const Sommario s = esaminaRisposta(f);
    if (s.errore) {
        c.dialoghi.messaggio(s.inizio, titoloErrore, Icona::Critico);
        return false;
    }
    if (contaTx1 && s.tx1 < 5) {
        c.dialoghi.messaggio(QStringLiteral("Si sono verificati degli errori in fase di trasmissione.") + CRLF
                                 + QStringLiteral("Si consiglia di riprovare in un secondo momento."),
                             QStringLiteral("Errore di trasmissione"), Icona::Critico);
        return false;
    }
    // The tables of the database the loader will walk; of the schema when none is open.
    const QStringList ammessi = nomiScaricabili(c.db.aperto() ? &c.db : nullptr);
    const EsitoScompatta u =
        f.seek(0) ? scompattaContenitore(c.cartellaProgramma, f, ammessi) : EsitoScompatta{{}, kRispostaIlleggibile};
    if (!u.errore.isEmpty()) {
        c.dialoghi.messaggio(u.errore, titoloErrore, Icona::Critico);
        return false;
    }
    return true;
}

} // namespace

bool scaricaTabelle(Contesto &c, Trasferimento &t, const QStringList &voci)
{
    return scarica(c, t, voci, QStringLiteral("AGGIORNATABELLE"), QStringLiteral("$tmpDenOp.txt"),
                   QStringLiteral("Installazione base dati - scarico tabelle di decodifica"), false);
}

bool scaricaDatiOperatori(Contesto &c, Trasferimento &t, const QStringList &voci)
{
    return scarica(c, t, voci, QStringLiteral("AGGIORNADB"), QStringLiteral("$tmpDenOp.tx1"),
                   QStringLiteral("Installazione base dati"), true);
}

int EsportaCatalogo(const QString &proxy, const QString &porta)
{
    (void)proxy;
    (void)porta;
    return 0;
}

void passoEsportazione(Contesto &c)
{
    mostraEsitoEsportazione(c, EsportaCatalogo(c.utente.leggi(chiaviFP::Proxy), c.utente.leggi(chiaviFP::Porta)));
}

void mostraEsitoEsportazione(Contesto &c, int esito)
{
    if (esito == 0)
        c.dialoghi.messaggio(QStringLiteral("Trasmissione al sistema ORBIDE completata con successo"),
                             QStringLiteral("TRASMISSIONE TERMINATA"), Icona::Informazione);
    else if (esito == 5406)
        c.dialoghi.messaggio(
            QStringLiteral("E' probabile che la connessione ad internet avvenga tramite un server proxy. In questo caso "
                           "occorre indicare l'indirizzo del server proxy e la porta di connessione.")
                + CRLF
                + QStringLiteral("Utilizzare il tasto 'Imposta Proxy' in basso a destra. Una volta effettuata "
                                 "l'impostazione, ritentare l'operazione di invio con il tasto 'Ritenta trasmissione "
                                 "ORBIDE'."),
            QStringLiteral("TRASMISSIONE ORBIDE FALLITA"), Icona::Informazione);
    else
        c.dialoghi.messaggio(
            QStringLiteral("La trasmissione al sistema ORBIDE non è stata completata. Verificare l'errore e riprovare con "
                           "il tasto apposito (Ritenta trasmissione ORBIDE).")
                + CRLF
                + QStringLiteral("Se l'errore non viene risolto, contattare il servizio di assistenza V.T.Z. riportando il "
                                 "messaggio che compare a video."),
            QStringLiteral("TRASMISSIONE ORBIDE FALLITA"), Icona::Critico);
}

QString GeneraGuid() { return QUuid::createUuid().toString(QUuid::Id128).toUpper(); }

bool ControllaStato(Contesto &c, long flag)
{
    if (flag == 1) // no modem line on this platform
        return false;
    if (flag == 4)
        return !c.utente.leggi(chiaviFP::Proxy).isEmpty() || !qEnvironmentVariable("https_proxy").isEmpty()
            || !qEnvironmentVariable("HTTPS_PROXY").isEmpty();
    return false;
}

} // namespace quirdal
