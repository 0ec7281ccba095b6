#include "transmission/Trasferimento.h"

#include "common/Codifica.h"
#include "config/Impostazioni.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <QUrl>

namespace quirdal {

QString intestazioniModulo()
{
    return QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\nProxy-Connection: Keep-Alive\r\nHTTP: Protocol "
                          "Version = HTTP/1.1 \r\n");
}

QByteArray corpoModulo(const QList<std::pair<QString, QString>> &campi)
{
    QByteArray r;
    for (const auto &[nome, valore] : campi) {
        if (!r.isEmpty())
            r += '&';
        r += QUrl::toPercentEncoding(nome) + '=' + QUrl::toPercentEncoding(valore);
    }
    return r;
}

Trasferimento::Trasferimento(const QString &cartellaProgramma, ImpostazioniUtente &utente)
    : m_cartella(cartellaProgramma), m_utente(utente), m_rete(new QNetworkAccessManager)
{
}

Trasferimento::~Trasferimento() { delete m_rete; }

namespace {

long codiceDa(QNetworkReply::NetworkError e, const QList<QSslError> &ssl)
{
    for (const QSslError &s : ssl) {
        switch (s.error()) {
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::CertificateUntrusted:
        case QSslError::UnableToVerifyFirstCertificate:
            return codiciInternet::AutoritaNonFidata;
        case QSslError::CertificateExpired:
        case QSslError::CertificateNotYetValid:
            return codiciInternet::CertificatoScaduto;
        case QSslError::HostNameMismatch:
            return codiciInternet::NomeCertificatoErrato;
        default:
            break;
        }
    }
    switch (e) {
    case QNetworkReply::SslHandshakeFailedError:
        return codiciInternet::ErroriCertificato;
    case QNetworkReply::ConnectionRefusedError:
        return codiciInternet::ConnessioneImpossibile;
    case QNetworkReply::HostNotFoundError:
        return codiciInternet::NomeNonRisolto;
    case QNetworkReply::TimeoutError:
        return codiciInternet::Timeout;
    case QNetworkReply::OperationCanceledError:
        return codiciInternet::Annullato;
    default:
        return codiciInternet::ConnessioneInterrotta;
    }
}

} // namespace

QString indirizzoMostrabile(const QString &indirizzo)
{
    const QUrl url(indirizzo, QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty()) {
        QUrl senza = url;
        senza.setUserInfo(QString());
        return senza.toString();
    }
    // Not an address Qt can read: whatever lies between "//" and the last "@" goes.
    const qsizetype doppia = indirizzo.indexOf(QStringLiteral("//"));
    const qsizetype chiocciola = indirizzo.lastIndexOf(QLatin1Char('@'));
    if (chiocciola >= 0 && doppia >= 0 && chiocciola > doppia)
        return indirizzo.left(doppia + 2) + indirizzo.mid(chiocciola + 1);
    if (chiocciola >= 0)
        return indirizzo.mid(chiocciola + 1);
    return indirizzo;
}

EsitoTrasferimento Trasferimento::posta(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni,
                                        const std::function<bool()> &annullato)
{
    QByteArray ricevuto;
    EsitoTrasferimento e = esegui(
        indirizzo, corpo, intestazioni, kMassimoRispostaBreve,
        [&ricevuto](const QByteArray &pezzo) {
            ricevuto += pezzo;
            return true;
        },
        annullato);
    if (e.completato)
        e.risposta = daWindows1252(ricevuto);
    return e;
}

EsitoTrasferimento Trasferimento::postaSuFile(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni,
                                              QIODevice &destinazione, const std::function<bool()> &annullato)
{
    auto scrivi = [&destinazione](const QByteArray &pezzo) { return destinazione.write(pezzo) == pezzo.size(); };
    return esegui(indirizzo, corpo, intestazioni, m_massimoScarico, scrivi, annullato);
}

EsitoTrasferimento Trasferimento::esegui(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni,
                                         qint64 massimo, const std::function<bool(const QByteArray &)> &ricevi,
                                         const std::function<bool()> &annullato)
{
    EsitoTrasferimento esito;
    QUrl url(indirizzo);
    if (!url.isValid() || url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0 || url.host().isEmpty()) {
        esito.codiceErrore = codiciInternet::NomeNonRisolto;
        esito.infoErrore = QStringLiteral("Indirizzo del servizio non valido: ") + indirizzoMostrabile(indirizzo);
        return esito;
    }
    // Credentials in the address travel as the request's authorisation.
    const QString utente = url.userName(QUrl::FullyDecoded), password = url.password(QUrl::FullyDecoded);
    url.setUserInfo(QString());
    QNetworkRequest req(url);
    if (!utente.isEmpty())
        req.setRawHeader("Authorization", "Basic " + (utente + QLatin1Char(':') + password).toUtf8().toBase64());
    for (const QString &riga : intestazioni.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const int dp = static_cast<int>(riga.indexOf(QLatin1Char(':')));
        const QString nome = riga.left(dp).trimmed();
        // "HTTP: Protocol Version = ..." names the protocol, not a header: the transfer layer
        // chooses the protocol itself.
        if (dp <= 0 || nome.compare(QLatin1String("HTTP"), Qt::CaseInsensitive) == 0)
            continue;
        req.setRawHeader(nome.toLatin1(), riga.mid(dp + 1).trimmed().toLatin1());
    }
    if (!req.hasRawHeader("Content-Type"))
        req.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    QFile der(QDir(m_cartella).filePath(QStringLiteral("CA_ROOT.DER")));
    if (der.open(QIODevice::ReadOnly)) {
        const QList<QSslCertificate> ca = QSslCertificate::fromData(der.readAll(), QSsl::Der);
        if (!ca.isEmpty())
            ssl.addCaCertificates(ca);
    }
    ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    req.setSslConfiguration(ssl);

    const QString proxy = m_utente.leggi(chiaviFP::Proxy), porta = m_utente.leggi(chiaviFP::Porta);
    if (!proxy.isEmpty() && porta.toUShort() > 0)
        m_rete->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, proxy, porta.toUShort()));
    else
        m_rete->setProxy(QNetworkProxy(QNetworkProxy::DefaultProxy));
    // A failed handshake must not be reused after a change of trust.
    m_rete->clearConnectionCache();

    QNetworkReply *r = m_rete->post(req, corpo);
    // Read as it arrives, a piece at a time: the reply is never held whole unless short.
    r->setReadBufferSize(256 * 1024);
    QList<QSslError> erroriSsl;
    QObject::connect(r, &QNetworkReply::sslErrors, r, [&erroriSsl](const QList<QSslError> &e) { erroriSsl = e; });
    QEventLoop attesa;
    QObject::connect(r, &QNetworkReply::finished, &attesa, &QEventLoop::quit);
    QTimer limite;
    limite.setSingleShot(true);
    bool scaduto = false;
    QString rifiuto; // why the reply was cut off here
    qint64 ricevuti = 0;
    auto leggi = [&] {
        const int stato = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        while (rifiuto.isEmpty() && r->bytesAvailable() > 0) {
            const QByteArray pezzo = r->read(64 * 1024);
            // The body of an error status is no reply: it is read and dropped.
            if (stato < 200 || stato > 299)
                continue;
            ricevuti += pezzo.size();
            if (ricevuti > massimo)
                rifiuto = QStringLiteral("La risposta del server supera il limite di %1 byte.").arg(massimo);
            else if (!ricevi(pezzo))
                rifiuto = QStringLiteral("Impossibile registrare la risposta del server su disco.");
            if (!rifiuto.isEmpty())
                r->abort();
        }
    };
    QObject::connect(r, &QNetworkReply::readyRead, &attesa, leggi);
    QObject::connect(&limite, &QTimer::timeout, &attesa, [&] {
        scaduto = true;
        r->abort();
    });
    QTimer controllo;
    const std::function<bool()> &verifica = annullato ? annullato : m_annullato;
    QObject::connect(&controllo, &QTimer::timeout, &attesa, [&] {
        if (verifica && verifica())
            r->abort();
    });
    limite.start(m_attesaMs);
    controllo.start(100);
    if (!r->isFinished())
        attesa.exec();
    leggi();

    const int stato = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    esito.statoHttp = stato;
    if (!rifiuto.isEmpty()) {
        esito.codiceErrore = codiciInternet::RispostaNonValida;
        esito.infoErrore = rifiuto;
    } else if (scaduto) {
        esito.codiceErrore = codiciInternet::Timeout;
        esito.infoErrore = QStringLiteral("Il server non ha risposto entro %1 secondi.").arg(m_attesaMs / 1000);
    } else if (stato > 0 && (stato < 200 || stato > 299)) {
        // An error page is not an answer, whatever its text says.
        esito.codiceErrore = stato;
        esito.infoErrore = QStringLiteral("il server ha risposto con lo stato HTTP %1 %2")
                               .arg(stato)
                               .arg(r->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                               .trimmed();
    } else if (r->error() != QNetworkReply::NoError) {
        // Transport, TLS, or a body that could not be decoded.
        const bool nonDecodificata =
            stato > 0 && (r->error() == QNetworkReply::UnknownContentError || r->error() == QNetworkReply::ProtocolFailure);
        esito.codiceErrore = nonDecodificata ? codiciInternet::RispostaNonValida : codiceDa(r->error(), erroriSsl);
        esito.infoErrore = r->errorString();
    } else {
        esito.completato = true;
    }
    r->deleteLater();
    return esito;
}

} // namespace quirdal
