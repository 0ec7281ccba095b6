#include "common/Importo.h"

#include "common/Errori.h"

#include <QLocale>
#include <cmath>

namespace quirdal {

namespace {

constexpr int kCifreIntereMassime = 15; // below 10^15 euros: every product of a count stays in range

Errore traboccamento() { return Errore(codici::Traboccamento, QStringLiteral("Overflow nel calcolo di un importo.")); }

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
        if (__builtin_mul_overflow(n, qint64(100), &c))
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

Importo Importo::operator+(Importo b) const
{
    qint64 r = 0;
    if (__builtin_add_overflow(m_c, b.m_c, &r))
        throw traboccamento();
    return Importo(r);
}

Importo Importo::operator-(Importo b) const
{
    qint64 r = 0;
    if (__builtin_sub_overflow(m_c, b.m_c, &r))
        throw traboccamento();
    return Importo(r);
}

Importo Importo::operator-() const { return Importo() - *this; }

Importo Importo::per(qint64 quantita) const
{
    qint64 r = 0;
    if (__builtin_mul_overflow(m_c, quantita, &r))
        throw traboccamento();
    return Importo(r);
}

Importo Importo::perRapporto(qint64 numeratore, qint64 denominatore) const
{
    if (denominatore == 0)
        throw Errore(codici::DivisionePerZero, QStringLiteral("Divisione per zero nel calcolo di un importo."));
    __int128 p = static_cast<__int128>(m_c) * numeratore;
    __int128 d = denominatore;
    if (d < 0) {
        p = -p;
        d = -d;
    }
    const __int128 assoluto = p < 0 ? -p : p;
    __int128 q = assoluto / d;
    if ((assoluto % d) * 2 >= d)
        ++q;
    if (p < 0)
        q = -q;
    if (q > std::numeric_limits<qint64>::max() || q < std::numeric_limits<qint64>::min())
        throw traboccamento();
    return Importo(static_cast<qint64>(q));
}

QList<Importo> Importo::ripartisci(const QList<qint64> &pesi) const
{
    QList<Importo> parti(pesi.size());
    __int128 somma = 0;
    for (const qint64 p : pesi) {
        if (p < 0)
            throw Errore(codici::Generico, QStringLiteral("Peso negativo nella ripartizione di un importo."));
        somma += p;
    }
    if (somma == 0 || pesi.isEmpty())
        return parti;
    const bool negativo = m_c < 0;
    const __int128 totale = negativo ? -static_cast<__int128>(m_c) : m_c;
    QList<__int128> resti(pesi.size());
    __int128 assegnato = 0;
    for (qsizetype i = 0; i < pesi.size(); ++i) {
        const __int128 prodotto = totale * pesi[i];
        const __int128 base = prodotto / somma;
        resti[i] = prodotto % somma;
        parti[i] = Importo(static_cast<qint64>(base));
        assegnato += base;
    }
    for (__int128 avanzo = totale - assegnato; avanzo > 0; --avanzo) {
        qsizetype migliore = -1;
        for (qsizetype i = 0; i < resti.size(); ++i)
            if (pesi[i] > 0 && (migliore < 0 || resti[i] > resti[migliore]))
                migliore = i;
        parti[migliore] = Importo(parti[migliore].m_c + 1);
        resti[migliore] = -1; // one extra cent each at most
    }
    if (negativo)
        for (Importo &p : parti)
            p = Importo(-p.m_c);
    return parti;
}

} // namespace quirdal
