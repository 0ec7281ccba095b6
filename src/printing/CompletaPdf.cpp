#include "printing/CompletaPdf.h"

#include "common/Errori.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <vector>

namespace quirdal {

namespace {

[[noreturn]] void nonConforme(const QString &cosa)
{
    throw Errore(codici::Generico, QStringLiteral("Il file PDF scritto non è come atteso (") + cosa + QStringLiteral(")."));
}

bool spazio(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }
bool delimitatore(char c)
{
    switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
    case '/':
    case '%':
        return true;
    default:
        return spazio(c);
    }
}

// A value of the writer's dictionaries: a dictionary with its entries in order, or any
// other value as written.
struct Valore {
    QByteArray testo;
    std::vector<QByteArray> chiavi; // names with their slash
    std::vector<Valore> valori;
    bool dizionario = false;

    const Valore *voce(QByteArrayView chiave) const
    {
        for (size_t i = 0; i < chiavi.size(); ++i)
            if (chiavi[i] == chiave)
                return &valori[i];
        return nullptr;
    }
    void imposta(const QByteArray &chiave, Valore v)
    {
        for (size_t i = 0; i < chiavi.size(); ++i)
            if (chiavi[i] == chiave) {
                valori[i] = std::move(v);
                return;
            }
        chiavi.push_back(chiave);
        valori.push_back(std::move(v));
    }
    static Valore semplice(QByteArray t)
    {
        Valore v;
        v.testo = std::move(t);
        return v;
    }
    QByteArray scritto() const
    {
        if (!dizionario)
            return testo;
        QByteArray r = "<<\n";
        for (size_t i = 0; i < chiavi.size(); ++i)
            r += chiavi[i] + ' ' + valori[i].scritto() + '\n';
        return r + ">>";
    }
};

class Lettore {
public:
    explicit Lettore(const QByteArray &t) : m_t(t) { }

    Valore valore()
    {
        salta();
        if (m_t.mid(m_i, 2) == "<<") {
            m_i += 2;
            Valore d;
            d.dizionario = true;
            for (;;) {
                salta();
                if (m_i >= m_t.size())
                    nonConforme(QStringLiteral("dizionario non chiuso"));
                if (m_t.mid(m_i, 2) == ">>") {
                    m_i += 2;
                    return d;
                }
                if (m_t[m_i] != '/')
                    nonConforme(QStringLiteral("chiave attesa"));
                const QByteArray chiave = nome();
                d.chiavi.push_back(chiave);
                d.valori.push_back(valore());
            }
        }
        const qsizetype inizio = m_i;
        if (m_i >= m_t.size())
            nonConforme(QStringLiteral("valore mancante"));
        const char c = m_t[m_i];
        if (c == '/') {
            nome();
        } else if (c == '[' || c == '(' || c == '<') {
            racchiuso();
        } else {
            parola();
            // A reference: "numero generazione R".
            const qsizetype dopo = m_i;
            salta();
            const qsizetype generazione = m_i;
            parola();
            bool intero = false;
            m_t.mid(generazione, m_i - generazione).toInt(&intero);
            salta();
            if (intero && m_i < m_t.size() && m_t[m_i] == 'R' && (m_i + 1 >= m_t.size() || delimitatore(m_t[m_i + 1])))
                ++m_i;
            else
                m_i = dopo;
        }
        return Valore::semplice(m_t.mid(inizio, m_i - inizio));
    }

private:
    void salta()
    {
        while (m_i < m_t.size() && spazio(m_t[m_i]))
            ++m_i;
    }
    QByteArray nome()
    {
        const qsizetype inizio = m_i++;
        while (m_i < m_t.size() && !delimitatore(m_t[m_i]))
            ++m_i;
        return m_t.mid(inizio, m_i - inizio);
    }
    void parola()
    {
        while (m_i < m_t.size() && !delimitatore(m_t[m_i]))
            ++m_i;
    }
    // An array, a dictionary inside one, a string: up to its closing mark.
    void racchiuso()
    {
        int profondita = 0;
        do {
            if (m_i >= m_t.size())
                nonConforme(QStringLiteral("valore non chiuso"));
            const char c = m_t[m_i];
            if (c == '(') {
                stringa();
                continue;
            }
            if (c == '[' || c == '<')
                ++profondita;
            else if (c == ']' || c == '>')
                --profondita;
            ++m_i;
        } while (profondita > 0);
    }
    void stringa()
    {
        int aperte = 0;
        do {
            if (m_i >= m_t.size())
                nonConforme(QStringLiteral("stringa non chiusa"));
            const char c = m_t[m_i++];
            if (c == '\\')
                ++m_i;
            else if (c == '(')
                ++aperte;
            else if (c == ')')
                --aperte;
        } while (aperte > 0);
    }

    const QByteArray &m_t;
    qsizetype m_i = 0;
};

Valore dizionario(const QByteArray &t)
{
    Lettore l(t);
    Valore v = l.valore();
    if (!v.dizionario)
        nonConforme(QStringLiteral("dizionario atteso"));
    return v;
}

int riferimento(const Valore *v)
{
    static const QRegularExpression r(QStringLiteral("^(\\d+)\\s+0\\s+R$"));
    const auto m = v && !v->dizionario ? r.match(QString::fromLatin1(v->testo)) : QRegularExpressionMatch();
    if (!m.hasMatch())
        nonConforme(QStringLiteral("riferimento atteso"));
    return m.captured(1).toInt();
}

// The references of an array, or the one reference.
QByteArray riferimenti(const Valore *v)
{
    if (!v || v->dizionario)
        nonConforme(QStringLiteral("contenuto della pagina mancante"));
    QByteArray t = v->testo.trimmed();
    if (t.startsWith('[') && t.endsWith(']'))
        t = t.mid(1, t.size() - 2).trimmed();
    return t;
}

// b's entries added to a's; true when a gained any. Names are the writer's own for one
// document, so one name never stands for two things.
bool unisci(Valore &a, const Valore &b)
{
    bool cambiato = false;
    for (size_t i = 0; i < b.chiavi.size(); ++i) {
        const QByteArray &k = b.chiavi[i];
        const Valore &vb = b.valori[i];
        size_t j = 0;
        while (j < a.chiavi.size() && a.chiavi[j] != k)
            ++j;
        if (j == a.chiavi.size()) {
            a.chiavi.push_back(k);
            a.valori.push_back(vb);
            cambiato = true;
        } else if (a.valori[j].dizionario && vb.dizionario) {
            cambiato = unisci(a.valori[j], vb) || cambiato;
        } else if (a.valori[j].dizionario || vb.dizionario || a.valori[j].testo.simplified() != vb.testo.simplified()) {
            nonConforme(QStringLiteral("risorsa ") + QString::fromLatin1(k) + QStringLiteral(" con due valori"));
        }
    }
    return cambiato;
}

// The file as the writer left it, its objects found through its cross-reference table, read
// one at a time.
class FilePdf {
public:
    FilePdf(const QString &percorso, qint64 xref) : m_f(percorso)
    {
        if (!m_f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile rileggere il file ") + percorso + QStringLiteral(": ") + m_f.errorString());
        static const QRegularExpression intestazione(QStringLiteral("^xref\\r?\\n0 (\\d+)[ \\t]*\\r?\\n"));
        const QByteArray inizio = leggi(xref, 64);
        const auto m = intestazione.match(QString::fromLatin1(inizio));
        if (!m.hasMatch())
            nonConforme(QStringLiteral("tabella dei riferimenti"));
        m_voci = xref + m.capturedLength(0);
        m_oggetti = m.captured(1).toInt();
    }

    // The object's text up to its stream or its end: a dictionary, most often.
    QByteArray oggetto(int numero)
    {
        if (numero <= 0 || numero >= m_oggetti)
            nonConforme(QStringLiteral("oggetto ") + QString::number(numero));
        const QByteArray voce = leggi(m_voci + qint64(numero) * 20, 20);
        if (voce.size() != 20 || voce[17] != 'n')
            nonConforme(QStringLiteral("voce dell'oggetto ") + QString::number(numero));
        const qint64 posizione = voce.left(10).toLongLong();
        const QByteArray testata = QByteArray::number(numero) + " 0 obj";
        for (qint64 quanto = 1024;; quanto *= 4) {
            const QByteArray t = leggi(posizione, quanto);
            if (!t.startsWith(testata))
                nonConforme(QStringLiteral("oggetto ") + QString::number(numero));
            qsizetype fine = t.indexOf("endobj", testata.size());
            const qsizetype flusso = t.indexOf("stream", testata.size());
            if (flusso >= 0 && (fine < 0 || flusso < fine))
                fine = flusso;
            if (fine >= 0)
                return t.mid(testata.size(), fine - testata.size());
            if (t.size() < quanto)
                nonConforme(QStringLiteral("oggetto ") + QString::number(numero) + QStringLiteral(" non chiuso"));
        }
    }

private:
    QByteArray leggi(qint64 da, qint64 quanto)
    {
        if (!m_f.seek(da))
            nonConforme(QStringLiteral("posizione ") + QString::number(da));
        return m_f.read(quanto);
    }

    QFile m_f;
    qint64 m_voci = 0;
    int m_oggetti = 0;
};

// The update as it is appended: each object's position recorded for its table.
class Aggiunta {
public:
    Aggiunta(QIODevice &d, qint64 lunghezza) : m_d(d), m_posizione(lunghezza) { }

    void oggetto(int numero, const QByteArray &corpo)
    {
        m_voci.insert(numero, m_posizione);
        scrivi(QByteArray::number(numero) + " 0 obj\n" + corpo + "\nendobj\n");
    }
    void flusso(int numero, const QByteArray &dizionario, const QByteArray &dati)
    {
        m_voci.insert(numero, m_posizione);
        scrivi(QByteArray::number(numero) + " 0 obj\n" + dizionario + "\nstream\n" + dati + "\nendstream\nendobj\n");
    }
    void scrivi(const QByteArray &b)
    {
        m_buffer += b;
        m_posizione += b.size();
        if (m_buffer.size() > 64 * 1024)
            svuota();
    }
    // The table of the objects written, in runs of consecutive numbers, and the trailer.
    void chiudi(const QByteArray &trailer)
    {
        const qint64 xref = m_posizione;
        QByteArray t = "xref\n";
        for (auto it = m_voci.cbegin(); it != m_voci.cend();) {
            auto fine = it;
            int n = 0;
            while (fine != m_voci.cend() && fine.key() == it.key() + n) {
                ++fine;
                ++n;
            }
            t += QByteArray::number(it.key()) + ' ' + QByteArray::number(n) + '\n';
            for (; it != fine; ++it)
                t += QByteArray::number(it.value()).rightJustified(10, '0') + " 00000 n \n";
            scrivi(t);
            t.clear();
        }
        scrivi("trailer\n" + trailer + "\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
        svuota();
    }

private:
    void svuota()
    {
        if (m_d.write(m_buffer) != m_buffer.size())
            throw Errore(codici::Generico, QStringLiteral("Impossibile scrivere il file PDF: ") + m_d.errorString());
        m_buffer.clear();
    }

    QIODevice &m_d;
    qint64 m_posizione;
    QByteArray m_buffer;
    QMap<int, qint64> m_voci;
};

} // namespace

void completaPdf(const QString &percorso, QIODevice &scrittura, const QByteArray &coda, qint64 lunghezza, int pagine,
                 const DatiDocumento &dati)
{
    static const QRegularExpression rSize(QStringLiteral("/Size (\\d+)")), rRoot(QStringLiteral("/Root (\\d+) 0 R")),
        rId(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])")), rStart(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QString testo = QString::fromLatin1(coda);
    const qsizetype trailer = testo.lastIndexOf(QStringLiteral("trailer"));
    if (trailer < 0)
        nonConforme(QStringLiteral("trailer"));
    const QString t = testo.mid(trailer);
    const auto size = rSize.match(t), root = rRoot.match(t), id = rId.match(t), start = rStart.match(t);
    if (!size.hasMatch() || !root.hasMatch() || !start.hasMatch())
        nonConforme(QStringLiteral("trailer"));
    const int numeroRadice = root.captured(1).toInt();

    FilePdf f(percorso, start.captured(1).toLongLong());
    Valore catalogo = dizionario(f.oggetto(numeroRadice));
    const int numeroPagine = riferimento(catalogo.voce("/Pages"));
    Valore albero = dizionario(f.oggetto(numeroPagine));
    static const QRegularExpression rRif(QStringLiteral("(\\d+)\\s+0\\s+R"));
    QList<int> figlie;
    const Valore *kids = albero.voce("/Kids");
    if (!kids || kids->dizionario)
        nonConforme(QStringLiteral("pagine"));
    for (auto it = rRif.globalMatch(QString::fromLatin1(kids->testo)); it.hasNext();)
        figlie << it.next().captured(1).toInt();
    if (pagine <= 0 || figlie.size() != 2 * pagine)
        nonConforme(QStringLiteral("pagine"));

    Aggiunta a(scrittura, lunghezza);
    if (!coda.endsWith('\n'))
        a.scrivi("\n");
    int prossimo = size.captured(1).toInt();
    // The form's page drawn in a saved state, so that the second layer starts from the page's own.
    const int salva = prossimo++, ripristina = prossimo++;
    a.flusso(salva, "<<\n/Length 1\n>>", "q");
    a.flusso(ripristina, "<<\n/Length 1\n>>", "Q");
    const QByteArray qRif = QByteArray::number(salva) + " 0 R", qRip = QByteArray::number(ripristina) + " 0 R";
    for (int i = 0; i < pagine; ++i) {
        Valore pagina = dizionario(f.oggetto(figlie[i]));
        const Valore secondo = dizionario(f.oggetto(figlie[pagine + i]));
        const int risorse = riferimento(pagina.voce("/Resources"));
        Valore insieme = dizionario(f.oggetto(risorse));
        if (unisci(insieme, dizionario(f.oggetto(riferimento(secondo.voce("/Resources")))))) {
            const int nuove = prossimo++;
            a.oggetto(nuove, insieme.scritto());
            pagina.imposta("/Resources", Valore::semplice(QByteArray::number(nuove) + " 0 R"));
        }
        pagina.imposta("/Contents",
                       Valore::semplice('[' + qRif + ' ' + riferimenti(pagina.voce("/Contents")) + ' ' + qRip + ' '
                                        + riferimenti(secondo.voce("/Contents")) + ']'));
        a.oggetto(figlie[i], pagina.scritto());
    }
    QByteArray lista = "[\n";
    for (int i = 0; i < pagine; ++i)
        lista += QByteArray::number(figlie[i]) + " 0 R\n";
    albero.imposta("/Kids", Valore::semplice(lista + ']'));
    albero.imposta("/Count", Valore::semplice(QByteArray::number(pagine)));
    a.oggetto(numeroPagine, albero.scritto());
    if (!dati.xmp.isEmpty()) {
        // Not compressed: an archival file's metadata must be readable as they stand.
        const QByteArray dizionarioXmp =
            "<<\n/Type /Metadata /Subtype /XML\n/Length " + QByteArray::number(dati.xmp.size()) + "\n>>";
        if (const Valore *m = catalogo.voce("/Metadata")) {
            a.flusso(riferimento(m), dizionarioXmp, dati.xmp);
        } else {
            const int nuovo = prossimo++;
            a.flusso(nuovo, dizionarioXmp, dati.xmp);
            catalogo.imposta("/Metadata", Valore::semplice(QByteArray::number(nuovo) + " 0 R"));
            a.oggetto(numeroRadice, catalogo.scritto());
        }
    }
    const int info = prossimo++;
    a.oggetto(info, "<<\n" + dati.informazioni + "\n>>");
    a.chiudi("<<\n/Size " + QByteArray::number(prossimo) + "\n/Root " + QByteArray::number(numeroRadice) + " 0 R\n/Info "
             + QByteArray::number(info) + " 0 R\n" + (id.hasMatch() ? "/ID " + id.captured(1).toLatin1() + '\n' : QByteArray())
             + "/Prev " + start.captured(1).toLatin1() + "\n>>");
}

} // namespace quirdal
