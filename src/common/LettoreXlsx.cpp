// The workbook reader: the parts of the archive read with libzip, each checked before it is
// believed (its name, its size as declared and as read, whether it is encrypted), and their
// XML with QXmlStreamReader, which is given no document type to expand.
#include "common/FoglioDiCalcolo.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zip.h>

#include <cmath>
#include <memory>

namespace quirdal {

namespace {

const QString kNonCartella = QStringLiteral("Il file non è una cartella di lavoro di Excel (.xlsx) leggibile");
const QString kCifrata = QStringLiteral("La cartella di lavoro è protetta da password (cifrata): salvarla senza password e "
                                        "riprovare.");

struct ChiudiZip {
    void operator()(zip_t *z) const { zip_discard(z); }
};
struct ChiudiFileZip {
    void operator()(zip_file_t *f) const { zip_fclose(f); }
};

// An error that ends the reading, with the message the user reads.
struct Rifiuto {
    QString messaggio;
};

// A name inside the archive that stays inside it: not empty, not absolute, no drive, no
// back-slash, no "." or ".." component.
bool nomeSicuro(const QString &nome)
{
    if (nome.isEmpty() || nome.startsWith(QLatin1Char('/')) || nome.contains(QLatin1Char('\\'))
        || (nome.size() > 1 && nome[1] == QLatin1Char(':')) || nome.contains(QChar(0)))
        return false;
    const QStringList parti = nome.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parti.size(); ++i) {
        const QString &p = parti[i];
        if (p == QLatin1String("..") || p == QLatin1String(".") || (p.isEmpty() && i + 1 < parti.size()))
            return false;
    }
    return true;
}

// A relationship's target, from the folder of the part that names it, as a name of the
// archive; "" when it would leave the archive.
QString risolvi(const QString &cartella, const QString &destinazione)
{
    QString d = destinazione;
    d.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parti = d.startsWith(QLatin1Char('/')) ? QStringList() : cartella.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &p : d.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1String("."))
            continue;
        if (p == QLatin1String("..")) {
            if (parti.isEmpty())
                return {};
            parti.removeLast();
            continue;
        }
        parti << p;
    }
    return parti.join(QLatin1Char('/'));
}

QString cartellaDi(const QString &parte)
{
    const qsizetype i = parte.lastIndexOf(QLatin1Char('/'));
    return i < 0 ? QString() : parte.left(i);
}

// The relationships file of a part: "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
QString relazioniDi(const QString &parte)
{
    const QString c = cartellaDi(parte);
    return (c.isEmpty() ? QString() : c + QLatin1Char('/')) + QStringLiteral("_rels/") + parte.mid(c.isEmpty() ? 0 : c.size() + 1)
        + QStringLiteral(".rels");
}

// "B12" -> column 2 (row ignored); 0 when it is no reference.
int colonnaDaRiferimento(QStringView r)
{
    int c = 0;
    qsizetype i = 0;
    for (; i < r.size() && r[i].isLetter(); ++i) {
        const char16_t u = r[i].toUpper().unicode();
        if (u < u'A' || u > u'Z' || c > 16384)
            return 0;
        c = c * 26 + (u - u'A' + 1);
    }
    return i > 0 && i < r.size() ? c : 0;
}

class Archivio {
public:
    Archivio(const QString &percorso, const LimitiLettura &limiti) : m_limiti(limiti)
    {
        int codice = 0;
        m_zip.reset(zip_open(QFile::encodeName(percorso).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codice));
        if (!m_zip)
            throw Rifiuto{kNonCartella + QLatin1Char('.')};
        const zip_int64_t n = zip_get_num_entries(m_zip.get(), 0);
        if (n < 0 || n > m_limiti.voci)
            throw Rifiuto{kNonCartella + QStringLiteral(": contiene troppe voci.")};
        for (zip_int64_t i = 0; i < n; ++i) {
            zip_stat_t st;
            zip_stat_init(&st);
            if (zip_stat_index(m_zip.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
                throw Rifiuto{kNonCartella + QLatin1Char('.')};
            const QString nome = QString::fromUtf8(st.name);
            if (!nomeSicuro(nome))
                throw Rifiuto{QStringLiteral("La cartella di lavoro contiene una voce con un nome non ammesso (\"") + nome
                              + QStringLiteral("\"): il file non viene letto.")};
            if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
                throw Rifiuto{kCifrata};
            m_voci.insert(nome.toLower(), static_cast<zip_uint64_t>(i));
        }
    }

    bool contiene(const QString &nome) const { return m_voci.contains(nome.toLower()); }

    // The part whole, refused when it expands beyond its limit or differs from what the
    // archive declares.
    QByteArray leggi(const QString &nome)
    {
        const auto it = m_voci.constFind(nome.toLower());
        if (it == m_voci.cend())
            throw Rifiuto{kNonCartella + QStringLiteral(": manca la parte ") + nome + QLatin1Char('.')};
        zip_stat_t st;
        zip_stat_init(&st);
        zip_stat_index(m_zip.get(), *it, 0, &st);
        const qint64 limite = std::min(m_limiti.parte, m_limiti.totale - m_letti);
        if (!(st.valid & ZIP_STAT_SIZE) || st.size > static_cast<zip_uint64_t>(limite))
            throw Rifiuto{troppoGrande()};
        std::unique_ptr<zip_file_t, ChiudiFileZip> f(zip_fopen_index(m_zip.get(), *it, 0));
        if (!f)
            throw Rifiuto{zip_error_code_zip(zip_get_error(m_zip.get())) == ZIP_ER_NOPASSWD ? kCifrata
                                                                                            : kNonCartella + QLatin1Char('.')};
        QByteArray dati;
        dati.reserve(static_cast<qsizetype>(st.size));
        char buffer[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(f.get(), buffer, sizeof buffer);
            if (n < 0)
                throw Rifiuto{kNonCartella + QStringLiteral(": la parte ") + nome + QStringLiteral(" è danneggiata.")};
            if (n == 0)
                break;
            dati.append(buffer, static_cast<qsizetype>(n));
            // More than declared is a lie of the archive, more than the limit a bomb.
            if (dati.size() > qint64(st.size) || dati.size() > limite)
                throw Rifiuto{troppoGrande()};
        }
        m_letti += dati.size();
        return dati;
    }

private:
    QString troppoGrande() const
    {
        return QStringLiteral("La cartella di lavoro contiene una parte troppo grande per essere letta (oltre %1 MB): il "
                              "file non viene letto.")
            .arg(m_limiti.parte >> 20);
    }

    LimitiLettura m_limiti;
    std::unique_ptr<zip_t, ChiudiZip> m_zip;
    QHash<QString, zip_uint64_t> m_voci;
    qint64 m_letti = 0;
};

// An XML part with no document type: a workbook never has one, and none is ever expanded.
class Xml : public QXmlStreamReader {
public:
    Xml(const QByteArray &dati, QString parte) : QXmlStreamReader(dati), m_parte(std::move(parte)) { }
    // The next element opened inside the current one (by local name), false at its end.
    bool prossimo()
    {
        while (!atEnd()) {
            const TokenType t = readNext();
            if (t == DTD)
                throw Rifiuto{kNonCartella + QStringLiteral(": la parte ") + m_parte
                              + QStringLiteral(" contiene una dichiarazione di tipo.")};
            if (t == StartElement)
                return true;
        }
        controlla();
        return false;
    }
    void controlla() const
    {
        if (hasError())
            throw Rifiuto{kNonCartella + QStringLiteral(": la parte ") + m_parte + QStringLiteral(" è danneggiata (")
                          + errorString() + QStringLiteral(").")};
    }
    // The text of the element just opened, its children's included.
    QString testoElemento()
    {
        const QString t = readElementText(IncludeChildElements);
        controlla();
        return t;
    }
    QString attributo(QLatin1String nome) const { return attributes().value(nome).toString(); }
    // r:id, whatever prefix the relationships' namespace has.
    QString idRelazione() const
    {
        for (const QXmlStreamAttribute &a : attributes())
            if (a.name() == QLatin1String("id") && a.namespaceUri().contains(QLatin1String("relationships")))
                return a.value().toString();
        return {};
    }

private:
    QString m_parte;
};

struct Relazione {
    QString tipo, destinazione;
};

QHash<QString, Relazione> relazioni(Archivio &a, const QString &parte)
{
    QHash<QString, Relazione> r;
    const QString nome = relazioniDi(parte);
    if (!a.contiene(nome))
        return r;
    Xml x(a.leggi(nome), nome);
    while (x.prossimo()) {
        if (x.name() != QLatin1String("Relationship")
            || x.attributo(QLatin1String("TargetMode")).compare(QLatin1String("External"), Qt::CaseInsensitive) == 0)
            continue;
        const QString destinazione = risolvi(cartellaDi(parte), x.attributo(QLatin1String("Target")));
        if (destinazione.isEmpty())
            throw Rifiuto{QStringLiteral("La cartella di lavoro rimanda a una parte fuori dal file (\"")
                          + x.attributo(QLatin1String("Target")) + QStringLiteral("\"): il file non viene letto.")};
        r.insert(x.attributo(QLatin1String("Id")), {x.attributo(QLatin1String("Type")), destinazione});
    }
    return r;
}

// A text of the workbook with the characters XML cannot hold given back: "_x000D_" is a
// carriage return, "_x005F_" a "_" that would otherwise start such a code.
QString decodifica(const QString &t)
{
    if (!t.contains(QLatin1String("_x")))
        return t;
    static const QRegularExpression codice(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString r;
    qsizetype da = 0;
    for (QRegularExpressionMatchIterator it = codice.globalMatch(t); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        r += QStringView(t).mid(da, m.capturedStart() - da);
        r += QChar(static_cast<char16_t>(m.captured(1).toUShort(nullptr, 16)));
        da = m.capturedEnd();
    }
    r += QStringView(t).mid(da);
    return r;
}

// The text of a string item: its runs' texts, the phonetic guides left out.
QString testoStringa(Xml &x)
{
    QString t;
    int profondita = 1;
    bool fonetica = false;
    while (profondita > 0 && !x.atEnd()) {
        switch (x.readNext()) {
        case QXmlStreamReader::StartElement:
            ++profondita;
            if (x.name() == QLatin1String("rPh"))
                fonetica = true;
            else if (x.name() == QLatin1String("t") && !fonetica) {
                t += x.readElementText();
                --profondita;
            }
            break;
        case QXmlStreamReader::EndElement:
            --profondita;
            if (x.name() == QLatin1String("rPh"))
                fonetica = false;
            break;
        default:
            break;
        }
    }
    x.controlla();
    return decodifica(t);
}

class Lettore {
public:
    Lettore(const QString &percorso, const LimitiLettura &limiti) : m_archivio(percorso, limiti), m_limiti(limiti) { }

    CartellaLetta leggi(const QStringList &nomi)
    {
        if (!m_archivio.contiene(QStringLiteral("[Content_Types].xml")))
            throw Rifiuto{kNonCartella + QLatin1Char('.')};
        QString cartella;
        for (const Relazione &r : relazioni(m_archivio, QString()))
            if (r.tipo.endsWith(QLatin1String("/officeDocument")))
                cartella = r.destinazione;
        if (cartella.isEmpty() || !m_archivio.contiene(cartella))
            throw Rifiuto{kNonCartella + QLatin1Char('.')};

        CartellaLetta r;
        const QHash<QString, Relazione> rel = relazioni(m_archivio, cartella);
        QList<std::pair<QString, QString>> fogli; // name, part
        {
            Xml x(m_archivio.leggi(cartella), cartella);
            bool cartellaDiLavoro = false;
            while (x.prossimo()) {
                if (x.name() == QLatin1String("workbook"))
                    cartellaDiLavoro = true;
                else if (x.name() == QLatin1String("workbookPr")) {
                    const QString d = x.attributo(QLatin1String("date1904"));
                    r.date1904 = d == QLatin1String("1") || d.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
                } else if (x.name() == QLatin1String("sheet")) {
                    const auto it = rel.constFind(x.idRelazione());
                    if (it != rel.cend())
                        fogli.append({x.attributo(QLatin1String("name")), it->destinazione});
                }
            }
            if (!cartellaDiLavoro)
                throw Rifiuto{kNonCartella + QLatin1Char('.')};
        }
        for (const Relazione &x : rel)
            if (x.tipo.endsWith(QLatin1String("/sharedStrings")))
                leggiStringhe(x.destinazione);
        for (const QString &nome : nomi)
            for (const auto &[n, parte] : fogli)
                if (n.compare(nome, Qt::CaseInsensitive) == 0) {
                    r.fogli << leggiFoglio(n, parte);
                    break;
                }
        return r;
    }

private:
    void leggiStringhe(const QString &parte)
    {
        Xml x(m_archivio.leggi(parte), parte);
        while (x.prossimo())
            if (x.name() == QLatin1String("si")) {
                const QString t = testoStringa(x);
                if (t.size() > m_limiti.caratteri)
                    throw Rifiuto{troppiCaratteri(QString())};
                m_stringhe << t;
            }
    }

    QString troppiCaratteri(const QString &dove) const
    {
        return QStringLiteral("Una cella della cartella di lavoro%1 supera i %2 caratteri: il file non viene letto.")
            .arg(dove, QLocale(QLocale::Italian).toString(m_limiti.caratteri));
    }

    FoglioLetto leggiFoglio(const QString &nome, const QString &parte)
    {
        FoglioLetto f;
        f.nome = nome;
        if (!m_archivio.contiene(parte))
            throw Rifiuto{kNonCartella + QStringLiteral(": manca il foglio \"") + nome + QStringLiteral("\".")};
        Xml x(m_archivio.leggi(parte), parte);
        int riga = 0;
        while (x.prossimo()) {
            if (x.name() != QLatin1String("row"))
                continue;
            const QString r = x.attributo(QLatin1String("r"));
            bool ok = true;
            const int n = r.isEmpty() ? riga + 1 : r.toInt(&ok);
            if (!ok || n <= riga)
                throw Rifiuto{kNonCartella + QStringLiteral(": righe fuori ordine nel foglio \"") + nome + QStringLiteral("\".")};
            riga = n;
            QList<CellaLetta> celle = leggiRiga(x, nome, riga);
            if (celle.isEmpty())
                continue; // a row with a format and no value
            // Counted by the rows that hold something: a program may write formatted empty
            // rows far below the data.
            if (riga > m_limiti.righe)
                throw Rifiuto{QStringLiteral("Il foglio \"%1\" ha più di %2 righe: il file non viene letto.")
                                  .arg(nome, QLocale(QLocale::Italian).toString(m_limiti.righe))};
            while (f.righe.size() < riga - 1)
                f.righe.append(QList<CellaLetta>());
            f.righe.append(std::move(celle));
        }
        return f;
    }

    QList<CellaLetta> leggiRiga(Xml &x, const QString &foglio, int riga)
    {
        QList<CellaLetta> celle;
        int colonna = 0;
        while (!x.atEnd()) {
            const QXmlStreamReader::TokenType t = x.readNext();
            if (t == QXmlStreamReader::EndElement && x.name() == QLatin1String("row"))
                return celle;
            if (t != QXmlStreamReader::StartElement || x.name() != QLatin1String("c"))
                continue;
            const QString r = x.attributo(QLatin1String("r"));
            const int c = r.isEmpty() ? colonna + 1 : colonnaDaRiferimento(r);
            if (c <= colonna || c > 16384)
                throw Rifiuto{kNonCartella + QStringLiteral(": celle fuori ordine nel foglio \"") + foglio
                              + QStringLiteral("\".")};
            colonna = c;
            const QString dove = QStringLiteral(" (foglio \"%1\", cella %2%3)").arg(foglio, nomeColonna(c)).arg(riga);
            const CellaLetta cella = leggiCella(x, x.attributo(QLatin1String("t")), dove);
            if (cella.tipo == CellaLetta::Tipo::Vuota)
                continue;
            while (celle.size() < c - 1)
                celle.append(CellaLetta());
            celle.append(cella);
        }
        x.controlla();
        return celle;
    }

    CellaLetta leggiCella(Xml &x, const QString &tipo, const QString &dove)
    {
        QString valore, inLinea;
        bool haValore = false, haInLinea = false;
        int profondita = 1;
        while (profondita > 0 && !x.atEnd()) {
            const QXmlStreamReader::TokenType t = x.readNext();
            if (t == QXmlStreamReader::EndElement)
                --profondita;
            if (t != QXmlStreamReader::StartElement)
                continue;
            if (x.name() == QLatin1String("v")) {
                valore = x.testoElemento();
                haValore = true;
            } else if (x.name() == QLatin1String("is")) {
                inLinea = testoStringa(x);
                haInLinea = true;
            } else {
                x.testoElemento(); // a formula, an extension: not the value
            }
        }
        x.controlla();
        CellaLetta c;
        auto testo = [&](const QString &t) {
            if (t.size() > m_limiti.caratteri)
                throw Rifiuto{troppiCaratteri(dove)};
            c.tipo = CellaLetta::Tipo::Testo;
            c.testo = t;
        };
        if (tipo == QLatin1String("inlineStr")) {
            if (haInLinea)
                testo(inLinea);
        } else if (!haValore) {
            // no value: an empty cell with a format
        } else if (tipo == QLatin1String("s")) {
            bool ok = false;
            const qsizetype i = valore.trimmed().toLongLong(&ok);
            if (!ok || i < 0 || i >= m_stringhe.size())
                throw Rifiuto{kNonCartella + QStringLiteral(": testo mancante") + dove + QLatin1Char('.')};
            testo(m_stringhe[i]);
        } else if (tipo == QLatin1String("str") || tipo == QLatin1String("e") || tipo == QLatin1String("d")) {
            testo(decodifica(valore));
        } else if (tipo == QLatin1String("b")) {
            c.tipo = CellaLetta::Tipo::Booleano;
            c.booleano = valore.trimmed() == QLatin1String("1");
            c.testo = c.booleano ? QStringLiteral("VERO") : QStringLiteral("FALSO");
        } else {
            bool ok = false;
            c.numero = QLocale::c().toDouble(valore.trimmed(), &ok);
            if (!ok || !std::isfinite(c.numero))
                throw Rifiuto{kNonCartella + QStringLiteral(": numero illeggibile") + dove + QLatin1Char('.')};
            c.tipo = CellaLetta::Tipo::Numero;
            c.testo = valore.trimmed();
        }
        return c;
    }

    Archivio m_archivio;
    LimitiLettura m_limiti;
    QStringList m_stringhe;
};

} // namespace

CartellaLetta leggiXlsx(const QString &percorso, const QStringList &nomi, const LimitiLettura &limiti)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return {{}, false, QStringLiteral("Impossibile aprire il file: ") + f.errorString()};
    const QByteArray inizio = f.read(8);
    f.close();
    // An encrypted workbook is not a zip but a compound document holding the encrypted one.
    if (inizio == QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return {{}, false, kCifrata};
    if (!inizio.startsWith("PK\x03\x04") && !inizio.startsWith("PK\x05\x06"))
        return {{}, false, kNonCartella + QLatin1Char('.')};
    try {
        Lettore l(percorso, limiti);
        return l.leggi(nomi);
    } catch (const Rifiuto &r) {
        return {{}, false, r.messaggio};
    }
}

} // namespace quirdal
