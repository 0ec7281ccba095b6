#include "printing/Modello.h"

#include "common/Errori.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

static void inizializzaModelli() { Q_INIT_RESOURCE(modelli_stampa); }

namespace quirdal {

namespace {

QString escapa(const QString &valore)
{
    QString t = valore.toHtmlEscaped();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("<br/>"));
    t.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    t.replace(QLatin1Char('\r'), QStringLiteral("<br/>"));
    return t;
}

const QRegularExpression &segnaposto()
{
    static const QRegularExpression r(QStringLiteral("&lt;([A-Za-z][A-Za-z0-9_]*)&gt;"));
    return r;
}

// The placeholders of a text replaced in one pass; those without a value stay.
QString sostituisci(const QString &testo, const Valori &riga, const Valori *generali, QSet<QString> &nonCompilati)
{
    QString r;
    r.reserve(testo.size() + testo.size() / 4);
    qsizetype da = 0;
    auto it = segnaposto().globalMatch(testo);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        r += QStringView(testo).mid(da, m.capturedStart() - da);
        const QString nome = m.captured(1);
        if (riga.contiene(nome))
            r += riga.valore(nome);
        else if (generali && generali->contiene(nome))
            r += generali->valore(nome);
        else {
            r += m.captured(0);
            nonCompilati.insert(nome);
        }
        da = m.capturedEnd();
    }
    r += QStringView(testo).mid(da);
    return r;
}

} // namespace

void Valori::testo(const QString &s, const QString &valore) { m_v.insert(s, escapa(valore)); }
void Valori::grassetto(const QString &s, const QString &valore)
{
    m_v.insert(s, QStringLiteral("<b>") + escapa(valore) + QStringLiteral("</b>"));
}
void Valori::casella(const QString &s, bool spuntata)
{
    // A box with a cross, or an empty box, in a font that has both.
    m_v.insert(s,
               spuntata ? QStringLiteral("<span style=\"font-family:'DejaVu Sans'; font-size:11pt;\">&#x2612;</span>")
                        : QStringLiteral("<span style=\"font-family:'DejaVu Sans'; font-size:11pt;\">&#x2610;</span>"));
}
void Valori::html(const QString &s, const QString &markup) { m_v.insert(s, markup); }
void Valori::unisci(const Valori &altri)
{
    for (auto it = altri.m_v.cbegin(); it != altri.m_v.cend(); ++it)
        m_v.insert(it.key(), it.value());
}

QStringList nomiModelli()
{
    inizializzaModelli();
    return QDir(QStringLiteral(":/stampa")).entryList(QDir::Files, QDir::Name);
}

QString testoModello(const QString &cartellaProgramma, const QString &nome)
{
    inizializzaModelli();
    const QString proprio = QDir(cartellaProgramma).filePath(QStringLiteral("stampa/") + nome);
    for (const QString &percorso : {proprio, QStringLiteral(":/stampa/") + nome}) {
        QFile f(percorso);
        if (f.exists()) {
            if (!f.open(QIODevice::ReadOnly))
                throw Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere il modello ") + percorso);
            return QString::fromUtf8(f.readAll());
        }
    }
    throw Errore(codici::FileNonTrovato, QStringLiteral("Modello di stampa ") + nome + QStringLiteral(" non trovato."));
}

PaginaCompilata compila(const QString &modello, const Valori &valori, const QHash<QString, Righe> &blocchi)
{
    static const QRegularExpression blocco(QStringLiteral("<!--RIPETI (\\w+)-->(.*?)<!--FINE \\1-->"),
                                           QRegularExpression::DotMatchesEverythingOption);
    PaginaCompilata p;
    QString testo;
    qsizetype da = 0;
    auto it = blocco.globalMatch(modello);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        testo += sostituisci(modello.mid(da, m.capturedStart() - da), valori, nullptr, p.nonCompilati);
        const QString corpo = m.captured(2);
        const Righe righe = blocchi.value(m.captured(1));
        if (righe.isEmpty()) {
            // A blank row: every placeholder of the block without a value.
            Valori vuota;
            auto sit = segnaposto().globalMatch(corpo);
            while (sit.hasNext())
                vuota.testo(sit.next().captured(1), QString());
            testo += sostituisci(corpo, vuota, nullptr, p.nonCompilati);
        }
        for (const Valori &r : righe)
            testo += sostituisci(corpo, r, &valori, p.nonCompilati);
        da = m.capturedEnd();
    }
    testo += sostituisci(modello.mid(da), valori, nullptr, p.nonCompilati);
    p.html = std::move(testo);
    return p;
}

const QString &stileModulo()
{
    static const QString s = QStringLiteral(
        "body { font-family: 'DejaVu Sans'; font-size: 9pt; }"
        "h1 { font-size: 15pt; font-weight: bold; text-align: center; margin-bottom: 6px; }"
        "h2 { font-size: 11pt; font-weight: bold; background-color: #d9dee8; margin-top: 10px; margin-bottom: 4px; }"
        "h3 { font-size: 9.5pt; font-weight: bold; margin-top: 8px; margin-bottom: 2px; }"
        "table.campi { border-style: solid; border-color: #555555; }"
        "td { padding: 3px; vertical-align: top; }"
        "td.et { background-color: #f0f2f6; font-size: 8pt; color: #222222; }"
        "th { background-color: #d9dee8; font-size: 8pt; font-weight: bold; padding: 3px; }"
        "p.nota { font-size: 7.5pt; color: #333333; }"
        "p.firma { margin-top: 18px; }");
    return s;
}

} // namespace quirdal
