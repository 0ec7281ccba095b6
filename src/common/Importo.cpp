#include "common/Importo.h"

#include "common/Errori.h"

#include <QLocale>
#include <QtNumeric>
#include <cmath>
#include <limits>

namespace quirdal {

namespace {

constexpr int kCifreIntereMassime = 15; // below 10^15 euros: every product of a count stays in range

Errore traboccamento() { return Errore(codici::Traboccamento, QStringLiteral("Importo troppo grande per essere calcolato.")); }

// A product of two 64-bit magnitudes needs 128 bits; the standard has no such integer, so
// the two words are kept apart (a ratio and a split go through it, exactly).
struct Doppio {
    quint64 alto = 0, basso = 0;
};

Doppio moltiplica(quint64 a, quint64 b)
{
    const quint64 a0 = a & 0xffffffffu, a1 = a >> 32, b0 = b & 0xffffffffu, b1 = b >> 32;
    const quint64 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const quint64 medio = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (medio >> 32), (medio << 32) | (p00 & 0xffffffffu)};
}

// n / d and n % d (d > 0), by long division one bit at a time.
std::pair<Doppio, quint64> dividi(Doppio n, quint64 d)
{
    Doppio q;
    quint64 r = 0;
    for (int i = 127; i >= 0; --i) {
        const bool riporto = (r >> 63) != 0; // r * 2 passes 64 bits: certainly >= d
        const quint64 bit = i >= 64 ? (n.alto >> (i - 64)) & 1u : (n.basso >> i) & 1u;
        r = (r << 1) | bit;
        if (riporto || r >= d) {
            r -= d;
            if (i >= 64)
                q.alto |= quint64(1) << (i - 64);
            else
                q.basso |= quint64(1) << i;
        }
    }
    return {q, r};
}

quint64 grandezza(qint64 v) { return v < 0 ? quint64(0) - quint64(v) : quint64(v); }

bool cifra(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// Integer digits and decimal digits of a plain decimal number into cents, rounding half
// away from zero on the digits beyond the second decimal.
std::optional<qint64> centesimiDa(QStringView interi, QStringView decimali, bool negativo)
{
    if (interi.size() > kCifreIntereMassime)
        return std::nullopt;
    qint64 c = 0;
    for (const QChar ch : interi)
        c = c * 10 + (ch.unicode() - '0');
    for (int i = 0; i < 2; ++i)
        c = c * 10 + (i < decimali.size() ? decimali[i].unicode() - '0' : 0);
    if (decimali.size() > 2 && decimali[2].unicode() >= '5')
        ++c;
    return negativo ? -c : c;
}

} // namespace

std::optional<Importo> Importo::daTesto(const QString &testo)
{
    QStringView t = QStringView(testo).trimmed();
    bool negativo = false;
    if (!t.isEmpty() && (t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+'))) {
        negativo = t.front() == QLatin1Char('-');
        t = t.mid(1);
    }
    const qsizetype virgola = t.indexOf(QLatin1Char(','));
    const QStringView parteIntera = virgola < 0 ? t : t.left(virgola);
    const QStringView decimali = virgola < 0 ? QStringView() : t.mid(virgola + 1);
    if (virgola >= 0 && (decimali.isEmpty() || decimali.size() > 2))
        return std::nullopt;
    for (const QChar c : decimali)
        if (!cifra(c))
            return std::nullopt;
    // The integer part: digits, or groups of three after a first group of one to three.
    QString interi;
    const QList<QStringView> gruppi = parteIntera.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < gruppi.size(); ++i) {
        const QStringView g = gruppi[i];
        const bool ammesso = gruppi.size() == 1 ? true : i == 0 ? (g.size() >= 1 && g.size() <= 3) : g.size() == 3;
        if (!ammesso)
            return std::nullopt;
        for (const QChar c : g)
            if (!cifra(c))
                return std::nullopt;
        interi += g;
    }
    if (interi.isEmpty() && decimali.isEmpty())
        return std::nullopt;
    const auto c = centesimiDa(interi, decimali, negativo);
    if (!c)
        return std::nullopt;
    return Importo(*c);
}

Importo Importo::daValore(const QVariant &valore)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    auto nonNumero = [&] {
        return Errore(codici::TipoNonCorrispondente,
                      QStringLiteral("Importo non valido: '") + valore.toString() + QStringLiteral("'."));
    };
    QString testo;
    switch (valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Bool: {
        const qint64 n = valore.toLongLong();
        qint64 c = 0;
        if (qMulOverflow(n, qint64(100), &c))
            throw traboccamento();
        return Importo(c);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = valore.toDouble();
        if (!std::isfinite(d))
            throw nonNumero();
        // The shortest decimal form that reads back as this double: what was stored.
        testo = QString::number(d, 'f', QLocale::FloatingPointShortest);
        break;
    }
    default:
        testo = valore.toString().trimmed();
        if (testo.isEmpty())
            return {};
        break;
    }
    QStringView t(testo);
    bool negativo = false;
    if (t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+')) {
        negativo = t.front() == QLatin1Char('-');
        t = t.mid(1);
    }
    qsizetype punto = t.indexOf(QLatin1Char('.'));
    if (punto < 0)
        punto = t.indexOf(QLatin1Char(','));
    const QStringView interi = punto < 0 ? t : t.left(punto);
    const QStringView decimali = punto < 0 ? QStringView() : t.mid(punto + 1);
    if (interi.isEmpty() && decimali.isEmpty())
        throw nonNumero();
    for (const QStringView parte : {interi, decimali})
        for (const QChar c : parte)
            if (!cifra(c))
                throw nonNumero();
    const auto c = centesimiDa(interi, decimali, negativo);
    if (!c)
        throw traboccamento();
    return Importo(*c);
}

QString Importo::formato() const
{
    const quint64 assoluto = m_c < 0 ? quint64(0) - quint64(m_c) : quint64(m_c);
    const QString interi = QString::number(assoluto / 100);
    QString r;
    r.reserve(interi.size() + interi.size() / 3 + 4);
    if (m_c < 0)
        r += QLatin1Char('-');
    for (qsizetype i = 0; i < interi.size(); ++i) {
        if (i > 0 && (interi.size() - i) % 3 == 0)
            r += QLatin1Char('.');
        r += interi[i];
    }
    r += QLatin1Char(',');
    r += QString::number(assoluto % 100).rightJustified(2, QLatin1Char('0'));
    return r;
}

QString Importo::formatoSenzaGruppi() const { return perTrasmissione().replace(QLatin1Char('.'), QLatin1Char(',')); }

QString Importo::perTrasmissione() const
{
    const quint64 assoluto = m_c < 0 ? quint64(0) - quint64(m_c) : quint64(m_c);
    return (m_c < 0 ? QStringLiteral("-") : QString()) + QString::number(assoluto / 100) + QLatin1Char('.')
        + QString::number(assoluto % 100).rightJustified(2, QLatin1Char('0'));
}

std::optional<Importo> Importo::piu(Importo b, std::nothrow_t) const
{
    qint64 r = 0;
    if (qAddOverflow(m_c, b.m_c, &r))
        return std::nullopt;
    return Importo(r);
}

std::optional<Importo> Importo::meno(Importo b, std::nothrow_t) const
{
    qint64 r = 0;
    if (qSubOverflow(m_c, b.m_c, &r))
        return std::nullopt;
    return Importo(r);
}

std::optional<Importo> Importo::per(qint64 quantita, std::nothrow_t) const
{
    qint64 r = 0;
    if (qMulOverflow(m_c, quantita, &r))
        return std::nullopt;
    return Importo(r);
}

Importo Importo::operator+(Importo b) const
{
    if (const auto r = piu(b, std::nothrow))
        return *r;
    throw traboccamento();
}

Importo Importo::operator-(Importo b) const
{
    if (const auto r = meno(b, std::nothrow))
        return *r;
    throw traboccamento();
}

Importo Importo::operator-() const { return Importo() - *this; }

Importo Importo::per(qint64 quantita) const
{
    if (const auto r = per(quantita, std::nothrow))
        return *r;
    throw traboccamento();
}

std::optional<Importo> Importo::perRapporto(qint64 numeratore, qint64 denominatore, std::nothrow_t) const
{
    if (denominatore == 0)
        return std::nullopt;
    const bool negativo = m_c != 0 && numeratore != 0 && ((m_c < 0) != (numeratore < 0)) != (denominatore < 0);
    const quint64 d = grandezza(denominatore);
    auto [q, resto] = dividi(moltiplica(grandezza(m_c), grandezza(numeratore)), d);
    // Half away from zero: the remainder against half the divisor, without doubling it.
    if (resto >= d - resto) {
        if (++q.basso == 0)
            ++q.alto;
    }
    const quint64 limite = quint64(std::numeric_limits<qint64>::max()) + (negativo ? 1 : 0);
    if (q.alto != 0 || q.basso > limite)
        return std::nullopt;
    return Importo(negativo ? qint64(quint64(0) - q.basso) : qint64(q.basso));
}

Importo Importo::perRapporto(qint64 numeratore, qint64 denominatore) const
{
    if (denominatore == 0)
        throw Errore(codici::DivisionePerZero, QStringLiteral("Divisione per zero nel calcolo di un importo."));
    if (const auto r = perRapporto(numeratore, denominatore, std::nothrow))
        return *r;
    throw traboccamento();
}

QList<Importo> Importo::ripartisci(const QList<qint64> &pesi) const
{
    QList<Importo> parti(pesi.size());
    quint64 somma = 0;
    for (const qint64 p : pesi) {
        if (p < 0)
            throw Errore(codici::Generico, QStringLiteral("Peso negativo nella ripartizione di un importo."));
        if (qAddOverflow(somma, quint64(p), &somma))
            throw traboccamento();
    }
    if (somma == 0 || pesi.isEmpty())
        return parti;
    const bool negativo = m_c < 0;
    const quint64 totale = grandezza(m_c);
    QList<quint64> resti(pesi.size());
    QList<bool> preso(pesi.size(), false);
    quint64 assegnato = 0;
    for (qsizetype i = 0; i < pesi.size(); ++i) {
        // Each part is at most the whole: its quotient fits in 64 bits.
        const auto [base, resto] = dividi(moltiplica(totale, quint64(pesi[i])), somma);
        resti[i] = resto;
        parti[i] = Importo(qint64(base.basso));
        assegnato += base.basso;
    }
    for (quint64 avanzo = totale - assegnato; avanzo > 0; --avanzo) {
        qsizetype migliore = -1;
        for (qsizetype i = 0; i < resti.size(); ++i)
            if (pesi[i] > 0 && !preso[i] && (migliore < 0 || resti[i] > resti[migliore]))
                migliore = i;
        parti[migliore] = Importo(parti[migliore].m_c + 1);
        preso[migliore] = true; // one extra cent each at most
    }
    if (negativo)
        for (Importo &p : parti)
            p = Importo(-p.m_c);
    return parti;
}

} // namespace quirdal
