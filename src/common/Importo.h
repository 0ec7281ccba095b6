#pragma once
// Money in exact cents. Every amount the program adds, multiplies, splits or shows goes
// through this type, so that no total drifts by a cent the way binary floating point does
// (2.675 and 1.005 are not what they look like as doubles).
#include <QList>
#include <QString>
#include <QVariant>
#include <compare>
#include <new>
#include <optional>

namespace quirdal {

class Importo {
public:
    constexpr Importo() = default;
    static constexpr Importo daCentesimi(qint64 centesimi) { return Importo(centesimi); }

    // The Italian entry format: an optional sign, the integer part with or without "."
    // between groups of three digits, "," and at most two decimals ("1.234,50", "1234,5",
    // "-3", ",07"). Anything else, an empty text included, gives nothing.
    static std::optional<Importo> daTesto(const QString &testo);
    // A value as stored: Null and "" are zero; integers, doubles and texts with "." (or
    // ",") as the decimal point are rounded half away from zero to the cent, reading a
    // double by its shortest exact decimal form (2.675 is 2,68). A value that is not a
    // finite number raises Errore.
    static Importo daValore(const QVariant &valore);

    constexpr qint64 centesimi() const { return m_c; }
    constexpr bool zero() const { return m_c == 0; }
    // For binding into SQL: a double that reads back as the same cents.
    double perSql() const { return static_cast<double>(m_c) / 100.0; }
    // "1.234,50": "." between thousands, "," before the two decimals.
    QString formato() const;
    // "1234,50": no grouping, "," before the two decimals.
    QString formatoSenzaGruppi() const;
    // "1234.50": the transmission file's and SQL's form, no grouping.
    QString perTrasmissione() const;

    friend constexpr auto operator<=>(Importo a, Importo b) = default;
    Importo operator+(Importo b) const;
    Importo operator-(Importo b) const;
    Importo operator-() const;
    Importo &operator+=(Importo b) { return *this = *this + b; }
    Importo &operator-=(Importo b) { return *this = *this - b; }
    // By a count (hours, participants). Overflow raises Errore.
    Importo per(qint64 quantita) const;
    // The same three without raising: nothing when the result does not fit in the cents'
    // range, for the totals a user can push past it while typing.
    std::optional<Importo> per(qint64 quantita, std::nothrow_t) const;
    std::optional<Importo> piu(Importo b, std::nothrow_t) const;
    std::optional<Importo> meno(Importo b, std::nothrow_t) const;
    // amount × numeratore / denominatore, rounded half away from zero to the cent (a
    // percentage is per(p, 100)). A zero denominator raises Errore.
    Importo perRapporto(qint64 numeratore, qint64 denominatore) const;
    // The same without raising: nothing when the result does not fit or the denominator is 0.
    std::optional<Importo> perRapporto(qint64 numeratore, qint64 denominatore, std::nothrow_t) const;
    // Parts proportional to the weights that add up exactly to the amount: each part is
    // rounded down, and the cents left go one by one to the largest remainders (the first
    // such part on a tie). All weights zero gives zero parts.
    QList<Importo> ripartisci(const QList<qint64> &pesi) const;

private:
    constexpr explicit Importo(qint64 c) : m_c(c) { }
    qint64 m_c = 0;
};

} // namespace quirdal
