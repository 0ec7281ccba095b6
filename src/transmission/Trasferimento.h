#pragma once
// The exchanges with the region's secure server: an HTTPS POST with a header block and
// a body, waited for while the screens stay alive, bounded in time and cancellable,
// with the reply text, a success flag and the last error code in the numbering the
// program relies on (12045: certificate authority not trusted). TLS is always
// verified: the system's authorities plus CA_ROOT.DER of the program folder.
#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;
class QNetworkAccessManager;

namespace quirdal {

class ImpostazioniUtente;

namespace codiciInternet {
constexpr long Timeout = 12002;
constexpr long NomeNonRisolto = 12007;
constexpr long Annullato = 12017;
constexpr long ConnessioneImpossibile = 12029;
constexpr long ConnessioneInterrotta = 12030;
constexpr long CertificatoScaduto = 12037;
constexpr long NomeCertificatoErrato = 12038;
constexpr long AutoritaNonFidata = 12045;
constexpr long ErroriCertificato = 12055;
constexpr long RispostaNonValida = 12152; // too large, not decodable, not stored
} // namespace codiciInternet

// Replies held in memory (number, version, upload, assistance) are short texts.
constexpr qint64 kMassimoRispostaBreve = 1024 * 1024;
// A download streams to a file and is refused above this size: the lookup tables and
// the data of 150 operators of a whole region take a few megabytes.
constexpr qint64 kMassimoScarico = 256LL * 1024 * 1024;

struct EsitoTrasferimento {
    bool completato = false; // a whole reply arrived
    QString risposta;        // its text (Windows-1252 decoded)
    long codiceErrore = 0;   // 0 after a complete reply
    QString infoErrore;      // what went wrong, for the messages
    int statoHttp = 0;
};

// An address as it may be shown: without its user part, so that no message, log or
// file carries a password.
QString indirizzoMostrabile(const QString &indirizzo);

class Trasferimento {
public:
    Trasferimento(const QString &cartellaProgramma, ImpostazioniUtente &utente);
    ~Trasferimento();

    // The header block is the text the service conventions give ("Name: value" lines
    // ended by CR LF). The address may carry credentials ("user:password@host"), sent as
    // the request's authorisation. annullato is polled while waiting. Only a reply with
    // a success status (2xx), received whole and decoded, is complete; anything else is
    // a transfer error, its code the HTTP status when the server gave one.
    EsitoTrasferimento posta(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni = {},
                             const std::function<bool()> &annullato = {});
    // The same, the reply streamed into destinazione instead of risposta, refused above
    // massimoScarico() bytes. What was written is worthless unless the reply completed.
    EsitoTrasferimento postaSuFile(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni,
                                   QIODevice &destinazione, const std::function<bool()> &annullato = {});

    void setAttesaMassima(int ms) { m_attesaMs = ms; }
    // Polled while any request waits, when the request names no check of its own: a
    // screen's cancel button.
    void setAnnullamento(std::function<bool()> annullato) { m_annullato = std::move(annullato); }
    int attesaMassima() const { return m_attesaMs; }
    void setMassimoScarico(qint64 byte) { m_massimoScarico = byte; }
    qint64 massimoScarico() const { return m_massimoScarico; }

private:
    EsitoTrasferimento esegui(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni, qint64 massimo,
                              const std::function<bool(const QByteArray &)> &ricevi, const std::function<bool()> &annullato);

    QString m_cartella;
    ImpostazioniUtente &m_utente;
    QNetworkAccessManager *m_rete;
    int m_attesaMs = 60000;
    qint64 m_massimoScarico = kMassimoScarico;
    std::function<bool()> m_annullato;
};

// The header block of the number, version, download and assistance requests.
QString intestazioniModulo();

// A form body from name/value pairs, values percent-encoded.
QByteArray corpoModulo(const QList<std::pair<QString, QString>> &campi);

} // namespace quirdal
