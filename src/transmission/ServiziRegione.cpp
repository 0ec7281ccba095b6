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

QString leggiServizio(Contesto &c, const QString &chiave) { return c.ini.leggi(QStringLiteral("CONNESSIONE"), chiave); }

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
