#include "support/Assistenza.h"

#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/RiaperturaConnessione.h"
#include "support/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <zip.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quirdal {

namespace {

const QString kIndirizzoHelpDesk = QStringLiteral("assistenza@vtz.example");
const QString kPaginaErrore = QStringLiteral("ErrServer.html");
// Where the program folder keeps the crash report last offered to a request.
const QString kSezioneAssistenza = QStringLiteral("Assistenza");
const QString kChiaveArrestoOfferto = QStringLiteral("ArrestoOfferto");

QString megabyte(qulonglong byte) { return QString::number(byte / (1024ull * 1024ull)) + QStringLiteral(" MB"); }

QString rigaMemoria(qulonglong totaleRam, qulonglong liberaRam, qulonglong totaleVirtuale, qulonglong liberaVirtuale)
{
    return QStringLiteral("Total RAM = ") + megabyte(totaleRam) + CRLF + QStringLiteral("Available RAM = ") + megabyte(liberaRam)
        + CRLF + QStringLiteral("Total Virtual Memory = ") + megabyte(totaleVirtuale) + CRLF
        + QStringLiteral("Available Virtual Memory = ") + megabyte(liberaVirtuale);
}

// Shows the failed check, stores a valid sender: false when the request must not go.
bool controlla(Contesto &c, const RichiestaAssistenza &r, RisultatoAssistenza &esito)
{
    const std::optional<ControlloRichiesta> k = controllaRichiesta(r);
    // A valid sender is the user's address from now on, whatever else is missing.
    if (controllaEmail(r.mittente).isEmpty())
        c.utente.scrivi(chiaviFP::EMail, r.mittente);
    if (!k)
        return true;
    c.dialoghi.messaggio(k->messaggio, k->titolo, Icona::Critico);
    esito.esito = EsitoAssistenza::NonValida;
    esito.campo = k->campo;
    return false;
}

// The reply judged, with its messages. nelBrowser: the reply of the upload, a page the
// browser screen shows.
RisultatoAssistenza giudica(Contesto &c, const EsitoInvio &e, bool nelBrowser)
{
    RisultatoAssistenza r;
    if (!e.completato) {
        c.dialoghi.messaggio(e.erroreTrasmissione, QStringLiteral("Errore di trasmissione"), Icona::Critico);
        r.esito = EsitoAssistenza::NonInviata;
        return r;
    }
    r.risposta = e.risposta;
    if (!nelBrowser && (e.risposta.contains(QLatin1String("<H")) || e.risposta.contains(QLatin1String("<h")))) {
        c.dialoghi.messaggio(QStringLiteral("Si è verificato un errore sul server ") + e.server + QStringLiteral(" (servizio: ")
                                 + e.servizio
                                 + QStringLiteral("), cliccando su OK il sistema cercherà di visualizzare ulteriori "
                                                  "informazioni sull'errore. Contattare il servizio assistenza VTZ "
                                                  "riportando questo messaggio e le informazioni visualizzate"),
                             QStringLiteral("ERRORE"), Icona::Critico);
        const QString pagina = QDir(c.cartellaProgramma).filePath(kPaginaErrore);
        QSaveFile f(pagina);
        const QByteArray b = aWindows1252(e.risposta);
        if (f.open(QIODevice::WriteOnly) && f.write(b) == b.size() && f.commit())
            r.paginaErrore = pagina;
        r.esito = EsitoAssistenza::PaginaErrore;
        return r;
    }
    const QString testo = e.risposta.trimmed();
    if (testo.startsWith(QLatin1String("ERRORE")) || testo.isEmpty()) {
        // An empty reply confirms nothing: the request may not have arrived.
        const QString detto = testo.isEmpty()
            ? QStringLiteral("Il server non ha restituito alcuna risposta.")
            : QStringLiteral("Il server ha restituito il seguente messaggio di errore: ") + CRLF + CRLF + e.risposta;
        c.dialoghi.messaggio(QStringLiteral("Operazione non riuscita (servizio: ") + e.servizio + QStringLiteral("). ") + detto
                                 + CRLF + CRLF
                                 + QStringLiteral("Controllare i dati immessi e ritentare l'operazione, oppure contattare il "
                                                  "servizio di assistenza VTZ riportando questo messaggio."),
                             QStringLiteral("Errore restituito dal Server"), Icona::Critico);
        r.esito = EsitoAssistenza::ErroreServer;
        return r;
    }
    if (!nelBrowser)
        c.dialoghi.messaggio(e.risposta, kTitoloAssistenza, Icona::Informazione);
    r.esito = EsitoAssistenza::Inviata;
    return r;
}

// libzip takes file names in UTF-8 on Windows, in the local encoding elsewhere.
QByteArray nomePerZip(const QString &percorso)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(percorso).toUtf8();
#else
    return QFile::encodeName(percorso);
#endif
}

// The archive's bytes with the crash report added as one more entry; nothing when it
// cannot be made (the request then goes with the database alone).
std::optional<QByteArray> archivioConRapporto(const QString &archivio, const QByteArray &rapporto)
{
    QTemporaryDir lavoro;
    const QString copia = lavoro.filePath(QStringLiteral("allegato.zip"));
    if (!lavoro.isValid() || !QFile::copy(archivio, copia))
        return std::nullopt;
    int codice = 0;
    zip_t *z = zip_open(nomePerZip(copia).constData(), 0, &codice);
    if (!z)
        return std::nullopt;
    zip_source_t *sorgente = zip_source_buffer(z, rapporto.constData(), static_cast<zip_uint64_t>(rapporto.size()), 0);
    if (!sorgente || zip_file_add(z, kFileArresto.toUtf8().constData(), sorgente, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(sorgente);
        zip_discard(z);
        return std::nullopt;
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        return std::nullopt;
    }
    QFile f(copia);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

QString quandoArresto(const RapportoArresto &r)
{
    return r.quando.isValid() ? QStringLiteral(" il ") + r.quando.toString(QStringLiteral("dd/MM/yyyy"))
            + QStringLiteral(" alle ") + r.quando.toString(QStringLiteral("hh:mm"))
                              : QString();
}

void erroreInvio(Contesto &c, const Errore &e)
{
    c.dialoghi.messaggio(QStringLiteral("Errore in Main.ScaricoAziende - ") + QString::number(e.numero()) + QStringLiteral(" - ")
                             + e.descrizione(),
                         kTitoloAssistenza, Icona::Critico);
}

} // namespace

QString memoriaDaMeminfo(const QString &meminfo)
{
    static const QRegularExpression riga(QStringLiteral("^(\\w+):\\s+(\\d+)\\s*kB"), QRegularExpression::MultilineOption);
    QHash<QString, qulonglong> v;
    for (auto it = riga.globalMatch(meminfo); it.hasNext();) {
        const auto m = it.next();
        v.insert(m.captured(1), m.captured(2).toULongLong() * 1024ull);
    }
    if (!v.contains(QStringLiteral("MemTotal")))
        return QStringLiteral("non disponibile");
    const qulonglong libera = v.value(QStringLiteral("MemAvailable"), v.value(QStringLiteral("MemFree")));
    return rigaMemoria(v.value(QStringLiteral("MemTotal")), libera,
                       v.value(QStringLiteral("MemTotal")) + v.value(QStringLiteral("SwapTotal")),
                       libera + v.value(QStringLiteral("SwapFree")));
}

DatiSistema raccogliDatiSistema()
{
    DatiSistema d;
#ifdef Q_OS_WIN
    d.sistemaOperativo = QStringLiteral("WINDOWS ") + QSysInfo::productVersion() + QStringLiteral(" (build ")
        + QSysInfo::kernelVersion() + QLatin1Char(')');
    MEMORYSTATUSEX m;
    m.dwLength = sizeof m;
    d.memoria = GlobalMemoryStatusEx(&m) ? rigaMemoria(m.ullTotalPhys, m.ullAvailPhys, m.ullTotalPageFile, m.ullAvailPageFile)
                                         : QStringLiteral("non disponibile");
    const QSettings ie(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer"), QSettings::NativeFormat);
    const QString versione = ie.value(QStringLiteral("Version")).toString();
    d.browser = versione.isEmpty() ? QStringLiteral("Internet Explorer non trovato")
                                   : QStringLiteral("Internet Explorer ver. ") + versione;
#else
    d.sistemaOperativo =
        QSysInfo::prettyProductName() + QStringLiteral(" (kernel ") + QSysInfo::kernelVersion() + QLatin1Char(')');
    QFile f(QStringLiteral("/proc/meminfo"));
    d.memoria =
        f.open(QIODevice::ReadOnly) ? memoriaDaMeminfo(QString::fromLatin1(f.readAll())) : QStringLiteral("non disponibile");
    d.browser = QStringLiteral("Internet Explorer non trovato");
#endif
    // The program shows pages with its own viewer.
    d.browser += QStringLiteral(" - visualizzatore Qt ") + QString::fromLatin1(qVersion());
    return d;
}

QString testoDatiSistema(const Sessione &s, const DatiSistema &d)
{
    return QStringLiteral("RICHIESTA ASSISTENZA") + CRLF + QStringLiteral("Operatore: ") + s.gGrupOpe + QStringLiteral(" - ")
        + s.gOperatore + QStringLiteral(" - ") + s.gDenomOper + CRLF + QStringLiteral("Versione: ") + kNomeBreve
        + QStringLiteral(" (ver. ") + versioneProgramma() + QLatin1Char(')') + CRLF + QStringLiteral("Sistema Operativo: ")
        + d.sistemaOperativo + CRLF + QStringLiteral("Stato della Memoria:") + CRLF + d.memoria + CRLF + d.browser;
}

std::optional<ControlloRichiesta> controllaRichiesta(const RichiestaAssistenza &r)
{
    if (const QString m = controllaEmail(r.mittente); !m.isEmpty())
        return ControlloRichiesta{m, QStringLiteral("Controllo Email"), QStringLiteral("txtMittente")};
    const QString titolo = QStringLiteral("Contatta l'Assistenza");
    if (r.telefono.trimmed().isEmpty())
        return ControlloRichiesta{QStringLiteral("Indicare un numero di telefono."), titolo, QStringLiteral("txtNumTel")};
    if (r.riferimento.trimmed().isEmpty())
        return ControlloRichiesta{QStringLiteral("Indicare una persona di riferimento."), titolo, QStringLiteral("TxtRif")};
    if (r.problema.trimmed().isEmpty())
        return ControlloRichiesta{QStringLiteral("Indicare il problema riscontrato."), titolo, QStringLiteral("TxtProb")};
    return std::nullopt;
}

CampiModulo campiRichiesta(const Sessione &s, const DatiSistema &d, const RichiestaAssistenza &r)
{
    return {
        {QStringLiteral("fr"), r.mittente},         {QStringLiteral("su"), r.oggetto},      {QStringLiteral("g"), s.gGrupOpe},
        {QStringLiteral("c"), s.gOperatore},        {QStringLiteral("d"), s.gDenomOper},    {QStringLiteral("cp"), QString()},
        {QStringLiteral("so"), d.sistemaOperativo}, {QStringLiteral("ie"), d.browser},      {QStringLiteral("mem"), d.memoria},
        {QStringLiteral("tel"), r.telefono},        {QStringLiteral("rif"), r.riferimento}, {QStringLiteral("prb"), r.problema},
        {QStringLiteral("ap"), kNomeBreve}};
}

QByteArray corpoMultipart(const QList<ParteModulo> &parti, QByteArray *confine)
{
    QByteArray c;
    bool libero = false;
    while (!libero) {
        c = "----QUIRDAL" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
        libero = true;
        for (const ParteModulo &p : parti)
            libero = libero && !p.valore.contains(c);
    }
    QByteArray corpo;
    for (const ParteModulo &p : parti) {
        corpo += "--" + c + "\r\nContent-Disposition: form-data; name=\"" + p.nome.toUtf8() + '"';
        if (!p.nomeFile.isEmpty())
            corpo += "; filename=\"" + p.nomeFile.toUtf8() + "\"\r\nContent-Type: application/zip";
        corpo += "\r\n\r\n" + p.valore + "\r\n";
    }
    corpo += "--" + c + "--\r\n";
    if (confine)
        *confine = c;
    return corpo;
}

QString nomeArchivioAssistenza(const QDate &giorno)
{
    return kNomeBreve + QLatin1Char('_') + giorno.toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral(".zip");
}

QString indirizzoHelpDesk(Contesto &c)
{
    const QString h = c.ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("HELPDESK")).trimmed();
    return h.isEmpty() ? kIndirizzoHelpDesk : h;
}

RisultatoAssistenza inviaRichiesta(Contesto &c, CanaleAssistenza &canale, const DatiSistema &d, const RichiestaAssistenza &r)
{
    RisultatoAssistenza esito;
    if (!controlla(c, r, esito))
        return esito;
    try {
        const QString indirizzo = c.ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("ASSISTENZA"));
        return giudica(c, canale.postaModulo(indirizzo, campiRichiesta(c.sessione, d, r)), false);
    } catch (const Errore &e) {
        erroreInvio(c, e);
    }
    return esito;
}

std::optional<RapportoArresto> rapportoDaOffrire(Contesto &c)
{
    std::optional<RapportoArresto> r = ultimoRapportoArresto(c.cartellaProgramma);
    if (r && r->id == c.ini.leggi(kSezioneAssistenza, kChiaveArrestoOfferto))
        return std::nullopt;
    return r;
}

QString notaRapportoArresto(const RapportoArresto &r)
{
    return QStringLiteral("Il programma si è chiuso in modo anomalo") + quandoArresto(r)
        + QStringLiteral(": il rapporto dell'arresto può essere allegato alla richiesta con la base dati.");
}

std::optional<RapportoArresto> offriRapportoArresto(Contesto &c)
{
    std::optional<RapportoArresto> r = rapportoDaOffrire(c);
    if (!r)
        return std::nullopt;
    if (c.dialoghi.messaggio(QStringLiteral("Il programma si è chiuso in modo anomalo") + quandoArresto(*r) + QStringLiteral(".")
                                 + CRLF + QStringLiteral("Allegare alla richiesta di assistenza il rapporto dell'arresto (")
                                 + kFileArresto + QStringLiteral(")?"),
                             kTitoloAssistenza, Icona::Domanda, Pulsanti::SiNo)
        == Risposta::Si)
        return r;
    c.ini.scrivi(kSezioneAssistenza, kChiaveArrestoOfferto, r->id);
    return std::nullopt;
}

RisultatoAssistenza inviaConBaseDati(Contesto &c, CanaleAssistenza &canale, const DatiSistema &d, const RichiestaAssistenza &r,
                                     const std::function<void(const QString &)> &stato,
                                     const std::optional<RapportoArresto> &rapporto)
{
    RisultatoAssistenza esito;
    if (!controlla(c, r, esito))
        return esito;
    auto mostra = [&](const QString &t) {
        if (stato)
            stato(t);
    };
    try {
        RiaperturaConnessione riapertura(c.db, [&c](const Errore &e) { erroreInvio(c, e); });
        if (!c.db.riconnettiEsclusivo()) {
            c.dialoghi.messaggio(testoClientConnessi(), kTitoloAssistenza, Icona::Critico);
            return esito;
        }
        mostra(QStringLiteral("Creazione Backup base dati in corso........"));
        const QString archivio = QDir(c.cartellaProgramma).filePath(nomeArchivioAssistenza(c.piattaforma.oggi()));
        QString motivo;
        try {
            motivo = archiviaBaseDati(c.db, archivio);
        } catch (const Errore &e) {
            motivo = e.descrizione();
        }
        if (!riapertura.riapri()) {
            esito.esito = EsitoAssistenza::NonInviata;
            return esito;
        }
        QFile f(archivio);
        if (motivo.isEmpty() && !f.open(QIODevice::ReadOnly))
            motivo = QStringLiteral("impossibile leggere ") + QDir::toNativeSeparators(archivio);
        if (!motivo.isEmpty()) {
            c.dialoghi.messaggio(QStringLiteral("Backup fallito") + CRLF + CRLF + motivo, kTitoloAssistenza, Icona::Critico);
            return esito;
        }
        QByteArray dati = f.readAll();
        f.close();
        bool conRapporto = false;
        if (rapporto) {
            if (std::optional<QByteArray> unito = archivioConRapporto(archivio, rapporto->testo.toUtf8())) {
                dati = std::move(*unito);
                conRapporto = true;
            }
        }

        mostra(QStringLiteral("Collegamento in corso........"));
        QList<ParteModulo> parti;
        for (const auto &[nome, valore] : campiRichiesta(c.sessione, d, r))
            parti.append({nome, valore.toUtf8(), {}});
        parti.append({QStringLiteral("file"), dati, QFileInfo(archivio).fileName()});
        parti.append({QStringLiteral("h"), indirizzoHelpDesk(c).toUtf8(), {}});
        QByteArray confine;
        const QByteArray corpo = corpoMultipart(parti, &confine);
        esito = giudica(
            c, canale.postaUpload(corpo, QStringLiteral("multipart/form-data; boundary=") + QString::fromLatin1(confine)), true);
        if (esito.esito == EsitoAssistenza::Inviata) {
            if (conRapporto)
                c.ini.scrivi(kSezioneAssistenza, kChiaveArrestoOfferto, rapporto->id);
            mostra(QStringLiteral("Collegamento effettuato"));
        }
    } catch (const Errore &e) {
        erroreInvio(c, e);
        esito.esito = EsitoAssistenza::NonInviata;
    }
    return esito;
}

} // namespace quirdal
