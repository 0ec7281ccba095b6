#pragma once
// The exchanges with the region's secure server: an HTTPS POST with a header block and
// a body, waited for while the screens stay alive, bounded in time and cancellable,
// with the reply text, a success flag and the last error code in the numbering the
// program relies on (12045: certificate authority not trusted). TLS is always
// verified: the system's authorities plus CA_ROOT.DER of the program folder.
#include <QByteArray>
#include <QString>
#include <functional>

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
} // namespace codiciInternet

struct EsitoTrasferimento {
    bool completato = false; // a whole reply arrived
    QString risposta;        // its text (Windows-1252 decoded)
    long codiceErrore = 0;   // 0 after a complete reply
    QString infoErrore;      // what went wrong, for the messages
    int statoHttp = 0;
};

class Trasferimento {
public:
    Trasferimento(const QString &cartellaProgramma, ImpostazioniUtente &utente);
    ~Trasferimento();

    // The header block is the text the service conventions give ("Name: value" lines
    // ended by CR LF). The address may carry credentials ("user:password@host"), sent as
    // the request's authorisation. annullato is polled while waiting.
    EsitoTrasferimento posta(const QString &indirizzo, const QByteArray &corpo, const QString &intestazioni = {},
                             const std::function<bool()> &annullato = {});

    void setAttesaMassima(int ms) { m_attesaMs = ms; }
    // Polled while any request waits, when the request names no check of its own: a
    // screen's cancel button.
    void setAnnullamento(std::function<bool()> annullato) { m_annullato = std::move(annullato); }
    int attesaMassima() const { return m_attesaMs; }

private:
    QString m_cartella;
    ImpostazioniUtente &m_utente;
    QNetworkAccessManager *m_rete;
    int m_attesaMs = 60000;
    std::function<bool()> m_annullato;
};

// The header block of the number, version, download and assistance requests.
QString intestazioniModulo();

// A form body from name/value pairs, values percent-encoded.
QByteArray corpoModulo(const QList<std::pair<QString, QString>> &campi);

} // namespace quirdal
