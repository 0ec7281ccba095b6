#include "printing/CreaPDF.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/FileTemporanei.h"
#include "printing/Modello.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>

namespace quirdal {

namespace {

constexpr int kDpi = 300;
const QString kPrefissoCartella = QStringLiteral("quirdal-stampa-");
constexpr long kErroreStampante = 482;
constexpr double mm(double millimetri) { return millimetri / 25.4 * kDpi; }

// The A4 page: the text between a heading band and a foot band.
struct Pagina {
    double larghezza = mm(210), altezza = mm(297);
    double sinistra = mm(16), destra = mm(16), alto = mm(24), basso = mm(18);
    QSizeF testo() const { return {larghezza - sinistra - destra, altezza - alto - basso}; }
};

void preparaScrittore(QPdfWriter &w)
{
    w.setPageSize(QPageSize(QPageSize::A4));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
    w.setResolution(kDpi);
}

// A section laid out for the writer's pages.
std::unique_ptr<QTextDocument> documento(const QString &html, const QHash<QString, QImage> &immagini, QPaintDevice *dispositivo)
{
    static const QFont base = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(9);
        return f;
    }();
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(dispositivo);
    doc->setDefaultFont(base);
    doc->setDefaultStyleSheet(stileModulo());
    doc->setDocumentMargin(0);
    for (auto it = immagini.cbegin(); it != immagini.cend(); ++it)
        doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    doc->setPageSize(Pagina().testo());
    doc->setHtml(html);
    return doc;
}

// The device the PDF goes through on its way to the file: it passes every byte on and keeps
// the position and the last bytes written, where the writer's trailer is.
class Coda : public QIODevice {
public:
    explicit Coda(QIODevice &destinazione) : m_d(destinazione) { open(QIODevice::WriteOnly); }
    qint64 scritti() const { return m_scritti; }
    const QByteArray &ultimi() const { return m_ultimi; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *dati, qint64 n) override
    {
        const qint64 w = m_d.write(dati, n);
        if (w != n)
            return -1;
        m_scritti += n;
        m_ultimi.append(dati, n);
        if (m_ultimi.size() > kTenuti)
            m_ultimi.remove(0, m_ultimi.size() - kTenuti);
        return n;
    }

private:
    static constexpr qsizetype kTenuti = 4096;
    QIODevice &m_d;
    qint64 m_scritti = 0;
    QByteArray m_ultimi;
};

QByteArray testoPdf(const QString &s)
{
    QByteArray r = "<FEFF";
    for (const QChar c : s)
        r += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return r + '>';
}

QString xml(const QString &s) { return s.toHtmlEscaped(); }

// The document's data as XMP, with the PDF/A identification: the same title, author,
// subject, dates and tools as its information dictionary, as the archival format requires.
QByteArray metadatiXmp(const Impaginazione &imp)
{
    const QString quando = imp.data.startOfDay(Qt::UTC).toString(Qt::ISODate);
    const QString t =
        QStringLiteral("<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                       " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                       "   <dc:format>application/pdf</dc:format>\n"
                       "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
                       "   <dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
                       "   <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%3</rdf:li></rdf:Alt></dc:description>\n"
                       "  </rdf:Description>\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
                       "   <xmp:CreatorTool>QUIRDAL</xmp:CreatorTool>\n"
                       "   <xmp:CreateDate>%4</xmp:CreateDate>\n"
                       "   <xmp:ModifyDate>%4</xmp:ModifyDate>\n"
                       "   <xmp:MetadataDate>%4</xmp:MetadataDate>\n"
                       "  </rdf:Description>\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                       "   <pdf:Producer>QUIRDAL</pdf:Producer>\n%5"
                       "  </rdf:Description>\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                       "   <pdfaid:part>1</pdfaid:part>\n"
                       "   <pdfaid:conformance>B</pdfaid:conformance>\n"
                       "  </rdf:Description>\n"
                       " </rdf:RDF>\n"
                       "</x:xmpmeta>\n"
                       "<?xpacket end=\"w\"?>");
    const QString parole = imp.paroleChiave.isEmpty()
        ? QString()
        : QStringLiteral("   <pdf:Keywords>") + xml(imp.paroleChiave) + QStringLiteral("</pdf:Keywords>\n");
    return t.arg(xml(imp.titolo), xml(imp.autore), xml(imp.soggetto), quando, parole).toUtf8();
}

// The document's title, author, subject and date, written over the writer's own as an
// incremental update of the file: a new information dictionary, its cross-reference and
// trailer (keeping the file's identifier).
QByteArray informazioni(const QByteArray &coda, qint64 lunghezza, const Impaginazione &imp)
{
    static const QRegularExpression rSize(QStringLiteral("/Size (\\d+)")), rRoot(QStringLiteral("/Root (\\d+ \\d+ R)")),
        rId(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])")), rStart(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QString testo = QString::fromLatin1(coda);
    const qsizetype trailer = testo.lastIndexOf(QStringLiteral("trailer"));
    if (trailer < 0)
        return {};
    const QString t = testo.mid(trailer);
    const auto size = rSize.match(t), root = rRoot.match(t), id = rId.match(t), start = rStart.match(t);
    if (!size.hasMatch() || !root.hasMatch() || !start.hasMatch())
        return {};
    const int numero = size.captured(1).toInt();
    QByteArray r;
    if (!coda.endsWith('\n'))
        r += '\n';
    const qint64 posizione = lunghezza + r.size();
    const QByteArray quando =
        "D:" + imp.data.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "000000" + (imp.archivio ? "Z" : "");
    r += QByteArray::number(numero) + " 0 obj\n<<\n/Title " + testoPdf(imp.titolo) + "\n/Author " + testoPdf(imp.autore)
        + (imp.soggetto.isEmpty() ? QByteArray() : "\n/Subject " + testoPdf(imp.soggetto))
        + (imp.paroleChiave.isEmpty() ? QByteArray() : "\n/Keywords " + testoPdf(imp.paroleChiave)) + "\n/Creator "
        + testoPdf(QStringLiteral("QUIRDAL")) + "\n/Producer " + testoPdf(QStringLiteral("QUIRDAL")) + "\n/CreationDate ("
        + quando + ")\n/ModDate (" + quando + ")\n>>\nendobj\n";
    const qint64 xref = lunghezza + r.size();
    r += "xref\n" + QByteArray::number(numero) + " 1\n" + QByteArray::number(posizione).rightJustified(10, '0')
        + " 00000 n \ntrailer\n<<\n/Size " + QByteArray::number(numero + 1) + "\n/Root " + root.captured(1).toLatin1()
        + "\n/Info " + QByteArray::number(numero) + " 0 R\n"
        + (id.hasMatch() ? "/ID " + id.captured(1).toLatin1() + '\n' : QByteArray()) + "/Prev " + start.captured(1).toLatin1()
        + "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return r;
}

} // namespace

// The PDF being drawn.
struct clsCreaPDF::Scrittura {
    QPdfWriter &w;
    QPainter &p;
    const Impaginazione &imp;
    AvanzamentoStampa *a;
    int numero = 0;       // pages drawn
    int sezioni = 0;      // sections drawn
    bool diverse = false; // a section made other pages than counted
    bool annullata = false;
};

clsCreaPDF::clsCreaPDF()
{
    // Only the user's own: the owner of their home folder.
    rimuoviCartelleAbbandonate(QDir::tempPath(), QFileInfo(QDir::homePath()).ownerId());
}
clsCreaPDF::~clsCreaPDF() = default;

int clsCreaPDF::rimuoviCartelleAbbandonate(const QString &cartellaTemporanea, uint proprietario)
{
    static const QRegularExpression numerata(QStringLiteral("^quirdal-stampa-(\\d{1,18})-[A-Za-z0-9]+$"));
    static const QRegularExpression senzaNumero(QStringLiteral("^quirdal-stampa-[A-Za-z0-9]{6}$"));
    const QDateTime unGiornoFa = QDateTime::currentDateTime().addDays(-1);
    int rimosse = 0;
    // Never through a link: only real folders, each removed as itself.
    const QFileInfoList cartelle = QDir(cartellaTemporanea)
                                       .entryInfoList({kPrefissoCartella + QLatin1Char('*')},
                                                      QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden);
    for (const QFileInfo &fi : cartelle) {
        if (fi.isSymLink() || fi.ownerId() != proprietario)
            continue;
        const auto m = numerata.match(fi.fileName());
        const bool abbandonata = m.hasMatch() ? !processoVivo(m.captured(1).toLongLong())
                                              : senzaNumero.match(fi.fileName()).hasMatch() && fi.lastModified() < unGiornoFa;
        if (abbandonata && QDir(fi.absoluteFilePath()).removeRecursively())
            ++rimosse;
    }
    return rimosse;
}

void clsCreaPDF::SaveTmpRTF(int n, const QString &html)
{
    if (m_scrittura) {
        disegna(*m_scrittura, n, html);
        return;
    }
    if (n != m_paginePerSezione.size() + 1)
        throw Errore(codici::Generico,
                     QStringLiteral("Sezione ") + QString::number(n) + QStringLiteral(" della stampa fuori ordine."));
    if (!m_misura) {
        // Laid out as the PDF will be, on a writer that writes nowhere.
        m_nulla = std::make_unique<QBuffer>();
        m_misura = std::make_unique<QPdfWriter>(m_nulla.get());
        preparaScrittore(*m_misura);
    }
    const int pagine = documento(html, m_immagini, m_misura.get())->pageCount();
    m_paginePerSezione.append(pagine);
    m_totale += pagine;
    TotPagine = n;
}

void clsCreaPDF::disegna(Scrittura &s, int n, const QString &html)
{
    if (s.annullata || s.diverse)
        return;
    if (n != s.sezioni + 1 || n > m_paginePerSezione.size()) {
        s.diverse = true;
        return;
    }
    s.sezioni = n;
    const auto d = documento(html, m_immagini, &s.w);
    if (d->pageCount() != m_paginePerSezione[n - 1]) {
        s.diverse = true;
        return;
    }
    static const QFont fIntest = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(7.5);
        return f;
    }();
    static const QFont fTipo = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(11);
        f.setBold(true);
        return f;
    }();
    const Pagina pg;
    QPainter &p = s.p;
    const QPen linea(QColor(0x55, 0x55, 0x55), mm(0.3));
    for (int i = 0; i < d->pageCount(); ++i) {
        if (s.a && s.a->annullata()) {
            s.annullata = true;
            return;
        }
        if (s.numero > 0)
            s.w.newPage();
        ++s.numero;
        // Heading: the application on the left, the print kind on the right.
        const QRectF testata(pg.sinistra, mm(9), pg.testo().width(), mm(10));
        p.setPen(Qt::black);
        p.setFont(fIntest);
        p.drawText(testata, Qt::AlignLeft | Qt::AlignVCenter, s.imp.intestazione);
        p.setFont(fTipo);
        p.drawText(testata, Qt::AlignRight | Qt::AlignVCenter, s.imp.tipoStampa);
        p.setPen(linea);
        p.drawLine(QPointF(pg.sinistra, mm(19.5)), QPointF(pg.larghezza - pg.destra, mm(19.5)));
        // The section's page.
        p.save();
        p.translate(pg.sinistra, pg.alto - i * pg.testo().height());
        d->drawContents(&p, QRectF(QPointF(0, i * pg.testo().height()), pg.testo()));
        p.restore();
        // Foot: the document and the page number.
        const double piede = pg.altezza - pg.basso + mm(4);
        p.setPen(linea);
        p.drawLine(QPointF(pg.sinistra, piede), QPointF(pg.larghezza - pg.destra, piede));
        p.setPen(Qt::black);
        p.setFont(fIntest);
        const QRectF riga(pg.sinistra, piede + mm(1), pg.testo().width(), mm(6));
        p.drawText(riga, Qt::AlignLeft | Qt::AlignVCenter, s.imp.titolo + QStringLiteral(" - ") + s.imp.tipoStampa);
        if (s.numero == m_totale && !s.imp.notaFinale.isEmpty()) {
            // Monospaced: no ligature joins two letters of a hash.
            QFont fNota(QStringLiteral("DejaVu Sans Mono"));
            fNota.setPointSizeF(6.5);
            p.setFont(fNota);
            // Between the text and the foot's line, clear of both.
            p.drawText(QRectF(pg.sinistra, piede - mm(3.8), pg.testo().width(), mm(3.6)), Qt::AlignLeft | Qt::AlignVCenter,
                       s.imp.notaFinale);
            p.setFont(fIntest);
        }
        p.drawText(riga, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Pagina ") + QString::number(s.numero) + QStringLiteral(" di ") + QString::number(m_totale));
        if (s.a)
            s.a->scritta(s.numero, m_totale);
    }
}

clsCreaPDF::Esito clsCreaPDF::CreatePDF(Dialoghi &dlg, const Impaginazione &imp, const std::function<void()> &sezioni,
                                        AvanzamentoStampa *a)
{
    if (FilePDF.isEmpty()) {
        dlg.messaggio(QStringLiteral("Il nome del file PDF non è stato impostato.") + QLatin1Char('\r')
                          + QStringLiteral("Impossibile creare il PDF!"),
                      QStringLiteral("Errore"), Icona::Esclamazione);
        return Esito::Fallito;
    }
    if (TotPagine <= 0) {
        dlg.messaggio(QStringLiteral("Il numero delle pagine create non è stato impostato.") + QLatin1Char('\r')
                          + QStringLiteral("Impossibile creare il PDF!"),
                      QStringLiteral("Errore"), Icona::Esclamazione);
        return Esito::Fallito;
    }
    // The file under its own name only once whole: until commit() it is a temporary file
    // beside it, removed with the object whatever happens.
    QSaveFile file(FilePDF);
    try {
        if (!file.open(QIODevice::WriteOnly))
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere il file ") + FilePDF + QStringLiteral(": ") + file.errorString());
        Coda coda(file);
        bool annullata = false;
        {
            QPdfWriter w(&coda);
            preparaScrittore(w);
            w.setTitle(imp.titolo);
            w.setCreator(QStringLiteral("QUIRDAL"));
            if (imp.archivio) {
                w.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
                w.setDocumentXmpMetadata(metadatiXmp(imp));
            }
            QPainter p;
            if (!p.begin(&w))
                throw Errore(kErroreStampante, QStringLiteral("Impossibile iniziare il documento PDF."));
            Scrittura s{w, p, imp, a};
            m_scrittura = &s;
            struct Fine {
                Scrittura *&s;
                ~Fine() { s = nullptr; }
            } fine{m_scrittura};
            sezioni();
            annullata = s.annullata || (a && a->annullata());
            if (!annullata && (s.diverse || s.sezioni != TotPagine || s.numero != m_totale)) {
                p.end();
                throw Errore(codici::Generico,
                             QStringLiteral("I dati della domanda sono cambiati durante la stampa: "
                                            "ripetere la stampa."));
            }
            if (!p.end() && !annullata)
                throw Errore(kErroreStampante, QStringLiteral("Impossibile completare il documento PDF."));
            m_pagineStampate = s.numero;
        }
        if (annullata) {
            file.cancelWriting();
            return Esito::Annullato;
        }
        const QByteArray info = informazioni(coda.ultimi(), coda.scritti(), imp);
        if (a)
            a->fase(QStringLiteral("Scrittura del file PDF in corso..."));
        if (coda.write(info) != info.size() || !file.commit())
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere il file ") + FilePDF + QStringLiteral(": ") + file.errorString());
        return Esito::Creato;
    } catch (const Errore &e) {
        file.cancelWriting();
        // The writer that would not start or finish stands where the printer did.
        if (e.numero() == kErroreStampante)
            dlg.messaggio(QStringLiteral("Controllare la stampante."), QStringLiteral("Errore in compilazione file di stampa"),
                          Icona::Esclamazione);
        else
            dlg.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione(),
                          QStringLiteral("Errore generico"), Icona::Esclamazione);
        return Esito::Fallito;
    }
}

} // namespace quirdal
