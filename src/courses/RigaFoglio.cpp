#include "courses/RigaFoglio.h"

#include "common/Testo.h"
#include "courses/ColonneFoglioCorsi.h"

#include <QRegularExpression>

#include <cmath>

namespace quirdal::foglio {

namespace {

QString normalizza(const QString &intestazione) { return intestazione.simplified().toLower(); }

} // namespace

bool soloCifre(const QString &t)
{
    return !t.isEmpty() && std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString testoLibero(QString t, Testo tipo, bool piuRighe, const QString &memorizzato)
{
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t = senzaCaratteriDiControllo(t);
    t.replace(QLatin1Char('\n'), piuRighe ? CRLF : QStringLiteral(" "));
    if (t == memorizzato)
        return t;
    if (tipo != Testo::Libero)
        t.replace(QLatin1Char('#'), QStringLiteral("SHARP"));
    return tipo == Testo::Maiuscolo ? t.toUpper() : t;
}

Intestazioni::Intestazioni(const FoglioLetto &f)
{
    const QList<CellaLetta> prima = f.righe.value(0);
    for (int c = 0; c < prima.size(); ++c) {
        const QString h = normalizza(prima[c].testo);
        if (!h.isEmpty() && !m_colonne.contains(h))
            m_colonne.insert(h, c + 1);
    }
}

int Intestazioni::colonna(const QString &h) const { return m_colonne.value(normalizza(h), 0); }

QStringList Intestazioni::mancanti(const QStringList &richieste) const
{
    QStringList r;
    for (const QString &h : richieste)
        if (!colonna(h))
            r << QLatin1Char('"') + h + QLatin1Char('"');
    return r;
}

bool Riga::vuota() const
{
    const QList<CellaLetta> celle = m_f.righe.value(m_riga - 1);
    return std::all_of(celle.cbegin(), celle.cend(), [](const CellaLetta &c) { return c.vuota(); });
}

void Riga::problema(const QString &colonna, const QString &messaggio)
{
    m_problemi.append({m_f.nome, m_riga, colonna, messaggio});
    m_errate.insert(colonna);
}

QString Riga::grezzo(const QString &colonna) const
{
    const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
    if (c.tipo == CellaLetta::Tipo::Numero) {
        if (std::abs(c.numero) < 1e15 && c.numero == std::floor(c.numero))
            return QString::number(static_cast<qlonglong>(c.numero));
        return QString::number(c.numero, 'g', 15);
    }
    return c.testo;
}

qlonglong Riga::intero(const QString &colonna, qlonglong corrente)
{
    const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
    if (c.vuota())
        return 0;
    const QString t = grezzo(colonna).trimmed();
    bool numero = false;
    qlonglong v = 0;
    if (c.tipo == CellaLetta::Tipo::Numero) {
        numero = std::abs(c.numero - std::round(c.numero)) < 1e-9 && std::abs(c.numero) < 1e9;
        v = static_cast<qlonglong>(std::llround(c.numero));
    } else {
        // "1.200" is one thousand two hundred in Italian.
        static const QRegularExpression cifre(QStringLiteral("^\\d{1,3}(\\.\\d{3})*$|^\\d+$"));
        if (cifre.match(t).hasMatch()) {
            v = QString(t).remove(QLatin1Char('.')).toLongLong(&numero);
            numero = numero && v < 1000000000;
        }
    }
    if (!numero || v < 0) {
        problema(colonna, QStringLiteral("Il valore \"") + t + QStringLiteral("\" non è un numero intero"));
        return corrente;
    }
    return v;
}

Importo Riga::importo(const QString &colonna, Importo corrente)
{
    const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
    if (c.vuota())
        return {};
    std::optional<Importo> v;
    QString t = grezzo(colonna).trimmed();
    if (c.tipo == CellaLetta::Tipo::Numero) {
        // A spreadsheet's binary fractions read back to the cent; a third decimal is no amount.
        const QString fissato = QString::number(c.numero, 'f', 6);
        if (std::abs(c.numero) < 1e13 && fissato.endsWith(QLatin1String("0000")))
            v = Importo::daValore(c.numero);
    } else {
        t.remove(QChar(u'€')).remove(QChar(0xA0)).remove(QLatin1Char(' '));
        v = Importo::daTesto(t);
        // "1234.5": a point before at most two decimals, and no comma, is the decimal point.
        static const QRegularExpression punto(QStringLiteral("^-?\\d+\\.\\d{1,2}$"));
        if (!v && punto.match(t).hasMatch())
            v = Importo::daTesto(QString(t).replace(QLatin1Char('.'), QLatin1Char(',')));
    }
    if (!v) {
        problema(colonna,
                 QStringLiteral("Il valore \"") + t + QStringLiteral("\" non è un importo in euro (come 1.234,50 o 1234.5)"));
        return corrente;
    }
    if (*v < Importo()) {
        problema(colonna, QStringLiteral("Un importo non può essere negativo"));
        return corrente;
    }
    return *v;
}

bool Riga::sino(const QString &colonna, bool corrente)
{
    const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
    if (c.tipo == CellaLetta::Tipo::Booleano)
        return c.booleano;
    const QString t = grezzo(colonna).trimmed().toUpper();
    if (QStringList{"S", "SI", "SÌ", "X", "1", "VERO", "TRUE", "Y", "YES"}.contains(t))
        return true;
    if (t.isEmpty() || QStringList{"N", "NO", "0", "FALSO", "FALSE"}.contains(t))
        return false;
    problema(colonna, QStringLiteral("Indicare S o N (\"") + t + QStringLiteral("\")"));
    return corrente;
}

std::array<QString, 3> Riga::data(const QString &colonna, const std::array<QString, 3> &corrente)
{
    const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
    if (c.vuota())
        return {};
    QDate d;
    QString t = grezzo(colonna).trimmed();
    if (c.tipo == CellaLetta::Tipo::Numero) {
        d = dataDaSeriale(c.numero, m_date1904);
        if (!d.isValid()) {
            problema(colonna, QStringLiteral("Il valore \"") + t + QStringLiteral("\" non è una data"));
            return corrente;
        }
    } else {
        d = QDate::fromString(t.left(10), Qt::ISODate);
    }
    if (d.isValid())
        return {d.toString(QStringLiteral("dd")), d.toString(QStringLiteral("MM")), d.toString(QStringLiteral("yyyy"))};
    t.replace(QLatin1Char('-'), QLatin1Char('/')).replace(QLatin1Char('.'), QLatin1Char('/'));
    const QStringList p = t.split(QLatin1Char('/'));
    if (p.size() != 3)
        return {t, QString(), QString()};
    // The sheet puts a "0" before a day or month of one digit.
    auto due = [](const QString &x) { return x.size() == 1 ? QLatin1Char('0') + x : x; };
    return {due(p[0].trimmed()), due(p[1].trimmed()), p[2].trimmed()};
}

std::optional<QString> codiceCorso(const QString &t)
{
    if (t.isEmpty())
        return QString();
    if (!soloCifre(t) || t.size() > 4)
        return std::nullopt;
    return t.rightJustified(4, QLatin1Char('0'));
}
std::optional<QString> numeroAccorp(const QString &t)
{
    if (t.isEmpty())
        return QString();
    if (!soloCifre(t) || t.toInt() > 99)
        return std::nullopt;
    return QString::number(t.toInt());
}

QList<QString> intestazioniSpese()
{
    QList<QString> r{kSede, kCorso, kAccorp, kAnno};
    for (const QString &l : {kSpeseGenerali, kPremio, kReddito})
        r << euro(l) << ore(l) << allievi(l);
    r << allievi(kContributo) << kQuotaPiu << kQuotaMeno << kEnteErogatore;
    for (int i = 0; i < 5; ++i)
        r << percentuale(i);
    return r;
}

QList<QString> intestazioniCorsi()
{
    QList<QString> r{kSede, kCorso, kAccorp, kCompoResp, kQualifica, descrizione(kQualifica)};
    for (int i = 0; i < 6; ++i)
        r << indirizzo(i) << descrizione(indirizzo(i));
    r << kAsse << kMisura << kAzione << kTipologia;
    for (int i = 0; i < 5; ++i)
        r << destinatario(i);
    r << kScolarita << kSettore << kComparto << kOrario << kCertificazione << kNumAll << kDurataAnnOre << kDurataAnni
      << kTotOreIter << kOreStage << kOreLabEsterni << kDataAvvio << kAts << kIstituto << kIstitutoLibero << kSpinNonPresente
      << kSpinAmbito << kSpinSettore << kSpinFigura << kInnovazione << kPariOpportunita << kCapacitaOrganizzativa << kEntiGestori;
    for (const QString &t : kSez34)
        r << t;
    return r;
}

} // namespace quirdal::foglio
