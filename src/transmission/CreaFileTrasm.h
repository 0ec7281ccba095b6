#pragma once
// The transmission file: one application (operator + province) written in the region's
// record format, Windows-1252 with CR LF line ends, under a temporary name renamed only
// when complete, so that no half-written file can ever be sent.
#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

namespace quirdal {

struct Contesto;

// "S" for a true (non-zero) flag, "N" otherwise (Null included).
QString SiNo(const QVariant &v);
// The first "," of a formatted amount (up to the next-to-last character) becomes ".".
QString PuntoDecimale(const QString &testo);
// An amount with at least one integer digit and exactly two decimals, "." before them,
// no grouping; Null is an empty value, as the record format has it.
QString importo(const QVariant &v);
// A value as it goes between the "#": "#" becomes "SHARP", each line break one blank,
// a tab one blank, any other control character is dropped, so no value can split or
// shift a record or carry a control character.
QString valoreTrasmissione(const QVariant &v);
// The same rule on a text.
QString testoTrasmissione(const QString &testo);

class mCreaFileTrasm {
public:
    explicit mCreaFileTrasm(Contesto &c) : m_c(c) { }

    // Entry point: sets gNomeFileTrasm and returns true when the file was written.
    bool CreaFile(const QString &prov, const QString &grupOpe, const QString &operatore);
    // The name of the file (sets NumDoma), "" when the application has no number.
    QString NomeFile(const QString &prov, const QString &grupOpe, const QString &operatore);
    QString Nomina_e_Crea(const QString &prov, const QString &grupOpe, const QString &operatore);

    // The bytes of the file, written in memory only; empty when they cannot be made (the
    // writer has said why). Sets gNomeFileTrasm as CreaFile does.
    QByteArray Contenuto(const QString &prov, const QString &grupOpe, const QString &operatore);

    // The creation date; when not set, the one the application's final form fixed, else
    // today (the clock of the platform).
    void setData(const QDate &d) { m_dataFissa = d; }
    // The creation date and the sender's address both given: nothing fixed by the final form
    // is looked up.
    void fissa(const QDate &d, const QString &email)
    {
        m_dataFissa = d;
        m_email = email;
    }
    const QString &gNomeFileTrasm() const { return m_nomeFile; }

    struct Stato; // what the writers share while a file is made

private:
    bool scrivi(Stato &s, const QString &prov, const QString &grupOpe, const QString &operatore);

    Contesto &m_c;
    QDate m_dataFissa;
    std::optional<QString> m_email;
    QString m_nomeFile;
    QString m_numDoma;
};

} // namespace quirdal
